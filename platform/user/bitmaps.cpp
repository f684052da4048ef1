// Bitmaps from resources: LoadBitmapW, DeleteObject.
#include "gdi_objects.h"
#include "module_table.h"
#include "service.h"
#include "user/dib.h"
#include "winbase.h"
#include "winuser.h"

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  platform::ServiceCall call("LoadBitmapW");
  if (call.Fails(ERROR_RESOURCE_NAME_NOT_FOUND)) return nullptr;
  // A null instance asks for a system bitmap; this system has none.
  if (!instance) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  platform::ResourceView bits;
  if (!platform::FindResourceBytes(instance, name, RT_BITMAP, &bits)) return nullptr;
  platform::Image image;
  if (!platform::DecodeBitmapDib(std::span<const std::byte>(bits.data, bits.size), &image)) {
    SetLastError(platform::kErrorInvalidData);
    return nullptr;
  }
  // Each call makes a bitmap of the caller's own, as on the device.
  return platform::NewBitmap(std::move(image));
}

BOOL DeleteObject(HGDIOBJ object) {
  platform::ServiceCall call("DeleteObject");
  if (call.Fails(ERROR_INVALID_HANDLE)) return FALSE;
  if (!platform::Bitmaps().Remove(static_cast<HBITMAP>(object))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
