// The interactive front end: the device's screen at a terminal.
#pragma once

#include "wintypes.h"

namespace frontend {

// Runs the program with the terminal as its user; returns the exit status.
int RunTerminal(HINSTANCE instance);

}  // namespace frontend
