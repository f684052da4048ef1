// Shell file information.
#pragma once

#include "winbase.h"

struct SHFILEINFOW {
  HICON hIcon;
  int iIcon;
  DWORD dwAttributes;
  WCHAR szDisplayName[MAX_PATH];
  WCHAR szTypeName[80];
};

constexpr UINT SHGFI_LARGEICON = 0x000;
constexpr UINT SHGFI_SMALLICON = 0x001;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x010;
constexpr UINT SHGFI_ICON = 0x100;
constexpr UINT SHGFI_DISPLAYNAME = 0x200;
constexpr UINT SHGFI_TYPENAME = 0x400;
constexpr UINT SHGFI_SYSICONINDEX = 0x4000;

DWORD_PTR SHGetFileInfo(LPCWSTR path, DWORD fileAttributes, SHFILEINFOW* info, UINT infoSize, UINT flags);
