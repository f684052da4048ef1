// The list box control ("ListBox"): strings in insertion order, one selection.
//
// Not supported (they go to DefWindowProcW): sorted and multiple-selection
// list boxes (LBS_SORT, LBS_MULTIPLESEL), LB_INSERTSTRING, LB_DELETESTRING,
// LB_FINDSTRING, LB_SELECTSTRING, LB_GETITEMDATA/LB_SETITEMDATA,
// LB_SETTOPINDEX, LBN_* notifications, owner draw.
#include <algorithm>
#include <memory>

#include "control_classes.h"
#include "window_objects.h"

namespace platform {
namespace {

struct ListBoxState : ControlState {
  ChoiceList list;
};

int Count(const ChoiceList& list) { return static_cast<int>(list.items.size()); }

LRESULT AddString(ChoiceList& list, LPCWSTR text) {
  if (!text) return LB_ERR;
  list.items.emplace_back(text);
  return Count(list) - 1;
}

// -1 clears the selection but still answers LB_ERR, as documented.
LRESULT SetCurSel(ChoiceList& list, int index) {
  if (index == -1) {
    list.selection = -1;
    return LB_ERR;
  }
  if (index < 0 || index >= Count(list)) return LB_ERR;
  list.selection = index;
  return index;
}

LRESULT GetText(const ChoiceList& list, int index, LPWSTR buffer) {
  if (index < 0 || index >= Count(list) || !buffer) return LB_ERR;
  const std::u16string& text = list.items[index];
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = u'\0';
  return static_cast<LRESULT>(text.size());
}

LRESULT GetTextLength(const ChoiceList& list, int index) {
  if (index < 0 || index >= Count(list)) return LB_ERR;
  return static_cast<LRESULT>(list.items[index].size());
}

LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FindWindowObject(hwnd);
  if (!window) return 0;
  if (message == WM_CREATE) {
    if (!window->state) window->state = std::make_unique<ListBoxState>();
    return 0;
  }
  auto* state = dynamic_cast<ListBoxState*>(window->state.get());
  if (!state) return DefWindowProcW(hwnd, message, wParam, lParam);
  ChoiceList& list = state->list;
  int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  switch (message) {
    case LB_ADDSTRING:
      return AddString(list, reinterpret_cast<LPCWSTR>(lParam));
    case LB_GETCOUNT:
      return Count(list);
    case LB_SETCURSEL:
      return SetCurSel(list, index);
    case LB_GETCURSEL:
      return list.selection >= 0 ? list.selection : LB_ERR;
    case LB_GETTEXT:
      return GetText(list, index, reinterpret_cast<LPWSTR>(lParam));
    case LB_GETTEXTLEN:
      return GetTextLength(list, index);
    case LB_RESETCONTENT:
      list = ChoiceList{};
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterListBoxClass() { RegisterBuiltinClass(u"ListBox", ListBoxProc); }

const ChoiceList* ListBoxOf(HWND list) {
  const ListBoxState* state = StateOf<ListBoxState>(list);
  return state ? &state->list : nullptr;
}

}  // namespace platform
