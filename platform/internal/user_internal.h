// What the user services share among themselves.
#pragma once

#include <functional>
#include <string>

#include "window_objects.h"

namespace platform {

struct CreateParams {
  DWORD exStyle = 0;
  std::u16string className;
  std::u16string text;
  DWORD style = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND parent = nullptr;  // parent of a child, owner of a top-level window
  int id = 0;
  HINSTANCE instance = nullptr;
  LPVOID param = nullptr;
  std::function<void(Window&)> configure;  // runs before WM_CREATE
};

HWND CreateWindowObject(const CreateParams& params);

// The procedure of a class whose creator hands the window its state, made
// with new, in CREATESTRUCTW::lpCreateParams; the window owns it from then on.
template <class State>
LRESULT StateHandedOverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    FindWindowObject(window)->state.reset(static_cast<State*>(cs->lpCreateParams));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
void DestroyWindowObject(HWND window);
std::u16string ClassNameForOrdinal(WORD ordinal);
void PlaceWindow(HWND window, int x, int y, int cx, int cy, UINT flags);

HWND ForegroundWindowObject();
void SetForegroundWindowObject(HWND window);
HWND FocusWindowObject();
void SetFocusObject(HWND window);

void DropQueuedMessages(HWND window);
void ResetMessageQueue();
void ResetWindowTables();

// Runs messages until |done| holds or the queue is told to quit; returns
// false when WM_QUIT arrived (it is left in the queue for the outer loop).
bool RunNestedLoop(const std::function<bool()>& done);

// Dialog base units of the current screen.
SIZE CurrentDialogBaseUnits();

}  // namespace platform
