// Corvale on a Linux host: boots the device from the command line, loads the
// program's module, and hands over to the framework's entry, with either the
// script driver or the terminal as the user.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>

#include "afxwin.h"
#include "device/device.h"
#include "embedded_resources.h"
#include "json.h"
#include "module_table.h"
#include "options.h"
#include "sample_device.h"
#include "script_driver.h"
#include "terminal.h"
#include "version_info.h"

#ifndef CORVALE_SAMPLE_TREE
#define CORVALE_SAMPLE_TREE "sample/device"
#endif

namespace {

int Usage(const std::string& error) {
  std::fprintf(stderr, "Corvale: %s\n", error.c_str());
  return 2;
}

std::filesystem::path ExecutablePath(const char* argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::absolute(argv0) : exe;
}

}  // namespace

int main(int argc, char** argv) {
  frontend::Options options;
  std::string error;
  if (!frontend::ParseOptions(argc, argv, &options, &error)) return Usage(error);
  if (options.help) {
    std::fputs(frontend::kUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("%s\n", frontend::FileVersion(CorvaleResourceImage()).c_str());
    return 0;
  }

  std::ifstream scriptFile;
  std::istream* script = nullptr;
  if (options.script) {
    if (*options.script == "-") {
      script = &std::cin;
    } else {
      scriptFile.open(*options.script);
      if (!scriptFile) return Usage("cannot read the script " + *options.script);
      script = &scriptFile;
    }
  } else if (!isatty(STDOUT_FILENO) || !isatty(STDIN_FILENO)) {
    return Usage("the interactive screen needs a terminal; run a script with --script FILE");
  }

  std::filesystem::path root;
  if (options.device) {
    std::error_code ec;
    root = *options.device;
    if (!std::filesystem::exists(root, ec)) return Usage("the device folder " + root.string() + " does not exist");
    if (!std::filesystem::is_directory(root, ec)) return Usage("the device " + root.string() + " is not a folder");
  } else {
    auto sample = frontend::SampleDevice(CORVALE_SAMPLE_TREE, &error);
    if (!sample) return Usage(error);
    root = *sample;
    std::fprintf(stderr, "Corvale: using the sample device at %s\n", root.c_str());
  }

  device::Boot({root, options.screenWidth, options.screenHeight, options.codePage});
  std::filesystem::path exe = ExecutablePath(argv[0]);
  HINSTANCE instance = platform::RegisterModule(frontend::Utf16(exe.string()), CorvaleResourceImage());

  if (script) {
    frontend::ScriptDriver driver(*script, stdout);
    device::Current().input = &driver;
    device::Current().events = &driver;
    int result = AfxWinMain(instance, nullptr, nullptr, SW_SHOW);
    // A second instance that handed over prints nothing.
    if (result == -1) return result;
    if (!driver.DialogEndedSeen()) driver.PrintExit(-1);
    return 0;
  }
  return frontend::RunTerminal(instance);
}
