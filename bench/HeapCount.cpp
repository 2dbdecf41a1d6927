#include "bench/HeapCount.hpp"

#include <atomic>
#include <cerrno>
#include <cstddef>

// The GNU C library's allocator under its own names; the replacements below
// count and hand over to it, so memory from either side may be freed by the
// other.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<std::size_t> allocations{0};

void* Counted(void* block) {
  if (block != nullptr) allocations.fetch_add(1, std::memory_order_relaxed);
  return block;
}

}  // namespace

namespace norvane::bench {

std::size_t HeapAllocations() {
  return allocations.load(std::memory_order_relaxed);
}

}  // namespace norvane::bench

extern "C" {

void* malloc(std::size_t size) { return Counted(__libc_malloc(size)); }

void* calloc(std::size_t count, std::size_t size) {
  return Counted(__libc_calloc(count, size));
}

void* realloc(void* block, std::size_t size) {
  return Counted(__libc_realloc(block, size));
}

void* memalign(std::size_t alignment, std::size_t size) {
  return Counted(__libc_memalign(alignment, size));
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
  return Counted(__libc_memalign(alignment, size));
}

int posix_memalign(void** block, std::size_t alignment, std::size_t size) {
  if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) {
    return EINVAL;
  }
  void* allocated = Counted(__libc_memalign(alignment, size));
  if (allocated == nullptr && size != 0) return ENOMEM;
  *block = allocated;
  return 0;
}

void free(void* block) { __libc_free(block); }

}  // extern "C"
