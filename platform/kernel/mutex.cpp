// Named mutexes, shared by every process running on the same device.
//
// A name is a lock file in the device's runtime folder (outside the device),
// and a holder keeps a shared flock on it for as long as its handle is open.
// An opener that can briefly take the lock exclusively knows nobody else holds
// it: the mutex is new. The kernel drops a process's locks when it dies, so a
// crashed holder leaves nothing behind that counts. Openers probe one at a time
// under a guard lock, as turning the exclusive lock into a shared one is not
// atomic. Ownership (initialOwner, waiting) is not modelled: the device's
// programs use a named mutex only to find another running instance.
//
// Names longer than 120 bytes of UTF-8 are refused with ERROR_INVALID_NAME, so
// that their lock files keep within the host's name length.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "codepage.h"
#include "device/device.h"
#include "handle_table.h"
#include "kernel/device_path.h"
#include "kernel_objects.h"
#include "service.h"
#include "winbase.h"

namespace platform {
namespace {

constexpr std::size_t kMaxNameBytes = 120;

struct MutexObject {
  UniqueFd lock;  // none for an unnamed mutex
};

std::mutex g_mutex;

HandleTable<MutexObject>& Mutexes() {
  static HandleTable<MutexObject> table(HandleKind::Mutex);
  return table;
}

HANDLE AddMutex(UniqueFd lock) {
  auto object = std::make_unique<MutexObject>();
  object->lock = std::move(lock);
  std::lock_guard guard(g_mutex);
  return Mutexes().Add<HANDLE>(std::move(object));
}

// Creates |dir| private to this user, or checks that the one there is.
DWORD EnsurePrivateDir(const std::filesystem::path& dir) {
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return ErrorFromErrno(errno);
  struct stat status;
  if (::lstat(dir.c_str(), &status) != 0) return ErrorFromErrno(errno);
  if (!S_ISDIR(status.st_mode) || status.st_uid != ::getuid()) return ERROR_ACCESS_DENIED;
  return ERROR_SUCCESS;
}

bool Inside(const std::filesystem::path& path, const std::filesystem::path& root) {
  std::error_code ec;
  std::filesystem::path a = std::filesystem::weakly_canonical(path, ec);
  if (ec) return true;  // cannot tell: assume the worst
  std::filesystem::path b = std::filesystem::weakly_canonical(root, ec);
  if (ec) return true;
  std::filesystem::path rel = a.lexically_relative(b);
  return !rel.empty() && *rel.begin() != "..";
}

int LockWait(int fd, int operation) {
  int result;
  do {
    result = ::flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

// Opens the lock file of |name|; |created| tells whether no one else held it.
DWORD OpenNamed(const std::string& name, UniqueFd* lock, bool* created) {
  const device::Device& device = device::Current();
  const std::filesystem::path& dir = device.RuntimeDir();
  if (dir.empty() || Inside(dir, device.Root())) return ERROR_ACCESS_DENIED;
  if (DWORD error = EnsurePrivateDir(dir.parent_path())) return error;
  if (DWORD error = EnsurePrivateDir(dir)) return error;

  static const char kHex[] = "0123456789abcdef";
  std::string file = "mutex-";
  for (unsigned char c : name) {
    file += kHex[c >> 4];
    file += kHex[c & 15];
  }
  UniqueFd guard(::open((dir / ".guard").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!guard.Valid() || LockWait(guard.Get(), LOCK_EX) != 0) return ErrorFromErrno(errno);
  UniqueFd fd(::open((dir / file).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!fd.Valid()) return ErrorFromErrno(errno);
  if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) {
    *created = true;
  } else if (errno == EWOULDBLOCK) {
    *created = false;
  } else {
    return ErrorFromErrno(errno);
  }
  if (LockWait(fd.Get(), LOCK_SH) != 0) return ErrorFromErrno(errno);
  *lock = std::move(fd);
  return ERROR_SUCCESS;
}

}  // namespace

std::size_t LiveMutexHandles() {
  std::lock_guard guard(g_mutex);
  return Mutexes().Live();
}

void ResetMutexTable() {
  std::lock_guard guard(g_mutex);
  Mutexes().Clear();
}

bool CloseMutexHandle(HANDLE handle) {
  std::lock_guard guard(g_mutex);
  return Mutexes().Remove(handle) != nullptr;
}

}  // namespace platform

HANDLE CreateMutexW(SECURITY_ATTRIBUTES* security, BOOL initialOwner, LPCWSTR name) {
  platform::ServiceCall call("CreateMutexW");
  if (call.Fails(ERROR_ACCESS_DENIED)) return nullptr;
  (void)security;
  (void)initialOwner;
  if (!name || !*name) {
    HANDLE handle = platform::AddMutex(platform::UniqueFd());
    SetLastError(ERROR_SUCCESS);
    return handle;
  }
  std::string utf8;
  if (!platform::Utf16ToUtf8(name, &utf8) || utf8.size() > platform::kMaxNameBytes) {
    SetLastError(ERROR_INVALID_NAME);
    return nullptr;
  }
  platform::UniqueFd lock;
  bool created = false;
  if (DWORD error = platform::OpenNamed(utf8, &lock, &created)) {
    SetLastError(error);
    return nullptr;
  }
  HANDLE handle = platform::AddMutex(std::move(lock));
  SetLastError(created ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
  return handle;
}
