// The device that the platform stands in for: a host directory as its root
// "\", a screen, an ANSI code page, a fault plan and a call trace, and the
// hooks through which a front end feeds input and hears what the system shows.
//
// This header is for front ends and tests; programs for the device never see it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

namespace device {

// Records the order of service calls made from outside the platform.
class Trace {
 public:
  void Enable(bool on) { enabled_ = on; }
  bool Enabled() const { return enabled_; }
  void Record(std::string entry);
  const std::vector<std::string>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  bool enabled_ = false;
  std::vector<std::string> entries_;
};

// Makes chosen services fail. A key is a service name ("CreateFileW") or a
// service name and its detail ("SendMessageW LVM_INSERTITEMW"); the nth call
// (1-based) counts calls that match the key.
class FaultPlan {
 public:
  void FailNth(std::string key, int nth, DWORD error = 0);
  void FailAlways(std::string key, DWORD error = 0);
  void Clear();
  // True when this call must fail; |error| receives the planned error code.
  bool Check(std::string_view service, std::string_view detail, DWORD* error);

 private:
  struct Rule {
    int nth = 0;  // 0: every call
    DWORD error = 0;
    int seen = 0;
  };
  std::map<std::string, Rule, std::less<>> rules_;
};

// What the system shows that a front end reports.
class Events {
 public:
  virtual ~Events() = default;
  virtual void MessageBoxShown(HWND box) { (void)box; }
  virtual void ForegroundRequested() {}
  virtual void DialogEnded(INT_PTR result) { (void)result; }
};

// Where user input comes from. The message loop asks for input when its queue
// is empty; the source performs at most one user action (or waits up to
// |timeoutMs| when it has none) and returns.
class InputSource {
 public:
  virtual ~InputSource() = default;
  virtual void Idle() = 0;
};

struct Config {
  std::filesystem::path root;  // the host directory that stands for "\"
  int screenWidth = 240;
  int screenHeight = 320;
  unsigned codePage = 936;
};

class Device {
 public:
  const std::filesystem::path& Root() const { return config_.root; }
  unsigned CodePage() const { return config_.codePage; }
  int ScreenWidth() const { return config_.screenWidth; }
  int ScreenHeight() const { return config_.screenHeight; }
  void SetScreen(int width, int height);
  // A folder outside the device, private to this device, for named objects.
  const std::filesystem::path& RuntimeDir() const { return runtimeDir_; }

  Trace trace;
  FaultPlan faults;
  Events* events = nullptr;
  InputSource* input = nullptr;

  void Reset(Config config);

 private:
  Config config_;
  std::filesystem::path runtimeDir_;
};

// The one device this process runs on.
Device& Current();

// Starts the device: the platform's tables are emptied and |config| applied.
void Boot(Config config);

// Dialog base units on a screen: 6 x 12 at 240 pixels across the short side,
// scaled by whole multiples on larger screens.
SIZE DialogBaseUnits(int screenWidth, int screenHeight);

}  // namespace device
