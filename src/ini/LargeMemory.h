#pragma once

#include <cstddef>
#include <utility>

namespace ini {

// Memory for big loads. A fresh 4 KiB page costs a fault on first touch, which is slow
// enough under virtualisation to outweigh parsing; blocks of a megabyte and more are
// mapped on their own and asked for huge pages, so a 10 MB file takes a handful of faults.
// Smaller blocks come from the ordinary heap.
void* LargeAlloc(size_t bytes);
void LargeFree(void* p, size_t bytes) noexcept;

template <class T>
struct LargeAllocator {
  using value_type = T;
  LargeAllocator() = default;
  template <class U>
  LargeAllocator(const LargeAllocator<U>&) {}
  T* allocate(size_t n) { return static_cast<T*>(LargeAlloc(n * sizeof(T))); }
  void deallocate(T* p, size_t n) noexcept { LargeFree(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const LargeAllocator<U>&) const {
    return true;
  }
};

// A byte buffer from LargeAlloc.
class LargeBuffer {
 public:
  LargeBuffer() = default;
  explicit LargeBuffer(size_t capacity)
      : data_(static_cast<char*>(LargeAlloc(capacity))), capacity_(capacity) {}
  LargeBuffer(LargeBuffer&& o) noexcept
      : data_(std::exchange(o.data_, nullptr)), capacity_(std::exchange(o.capacity_, 0)) {}
  LargeBuffer& operator=(LargeBuffer&& o) noexcept {
    std::swap(data_, o.data_);
    std::swap(capacity_, o.capacity_);
    return *this;
  }
  ~LargeBuffer() {
    if (data_) LargeFree(data_, capacity_);
  }
  char* get() const { return data_; }
  size_t capacity() const { return capacity_; }

 private:
  char* data_ = nullptr;
  size_t capacity_ = 0;
};

}  // namespace ini
