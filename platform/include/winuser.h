// User services: windows, messages, dialogs, message boxes, deferred
// positioning, metrics, icons and bitmaps.
#pragma once

#include "wintypes.h"

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// --- Messages -------------------------------------------------------------------
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETTINGCHANGE = 0x001A;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_GETICON = 0x007F;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_USER = 0x0400;

constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

constexpr WPARAM SIZE_RESTORED = 0;

constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};

// --- Window styles ------------------------------------------------------------------
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_EX_CAPTIONOKBTN = 0x80000000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_FIXEDSYS = 0x08;

constexpr DWORD SS_LEFT = 0x0;
constexpr DWORD SS_ICON = 0x3;
constexpr DWORD SS_BITMAP = 0xE;

// --- Windows ---------------------------------------------------------------------
struct WNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HANDLE hCursor;
  HANDLE hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
};

struct CREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
};

constexpr int GWLP_USERDATA = -21;

ATOM RegisterClassW(const WNDCLASSW* wc);
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
HWND GetParent(HWND window);
HWND GetWindow(HWND window, UINT relation);
constexpr UINT GW_OWNER = 4;
BOOL ShowWindow(HWND window, int command);
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND SetFocus(HWND window);
HWND GetFocus();
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL SetWindowTextW(HWND window, LPCWSTR text);
int GetWindowTextW(HWND window, LPWSTR text, int maxCount);
int GetWindowTextLengthW(HWND window);
int GetDlgCtrlID(HWND window);
LONG GetWindowLongW(HWND window, int index);
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_ID = -12;
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;

// --- Messages ----------------------------------------------------------------------
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL GetMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
BOOL PeekMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT remove);
constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// --- Dialogs ---------------------------------------------------------------------------
#pragma pack(push, 2)
struct DLGTEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  WORD cdit;
  short x;
  short y;
  short cx;
  short cy;
};
struct DLGITEMTEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  short x;
  short y;
  short cx;
  short cy;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(DLGTEMPLATE) == 18 && sizeof(DLGITEMTEMPLATE) == 18);

constexpr int DWL_MSGRESULT = 0;
constexpr int DWL_USER = 8;

HWND CreateDialogIndirectParamW(HINSTANCE instance, const DLGTEMPLATE* tmpl, HWND parent, DLGPROC proc,
                                LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);
BOOL IsDialogMessageW(HWND dialog, MSG* msg);
HWND GetDlgItem(HWND dialog, int id);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL MapDialogRect(HWND dialog, RECT* rect);
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrW(HWND window, int index);
LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// --- Message boxes ----------------------------------------------------------------------
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFMASK = 0xF00;
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// --- Deferred positioning ---------------------------------------------------------------------
HDWP BeginDeferWindowPos(int numWindows);
HDWP DeferWindowPos(HDWP batch, HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL EndDeferWindowPos(HDWP batch);

// --- Metrics ---------------------------------------------------------------------------------
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
int GetSystemMetrics(int index);
LONG GetDialogBaseUnits();

// --- Icons and bitmaps -------------------------------------------------------------------------
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
BOOL DestroyIcon(HICON icon);
BOOL DeleteObject(HGDIOBJ object);

constexpr UINT STM_SETICON = 0x170;
constexpr UINT STM_GETICON = 0x171;
constexpr UINT STM_SETIMAGE = 0x172;
constexpr UINT STM_GETIMAGE = 0x173;
constexpr WPARAM IMAGE_BITMAP = 0;
constexpr WPARAM IMAGE_ICON = 1;

// --- List boxes and combo boxes ----------------------------------------------------------------
constexpr UINT LB_ADDSTRING = 0x180;
constexpr UINT LB_SETCURSEL = 0x186;
constexpr UINT LB_GETCURSEL = 0x188;
constexpr UINT LB_GETCOUNT = 0x18B;
constexpr LRESULT LB_ERR = -1;
constexpr UINT CB_ADDSTRING = 0x143;
constexpr UINT CB_GETCOUNT = 0x146;
constexpr UINT CB_GETCURSEL = 0x147;
constexpr UINT CB_SETCURSEL = 0x14E;
constexpr LRESULT CB_ERR = -1;

// --- Menus ----------------------------------------------------------------------------------
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);
BOOL DestroyMenu(HMENU menu);

// --- Standard controls: buttons, list box and combo box messages ----------------------------
// (kept together here for the control classes in platform/user/)
constexpr UINT BM_GETIMAGE = 0x00F6;
constexpr UINT BM_SETIMAGE = 0x00F7;
constexpr WORD BN_CLICKED = 0;
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_ICON = 0x40;
constexpr DWORD BS_BITMAP = 0x80;

constexpr UINT LB_RESETCONTENT = 0x184;
constexpr UINT LB_GETTEXT = 0x189;
constexpr UINT LB_GETTEXTLEN = 0x18A;
constexpr UINT CB_GETLBTEXT = 0x148;
constexpr UINT CB_GETLBTEXTLEN = 0x149;
constexpr UINT CB_RESETCONTENT = 0x14B;
constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT CB_OKAY = 0;

constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_CONTROL = 0x0008;

// --- Enumerating windows ------------------------------------------------------------------
// Top-level windows of every program on the device, this one's first.
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
BOOL EnumWindows(WNDENUMPROC enumProc, LPARAM lParam);
DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId);
