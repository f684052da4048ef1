#include "input_view.h"

#include <algorithm>

#include "actions.h"
#include "control_classes.h"
#include "device/device.h"
#include "listview_state.h"
#include "shell_objects.h"
#include "text_cells.h"
#include "window_objects.h"

namespace frontend {
namespace {

// The cells below follow the renderer's layout (screen_renderer.cpp): what
// is tapped must be what is seen there.

CellBox BoxOf(const RECT& r) {
  return CellBox{PixelToColumn(r.left), PixelToRow(r.top), PixelToColumn(r.right), PixelToRow(r.bottom)};
}

CellBox Intersect(const CellBox& a, const CellBox& b) {
  return CellBox{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
}

// A menu label's width as drawn: "&&" shows one '&', a lone '&' none, a tab
// two blanks; only the first line.
int LabelCells(std::u16string_view text) {
  int cells = 0;
  std::u32string in = platform::ToCodePoints(text);
  for (std::size_t i = 0; i < in.size(); ++i) {
    char32_t c = in[i];
    if (c == U'\r' || c == U'\n') break;
    if (c == U'&') {
      if (i + 1 < in.size() && in[i + 1] == U'&') ++cells, ++i;
      continue;
    }
    cells += c == U'\t' ? 2 : platform::CellsOf(c);
  }
  return cells;
}

void ReadList(InputView& view) {
  HWND list = MainList();
  const platform::Window* w = platform::FindWindowObject(list);
  const platform::ListViewState* state = platform::ListViewOf(list);
  const platform::Window* dialog = platform::FindWindowObject(MainDialog());
  if (!w || !state || !dialog || !w->Visible() || !dialog->Visible()) return;
  view.rowCount = static_cast<int>(state->rows.size());
  view.mark = state->mark;
  view.top = state->top;
  CellBox box = BoxOf(platform::ScreenRect(*w));
  // A one-pixel border costs the sides a cell each, not the top or bottom.
  CellBox inner = box;
  if (w->style & WS_BORDER) inner = CellBox{box.left + 1, box.top, box.right - 1, box.bottom};
  int y = inner.top + ((w->style & LVS_NOCOLUMNHEADER) ? 0 : 1);
  view.visibleRows = platform::ListViewVisibleRows(list);
  int shown = std::max(0, std::min(view.visibleRows, inner.bottom - y));
  view.rows = Intersect(CellBox{inner.left, y, inner.right, y + shown}, BoxOf(dialog->rect));
  // Rows are counted from the first visible one; a list whose top the dialog
  // cuts off is not worth the bookkeeping.
  if (view.rows.top != y) view.rows = CellBox{};
}

void ReadMenuBar(InputView& view, int screenColumns) {
  HWND bar = MainMenuBar();
  const platform::Window* w = platform::FindWindowObject(bar);
  const platform::MenuBarState* state = platform::MenuBarOf(bar);
  if (!w || !state || !w->Visible()) return;
  CellBox barBox = BoxOf(w->rect);
  const auto& items = state->menu.items;
  for (std::size_t i = 0; i < items.size(); ++i)
    view.menuButtons.push_back(
        {Intersect(BoxOf(platform::MenuBarButtonRect(bar, static_cast<int>(i))), barBox), items[i].IsPopup()});
  if (state->openPopup < 0 || state->openPopup >= static_cast<int>(items.size())) return;
  const platform::MenuItem& open = items[static_cast<std::size_t>(state->openPopup)];
  if (!open.IsPopup()) return;
  view.openPopup = state->openPopup;
  view.popupFocus = state->popupFocus;

  // The popup opens upward from the bar, left-aligned with its button unless
  // that would take it off the screen.
  int inner = 0;
  for (const platform::MenuItem& item : open.popup)
    if (!item.separator) inner = std::max(inner, LabelCells(item.text) + (item.IsPopup() ? 2 : 0));
  int width = std::min(inner + 4, screenColumns);
  int left = BoxOf(platform::MenuBarButtonRect(bar, state->openPopup)).left;
  if (left + width > screenColumns) left = screenColumns - width;
  left = std::max(0, left);
  int top = barBox.top - (static_cast<int>(open.popup.size()) + 2);
  for (std::size_t k = 0; k < open.popup.size(); ++k) {
    int y = top + 1 + static_cast<int>(k);
    view.popupItems.push_back({CellBox{left + 1, y, left + width - 1, y + 1}, open.popup[k].separator});
  }
}

void ReadMessageBox(InputView& view) {
  HWND boxWindow = OpenMessageBox();
  const platform::Window* w = platform::FindWindowObject(boxWindow);
  const platform::MessageBoxState* state = platform::MessageBoxOf(boxWindow);
  if (!w || !state) return;
  view.boxOpen = true;
  view.focusedButton = state->focusedButton;
  view.cancelId = platform::MessageBoxCancelId(*state);

  // The buttons sit centred on the row above the bottom edge, as "<Default>"
  // and "[Other]", one blank apart.
  CellBox box = BoxOf(w->rect);
  CellBox inner{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
  int row = box.bottom - 2;
  std::vector<int> widths;
  int total = -1;
  for (const platform::MessageBoxButton& b : state->buttons) {
    widths.push_back(platform::CellsOf(b.text) + 2);
    total += widths.back() + 1;
  }
  int x = inner.left + std::max(0, (inner.Width() - total) / 2);
  for (std::size_t i = 0; i < state->buttons.size(); ++i) {
    CellBox button = Intersect(CellBox{x, row, x + widths[i], row + 1}, inner);
    view.boxButtons.push_back({state->buttons[i].id, button});
    x += widths[i] + 1;
  }
}

void ReadNavBar(InputView& view) {
  const platform::Window* bar = platform::FindWindowObject(platform::NavBarWindow());
  if (!bar || !bar->Visible() || !platform::NavBarShowsOk()) return;
  CellBox box = BoxOf(bar->rect);
  view.ok = CellBox{box.right - 2, box.top, box.right, box.bottom};
}

}  // namespace

InputView CurrentInputView() {
  InputView view;
  ReadMessageBox(view);
  ReadList(view);
  ReadMenuBar(view, PixelToColumn(device::Current().ScreenWidth()));
  ReadNavBar(view);
  return view;
}

bool CarryOut(const Action& action) {
  using Kind = Action::Kind;
  HWND bar = MainMenuBar();
  switch (action.kind) {
    case Kind::TapRow:
      return TapRow(action.value, false).empty();
    case Kind::MoveMark:
      return MoveMark(action.value).empty();
    case Kind::OpenPopup:
    case Kind::TapMenuButton:
      return !OpenMessageBox() && platform::MenuBarTapButton(bar, action.value);
    case Kind::ClosePopup:
      platform::MenuBarClosePopup(bar);
      return true;
    case Kind::PopupFocus:
      if (platform::MenuBarState* state = platform::MenuBarOf(bar); state && state->openPopup >= 0) {
        state->popupFocus = action.value;
        return true;
      }
      return false;
    case Kind::TapPopupItem:
      return !OpenMessageBox() && platform::MenuBarTapPopupItem(bar, action.value);
    case Kind::PressBox:
      return PressBox(action.value).empty();
    case Kind::FocusButton:
      if (platform::MessageBoxState* box = platform::MessageBoxOf(OpenMessageBox());
          box && action.value >= 0 && action.value < static_cast<int>(box->buttons.size())) {
        box->focusedButton = action.value;
        return true;
      }
      return false;
    case Kind::TapOk:
      return TapOk().empty();
    case Kind::Rotate: {
      const device::Device& d = device::Current();
      return ChangeScreen(d.ScreenHeight(), d.ScreenWidth()).empty();
    }
    case Kind::Redraw:
    case Kind::None:
      return false;
  }
  return false;
}

}  // namespace frontend
