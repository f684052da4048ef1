// Menus from resources: LoadMenuW, DestroyMenu, and the menu resource format.
#include <cstring>

#include "menu_objects.h"
#include "module_table.h"
#include "service.h"
#include "winbase.h"
#include "winuser.h"

namespace platform {
namespace {

constexpr WORD kGrayed = 0x0001;
constexpr WORD kPopup = 0x0010;
constexpr WORD kEnd = 0x0080;
constexpr WORD kSeparator = 0x0800;

// Deeper nesting than any real menu; it bounds the recursion on hostile data.
constexpr int kMaxDepth = 16;

class MenuReader {
 public:
  MenuReader(const void* data, std::size_t size) : data_(static_cast<const unsigned char*>(data)), size_(size) {}

  bool Word(WORD* out) {
    if (size_ - pos_ < 2) return false;
    std::memcpy(out, data_ + pos_, 2);
    pos_ += 2;
    return true;
  }

  bool Text(std::u16string* out) {
    for (;;) {
      WORD c;
      if (!Word(&c)) return false;
      if (c == 0) return true;
      out->push_back(static_cast<char16_t>(c));
    }
  }

  // Items up to and including the one marked as the last of its level.
  bool Items(std::vector<MenuItem>* items, int depth) {
    if (depth > kMaxDepth) return false;
    for (;;) {
      WORD flags;
      if (!Word(&flags)) return false;
      MenuItem item;
      item.grayed = (flags & kGrayed) != 0;
      if (flags & kPopup) {
        if (!Text(&item.text) || !Items(&item.popup, depth + 1)) return false;
      } else {
        WORD id;
        if (!Word(&id) || !Text(&item.text)) return false;
        item.id = id;
        // The compiler writes a separator as an empty item with id 0.
        item.separator = (flags & kSeparator) != 0 || (id == 0 && item.text.empty());
      }
      items->push_back(std::move(item));
      if (flags & kEnd) return true;
    }
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace

HandleTable<MenuObject>& Menus() {
  static HandleTable<MenuObject> table(HandleKind::Menu);
  return table;
}

bool ParseMenuResource(const void* data, std::size_t size, MenuObject* menu) {
  menu->items.clear();
  if (!data) return false;
  MenuReader reader(data, size);
  WORD version, headerSize;
  // The standard form: version 0 and no further header bytes.
  if (!reader.Word(&version) || !reader.Word(&headerSize) || version != 0 || headerSize != 0) return false;
  if (!reader.Items(&menu->items, 0)) {
    menu->items.clear();
    return false;
  }
  return true;
}

}  // namespace platform

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
  platform::ServiceCall call("LoadMenuW");
  if (call.Fails(ERROR_RESOURCE_NAME_NOT_FOUND)) return nullptr;
  platform::ResourceView bytes;
  if (!platform::FindResourceBytes(instance, name, RT_MENU, &bytes)) return nullptr;
  auto menu = std::make_unique<platform::MenuObject>();
  if (!platform::ParseMenuResource(bytes.data, bytes.size, menu.get())) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return platform::Menus().Add<HMENU>(std::move(menu));
}

BOOL DestroyMenu(HMENU menu) {
  platform::ServiceCall call("DestroyMenu");
  if (call.Fails(ERROR_INVALID_MENU_HANDLE)) return FALSE;
  if (!platform::Menus().Remove(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  return TRUE;
}
