// The framework's entry: the application's name, the one-instance rule, and
// the application object's run.
#include <algorithm>

#include "afxwin.h"

namespace {

constexpr UINT kAppTitleStringId = 0xE000;
constexpr int kInstanceLooks = 40;
constexpr DWORD kInstanceLookPauseMs = 250;

CString ModuleFileName() {
  WCHAR path[1024];
  DWORD n = ::GetModuleFileNameW(nullptr, path, 1024);
  return CString(std::u16string_view(path, n));
}

// The executable's file name without folder and extension.
CString BaseName(const CString& path) {
  int slash = std::max(path.ReverseFind(u'\\'), path.ReverseFind(u'/'));
  CString name = path.Mid(slash + 1);
  int dot = name.ReverseFind(u'.');
  return dot > 0 ? name.Left(dot) : name;
}

struct InstanceSearch {
  CString exePath;
  DWORD self;
  HWND found = nullptr;
};

BOOL FindInstanceWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<InstanceSearch*>(param);
  DWORD pid = 0;
  if (!::GetWindowThreadProcessId(window, &pid) || pid == search->self) return TRUE;
  HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
  if (!process) return TRUE;
  WCHAR path[1024];
  DWORD size = 1024;
  bool same = ::QueryFullProcessImageNameW(process, 0, path, &size) &&
              search->exePath.view() == std::u16string_view(path, size);
  ::CloseHandle(process);
  if (!same) return TRUE;
  search->found = window;
  return FALSE;
}

// True when another instance took over: this one must end.
bool HandOverToRunningInstance(const CString& exePath) {
  CString mutexName = exePath;
  mutexName.Replace(u'\\', u'/');
  // Kept open for the life of the process: it is what marks this instance.
  ::CreateMutexW(nullptr, FALSE, mutexName);
  if (::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  InstanceSearch search{exePath, ::GetCurrentProcessId()};
  for (int look = 0; look < kInstanceLooks; ++look) {
    ::EnumWindows(FindInstanceWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      ::SetForegroundWindow(search.found);
      return true;
    }
    ::Sleep(kInstanceLookPauseMs);
  }
  return false;
}

}  // namespace

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
  CWinApp* app = AfxGetApp();
  if (!app) return -1;
  app->m_hInstance = hInstance;
  CString exePath = ModuleFileName();
  if (!app->m_pszAppName) {
    WCHAR title[256];
    int n = ::LoadStringW(hInstance, kAppTitleStringId, title, 256);
    app->m_strAppName = n > 0 ? CString(std::u16string_view(title, static_cast<std::size_t>(n))) : BaseName(exePath);
    app->m_pszAppName = app->m_strAppName;
  }
  if (!app->InitApplication()) return app->ExitInstance();
  if (HandOverToRunningInstance(exePath)) return -1;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
