// The framework's window classes: command targets, windows, dialogs, the
// application object and its entry.
#pragma once

#include "afx.h"
#include "afxmsgmap.h"
#include "aygshell.h"
#include "windows.h"

class CWnd;
class CWinApp;

class CCmdTarget : public CObject {
 public:
  // Looks the message up in this object's table chain and runs its handler;
  // false when no entry handles it.
  bool DispatchMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  virtual const AFX_MSGMAP* GetMessageMap() const;
  static const AFX_MSGMAP* GetThisMessageMap();
};

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
  // Ends the exchange as failed.
  [[noreturn]] void Fail();

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
};

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return GetSafeHwnd(); }  // NOLINT(google-explicit-constructor)

  // Binds an existing window to this object; false if either is already bound.
  BOOL Attach(HWND window);
  HWND Detach();
  BOOL SubclassWindow(HWND window) { return Attach(window); }
  // The object bound to |window|, or null.
  static CWnd* FromHandlePermanent(HWND window);

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  HWND GetDlgItem(int id) const;
  void SetWindowText(LPCWSTR text);
  CString GetWindowText() const;
  BOOL ShowWindow(int command);
  BOOL SetForegroundWindow();
  BOOL DestroyWindow();
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  // A box owned by this window; without a caption, the application name.
  int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK);

  virtual void DoDataExchange(CDataExchange* pDX);
  // Runs the message through the table chain, then the default handling.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void OnNcDestroy();

  const AFX_MSGMAP* GetMessageMap() const override;
  static const AFX_MSGMAP* GetThisMessageMap();
};

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  virtual INT_PTR DoModal();
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  void EndDialog(int result);

  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnNcDestroy() override;

  const AFX_MSGMAP* GetMessageMap() const override;
  static const AFX_MSGMAP* GetThisMessageMap();

  LPCWSTR m_lpszTemplateName;
  UINT m_nIDHelp;
  CWnd* m_pParentWnd;
  // The Pocket PC set-up: a full-screen dialog and the input panel's state.
  BOOL m_bFullScreen = TRUE;
  SHACTIVATEINFO m_sai{};

  // The base table's handlers.
  LRESULT HandleInitDialog(WPARAM, LPARAM);
  LRESULT HandleActivate(WPARAM wParam, LPARAM lParam);
  LRESULT HandleSettingChange(WPARAM wParam, LPARAM lParam);
  void HandleSize(UINT nType, int cx, int cy);

 protected:
  void RunModalLoop();

  INT_PTR m_nModalResult = -1;
  bool m_bContinueModal = false;
};

// Binds the dialog's control |nIDC| to |rControl| on the first exchange.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CWinThread : public CCmdTarget {
 public:
  CWnd* m_pMainWnd = nullptr;

  virtual BOOL InitInstance() = 0;
  virtual int Run();
  virtual int ExitInstance();
};

class CWinApp : public CWinThread {
 public:
  explicit CWinApp(LPCWSTR lpszAppName = nullptr);
  ~CWinApp() override;

  virtual BOOL InitApplication();
  void SetRegistryKey(LPCWSTR lpszRegistryKey);

  const AFX_MSGMAP* GetMessageMap() const override;
  static const AFX_MSGMAP* GetThisMessageMap();

  LPCWSTR m_pszAppName = nullptr;
  LPCWSTR m_pszRegistryKey = nullptr;
  LPCWSTR m_pszProfileName = nullptr;
  HINSTANCE m_hInstance = nullptr;

 private:
  friend int AfxWinMain(HINSTANCE, HINSTANCE, LPWSTR, int);
  CString m_strAppName;
  CString m_strRegistryKey;
  CString m_strProfileName;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
LPCWSTR AfxGetAppName();
// A box owned by the main window, captioned with the application name.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK);

// The framework's entry: names the application, keeps to one instance per
// device, and runs the application object.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
