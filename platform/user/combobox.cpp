// The combo box control ("ComboBox"), drop-down list style: strings in
// insertion order and the current selection.
//
// Not supported (they go to DefWindowProcW): the edit field and its messages
// (CB_LIMITTEXT, CB_GETEDITSEL...), CB_SHOWDROPDOWN and the drop-down itself,
// sorted combo boxes (CBS_SORT), CB_INSERTSTRING, CB_DELETESTRING,
// CB_FINDSTRING, CB_GETITEMDATA/CB_SETITEMDATA, CBN_* notifications.
#include <algorithm>
#include <memory>

#include "control_classes.h"
#include "window_objects.h"

namespace platform {
namespace {

struct ComboBoxState : ControlState {
  ChoiceList list;
};

int Count(const ChoiceList& list) { return static_cast<int>(list.items.size()); }

LRESULT AddString(ChoiceList& list, LPCWSTR text) {
  if (!text) return CB_ERR;
  list.items.emplace_back(text);
  return Count(list) - 1;
}

// Out of range (or -1) clears the selection and answers CB_ERR, as documented.
LRESULT SetCurSel(ChoiceList& list, int index) {
  if (index < 0 || index >= Count(list)) {
    list.selection = -1;
    return CB_ERR;
  }
  list.selection = index;
  return index;
}

LRESULT GetLbText(const ChoiceList& list, int index, LPWSTR buffer) {
  if (index < 0 || index >= Count(list) || !buffer) return CB_ERR;
  const std::u16string& text = list.items[index];
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = u'\0';
  return static_cast<LRESULT>(text.size());
}

LRESULT GetLbTextLength(const ChoiceList& list, int index) {
  if (index < 0 || index >= Count(list)) return CB_ERR;
  return static_cast<LRESULT>(list.items[index].size());
}

LRESULT ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FindWindowObject(hwnd);
  if (!window) return 0;
  if (message == WM_CREATE) {
    if (!window->state) window->state = std::make_unique<ComboBoxState>();
    return 0;
  }
  auto* state = dynamic_cast<ComboBoxState*>(window->state.get());
  if (!state) return DefWindowProcW(hwnd, message, wParam, lParam);
  ChoiceList& list = state->list;
  int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  switch (message) {
    case CB_ADDSTRING:
      return AddString(list, reinterpret_cast<LPCWSTR>(lParam));
    case CB_GETCOUNT:
      return Count(list);
    case CB_SETCURSEL:
      return SetCurSel(list, index);
    case CB_GETCURSEL:
      return list.selection >= 0 ? list.selection : CB_ERR;
    case CB_GETLBTEXT:
      return GetLbText(list, index, reinterpret_cast<LPWSTR>(lParam));
    case CB_GETLBTEXTLEN:
      return GetLbTextLength(list, index);
    case CB_RESETCONTENT:
      list = ChoiceList{};
      return CB_OKAY;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterComboBoxClass() { RegisterBuiltinClass(u"ComboBox", ComboBoxProc); }

const ChoiceList* ComboBoxOf(HWND combo) {
  const ComboBoxState* state = StateOf<ComboBoxState>(combo);
  return state ? &state->list : nullptr;
}

}  // namespace platform
