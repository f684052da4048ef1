// Deferred window positioning: moves collected in a batch and applied together.
//
// A batch survives an add that fails (a stale window, say): the caller may go
// on adding with the same handle and end the batch, which applies the moves
// that were added.
#include <vector>

#include "defer_objects.h"
#include "service.h"
#include "user_internal.h"
#include "winbase.h"

namespace platform {
namespace {

HandleTable<DeferBatch> g_batches(HandleKind::DeferBatch);

}  // namespace

HandleTable<DeferBatch>& DeferBatches() { return g_batches; }

void ResetDeferBatches() { g_batches.Clear(); }

}  // namespace platform

using namespace platform;

HDWP BeginDeferWindowPos(int numWindows) {
  ServiceCall call("BeginDeferWindowPos");
  if (call.Fails(ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  if (numWindows < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto batch = std::make_unique<DeferBatch>();
  batch->moves.reserve(static_cast<std::size_t>(numWindows));
  return g_batches.Add<HDWP>(std::move(batch));
}

HDWP DeferWindowPos(HDWP handle, HWND window, HWND, int x, int y, int cx, int cy, UINT flags) {
  ServiceCall call("DeferWindowPos");
  DeferBatch* batch = g_batches.Find(handle);
  if (!batch) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (call.Fails()) return nullptr;
  if (!FindWindowObject(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  batch->moves.push_back(DeferredMove{window, x, y, cx, cy, flags});
  return handle;
}

BOOL EndDeferWindowPos(HDWP handle) {
  ServiceCall call("EndDeferWindowPos");
  std::unique_ptr<DeferBatch> batch = g_batches.Remove(handle);
  if (!batch) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (call.Fails()) return FALSE;
  for (const DeferredMove& m : batch->moves) PlaceWindow(m.window, m.x, m.y, m.cx, m.cy, m.flags);
  return TRUE;
}
