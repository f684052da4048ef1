// What the shell shows around programs: the navigation bar at the top, menu
// bars at the bottom, and message boxes; with the state the screen model
// draws and the user actions they take.
#pragma once

#include <string>
#include <vector>

#include "menu_objects.h"
#include "window_objects.h"

namespace platform {

constexpr int kNavBarHeight = 26;
constexpr int kMenuBarHeight = 26;

struct MessageBoxButton {
  int id;
  std::u16string text;
};

struct MessageBoxState : ControlState {
  std::u16string text;
  std::u16string caption;
  UINT type = 0;
  std::vector<MessageBoxButton> buttons;
  int defaultButton = 0;  // index into buttons
  int focusedButton = 0;
  int result = 0;  // 0 while unanswered
};

struct MenuBarState : ControlState {
  HWND owner = nullptr;
  MenuObject menu;
  int openPopup = -1;   // index of the top-level item whose popup is open
  int popupFocus = -1;  // focused item in the open popup (keyboard)
};

MessageBoxState* MessageBoxOf(HWND box);
MenuBarState* MenuBarOf(HWND menuBar);

// The cancel choice of a box: what Esc answers.
int MessageBoxCancelId(const MessageBoxState& box);
// Answers a box as a tap on its button |id| would; false if it has none.
bool MessageBoxPress(HWND box, int id);

// A menu bar's button rectangle, in screen pixels.
RECT MenuBarButtonRect(HWND menuBar, int index);
// Taps a top-level button: opens its popup or sends its command.
bool MenuBarTapButton(HWND menuBar, int index);
// Taps an item of the open popup; false if none is open or the item is not a command.
bool MenuBarTapPopupItem(HWND menuBar, int item);
void MenuBarClosePopup(HWND menuBar);

// The navigation bar's OK: sends IDOK to the foreground window that shows one.
bool NavBarTapOk();
HWND NavBarWindow();
// The window whose caption the navigation bar shows.
HWND NavBarSubject();
bool NavBarShowsOk();

void CreateShellWindows();
void RegisterShellClasses();

// Rotates the screen: the shell's bars and full-screen dialogs follow, then
// every top-level window hears WM_SIZE.
void ChangeScreen(int width, int height);

}  // namespace platform
