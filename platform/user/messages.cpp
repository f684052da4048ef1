// The message queue and message delivery.
#include <algorithm>
#include <cstring>
#include <deque>

#include "device/device.h"
#include "instance_link.h"
#include "service.h"
#include "user_internal.h"
#include "winbase.h"

namespace platform {
namespace {

std::deque<MSG> g_queue;
bool g_quitPosted = false;
int g_quitCode = 0;

bool Matches(const MSG& m, HWND window, UINT filterMin, UINT filterMax) {
  if (window && m.hwnd != window) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return m.message >= filterMin && m.message <= filterMax;
}

// Takes the first queued message that matches; WM_QUIT comes once the queue
// holds nothing else, as the system delivers it.
bool TakeMessage(MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove) {
  for (auto it = g_queue.begin(); it != g_queue.end(); ++it) {
    if (!Matches(*it, window, filterMin, filterMax)) continue;
    *out = *it;
    if (remove) g_queue.erase(it);
    return true;
  }
  if (g_quitPosted) {
    *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(g_quitCode), 0, GetTickCount(), {}};
    if (remove) g_quitPosted = false;
    return true;
  }
  return false;
}

// Asks the user for input unless a message is already waiting. A caller that
// filters its messages passes |force|: what waits may not be for it.
void WaitForInput(bool force = false) {
  ServiceRequests();
  if (!force && (!g_queue.empty() || g_quitPosted)) return;
  device::InputSource* input = device::Current().input;
  if (input) {
    input->Idle();
  } else {
    // Nothing can ever arrive: end the loop rather than hang.
    g_quitPosted = true;
  }
}

}  // namespace

void DropQueuedMessages(HWND window) {
  std::erase_if(g_queue, [window](const MSG& m) { return m.hwnd == window; });
}

void ResetMessageQueue() {
  g_queue.clear();
  g_quitPosted = false;
  g_quitCode = 0;
}

bool RunNestedLoop(const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    if (!TakeMessage(&msg, nullptr, 0, 0, true)) {
      WaitForInput();
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace platform

using namespace platform;

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ServiceCall call("SendMessageW", MessageName(message));
  if (call.Fails()) return RefusedMessageResult(message);
  Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return CallWindow(*w, message, wParam, lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ServiceCall call("PostMessageW", MessageName(message));
  if (call.Fails()) return FALSE;
  if (window && !FindWindowObject(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  g_queue.push_back(MSG{window, message, wParam, lParam, GetTickCount(), {}});
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  g_quitPosted = true;
  g_quitCode = exitCode;
}

BOOL GetMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  bool filtered = window || filterMin || filterMax;
  while (!TakeMessage(msg, window, filterMin, filterMax, true)) WaitForInput(filtered);
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
  if (!msg) return FALSE;
  ServiceRequests();
  return TakeMessage(msg, window, filterMin, filterMax, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  Window* w = FindWindowObject(msg->hwnd);
  if (!w) return 0;
  return CallWindow(*w, msg->message, msg->wParam, msg->lParam);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  CallOut out;
  return proc(window, message, wParam, lParam);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = FindWindowObject(window);
  if (!w) return 0;
  switch (message) {
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
      return TRUE;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_GETTEXT: {
      auto* out = reinterpret_cast<LPWSTR>(lParam);
      int max = static_cast<int>(wParam);
      if (!out || max <= 0) return 0;
      int n = std::min(max - 1, static_cast<int>(w->text.size()));
      std::copy_n(w->text.data(), n, out);
      out[n] = 0;
      return n;
    }
    case WM_SETICON: {
      HICON* slot = wParam == ICON_BIG ? &w->bigIcon : &w->smallIcon;
      HICON old = *slot;
      *slot = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->bigIcon : w->smallIcon);
    case WM_CLOSE:
      DestroyWindowObject(window);
      return 0;
    default:
      return 0;
  }
}
