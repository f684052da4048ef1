// Processes of the device, as far as one program may ask about another.
#include <unistd.h>

#include "instance_link.h"
#include "process_objects.h"
#include "service.h"
#include "winbase.h"

namespace platform {
namespace {

HandleTable<ProcessObject> g_processes(HandleKind::Process);

}  // namespace

HandleTable<ProcessObject>& Processes() { return g_processes; }

void ResetProcesses() { g_processes.Clear(); }

}  // namespace platform

using namespace platform;

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

HANDLE OpenProcess(DWORD, BOOL, DWORD processId) {
  ServiceCall call("OpenProcess");
  if (call.Fails(ERROR_ACCESS_DENIED)) return nullptr;
  if (ExecutableOfProcess(processId).empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return g_processes.Add<HANDLE>(std::make_unique<ProcessObject>(ProcessObject{processId}));
}

BOOL QueryFullProcessImageNameW(HANDLE process, DWORD, LPWSTR exeName, LPDWORD size) {
  ServiceCall call("QueryFullProcessImageNameW");
  if (call.Fails()) return FALSE;
  const ProcessObject* object = g_processes.Find(process);
  if (!object || !exeName || !size) {
    SetLastError(object ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::string exe = ExecutableOfProcess(object->pid);
  int n = MultiByteToWideChar(CP_UTF8, 0, exe.data(), static_cast<int>(exe.size()), nullptr, 0);
  if (exe.empty() || n <= 0 || static_cast<DWORD>(n) >= *size) {
    SetLastError(exe.empty() ? ERROR_INVALID_HANDLE : ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  MultiByteToWideChar(CP_UTF8, 0, exe.data(), static_cast<int>(exe.size()), exeName, n);
  exeName[n] = 0;
  *size = static_cast<DWORD>(n);
  return TRUE;
}
