// Program modules and the resources they carry, as compiled .res images.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "wintypes.h"

namespace platform {

// Registers a module whose resources are the .res image |res| (kept by the
// caller for the module's life) and whose file is |fileName| (a host path).
// The first module registered is the process's own (GetModuleHandleW(nullptr)).
HINSTANCE RegisterModule(std::u16string fileName, std::span<const std::byte> res);

// A located resource: its bytes in place inside the module's image.
struct ResourceView {
  const std::byte* data = nullptr;
  std::size_t size = 0;
};
bool FindResourceBytes(HINSTANCE module, LPCWSTR name, LPCWSTR type, ResourceView* out);

}  // namespace platform
