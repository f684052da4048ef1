// Heap use as seen through the replaced global operator new and delete:
// every C++ allocation of the process, the platform's and the program's too.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bench {

// Allocations made since the process started.
std::uint64_t AllocationCount();

// Bytes allocated less bytes released (as the allocator sized them) while a
// HeapAccounting was alive. Sizing every allocation costs time, so timed code
// runs without it.
std::int64_t AccountedHeapBytes();

class HeapAccounting {
 public:
  HeapAccounting();
  ~HeapAccounting();
  HeapAccounting(const HeapAccounting&) = delete;
  HeapAccounting& operator=(const HeapAccounting&) = delete;
};

}  // namespace bench
