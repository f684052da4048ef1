// Resolution of device paths ("\Windows\StartUp\x.lnk") to entries under the
// device's host root.
//
// Names match case-insensitively, as on the device; the exact host spelling is
// tried first so a large folder costs one lookup per name. A path never
// leaves the root: ".." components are refused with ERROR_INVALID_NAME, "."
// components are ignored, and symbolic links are followed (at most 40 of them)
// only while their targets stay inside the root; one that leads out is refused
// with ERROR_ACCESS_DENIED and never opened.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "wintypes.h"

namespace platform {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~UniqueFd() { Reset(); }
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

// An entry found on the device: |name| inside the directory |dir| (an O_PATH
// descriptor), and its status. |name| is "." when the entry is the directory
// itself (the device root, or a path ending in a link to a directory's "..").
struct HostEntry {
  UniqueFd dir;
  std::string name;
  struct stat status {};
};

enum class FinalLink { Follow, Keep };

// Resolves |path|; with FinalLink::Keep a final symbolic link is the entry
// itself. Returns ERROR_SUCCESS or the error the path earns.
DWORD ResolveDevicePath(std::u16string_view path, FinalLink final, HostEntry* out);

// Opens the entry |path| names for reading in a single step, when the path
// is spelled exactly as on the host and its resolution stays beneath the
// root without crossing a mount. Returns an invalid descriptor otherwise
// (another case, a link that leads out, no openat2); the caller then resolves
// the path with ResolveDevicePath, which also finds the right error. The
// entry may be of any type: the caller checks what it opened.
UniqueFd OpenExactForReading(std::u16string_view path);

// Closes the root held for lookups, for a fresh boot.
void ReleaseDeviceRoot();

// The device's name for a host name, or false when the host name cannot be
// one (reserved characters, control characters, ill-formed UTF-8, too long).
bool DeviceNameOf(std::string_view hostName, std::u16string* name);

// True when |c| may not appear in a device name.
bool ReservedNameChar(char16_t c);

// Names compared as the device compares them: folded to upper case.
std::u16string FoldName(std::u16string_view name);
void FoldNameInto(std::u16string_view name, std::u16string* folded);  // reuses |folded|'s storage

// The order of FoldName(a) and FoldName(b), without folding copies: < 0, 0 or > 0.
int CompareFolded(std::u16string_view a, std::u16string_view b);

DWORD AttributesOf(const struct stat& status);
DWORD ErrorFromErrno(int error);

}  // namespace platform
