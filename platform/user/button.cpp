// The button control ("Button"): push buttons that tell their parent of a
// click, and may show an icon or a bitmap.
//
// Not supported (they go to DefWindowProcW): check boxes and radio buttons
// (BM_GETCHECK, BM_SETCHECK, BM_GETSTATE, BM_SETSTATE, BM_SETSTYLE), BM_CLICK,
// BN_* codes other than BN_CLICKED, owner draw.
#include <memory>

#include "control_classes.h"
#include "window_objects.h"

namespace platform {
namespace {

struct ButtonState : ControlState {
  ImageSlots images;
};

// A dialog item of the button class whose title is an ordinal gets its picture
// through the static-control messages, so those are taken here as well.
bool ImageMessage(ButtonState& state, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == BM_SETIMAGE) message = STM_SETIMAGE;
  if (message == BM_GETIMAGE) message = STM_GETIMAGE;
  return ImageSlotMessage(state.images, message, wParam, lParam, result);
}

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FindWindowObject(hwnd);
  if (!window) return 0;
  if (message == WM_CREATE) {
    if (!window->state) window->state = std::make_unique<ButtonState>();
    return 0;
  }
  auto* state = dynamic_cast<ButtonState*>(window->state.get());
  LRESULT result = 0;
  if (state && ImageMessage(*state, message, wParam, lParam, &result)) return result;
  if (message == WM_LBUTTONUP) {
    ButtonTap(hwnd);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterButtonClass() { RegisterBuiltinClass(u"Button", ButtonProc); }

const ImageSlots* ButtonImages(HWND button) {
  const ButtonState* state = StateOf<ButtonState>(button);
  return state ? &state->images : nullptr;
}

bool ButtonTap(HWND button) {
  Window* window = FindWindowObject(button);
  if (!window || !StateOf<ButtonState>(button) || !window->Enabled()) return false;
  Window* parent = FindWindowObject(window->parent ? window->parent : window->owner);
  if (!parent) return true;
  WPARAM command = MAKEWPARAM(static_cast<WORD>(window->id), BN_CLICKED);
  CallWindow(*parent, WM_COMMAND, command, reinterpret_cast<LPARAM>(button));
  return true;
}

}  // namespace platform
