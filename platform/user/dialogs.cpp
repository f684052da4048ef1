// The dialog manager: dialogs and their controls made from templates, the
// dialog procedure protocol, and dialog-unit conversion.
#include <algorithm>
#include <cstring>

#include "device/device.h"
#include "dialog_template.h"
#include "instance_link.h"
#include "service.h"
#include "user_internal.h"
#include "winbase.h"

namespace platform {
namespace {

int MulDivRound(int value, int numerator, int denominator) {
  long long product = static_cast<long long>(value) * numerator;
  long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

RECT DialogUnitsToPixels(RECT r, SIZE units) {
  return RECT{MulDivRound(r.left, units.cx, 4), MulDivRound(r.top, units.cy, 8), MulDivRound(r.right, units.cx, 4),
              MulDivRound(r.bottom, units.cy, 8)};
}

LRESULT CALLBACK_DialogClassProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = FindWindowObject(dialog);
  if (!w) return 0;
  if (w->dlgProc) {
    DLGPROC proc = w->dlgProc;
    w->msgResult = 0;
    INT_PTR handled;
    {
      CallOut out;
      handled = proc(dialog, message, wParam, lParam);
    }
    w = FindWindowObject(dialog);
    if (!w) return handled;
    if (handled) return message == WM_INITDIALOG ? handled : w->msgResult;
  }
  return DefDlgProcW(dialog, message, wParam, lParam);
}

HWND FirstTabStop(const Window& dialog) {
  for (HWND c : dialog.children) {
    const Window* child = FindWindowObject(c);
    if (child && (child->style & WS_TABSTOP) && child->Visible() && child->Enabled()) return c;
  }
  return nullptr;
}

void SetItemImage(HWND control, HINSTANCE instance, const DialogItem& item) {
  DWORD kind = item.style & 0xF;
  if (kind == SS_ICON) {
    if (HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(item.titleOrdinal)))
      CallWindow(*FindWindowObject(control), STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  } else if (kind == SS_BITMAP) {
    if (HBITMAP bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(item.titleOrdinal)))
      CallWindow(*FindWindowObject(control), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  }
}

}  // namespace

SIZE CurrentDialogBaseUnits() {
  const device::Device& d = device::Current();
  return device::DialogBaseUnits(d.ScreenWidth(), d.ScreenHeight());
}

void RegisterDialogClass() { RegisterBuiltinClass(u"#32770", CALLBACK_DialogClassProc); }

HWND CreateDialogFromTemplate(HINSTANCE instance, const DialogTemplate& t, HWND owner, DLGPROC proc, LPARAM param) {
  SIZE units = CurrentDialogBaseUnits();
  RECT frame = DialogUnitsToPixels(RECT{t.x, t.y, t.x + t.cx, t.y + t.cy}, units);
  CreateParams p;
  p.exStyle = t.exStyle;
  p.className = t.className.empty() ? u"#32770" : t.className;
  p.text = t.title;
  p.style = t.style & ~WS_CHILD;
  p.x = frame.left;
  p.y = frame.top;
  p.width = frame.right - frame.left;
  p.height = frame.bottom - frame.top;
  p.parent = owner;
  p.instance = instance;
  p.configure = [&](Window& w) {
    w.isDialog = true;
    w.baseUnits = units;
  };
  HWND dialog = CreateWindowObject(p);
  if (!dialog) return nullptr;
  PublishProcess();

  for (const DialogItem& item : t.items) {
    RECT r = DialogUnitsToPixels(RECT{item.x, item.y, item.x + item.cx, item.y + item.cy}, units);
    CreateParams c;
    c.exStyle = item.exStyle;
    c.className = item.className;
    c.text = item.titleIsOrdinal ? u"" : item.title;
    c.style = item.style | WS_CHILD;
    c.x = r.left;
    c.y = r.top;
    c.width = r.right - r.left;
    c.height = r.bottom - r.top;
    c.parent = dialog;
    c.id = item.id;
    c.instance = instance;
    HWND control = CreateWindowObject(c);
    if (!control) {
      DestroyWindowObject(dialog);
      SetLastError(ERROR_GEN_FAILURE);
      return nullptr;
    }
    if (item.titleIsOrdinal && (SameClassName(item.className, u"Static") || SameClassName(item.className, u"Button")))
      SetItemImage(control, instance, item);
  }

  // The dialog procedure is attached only now, so it first hears of the
  // dialog in WM_INITDIALOG, with every control in place.
  Window* w = FindWindowObject(dialog);
  w->dlgProc = proc;
  HWND focus = FirstTabStop(*w);
  LRESULT setFocus = CallWindow(*w, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param);
  w = FindWindowObject(dialog);
  if (!w) return nullptr;
  if (setFocus) {
    if (HWND first = FirstTabStop(*w)) SetFocusObject(first);
  }
  if (w->Visible() && !w->owner) SetForegroundWindowObject(dialog);
  return dialog;
}

}  // namespace platform

