// ANSI code pages through the host's iconv. A program for the device reads
// every shortcut through these, so converters are opened once per code page
// and kept.
#include "codepage.h"

#include <errno.h>
#include <iconv.h>

#include <bit>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "device/device.h"
#include "service.h"
#include "winbase.h"

namespace platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
const char* const kWideName = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// iconv's name for a code page; empty when the multibyte side cannot be it.
std::string IconvName(unsigned codePage) {
  switch (codePage) {
    case 0:
    case 1200:  // UTF-16 is no multibyte code page
    case 1201:
      return {};
    case 65001:
      return "UTF-8";
    case 65000:
      return "UTF-7";
    case 20127:
      return "ASCII";
    case 20866:
      return "KOI8-R";
    case 21866:
      return "KOI8-U";
    case 20932:
      return "EUC-JP";
    case 51949:
      return "EUC-KR";
    case 54936:
      return "GB18030";
    case 28603:
      return "ISO-8859-13";
    case 28605:
      return "ISO-8859-15";
    default:
      break;
  }
  if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
  return "CP" + std::to_string(codePage);
}

struct Converter {
  iconv_t toWide = reinterpret_cast<iconv_t>(-1);
  iconv_t fromWide = reinterpret_cast<iconv_t>(-1);
  bool Usable() const { return toWide != reinterpret_cast<iconv_t>(-1) && fromWide != reinterpret_cast<iconv_t>(-1); }
};

std::mutex g_mutex;
std::map<unsigned, Converter>& Converters() {
  static auto* converters = new std::map<unsigned, Converter>;  // lives as long as the process
  return *converters;
}

// With g_mutex held.
Converter* ConverterFor(unsigned codePage) {
  auto& converters = Converters();
  auto it = converters.find(codePage);
  if (it == converters.end()) {
    Converter converter;
    std::string name = IconvName(codePage);
    if (!name.empty()) {
      converter.toWide = iconv_open(kWideName, name.c_str());
      converter.fromWide = iconv_open(name.c_str(), kWideName);
    }
    it = converters.emplace(codePage, converter).first;
  }
  return it->second.Usable() ? &it->second : nullptr;
}

unsigned ResolveCodePage(unsigned codePage) {
  // CP_ACP, CP_OEMCP and CP_THREAD_ACP all mean the device's code page here.
  if (codePage == CP_ACP || codePage == 1 || codePage == 3) return device::Current().CodePage();
  return codePage;
}

// Bytes iconv cannot map become U+FFFD one byte at a time, so a bad byte never
// swallows the text after it; an incomplete sequence at the end is one U+FFFD.
void Decode(iconv_t cd, std::string_view in, std::u16string* out, bool* lossy) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out->assign(in.size() + 4, u'\0');
  std::size_t used = 0;
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  for (;;) {
    char* dst = reinterpret_cast<char*>(out->data() + used);
    std::size_t dstLeft = (out->size() - used) * sizeof(char16_t);
    std::size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    int error = errno;
    used = out->size() - dstLeft / sizeof(char16_t);
    if (result != static_cast<std::size_t>(-1)) break;
    if (error == E2BIG) {
      out->resize(out->size() * 2 + 4);
      continue;
    }
    if (used == out->size()) out->resize(out->size() * 2 + 4);
    (*out)[used++] = kReplacement;
    *lossy = true;
    if (error != EILSEQ) break;  // EINVAL: the input ends inside a sequence
    ++src;
    --srcLeft;
  }
  out->resize(used);
}

void Encode(iconv_t cd, std::u16string_view in, std::string_view replacement, std::string* out, bool* lossy) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out->assign(in.size() * 4 + 8, '\0');
  std::size_t used = 0;
  const char16_t* begin = in.data();
  char* src = reinterpret_cast<char*>(const_cast<char16_t*>(begin));
  std::size_t srcLeft = in.size() * sizeof(char16_t);
  for (;;) {
    char* dst = out->data() + used;
    std::size_t dstLeft = out->size() - used;
    std::size_t result = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    int error = errno;
    used = out->size() - dstLeft;
    if (result != static_cast<std::size_t>(-1)) {
      // Close any shift state the target keeps (UTF-7, ISO-2022).
      for (;;) {
        dst = out->data() + used;
        dstLeft = out->size() - used;
        if (iconv(cd, nullptr, nullptr, &dst, &dstLeft) != static_cast<std::size_t>(-1) || errno != E2BIG) break;
        out->resize(out->size() * 2);
      }
      used = out->size() - dstLeft;
      break;
    }
    if (error == E2BIG) {
      out->resize(out->size() * 2 + 8);
      continue;
    }
    if (out->size() - used < replacement.size()) out->resize(out->size() * 2 + replacement.size());
    std::memcpy(out->data() + used, replacement.data(), replacement.size());
    used += replacement.size();
    *lossy = true;
    if (error != EILSEQ) break;
    // Skip one character: a whole surrogate pair when the target lacks it.
    std::size_t at = (reinterpret_cast<char16_t*>(src) - begin);
    std::size_t units =
        (at + 1 < in.size() && in[at] >= 0xD800 && in[at] < 0xDC00 && in[at + 1] >= 0xDC00 && in[at + 1] < 0xE000) ? 2
                                                                                                                   : 1;
    src += units * sizeof(char16_t);
    srcLeft -= units * sizeof(char16_t);
  }
  out->resize(used);
}

}  // namespace

