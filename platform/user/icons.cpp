// Icons from resources: LoadIconW, DestroyIcon, LoadIconOfSize.
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "gdi_objects.h"
#include "module_table.h"
#include "resource_objects.h"
#include "service.h"
#include "user/dib.h"
#include "winbase.h"
#include "winuser.h"

namespace platform {
namespace {

// One image a group icon lists.
struct GroupEntry {
  int width;
  int height;
  int bitCount;
  WORD id;  // of its RT_ICON
};

// The GRPICONDIR of a group icon resource: a 6-byte head, 14 bytes an entry.
bool ParseGroup(const ResourceView& group, std::vector<GroupEntry>* entries) {
  auto word = [&](std::size_t at) {
    WORD v;
    std::memcpy(&v, group.data + at, sizeof v);
    return v;
  };
  if (group.size < 6 || word(0) != 0 || word(2) != 1) return false;
  std::size_t count = word(4);
  if (count == 0 || (group.size - 6) / 14 < count) return false;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t at = 6 + 14 * i;
    auto byte = [&](std::size_t offset) { return std::to_integer<int>(group.data[at + offset]); };
    // A width or height of 0 stands for 256.
    entries->push_back({byte(0) ? byte(0) : 256, byte(1) ? byte(1) : 256, word(at + 6), word(at + 12)});
  }
  return true;
}

int Area(const GroupEntry& e) { return e.width * e.height; }

// Of equal sizes, the deeper image.
bool Better(const GroupEntry& a, const GroupEntry& b) {
  return Area(a) != Area(b) ? Area(a) > Area(b) : a.bitCount > b.bitCount;
}

const GroupEntry& Largest(const std::vector<GroupEntry>& entries) {
  const GroupEntry* largest = &entries.front();
  for (const GroupEntry& e : entries)
    if (Better(e, *largest)) largest = &e;
  return *largest;
}

// The deepest image of exactly |size|, else the smallest larger, else the largest.
const GroupEntry& ChooseForSize(const std::vector<GroupEntry>& entries, int size) {
  const GroupEntry* exact = nullptr;
  const GroupEntry* larger = nullptr;
  for (const GroupEntry& e : entries) {
    if (e.width == size && e.height == size && (!exact || e.bitCount > exact->bitCount)) exact = &e;
    if (e.width > size && e.height > size && (!larger || Better(*larger, e))) larger = &e;
  }
  return exact ? *exact : larger ? *larger : Largest(entries);
}

// LoadIconW's choice: the standard 32 x 32 image when there is one, else the largest.
const GroupEntry& ChooseStandard(const std::vector<GroupEntry>& entries) {
  const GroupEntry& chosen = ChooseForSize(entries, 32);
  return chosen.width == 32 && chosen.height == 32 ? chosen : Largest(entries);
}

// Decodes one image of |group|: for |size|, or LoadIconW's choice when |size| is 0.
bool DecodeGroupImage(HINSTANCE instance, const ResourceView& group, int size, Image* image) {
  std::vector<GroupEntry> entries;
  if (!ParseGroup(group, &entries)) {
    SetLastError(kErrorInvalidData);
    return false;
  }
  const GroupEntry& entry = size ? ChooseForSize(entries, size) : ChooseStandard(entries);
  ResourceView bits;
  if (!FindResourceBytes(instance, MAKEINTRESOURCEW(entry.id), RT_ICON, &bits)) return false;
  std::span<const std::byte> data(bits.data, bits.size);
  if (!DecodeIconDib(data, image)) {
    SetLastError(IsPng(data) ? ERROR_NOT_SUPPORTED : kErrorInvalidData);
    return false;
  }
  return true;
}

// The shared icon of each group icon resource, by module and the resource's bytes.
std::map<std::pair<HINSTANCE, const std::byte*>, HICON>& SharedIcons() {
  static std::map<std::pair<HINSTANCE, const std::byte*>, HICON> icons;
  return icons;
}

}  // namespace

void ClearSharedIcons() { SharedIcons().clear(); }

HICON LoadIconOfSize(HINSTANCE instance, WORD id, int size) {
  if (!instance || size <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ResourceView group;
  Image image;
  if (!FindResourceBytes(instance, MAKEINTRESOURCEW(id), RT_GROUP_ICON, &group) ||
      !DecodeGroupImage(instance, group, size, &image))
    return nullptr;
  if (image.width != size || image.height != size) image = ScaleImage(image, size, size);
  return NewIcon(std::move(image));
}

}  // namespace platform

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
  platform::ServiceCall call("LoadIconW");
  if (call.Fails(ERROR_RESOURCE_NAME_NOT_FOUND)) return nullptr;
  // A null instance asks for a system icon; this system has none.
  if (!instance) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  platform::ResourceView group;
  if (!platform::FindResourceBytes(instance, name, RT_GROUP_ICON, &group)) return nullptr;
  auto& shared = platform::SharedIcons();
  auto key = std::make_pair(instance, group.data);
  if (auto it = shared.find(key); it != shared.end() && platform::Icons().Find(it->second)) return it->second;
  platform::Image image;
  if (!platform::DecodeGroupImage(instance, group, 0, &image)) return nullptr;
  HICON icon = platform::NewIcon(std::move(image), true);
  shared[key] = icon;
  return icon;
}

BOOL DestroyIcon(HICON icon) {
  platform::ServiceCall call("DestroyIcon");
  if (call.Fails(ERROR_INVALID_ICON_HANDLE)) return FALSE;
  const platform::IconObject* object = platform::Icons().Find(icon);
  if (!object) {
    SetLastError(ERROR_INVALID_ICON_HANDLE);
    return FALSE;
  }
  // Shared icons belong to their module and live as long as it does.
  if (!object->shared) platform::Icons().Remove(icon);
  return TRUE;
}
