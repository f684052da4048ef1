// Enumerating a folder of the device. The listing is taken whole when the
// enumeration starts and handed out in the device's order: by name, compared
// without regard to case.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "handle_table.h"
#include "kernel/device_path.h"
#include "kernel_objects.h"
#include "service.h"
#include "winbase.h"

namespace platform {
namespace {

struct Found {
  std::u16string name;
  DWORD attributes;
  std::uint64_t size;
  FILETIME created, accessed, written;
};

struct Enumeration {
  std::vector<Found> entries;
  std::size_t next = 0;
};

std::mutex g_mutex;

HandleTable<Enumeration>& Finds() {
  static HandleTable<Enumeration> table(HandleKind::Find);
  return table;
}

FILETIME FileTimeOf(const struct timespec& time) {
  // 100-nanosecond intervals since 1601-01-01.
  constexpr std::int64_t kEpochOffset = 11644473600LL;
  std::int64_t ticks = (static_cast<std::int64_t>(time.tv_sec) + kEpochOffset) * 10000000LL + time.tv_nsec / 100;
  if (ticks < 0) ticks = 0;
  return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32)};
}

// '*' matches any run of characters, '?' exactly one; both sides are folded.
bool Matches(std::u16string_view pattern, std::u16string_view name) {
  std::size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
      ++p, ++n;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::u16string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

void Fill(const Found& found, WIN32_FIND_DATAW* data) {
  std::memset(data, 0, sizeof *data);
  data->dwFileAttributes = found.attributes;
  data->ftCreationTime = found.created;
  data->ftLastAccessTime = found.accessed;
  data->ftLastWriteTime = found.written;
  data->nFileSizeHigh = static_cast<DWORD>(found.size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(found.size & 0xFFFFFFFF);
  std::memcpy(data->cFileName, found.name.data(), found.name.size() * sizeof(char16_t));
}

// Lists the matches of |pattern| (folded) in |dir|, whose device path is |dirPath|.
DWORD List(std::u16string_view dirPath, const HostEntry& dir, std::u16string_view pattern, std::vector<Found>* out) {
  UniqueFd fd(::openat(dir.dir.Get(), dir.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd.Valid()) return errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno);
  int dirFd = fd.Get();
  DIR* listing = ::fdopendir(dirFd);
  if (!listing) return ErrorFromErrno(errno);
  fd.Release();
  std::u16string name, folded;  // reused for every entry
  while (dirent* entry = ::readdir(listing)) {
    if (!DeviceNameOf(entry->d_name, &name)) continue;
    FoldNameInto(name, &folded);
    if (!Matches(pattern, folded)) continue;
    struct stat status;
    if (::fstatat(dirFd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
    DWORD attributes;
    if (S_ISLNK(status.st_mode)) {
      // Shown as what it leads to; one that leads out or nowhere is a bare name.
      std::u16string path(dirPath);
      path += u'\\';
      path += name;
      HostEntry target;
      if (ResolveDevicePath(path, FinalLink::Follow, &target) == ERROR_SUCCESS) {
        status = target.status;
        attributes = AttributesOf(status);
      } else {
        status.st_size = 0;
        attributes = FILE_ATTRIBUTE_NORMAL;
      }
    } else {
      attributes = AttributesOf(status);
    }
    std::uint64_t size = S_ISDIR(status.st_mode) ? 0 : static_cast<std::uint64_t>(status.st_size);
    out->push_back(Found{name, attributes, size, FileTimeOf(status.st_ctim), FileTimeOf(status.st_atim),
                         FileTimeOf(status.st_mtim)});
  }
  ::closedir(listing);
  std::sort(out->begin(), out->end(), [](const Found& a, const Found& b) {
    int order = CompareFolded(a.name, b.name);
    return order != 0 ? order < 0 : a.name < b.name;
  });
  return ERROR_SUCCESS;
}

}  // namespace

std::size_t LiveFindHandles() {
  std::lock_guard lock(g_mutex);
  return Finds().Live();
}

void ResetFindTable() {
  std::lock_guard lock(g_mutex);
  Finds().Clear();
}

}  // namespace platform

HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data) {
  platform::ServiceCall call("FindFirstFileW");
  if (call.Fails(ERROR_FILE_NOT_FOUND)) return INVALID_HANDLE_VALUE;
  if (!pattern || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::u16string_view whole(pattern);
  std::size_t split = whole.find_last_of(u"\\/");
  std::u16string_view dirPath = split == std::u16string_view::npos ? std::u16string_view() : whole.substr(0, split);
  std::u16string_view namePattern = split == std::u16string_view::npos ? whole : whole.substr(split + 1);
  if (namePattern == u"..") {
    SetLastError(ERROR_INVALID_NAME);
    return INVALID_HANDLE_VALUE;
  }
  for (char16_t c : namePattern) {
    if (c != u'*' && c != u'?' && platform::ReservedNameChar(c)) {
      SetLastError(ERROR_INVALID_NAME);
      return INVALID_HANDLE_VALUE;
    }
  }
  platform::HostEntry dir;
  if (DWORD error = platform::ResolveDevicePath(dirPath, platform::FinalLink::Follow, &dir)) {
    SetLastError(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
    return INVALID_HANDLE_VALUE;
  }
  if (!S_ISDIR(dir.status.st_mode)) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  // "*.*" has always meant every name, with or without a dot.
  std::u16string folded = namePattern == u"*.*" ? std::u16string(u"*") : platform::FoldName(namePattern);
  auto enumeration = std::make_unique<platform::Enumeration>();
  if (DWORD error = platform::List(dirPath, dir, folded, &enumeration->entries)) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
  }
  if (enumeration->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  platform::Fill(enumeration->entries[0], data);
  enumeration->next = 1;
  std::lock_guard lock(platform::g_mutex);
  return platform::Finds().Add<HANDLE>(std::move(enumeration));
}

BOOL FindNextFileW(HANDLE find, WIN32_FIND_DATAW* data) {
  platform::ServiceCall call("FindNextFileW");
  if (call.Fails()) return FALSE;
  std::lock_guard lock(platform::g_mutex);
  platform::Enumeration* enumeration = platform::Finds().Find(find);
  if (!enumeration) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (enumeration->next >= enumeration->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  platform::Fill(enumeration->entries[enumeration->next++], data);
  return TRUE;
}

BOOL FindClose(HANDLE find) {
  platform::ServiceCall call("FindClose");
  if (call.Fails(ERROR_INVALID_HANDLE)) return FALSE;
  std::lock_guard lock(platform::g_mutex);
  if (!platform::Finds().Remove(find)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
