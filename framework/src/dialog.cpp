#include <new>

#include "afxres.h"
#include "afxwin.h"
#include "framework_internal.h"

namespace {

// Every message of a framework dialog arrives here. Messages before
// WM_INITDIALOG find no object yet and get the dialog manager's handling.
INT_PTR AfxDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    if (!dialog || !dialog->Attach(window)) return FALSE;
  }
  CWnd* wnd = CWnd::FromHandlePermanent(window);
  if (!wnd) return FALSE;
  if (message == WM_NCDESTROY) {
    wnd->OnNcDestroy();
    return FALSE;
  }
  LRESULT result = 0;
  if (!AfxRunHandler([&] { return wnd->DispatchMsg(message, wParam, lParam, &result); })) return FALSE;
  if (message == WM_INITDIALOG) return result;
  ::SetWindowLongPtrW(window, DWL_MSGRESULT, result);
  return TRUE;
}

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {
  m_sai.cbSize = SHACTIVATEINFO_DEVICE_SIZE;
}

CDialog::~CDialog() {
  if (m_hWnd) {
    HWND window = m_hWnd;
    Detach();
    ::DestroyWindow(window);
  }
}

INT_PTR CDialog::DoModal() {
  HINSTANCE instance = AfxGetResourceHandle();
  HRSRC resource = ::FindResourceW(instance, m_lpszTemplateName, RT_DIALOG);
  HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
  auto* tmpl = static_cast<const DLGTEMPLATE*>(loaded ? ::LockResource(loaded) : nullptr);
  if (!tmpl) return -1;

  m_nModalResult = -1;
  m_bContinueModal = true;
  HWND parent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
  HWND window =
      ::CreateDialogIndirectParamW(AfxGetInstanceHandle(), tmpl, parent, AfxDlgProc, reinterpret_cast<LPARAM>(this));
  if (!window) {
    m_bContinueModal = false;
    return -1;
  }
  RunModalLoop();
  if (m_hWnd) {
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::DestroyWindow(m_hWnd);
  }
  return m_nModalResult;
}

void CDialog::RunModalLoop() {
  MSG msg;
  while (m_bContinueModal) {
    if (!::GetMessageW(&msg, nullptr, 0, 0)) {
      // Quitting ends the dialog too; the quit stays for an outer loop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      if (m_bContinueModal) EndDialog(-1);
      break;
    }
    if (!::IsDialogMessageW(m_hWnd, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

void CDialog::EndDialog(int result) {
  if (m_hWnd) ::EndDialog(m_hWnd, result);
  m_nModalResult = result;
  m_bContinueModal = false;
}

BOOL CDialog::OnInitDialog() {
  // The first exchange binds the controls; if it fails the dialog ends, but
  // initialisation still runs to the end.
  if (!UpdateData(FALSE)) EndDialog(-1);
  if (m_bFullScreen) {
    ::SetForegroundWindow(m_hWnd);
    SHINITDLGINFO info{SHIDIM_FLAGS, m_hWnd,
                       SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU};
    ::SHInitDialog(&info);
  }
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM) {
  // The dialog manager does the default handling once the procedure says no.
  return 0;
}

void CDialog::OnNcDestroy() {
  CWnd::OnNcDestroy();
  m_bContinueModal = false;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

LRESULT CDialog::HandleActivate(WPARAM wParam, LPARAM lParam) {
  ::SHHandleWMActivate(m_hWnd, wParam, lParam, &m_sai, FALSE);
  return 0;
}

LRESULT CDialog::HandleSettingChange(WPARAM wParam, LPARAM lParam) {
  ::SHHandleWMSettingChange(m_hWnd, wParam, lParam, &m_sai);
  return 0;
}

void CDialog::HandleSize(UINT, int, int) {}

namespace {

// Virtual calls go through these, so that a derived class's override runs.
void CallOnOK(CDialog* d) { d->OnOK(); }
void CallOnCancel(CDialog* d) { d->OnCancel(); }

}  // namespace

const AFX_MSGMAP* CDialog::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CDialog::GetThisMessageMap() {
  static constexpr AFX_MSGMAP_ENTRY entries[] = {
      {WM_INITDIALOG, 0, 0, 0,
       [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) {
         *r = static_cast<CDialog*>(t)->HandleInitDialog(w, l);
         return true;
       }},
      {WM_COMMAND, 0, IDOK, IDOK,
       [](CCmdTarget* t, WPARAM, LPARAM, LRESULT*) {
         CallOnOK(static_cast<CDialog*>(t));
         return true;
       }},
      {WM_COMMAND, 0, IDCANCEL, IDCANCEL,
       [](CCmdTarget* t, WPARAM, LPARAM, LRESULT*) {
         CallOnCancel(static_cast<CDialog*>(t));
         return true;
       }},
      {WM_ACTIVATE, 0, 0, 0,
       [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) {
         *r = static_cast<CDialog*>(t)->HandleActivate(w, l);
         return true;
       }},
      {WM_SETTINGCHANGE, 0, 0, 0,
       [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) {
         *r = static_cast<CDialog*>(t)->HandleSettingChange(w, l);
         return true;
       }},
      {WM_SIZE, 0, 0, 0,
       [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT*) {
         static_cast<CDialog*>(t)->HandleSize(static_cast<UINT>(w), LOWORD(l), HIWORD(l));
         return true;
       }},
  };
  static constexpr AFX_MSGMAP map{&CWnd::GetThisMessageMap, entries};
  return &map;
}
