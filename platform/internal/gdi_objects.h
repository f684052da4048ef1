// Icons and bitmaps: images of 32-bit pixels kept in handle tables.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "handle_table.h"
#include "wintypes.h"

namespace platform {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;  // row by row from the top; alpha 0 is transparent
};

struct IconObject {
  Image image;
  bool shared = false;  // loaded from resources: DestroyIcon leaves it alive
};

struct BitmapObject {
  Image image;
};

HandleTable<IconObject>& Icons();
HandleTable<BitmapObject>& Bitmaps();

HICON NewIcon(Image image, bool shared = false);
HBITMAP NewBitmap(Image image);
const Image* IconImage(HICON icon);
const Image* BitmapImage(HBITMAP bitmap);

// A copy of |image| scaled to |width| x |height| by nearest neighbour.
Image ScaleImage(const Image& image, int width, int height);

// Icon |id| of |instance| at |size| x |size| pixels, as a new icon of the
// caller's (not shared): the image of that size, else the smallest larger one,
// else the largest, scaled. Null on failure with the last error set.
HICON LoadIconOfSize(HINSTANCE instance, WORD id, int size);

}  // namespace platform
