#include "device/device.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <system_error>

#include "platform_reset.h"
#include "shell_objects.h"

namespace device {

void Trace::Record(std::string entry) {
  if (enabled_) entries_.push_back(std::move(entry));
}

void FaultPlan::FailNth(std::string key, int nth, DWORD error) { rules_[std::move(key)] = Rule{nth, error, 0}; }

void FaultPlan::FailAlways(std::string key, DWORD error) { rules_[std::move(key)] = Rule{0, error, 0}; }

void FaultPlan::Clear() { rules_.clear(); }

bool FaultPlan::Check(std::string_view service, std::string_view detail, DWORD* error) {
  if (rules_.empty()) return false;
  bool fails = false;
  auto visit = [&](std::string_view key) {
    auto it = rules_.find(key);
    if (it == rules_.end()) return;
    Rule& rule = it->second;
    ++rule.seen;
    if (rule.nth == 0 || rule.seen == rule.nth) {
      fails = true;
      *error = rule.error;
    }
  };
  visit(service);
  if (!detail.empty()) {
    std::string key(service);
    key += ' ';
    key += detail;
    visit(key);
  }
  return fails;
}

namespace {

std::filesystem::path RuntimeDirFor(const std::filesystem::path& root) {
  std::error_code ec;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(root, ec);
  if (ec) canonical = root;
  const char* base = std::getenv("XDG_RUNTIME_DIR");
  std::filesystem::path dir = (base && *base) ? std::filesystem::path(base) : std::filesystem::temp_directory_path();
  dir /= "corvale-" + std::to_string(getuid());
  char name[32];
  std::snprintf(name, sizeof name, "%016zx", std::hash<std::string>{}(canonical.string()));
  return dir / name;
}

}  // namespace

void Device::SetScreen(int width, int height) {
  config_.screenWidth = width;
  config_.screenHeight = height;
}

void Device::Reset(Config config) {
  config_ = std::move(config);
  runtimeDir_ = RuntimeDirFor(config_.root);
  trace = Trace{};
  faults = FaultPlan{};
}

Device& Current() {
  static Device device;
  return device;
}

void Boot(Config config) {
  platform::ResetAllTables();
  Current().Reset(std::move(config));
  platform::CreateShellWindows();
}

SIZE DialogBaseUnits(int screenWidth, int screenHeight) {
  int scale = std::max(1, std::min(screenWidth, screenHeight) / 240);
  return SIZE{6 * scale, 12 * scale};
}

}  // namespace device
