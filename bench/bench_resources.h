// The benchmark's own module: dialog 200, a template of 100 controls.
#pragma once

#include <cstddef>
#include <span>

inline constexpr unsigned kHundredItemsDialog = 200;

// The .res image, 4-byte aligned; register it as a module.
std::span<const std::byte> HundredItemsImage();
