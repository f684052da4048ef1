// The device side of terminal input: the state a key or click is judged
// against, read from the window model in the cells the renderer draws, and
// the carrying out of the chosen action through the user-action entry points.
#pragma once

#include "terminal_input.h"

namespace frontend {

InputView CurrentInputView();

// True when the action changed something on the device (the program then
// runs before the next input); false when there was nothing to do.
bool CarryOut(const Action& action);

}  // namespace frontend
