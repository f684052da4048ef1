// A small writer of JSON Lines events: one object per line, UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace frontend {

std::string Utf8(std::u16string_view text);
std::u16string Utf16(std::string_view text);  // invalid UTF-8 becomes U+FFFD
// |text| as a quoted JSON string.
std::string JsonString(std::string_view utf8);
std::string JsonString(std::u16string_view text);

}  // namespace frontend
