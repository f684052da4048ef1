// Dialog templates written byte by byte, wrapped as modules, and a booted
// device to lay live dialogs out on, for the relayout tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "control_classes.h"
#include "device/device.h"
#include "module_table.h"
#include "platform/temp_device.h"
#include "res/res_writer.h"
#include "res/test_resources.h"
#include "window_objects.h"
#include "windows.h"

namespace corvale_test {

// A name-or-ordinal field of a template.
struct Field {
  bool ordinal = false;
  WORD value = 0;
  std::u16string text;
};
inline Field Ord(WORD value) { return {true, value, {}}; }
inline Field Str(std::u16string text) { return {false, 0, std::move(text)}; }

struct ItemDef {
  DWORD style = WS_CHILD | WS_VISIBLE;
  short x = 0, y = 0, cx = 0, cy = 0;
  WORD id = 0;
  Field cls = Ord(0x82);
  Field title = Str(u"");
  WORD creationSize = 0;  // counts its own 2-byte field; the bytes after it are 0xFF
};

struct DialogDef {
  DWORD style = WS_POPUP | DS_SETFONT;
  Field menu = Str(u"");
  Field cls = Str(u"");
  Field title = Str(u"Layout");
  std::u16string typeface = u"MS Shell Dlg";  // written only with DS_SETFONT
  std::vector<ItemDef> items;
};

class ByteWriter {
 public:
  void Word(WORD v) { Put(&v, sizeof v); }
  void Dword(DWORD v) { Put(&v, sizeof v); }
  void Field(const corvale_test::Field& f) {
    if (f.ordinal) {
      Word(0xFFFF);
      Word(f.value);
      return;
    }
    for (char16_t c : f.text) Word(c);
    Word(0);
  }
  void Fill(std::size_t n, std::byte value) { bytes_.insert(bytes_.end(), n, value); }
  void Align4() { Fill((4 - bytes_.size() % 4) % 4, std::byte{0}); }
  std::vector<std::byte> Take() { return std::move(bytes_); }

 private:
  void Put(const void* p, std::size_t n) {
    auto b = static_cast<const std::byte*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  std::vector<std::byte> bytes_;
};

// The standard template form, items on 4-byte boundaries from the start.
inline std::vector<std::byte> TemplateBytes(const DialogDef& d) {
  ByteWriter w;
  w.Dword(d.style);
  w.Dword(0);
  w.Word(static_cast<WORD>(d.items.size()));
  for (int i = 0; i < 4; ++i) w.Word(i < 2 ? 0 : 100);
  w.Field(d.menu);
  w.Field(d.cls);
  w.Field(d.title);
  if (d.style & DS_SETFONT) {
    w.Word(9);
    w.Field(Str(d.typeface));
  }
  for (const ItemDef& item : d.items) {
    w.Align4();
    w.Dword(item.style);
    w.Dword(0);
    for (short v : {item.x, item.y, item.cx, item.cy}) w.Word(static_cast<WORD>(v));
    w.Word(item.id);
    w.Field(item.cls);
    w.Field(item.title);
    w.Word(item.creationSize);
    if (item.creationSize > 2) w.Fill(item.creationSize - 2u, std::byte{0xFF});
  }
  return w.Take();
}

// The tests' compiled resources followed by one more RT_DIALOG entry |id|
// holding |tmpl|. The entry declares |declared| bytes (all of them by
// default); a shorter one makes it the image's last |declared| bytes, with the
// rest of |tmpl| left in memory just past the image, where only a reader that
// ignores the resource's size would find it.
struct ModuleImage {
  std::vector<std::byte> buffer;
  std::size_t size = 0;
};
inline ModuleImage ImageWithDialog(WORD id, std::span<const std::byte> tmpl, std::size_t declared = SIZE_MAX) {
  ResWriter w(TestResourceImage());
  std::size_t dataStart = w.Entry(5 /* RT_DIALOG */, id, tmpl, declared);
  ModuleImage image;
  image.size = dataStart + std::min(declared, tmpl.size());
  image.buffer = w.Take();
  return image;
}

// Looks a control up in the window model, so the trace stays clean.
inline const platform::Window* Control(HWND dialog, WORD id) {
  const platform::Window* d = platform::FindWindowObject(dialog);
  if (!d) return nullptr;
  for (HWND c : d->children)
    if (const platform::Window* w = platform::FindWindowObject(c); w && static_cast<WORD>(w->id) == id) return w;
  return nullptr;
}

// Pixels of a rectangle given in (even) dialog units, at the 6 x 12 base units of a 240-pixel screen.
inline RECT Du(int x, int y, int cx, int cy) { return RECT{x * 3 / 2, y * 3 / 2, (x + cx) * 3 / 2, (y + cy) * 3 / 2}; }

// A device at 240 x 320, where a dialog unit is 1.5 pixels each way.
class LayoutTest : public ::testing::Test {
 protected:
  HINSTANCE Register(ModuleImage image) {
    images_.push_back(std::move(image));
    const ModuleImage& kept = images_.back();
    return platform::RegisterModule(u"\\Windows\\layout_tests.dll",
                                    std::span<const std::byte>(kept.buffer.data(), kept.size));
  }

  // A live dialog made from |tmpl| (4-byte aligned) with |module|'s resources.
  static HWND CreateLive(HINSTANCE module, std::span<const std::byte> tmpl) {
    HWND dialog =
        CreateDialogIndirectParamW(module, reinterpret_cast<const DLGTEMPLATE*>(tmpl.data()), nullptr, nullptr, 0);
    EXPECT_NE(dialog, nullptr);
    return dialog;
  }

  // The trace of what |act| asks of the platform.
  static std::vector<std::string> Traced(const std::function<void()>& act) {
    device::Trace& trace = device::Current().trace;
    trace.Clear();
    trace.Enable(true);
    act();
    trace.Enable(false);
    return trace.Entries();
  }

  TempDevice dev_;
  std::deque<ModuleImage> images_;
};

}  // namespace corvale_test

// RECT lives in the global namespace, so its comparison for the checks does too.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
