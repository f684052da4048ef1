// What a key or a click at the terminal means on the device, decided from a
// plain picture of the screen's state so that it can be checked without a
// terminal or a running program.
#pragma once

#include <vector>

#include "screen_renderer.h"

namespace frontend {

enum class Key {
  None,
  Up,
  Down,
  Left,
  Right,
  Home,
  End,
  PageUp,
  PageDown,
  Enter,
  Escape,
  Tab,
  BackTab,
  Space,
  F1,
  F2,
  CtrlL,
  CtrlR,
  Resize,
  Yes,  // 'y' or 'Y'
  No,   // 'n' or 'N'
};

// A key code as curses reports it (a character, or KEY_* for a special key).
Key KeyFromCode(int code);

struct InputEvent {
  enum class Kind { Key, Click };
  Kind kind = Kind::Key;
  Key key = Key::None;
  int x = 0, y = 0;  // a click's cell on the device screen

  static InputEvent Press(Key key) { return InputEvent{Kind::Key, key, 0, 0}; }
  static InputEvent ClickAt(int x, int y) { return InputEvent{Kind::Click, Key::None, x, y}; }
};

// The parts of the screen that input can reach, in the cells the renderer
// draws them at.
struct InputView {
  // The list: its rows, the mark, the first visible row, and the cells of
  // the visible rows (one text row each, from rows.top down).
  int rowCount = 0;
  int mark = -1;
  int top = 0;
  int visibleRows = 0;
  CellBox rows;

  struct MenuButton {
    CellBox box;
    bool popup = false;
  };
  std::vector<MenuButton> menuButtons;

  // The open popup, if any; its items in order, separators included.
  int openPopup = -1;
  int popupFocus = -1;
  struct PopupItem {
    CellBox box;
    bool separator = false;
  };
  std::vector<PopupItem> popupItems;

  // The message box waiting for an answer, if any.
  bool boxOpen = false;
  struct BoxButton {
    int id = 0;
    CellBox box;
  };
  std::vector<BoxButton> boxButtons;
  int focusedButton = 0;
  int cancelId = 0;  // what Esc answers; 0 when nothing does

  CellBox ok;  // the navigation bar's OK; empty when it shows none
};

struct Action {
  enum class Kind {
    None,
    TapRow,     // value: the row
    MoveMark,   // value: the row
    OpenPopup,  // value: the menu-bar button (a second tap closes it)
    ClosePopup,
    PopupFocus,     // value: the item of the open popup
    TapPopupItem,   // value: the item of the open popup
    TapMenuButton,  // value: the menu-bar button (a command)
    PressBox,       // value: the button id
    FocusButton,    // value: the index of the box's button
    TapOk,
    Rotate,
    Redraw,
  };
  Kind kind = Kind::None;
  int value = 0;

  bool operator==(const Action&) const = default;
};

Action MapInput(const InputEvent& event, const InputView& view);

}  // namespace frontend
