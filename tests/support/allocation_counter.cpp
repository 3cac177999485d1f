// Replacements of the C allocation functions and the global operator new/delete that count each allocation
// and hand the work to the C library's own allocator (glibc's __libc_* entry points), so nothing else changes.
#include "tests/support/allocation_counter.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <new>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);
}

namespace {

std::atomic<uint64_t> allocationCount{0};

void CountOne() { allocationCount.fetch_add(1, std::memory_order_relaxed); }

void* AllocateOrThrow(size_t size, size_t alignment) {
  CountOne();
  if (size == 0) size = 1;
  void* pointer = alignment <= alignof(std::max_align_t) ? __libc_malloc(size) : __libc_memalign(alignment, size);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}

void* AllocateOrNull(size_t size, size_t alignment) noexcept {
  CountOne();
  if (size == 0) size = 1;
  return alignment <= alignof(std::max_align_t) ? __libc_malloc(size) : __libc_memalign(alignment, size);
}

}  // namespace

namespace allocations {

uint64_t Count() { return allocationCount.load(std::memory_order_relaxed); }

}  // namespace allocations

extern "C" {

void* malloc(size_t size) {
  CountOne();
  return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
  CountOne();
  return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
  CountOne();
  return __libc_realloc(pointer, size);
}

void* memalign(size_t alignment, size_t size) {
  CountOne();
  return __libc_memalign(alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
  CountOne();
  return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, size_t alignment, size_t size) {
  CountOne();
  if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
  void* pointer = __libc_memalign(alignment, size);
  if (pointer == nullptr) return ENOMEM;
  *out = pointer;
  return 0;
}

void free(void* pointer) { __libc_free(pointer); }

}  // extern "C"

void* operator new(size_t size) { return AllocateOrThrow(size, 0); }
void* operator new[](size_t size) { return AllocateOrThrow(size, 0); }
void* operator new(size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<size_t>(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<size_t>(alignment));
}
void* operator new(size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size, 0); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size, 0); }
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, static_cast<size_t>(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, static_cast<size_t>(alignment));
}

void operator delete(void* pointer) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, size_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, size_t) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, size_t, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, size_t, std::align_val_t) noexcept { __libc_free(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { __libc_free(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { __libc_free(pointer); }
