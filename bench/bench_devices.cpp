#include "bench_devices.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

#include "device/device.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

const fs::path& Base() {
  static const fs::path base = [] {
    std::string pattern = (fs::temp_directory_path() / "corvale-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return fs::path(pattern);
  }();
  return base;
}

std::map<int, fs::path>& Devices() {
  static std::map<int, fs::path> devices;
  return devices;
}

// Shortcuts as the device's own tools write them: the command line's length,
// '#', then the quoted target. The targets mix the kinds the shell draws, and
// one in five has no extension, so that row takes the default icon.
std::string ShortcutBytes(int index) {
  static constexpr const char* kExtensions[] = {".exe", ".txt", ".wav", ".bmp", ""};
  char target[96];
  int length = std::snprintf(target, sizeof target, "\"\\Program Files\\App %05d\\start%05d%s\"", index, index,
                             kExtensions[index % 5]);
  char bytes[128];
  int size = std::snprintf(bytes, sizeof bytes, "%d#%s", length, target);
  return std::string(bytes, static_cast<std::size_t>(size));
}

void WriteWhole(const fs::path& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    throw std::runtime_error("cannot write " + path.string());
  ::close(fd);
}

}  // namespace

const fs::path& ShortcutDevice(int count) {
  auto [it, made] = Devices().try_emplace(count);
  if (!made) return it->second;
  char name[32];
  std::snprintf(name, sizeof name, "n%d", count);
  fs::path root = Base() / name / "device";
  fs::path folder = root / kStartupFolder;
  fs::create_directories(folder);
  for (int i = 0; i < count; ++i) {
    std::snprintf(name, sizeof name, "Entry%05d.lnk", i);
    WriteWhole(folder / name, ShortcutBytes(i));
  }
  it->second = root;
  return it->second;
}

const fs::path& ScratchFolder() {
  static const fs::path scratch = [] {
    fs::create_directories(Base() / "scratch");
    return Base() / "scratch";
  }();
  return scratch;
}

void RemoveBenchDevices() {
  std::error_code ec;
  for (const auto& [count, root] : Devices()) {
    // Booting computes where this device keeps its named objects.
    device::Boot({root});
    fs::remove_all(device::Current().RuntimeDir(), ec);
  }
  Devices().clear();
  if (!Base().empty()) fs::remove_all(Base(), ec);
}

}  // namespace bench
