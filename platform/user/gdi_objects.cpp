#include "gdi_objects.h"

namespace platform {

HandleTable<IconObject>& Icons() {
  static HandleTable<IconObject> table(HandleKind::Icon);
  return table;
}

HandleTable<BitmapObject>& Bitmaps() {
  static HandleTable<BitmapObject> table(HandleKind::Bitmap);
  return table;
}

HICON NewIcon(Image image, bool shared) {
  auto icon = std::make_unique<IconObject>();
  icon->image = std::move(image);
  icon->shared = shared;
  return Icons().Add<HICON>(std::move(icon));
}

HBITMAP NewBitmap(Image image) {
  auto bitmap = std::make_unique<BitmapObject>();
  bitmap->image = std::move(image);
  return Bitmaps().Add<HBITMAP>(std::move(bitmap));
}

const Image* IconImage(HICON icon) {
  const IconObject* object = Icons().Find(icon);
  return object ? &object->image : nullptr;
}

const Image* BitmapImage(HBITMAP bitmap) {
  const BitmapObject* object = Bitmaps().Find(bitmap);
  return object ? &object->image : nullptr;
}

Image ScaleImage(const Image& image, int width, int height) {
  Image scaled;
  if (width <= 0 || height <= 0) return scaled;
  scaled.width = width;
  scaled.height = height;
  scaled.argb.assign(static_cast<std::size_t>(width) * height, 0);
  if (image.width <= 0 || image.height <= 0 || image.argb.size() < static_cast<std::size_t>(image.width) * image.height)
    return scaled;
  for (int y = 0; y < height; ++y) {
    // Sample at the centre of each destination pixel.
    std::size_t sy = (static_cast<std::size_t>(y) * 2 + 1) * image.height / (2 * static_cast<std::size_t>(height));
    for (int x = 0; x < width; ++x) {
      std::size_t sx = (static_cast<std::size_t>(x) * 2 + 1) * image.width / (2 * static_cast<std::size_t>(width));
      scaled.argb[static_cast<std::size_t>(y) * width + x] = image.argb[sy * image.width + sx];
    }
  }
  return scaled;
}

}  // namespace platform
