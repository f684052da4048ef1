// Throw-away devices for the benchmarks: one host folder per shortcut count,
// made on first use and kept for the whole run, so that making thousands of
// files is never part of a measurement. Everything goes at RemoveBenchDevices.
#pragma once

#include <filesystem>

namespace bench {

inline constexpr char kStartupFolder[] = "Windows/StartUp";

// The root of a device whose start-up folder holds |count| shortcuts (an
// empty folder for 0).
const std::filesystem::path& ShortcutDevice(int count);

// A folder for the run's own files (scripts, captured output).
const std::filesystem::path& ScratchFolder();

// Removes every device made, and the runtime folders that runs on them left.
void RemoveBenchDevices();

}  // namespace bench
