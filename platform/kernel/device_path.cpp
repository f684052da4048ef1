#include "kernel/device_path.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <linux/openat2.h>
#include <stdlib.h>
#include <sys/syscall.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <deque>
#include <filesystem>
#include <mutex>
#include <vector>

#include "codepage.h"
#include "device/device.h"
#include "winbase.h"

namespace platform {
namespace {

constexpr int kMaxLinkHops = 40;

// The root stays open while its device runs: every lookup starts there, and
// opening it anew would cost each lookup two more system calls.
struct HeldRoot {
  std::mutex mutex;
  std::filesystem::path path;
  UniqueFd fd;
};

HeldRoot& Root() {
  static HeldRoot root;
  return root;
}

// The root's descriptor (O_PATH), or -1 with errno set.
int RootFd() {
  HeldRoot& root = Root();
  std::lock_guard lock(root.mutex);
  const std::filesystem::path& wanted = device::Current().Root();
  if (!root.fd.Valid() || root.path.native() != wanted.native()) {
    root.fd.Reset(::open(wanted.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    root.path = root.fd.Valid() ? wanted : std::filesystem::path();
  }
  return root.fd.Get();
}

// Cleared for good once the kernel (or a sandbox) refuses openat2.
std::atomic<bool> g_openat2Works{true};

char16_t FoldUnit(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs its letters; which of a pair is upper changes at 0x139 and 0x179.
    bool oddIsLower = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
    if (oddIsLower && (c & 1) && c != 0x131) return static_cast<char16_t>(c - 1);
    if (!oddIsLower && c != 0x138 && c != 0x149 && c != 0x17F && c != 0x178 && !(c & 1))
      return static_cast<char16_t>(c - 1);
    return c;
  }
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3C9) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);
  return c;
}

struct Component {
  std::string name;
  bool exact;  // from a link target: host spelling, matched as the host does
};

// Calls |visit| with each component of a device path, skipping empty and "."
// components. ".." and reserved characters make the path invalid, as does a
// false from |visit|.
template <typename Visit>
DWORD ForEachDeviceComponent(std::u16string_view path, Visit visit) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of(u"\\/", start);
    if (end == std::u16string_view::npos) end = path.size();
    std::u16string_view part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == u".") continue;
    if (part == u"..") return ERROR_INVALID_NAME;
    for (char16_t c : part)
      if (ReservedNameChar(c)) return ERROR_INVALID_NAME;
    if (!visit(part)) return ERROR_INVALID_NAME;
  }
  return ERROR_SUCCESS;
}

// Splits a device path into host-encoded components.
DWORD SplitDevicePath(std::u16string_view path, std::deque<Component>* out) {
  return ForEachDeviceComponent(path, [out](std::u16string_view part) {
    Component component{{}, false};
    if (!Utf16ToUtf8(part, &component.name)) return false;
    out->push_back(std::move(component));
    return true;
  });
}

void SplitHostPath(std::string_view path, std::deque<Component>* out) {
  std::deque<Component> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(start, end - start);
    start = end + 1;
    if (!part.empty() && part != ".") parts.push_back({std::string(part), true});
  }
  out->insert(out->begin(), parts.begin(), parts.end());
}

// The part of an absolute link target below the root, or false when the
// target lies outside it. The target is taken lexically; whatever it names is
// then looked up component by component from the root, never opened directly.
bool StripRoot(const std::filesystem::path& target, std::string* relative) {
  namespace fs = std::filesystem;
  const fs::path& root = device::Current().Root();
  std::vector<fs::path> roots;
  char real[PATH_MAX];
  if (::realpath(root.c_str(), real)) roots.emplace_back(real);
  std::error_code ec;
  fs::path absolute = fs::absolute(root, ec);
  if (!ec) roots.push_back(absolute.lexically_normal());
  fs::path normal = target.lexically_normal();
  for (const fs::path& base : roots) {
    fs::path rel = normal.lexically_relative(base);
    if (rel.empty()) continue;
    auto first = rel.begin();
    if (first != rel.end() && *first == "..") continue;
    *relative = rel == "." ? std::string() : rel.string();
    return true;
  }
  return false;
}

