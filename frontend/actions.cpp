#include "actions.h"

#include "commctrl.h"
#include "control_classes.h"
#include "listview_state.h"
#include "shell_objects.h"
#include "user_internal.h"

namespace frontend {

using platform::FindWindowObject;
using platform::Window;

HWND MainDialog() {
  for (HWND h : platform::TopLevelOrder()) {
    const Window* w = FindWindowObject(h);
    if (w && w->isDialog && !w->owner && !w->dialogEnded) return h;
  }
  return nullptr;
}

HWND MainList() {
  const Window* dialog = FindWindowObject(MainDialog());
  if (!dialog) return nullptr;
  for (HWND c : dialog->children) {
    const Window* w = FindWindowObject(c);
    if (w && platform::SameClassName(w->className, WC_LISTVIEWW)) return c;
  }
  return nullptr;
}

HWND MainMenuBar() {
  HWND dialog = MainDialog();
  for (HWND h : platform::TopLevelOrder()) {
    const Window* w = FindWindowObject(h);
    if (w && w->owner == dialog && platform::SameClassName(w->className, u"menu_worker")) return h;
  }
  return nullptr;
}

HWND OpenMessageBox() {
  const auto& order = platform::TopLevelOrder();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const platform::MessageBoxState* box = platform::MessageBoxOf(*it);
    if (box && box->result == 0) return *it;
  }
  return nullptr;
}

namespace {

std::string Blocked() {
  if (OpenMessageBox()) return "a message box is waiting for an answer";
  if (!MainDialog()) return "no dialog is open";
  return {};
}

}  // namespace

std::string TapRow(int row, bool addToSelection) {
  if (std::string why = Blocked(); !why.empty()) return why;
  HWND list = MainList();
  const platform::ListViewState* state = platform::ListViewOf(list);
  if (!state) return "the dialog has no list";
  if (row < 0 || row >= static_cast<int>(state->rows.size()))
    return "row " + std::to_string(row) + " does not exist (the list has " + std::to_string(state->rows.size()) +
           " rows)";
  platform::ListViewTapRow(list, row, addToSelection);
  return {};
}

std::string MoveMark(int row) {
  if (std::string why = Blocked(); !why.empty()) return why;
  HWND list = MainList();
  const platform::ListViewState* state = platform::ListViewOf(list);
  if (!state || state->rows.empty()) return "the list is empty";
  platform::ListViewMoveMark(list, row);
  return {};
}

std::string TapMenu(std::u16string_view text) {
  if (std::string why = Blocked(); !why.empty()) return why;
  HWND bar = MainMenuBar();
  platform::MenuBarState* state = platform::MenuBarOf(bar);
  if (!state) return "the dialog has no menu bar";
  const auto& items = state->menu.items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].text != text) continue;
    if (!items[i].IsPopup() && state->openPopup >= 0) platform::MenuBarClosePopup(bar);
    platform::MenuBarTapButton(bar, static_cast<int>(i));
    return {};
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    const auto& popup = items[i].popup;
    for (std::size_t j = 0; j < popup.size(); ++j) {
      if (popup[j].separator || popup[j].text != text) continue;
      if (state->openPopup != static_cast<int>(i)) platform::MenuBarTapButton(bar, static_cast<int>(i));
      if (!platform::MenuBarTapPopupItem(bar, static_cast<int>(j))) return "the menu item cannot be chosen";
      return {};
    }
  }
  return "the menu has no item with that text";
}

std::string SendCommand(int id) {
  if (std::string why = Blocked(); !why.empty()) return why;
  if (id < 0 || id > 0xFFFF) return "a command id is a number from 0 to 65535";
  ::PostMessageW(MainDialog(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
  return {};
}

std::string TapOk() {
  if (std::string why = Blocked(); !why.empty()) return why;
  if (!platform::NavBarTapOk()) return "the navigation bar shows no OK button";
  return {};
}

std::string PressBox(int id) {
  HWND box = OpenMessageBox();
  if (!box) return "no message box is waiting for an answer";
  if (!platform::MessageBoxPress(box, id)) return "the message box has no such button";
  return {};
}

std::string ChangeScreen(int width, int height) {
  if (width < 1 || height < 1 || width > 4096 || height > 4096) return "a screen is 1 to 4096 pixels each way";
  if (const platform::MenuBarState* state = platform::MenuBarOf(MainMenuBar()); state && state->openPopup >= 0)
    platform::MenuBarClosePopup(MainMenuBar());
  platform::ChangeScreen(width, height);
  return {};
}

}  // namespace frontend
