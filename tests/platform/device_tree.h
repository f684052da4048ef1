// Everything under a host folder, by path, for tests that show a run changed
// nothing but what it was asked to: each file's bytes and mode, each link's
// target, each folder's mode. Links are recorded, never followed.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>

#include "platform/temp_device.h"

namespace corvale_test {

using TreeSnapshot = std::map<std::string, std::string>;

inline TreeSnapshot SnapshotTree(const std::filesystem::path& base) {
  TreeSnapshot tree;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(base, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    const std::filesystem::path& path = it->path();
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0) continue;
    std::string mode = std::to_string(status.st_mode & 07777);
    std::string entry;
    if (S_ISLNK(status.st_mode))
      entry = "link -> " + std::filesystem::read_symlink(path, ec).string();
    else if (S_ISDIR(status.st_mode))
      entry = "folder " + mode;
    else
      entry = "file " + mode + " " + TempDevice::Read(path);
    tree[path.lexically_relative(base).string()] = entry;  // never through a link
  }
  return tree;
}

// |tree| less the entries at |paths| (relative to its base).
inline TreeSnapshot Without(TreeSnapshot tree, std::initializer_list<std::string> paths) {
  for (const std::string& path : paths) tree.erase(path);
  return tree;
}

}  // namespace corvale_test
