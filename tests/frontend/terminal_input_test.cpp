#include "terminal_input.h"

#include <gtest/gtest.h>

#include "winuser.h"

// Key codes only; after the platform headers, without curses' function-like macros.
#define NCURSES_NOMACROS
#include <curses.h>

namespace {

using frontend::Action;
using frontend::CellBox;
using frontend::InputEvent;
using frontend::InputView;
using frontend::Key;
using frontend::MapInput;
using Kind = Action::Kind;

// The program's screen at 240 x 320: a bordered list with a header, ten rows
// of which four show from row 1, the mark on row 2; the menu bar's popup
// button and command button; OK on the navigation bar.
InputView ListView() {
  InputView v;
  v.rowCount = 10;
  v.mark = 2;
  v.top = 1;
  v.visibleRows = 4;
  v.rows = CellBox{1, 4, 29, 8};
  v.menuButtons = {{CellBox{0, 18, 15, 20}, true}, {CellBox{15, 18, 30, 20}, false}};
  v.ok = CellBox{28, 0, 30, 2};
  return v;
}

// The popup of the first button, open above the bar: three items, a
// separator as the third.
InputView PopupView(int focus) {
  InputView v = ListView();
  v.openPopup = 0;
  v.popupFocus = focus;
  for (int k = 0; k < 4; ++k) v.popupItems.push_back({CellBox{1, 13 + k, 15, 14 + k}, k == 2});
  return v;
}

// A Yes/No box over the list with No as its default, as the delete question asks.
InputView BoxView() {
  InputView v = ListView();
  v.boxOpen = true;
  v.boxButtons = {{IDYES, CellBox{9, 11, 14, 12}}, {IDNO, CellBox{15, 11, 19, 12}}};
  v.focusedButton = 1;
  v.cancelId = IDNO;
  return v;
}

InputView OkBoxView() {
  InputView v = ListView();
  v.boxOpen = true;
  v.boxButtons = {{IDOK, CellBox{12, 11, 16, 12}}};
  v.cancelId = IDOK;
  return v;
}

struct Case {
  const char* what;
  InputView view;
  InputEvent event;
  Action expected;
};

void Check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    Action got = MapInput(c.event, c.view);
    EXPECT_EQ(got.kind, c.expected.kind) << c.what;
    EXPECT_EQ(got.value, c.expected.value) << c.what;
  }
}

InputEvent Press(Key key) { return InputEvent::Press(key); }
InputEvent Click(int x, int y) { return InputEvent::ClickAt(x, y); }

TEST(TerminalInputTest, KeyCodesFromCurses) {
  struct {
    int code;
    Key key;
  } cases[] = {
      {KEY_UP, Key::Up},          {KEY_DOWN, Key::Down},     {KEY_HOME, Key::Home},  {KEY_END, Key::End},
      {KEY_NPAGE, Key::PageDown}, {KEY_PPAGE, Key::PageUp},  {'\n', Key::Enter},     {'\r', Key::Enter},
      {KEY_ENTER, Key::Enter},    {27, Key::Escape},         {'\t', Key::Tab},       {KEY_BTAB, Key::BackTab},
      {KEY_F(1), Key::F1},        {KEY_F(2), Key::F2},       {KEY_F(3), Key::None},  {'R' - '@', Key::CtrlR},
      {'L' - '@', Key::CtrlL},    {KEY_RESIZE, Key::Resize}, {'y', Key::Yes},        {'N', Key::No},
      {'x', Key::None},           {'r', Key::None},          {KEY_MOUSE, Key::None}, {-1, Key::None},
  };
  for (const auto& c : cases) EXPECT_EQ(frontend::KeyFromCode(c.code), c.key) << c.code;
}

TEST(TerminalInputTest, KeysOnTheList) {
  InputView noMark = ListView();
  noMark.mark = -1;
  InputView atEnd = ListView();
  atEnd.mark = 8;
  InputView lastRow = ListView();
  lastRow.mark = 9;
  InputView empty = ListView();
  empty.rowCount = 0;
  empty.mark = -1;
  Check({
      {"Up", ListView(), Press(Key::Up), {Kind::MoveMark, 1}},
      {"Down", ListView(), Press(Key::Down), {Kind::MoveMark, 3}},
      {"Home", ListView(), Press(Key::Home), {Kind::MoveMark, 0}},
      {"End", ListView(), Press(Key::End), {Kind::MoveMark, 9}},
      {"PageDown goes a page", ListView(), Press(Key::PageDown), {Kind::MoveMark, 6}},
      {"PageUp stops at the top", ListView(), Press(Key::PageUp), {Kind::MoveMark, 0}},
      {"PageDown stops at the end", atEnd, Press(Key::PageDown), {Kind::MoveMark, 9}},
      {"Down stays on the last row", lastRow, Press(Key::Down), {Kind::MoveMark, 9}},
      {"Down without a mark", noMark, Press(Key::Down), {Kind::MoveMark, 0}},
      {"Up without a mark", noMark, Press(Key::Up), {Kind::MoveMark, 0}},
      {"Down on an empty list", empty, Press(Key::Down), {}},
      {"Enter has no default command", ListView(), Press(Key::Enter), {}},
      {"Esc", ListView(), Press(Key::Escape), {}},
      {"y outside a box", ListView(), Press(Key::Yes), {}},
      {"F1 opens the left popup", ListView(), Press(Key::F1), {Kind::OpenPopup, 0}},
      {"F2 taps the right button", ListView(), Press(Key::F2), {Kind::TapMenuButton, 1}},
      {"F2 on an empty list", empty, Press(Key::F2), {Kind::TapMenuButton, 1}},
      {"Ctrl-R", ListView(), Press(Key::CtrlR), {Kind::Rotate}},
      {"Ctrl-L", ListView(), Press(Key::CtrlL), {Kind::Redraw}},
      {"resize", ListView(), Press(Key::Resize), {Kind::Redraw}},
  });
}

