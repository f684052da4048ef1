// Kernel services: files, enumeration, errors, code pages, modules and
// resources, named objects.
#pragma once

#include "wintypes.h"

// --- Errors -----------------------------------------------------------------
DWORD GetLastError();
void SetLastError(DWORD code);

// --- Files ------------------------------------------------------------------
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

constexpr int MAX_PATH = 260;

// A chain of symbolic links on the device that is too long or loops.
constexpr DWORD ERROR_CANT_RESOLVE_FILENAME = 1921;

struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;
  WCHAR cFileName[MAX_PATH];
};

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, OVERLAPPED* overlapped);
BOOL CloseHandle(HANDLE object);
BOOL DeleteFileW(LPCWSTR fileName);
DWORD GetFileAttributesW(LPCWSTR fileName);
HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data);
BOOL FindNextFileW(HANDLE find, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE find);

// --- Code pages ---------------------------------------------------------------
constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_PRECOMPOSED = 0x1;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
UINT GetACP();
// Converts |count| bytes (-1: up to and including the terminating zero) to
// UTF-16. Bytes the code page cannot map become U+FFFD.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int count, LPWSTR wide, int wideCount);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR text, int count,
                        LPCSTR defaultChar, BOOL* usedDefaultChar);

// --- Modules and resources ------------------------------------------------------
inline LPCWSTR const RT_ICON = MAKEINTRESOURCEW(3);
inline LPCWSTR const RT_BITMAP = MAKEINTRESOURCEW(2);
inline LPCWSTR const RT_MENU = MAKEINTRESOURCEW(4);
inline LPCWSTR const RT_DIALOG = MAKEINTRESOURCEW(5);
inline LPCWSTR const RT_STRING = MAKEINTRESOURCEW(6);
inline LPCWSTR const RT_RCDATA = MAKEINTRESOURCEW(10);
inline LPCWSTR const RT_GROUP_ICON = MAKEINTRESOURCEW(14);
inline LPCWSTR const RT_VERSION = MAKEINTRESOURCEW(16);

HMODULE GetModuleHandleW(LPCWSTR moduleName);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax);

// --- Named objects ----------------------------------------------------------------
HANDLE CreateMutexW(SECURITY_ATTRIBUTES* security, BOOL initialOwner, LPCWSTR name);
void Sleep(DWORD milliseconds);
DWORD GetTickCount();
DWORD GetCurrentProcessId();

// --- Processes ----------------------------------------------------------------------
constexpr DWORD PROCESS_QUERY_INFORMATION = 0x0400;
HANDLE OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId);
// The full path of the executable that a process runs.
BOOL QueryFullProcessImageNameW(HANDLE process, DWORD flags, LPWSTR exeName, LPDWORD size);
