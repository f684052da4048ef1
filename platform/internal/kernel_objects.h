// The kernel's tables of open files, enumerations and mutexes.
#pragma once

#include <cstddef>

#include "wintypes.h"

namespace platform {

// Closes every open file, enumeration and mutex, for a fresh boot.
void ResetKernelTables();

std::size_t LiveFileHandles();
std::size_t LiveFindHandles();
std::size_t LiveMutexHandles();

// CloseHandle's share of each table: false when |handle| is none of its own.
bool CloseFileHandle(HANDLE handle);
bool CloseMutexHandle(HANDLE handle);

void ResetFileTable();
void ResetFindTable();
void ResetMutexTable();

}  // namespace platform
