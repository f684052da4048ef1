// Deferred window positioning: moves collected in a batch and applied together.
//
// A batch survives an add that fails (a stale window, say): the caller may go
// on adding with the same handle and end the batch, which applies the moves
// that were added.
//
// Ended batches are kept for the next begin, with the room their moves had, so
// that a program re-laying itself out on every size change does not allocate
// once its batches are as large as its layouts need.
#include <memory>
#include <vector>

#include "defer_objects.h"
#include "service.h"
#include "user_internal.h"
#include "winbase.h"

namespace platform {
namespace {

HandleTable<DeferBatch> g_batches(HandleKind::DeferBatch);

// A few spare batches cover batches opened inside one another; more would
// only hold memory.
constexpr std::size_t kMaxSpareBatches = 4;
std::vector<std::unique_ptr<DeferBatch>> g_spare;

std::unique_ptr<DeferBatch> TakeBatch() {
  if (g_spare.empty()) return std::make_unique<DeferBatch>();
  std::unique_ptr<DeferBatch> batch = std::move(g_spare.back());
  g_spare.pop_back();
  batch->moves.clear();
  return batch;
}

void KeepBatch(std::unique_ptr<DeferBatch> batch) {
  if (g_spare.capacity() < kMaxSpareBatches) g_spare.reserve(kMaxSpareBatches);
  if (g_spare.size() < kMaxSpareBatches) g_spare.push_back(std::move(batch));
}

}  // namespace

HandleTable<DeferBatch>& DeferBatches() { return g_batches; }

void ResetDeferBatches() {
  g_batches.Clear();
  g_spare.clear();
}

}  // namespace platform

using namespace platform;

HDWP BeginDeferWindowPos(int numWindows) {
  ServiceCall call("BeginDeferWindowPos");
  if (call.Fails(ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  if (numWindows < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::unique_ptr<DeferBatch> batch = TakeBatch();
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
  if (call.Fails()) {
    KeepBatch(std::move(batch));
    return FALSE;
  }
  for (const DeferredMove& m : batch->moves) PlaceWindow(m.window, m.x, m.y, m.cx, m.cy, m.flags);
  KeepBatch(std::move(batch));
  return TRUE;
}