bool CodePageSupported(unsigned codePage) {
  std::lock_guard lock(g_mutex);
  return ConverterFor(codePage) != nullptr;
}

bool DecodeCodePage(unsigned codePage, std::string_view bytes, std::u16string* out) {
  std::lock_guard lock(g_mutex);
  Converter* converter = ConverterFor(ResolveCodePage(codePage));
  if (!converter) return false;
  bool lossy = false;
  Decode(converter->toWide, bytes, out, &lossy);
  return true;
}

bool Utf8ToUtf16(std::string_view in, std::u16string* out) {
  out->clear();
  out->reserve(in.size());
  std::size_t i = 0;
  while (i < in.size()) {
    unsigned char lead = static_cast<unsigned char>(in[i]);
    if (lead < 0x80) {
      out->push_back(lead);
      ++i;
      continue;
    }
    int length;
    char32_t cp;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
      return false;
    }
    if (in.size() - i < static_cast<std::size_t>(length)) return false;
    for (int k = 1; k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(in[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return false;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out->push_back(static_cast<char16_t>(cp));
    }
    i += length;
  }
  return true;
}

std::size_t EncodeUtf8(std::u16string_view in, std::span<char> out) {
  std::size_t used = 0;
  auto put = [&](char32_t byte) { out[used++] = static_cast<char>(byte); };
  for (std::size_t i = 0; i < in.size(); ++i) {
    char32_t cp = in[i];
    if (cp >= 0xD800 && cp < 0xE000) {
      if (cp >= 0xDC00 || i + 1 >= in.size() || in[i + 1] < 0xDC00 || in[i + 1] >= 0xE000) return kNotUtf8;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[++i] - 0xDC00);
    }
    std::size_t length = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    if (out.size() - used < length) return kNotUtf8;
    switch (length) {
      case 1:
        put(cp);
        break;
      case 2:
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
        break;
      case 3:
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
        break;
      default:
        put(0xF0 | (cp >> 18));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
        break;
    }
  }
  return used;
}

bool Utf16ToUtf8(std::u16string_view in, std::string* out) {
  // A unit takes at most three bytes; a surrogate pair, two units, takes four.
  out->resize(in.size() * kMaxUtf8PerUnit);
  std::size_t used = EncodeUtf8(in, *out);
  if (used == kNotUtf8) {
    out->clear();
    return false;
  }
  out->resize(used);
  return true;
}

}  // namespace platform

UINT GetACP() {
  platform::ServiceCall call("GetACP");
  if (call.Fails()) return 0;
  return device::Current().CodePage();
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int count, LPWSTR wide, int wideCount) {
  platform::ServiceCall call("MultiByteToWideChar");
  if (call.Fails(ERROR_INVALID_PARAMETER)) return 0;
  if (!text || count == 0 || count < -1 || wideCount < 0 || (wideCount > 0 && !wide)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t length = count == -1 ? std::strlen(text) + 1 : static_cast<std::size_t>(count);
  // Kept between calls: every listed shortcut is widened, and a fresh buffer
  // each time would cost an allocation per row. One grown by a rare long
  // text is let go.
  thread_local std::u16string result;
  struct ShrinkAfterUse {
    ~ShrinkAfterUse() {
      if (result.capacity() > 4096) std::u16string().swap(result);
    }
  } shrink;
  bool lossy = false;
  {
    std::lock_guard lock(platform::g_mutex);
    platform::Converter* converter = platform::ConverterFor(platform::ResolveCodePage(codePage));
    if (!converter) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    platform::Decode(converter->toWide, std::string_view(text, length), &result, &lossy);
  }
  if (lossy && (flags & MB_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  if (wideCount == 0) return static_cast<int>(result.size());
  if (result.size() > static_cast<std::size_t>(wideCount)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(wide, result.data(), result.size() * sizeof(char16_t));
  return static_cast<int>(result.size());
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR text, int count,
                        LPCSTR defaultChar, BOOL* usedDefaultChar) {
  platform::ServiceCall call("WideCharToMultiByte");
  if (call.Fails(ERROR_INVALID_PARAMETER)) return 0;
  (void)flags;
  if (!wide || wideCount == 0 || wideCount < -1 || count < 0 || (count > 0 && !text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  unsigned resolved = platform::ResolveCodePage(codePage);
  // UTF-8 has no default character; the system refuses one.
  if (resolved == CP_UTF8 && (defaultChar || usedDefaultChar)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::size_t length = wideCount == -1 ? std::char_traits<char16_t>::length(wide) + 1 : wideCount;
  std::string_view replacement = resolved == CP_UTF8 ? "\xEF\xBF\xBD" : (defaultChar ? defaultChar : "?");
  if (replacement.empty()) replacement = "?";
  std::string result;
  bool lossy = false;
  {
    std::lock_guard lock(platform::g_mutex);
    platform::Converter* converter = platform::ConverterFor(resolved);
    if (!converter) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    platform::Encode(converter->fromWide, std::u16string_view(wide, length), replacement, &result, &lossy);
  }
  if (usedDefaultChar) *usedDefaultChar = lossy ? TRUE : FALSE;
  if (count == 0) return static_cast<int>(result.size());
  if (result.size() > static_cast<std::size_t>(count)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(text, result.data(), result.size());
  return static_cast<int>(result.size());
}
