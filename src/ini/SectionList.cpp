#include "ini/SectionList.h"

#include <algorithm>

#include "ini/IniText.h"

namespace ini {

int TSectionList::IndexOf(std::string_view name) {
  const int n = Count();
  if (n == 0) return -1;
  const int start = (LastFound >= 0 && LastFound < n) ? LastFound : 0;
  for (int k = 0; k < n; ++k) {
    int i = start + k;
    if (i >= n) i -= n;
    if (SameText(items_[i].name, name)) {
      LastFound = i;
      return i;
    }
  }
  return -1;
}

int TSectionList::Add(std::string_view name) {
  items_.push_back(Item{std::string(Cut(name)), TLineList()});
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
  size_t capacity = 16;
  while (capacity < items_.size() * 2) capacity *= 2;
  std::vector<int32_t> slots(capacity, -1);
  std::vector<uint64_t> hashes(items_.size());
  const size_t mask = capacity - 1;
  for (size_t i = 0; i < items_.size(); ++i) {
    const uint64_t h = HashText(items_[i].name);
    hashes[i] = h;
    for (size_t s = (h ^ (h >> 29)) & mask;; s = (s + 1) & mask) {
      const int32_t other = slots[s];
      if (other < 0) {
        slots[s] = static_cast<int32_t>(i);
        break;
      }
      if (hashes[other] == h && SameText(items_[other].name, items_[i].name)) return true;
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
    return CompareText(items_[a].name, items_[b].name) < 0;
  });

  std::vector<char> discarded(items_.size(), 0);
  int32_t survivor = sorted[0];
  for (size_t k = 1; k < sorted.size(); ++k) {
    const int32_t entry = sorted[k];
    if (!SameText(items_[entry].name, items_[survivor].name)) {
      survivor = entry;
      continue;
    }
    int32_t keep = std::min(survivor, entry);
    int32_t drop = std::max(survivor, entry);
    if (handler && !handler(items_[entry].name, items_[keep].lines, items_[drop].lines)) {
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
  items_.resize(out);
  LastFound = 0;
  return true;
}

}  // namespace ini
