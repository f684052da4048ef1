#pragma once

#include "handle_table.h"
#include "wintypes.h"

namespace platform {

struct ProcessObject {
  DWORD pid;
};

// Open process handles; CloseHandle releases them.
HandleTable<ProcessObject>& Processes();

}  // namespace platform