class Walker {
 public:
  DWORD Run(std::u16string_view path, FinalLink final, HostEntry* out) {
    std::deque<Component> pending;
    if (DWORD error = SplitDevicePath(path, &pending)) return error;
    root_ = RootFd();
    if (root_ < 0) return ERROR_PATH_NOT_FOUND;

    int hops = 0;
    bool inFinalLink = false;  // resolving the target of the path's last component
    while (!pending.empty()) {
      Component component = std::move(pending.front());
      pending.pop_front();
      bool last = pending.empty();
      DWORD missing = (last || inFinalLink) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
      if (component.name == "..") {  // only link targets get here
        if (dirs_.empty()) return ERROR_ACCESS_DENIED;
        dirs_.pop_back();
        continue;
      }
      struct stat status;
      std::string hostName;
      if (DWORD error = Lookup(component, &hostName, &status)) return error == ERROR_FILE_NOT_FOUND ? missing : error;

      if (S_ISLNK(status.st_mode) && (!last || final == FinalLink::Follow)) {
        if (++hops > kMaxLinkHops) return ERROR_CANT_RESOLVE_FILENAME;
        std::string target;
        if (!ReadLink(hostName, &target) || target.empty()) return missing;
        if (target.front() == '/') {
          std::string relative;
          if (!StripRoot(target, &relative)) return ERROR_ACCESS_DENIED;
          dirs_.clear();
          target = std::move(relative);
        }
        if (last) inFinalLink = true;
        SplitHostPath(target, &pending);
        continue;
      }
      if (last) {
        out->dir = UniqueFd(::fcntl(Current(), F_DUPFD_CLOEXEC, 0));
        if (!out->dir.Valid()) return ErrorFromErrno(errno);
        out->name = std::move(hostName);
        out->status = status;
        return ERROR_SUCCESS;
      }
      if (!S_ISDIR(status.st_mode)) return missing;
      UniqueFd next(::openat(Current(), hostName.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (!next.Valid()) return missing;  // replaced since the lookup
      dirs_.push_back(std::move(next));
    }
    // Nothing named a final entry: the path is the directory reached.
    if (::fstat(Current(), &out->status) != 0) return ErrorFromErrno(errno);
    if (dirs_.empty()) {
      out->dir = UniqueFd(::fcntl(root_, F_DUPFD_CLOEXEC, 0));
      if (!out->dir.Valid()) return ErrorFromErrno(errno);
    } else {
      out->dir = std::move(dirs_.back());
    }
    out->name.assign(1, '.');  // not = ".": GCC 12 warns falsely (-Wrestrict) at -O3
    return ERROR_SUCCESS;
  }

 private:
  DWORD Lookup(const Component& component, std::string* hostName, struct stat* status) {
    int dir = Current();
    if (component.name.size() <= NAME_MAX) {
      if (::fstatat(dir, component.name.c_str(), status, AT_SYMLINK_NOFOLLOW) == 0) {
        *hostName = component.name;
        return ERROR_SUCCESS;
      }
      if (errno != ENOENT) return ErrorFromErrno(errno);
    }
    if (component.exact) return ERROR_FILE_NOT_FOUND;
    // Missing as spelled: look for the name in another case.
    std::u16string wanted;
    if (!Utf8ToUtf16(component.name, &wanted)) return ERROR_FILE_NOT_FOUND;
    wanted = FoldName(wanted);
    UniqueFd readable(::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!readable.Valid()) return ErrorFromErrno(errno);
    DIR* listing = ::fdopendir(readable.Get());
    if (!listing) return ErrorFromErrno(errno);
    readable.Release();
    bool found = false;
    std::u16string candidate;
    while (dirent* entry = ::readdir(listing)) {
      std::string_view name = entry->d_name;
      if (name == "." || name == "..") continue;
      if (found && name >= *hostName) continue;
      if (!DeviceNameOf(name, &candidate) || FoldName(candidate) != wanted) continue;
      *hostName = name;
      found = true;
    }
    ::closedir(listing);
    if (!found) return ERROR_FILE_NOT_FOUND;
    if (::fstatat(dir, hostName->c_str(), status, AT_SYMLINK_NOFOLLOW) != 0) return ErrorFromErrno(errno);
    return ERROR_SUCCESS;
  }

  bool ReadLink(const std::string& name, std::string* target) {
    char buffer[PATH_MAX];
    ssize_t length = ::readlinkat(Current(), name.c_str(), buffer, sizeof buffer);
    if (length < 0 || length >= static_cast<ssize_t>(sizeof buffer)) return false;
    target->assign(buffer, static_cast<std::size_t>(length));
    return true;
  }

  // The directory the walk has reached.
  int Current() const { return dirs_.empty() ? root_ : dirs_.back().Get(); }

  int root_ = -1;               // held by Root(), never closed here
  std::vector<UniqueFd> dirs_;  // below the root, down to the current directory
};

}  // namespace

DWORD ResolveDevicePath(std::u16string_view path, FinalLink final, HostEntry* out) {
  return Walker().Run(path, final, out);
}

UniqueFd OpenExactForReading(std::u16string_view path) {
  if (!g_openat2Works.load(std::memory_order_relaxed)) return UniqueFd();
  // Built on the stack: this open is the hot path of every listing. A longer
  // path is left to the lookup, which reports it.
  if (path.size() >= MAX_PATH) return UniqueFd();
  std::array<char, MAX_PATH * kMaxUtf8PerUnit + 1> relative;
  std::size_t used = 0;
  DWORD error = ForEachDeviceComponent(path, [&](std::u16string_view part) {
    if (used > 0) relative[used++] = '/';
    std::size_t written = EncodeUtf8(part, std::span(relative).subspan(used, relative.size() - 1 - used));
    if (written == kNotUtf8) return false;
    used += written;
    return true;
  });
  if (error != ERROR_SUCCESS || used == 0) return UniqueFd();
  relative[used] = '\0';
  int root = RootFd();
  if (root < 0) return UniqueFd();
  // The kernel walks the whole path at once, refusing any step out of the
  // root (".." or an absolute link), magic links and other mounts.
  open_how how{};
  how.flags = O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS | RESOLVE_NO_XDEV;
  long fd = ::syscall(SYS_openat2, root, relative.data(), &how, sizeof how);
  if (fd < 0 && (errno == ENOSYS || errno == EPERM)) g_openat2Works.store(false, std::memory_order_relaxed);
  return UniqueFd(fd < 0 ? -1 : static_cast<int>(fd));
}

void ReleaseDeviceRoot() {
  HeldRoot& root = Root();
  std::lock_guard lock(root.mutex);
  root.fd.Reset();
  root.path.clear();
}

bool ReservedNameChar(char16_t c) {
  switch (c) {
    case u'\\':
    case u'/':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
      return true;
    default:
      return c < 0x20;
  }
}

bool DeviceNameOf(std::string_view hostName, std::u16string* name) {
  if (hostName.empty() || hostName == "." || hostName == "..") return false;
  if (!Utf8ToUtf16(hostName, name)) return false;
  if (name->size() > static_cast<std::size_t>(MAX_PATH - 1)) return false;
  for (char16_t c : *name)
    if (ReservedNameChar(c)) return false;
  return true;
}

std::u16string FoldName(std::u16string_view name) {
  std::u16string folded;
  FoldNameInto(name, &folded);
  return folded;
}

void FoldNameInto(std::u16string_view name, std::u16string* folded) {
  folded->assign(name);
  for (char16_t& c : *folded) c = FoldUnit(c);
}

int CompareFolded(std::u16string_view a, std::u16string_view b) {
  std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    char16_t x = FoldUnit(a[i]), y = FoldUnit(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

DWORD AttributesOf(const struct stat& status) {
  DWORD attributes = 0;
  if (S_ISDIR(status.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  // The owner's rights do not say it: we may run as root, who may write anything.
  if ((status.st_mode & 0222) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case ELOOP:
      return ERROR_CANT_RESOLVE_FILENAME;
    case ENAMETOOLONG:
      return ERROR_INVALID_NAME;
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_GEN_FAILURE;
  }
}

}  // namespace platform
