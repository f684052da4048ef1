// The commands that act on the marked entry: show its shortcut's path, and
// delete its shortcut after asking.
#include "CorvaleDlg.h"

namespace {

constexpr const char16_t kNoEntryMarked[] = u"请先选择需要删除的启动项";
constexpr const char16_t kDeleteQuestion[] = u"您真的要删除启动项: ";
constexpr const char16_t kDeleteCaption[] = u"警告";
constexpr const char16_t kFileInUse[] = u"删除失败，另一个程序正在使用此文件，进程无法访问。 ";

constexpr int kColumnTarget = 0;
constexpr int kColumnPath = 1;

int SelectionMark(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0)); }

// The marked row, read afresh; -1 when there is none. A mark that names no
// row reads nothing: it counts as no entry marked.
int MarkedRow(HWND list) {
  int mark = SelectionMark(list);
  int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  return mark >= 0 && mark < count ? mark : -1;
}

// The entry a command acts on: first whether any row is marked at all, then
// the marked row, read afresh.
int EntryRow(HWND list) { return SelectionMark(list) == -1 ? -1 : MarkedRow(list); }

}  // namespace

void CCorvaleDlg::OnViewDetails() {
  int mark = EntryRow(m_list.m_hWnd);
  if (mark == -1) {
    MessageBox(kNoEntryMarked);
    return;
  }
  CString path = m_list.GetItemText(mark, kColumnPath);
  MessageBox(path);
}

void CCorvaleDlg::OnDeleteEntry() {
  int mark = EntryRow(m_list.m_hWnd);
  if (mark == -1) {
    MessageBox(kNoEntryMarked);
    return;
  }
  g_strEntryName = m_list.GetItemText(mark, kColumnTarget);

  CString question = CString(kDeleteQuestion) + g_strEntryName;
  if (MessageBox(question, kDeleteCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;

  mark = MarkedRow(m_list.m_hWnd);
  if (mark != -1) {
    CString path = m_list.GetItemText(mark, kColumnPath);
    if (!DeleteFileW(path) && GetLastError() == ERROR_SHARING_VIOLATION) MessageBox(kFileInUse);
  }

  // After every confirmed attempt the list shows the folder as it now is.
  RefreshStartupList();
}
