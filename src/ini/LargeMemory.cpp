#include "ini/LargeMemory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace ini {

namespace {

constexpr size_t kLargeBytes = size_t{1} << 20;
constexpr size_t kHugePage = size_t{2} << 20;

size_t MappedLength(size_t bytes) {
  return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

}  // namespace

void* LargeAlloc(size_t bytes) {
  if (bytes < kLargeBytes) return ::operator new(bytes);
  const size_t length = MappedLength(bytes);
  void* raw = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  // Huge pages need an aligned range: keep the aligned part of the mapping only.
  const auto start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) ::munmap(raw, aligned - start);
  const uintptr_t tail = aligned + length;
  const uintptr_t end = start + length + kHugePage;
  if (end > tail) ::munmap(reinterpret_cast<void*>(tail), end - tail);
  ::madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void LargeFree(void* p, size_t bytes) noexcept {
  if (bytes < kLargeBytes) {
    ::operator delete(p);
    return;
  }
  ::munmap(p, MappedLength(bytes));
}

}  // namespace ini
