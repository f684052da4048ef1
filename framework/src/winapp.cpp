#include <new>

#include "afxres.h"
#include "afxwin.h"
#include "framework_internal.h"

namespace {

CWinApp* g_app = nullptr;

CString LoadFrameworkString(UINT id, LPCWSTR fallback) {
  WCHAR buffer[256];
  int n = ::LoadStringW(AfxGetResourceHandle(), id, buffer, 256);
  return n > 0 ? CString(std::u16string_view(buffer, static_cast<std::size_t>(n))) : CString(fallback);
}

void ReportException(UINT id, LPCWSTR fallback) {
  CString text = LoadFrameworkString(id, fallback);
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

bool AfxRunHandler(const std::function<bool()>& handler) {
  try {
    return handler();
  } catch (const CMemoryException&) {
    ReportException(AFX_IDP_FAILED_MEMORY_ALLOC, u"Out of memory.");
  } catch (const std::bad_alloc&) {
    ReportException(AFX_IDP_FAILED_MEMORY_ALLOC, u"Out of memory.");
  } catch (const CException& e) {
    CString text;
    if (e.GetErrorMessage(text))
      AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    else
      ReportException(AFX_IDP_UNKNOWN_ERROR, u"An unknown error has occurred.");
  } catch (const std::exception&) {
    ReportException(AFX_IDP_UNKNOWN_ERROR, u"An unknown error has occurred.");
  }
  return true;
}

int CWinThread::Run() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return ExitInstance();
}

int CWinThread::ExitInstance() { return 0; }

CWinApp::CWinApp(LPCWSTR lpszAppName) {
  if (lpszAppName) {
    m_strAppName = lpszAppName;
    m_pszAppName = m_strAppName;
  }
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitApplication() {
  // The device's shell-policy values would be read here; nothing in the
  // framework depends on them, and nothing is written.
  return TRUE;
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey) {
  m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : u"";
  m_pszRegistryKey = m_strRegistryKey;
  m_strProfileName = m_strAppName;
  m_pszProfileName = m_strProfileName;
}

const AFX_MSGMAP* CWinApp::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CWinApp::GetThisMessageMap() {
  static constexpr AFX_MSGMAP map{&CCmdTarget::GetThisMessageMap, {}};
  return &map;
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetInstanceHandle() { return g_app ? g_app->m_hInstance : nullptr; }

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

LPCWSTR AfxGetAppName() { return g_app && g_app->m_pszAppName ? g_app->m_pszAppName : u""; }

int AfxMessageBox(LPCWSTR text, UINT type) {
  CWinApp* app = AfxGetApp();
  HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
  return ::MessageBoxW(owner, text, AfxGetAppName(), type);
}
