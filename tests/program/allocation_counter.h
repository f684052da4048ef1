// Counts the program's heap allocations (global operator new) while an action runs.
#pragma once

#include <cstddef>
#include <functional>

namespace corvale_test {

std::size_t AllocationsDuring(const std::function<void()>& act);

}  // namespace corvale_test
