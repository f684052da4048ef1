#include "script.h"

#include <charconv>

#include "json.h"
#include "winuser.h"

namespace frontend {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool ParseInt(std::string_view text, long long min, long long max, int* out) {
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < min || value > max) return false;
  *out = static_cast<int>(value);
  return true;
}

}  // namespace

std::string Printable(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

bool ParseScreenSize(std::string_view text, int* width, int* height) {
  std::size_t x = text.find('x');
  return x != std::string_view::npos && ParseInt(text.substr(0, x), 1, 4096, width) &&
         ParseInt(text.substr(x + 1), 1, 4096, height);
}

std::variant<std::monostate, ScriptCommand, std::string> ParseScriptLine(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() == '#') return std::monostate{};
  std::size_t space = line.find_first_of(" \t");
  std::string_view verb = line.substr(0, space);
  std::string_view arg = space == std::string_view::npos ? std::string_view{} : Trim(line.substr(space));
  using Kind = ScriptCommand::Kind;
  ScriptCommand c{};

  auto noArgument = [&](Kind kind) -> std::variant<std::monostate, ScriptCommand, std::string> {
    if (!arg.empty()) return std::string(verb) + " takes no argument";
    c.kind = kind;
    return c;
  };
  auto number = [&](Kind kind, long long max, const char* what) -> std::variant<std::monostate, ScriptCommand, std::string> {
    c.kind = kind;
    if (!ParseInt(arg, 0, max, &c.number)) return std::string(verb) + " needs " + what;
    return c;
  };

  if (verb == "tap-row") return number(Kind::TapRow, 1 << 30, "a row number (0 = top)");
  if (verb == "add-row") return number(Kind::AddRow, 1 << 30, "a row number (0 = top)");
  if (verb == "command") return number(Kind::Command, 0xFFFF, "a command id from 0 to 65535");
  if (verb == "wait") return number(Kind::Wait, 600000, "milliseconds from 0 to 600000");
  if (verb == "ok") return noArgument(Kind::Ok);
  if (verb == "list") return noArgument(Kind::List);
  if (verb == "controls") return noArgument(Kind::Controls);
  if (verb == "draw") return noArgument(Kind::Draw);
  if (verb == "menu") {
    if (arg.empty()) return std::string("menu needs the text of a menu button or item");
    c.kind = Kind::Menu;
    c.text = Utf16(arg);
    return c;
  }
  if (verb == "press") {
    static constexpr std::pair<std::string_view, int> kButtons[] = {
        {"yes", IDYES}, {"no", IDNO}, {"ok", IDOK}, {"cancel", IDCANCEL}};
    for (const auto& [name, id] : kButtons)
      if (arg == name) {
        c.kind = Kind::Press;
        c.number = id;
        return c;
      }
    return std::string("press needs yes, no, ok or cancel");
  }
  if (verb == "screen") {
    c.kind = Kind::Screen;
    if (!ParseScreenSize(arg, &c.number, &c.height)) return std::string("screen needs WIDTHxHEIGHT, each 1 to 4096");
    return c;
  }
  return "unknown command \"" + Printable(verb) + "\"";
}

}  // namespace frontend
