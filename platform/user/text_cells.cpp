#include "text_cells.h"

#include <wchar.h>

namespace platform {

std::u32string ToCodePoints(std::u16string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      out.push_back(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      out.push_back(0xFFFD);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

int CellsOf(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return 0;
  if (c < 0x1100) return 1;
  // The wide ranges of East Asian scripts and full-width forms.
  if ((c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
      (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
      (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
      (c >= 0x20000 && c <= 0x3FFFD))
    return 2;
  if (c >= 0x0300 && c <= 0x036F) return 0;
  return 1;
}

int CellsOf(std::u16string_view text) {
  int cells = 0;
  for (char32_t c : ToCodePoints(text)) cells += CellsOf(c);
  return cells;
}

std::vector<std::u32string> WrapText(std::u16string_view text, int cells) {
  std::vector<std::u32string> lines;
  if (cells < 1) cells = 1;
  std::u32string line;
  int used = 0;
  std::size_t lastBlank = std::u32string::npos;
  for (char32_t c : ToCodePoints(text)) {
    if (c == U'\n') {
      lines.push_back(line);
      line.clear();
      used = 0;
      lastBlank = std::u32string::npos;
      continue;
    }
    if (c == U'\r') continue;
    int w = CellsOf(c);
    if (used + w > cells) {
      if (c == U' ') {
        lines.push_back(line);
        line.clear();
        used = 0;
        lastBlank = std::u32string::npos;
        continue;
      }
      if (lastBlank != std::u32string::npos) {
        std::u32string rest = line.substr(lastBlank + 1);
        line.resize(lastBlank);
        lines.push_back(line);
        line = rest;
      } else {
        lines.push_back(line);
        line.clear();
      }
      used = 0;
      for (char32_t r : line) used += CellsOf(r);
      lastBlank = std::u32string::npos;
    }
    if (c == U' ') lastBlank = line.size();
    line.push_back(c);
    used += w;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

}  // namespace platform
