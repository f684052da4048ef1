// Enumeration of the device's top-level windows across programs. Windows of
// other programs get handles of their own kind here, valid for the questions
// one program may ask of another's window: its process, and SetForegroundWindow.
#include <unistd.h>

#include "instance_link.h"
#include "remote_windows.h"
#include "service.h"
#include "user_internal.h"
#include "winbase.h"

namespace platform {
namespace {

HandleTable<RemoteWindow> g_remote(HandleKind::RemoteWindow);

}  // namespace

const RemoteWindow* FindRemoteWindow(HWND window) { return g_remote.Find(window); }

void ResetRemoteWindows() { g_remote.Clear(); }

}  // namespace platform

using namespace platform;

BOOL EnumWindows(WNDENUMPROC enumProc, LPARAM lParam) {
  ServiceCall call("EnumWindows");
  if (call.Fails()) return FALSE;
  if (!enumProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<HWND> windows(TopLevelOrder().rbegin(), TopLevelOrder().rend());
  g_remote.Clear();
  for (RemoteWindow& remote : PublishedWindowsOfOthers())
    windows.push_back(g_remote.Add<HWND>(std::make_unique<RemoteWindow>(std::move(remote))));
  for (HWND h : windows) {
    BOOL more;
    {
      CallOut out;
      more = enumProc(h, lParam);
    }
    if (!more) break;
  }
  return TRUE;
}

DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
  DWORD pid = 0;
  if (FindWindowObject(window))
    pid = static_cast<DWORD>(getpid());
  else if (const RemoteWindow* remote = g_remote.Find(window))
    pid = remote->pid;
  if (!pid) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (processId) *processId = pid;
  return pid;
}
