// The shell around programs: the navigation bar, full-screen dialogs, the
// input panel's hooks, and screen rotation.
#include <vector>

#include "aygshell.h"
#include "device/device.h"
#include "service.h"
#include "shell_objects.h"
#include "user_internal.h"
#include "winbase.h"

namespace platform {
namespace {

HWND g_navBar = nullptr;

LRESULT NavBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

bool IsShellWindow(const Window& w) { return w.handle == g_navBar || SameClassName(w.className, u"menu_worker"); }

void FitFullScreen(Window& dialog, int width, int height) {
  dialog.rect = RECT{0, kNavBarHeight, width, height - kMenuBarHeight};
}

}  // namespace

void RegisterShellClasses() { RegisterBuiltinClass(u"HHTaskBar", NavBarProc); }

void CreateShellWindows() {
  const device::Device& d = device::Current();
  CreateParams p;
  p.className = u"HHTaskBar";
  p.style = WS_POPUP | WS_VISIBLE;
  p.width = d.ScreenWidth();
  p.height = kNavBarHeight;
  g_navBar = CreateWindowObject(p);
}

HWND NavBarWindow() { return g_navBar; }

HWND NavBarSubject() {
  // The topmost visible window that is not the shell's own, nor a box.
  const std::vector<HWND>& order = TopLevelOrder();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const Window* w = FindWindowObject(*it);
    if (!w || !w->Visible() || IsShellWindow(*w) || SameClassName(w->className, u"MessageBox")) continue;
    return *it;
  }
  return nullptr;
}

bool NavBarShowsOk() {
  const Window* w = FindWindowObject(NavBarSubject());
  return w && (w->exStyle & WS_EX_CAPTIONOKBTN);
}

bool NavBarTapOk() {
  HWND subject = NavBarSubject();
  const Window* w = FindWindowObject(subject);
  if (!w || !NavBarShowsOk() || !w->Enabled()) return false;
  PostMessageW(subject, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
  return true;
}

void ChangeScreen(int width, int height) {
  device::Current().SetScreen(width, height);
  std::vector<HWND> tops = TopLevelOrder();
  for (HWND h : tops) {
    Window* w = FindWindowObject(h);
    if (!w) continue;
    if (h == g_navBar)
      w->rect = RECT{0, 0, width, kNavBarHeight};
    else if (SameClassName(w->className, u"menu_worker"))
      w->rect = RECT{0, height - kMenuBarHeight, width, height};
    else if (w->fullScreen)
      FitFullScreen(*w, width, height);
  }
  for (HWND h : tops) {
    Window* w = FindWindowObject(h);
    if (!w) continue;
    CallWindow(*w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(w->Width()), static_cast<WORD>(w->Height())));
  }
}

void ResetShell() { g_navBar = nullptr; }

}  // namespace platform

using namespace platform;

BOOL SHInitExtraControls() {
  ServiceCall call("SHInitExtraControls");
  if (call.Fails()) return FALSE;
  return TRUE;
}

BOOL SHInitDialog(SHINITDLGINFO* info) {
  ServiceCall call("SHInitDialog");
  if (call.Fails()) return FALSE;
  if (!info || !(info->dwMask & SHIDIM_FLAGS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Window* w = FindWindowObject(info->hDlg);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (info->dwFlags & SHIDIF_DONEBUTTON) w->exStyle |= WS_EX_CAPTIONOKBTN;
  if (info->dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG)) {
    const device::Device& d = device::Current();
    w->fullScreen = true;
    RECT old = w->rect;
    FitFullScreen(*w, d.ScreenWidth(), d.ScreenHeight());
    if (old.right - old.left != w->Width() || old.bottom - old.top != w->Height())
      CallWindow(*w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(w->Width()), static_cast<WORD>(w->Height())));
  }
  return TRUE;
}

BOOL SHHandleWMActivate(HWND window, WPARAM, LPARAM, SHACTIVATEINFO* info, DWORD) {
  ServiceCall call("SHHandleWMActivate");
  return FindWindowObject(window) && info ? TRUE : FALSE;
}

BOOL SHHandleWMSettingChange(HWND window, WPARAM, LPARAM, SHACTIVATEINFO* info) {
  ServiceCall call("SHHandleWMSettingChange");
  return FindWindowObject(window) && info ? TRUE : FALSE;
}
