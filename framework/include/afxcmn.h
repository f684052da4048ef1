// The framework's wrappers of the common controls.
#pragma once

#include "afxwin.h"
#include "commctrl.h"

class CImageList : public CObject {
 public:
  CImageList() = default;
  ~CImageList() override;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  HIMAGELIST m_hImageList = nullptr;

  BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  operator HIMAGELIST() const { return GetSafeHandle(); }  // NOLINT(google-explicit-constructor)
  int Add(HICON icon);
  int GetImageCount() const;
  HIMAGELIST Detach();
  // Releases the handle once and forgets it.
  BOOL DeleteImageList();
};

class CListCtrl : public CWnd {
 public:
  int InsertColumn(int nCol, LPCWSTR heading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
  int InsertItem(UINT nMask, int nItem, LPCWSTR text, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
  int InsertItem(int nItem, LPCWSTR text);
  BOOL SetItemText(int nItem, int nSubItem, LPCWSTR text);
  // The whole text of a cell, however long.
  CString GetItemText(int nItem, int nSubItem) const;
  BOOL DeleteAllItems();
  int GetItemCount() const;
  int GetSelectionMark() const;
  CImageList* SetImageList(CImageList* pImageList, int nImageListType);
  DWORD SetExtendedStyle(DWORD dwNewStyle);
};
