// Corvale's compiled resources (corvale.rc), linked into the program.
#pragma once

#include <cstddef>
#include <span>

// The .res image, 4-byte aligned; register it as the program's module.
std::span<const std::byte> CorvaleResourceImage();
