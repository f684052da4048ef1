// The window model: every window of the device, its class, place and state.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "handle_table.h"
#include "winuser.h"

namespace platform {

// Per-control state kept by a built-in window class (list view, static...).
struct ControlState {
  virtual ~ControlState() = default;
};

struct Window {
  HWND handle = nullptr;
  std::u16string className;  // as registered ("SysListView32", "#32770"...)
  WNDPROC proc = nullptr;
  bool builtinProc = false;  // the procedure belongs to the platform
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // child windows: the parent; top-level windows: null
  HWND owner = nullptr;   // top-level windows: the owner, if any
  int id = 0;             // child windows: the control id
  RECT rect{};            // children: in the parent's client coordinates; top-level: on the screen
  std::u16string text;
  HINSTANCE instance = nullptr;
  std::vector<HWND> children;  // in creation (tab) order
  std::unique_ptr<ControlState> state;
  LONG_PTR userData = 0;
  bool destroying = false;

  // Dialogs.
  bool isDialog = false;
  DLGPROC dlgProc = nullptr;
  LONG_PTR msgResult = 0;  // DWL_MSGRESULT
  LONG_PTR dlgUser = 0;    // DWL_USER
  bool dialogEnded = false;
  INT_PTR endResult = 0;
  bool fullScreen = false;  // sized by the shell between its bars
  SIZE baseUnits{};         // this dialog's scale from dialog units to pixels
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;

  bool Visible() const { return (style & WS_VISIBLE) != 0; }
  bool Enabled() const { return (style & WS_DISABLED) == 0; }
  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }
};

HandleTable<Window>& Windows();
Window* FindWindowObject(HWND window);

// Top-level windows from bottom to top of the z order.
const std::vector<HWND>& TopLevelOrder();

// The window's rectangle in screen coordinates.
RECT ScreenRect(const Window& window);

// A built-in window class: its procedure and the state it keeps per window.
void RegisterBuiltinClass(std::u16string name, WNDPROC proc);

// Calls a window's procedure, stepping out of the platform for program code.
LRESULT CallWindow(Window& window, UINT message, WPARAM wParam, LPARAM lParam);

// Sends a notification (WM_NOTIFY) from a control to its parent.
LRESULT NotifyParent(HWND control, UINT code);

// Case-insensitive comparison of ASCII-range class names.
bool SameClassName(std::u16string_view a, std::u16string_view b);

template <class State>
State* StateOf(HWND window) {
  Window* w = FindWindowObject(window);
  return w ? dynamic_cast<State*>(w->state.get()) : nullptr;
}

}  // namespace platform
