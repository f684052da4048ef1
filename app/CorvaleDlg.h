// The main dialog: the list of start-up entries and the menu bar's commands.
#pragma once

#include "afxcmn.h"
#include "afxwin.h"
#include "resource.h"

extern CString g_strEntryName;

class CCorvaleDlg : public CDialog {
 public:
  explicit CCorvaleDlg(CWnd* pParent = nullptr);
  ~CCorvaleDlg() override;

  const AFX_MSGMAP* GetMessageMap() const override;
  static const AFX_MSGMAP* GetThisMessageMap();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // Command handlers.
  void OnSize(UINT nType, int cx, int cy);
  void OnExit();
  void OnMoreSoftware();
  void OnDeleteEntry();
  void OnViewDetails();

  // The start-up list.
  void RefreshStartupList();
  void AddStartupFile(CString fileName);
  void AddShortcutEntry(CString path);

  CImageList m_imageList;
  HICON m_hIcon;
  HICON m_hDefaultIcon;
  CListCtrl m_list;
};
