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

}  // namespace

void CCorvaleDlg::OnViewDetails() {
  if (SendMessageW(m_list.m_hWnd, LVM_GETSELECTIONMARK, 0, 0) == -1) {
    MessageBox(kNoEntryMarked);
    return;
  }
  int mark = static_cast<int>(SendMessageW(m_list.m_hWnd, LVM_GETSELECTIONMARK, 0, 0));
  // A mark that names no row reads nothing: it counts as no entry marked.
  if (mark < 0 || mark >= m_list.GetItemCount()) {
    MessageBox(kNoEntryMarked);
    return;
  }
  CString path = m_list.GetItemText(mark, kColumnPath);
  MessageBox(path);
}

void CCorvaleDlg::OnDeleteEntry() {
  if (SendMessageW(m_list.m_hWnd, LVM_GETSELECTIONMARK, 0, 0) == -1) {
    MessageBox(kNoEntryMarked);
    return;
  }
  int mark = static_cast<int>(SendMessageW(m_list.m_hWnd, LVM_GETSELECTIONMARK, 0, 0));
  if (mark < 0 || mark >= m_list.GetItemCount()) {
    MessageBox(kNoEntryMarked);
    return;
  }
  g_strEntryName = m_list.GetItemText(mark, kColumnTarget);

  CString question = CString(kDeleteQuestion) + g_strEntryName;
  if (MessageBox(question, kDeleteCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;

  mark = static_cast<int>(SendMessageW(m_list.m_hWnd, LVM_GETSELECTIONMARK, 0, 0));
  if (mark >= 0 && mark < m_list.GetItemCount()) {
    CString path = m_list.GetItemText(mark, kColumnPath);
    if (!DeleteFileW(path) && GetLastError() == ERROR_SHARING_VIOLATION) MessageBox(kFileInUse);
  }

  // After every confirmed attempt the list shows the folder as it now is.
  RefreshStartupList();
}
