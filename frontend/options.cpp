#include "options.h"

#include <charconv>
#include <string_view>

#include "codepage.h"
#include "script.h"

namespace frontend {

const char kUsage[] =
    "Usage: Corvale [--device DIR] [--screen WxH] [--codepage N] [--script FILE|-]\n"
    "       Corvale --help | --version\n"
    "\n"
    "  --device DIR    the host folder that stands for the device's root (default: a sample device)\n"
    "  --screen WxH    the screen in pixels (default 240x320)\n"
    "  --codepage N    the device's ANSI code page (default 936)\n"
    "  --script FILE   run the actions in FILE ('-' for standard input) instead of the terminal,\n"
    "                  printing events as JSON Lines\n";

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    std::string_view name = arg, value;
    bool hasValue = false;
    if (std::size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      hasValue = true;
    }
    auto takeValue = [&]() -> bool {
      if (hasValue) return true;
      if (i + 1 >= argc) {
        *error = Printable(name) + " needs a value";
        return false;
      }
      value = argv[++i];
      return true;
    };
    if (name == "--help" || name == "-h") {
      options->help = true;
    } else if (name == "--version") {
      options->version = true;
    } else if (name == "--device") {
      if (!takeValue()) return false;
      if (value.empty()) {
        *error = "--device needs a folder";
        return false;
      }
      options->device = std::string(value);
    } else if (name == "--screen") {
      if (!takeValue()) return false;
      if (!ParseScreenSize(value, &options->screenWidth, &options->screenHeight)) {
        *error = "--screen needs WIDTHxHEIGHT in pixels, each 1 to 4096 (for example 240x320), not \"" +
                 Printable(value) + "\"";
        return false;
      }
    } else if (name == "--codepage") {
      if (!takeValue()) return false;
      unsigned page = 0;
      auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), page);
      if (ec != std::errc() || end != value.data() + value.size() || page == 0 || !platform::CodePageSupported(page)) {
        *error = "--codepage needs a code page number this machine can convert (for example 936), not \"" +
                 Printable(value) + "\"";
        return false;
      }
      options->codePage = page;
    } else if (name == "--script") {
      if (!takeValue()) return false;
      if (value.empty()) {
        *error = "--script needs a file, or - for standard input";
        return false;
      }
      options->script = std::string(value);
    } else {
      *error = "unknown option \"" + Printable(arg) + "\" (see --help)";
      return false;
    }
  }
  return true;
}

}  // namespace frontend
