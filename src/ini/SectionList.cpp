#include "ini/SectionList.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "ini/IniText.h"

namespace ini {

int TSectionList::IndexOf(std::string_view name) {
  const int n = Count();
  if (n == 0) return -1;
  const int start = (LastFound >= 0 && LastFound < n) ? LastFound : 0;
  for (int k = 0; k < n; ++k) {
    int i = start + k;
    if (i >= n) i -= n;
    if (SameText(items_[i].name.View(), name)) {
      LastFound = i;
      return i;
    }
  }
  return -1;
}

TSectionList::Name::Name(std::string_view text, bool own)
    : text_(text.data()), size_(static_cast<uint32_t>(text.size())), owned_(own && !text.empty()) {
  if (owned_) {
    char* copy = new char[size_];
    std::memcpy(copy, text.data(), size_);
    text_ = copy;
  }
}

TSectionList::Name::Name(Name&& o) noexcept
    : text_(std::exchange(o.text_, "")),
      size_(std::exchange(o.size_, 0)),
      owned_(std::exchange(o.owned_, false)) {}

TSectionList::Name& TSectionList::Name::operator=(Name&& o) noexcept {
  std::swap(text_, o.text_);
  std::swap(size_, o.size_);
  std::swap(owned_, o.owned_);
  return *this;
}

TSectionList::Name::~Name() {
  if (owned_) delete[] text_;
}

int TSectionList::Add(std::string_view name) {
  name = Cut(name);
  items_.emplace_back(Name(name, true), HashText(name));
  return Count() - 1;
}

int TSectionList::AddBorrowed(std::string_view name) {
  items_.emplace_back(Name(name, false), HashText(name));
  return Count() - 1;
}

void TSectionList::Delete(int i) {
  items_.erase(items_.begin() + i);
  LastFound = 0;
}

void TSectionList::Clear() {
  items_.clear();
  storage_.clear();
  LastFound = 0;
}

bool TSectionList::HasDuplicates() const {
  // Open addressing over the folded-name hashes; a real comparison settles each hit.
  struct Slot {
    uint32_t tag;
    int32_t index;
  };
  const size_t n = items_.size();
  size_t capacity = 16;
  while (capacity < n * 2) capacity *= 2;
  const size_t mask = capacity - 1;
  std::vector<Slot, LargeAllocator<Slot>> slots(capacity, Slot{0, -1});
  for (size_t i = 0; i < n; ++i) {
    const uint64_t h = items_[i].hash;
    const auto tag = static_cast<uint32_t>(h >> 32);
    for (size_t s = h & mask;; s = (s + 1) & mask) {
      Slot& slot = slots[s];
      if (slot.index < 0) {
        slot = {tag, static_cast<int32_t>(i)};
        break;
      }
      if (slot.tag == tag && SameText(items_[slot.index].name.View(), items_[i].name.View())) {
        return true;
      }
    }
  }
  return false;
}

bool TSectionList::RemoveDuplicates(const TDuplicateSectionEvent& handler) {
  if (items_.size() < 2 || !HasDuplicates()) return false;

  // Sort positions by folded name; equal names stay in file order, so a handler sees
  // each group's sections in the order they were read.
  std::vector<int32_t> sorted(items_.size());
  for (size_t i = 0; i < sorted.size(); ++i) sorted[i] = static_cast<int32_t>(i);
  std::stable_sort(sorted.begin(), sorted.end(), [this](int32_t a, int32_t b) {
    return CompareText(items_[a].name.View(), items_[b].name.View()) < 0;
  });

  std::vector<char> discarded(items_.size(), 0);
  int32_t survivor = sorted[0];
  for (size_t k = 1; k < sorted.size(); ++k) {
    const int32_t entry = sorted[k];
    if (!SameText(items_[entry].name.View(), items_[survivor].name.View())) {
      survivor = entry;
      continue;
    }
    int32_t keep = std::min(survivor, entry);
    int32_t drop = std::max(survivor, entry);
    if (handler &&
        !handler(std::string(items_[entry].name.View()), items_[keep].lines, items_[drop].lines)) {
      std::swap(keep, drop);
    }
    items_[drop].lines.Clear();
    discarded[drop] = 1;
    survivor = keep;
  }

  size_t out = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (discarded[i]) continue;
    if (out != i) items_[out] = std::move(items_[i]);
    ++out;
  }
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(out), items_.end());
  LastFound = 0;
  return true;
}

}  // namespace ini
