// The list view control ("SysListView32"), report view.
//
// Not supported (they go to DefWindowProcW): LVM_SETCOLUMNW, LVM_DELETECOLUMN,
// LVM_SETCOLUMNWIDTH, LVM_FINDITEMW, LVM_GETNEXTITEM, LVM_HITTEST, LVM_SORTITEMS,
// LVM_SCROLL, LVM_REDRAWITEMS, LVM_GETITEMRECT, LVM_SETITEMCOUNT, LVM_EDITLABELW,
// icon, small-icon and list views, label editing, and the LVN_* notifications
// other than NM_CLICK.
#include <algorithm>
#include <memory>

#include "commctrl.h"
#include "control_classes.h"
#include "listview_state.h"
#include "window_objects.h"

namespace platform {
namespace {

Window* ListWindow(HWND list) {
  Window* window = FindWindowObject(list);
  return window && dynamic_cast<ListViewState*>(window->state.get()) ? window : nullptr;
}

ListViewState& StateOfWindow(Window& window) { return static_cast<ListViewState&>(*window.state); }

int Count(const ListViewState& s) { return static_cast<int>(s.rows.size()); }
bool HasRow(const ListViewState& s, int row) { return row >= 0 && row < Count(s); }

// A subitem exists when a column shows it; a list without columns has only the item text.
bool HasSubItem(const ListViewState& s, int subItem) {
  if (subItem == 0) return true;
  return std::any_of(s.columns.begin(), s.columns.end(),
                     [subItem](const ListViewColumn& c) { return c.subItem == subItem; });
}

int CopyText(const std::u16string& text, LPWSTR buffer, int capacity) {
  if (!buffer || capacity <= 0) return 0;
  int n = std::min(static_cast<int>(text.size()), capacity - 1);
  std::copy_n(text.data(), n, buffer);
  buffer[n] = u'\0';
  return n;
}

const std::u16string& CellText(const ListViewRow& row, int subItem) {
  static const std::u16string kEmpty;
  return subItem >= 0 && subItem < static_cast<int>(row.cells.size()) ? row.cells[subItem] : kEmpty;
}

void SetCellText(ListViewRow& row, int subItem, LPCWSTR text) {
  if (static_cast<int>(row.cells.size()) <= subItem) row.cells.resize(subItem + 1);
  if (text)
    row.cells[subItem].assign(text);
  else
    row.cells[subItem].clear();
}

// --- Geometry -------------------------------------------------------------------

int RowsArea(const Window& window) {
  int height = window.Height();
  if (window.style & WS_BORDER) height -= 2;
  if (!(window.style & LVS_NOCOLUMNHEADER)) height -= kListViewHeaderHeight;
  return std::max(0, height);
}

int VisibleRows(const Window& window) { return RowsArea(window) / kListViewRowHeight; }

void ClampTop(const Window& window, ListViewState& s) {
  int maxTop = std::max(0, Count(s) - std::max(1, VisibleRows(window)));
  s.top = std::clamp(s.top, 0, maxTop);
}

void ScrollTo(const Window& window, ListViewState& s, int row) {
  int visible = std::max(1, VisibleRows(window));
  if (row < s.top) s.top = row;
  if (row >= s.top + visible) s.top = row - visible + 1;
  ClampTop(window, s);
}

// --- State bits -----------------------------------------------------------------

void SetFocusRow(ListViewState& s, int row) {
  if (HasRow(s, s.focus)) s.rows[s.focus].state &= ~LVIS_FOCUSED;
  s.focus = row;
  if (HasRow(s, row)) s.rows[row].state |= LVIS_FOCUSED;
}

void ApplyState(ListViewState& s, int row, UINT state, UINT mask) {
  ListViewRow& r = s.rows[row];
  if (mask & LVIS_SELECTED) r.state = (r.state & ~LVIS_SELECTED) | (state & LVIS_SELECTED);
  if (mask & LVIS_FOCUSED) {
    if (state & LVIS_FOCUSED)
      SetFocusRow(s, row);
    else if (s.focus == row)
      SetFocusRow(s, -1);
  }
  UINT other = mask & ~(LVIS_SELECTED | LVIS_FOCUSED);
  r.state = (r.state & ~other) | (state & other);
}

void SelectOnly(ListViewState& s, int row) {
  for (ListViewRow& r : s.rows) r.state &= ~LVIS_SELECTED;
  s.rows[row].state |= LVIS_SELECTED;
}

// --- Columns --------------------------------------------------------------------

LRESULT InsertColumn(ListViewState& s, int index, const LVCOLUMNW* column) {
  if (!column || index < 0) return -1;
  index = std::min(index, static_cast<int>(s.columns.size()));
  ListViewColumn c;
  if (column->mask & LVCF_TEXT) c.text = column->pszText ? std::u16string(column->pszText) : std::u16string();
  if (column->mask & LVCF_WIDTH) c.width = column->cx;
  if (column->mask & LVCF_FMT) c.fmt = column->fmt;
  c.subItem = (column->mask & LVCF_SUBITEM) ? column->iSubItem : index;
  s.columns.insert(s.columns.begin() + index, std::move(c));
  return index;
}

LRESULT GetColumn(const ListViewState& s, int index, LVCOLUMNW* column) {
  if (!column || index < 0 || index >= static_cast<int>(s.columns.size())) return FALSE;
  const ListViewColumn& c = s.columns[index];
  if (column->mask & LVCF_TEXT) CopyText(c.text, column->pszText, column->cchTextMax);
  if (column->mask & LVCF_WIDTH) column->cx = c.width;
  if (column->mask & LVCF_FMT) column->fmt = c.fmt;
  if (column->mask & LVCF_SUBITEM) column->iSubItem = c.subItem;
  return TRUE;
}

LRESULT ColumnWidth(const ListViewState& s, int index) {
  return index >= 0 && index < static_cast<int>(s.columns.size()) ? s.columns[index].width : 0;
}

// --- Rows -----------------------------------------------------------------------

LRESULT InsertItem(Window& window, ListViewState& s, const LVITEMW* item) {
  if (!item || item->iItem < 0 || item->iSubItem != 0) return -1;
  int index = std::min(item->iItem, Count(s));
  ListViewRow row;
  // Room for every column at once: the cells are usually all set next.
  row.cells.reserve(std::max<std::size_t>(1, s.columns.size()));
  row.cells.resize(1);
  if (item->mask & LVIF_TEXT) SetCellText(row, 0, item->pszText);
  if (item->mask & LVIF_IMAGE) row.image = item->iImage;
  if (item->mask & LVIF_PARAM) row.param = item->lParam;
  s.rows.insert(s.rows.begin() + index, std::move(row));
  // The mark and focus stay with their rows.
  if (s.mark >= index) ++s.mark;
  if (s.focus >= index) ++s.focus;
  if (item->mask & LVIF_STATE) ApplyState(s, index, item->state, item->stateMask);
  ClampTop(window, s);
  return index;
}

LRESULT SetItem(ListViewState& s, const LVITEMW* item) {
  if (!item || !HasRow(s, item->iItem) || !HasSubItem(s, item->iSubItem)) return FALSE;
  ListViewRow& row = s.rows[item->iItem];
  if (item->mask & LVIF_TEXT) SetCellText(row, item->iSubItem, item->pszText);
  if (item->iSubItem == 0) {
    if (item->mask & LVIF_IMAGE) row.image = item->iImage;
    if (item->mask & LVIF_PARAM) row.param = item->lParam;
    if (item->mask & LVIF_STATE) ApplyState(s, item->iItem, item->state, item->stateMask);
  }
  return TRUE;
}

LRESULT GetItem(const ListViewState& s, LVITEMW* item) {
  if (!item || !HasRow(s, item->iItem) || !HasSubItem(s, item->iSubItem)) return FALSE;
  const ListViewRow& row = s.rows[item->iItem];
  if (item->mask & LVIF_TEXT) CopyText(CellText(row, item->iSubItem), item->pszText, item->cchTextMax);
  if (item->mask & LVIF_IMAGE) item->iImage = row.image;
  if (item->mask & LVIF_PARAM) item->lParam = row.param;
  if (item->mask & LVIF_STATE) item->state = row.state & item->stateMask;
  return TRUE;
}

LRESULT SetItemText(ListViewState& s, int row, const LVITEMW* item) {
  if (!item || !HasRow(s, row) || !HasSubItem(s, item->iSubItem)) return FALSE;
  SetCellText(s.rows[row], item->iSubItem, item->pszText);
  return TRUE;
}

LRESULT GetItemText(const ListViewState& s, int row, LVITEMW* item) {
  if (!item) return 0;
  bool present = HasRow(s, row) && HasSubItem(s, item->iSubItem);
  static const std::u16string kEmpty;
  return CopyText(present ? CellText(s.rows[row], item->iSubItem) : kEmpty, item->pszText, item->cchTextMax);
}

LRESULT SetItemState(ListViewState& s, int row, const LVITEMW* item) {
  if (!item) return FALSE;
  if (row == -1) {
    UINT mask = item->stateMask;
    // Focus belongs to one row at most: "all rows" can only take it away.
    if ((mask & LVIS_FOCUSED) && !(item->state & LVIS_FOCUSED)) SetFocusRow(s, -1);
    mask &= ~LVIS_FOCUSED;
    for (int i = 0; i < Count(s); ++i) ApplyState(s, i, item->state, mask);
    return TRUE;
  }
  if (!HasRow(s, row)) return FALSE;
  ApplyState(s, row, item->state, item->stateMask);
  return TRUE;
}

LRESULT GetItemState(const ListViewState& s, int row, UINT mask) {
  return HasRow(s, row) ? static_cast<LRESULT>(s.rows[row].state & mask) : 0;
}

LRESULT DeleteItem(Window& window, ListViewState& s, int row) {
  if (!HasRow(s, row)) return FALSE;
  s.rows.erase(s.rows.begin() + row);
  if (s.mark == row)
    s.mark = -1;
  else if (s.mark > row)
    --s.mark;
  if (s.focus == row)
    s.focus = -1;
  else if (s.focus > row)
    --s.focus;
  ClampTop(window, s);
  return TRUE;
}

LRESULT DeleteAllItems(ListViewState& s) {
  s.rows.clear();
  s.mark = -1;
  s.focus = -1;
  s.top = 0;
  return TRUE;
}

LRESULT SelectedCount(const ListViewState& s) {
  return std::count_if(s.rows.begin(), s.rows.end(), [](const ListViewRow& r) { return r.state & LVIS_SELECTED; });
}

LRESULT SetSelectionMark(ListViewState& s, int mark) {
  int old = s.mark;
  s.mark = HasRow(s, mark) ? mark : -1;
  return old;
}

LRESULT SetImageList(ListViewState& s, WPARAM which, HIMAGELIST list) {
  HIMAGELIST* slot = which == LVSIL_SMALL ? &s.smallImages : which == LVSIL_NORMAL ? &s.normalImages : nullptr;
  if (!slot) return 0;
  HIMAGELIST old = *slot;
  *slot = list;
  return reinterpret_cast<LRESULT>(old);
}

LRESULT GetImageList(const ListViewState& s, WPARAM which) {
  if (which == LVSIL_SMALL) return reinterpret_cast<LRESULT>(s.smallImages);
  if (which == LVSIL_NORMAL) return reinterpret_cast<LRESULT>(s.normalImages);
  return 0;
}

LRESULT SetExtendedStyle(ListViewState& s, DWORD mask, DWORD bits) {
  DWORD old = s.extendedStyle;
  if (mask == 0) mask = 0xFFFFFFFF;
  s.extendedStyle = (old & ~mask) | (bits & mask);
  return old;
}

LRESULT EnsureVisible(Window& window, ListViewState& s, int row) {
  if (!HasRow(s, row)) return FALSE;
  ScrollTo(window, s, row);
  return TRUE;
}

// The documented list view owns its image lists unless told they are shared.
void ReleaseImageLists(const Window& window, ListViewState& s) {
  if (!(window.style & LVS_SHAREIMAGELISTS)) {
    if (s.smallImages) ImageList_Destroy(s.smallImages);
    if (s.normalImages && s.normalImages != s.smallImages) ImageList_Destroy(s.normalImages);
  }
  s.smallImages = nullptr;
  s.normalImages = nullptr;
}

int RowAt(const Window& window, const ListViewState& s, int y) {
  if (window.style & WS_BORDER) --y;
  if (!(window.style & LVS_NOCOLUMNHEADER)) y -= kListViewHeaderHeight;
  if (y < 0 || y >= RowsArea(window)) return -1;
  int row = s.top + y / kListViewRowHeight;
  return HasRow(s, row) ? row : -1;
}

LRESULT Dispatch(Window& window, ListViewState& s, UINT message, WPARAM wParam, LPARAM lParam) {
  int row = static_cast<int>(static_cast<INT_PTR>(wParam));
  switch (message) {
    case LVM_INSERTCOLUMNW:
      return InsertColumn(s, row, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNW:
      return GetColumn(s, row, reinterpret_cast<LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNWIDTH:
      return ColumnWidth(s, row);
    case LVM_INSERTITEMW:
      return InsertItem(window, s, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_SETITEMW:
      return SetItem(s, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMW:
      return GetItem(s, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMTEXTW:
      return SetItemText(s, row, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMTEXTW:
      return GetItemText(s, row, reinterpret_cast<LVITEMW*>(lParam));
    case LVM_SETITEMSTATE:
      return SetItemState(s, row, reinterpret_cast<const LVITEMW*>(lParam));
    case LVM_GETITEMSTATE:
      return GetItemState(s, row, static_cast<UINT>(lParam));
    case LVM_GETITEMCOUNT:
      return Count(s);
    case LVM_DELETEITEM:
      return DeleteItem(window, s, row);
    case LVM_DELETEALLITEMS:
      return DeleteAllItems(s);
    case LVM_GETSELECTIONMARK:
      return s.mark;
    case LVM_SETSELECTIONMARK:
      return SetSelectionMark(s, static_cast<int>(lParam));
    case LVM_GETSELECTEDCOUNT:
      return SelectedCount(s);
    case LVM_SETIMAGELIST:
      return SetImageList(s, wParam, reinterpret_cast<HIMAGELIST>(lParam));
    case LVM_GETIMAGELIST:
      return GetImageList(s, wParam);
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
      return SetExtendedStyle(s, static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return s.extendedStyle;
    case LVM_GETTOPINDEX:
      return s.top;
    case LVM_ENSUREVISIBLE:
      return EnsureVisible(window, s, row);
    case WM_SIZE:
      ClampTop(window, s);
      return 0;
    case WM_LBUTTONDOWN: {
      int hit = RowAt(window, s, static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lParam))));
      if (hit >= 0) ListViewTapRow(window.handle, hit, (wParam & MK_CONTROL) != 0);
      return 0;
    }
    case WM_DESTROY:
      ReleaseImageLists(window, s);
      return 0;
    default:
      return DefWindowProcW(window.handle, message, wParam, lParam);
  }
}

LRESULT ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FindWindowObject(hwnd);
  if (!window) return 0;
  if (message == WM_CREATE && !window->state) window->state = std::make_unique<ListViewState>();
  auto* s = dynamic_cast<ListViewState*>(window->state.get());
  if (!s) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_CREATE) return 0;
  return Dispatch(*window, *s, message, wParam, lParam);
}

}  // namespace

void RegisterListViewClass() { RegisterBuiltinClass(WC_LISTVIEWW, ListViewProc); }

const ListViewState* ListViewOf(HWND list) { return StateOf<ListViewState>(list); }

int ListViewVisibleRows(HWND list) {
  Window* window = ListWindow(list);
  return window ? VisibleRows(*window) : 0;
}

int ListViewRowAt(HWND list, int y) {
  Window* window = ListWindow(list);
  return window ? RowAt(*window, StateOfWindow(*window), y) : -1;
}

bool ListViewTapRow(HWND list, int row, bool addToSelection) {
  Window* window = ListWindow(list);
  if (!window) return false;
  ListViewState& s = StateOfWindow(*window);
  if (!HasRow(s, row)) return false;
  if (addToSelection)
    s.rows[row].state |= LVIS_SELECTED;
  else
    SelectOnly(s, row);
  s.mark = row;
  SetFocusRow(s, row);
  ScrollTo(*window, s, row);
  NotifyParent(list, NM_CLICK);
  return true;
}

bool ListViewMoveMark(HWND list, int target) {
  Window* window = ListWindow(list);
  if (!window) return false;
  ListViewState& s = StateOfWindow(*window);
  if (s.rows.empty()) return false;
  int row = std::clamp(target, 0, Count(s) - 1);
  SelectOnly(s, row);
  s.mark = row;
  SetFocusRow(s, row);
  ScrollTo(*window, s, row);
  return true;
}

}  // namespace platform
