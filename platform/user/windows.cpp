// The window table, window classes, creation and destruction, and the
// window's own properties.
#include <algorithm>
#include <map>
#include <string>

#include "remote_windows.h"
#include "service.h"
#include "user_internal.h"
#include "winbase.h"
#include "window_objects.h"

namespace platform {
namespace {

struct WindowClass {
  WNDPROC proc = nullptr;
  bool builtin = false;
};

HandleTable<Window> g_windows(HandleKind::Window);
std::vector<HWND> g_topLevel;
HWND g_foreground = nullptr;
HWND g_focus = nullptr;

std::u16string FoldClassName(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return folded;
}

std::map<std::u16string, WindowClass>& Classes() {
  static std::map<std::u16string, WindowClass> classes;
  return classes;
}

std::u16string ClassNameOf(LPCWSTR className) {
  if (!className) return {};
  if (IS_INTRESOURCE(className)) return ClassNameForOrdinal(static_cast<WORD>(reinterpret_cast<UINT_PTR>(className)));
  return className;
}

}  // namespace

HandleTable<Window>& Windows() { return g_windows; }

Window* FindWindowObject(HWND window) { return g_windows.Find(window); }

const std::vector<HWND>& TopLevelOrder() { return g_topLevel; }

bool SameClassName(std::u16string_view a, std::u16string_view b) { return FoldClassName(a) == FoldClassName(b); }

std::u16string ClassNameForOrdinal(WORD ordinal) {
  switch (ordinal) {
    case 0x80:
      return u"Button";
    case 0x81:
      return u"Edit";
    case 0x82:
      return u"Static";
    case 0x83:
      return u"ListBox";
    case 0x84:
      return u"ScrollBar";
    case 0x85:
      return u"ComboBox";
    default: {
      std::u16string name = u"#";
      for (char c : std::to_string(ordinal)) name += static_cast<char16_t>(c);
      return name;
    }
  }
}

void RegisterBuiltinClass(std::u16string name, WNDPROC proc) {
  Classes()[FoldClassName(name)] = WindowClass{proc, true};
}

RECT ScreenRect(const Window& window) {
  RECT r = window.rect;
  for (HWND p = window.parent; p;) {
    const Window* parent = FindWindowObject(p);
    if (!parent) break;
    r.left += parent->rect.left;
    r.right += parent->rect.left;
    r.top += parent->rect.top;
    r.bottom += parent->rect.top;
    p = parent->parent;
  }
  return r;
}

LRESULT CallWindow(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = window.proc;
  HWND handle = window.handle;
  if (!proc) return DefWindowProcW(handle, message, wParam, lParam);
  if (window.builtinProc) return proc(handle, message, wParam, lParam);
  CallOut out;
  return proc(handle, message, wParam, lParam);
}

HWND CreateWindowObject(const CreateParams& p) {
  auto it = Classes().find(FoldClassName(p.className));
  if (it == Classes().end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Window* parent = nullptr;
  if (p.parent && (p.style & WS_CHILD)) {
    parent = FindWindowObject(p.parent);
    if (!parent) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
  }
  auto object = std::make_unique<Window>();
  object->className = p.className;
  object->proc = it->second.proc;
  object->builtinProc = it->second.builtin;
  object->style = p.style;
  object->exStyle = p.exStyle;
  object->rect = RECT{p.x, p.y, p.x + std::max(0, p.width), p.y + std::max(0, p.height)};
  object->text = p.text;
  object->instance = p.instance;
  if (parent) {
    object->parent = p.parent;
    object->id = p.id;
  } else {
    object->owner = p.parent && FindWindowObject(p.parent) ? p.parent : nullptr;
  }
  if (p.configure) p.configure(*object);
  HWND handle = g_windows.Add<HWND>(std::move(object));
  Window* w = FindWindowObject(handle);
  w->handle = handle;
  if (parent)
    parent->children.push_back(handle);
  else
    g_topLevel.push_back(handle);

  CREATESTRUCTW cs{p.param, p.instance, nullptr,  p.parent, p.height, p.width, p.y, p.x, static_cast<LONG>(p.style),
                   nullptr, nullptr,    p.exStyle};
  if (CallWindow(*w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindowObject(handle);
    SetLastError(ERROR_GEN_FAILURE);
    return nullptr;
  }
  return handle;
}

void DestroyWindowObject(HWND handle) {
  Window* w = FindWindowObject(handle);
  if (!w || w->destroying) return;
  w->destroying = true;
  // Owned top-level windows go first, then children, as the system does.
  std::vector<HWND> owned;
  for (HWND top : g_topLevel) {
    const Window* t = FindWindowObject(top);
    if (t && t->owner == handle) owned.push_back(top);
  }
  for (HWND o : owned) DestroyWindowObject(o);
  if (FindWindowObject(handle)) CallWindow(*FindWindowObject(handle), WM_DESTROY, 0, 0);
  w = FindWindowObject(handle);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) DestroyWindowObject(c);
  w = FindWindowObject(handle);
  if (!w) return;
  CallWindow(*w, WM_NCDESTROY, 0, 0);
  w = FindWindowObject(handle);
  if (!w) return;
  if (w->parent) {
    if (Window* parent = FindWindowObject(w->parent)) std::erase(parent->children, handle);
  } else {
    std::erase(g_topLevel, handle);
  }
  if (g_foreground == handle) g_foreground = g_topLevel.empty() ? nullptr : g_topLevel.back();
  if (g_focus == handle) g_focus = nullptr;
  DropQueuedMessages(handle);
  g_windows.Remove(handle);
}

HWND ForegroundWindowObject() { return g_foreground; }

void SetForegroundWindowObject(HWND window) {
  if (!FindWindowObject(window)) return;
  g_foreground = window;
  std::erase(g_topLevel, window);
  g_topLevel.push_back(window);
  // Windows it owns stay above it.
  std::vector<HWND> owned;
  for (HWND top : g_topLevel) {
    const Window* t = FindWindowObject(top);
    if (t && t->owner == window) owned.push_back(top);
  }
  for (HWND o : owned) {
    std::erase(g_topLevel, o);
    g_topLevel.push_back(o);
  }
}

void ResetWindowTables() {
  std::erase_if(Classes(), [](const auto& entry) { return !entry.second.builtin; });
  g_windows.Clear();
  g_topLevel.clear();
  g_foreground = nullptr;
  g_focus = nullptr;
  ResetMessageQueue();
}

HWND FocusWindowObject() { return g_focus; }
void SetFocusObject(HWND window) { g_focus = window; }

}  // namespace platform

using namespace platform;

ATOM RegisterClassW(const WNDCLASSW* wc) {
  ServiceCall call("RegisterClassW");
  if (call.Fails()) return 0;
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc || IS_INTRESOURCE(wc->lpszClassName)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string name = FoldClassName(wc->lpszClassName);
  auto& classes = Classes();
  if (classes.count(name)) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return 0;
  }
  classes[name] = WindowClass{wc->lpfnWndProc, false};
  return static_cast<ATOM>(0xC000 + classes.size());
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param) {
  ServiceCall call("CreateWindowExW");
  if (call.Fails(ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  CreateParams p;
  p.exStyle = exStyle;
  p.className = ClassNameOf(className);
  p.text = windowName ? windowName : u"";
  p.style = style;
  p.x = x;
  p.y = y;
  p.width = width;
  p.height = height;
  p.parent = parent;
  p.id = static_cast<int>(reinterpret_cast<UINT_PTR>(menuOrId));
  p.instance = instance;
  p.param = param;
  return CreateWindowObject(p);
}

BOOL DestroyWindow(HWND window) {
  ServiceCall call("DestroyWindow");
  if (call.Fails()) return FALSE;
  if (!FindWindowObject(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  DestroyWindowObject(window);
  return TRUE;
}

BOOL IsWindow(HWND window) { return FindWindowObject(window) ? TRUE : FALSE; }

HWND GetParent(HWND window) {
  const Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return w->parent ? w->parent : w->owner;
}

HWND GetWindow(HWND window, UINT relation) {
  const Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return relation == GW_OWNER ? w->owner : nullptr;
}

BOOL ShowWindow(HWND window, int command) {
  ServiceCall call("ShowWindow");
  Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  BOOL wasVisible = w->Visible() ? TRUE : FALSE;
  if (command == SW_HIDE)
    w->style &= ~WS_VISIBLE;
  else
    w->style |= WS_VISIBLE;
  return wasVisible;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  BOOL wasDisabled = w->Enabled() ? FALSE : TRUE;
  if (enable)
    w->style &= ~WS_DISABLED;
  else
    w->style |= WS_DISABLED;
  if (static_cast<bool>(wasDisabled) != !enable) CallWindow(*w, WM_ENABLE, enable ? 1 : 0, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
  const Window* w = FindWindowObject(window);
  return w && w->Enabled() ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
  const Window* w = FindWindowObject(window);
  return w && w->Visible() ? TRUE : FALSE;
}

BOOL SetForegroundWindow(HWND window) {
  ServiceCall call("SetForegroundWindow");
  if (call.Fails()) return FALSE;
  if (const RemoteWindow* remote = FindRemoteWindow(window)) return AskToComeForward(*remote) ? TRUE : FALSE;
  if (!FindWindowObject(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  SetForegroundWindowObject(window);
  return TRUE;
}

HWND GetForegroundWindow() { return ForegroundWindowObject(); }

HWND SetFocus(HWND window) {
  HWND old = g_focus;
  if (window && !FindWindowObject(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  g_focus = window;
  return old;
}

HWND GetFocus() { return g_focus; }

BOOL GetWindowRect(HWND window, RECT* rect) {
  const Window* w = FindWindowObject(window);
  if (!w || !rect) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = ScreenRect(*w);
  return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
  const Window* w = FindWindowObject(window);
  if (!w || !rect) {
    SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *rect = RECT{0, 0, w->Width(), w->Height()};
  return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
  ServiceCall call("MoveWindow");
  if (call.Fails()) return FALSE;
  if (!FindWindowObject(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  PlaceWindow(window, x, y, width, height, 0);
  return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int cx, int cy, UINT flags) {
  ServiceCall call("SetWindowPos");
  if (call.Fails()) return FALSE;
  if (!FindWindowObject(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  PlaceWindow(window, x, y, cx, cy, flags);
  return TRUE;
}

namespace platform {

void PlaceWindow(HWND window, int x, int y, int cx, int cy, UINT flags) {
  Window* w = FindWindowObject(window);
  if (!w) return;
  RECT r = w->rect;
  if (!(flags & SWP_NOMOVE)) {
    int width = r.right - r.left, height = r.bottom - r.top;
    r = RECT{x, y, x + width, y + height};
  }
  if (!(flags & SWP_NOSIZE)) {
    r.right = r.left + std::max(0, cx);
    r.bottom = r.top + std::max(0, cy);
  }
  bool resized = (r.right - r.left) != w->Width() || (r.bottom - r.top) != w->Height();
  w->rect = r;
  if (resized)
    CallWindow(*w, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(static_cast<WORD>(r.right - r.left), static_cast<WORD>(r.bottom - r.top)));
}

}  // namespace platform

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
  ServiceCall call("SetWindowTextW");
  if (call.Fails()) return FALSE;
  Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return static_cast<BOOL>(CallWindow(*w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")));
}

int GetWindowTextW(HWND window, LPWSTR text, int maxCount) {
  Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(CallWindow(*w, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND window) {
  Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return static_cast<int>(CallWindow(*w, WM_GETTEXTLENGTH, 0, 0));
}

int GetDlgCtrlID(HWND window) {
  const Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return w->id;
}

LONG GetWindowLongW(HWND window, int index) {
  const Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(w->exStyle);
    case GWL_ID:
      return w->id;
    default:
      return static_cast<LONG>(GetWindowLongPtrW(window, index));
  }
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
  Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LONG_PTR* slot = nullptr;
  if (w->isDialog && index == DWL_MSGRESULT)
    slot = &w->msgResult;
  else if (w->isDialog && index == DWL_USER)
    slot = &w->dlgUser;
  else if (index == GWLP_USERDATA)
    slot = &w->userData;
  if (!slot) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  LONG_PTR old = *slot;
  *slot = value;
  return old;
}

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
  const Window* w = FindWindowObject(window);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (w->isDialog && index == DWL_MSGRESULT) return w->msgResult;
  if (w->isDialog && index == DWL_USER) return w->dlgUser;
  if (index == GWLP_USERDATA) return w->userData;
  SetLastError(ERROR_INVALID_PARAMETER);
  return 0;
}

BOOL InvalidateRect(HWND window, const RECT*, BOOL) { return IsWindow(window); }

BOOL UpdateWindow(HWND window) { return IsWindow(window); }

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  ServiceCall call("FindWindowW");
  for (HWND top : g_topLevel) {
    const Window* w = FindWindowObject(top);
    if (!w) continue;
    if (className && !IS_INTRESOURCE(className) && !SameClassName(w->className, className)) continue;
    if (windowName && w->text != windowName) continue;
    return top;
  }
  return nullptr;
}

namespace platform {

LRESULT NotifyParent(HWND control, UINT code) {
  const Window* w = FindWindowObject(control);
  if (!w || !w->parent) return 0;
  Window* parent = FindWindowObject(w->parent);
  if (!parent) return 0;
  NMHDR header{control, static_cast<UINT_PTR>(w->id), code};
  return CallWindow(*parent, WM_NOTIFY, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&header));
}

}  // namespace platform
