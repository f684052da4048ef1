#pragma once

#include <vector>

#include "handle_table.h"
#include "winuser.h"

namespace platform {

struct DeferredMove {
  HWND window;
  int x, y, cx, cy;
  UINT flags;
};

struct DeferBatch {
  std::vector<DeferredMove> moves;
};

HandleTable<DeferBatch>& DeferBatches();

}  // namespace platform
