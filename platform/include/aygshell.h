// The Pocket PC shell: extra controls, the menu bar, the full-screen dialog
// set-up and the input panel.
#pragma once

#include "winuser.h"

BOOL SHInitExtraControls();

constexpr DWORD SHCMBF_EMPTYBAR = 0x0001;
constexpr DWORD SHCMBF_HIDDEN = 0x0002;
constexpr DWORD SHCMBF_HIDESIPBUTTON = 0x0004;
constexpr DWORD SHCMBF_COLORBK = 0x0008;
constexpr DWORD SHCMBF_HMENU = 0x0010;

// The record as the device lays it out: 36 bytes with 32-bit handles. Our
// handles are wider, so the fields keep their order but the size the caller
// states is the device's.
struct SHMENUBARINFO {
  DWORD cbSize;
  HWND hwndParent;
  DWORD dwFlags;
  UINT nToolBarId;
  HINSTANCE hInstRes;
  int nBmpId;
  int cBmpImages;
  HWND hwndMB;
  COLORREF clrBk;
};
constexpr DWORD SHMENUBARINFO_DEVICE_SIZE = 36;
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

constexpr DWORD SHIDIM_FLAGS = 0x0001;
constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
constexpr DWORD SHIDIF_SIZEDLG = 0x0002;
constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
constexpr DWORD SHIDIF_SIPDOWN = 0x0008;
constexpr DWORD SHIDIF_FULLSCREENNOMENUBAR = 0x0010;
constexpr DWORD SHIDIF_EMPTYMENU = 0x0020;

struct SHINITDLGINFO {
  DWORD dwMask;
  HWND hDlg;
  DWORD dwFlags;
};
BOOL SHInitDialog(SHINITDLGINFO* info);

struct SHACTIVATEINFO {
  DWORD cbSize;
  HWND hwndLastFocus;
  UINT fSipUp : 1;
  UINT fSipOnDeactivation : 1;
  UINT fActive : 1;
  UINT fReserved : 29;
};
constexpr DWORD SHACTIVATEINFO_DEVICE_SIZE = 12;
BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info, DWORD flags);
BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info);
