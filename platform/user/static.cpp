// The static control ("Static"): text, an icon or a bitmap.
//
// Not supported (they go to DefWindowProcW): STN_* notifications (SS_NOTIFY),
// SS_CENTERIMAGE and SS_REALSIZEIMAGE sizing, WM_CTLCOLORSTATIC. Setting a
// picture never releases the one it replaces: the caller owns both.
#include <memory>

#include "control_classes.h"
#include "window_objects.h"

namespace platform {
namespace {

struct StaticState : ControlState {
  ImageSlots images;
};

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FindWindowObject(hwnd);
  if (!window) return 0;
  if (message == WM_CREATE) {
    if (!window->state) window->state = std::make_unique<StaticState>();
    return 0;
  }
  auto* state = dynamic_cast<StaticState*>(window->state.get());
  LRESULT result = 0;
  if (state && ImageSlotMessage(state->images, message, wParam, lParam, &result)) return result;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool ImageSlotMessage(ImageSlots& slots, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto swap = [result](auto& slot, auto value) {
    *result = reinterpret_cast<LRESULT>(slot);
    slot = value;
    return true;
  };
  switch (message) {
    case STM_SETICON:
      return swap(slots.icon, reinterpret_cast<HICON>(wParam));
    case STM_GETICON:
      *result = reinterpret_cast<LRESULT>(slots.icon);
      return true;
    case STM_SETIMAGE:
      if (wParam == IMAGE_ICON) return swap(slots.icon, reinterpret_cast<HICON>(lParam));
      if (wParam == IMAGE_BITMAP) return swap(slots.bitmap, reinterpret_cast<HBITMAP>(lParam));
      *result = 0;
      return true;
    case STM_GETIMAGE:
      *result = wParam == IMAGE_ICON     ? reinterpret_cast<LRESULT>(slots.icon)
                : wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(slots.bitmap)
                                         : 0;
      return true;
    default:
      return false;
  }
}

void RegisterStaticClass() { RegisterBuiltinClass(u"Static", StaticProc); }

const ImageSlots* StaticImages(HWND control) {
  const StaticState* state = StateOf<StaticState>(control);
  return state ? &state->images : nullptr;
}

}  // namespace platform
