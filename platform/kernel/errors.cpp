#include "service.h"
#include "winbase.h"

namespace {

// One user-interface thread, but keep the value per thread as the system does.
thread_local DWORD t_lastError = ERROR_SUCCESS;

}  // namespace

DWORD GetLastError() {
  // Traced, so that a caller's order of use shows when it asks for a reason.
  // It cannot fail: a planned fault makes it report the planned error instead.
  platform::ServiceCall call("GetLastError");
  if (call.Fails(t_lastError)) return t_lastError;
  return t_lastError;
}

void SetLastError(DWORD code) { t_lastError = code; }
