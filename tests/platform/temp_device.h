// A throw-away device for tests: a fresh host directory booted as the device
// root "\", with a sibling folder outside the device for files a test must
// see left alone. Everything, including the device's runtime folder, is
// removed again when the TempDevice goes.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "device/device.h"

namespace corvale_test {

class TempDevice {
 public:
  explicit TempDevice(device::Config config = {}) {
    std::string base = (std::filesystem::temp_directory_path() / "corvale-test-XXXXXX").string();
    if (!::mkdtemp(base.data())) throw std::runtime_error("mkdtemp failed");
    base_ = base;
    std::filesystem::create_directory(base_ / "device");
    std::filesystem::create_directory(base_ / "outside");
    config.root = base_ / "device";
    device::Boot(std::move(config));
    runtimeDir_ = device::Current().RuntimeDir();
  }
  ~TempDevice() {
    std::error_code ec;
    MakeRemovable(base_);
    std::filesystem::remove_all(base_, ec);
    if (!runtimeDir_.empty()) std::filesystem::remove_all(runtimeDir_, ec);
  }
  TempDevice(const TempDevice&) = delete;
  TempDevice& operator=(const TempDevice&) = delete;

  const std::filesystem::path& Base() const { return base_; }
  std::filesystem::path Root() const { return base_ / "device"; }
  std::filesystem::path Outside() const { return base_ / "outside"; }
  // The host path of |relative| ("windows/startup/a.lnk") under the root.
  std::filesystem::path Host(std::string_view relative) const { return Root() / relative; }

  // Creates a file (and its folders) under the root with |bytes| as content.
  std::filesystem::path AddFile(std::string_view relative, std::string_view bytes = {}) const {
    return WriteFile(Host(relative), bytes);
  }
  std::filesystem::path AddOutsideFile(std::string_view relative, std::string_view bytes = {}) const {
    return WriteFile(Outside() / relative, bytes);
  }
  std::filesystem::path AddDir(std::string_view relative) const {
    std::filesystem::create_directories(Host(relative));
    return Host(relative);
  }
  // A symbolic link at |relative| whose content is exactly |target|.
  std::filesystem::path AddSymlink(std::string_view relative, const std::filesystem::path& target) const {
    std::filesystem::path link = Host(relative);
    std::filesystem::create_directories(link.parent_path());
    std::filesystem::create_symlink(target, link);
    return link;
  }
  void Chmod(std::string_view relative, mode_t mode) const {
    if (::chmod(Host(relative).c_str(), mode) != 0) throw std::runtime_error("chmod failed");
  }

  static bool Exists(const std::filesystem::path& path) {
    struct stat status;
    return ::lstat(path.c_str(), &status) == 0;
  }
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  static std::filesystem::path WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path;
  }

  // Folders a test made unreadable must open again to be removed.
  static void MakeRemovable(const std::filesystem::path& dir) {
    std::error_code ec;
    ::chmod(dir.c_str(), 0700);
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0700);
    }
  }

  std::filesystem::path base_;
  std::filesystem::path runtimeDir_;
};

// A UTF-16 device path from UTF-8 text (tests only; ASCII and BMP are enough).
inline std::u16string U16(std::string_view utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    char32_t cp;
    int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    cp = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k < length && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
    i += length;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

}  // namespace corvale_test
