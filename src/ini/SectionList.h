#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ini/LargeMemory.h"
#include "ini/LineList.h"

namespace ini {

// Called while loading for each pair of equally named sections: Keep is the earlier
// section's lines, Discard the later one's. Returning false swaps the roles. The handler
// may change both lists; the discarded one is emptied afterwards.
using TDuplicateSectionEvent =
    std::function<bool(const std::string& name, TLineList& keep, TLineList& discard)>;

// The ordered section names, each with its own line list.
// References from SectionLines stay valid until sections are added or removed.
class TSectionList {
 public:
  TSectionList() = default;
  TSectionList(const TSectionList&) = delete;
  TSectionList& operator=(const TSectionList&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  std::string_view operator[](int i) const { return items_[i].name.View(); }
  TLineList& SectionLines(int i) { return items_[i].lines; }
  const TLineList& SectionLines(int i) const { return items_[i].lines; }

  // Position of the section named Name ignoring letter case, searching on from
  // LastFound and wrapping around; -1 if there is none.
  int IndexOf(std::string_view name);

  // Appends an empty section and returns its position.
  int Add(std::string_view name);
  // As Add, for a name that lies in content this list keeps (see Keep).
  int AddBorrowed(std::string_view name);
  void Delete(int i);
  void Clear();

  // Reduces equally named sections to one each; true if any was discarded.
  bool RemoveDuplicates(const TDuplicateSectionEvent& handler);

  // Signed 32-bit position of the last successful IndexOf.
  int32_t LastFound = 0;

  // Loaded file content that line lists borrow from; kept until Clear.
  struct Storage {
    LargeBuffer text;
    std::vector<TLineList::Entry, LargeAllocator<TLineList::Entry>> entries;
  };
  void Keep(Storage storage) { storage_.push_back(std::move(storage)); }
  void Reserve(size_t count) { items_.reserve(count); }

 private:
  // A section name: borrowed from loaded content, or a copy of its own.
  class Name {
   public:
    Name(std::string_view text, bool own);
    Name(Name&& o) noexcept;
    Name& operator=(Name&& o) noexcept;
    ~Name();
    std::string_view View() const { return {text_, size_}; }

   private:
    const char* text_;
    uint32_t size_;
    bool owned_;
  };
  struct Item {
    Item(Name n, uint64_t h) : name(std::move(n)), hash(h) {}
    // Items move only within this list, which keeps the content their lines borrow.
    Item(Item&& o) noexcept
        : name(std::move(o.name)),
          lines(std::move(o.lines), TLineList::Relocation()),
          hash(o.hash) {}
    Item& operator=(Item&& o) noexcept {
      name = std::move(o.name);
      lines.Relocate(o.lines);
      hash = o.hash;
      return *this;
    }

    Name name;
    TLineList lines;
    uint64_t hash;  // HashText of the name, taken while the name is at hand
  };
  bool HasDuplicates() const;

  // Declared first so that it goes last: the line lists read their entries when freed.
  std::vector<Storage> storage_;
  std::vector<Item, LargeAllocator<Item>> items_;
};

}  // namespace ini
