// Files on the device: opening for reading, reading, deleting, attributes.
// The device is read for its shortcuts; nothing here writes a file.
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <mutex>

#include "handle_table.h"
#include "kernel/device_path.h"
#include "kernel/open_files.h"
#include "kernel_objects.h"
#include "process_objects.h"
#include "service.h"
#include "winbase.h"

namespace platform {
namespace {

struct OpenFile {
  UniqueFd fd;
};

std::mutex g_mutex;

HandleTable<OpenFile>& Files() {
  static HandleTable<OpenFile> table(HandleKind::File);
  return table;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Only plain files are files on the device. Read rights are judged from the
// mode bits alone, as for deleting: the host may let root read anything.
bool ReadableFile(const struct stat& status) { return S_ISREG(status.st_mode) && (status.st_mode & 0444) != 0; }

}  // namespace

std::size_t LiveFileHandles() {
  std::lock_guard lock(g_mutex);
  return Files().Live();
}

void ResetFileTable() {
  std::lock_guard lock(g_mutex);
  Files().Clear();
}

bool CloseFileHandle(HANDLE handle) {
  std::lock_guard lock(g_mutex);
  return Files().Remove(handle) != nullptr;
}

void ResetKernelTables() {
  ReleaseDeviceRoot();
  ResetFileTable();
  ResetFindTable();
  ResetMutexTable();
}

}  // namespace platform

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
  platform::ServiceCall call("CreateFileW");
  if (call.Fails(ERROR_ACCESS_DENIED)) return INVALID_HANDLE_VALUE;
  (void)shareMode;
  (void)security;
  (void)flagsAndAttributes;
  (void)templateFile;
  if (!fileName || creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  if (creationDisposition != OPEN_EXISTING || (desiredAccess & ~GENERIC_READ) != 0) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return INVALID_HANDLE_VALUE;
  }
  // A name spelled as on the host opens in one step; any other goes through
  // the lookup, which also earns the right error.
  platform::UniqueFd fd = platform::OpenExactForReading(fileName);
  struct stat opened;
  if (fd.Valid()) {
    if (::fstat(fd.Get(), &opened) != 0 || !platform::ReadableFile(opened)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return INVALID_HANDLE_VALUE;
    }
  } else {
    platform::HostEntry entry;
    if (DWORD error = platform::ResolveDevicePath(fileName, platform::FinalLink::Follow, &entry)) {
      SetLastError(error);
      return INVALID_HANDLE_VALUE;
    }
    if (!platform::ReadableFile(entry.status)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return INVALID_HANDLE_VALUE;
    }
    fd.Reset(::openat(entry.dir.Get(), entry.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
      int error = errno;
      SetLastError(error == ELOOP ? ERROR_ACCESS_DENIED : platform::ErrorFromErrno(error));
      return INVALID_HANDLE_VALUE;
    }
    if (::fstat(fd.Get(), &opened) != 0 || !S_ISREG(opened.st_mode) || !platform::SameFile(opened, entry.status)) {
      SetLastError(ERROR_ACCESS_DENIED);  // replaced between the lookup and the open
      return INVALID_HANDLE_VALUE;
    }
  }
  auto file = std::make_unique<platform::OpenFile>();
  file->fd = std::move(fd);
  std::lock_guard lock(platform::g_mutex);
  return platform::Files().Add<HANDLE>(std::move(file));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, OVERLAPPED* overlapped) {
  platform::ServiceCall call("ReadFile");
  if (call.Fails()) return FALSE;
  if (bytesRead) *bytesRead = 0;
  std::lock_guard lock(platform::g_mutex);
  platform::OpenFile* open = platform::Files().Find(file);
  if (!open) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (overlapped || (!buffer && bytesToRead > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto* out = static_cast<char*>(buffer);
  DWORD done = 0;
  while (done < bytesToRead) {
    DWORD asked = bytesToRead - done;
    ssize_t got = ::read(open->fd.Get(), out + done, asked);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      if (bytesRead) *bytesRead = done;
      SetLastError(platform::ErrorFromErrno(errno));
      return FALSE;
    }
    if (got == 0) break;
    done += static_cast<DWORD>(got);
    // Only plain files are opened, and a plain file's read comes back short
    // only at its end: asking again would cost a call to learn nothing.
    if (static_cast<DWORD>(got) < asked) break;
  }
  if (bytesRead) *bytesRead = done;
  return TRUE;
}

BOOL CloseHandle(HANDLE object) {
  platform::ServiceCall call("CloseHandle");
  if (call.Fails(ERROR_INVALID_HANDLE)) return FALSE;
  if (platform::CloseFileHandle(object) || platform::CloseMutexHandle(object) || platform::Processes().Remove(object))
    return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

BOOL DeleteFileW(LPCWSTR fileName) {
  platform::ServiceCall call("DeleteFileW");
  if (call.Fails(ERROR_ACCESS_DENIED)) return FALSE;
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  platform::HostEntry entry;
  if (DWORD error = platform::ResolveDevicePath(fileName, platform::FinalLink::Keep, &entry)) {
    SetLastError(error);
    return FALSE;
  }
  const struct stat& status = entry.status;
  bool denied = entry.name == "." || S_ISDIR(status.st_mode);
  if (S_ISLNK(status.st_mode)) {
    // A link stands for what it leads to: one to a folder is a folder.
    platform::HostEntry target;
    denied = platform::ResolveDevicePath(fileName, platform::FinalLink::Follow, &target) == ERROR_SUCCESS &&
             S_ISDIR(target.status.st_mode);
  } else if ((status.st_mode & 0222) == 0) {
    denied = true;  // read-only
  }
  if (denied) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (platform::HeldOpenOnHost(status.st_dev, status.st_ino)) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }
  // Remove only the entry that was judged, not one that took its name since.
  struct stat now;
  if (::fstatat(entry.dir.Get(), entry.name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) {
    SetLastError(platform::ErrorFromErrno(errno));
    return FALSE;
  }
  if (!platform::SameFile(now, status)) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }
  if (::unlinkat(entry.dir.Get(), entry.name.c_str(), 0) != 0) {
    SetLastError(platform::ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR fileName) {
  platform::ServiceCall call("GetFileAttributesW");
  if (call.Fails(ERROR_ACCESS_DENIED)) return INVALID_FILE_ATTRIBUTES;
  if (!fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  platform::HostEntry entry;
  if (DWORD error = platform::ResolveDevicePath(fileName, platform::FinalLink::Follow, &entry)) {
    SetLastError(error);
    return INVALID_FILE_ATTRIBUTES;
  }
  return platform::AttributesOf(entry.status);
}
