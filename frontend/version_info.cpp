#include "version_info.h"

#include <cstring>

#include "module_table.h"
#include "winbase.h"

namespace frontend {

std::string FileVersion(std::span<const std::byte> res) {
  // The fixed part starts with its signature; the version words follow it.
  constexpr DWORD kSignature = 0xFEEF04BD;
  static constexpr char16_t kKey[] = u"VS_VERSION_INFO";
  std::size_t start = res.size();
  for (std::size_t i = 0; i + sizeof kKey <= res.size(); i += 2)
    if (std::memcmp(res.data() + i, kKey, sizeof kKey) == 0) {
      start = (i + sizeof kKey + 3) & ~std::size_t{3};
      break;
    }
  for (std::size_t i = start; i + 16 <= res.size() && i < start + 16; i += 4) {
    DWORD words[4];
    std::memcpy(words, res.data() + i, sizeof words);
    if (words[0] != kSignature) continue;
    DWORD ms = words[2], ls = words[3];
    return std::to_string(HIWORD(ms)) + "." + std::to_string(LOWORD(ms)) + "." + std::to_string(HIWORD(ls)) + "." +
           std::to_string(LOWORD(ls));
  }
  return "unknown";
}

}  // namespace frontend
