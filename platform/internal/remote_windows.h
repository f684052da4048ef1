#pragma once

#include "instance_link.h"
#include "wintypes.h"

namespace platform {

const RemoteWindow* FindRemoteWindow(HWND window);
void ResetRemoteWindows();

}  // namespace platform
