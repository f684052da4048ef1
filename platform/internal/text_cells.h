// The device's system font as the screen model measures it: every character
// takes one 8 x 16 pixel cell, East Asian wide characters two.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;

// Decodes UTF-16 to code points; unpaired surrogates become U+FFFD.
std::u32string ToCodePoints(std::u16string_view text);
void AppendUtf8(std::string& out, char32_t c);
int CellsOf(char32_t c);  // 0 for control and combining characters
int CellsOf(std::u16string_view text);
// Breaks |text| into lines of at most |cells| cells, at line breaks, after
// blanks where possible, and anywhere inside a word that is too long.
std::vector<std::u32string> WrapText(std::u16string_view text, int cells);

}  // namespace platform