TEST(TerminalInputTest, KeysInAnOpenPopupSkipSeparatorsAndWrap) {
  Check({
      {"Down from nothing", PopupView(-1), Press(Key::Down), {Kind::PopupFocus, 0}},
      {"Up from nothing", PopupView(-1), Press(Key::Up), {Kind::PopupFocus, 3}},
      {"Down over the separator", PopupView(1), Press(Key::Down), {Kind::PopupFocus, 3}},
      {"Up over the separator", PopupView(3), Press(Key::Up), {Kind::PopupFocus, 1}},
      {"Down wraps", PopupView(3), Press(Key::Down), {Kind::PopupFocus, 0}},
      {"Enter taps the focused item", PopupView(1), Press(Key::Enter), {Kind::TapPopupItem, 1}},
      {"Enter with no focus", PopupView(-1), Press(Key::Enter), {}},
      {"Esc closes", PopupView(0), Press(Key::Escape), {Kind::ClosePopup}},
      {"F1 closes it again", PopupView(0), Press(Key::F1), {Kind::OpenPopup, 0}},
      {"F2 taps the command", PopupView(0), Press(Key::F2), {Kind::TapMenuButton, 1}},
      {"the list keeps still", PopupView(0), Press(Key::PageDown), {}},
  });
}

TEST(TerminalInputTest, KeysInAMessageBox) {
  Check({
      {"Left", BoxView(), Press(Key::Left), {Kind::FocusButton, 0}},
      {"Right wraps", BoxView(), Press(Key::Right), {Kind::FocusButton, 0}},
      {"Tab", BoxView(), Press(Key::Tab), {Kind::FocusButton, 0}},
      {"Enter presses the focused button", BoxView(), Press(Key::Enter), {Kind::PressBox, IDNO}},
      {"Esc answers No", BoxView(), Press(Key::Escape), {Kind::PressBox, IDNO}},
      {"y", BoxView(), Press(Key::Yes), {Kind::PressBox, IDYES}},
      {"n", BoxView(), Press(Key::No), {Kind::PressBox, IDNO}},
      {"the list is behind the box", BoxView(), Press(Key::Down), {}},
      {"so is the menu bar", BoxView(), Press(Key::F2), {}},
      {"Esc answers an OK box", OkBoxView(), Press(Key::Escape), {Kind::PressBox, IDOK}},
      {"y in an OK box", OkBoxView(), Press(Key::Yes), {}},
      {"Ctrl-R still rotates", BoxView(), Press(Key::CtrlR), {Kind::Rotate}},
  });
}

TEST(TerminalInputTest, ClicksHitWhatIsDrawn) {
  InputView shortList = ListView();
  shortList.rowCount = 3;  // rows 1 and 2 show, the rest of the list is blank
  Check({
      {"first visible row", ListView(), Click(5, 4), {Kind::TapRow, 1}},
      {"last visible row", ListView(), Click(28, 7), {Kind::TapRow, 4}},
      {"the header", ListView(), Click(5, 3), {}},
      {"the border", ListView(), Click(0, 5), {}},
      {"below the last row", shortList, Click(5, 6), {}},
      {"the popup button", ListView(), Click(3, 19), {Kind::OpenPopup, 0}},
      {"the command button", ListView(), Click(15, 18), {Kind::TapMenuButton, 1}},
      {"ok", ListView(), Click(29, 0), {Kind::TapOk}},
      {"the caption", ListView(), Click(5, 0), {}},
      {"outside the device", ListView(), Click(50, 5), {}},
  });
}

TEST(TerminalInputTest, ClicksWithAPopupOrABoxOpen) {
  Check({
      {"a popup item", PopupView(-1), Click(5, 14), {Kind::TapPopupItem, 1}},
      {"the separator", PopupView(-1), Click(5, 15), {}},
      {"past the item's right edge", PopupView(-1), Click(15, 13), {Kind::ClosePopup}},
      {"a list row closes the popup", PopupView(-1), Click(20, 5), {Kind::ClosePopup}},
      {"the open button closes it", PopupView(-1), Click(3, 19), {Kind::OpenPopup, 0}},
      {"Yes", BoxView(), Click(9, 11), {Kind::PressBox, IDYES}},
      {"No", BoxView(), Click(18, 11), {Kind::PressBox, IDNO}},
      {"between the buttons", BoxView(), Click(14, 11), {}},
      {"a row behind the box", BoxView(), Click(5, 4), {}},
      {"ok behind the box", BoxView(), Click(29, 0), {}},
  });
}

}  // namespace
