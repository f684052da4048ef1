// The tests' compiled resources (test_templates.rc).
#pragma once

#include <cstddef>
#include <span>

// The .res image, 4-byte aligned; tests register it as a module of their own.
std::span<const std::byte> TestResourceImage();
