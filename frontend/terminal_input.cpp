#include "terminal_input.h"

#include <algorithm>

#include "winuser.h"

// Only for the key codes; last, and without its function-like macros.
#define NCURSES_NOMACROS
#include <curses.h>

namespace frontend {
namespace {

constexpr int kEscape = 27;
constexpr int kCtrlL = 'L' - '@';
constexpr int kCtrlR = 'R' - '@';

bool Contains(const CellBox& box, int x, int y) {
  return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

Action Do(Action::Kind kind, int value = 0) { return Action{kind, value}; }

// A menu-bar button is tapped alike by key and by click: a popup opens (or
// closes), a command is sent.
Action TapButton(const InputView& view, int index) {
  if (index < 0 || index >= static_cast<int>(view.menuButtons.size())) return {};
  return Do(
      view.menuButtons[static_cast<std::size_t>(index)].popup ? Action::Kind::OpenPopup : Action::Kind::TapMenuButton,
      index);
}

Action SoftKey(const InputView& view, Key key) {
  int count = static_cast<int>(view.menuButtons.size());
  if (key == Key::F1) return TapButton(view, 0);
  return count >= 2 ? TapButton(view, count - 1) : Action{};
}

// The next item after |from| in |step| direction that is not a separator,
// wrapping round; -1 if the popup has none.
int NextPopupItem(const InputView& view, int from, int step) {
  int count = static_cast<int>(view.popupItems.size());
  if (count == 0) return -1;
  int at = from;
  if (at < 0 || at >= count) at = step > 0 ? -1 : count;
  for (int i = 0; i < count; ++i) {
    at = ((at + step) % count + count) % count;
    if (!view.popupItems[static_cast<std::size_t>(at)].separator) return at;
  }
  return -1;
}

Action PopupKey(const InputView& view, Key key) {
  auto focus = [](int item) { return item < 0 ? Action{} : Do(Action::Kind::PopupFocus, item); };
  switch (key) {
    case Key::Up:
      return focus(NextPopupItem(view, view.popupFocus, -1));
    case Key::Down:
      return focus(NextPopupItem(view, view.popupFocus, +1));
    case Key::Home:
      return focus(NextPopupItem(view, -1, +1));
    case Key::End:
      return focus(NextPopupItem(view, -1, -1));
    case Key::Enter:
    case Key::Space: {
      int f = view.popupFocus;
      if (f < 0 || f >= static_cast<int>(view.popupItems.size()) ||
          view.popupItems[static_cast<std::size_t>(f)].separator)
        return {};
      return Do(Action::Kind::TapPopupItem, f);
    }
    case Key::Escape:
      return Do(Action::Kind::ClosePopup);
    case Key::F1:
    case Key::F2:
      return SoftKey(view, key);
    default:
      return {};
  }
}

bool BoxHas(const InputView& view, int id) {
  return std::any_of(view.boxButtons.begin(), view.boxButtons.end(),
                     [id](const InputView::BoxButton& b) { return b.id == id; });
}

Action BoxKey(const InputView& view, Key key) {
  int count = static_cast<int>(view.boxButtons.size());
  if (count == 0) return {};
  int focused = std::clamp(view.focusedButton, 0, count - 1);
  switch (key) {
    case Key::Left:
    case Key::BackTab:
      return Do(Action::Kind::FocusButton, (focused + count - 1) % count);
    case Key::Right:
    case Key::Tab:
      return Do(Action::Kind::FocusButton, (focused + 1) % count);
    case Key::Enter:
    case Key::Space:
      return Do(Action::Kind::PressBox, view.boxButtons[static_cast<std::size_t>(focused)].id);
    case Key::Escape:
      return view.cancelId ? Do(Action::Kind::PressBox, view.cancelId) : Action{};
    case Key::Yes:
      return BoxHas(view, IDYES) ? Do(Action::Kind::PressBox, IDYES) : Action{};
    case Key::No:
      return BoxHas(view, IDNO) ? Do(Action::Kind::PressBox, IDNO) : Action{};
    default:
      return {};
  }
}

Action ListKey(const InputView& view, Key key) {
  if (key == Key::F1 || key == Key::F2) return SoftKey(view, key);
  int last = view.rowCount - 1;
  if (last < 0) return {};
  int mark = std::clamp(view.mark, -1, last);
  int page = std::max(1, view.visibleRows);
  auto move = [last](int row) { return Do(Action::Kind::MoveMark, std::clamp(row, 0, last)); };
  switch (key) {
    case Key::Up:
      return move(mark < 0 ? 0 : mark - 1);
    case Key::Down:
      return move(mark + 1);
    case Key::Home:
      return move(0);
    case Key::End:
      return move(last);
    case Key::PageUp:
      return move(mark < 0 ? 0 : mark - page);
    case Key::PageDown:
      return move(mark < 0 ? page - 1 : mark + page);
    default:
      return {};  // Enter has no default command on the list
  }
}

Action Click(const InputView& view, int x, int y) {
  if (view.boxOpen) {
    for (const InputView::BoxButton& b : view.boxButtons)
      if (Contains(b.box, x, y)) return Do(Action::Kind::PressBox, b.id);
    return {};  // the box is modal
  }
  for (std::size_t i = 0; i < view.menuButtons.size(); ++i)
    if (Contains(view.menuButtons[i].box, x, y)) return TapButton(view, static_cast<int>(i));
  if (view.openPopup >= 0) {
    for (std::size_t i = 0; i < view.popupItems.size(); ++i) {
      if (!Contains(view.popupItems[i].box, x, y)) continue;
      return view.popupItems[i].separator ? Action{} : Do(Action::Kind::TapPopupItem, static_cast<int>(i));
    }
    return Do(Action::Kind::ClosePopup);
  }
  if (Contains(view.rows, x, y)) {
    int row = view.top + (y - view.rows.top);
    if (row >= 0 && row < view.rowCount && y - view.rows.top < view.visibleRows) return Do(Action::Kind::TapRow, row);
    return {};
  }
  if (Contains(view.ok, x, y)) return Do(Action::Kind::TapOk);
  return {};
}

}  // namespace

Key KeyFromCode(int code) {
  switch (code) {
    case KEY_UP:
      return Key::Up;
    case KEY_DOWN:
      return Key::Down;
    case KEY_LEFT:
      return Key::Left;
    case KEY_RIGHT:
      return Key::Right;
    case KEY_HOME:
    case KEY_A1:
      return Key::Home;
    case KEY_END:
    case KEY_C1:
      return Key::End;
    case KEY_PPAGE:
    case KEY_A3:
      return Key::PageUp;
    case KEY_NPAGE:
    case KEY_C3:
      return Key::PageDown;
    case KEY_ENTER:
    case '\n':
    case '\r':
      return Key::Enter;
    case kEscape:
      return Key::Escape;
    case '\t':
      return Key::Tab;
    case KEY_BTAB:
      return Key::BackTab;
    case ' ':
      return Key::Space;
    case KEY_F(1):
      return Key::F1;
    case KEY_F(2):
      return Key::F2;
    case kCtrlL:
      return Key::CtrlL;
    case kCtrlR:
      return Key::CtrlR;
    case KEY_RESIZE:
      return Key::Resize;
    case 'y':
    case 'Y':
      return Key::Yes;
    case 'n':
    case 'N':
      return Key::No;
    default:
      return Key::None;
  }
}

Action MapInput(const InputEvent& event, const InputView& view) {
  if (event.kind == InputEvent::Kind::Click) return Click(view, event.x, event.y);
  switch (event.key) {
    case Key::None:
      return {};
    case Key::CtrlR:
      return Do(Action::Kind::Rotate);
    case Key::CtrlL:
    case Key::Resize:
      return Do(Action::Kind::Redraw);
    default:
      break;
  }
  if (view.boxOpen) return BoxKey(view, event.key);
  if (view.openPopup >= 0) return PopupKey(view, event.key);
  return ListKey(view, event.key);
}

}  // namespace frontend
