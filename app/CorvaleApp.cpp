#include "CorvaleApp.h"

#include "CorvaleDlg.h"

// Constructed by the runtime before the framework's entry runs, without a
// name: the framework names the application after its executable.
CCorvaleApp theApp;

// Only the delete command writes and reads it.
CString g_strEntryName;

CCorvaleApp::CCorvaleApp() = default;

CCorvaleApp::~CCorvaleApp() = default;

const AFX_MSGMAP* CCorvaleApp::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CCorvaleApp::GetThisMessageMap() {
  static constexpr AFX_MSGMAP map{&CWinApp::GetThisMessageMap, {}};
  return &map;
}

BOOL CCorvaleApp::InitInstance() {
  SHInitExtraControls();
  SetRegistryKey(u"应用程序向导生成的本地应用程序");

  CCorvaleDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();

  // The dialog has ended: no message loop follows.
  return FALSE;
}
