#include "user/dib.h"

#include <cstdint>
#include <cstring>

namespace platform {
namespace {

constexpr std::int32_t kMaxSide = 32767;

struct DibHeader {
  std::uint32_t size;
  std::int32_t width;
  std::int32_t height;
  std::uint16_t planes;
  std::uint16_t bitCount;
  std::uint32_t compression;
  std::uint32_t sizeImage;
  std::int32_t xPelsPerMeter;
  std::int32_t yPelsPerMeter;
  std::uint32_t clrUsed;
  std::uint32_t clrImportant;
};
static_assert(sizeof(DibHeader) == 40);

std::uint64_t Stride(std::uint64_t width, unsigned bpp) { return (width * bpp + 31) / 32 * 4; }

// A DIB laid out in |data|: where the palette and bits are, and how to read them.
struct Layout {
  DibHeader header;
  int width = 0;
  int height = 0;  // of the colour bits
  bool topDown = false;
  std::uint32_t paletteSize = 0;
  std::size_t paletteOffset = 0;
  std::size_t bitsOffset = 0;
  std::uint64_t stride = 0;
};

// |icon|: the height is doubled and must be positive.
bool ReadLayout(std::span<const std::byte> data, bool icon, Layout* layout) {
  DibHeader& h = layout->header;
  if (data.size() < sizeof h) return false;
  std::memcpy(&h, data.data(), sizeof h);
  if (h.size < sizeof h || h.size > data.size()) return false;
  if (h.planes != 1 || h.compression != 0) return false;
  switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      return false;
  }
  if (h.width <= 0 || h.width > kMaxSide || h.height == 0 || h.height < -kMaxSide || h.height > 2 * kMaxSide)
    return false;
  int height = h.height;
  if (icon) {
    if (height < 0 || height % 2 != 0) return false;
    height /= 2;
  } else if (height < 0) {
    layout->topDown = true;
    height = -height;
  }
  if (height > kMaxSide) return false;
  layout->width = h.width;
  layout->height = height;

  std::uint32_t maxColours = h.bitCount <= 8 ? (1u << h.bitCount) : 0;
  if (h.bitCount <= 8) {
    if (h.clrUsed > maxColours) return false;
    layout->paletteSize = h.clrUsed ? h.clrUsed : maxColours;
  }
  // Deeper images may still carry a palette (for display on paletted screens); skip it.
  std::uint64_t paletteEntries = h.bitCount <= 8 ? layout->paletteSize : h.clrUsed;
  std::uint64_t bitsOffset = std::uint64_t{h.size} + paletteEntries * 4;
  layout->paletteOffset = h.size;
  layout->stride = Stride(layout->width, h.bitCount);
  std::uint64_t end = bitsOffset + layout->stride * static_cast<std::uint64_t>(height);
  if (end > data.size()) return false;
  layout->bitsOffset = static_cast<std::size_t>(bitsOffset);
  return true;
}

std::uint32_t Opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return 0xFF000000u | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

// Fills |out| with the colour bits, all opaque; |alpha| receives the alpha bytes of 32-bit images.
void ReadColours(std::span<const std::byte> data, const Layout& layout, Image* out, std::vector<std::uint8_t>* alpha) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
  const unsigned bpp = layout.header.bitCount;
  std::vector<std::uint32_t> palette(layout.paletteSize);
  for (std::uint32_t i = 0; i < layout.paletteSize; ++i) {
    const std::uint8_t* quad = bytes + layout.paletteOffset + 4 * i;
    palette[i] = Opaque(quad[2], quad[1], quad[0]);
  }
  out->width = layout.width;
  out->height = layout.height;
  out->argb.assign(static_cast<std::size_t>(layout.width) * layout.height, 0);
  if (bpp == 32) alpha->assign(out->argb.size(), 0);
  for (int y = 0; y < layout.height; ++y) {
    int stored = layout.topDown ? y : layout.height - 1 - y;
    const std::uint8_t* row = bytes + layout.bitsOffset + layout.stride * stored;
    std::uint32_t* dest = out->argb.data() + static_cast<std::size_t>(y) * layout.width;
    for (int x = 0; x < layout.width; ++x) {
      std::uint32_t pixel;
      if (bpp <= 8) {
        unsigned bit = static_cast<unsigned>(x) * bpp;
        unsigned index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        // An index past a short palette shows as black, as on the device.
        pixel = index < palette.size() ? palette[index] : Opaque(0, 0, 0);
      } else if (bpp == 16) {
        unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
        auto five = [](unsigned c) { return static_cast<std::uint8_t>((c << 3) | (c >> 2)); };
        pixel = Opaque(five((v >> 10) & 31), five((v >> 5) & 31), five(v & 31));
      } else {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bpp / 8);
        pixel = Opaque(p[2], p[1], p[0]);
        if (bpp == 32) (*alpha)[static_cast<std::size_t>(y) * layout.width + x] = p[3];
      }
      dest[x] = pixel;
    }
  }
}

}  // namespace

bool IsPng(std::span<const std::byte> data) {
  static constexpr unsigned char kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return data.size() >= sizeof kPng && std::memcmp(data.data(), kPng, sizeof kPng) == 0;
}

bool DecodeBitmapDib(std::span<const std::byte> data, Image* out) {
  Layout layout;
  if (!ReadLayout(data, false, &layout)) return false;
  std::vector<std::uint8_t> alpha;
  ReadColours(data, layout, out, &alpha);
  return true;
}

bool DecodeIconDib(std::span<const std::byte> data, Image* out) {
  if (IsPng(data)) return false;
  Layout layout;
  if (!ReadLayout(data, true, &layout)) return false;
  std::uint64_t maskStride = Stride(layout.width, 1);
  std::uint64_t maskOffset = layout.bitsOffset + layout.stride * static_cast<std::uint64_t>(layout.height);
  bool hasMask = maskOffset + maskStride * static_cast<std::uint64_t>(layout.height) <= data.size();
  // Only 32-bit images may do without the mask: their alpha says it all.
  if (!hasMask && layout.header.bitCount != 32) return false;

  std::vector<std::uint8_t> alpha;
  ReadColours(data, layout, out, &alpha);
  bool useAlpha = false;
  for (std::uint8_t a : alpha) useAlpha |= a != 0;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
  for (int y = 0; y < layout.height; ++y) {
    std::uint32_t* row = out->argb.data() + static_cast<std::size_t>(y) * layout.width;
    if (useAlpha) {
      const std::uint8_t* a = alpha.data() + static_cast<std::size_t>(y) * layout.width;
      for (int x = 0; x < layout.width; ++x) row[x] = a[x] ? (row[x] & 0x00FFFFFFu) | (std::uint32_t{a[x]} << 24) : 0;
    } else if (hasMask) {
      const std::uint8_t* mask = bytes + maskOffset + maskStride * (layout.height - 1 - y);
      for (int x = 0; x < layout.width; ++x)
        if ((mask[x / 8] >> (7 - x % 8)) & 1) row[x] = 0;
    }
  }
  return true;
}

}  // namespace platform
