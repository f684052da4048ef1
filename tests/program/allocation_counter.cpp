// Replaces the global allocation functions of the test binary; the array and
// nothrow forms reach these through the library's own definitions.
#include "program/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {

bool g_counting = false;
std::size_t g_allocations = 0;

}  // namespace

void* operator new(std::size_t size) {
  if (g_counting) ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }

void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace corvale_test {

std::size_t AllocationsDuring(const std::function<void()>& act) {
  g_allocations = 0;
  g_counting = true;
  act();
  g_counting = false;
  return g_allocations;
}

}  // namespace corvale_test
