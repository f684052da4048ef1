// The link between instances of programs on the same device: the top-level
// windows each process shows, and the requests another process sends to them
// (bringing a window to the foreground).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wintypes.h"

namespace platform {

// Answers requests that other processes sent to this one. Called by the
// message loop whenever it looks for input.
void ServiceRequests();

// Publishes this process's executable path so other instances can find its
// windows; called when the first top-level window is created.
void PublishProcess();

// A top-level window that another live process on this device published.
struct RemoteWindow {
  DWORD pid = 0;
  std::uintptr_t value = 0;  // the window's handle in its own process
  std::string exePath;       // UTF-8
};
std::vector<RemoteWindow> PublishedWindowsOfOthers();
// Asks the owning process to bring the window to the foreground.
bool AskToComeForward(const RemoteWindow& window);
// The executable a live process of this device runs (UTF-8), or empty.
std::string ExecutableOfProcess(DWORD pid);

void ResetInstanceLink();

}  // namespace platform
