#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ini {

// The lines of one section, in order, each without its line end.
//
// Lines that come from a loaded file borrow their text from the file content that the
// owning TSectionList keeps, so loading allocates nothing per line; every line that is
// added or replaced owns a copy of its text. A copy of a TLineList owns all of its text
// and may outlive the INI object, and so does a list moved out of it: the move copies
// the borrowed lines. Only the owning TSectionList moves a list as it is.
class TLineList {
 public:
  struct Entry {
    const char* text;
    uint32_t size;
    bool owned;
  };

  TLineList() = default;
  TLineList(const TLineList& other);
  TLineList(TLineList&& other);
  TLineList& operator=(const TLineList& other);
  TLineList& operator=(TLineList&& other);
  ~TLineList();

  int Count() const { return static_cast<int>(size_); }
  bool Empty() const { return size_ == 0; }
  std::string_view operator[](int i) const { return {data_[i].text, data_[i].size}; }

  void Add(std::string_view line);
  void Insert(int i, std::string_view line);
  void Put(int i, std::string_view line);
  void Delete(int i);
  void Clear();
  std::vector<std::string> ToStrings() const;

  // Takes over a run of entries that borrow from loaded content; the run is left to this
  // list alone until it is replaced.
  void AdoptBorrowed(Entry* entries, uint32_t count);

  class const_iterator {
   public:
    const_iterator(const Entry* e) : e_(e) {}
    std::string_view operator*() const { return {e_->text, e_->size}; }
    const_iterator& operator++() {
      ++e_;
      return *this;
    }
    bool operator!=(const const_iterator& o) const { return e_ != o.e_; }
    bool operator==(const const_iterator& o) const { return e_ == o.e_; }

   private:
    const Entry* e_;
  };
  const_iterator begin() const { return {data_}; }
  const_iterator end() const { return {data_ + size_}; }

 private:
  friend class TSectionList;
  // Moves the entries as they are, borrowed ones included; for the owning list alone,
  // whose content outlives them.
  struct Relocation {};
  TLineList(TLineList&& other, Relocation) noexcept { Steal(other); }
  void Relocate(TLineList& other) noexcept;

  static Entry MakeOwned(std::string_view line);
  static void Release(Entry& e);
  bool Borrowing() const { return capacity_ == 0 && size_ > 0; }
  void Steal(TLineList& other) noexcept;
  void Free() noexcept;
  void Reserve(uint32_t capacity);

  Entry* data_ = nullptr;
  uint32_t size_ = 0;
  uint32_t capacity_ = 0;  // 0 while the entries are borrowed, and then none is owned
};

}  // namespace ini
