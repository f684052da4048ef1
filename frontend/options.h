// The command line: options of the device Corvale runs on, not of the program.
#pragma once

#include <optional>
#include <string>

namespace frontend {

struct Options {
  std::optional<std::string> device;  // host directory standing for the device's root
  int screenWidth = 240;
  int screenHeight = 320;
  unsigned codePage = 936;
  std::optional<std::string> script;  // a file, or "-" for standard input
  bool help = false;
  bool version = false;
};

// Parses argv; on a mistake returns false with a one-line reason in |error|.
bool ParseOptions(int argc, char** argv, Options* options, std::string* error);

extern const char kUsage[];

}  // namespace frontend
