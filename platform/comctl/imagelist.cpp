// Image lists: fixed-size copies of icons, kept apart from the icons they came
// from so that the caller may destroy its icons once they are added.
//
// Not supported: ImageList_Add (bitmaps and masks), ImageList_Remove,
// ImageList_Draw*, ImageList_SetBkColor, drag images and overlays.
#include <memory>

#include "commctrl.h"
#include "control_classes.h"
#include "gdi_objects.h"
#include "handle_table.h"
#include "service.h"
#include "winbase.h"

namespace platform {
namespace {

struct ImageListObject {
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
  std::vector<Image> images;  // each exactly cx * cy pixels
};

HandleTable<ImageListObject>& ImageLists() {
  static HandleTable<ImageListObject> table(HandleKind::ImageList);
  return table;
}

Image Fit(const Image& source, int cx, int cy) {
  std::size_t pixels = static_cast<std::size_t>(cx) * static_cast<std::size_t>(cy);
  // Icons mostly come at the list's size already: copy them as they are.
  if (source.width == cx && source.height == cy && source.argb.size() == pixels) return source;
  Image copy = ScaleImage(source, cx, cy);
  copy.argb.resize(pixels);
  copy.argb.shrink_to_fit();
  return copy;
}

}  // namespace

const std::vector<Image>* ImageListImages(HIMAGELIST list) {
  const ImageListObject* object = ImageLists().Find(list);
  return object ? &object->images : nullptr;
}

std::size_t LiveImageLists() { return ImageLists().Live(); }

void ResetImageLists() { ImageLists().Clear(); }

}  // namespace platform

using platform::ImageListObject;
using platform::ImageLists;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
  platform::ServiceCall call("ImageList_Create");
  if (call.Fails(ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  (void)initial;  // the vector grows as needed; nothing is reserved up front
  (void)grow;
  // Keep sizes sane: a bad size must not turn into a huge allocation per image.
  if (cx <= 0 || cy <= 0 || cx > 256 || cy > 256) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = std::make_unique<ImageListObject>();
  object->cx = cx;
  object->cy = cy;
  object->flags = flags;
  return ImageLists().Add<HIMAGELIST>(std::move(object));
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  platform::ServiceCall call("ImageList_Destroy");
  if (call.Fails()) return FALSE;
  if (!ImageLists().Remove(list)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  platform::ServiceCall call("ImageList_ReplaceIcon");
  if (call.Fails(ERROR_NOT_ENOUGH_MEMORY)) return -1;
  ImageListObject* object = ImageLists().Find(list);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  const platform::Image* source = platform::IconImage(icon);
  if (!source) {
    SetLastError(ERROR_INVALID_ICON_HANDLE);
    return -1;
  }
  int count = static_cast<int>(object->images.size());
  if (index < -1 || index >= count) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  platform::Image copy = platform::Fit(*source, object->cx, object->cy);
  if (index == -1) {
    object->images.push_back(std::move(copy));
    return count;
  }
  object->images[index] = std::move(copy);
  return index;
}

int ImageList_GetImageCount(HIMAGELIST list) {
  platform::ServiceCall call("ImageList_GetImageCount");
  if (call.Fails()) return 0;
  const ImageListObject* object = ImageLists().Find(list);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return static_cast<int>(object->images.size());
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  platform::ServiceCall call("ImageList_GetIconSize");
  if (call.Fails()) return FALSE;
  const ImageListObject* object = ImageLists().Find(list);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!cx || !cy) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *cx = object->cx;
  *cy = object->cy;
  return TRUE;
}
