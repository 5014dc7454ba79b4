#include "ini/LineList.h"

#include <cstring>
#include <new>
#include <utility>

namespace ini {

TLineList::Entry TLineList::MakeOwned(std::string_view line) {
  if (line.empty()) return {"", 0, false};
  char* copy = new char[line.size()];
  std::memcpy(copy, line.data(), line.size());
  return {copy, static_cast<uint32_t>(line.size()), true};
}

void TLineList::Release(Entry& e) {
  if (e.owned) delete[] e.text;
  e = {"", 0, false};
}

TLineList::TLineList(const TLineList& other) {
  Reserve(other.size_);
  for (uint32_t i = 0; i < other.size_; ++i) data_[i] = MakeOwned(other[i]);
  size_ = other.size_;
}

TLineList::TLineList(TLineList&& other) {
  *this = std::move(other);
}

TLineList& TLineList::operator=(const TLineList& other) {
  if (this != &other) {
    TLineList copy(other);
    Relocate(copy);
  }
  return *this;
}

TLineList& TLineList::operator=(TLineList&& other) {
  if (other.Borrowing()) {
    // Borrowed text lives only as long as the list's owner: take copies of it.
    *this = static_cast<const TLineList&>(other);
    other.Clear();
  } else {
    Relocate(other);
  }
  return *this;
}

TLineList::~TLineList() {
  Free();
}

void TLineList::Relocate(TLineList& other) noexcept {
  if (this == &other) return;
  Free();
  Steal(other);
}

void TLineList::Steal(TLineList& other) noexcept {
  data_ = std::exchange(other.data_, nullptr);
  size_ = std::exchange(other.size_, 0);
  capacity_ = std::exchange(other.capacity_, 0);
}

void TLineList::Free() noexcept {
  Clear();
  if (capacity_ > 0) delete[] data_;
  data_ = nullptr;
  capacity_ = 0;
}

void TLineList::Reserve(uint32_t capacity) {
  if (capacity <= capacity_) return;
  Entry* fresh = new Entry[capacity];
  if (size_ > 0) std::memcpy(fresh, data_, size_ * sizeof(Entry));
  if (capacity_ > 0) delete[] data_;
  data_ = fresh;
  capacity_ = capacity;
}

void TLineList::Add(std::string_view line) {
  Insert(static_cast<int>(size_), line);
}

void TLineList::Insert(int i, std::string_view line) {
  // A borrowed run has no room to grow (capacity 0) and moves to an array of its own.
  if (size_ >= capacity_) Reserve(size_ < 2 ? 4 : size_ * 2);
  const Entry e = MakeOwned(line);
  std::memmove(data_ + i + 1, data_ + i, (size_ - i) * sizeof(Entry));
  data_[i] = e;
  ++size_;
}

void TLineList::Put(int i, std::string_view line) {
  const Entry e = MakeOwned(line);
  // Borrowed runs hold borrowed entries only, which lets Clear skip them.
  if (capacity_ == 0) Reserve(size_);
  Release(data_[i]);
  data_[i] = e;
}

void TLineList::Delete(int i) {
  Release(data_[i]);
  std::memmove(data_ + i, data_ + i + 1, (size_ - i - 1) * sizeof(Entry));
  --size_;
}

void TLineList::Clear() {
  if (capacity_ > 0) {
    for (uint32_t i = 0; i < size_; ++i) Release(data_[i]);
  }
  size_ = 0;
}

std::vector<std::string> TLineList::ToStrings() const {
  std::vector<std::string> out;
  out.reserve(size_);
  for (std::string_view line : *this) out.emplace_back(line);
  return out;
}

void TLineList::AdoptBorrowed(Entry* entries, uint32_t count) {
  Free();
  data_ = entries;
  size_ = count;
  capacity_ = 0;
}

}  // namespace ini
