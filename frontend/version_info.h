// The program's version, as its version block states it.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace frontend {

// "1.0.0.1" from the fixed part of the version block in the .res image |res|,
// or "unknown" when it has none.
std::string FileVersion(std::span<const std::byte> res);

}  // namespace frontend
