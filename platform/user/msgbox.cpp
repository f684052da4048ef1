// Message boxes: modal boxes over their owner, answered by one of their buttons.
#include <algorithm>

#include "device/device.h"
#include "service.h"
#include "shell_objects.h"
#include "text_cells.h"
#include "user_internal.h"
#include "winbase.h"

namespace platform {
namespace {

std::vector<MessageBoxButton> ButtonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, u"Abort"}, {IDRETRY, u"Retry"}, {IDIGNORE, u"Ignore"}};
    case MB_YESNOCANCEL:
      return {{IDYES, u"Yes"}, {IDNO, u"No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO:
      return {{IDYES, u"Yes"}, {IDNO, u"No"}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, u"Retry"}, {IDCANCEL, u"Cancel"}};
    default:
      return {{IDOK, u"OK"}};
  }
}

// The top-level window a box belongs to: the owner's own top-level window.
HWND TopLevelOf(HWND window) {
  for (Window* w = FindWindowObject(window); w; w = FindWindowObject(w->parent))
    if (!w->parent) return w->handle;
  return nullptr;
}

RECT BoxRect(const MessageBoxState& state) {
  const device::Device& d = device::Current();
  int width = std::min(d.ScreenWidth() - 2 * kCellWidth, 28 * kCellWidth);
  // Inside the frame; an icon mark takes two more cells before the text.
  int textCells = width / kCellWidth - 2 - ((state.type & MB_ICONMASK) ? 2 : 0);
  int lines = static_cast<int>(WrapText(state.text, textCells).size());
  int height = kCellHeight * (lines + 4);  // caption, text, gap, buttons, border
  int x = (d.ScreenWidth() - width) / 2;
  int y = std::max(kNavBarHeight, (d.ScreenHeight() - height) / 2);
  return RECT{x, y, x + width, y + height};
}

}  // namespace

void RegisterMessageBoxClass() { RegisterBuiltinClass(u"MessageBox", StateHandedOverProc<MessageBoxState>); }

MessageBoxState* MessageBoxOf(HWND box) { return StateOf<MessageBoxState>(box); }

int MessageBoxCancelId(const MessageBoxState& box) {
  for (const MessageBoxButton& b : box.buttons)
    if (b.id == IDCANCEL) return IDCANCEL;
  for (const MessageBoxButton& b : box.buttons)
    if (b.id == IDNO) return IDNO;
  return box.buttons.size() == 1 ? box.buttons[0].id : 0;
}

bool MessageBoxPress(HWND box, int id) {
  MessageBoxState* state = MessageBoxOf(box);
  if (!state || state->result) return false;
  for (const MessageBoxButton& b : state->buttons)
    if (b.id == id) {
      state->result = id;
      return true;
    }
  return false;
}

}  // namespace platform

using namespace platform;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  ServiceCall call("MessageBoxW");
  if (call.Fails(ERROR_NOT_ENOUGH_MEMORY)) return 0;
  if (owner && !FindWindowObject(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  auto* state = new MessageBoxState;
  state->text = text ? text : u"";
  state->caption = caption ? caption : u"Error";
  state->type = type;
  state->buttons = ButtonsFor(type);
  int defIndex = static_cast<int>((type & MB_DEFMASK) >> 8);
  state->defaultButton = defIndex < static_cast<int>(state->buttons.size()) ? defIndex : 0;
  state->focusedButton = state->defaultButton;
  RECT r = BoxRect(*state);

  HWND top = TopLevelOf(owner);
  CreateParams p;
  p.className = u"MessageBox";
  p.text = state->caption;
  p.style = WS_POPUP | WS_VISIBLE | WS_CAPTION;
  p.x = r.left;
  p.y = r.top;
  p.width = r.right - r.left;
  p.height = r.bottom - r.top;
  p.parent = top;
  p.param = state;
  HWND box = CreateWindowObject(p);
  if (!box) {
    delete state;
    return 0;
  }
  bool ownerWasEnabled = top && IsWindowEnabled(top);
  if (top) EnableWindow(top, FALSE);
  HWND previousForeground = ForegroundWindowObject();
  SetForegroundWindowObject(box);
  if (device::Events* events = device::Current().events) events->MessageBoxShown(box);

  bool answered = RunNestedLoop([box] {
    const MessageBoxState* s = MessageBoxOf(box);
    return !s || s->result != 0;
  });
  int result = 0;
  if (const MessageBoxState* s = MessageBoxOf(box)) result = answered ? s->result : MessageBoxCancelId(*s);
  DestroyWindowObject(box);
  if (top && ownerWasEnabled) EnableWindow(top, TRUE);
  if (previousForeground && FindWindowObject(previousForeground)) SetForegroundWindowObject(previousForeground);
  return result;
}
