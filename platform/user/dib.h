// Decoding device-independent bitmaps as bitmap and icon resources hold them.
#pragma once

#include <cstddef>
#include <span>

#include "gdi_objects.h"
#include "wintypes.h"

namespace platform {

// ERROR_INVALID_DATA: the bytes are not an image this platform decodes.
constexpr DWORD kErrorInvalidData = 13;

// A bitmap resource: BITMAPINFOHEADER, palette, bits; no file header. 1, 4, 8,
// 16 (5-5-5), 24 and 32 bits per pixel, uncompressed, bottom-up or top-down.
// Every pixel comes out opaque.
bool DecodeBitmapDib(std::span<const std::byte> data, Image* out);

// An icon image: the header gives twice the height, the colour bits are
// followed by a 1-bit AND mask. Masked pixels come out as 0 (transparent);
// 32-bit images carry their own alpha unless it is all zero. PNG-compressed
// images are not decoded.
bool DecodeIconDib(std::span<const std::byte> data, Image* out);

// True when |data| starts with the PNG signature.
bool IsPng(std::span<const std::byte> data);

}  // namespace platform
