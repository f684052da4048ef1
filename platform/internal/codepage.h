// Text conversions the platform uses for itself: host names (UTF-8) and the
// device's ANSI code pages, without tracing or last-error side effects.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// True when MultiByteToWideChar and WideCharToMultiByte can convert |codePage|.
bool CodePageSupported(unsigned codePage);

// Strict UTF-8 <-> UTF-16: false for ill-formed input (overlong forms,
// surrogates, unpaired surrogates), which is then no valid device name.
bool Utf8ToUtf16(std::string_view in, std::u16string* out);
bool Utf16ToUtf8(std::u16string_view in, std::string* out);

// Strict UTF-16 -> UTF-8 into a caller's buffer, for paths built without
// allocating: the bytes written, or kNotUtf8 when |in| is ill-formed or does
// not fit. kMaxUtf8PerUnit bytes per UTF-16 unit always fit.
inline constexpr std::size_t kNotUtf8 = static_cast<std::size_t>(-1);
inline constexpr std::size_t kMaxUtf8PerUnit = 3;
std::size_t EncodeUtf8(std::u16string_view in, std::span<char> out);

// Decodes |bytes| in |codePage| (CP_ACP: the device's); unmappable bytes
// become U+FFFD. Returns false only for an unsupported code page.
bool DecodeCodePage(unsigned codePage, std::string_view bytes, std::u16string* out);

}  // namespace platform
