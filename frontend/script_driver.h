// The headless front end: runs a script of user actions against the program
// and reports what happens as JSON Lines on stdout.
#pragma once

#include <cstdio>
#include <istream>
#include <string>

#include "device/device.h"

namespace frontend {

class ScriptDriver : public device::InputSource, public device::Events {
 public:
  ScriptDriver(std::istream& script, std::FILE* out) : script_(script), out_(out) {}

  // InputSource: runs script lines until one performs a user action.
  void Idle() override;

  // Events.
  void MessageBoxShown(HWND box) override;
  void ForegroundRequested() override;
  void DialogEnded(INT_PTR result) override;

  bool DialogEndedSeen() const { return dialogEnded_; }
  void PrintExit(INT_PTR result);

 private:
  [[noreturn]] void Fail(const std::string& why);
  void Emit(const std::string& json);
  void PrintRows();
  void PrintControls();
  void PrintDraw();
  void Wait(int milliseconds);
  void AtEnd();

  std::istream& script_;
  std::FILE* out_;
  int lineNumber_ = 0;
  bool ended_ = false;
  int endNudges_ = 0;
  bool dialogEnded_ = false;
};

}  // namespace frontend
