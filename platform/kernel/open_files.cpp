#include "kernel/open_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <string>

namespace platform {
namespace {

bool AllDigits(const char* name) {
  if (!*name) return false;
  for (; *name; ++name)
    if (!std::isdigit(static_cast<unsigned char>(*name))) return false;
  return true;
}

bool DescriptorsHold(int procFd, const char* pid, dev_t device, ino_t inode) {
  std::string path = std::string(pid) + "/fd";
  int fdDir = ::openat(procFd, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fdDir < 0) return false;
  DIR* fds = ::fdopendir(fdDir);
  if (!fds) {
    ::close(fdDir);
    return false;
  }
  bool held = false;
  while (dirent* entry = ::readdir(fds)) {
    if (!AllDigits(entry->d_name)) continue;
    // stat() through the descriptor's link reaches the open file itself,
    // even when its name is gone or it lives outside our view.
    struct stat status;
    if (::fstatat(fdDir, entry->d_name, &status, 0) != 0) continue;
    if (status.st_dev == device && status.st_ino == inode) {
      held = true;
      break;
    }
  }
  ::closedir(fds);
  return held;
}

}  // namespace

bool HeldOpenOnHost(dev_t device, ino_t inode) {
  int procFd = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (procFd < 0) return false;
  DIR* processes = ::fdopendir(procFd);
  if (!processes) {
    ::close(procFd);
    return false;
  }
  bool held = false;
  while (!held) {
    dirent* entry = ::readdir(processes);
    if (!entry) break;
    if (AllDigits(entry->d_name)) held = DescriptorsHold(procFd, entry->d_name, device, inode);
  }
  ::closedir(processes);
  return held;
}

}  // namespace platform
