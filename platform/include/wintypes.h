// Basic Windows CE types, handles and result codes.
//
// Handles are opaque values that index tables inside the platform; they are
// never addresses. Each kind has its own tag, so a handle of one kind handed
// to a service of another fails like a stale one.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using WCHAR = char16_t;
using CHAR = char;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPTSTR = LPWSTR;
using LPCTSTR = LPCWSTR;
using TCHAR = WCHAR;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using ATOM = WORD;
using COLORREF = DWORD;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// Distinct handle types: each is a pointer to an incomplete struct so that the
// compiler keeps the kinds apart, but the value is a table key.
#define CORVALE_DECLARE_HANDLE(name) \
  struct name##__;                   \
  using name = name##__*
CORVALE_DECLARE_HANDLE(HWND);
CORVALE_DECLARE_HANDLE(HINSTANCE);
CORVALE_DECLARE_HANDLE(HICON);
CORVALE_DECLARE_HANDLE(HBITMAP);
CORVALE_DECLARE_HANDLE(HMENU);
CORVALE_DECLARE_HANDLE(HRSRC);
CORVALE_DECLARE_HANDLE(HDWP);
#undef CORVALE_DECLARE_HANDLE
struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;
using HANDLE = void*;
using HMODULE = HINSTANCE;
using HGLOBAL = HANDLE;
using HGDIOBJ = HANDLE;
using HKEY = HANDLE;

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));

struct POINT {
  LONG x;
  LONG y;
};

struct SIZE {
  LONG cx;
  LONG cy;
};

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPRECT = RECT*;

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

struct SECURITY_ATTRIBUTES;
struct OVERLAPPED;

constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return MAKELONG(lo, hi); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }

// An integer resource id travels in a name pointer whose value is below 0x10000.
inline LPCWSTR MAKEINTRESOURCEW(UINT_PTR id) {
  return reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(static_cast<WORD>(id)));
}
inline bool IS_INTRESOURCE(LPCWSTR p) { return (reinterpret_cast<UINT_PTR>(p) >> 16) == 0; }
#define MAKEINTRESOURCE MAKEINTRESOURCEW

// Error codes (GetLastError).
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_INVALID_FUNCTION = 1;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_OUTOFMEMORY = 14;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_WRITE_PROTECT = 19;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_HANDLE_EOF = 38;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;
constexpr DWORD ERROR_INVALID_ICON_HANDLE = 1402;
constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr DWORD ERROR_CONTROL_ID_NOT_FOUND = 1421;
