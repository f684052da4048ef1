// The Pocket PC menu bar: a bar at the bottom of the screen whose buttons are
// the top-level items of a menu; a popup opens upward above its button, and
// commands reach the owner as WM_COMMAND.
#include <algorithm>

#include "aygshell.h"
#include "device/device.h"
#include "service.h"
#include "shell_objects.h"
#include "user_internal.h"
#include "winbase.h"

namespace platform {
namespace {

void SendCommand(HWND owner, UINT id) {
  // Posted, as a tap is: the command runs from the owner's message loop.
  PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
}

}  // namespace

void RegisterMenuBarClass() { RegisterBuiltinClass(u"menu_worker", StateHandedOverProc<MenuBarState>); }

MenuBarState* MenuBarOf(HWND menuBar) { return StateOf<MenuBarState>(menuBar); }

RECT MenuBarButtonRect(HWND menuBar, int index) {
  const Window* w = FindWindowObject(menuBar);
  const MenuBarState* state = MenuBarOf(menuBar);
  if (!w || !state || state->menu.items.empty()) return RECT{};
  int count = static_cast<int>(state->menu.items.size());
  int width = w->Width() / count;
  RECT r = w->rect;
  r.left += index * width;
  r.right = index == count - 1 ? w->rect.right : r.left + width;
  return r;
}

bool MenuBarTapButton(HWND menuBar, int index) {
  MenuBarState* state = MenuBarOf(menuBar);
  if (!state || index < 0 || index >= static_cast<int>(state->menu.items.size())) return false;
  const Window* owner = FindWindowObject(state->owner);
  if (!owner || !owner->Enabled()) return false;
  const MenuItem& item = state->menu.items[static_cast<std::size_t>(index)];
  if (item.IsPopup()) {
    bool reopen = state->openPopup != index;
    state->openPopup = reopen ? index : -1;
    state->popupFocus = -1;
    return true;
  }
  state->openPopup = -1;
  if (item.separator || item.grayed) return false;
  SendCommand(state->owner, item.id);
  return true;
}

bool MenuBarTapPopupItem(HWND menuBar, int itemIndex) {
  MenuBarState* state = MenuBarOf(menuBar);
  if (!state || state->openPopup < 0) return false;
  const MenuItem& popup = state->menu.items[static_cast<std::size_t>(state->openPopup)];
  if (itemIndex < 0 || itemIndex >= static_cast<int>(popup.popup.size())) return false;
  const MenuItem& item = popup.popup[static_cast<std::size_t>(itemIndex)];
  if (item.separator || item.grayed || item.IsPopup()) return false;
  state->openPopup = -1;
  state->popupFocus = -1;
  SendCommand(state->owner, item.id);
  return true;
}

void MenuBarClosePopup(HWND menuBar) {
  if (MenuBarState* state = MenuBarOf(menuBar)) {
    state->openPopup = -1;
    state->popupFocus = -1;
  }
}

}  // namespace platform

using namespace platform;

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
  ServiceCall call("SHCreateMenuBar");
  if (call.Fails()) return FALSE;
  if (!info || (info->cbSize != SHMENUBARINFO_DEVICE_SIZE && info->cbSize != sizeof(SHMENUBARINFO)) ||
      !FindWindowObject(info->hwndParent)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto state = std::make_unique<MenuBarState>();
  state->owner = info->hwndParent;
  if (info->dwFlags & SHCMBF_HMENU) {
    HMENU menu = LoadMenuW(info->hInstRes, MAKEINTRESOURCEW(info->nToolBarId));
    const MenuObject* object = menu ? Menus().Find(menu) : nullptr;
    if (!object) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return FALSE;
    }
    state->menu = *object;
    DestroyMenu(menu);
  } else if (!(info->dwFlags & SHCMBF_EMPTYBAR)) {
    // Tool-bar resources are not supported: only menus and empty bars.
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  const device::Device& d = device::Current();
  CreateParams p;
  p.className = u"menu_worker";
  p.style = WS_POPUP | ((info->dwFlags & SHCMBF_HIDDEN) ? 0 : WS_VISIBLE);
  p.x = 0;
  p.y = d.ScreenHeight() - kMenuBarHeight;
  p.width = d.ScreenWidth();
  p.height = kMenuBarHeight;
  p.parent = info->hwndParent;
  p.param = state.release();
  HWND bar = CreateWindowObject(p);
  if (!bar) {
    delete static_cast<MenuBarState*>(p.param);
    return FALSE;
  }
  info->hwndMB = bar;
  return TRUE;
}
