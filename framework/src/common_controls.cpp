#include <vector>

#include "afxcmn.h"

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
  DeleteImageList();
  m_hImageList = ::ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
  return m_hImageList ? TRUE : FALSE;
}

int CImageList::Add(HICON icon) { return ::ImageList_ReplaceIcon(m_hImageList, -1, icon); }

int CImageList::GetImageCount() const { return ::ImageList_GetImageCount(m_hImageList); }

HIMAGELIST CImageList::Detach() {
  HIMAGELIST list = m_hImageList;
  m_hImageList = nullptr;
  return list;
}

BOOL CImageList::DeleteImageList() {
  HIMAGELIST list = Detach();
  return list ? ::ImageList_Destroy(list) : FALSE;
}

int CListCtrl::InsertColumn(int nCol, LPCWSTR heading, int nFormat, int nWidth, int nSubItem) {
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_TEXT;
  column.fmt = nFormat;
  column.pszText = const_cast<LPWSTR>(heading);
  if (nWidth != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  if (nSubItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCWSTR text, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam) {
  LVITEMW item{};
  item.mask = nMask;
  item.iItem = nItem;
  item.pszText = const_cast<LPWSTR>(text);
  item.state = nState;
  item.stateMask = nStateMask;
  item.iImage = nImage;
  item.lParam = lParam;
  return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::InsertItem(int nItem, LPCWSTR text) { return InsertItem(LVIF_TEXT, nItem, text, 0, 0, 0, 0); }

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCWSTR text) {
  LVITEMW item{};
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPWSTR>(text);
  return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  // Grow the buffer until the text fits with room to spare.
  std::vector<WCHAR> buffer(256);
  for (;;) {
    LVITEMW item{};
    item.iSubItem = nSubItem;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    auto copied = static_cast<std::size_t>(
        SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < buffer.size()) return CString(std::u16string_view(buffer.data(), copied));
    buffer.resize(buffer.size() * 2);
  }
}

BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }

int CListCtrl::GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }

int CListCtrl::GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
              reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle() : nullptr));
  return nullptr;
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) {
  return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
}
