// The device's system headers in one include, as programs for the device use them.
#pragma once

#include "winbase.h"
#include "wintypes.h"
#include "winuser.h"