using namespace platform;

HWND CreateDialogIndirectParamW(HINSTANCE instance, const DLGTEMPLATE* tmpl, HWND parent, DLGPROC proc,
                                LPARAM initParam) {
  ServiceCall call("CreateDialogIndirectParamW");
  if (call.Fails(ERROR_NOT_ENOUGH_MEMORY)) return nullptr;
  DialogTemplate parsed;
  if (!tmpl || !ParseDialogTemplate(tmpl, SIZE_MAX, &parsed)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (parent && !FindWindowObject(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return CreateDialogFromTemplate(instance, parsed, parent, proc, initParam);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  ServiceCall call("EndDialog");
  if (call.Fails()) return FALSE;
  Window* w = FindWindowObject(dialog);
  if (!w || !w->isDialog) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (w->dialogEnded) return TRUE;
  w->dialogEnded = true;
  w->endResult = result;
  if (!w->owner && device::Current().events) device::Current().events->DialogEnded(result);
  return TRUE;
}

BOOL IsDialogMessageW(HWND dialog, MSG* msg) {
  // Keyboard navigation inside dialogs comes from the front ends as user
  // actions, so no message needs translating here.
  (void)dialog;
  (void)msg;
  return FALSE;
}

HWND GetDlgItem(HWND dialog, int id) {
  ServiceCall call("GetDlgItem");
  if (call.Fails(ERROR_CONTROL_ID_NOT_FOUND)) return nullptr;
  const Window* w = FindWindowObject(dialog);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  for (HWND c : w->children) {
    const Window* child = FindWindowObject(c);
    if (child && static_cast<WORD>(child->id) == static_cast<WORD>(id)) return c;
  }
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  ServiceCall call("SetDlgItemTextW");
  if (call.Fails()) return FALSE;
  HWND control = GetDlgItem(dialog, id);
  return control ? SetWindowTextW(control, text) : FALSE;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  ServiceCall call("SendDlgItemMessageW", MessageName(message));
  if (call.Fails()) return RefusedMessageResult(message);
  HWND control = GetDlgItem(dialog, id);
  if (!control) return 0;
  return CallWindow(*FindWindowObject(control), message, wParam, lParam);
}

BOOL MapDialogRect(HWND dialog, RECT* rect) {
  ServiceCall call("MapDialogRect");
  if (call.Fails()) return FALSE;
  const Window* w = FindWindowObject(dialog);
  if (!w || !w->isDialog) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *rect = DialogUnitsToPixels(*rect, w->baseUnits);
  return TRUE;
}

LONG GetDialogBaseUnits() {
  SIZE units = CurrentDialogBaseUnits();
  return static_cast<LONG>(MAKELONG(static_cast<WORD>(units.cx), static_cast<WORD>(units.cy)));
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
      return 0;
    case WM_INITDIALOG:
      return TRUE;
    default:
      return DefWindowProcW(dialog, message, wParam, lParam);
  }
}
