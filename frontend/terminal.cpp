#include "terminal.h"

#include <cstdio>

#include "afxwin.h"
#include "screen_renderer.h"

namespace frontend {

int RunTerminal(HINSTANCE) {
  std::fputs("Corvale: the interactive terminal is not built yet; run a script with --script FILE\n", stderr);
  return 2;
}

}  // namespace frontend
