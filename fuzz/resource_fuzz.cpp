// The resource loader on a .res image of arbitrary bytes: the module is
// registered, and every resource the image holds is found, loaded, read whole
// and, by its type, made into what the program would make of it (icon,
// bitmap, menu, strings, dialog). The image is the whole of its allocation,
// so any read past it is a sanitizer report; nothing made may stay alive.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/device.h"
#include "device/handle_counts.h"
#include "dialog_template.h"
#include "fuzz_device.h"
#include "kernel/res_image.h"
#include "module_table.h"
#include "windows.h"

namespace {

// Past this many entries an image only costs time.
constexpr std::size_t kMaxEntries = 64;

enum : WORD { kRtBitmap = 2, kRtIcon = 3, kRtMenu = 4, kRtDialog = 5, kRtString = 6, kRtGroupIcon = 14 };

struct Id {
  std::u16string text;  // keeps a name's characters alive
  LPCWSTR value;
};

Id IdOf(const platform::ResId& id) {
  if (id.isOrdinal) return {{}, MAKEINTRESOURCEW(id.ordinal)};
  Id named{id.name, nullptr};
  return named;
}

void Use(HINSTANCE module, const platform::ResEntry& entry) {
  Id type = IdOf(entry.type);
  Id name = IdOf(entry.name);
  if (!entry.type.isOrdinal) type.value = type.text.c_str();
  if (!entry.name.isOrdinal) name.value = name.text.c_str();

  HRSRC found = FindResourceW(module, name.value, type.value);
  if (!found) return;
  DWORD size = SizeofResource(module, found);
  auto* bytes = static_cast<const volatile std::uint8_t*>(LockResource(LoadResource(module, found)));
  if (!bytes) return;
  unsigned sum = 0;
  for (DWORD i = 0; i < size; ++i) sum += bytes[i];
  (void)sum;

  if (!entry.type.isOrdinal) return;
  switch (entry.type.ordinal) {
    case kRtGroupIcon:
    case kRtIcon:
      if (HICON icon = LoadIconW(module, name.value)) DestroyIcon(icon);
      break;
    case kRtBitmap:
      if (HBITMAP bitmap = LoadBitmapW(module, name.value)) DeleteObject(bitmap);
      break;
    case kRtMenu:
      if (HMENU menu = LoadMenuW(module, name.value)) DestroyMenu(menu);
      break;
    case kRtString:
      if (entry.name.isOrdinal && entry.name.ordinal > 0) {
        WCHAR text[300];
        for (UINT k = 0; k < 16; ++k) LoadStringW(module, (entry.name.ordinal - 1u) * 16u + k, text, 300);
        LoadStringW(module, (entry.name.ordinal - 1u) * 16u, text, 1);
      }
      break;
    case kRtDialog: {
      // The dialog services take a template without its size; only a
      // template that reads whole within its resource is handed to them.
      platform::DialogTemplate parsed;
      if (platform::ParseDialogTemplate(const_cast<const std::uint8_t*>(bytes), size, &parsed))
        if (HWND dialog = CreateDialogIndirectParamW(
                module, reinterpret_cast<const DLGTEMPLATE*>(const_cast<const std::uint8_t*>(bytes)), nullptr, nullptr,
                0))
          DestroyWindow(dialog);
      break;
    }
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  corvale_fuzz::FuzzDeviceRoot();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly the input's size, on a 4-byte boundary as a module's image is.
  std::vector<std::byte> image(reinterpret_cast<const std::byte*>(data),
                               reinterpret_cast<const std::byte*>(data) + size);

  device::Boot({corvale_fuzz::FuzzDeviceRoot()});
  const device::HandleCounts before = device::LiveHandles();
  HINSTANCE module = platform::RegisterModule(u"/x/fuzz.dll", image);
  std::vector<platform::ResEntry> entries;
  if (module && platform::ParseResImage(image, &entries)) {
    if (entries.size() > kMaxEntries) entries.resize(kMaxEntries);
    for (const platform::ResEntry& entry : entries) Use(module, entry);
  }
  const device::HandleCounts after = device::LiveHandles();
  if (after.OwnedIcons() != before.OwnedIcons() || after.bitmaps != before.bitmaps || after.menus != before.menus ||
      after.windows != before.windows)
    corvale_fuzz::Broken("something made from a resource stayed alive");
  return 0;
}
