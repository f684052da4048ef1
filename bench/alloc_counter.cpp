// Counting replacements for the global allocation functions. Sizes come from
// the allocator itself so that sized and unsized deletes agree.
#include "alloc_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace bench {
namespace {

std::atomic<std::uint64_t> g_count{0};
std::atomic<std::int64_t> g_live{0};
std::atomic<bool> g_accounting{false};

void* Take(std::size_t size, std::size_t alignment) {
  if (size == 0) size = 1;
  void* p = alignment > alignof(std::max_align_t)
                ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                : std::malloc(size);
  if (!p) return nullptr;
  g_count.fetch_add(1, std::memory_order_relaxed);
  if (g_accounting.load(std::memory_order_relaxed))
    g_live.fetch_add(static_cast<std::int64_t>(malloc_usable_size(p)), std::memory_order_relaxed);
  return p;
}

void* TakeOrThrow(std::size_t size, std::size_t alignment) {
  void* p = Take(size, alignment);
  if (!p) throw std::bad_alloc();
  return p;
}

void Give(void* p) noexcept {
  if (!p) return;
  if (g_accounting.load(std::memory_order_relaxed))
    g_live.fetch_sub(static_cast<std::int64_t>(malloc_usable_size(p)), std::memory_order_relaxed);
  std::free(p);
}

}  // namespace

std::uint64_t AllocationCount() { return g_count.load(std::memory_order_relaxed); }

std::int64_t AccountedHeapBytes() { return g_live.load(std::memory_order_relaxed); }

HeapAccounting::HeapAccounting() { g_accounting.store(true, std::memory_order_relaxed); }

HeapAccounting::~HeapAccounting() { g_accounting.store(false, std::memory_order_relaxed); }

}  // namespace bench

void* operator new(std::size_t size) { return bench::TakeOrThrow(size, 0); }
void* operator new[](std::size_t size) { return bench::TakeOrThrow(size, 0); }
void* operator new(std::size_t size, std::align_val_t a) { return bench::TakeOrThrow(size, std::size_t(a)); }
void* operator new[](std::size_t size, std::align_val_t a) { return bench::TakeOrThrow(size, std::size_t(a)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return bench::Take(size, 0); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return bench::Take(size, 0); }
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return bench::Take(size, std::size_t(a));
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return bench::Take(size, std::size_t(a));
}

void operator delete(void* p) noexcept { bench::Give(p); }
void operator delete[](void* p) noexcept { bench::Give(p); }
void operator delete(void* p, std::size_t) noexcept { bench::Give(p); }
void operator delete[](void* p, std::size_t) noexcept { bench::Give(p); }
void operator delete(void* p, std::align_val_t) noexcept { bench::Give(p); }
void operator delete[](void* p, std::align_val_t) noexcept { bench::Give(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { bench::Give(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { bench::Give(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { bench::Give(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { bench::Give(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { bench::Give(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { bench::Give(p); }
