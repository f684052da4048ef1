#include "winbase.h"

namespace {

// One user-interface thread, but keep the value per thread as the system does.
thread_local DWORD t_lastError = ERROR_SUCCESS;

}  // namespace

DWORD GetLastError() { return t_lastError; }

void SetLastError(DWORD code) { t_lastError = code; }
