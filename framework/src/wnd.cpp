#include <unordered_map>

#include "afxwin.h"

namespace {

// The windows bound to framework objects. Only the framework looks here; the
// platform hands out handles, never objects.
std::unordered_map<HWND, CWnd*>& Bound() {
  static std::unordered_map<HWND, CWnd*> bound;
  return bound;
}

struct ExchangeFailed {};

}  // namespace

void CDataExchange::Fail() { throw ExchangeFailed{}; }

CWnd::~CWnd() {
  if (m_hWnd) Detach();
}

BOOL CWnd::Attach(HWND window) {
  if (m_hWnd || !window || !::IsWindow(window) || Bound().count(window)) return FALSE;
  Bound()[window] = this;
  m_hWnd = window;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  if (window) {
    auto it = Bound().find(window);
    if (it != Bound().end() && it->second == this) Bound().erase(it);
  }
  m_hWnd = nullptr;
  return window;
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
  auto it = Bound().find(window);
  return it == Bound().end() ? nullptr : it->second;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

HWND CWnd::GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

void CWnd::SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }

CString CWnd::GetWindowText() const {
  int length = ::GetWindowTextLengthW(m_hWnd);
  CString text;
  LPWSTR buffer = text.GetBuffer(length + 1);
  ::GetWindowTextW(m_hWnd, buffer, length + 1);
  text.ReleaseBuffer();
  return text;
}

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }

BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const ExchangeFailed&) {
    return FALSE;
  }
  return TRUE;
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type) {
  return ::MessageBoxW(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (DispatchMsg(message, wParam, lParam, &result)) return result;
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

void CWnd::OnNcDestroy() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
  Detach();
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
  static constexpr AFX_MSGMAP map{&CCmdTarget::GetThisMessageMap, {}};
  return &map;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;  // bound by an earlier exchange
  HWND control = pDX->m_pDlgWnd->GetDlgItem(nIDC);
  if (!control || !rControl.SubclassWindow(control)) pDX->Fail();
}
