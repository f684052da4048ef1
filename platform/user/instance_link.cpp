// Programs on the same device find each other's windows through a folder
// private to the device (outside its root): each process that shows a window
// publishes its executable path and top-level windows there, and listens on a
// datagram socket for requests to come to the foreground.
#include "instance_link.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "device/device.h"
#include "shell_objects.h"
#include "user_internal.h"
#include "winbase.h"

namespace platform {
namespace {

int g_socket = -1;
std::filesystem::path g_published;
std::filesystem::path g_socketPath;

std::filesystem::path ProcsDir() { return device::Current().RuntimeDir() / "procs"; }

std::string Utf8(const std::u16string& text) {
  std::string out;
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(std::max(0, n)));
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::u16string OwnExecutable() {
  WCHAR path[1024];
  DWORD n = GetModuleFileNameW(nullptr, path, 1024);
  return std::u16string(path, n);
}

bool ProcessAlive(pid_t pid) { return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM); }

sockaddr_un AddressOf(const std::filesystem::path& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  return address;
}

std::vector<HWND> OwnPublishedWindows() {
  std::vector<HWND> windows;
  for (HWND h : TopLevelOrder()) {
    const Window* w = FindWindowObject(h);
    if (w && w->isDialog && !w->owner) windows.push_back(h);
  }
  return windows;
}

}  // namespace

void PublishProcess() {
  std::error_code ec;
  std::filesystem::create_directories(ProcsDir(), ec);
  ::chmod(device::Current().RuntimeDir().parent_path().c_str(), 0700);
  std::string pid = std::to_string(getpid());
  if (g_socket < 0 && g_socketPath.empty()) {
    g_socketPath = ProcsDir() / (pid + ".sock");
    ::unlink(g_socketPath.c_str());
    g_socket = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un address = AddressOf(g_socketPath);
    if (g_socket >= 0 && ::bind(g_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      ::close(g_socket);
      g_socket = -1;
    }
  }
  g_published = ProcsDir() / pid;
  std::filesystem::path temp = g_published;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::trunc);
    out << Utf8(OwnExecutable()) << '\n';
    for (HWND h : OwnPublishedWindows()) out << std::hex << reinterpret_cast<std::uintptr_t>(h) << '\n';
  }
  std::filesystem::rename(temp, g_published, ec);
}

void ServiceRequests() {
  if (g_socket < 0) return;
  char buffer[128];
  for (;;) {
    ssize_t n = ::recv(g_socket, buffer, sizeof buffer - 1, 0);
    if (n <= 0) return;
    buffer[n] = 0;
    std::uintptr_t value = 0;
    if (std::sscanf(buffer, "FG %zx", &value) != 1) continue;
    HWND window = reinterpret_cast<HWND>(value);
    if (!FindWindowObject(window)) continue;
    SetForegroundWindowObject(window);
    if (device::Events* events = device::Current().events) events->ForegroundRequested();
  }
}

std::vector<RemoteWindow> PublishedWindowsOfOthers() {
  std::vector<RemoteWindow> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(ProcsDir(), ec)) {
    std::string name = entry.path().filename().string();
    if (name.empty() || name.size() > 9 || name.find_first_not_of("0123456789") != std::string::npos) continue;
    pid_t pid = static_cast<pid_t>(std::stol(name));
    if (pid == getpid() || !ProcessAlive(pid)) continue;
    std::ifstream in(entry.path());
    std::string exe, window;
    if (!std::getline(in, exe)) continue;
    while (std::getline(in, window)) {
      std::uintptr_t value = 0;
      if (std::sscanf(window.c_str(), "%zx", &value) == 1 && value)
        found.push_back(RemoteWindow{static_cast<DWORD>(pid), value, exe});
    }
  }
  return found;
}

bool AskToComeForward(const RemoteWindow& window) {
  char request[64];
  int length = std::snprintf(request, sizeof request, "FG %zx", static_cast<std::size_t>(window.value));
  sockaddr_un address = AddressOf(ProcsDir() / (std::to_string(window.pid) + ".sock"));
  int s = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (s < 0) return false;
  ssize_t sent =
      ::sendto(s, request, static_cast<std::size_t>(length), 0, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::close(s);
  return sent == length;
}

std::string ExecutableOfProcess(DWORD pid) {
  if (pid == static_cast<DWORD>(getpid())) return Utf8(OwnExecutable());
  std::ifstream in(ProcsDir() / std::to_string(pid));
  std::string exe;
  if (!ProcessAlive(static_cast<pid_t>(pid)) || !std::getline(in, exe)) return {};
  return exe;
}

void ResetInstanceLink() {
  if (g_socket >= 0) ::close(g_socket);
  g_socket = -1;
  std::error_code ec;
  if (!g_socketPath.empty()) std::filesystem::remove(g_socketPath, ec);
  if (!g_published.empty()) std::filesystem::remove(g_published, ec);
  g_socketPath.clear();
  g_published.clear();
}

}  // namespace platform
