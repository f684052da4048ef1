// Runs the program inside the test process: a fresh boot of a temporary
// device, the program's module, and a script played by the script driver.
// What the driver prints comes back as events, and the device's trace of the
// run comes back with it.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/temp_device.h"

namespace corvale_test {

struct ProgramRun {
  int result = 0;  // what the framework's entry returned
  std::vector<nlohmann::json> events;
  std::vector<std::string> trace;

  // The events of one kind, in order.
  std::vector<nlohmann::json> Events(const std::string& kind) const;
  // The dialog's result from the "exit" event; -2 when there was none.
  int ExitResult() const;
  // The texts of the message boxes shown, in order.
  std::vector<std::string> BoxTexts() const;
};

// The shortcut paths of one "rows" event, top row first.
std::vector<std::string> RowPaths(const nlohmann::json& rows);

// Shortcuts the failure tables put on their devices, as the program names them.
inline const std::string kShortcutA = "\\Windows\\StartUp\\a.lnk";
inline const std::string kShortcutB = "\\Windows\\StartUp\\b.lnk";
inline const std::string kShortcutC = "\\Windows\\StartUp\\c.lnk";

struct RunHooks {
  // After the boot and before the program starts: plan faults here.
  std::function<void()> prepare;
  // Whenever the program waits for input, before the next script line runs:
  // look at the live windows here.
  std::function<void()> idle;
};

// Boots |device| afresh, registers the program's module as "/x/Corvale" and
// runs the framework's entry with |script| as the user. A script must be free
// of mistakes: the driver ends the process on one.
ProgramRun RunProgram(const TempDevice& device, const std::string& script, const RunHooks& hooks = {});

}  // namespace corvale_test
