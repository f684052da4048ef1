#include "json.h"

#include <cstdio>

#include "codepage.h"
#include "text_cells.h"
#include "winbase.h"

namespace frontend {

std::string Utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : platform::ToCodePoints(text)) platform::AppendUtf8(out, c);
  return out;
}

std::u16string Utf16(std::string_view text) {
  std::u16string out;
  platform::DecodeCodePage(CP_UTF8, text, &out);
  return out;
}

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

std::string JsonString(std::u16string_view text) { return JsonString(Utf8(text)); }

}  // namespace frontend
