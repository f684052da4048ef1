#include "input_view.h"

#include "actions.h"
#include "control_classes.h"
#include "device/device.h"
#include "listview_state.h"
#include "shell_objects.h"
#include "window_objects.h"

namespace frontend {
namespace {

// Every cell below comes from the renderer's layout (screen_renderer.h): what
// is tapped must be what is seen.

void ReadList(InputView& view) {
  HWND list = MainList();
  const platform::Window* w = platform::FindWindowObject(list);
  const platform::ListViewState* state = platform::ListViewOf(list);
  const platform::Window* dialog = platform::FindWindowObject(MainDialog());
  if (!w || !state || !dialog || !w->Visible() || !dialog->Visible()) return;
  view.rowCount = static_cast<int>(state->rows.size());
  view.mark = state->mark;
  view.top = state->top;
  view.visibleRows = platform::ListViewVisibleRows(list);
  CellBox rows = ListCells(*w).rows;
  view.rows = Intersect(rows, BoxOf(dialog->rect));
  // Rows are counted from the first visible one; a list whose top the dialog
  // cuts off is not worth the bookkeeping.
  if (view.rows.top != rows.top) view.rows = CellBox{};
}

void ReadMenuBar(InputView& view) {
  HWND bar = MainMenuBar();
  const platform::Window* w = platform::FindWindowObject(bar);
  const platform::MenuBarState* state = platform::MenuBarOf(bar);
  if (!w || !state || !w->Visible()) return;
  const auto& items = state->menu.items;
  std::vector<CellBox> buttons = MenuButtonCells(bar);
  for (std::size_t i = 0; i < buttons.size(); ++i) view.menuButtons.push_back({buttons[i], items[i].IsPopup()});
  PopupLayout popup = PopupCells(bar);
  if (popup.button < 0) return;
  const platform::MenuItem& open = items[static_cast<std::size_t>(popup.button)];
  view.openPopup = popup.button;
  view.popupFocus = state->popupFocus;
  for (std::size_t k = 0; k < popup.items.size(); ++k)
    view.popupItems.push_back({popup.items[k], open.popup[k].separator});
}

void ReadMessageBox(InputView& view) {
  HWND boxWindow = OpenMessageBox();
  const platform::Window* w = platform::FindWindowObject(boxWindow);
  const platform::MessageBoxState* state = platform::MessageBoxOf(boxWindow);
  if (!w || !state) return;
  view.boxOpen = true;
  view.focusedButton = state->focusedButton;
  view.cancelId = platform::MessageBoxCancelId(*state);
  std::vector<CellBox> buttons = BoxButtonCells(boxWindow);
  for (std::size_t i = 0; i < buttons.size(); ++i) view.boxButtons.push_back({state->buttons[i].id, buttons[i]});
}

}  // namespace

InputView CurrentInputView() {
  InputView view;
  ReadMessageBox(view);
  ReadList(view);
  ReadMenuBar(view);
  view.ok = NavOkCells();
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
