#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>

#include "afx.h"

namespace {

using Traits = std::char_traits<char16_t>;

// The standard library reports exhaustion as bad_alloc (or length_error for a
// size it cannot hold); the framework's callers expect CMemoryException.
template <class F>
decltype(auto) Guarded(F&& f) {
  try {
    return f();
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  } catch (const std::length_error&) {
    AfxThrowMemoryException();
  }
}

std::u16string_view ViewOf(LPCWSTR text) { return text ? std::u16string_view(text) : std::u16string_view(); }

// True when |text| points into |owner|'s characters, so |owner| must not change before it is read.
bool Aliases(const std::u16string& owner, LPCWSTR text) {
  std::less_equal<const char16_t*> le;
  return text && le(owner.data(), text) && le(text, owner.data() + owner.size());
}

int Sign(int value) { return (value > 0) - (value < 0); }

// Simple case folding for Basic Latin, Latin-1 Supplement and Latin Extended-A.
char16_t Fold(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c + 0x20;
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;
  if (c < 0x100 || c > 0x17F) return c;
  if (c == 0x178) return 0xFF;
  if (c == 0x17F) return u's';
  // Upper case is the even member of a pair, except between U+0139 and U+0148
  // and from U+0179 on, where it is the odd one. U+0130, U+0131 and U+0138
  // have no simple folding; U+0149 stands alone.
  if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149) return c;
  bool oddUpper = (c >= 0x139 && c <= 0x148) || c >= 0x179;
  bool isOdd = (c & 1) != 0;
  return isOdd == oddUpper ? c + 1 : c;
}

bool IsSpace(char16_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0xA0 || c == 0x3000; }

}  // namespace

CString::CString(LPCWSTR text) {
  if (text) Guarded([&] { text_.assign(text); });
}

CString::CString(std::u16string_view text) {
  Guarded([&] { text_.assign(text); });
}

CString::CString(const CString& other) {
  Guarded([&] { text_ = other.text_; });
}

CString& CString::operator=(const CString& other) {
  if (this != &other) Guarded([&] { text_ = other.text_; });
  return *this;
}

CString& CString::operator=(LPCWSTR text) {
  Guarded([&] {
    std::u16string copy(ViewOf(text));
    text_.swap(copy);
  });
  return *this;
}

char16_t CString::GetAt(int index) const {
  if (index < 0 || index > GetLength()) AfxThrowInvalidArgException();
  return text_.c_str()[index];
}

void CString::SetAt(int index, char16_t ch) {
  if (index < 0 || index >= GetLength()) AfxThrowInvalidArgException();
  text_[static_cast<size_t>(index)] = ch;
}

CString& CString::operator+=(const CString& text) {
  Guarded([&] { text_ += text.text_; });
  return *this;
}

CString& CString::operator+=(LPCWSTR text) {
  Guarded([&] {
    if (Aliases(text_, text)) {
      std::u16string copy(text);
      text_ += copy;
    } else {
      text_ += ViewOf(text);
    }
  });
  return *this;
}

CString& CString::operator+=(char16_t ch) {
  Guarded([&] { text_ += ch; });
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString result(a);
  return result += b;
}

CString operator+(const CString& a, LPCWSTR b) {
  CString result(a);
  return result += b;
}

CString operator+(LPCWSTR a, const CString& b) {
  CString result(a);
  return result += b;
}

CString operator+(const CString& a, char16_t b) {
  CString result(a);
  return result += b;
}

CString operator+(char16_t a, const CString& b) {
  CString result;
  Guarded([&] {
    result.text_.reserve(b.text_.size() + 1);
    result.text_ += a;
    result.text_ += b.text_;
  });
  return result;
}

int CString::Compare(LPCWSTR text) const noexcept { return Sign(std::u16string_view(text_).compare(ViewOf(text))); }

int CString::CompareNoCase(LPCWSTR text) const noexcept {
  std::u16string_view other = ViewOf(text);
  size_t common = std::min(text_.size(), other.size());
  for (size_t i = 0; i < common; ++i) {
    char16_t a = Fold(text_[i]);
    char16_t b = Fold(other[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return Sign(static_cast<int>(text_.size() > other.size()) - static_cast<int>(text_.size() < other.size()));
}

int CString::Find(char16_t ch, int start) const noexcept {
  if (start < 0 || start >= GetLength()) return -1;
  size_t at = text_.find(ch, static_cast<size_t>(start));
  return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCWSTR sub, int start) const noexcept {
  if (!sub || start < 0 || start > GetLength()) return -1;
  size_t at = text_.find(sub, static_cast<size_t>(start));
  return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char16_t ch) const noexcept {
  size_t at = text_.rfind(ch);
  return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

CString CString::Mid(int first, int count) const {
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  int length = GetLength();
  if (static_cast<long long>(first) + count > length) count = length - first;
  if (first > length) count = 0;
  if (count == 0) return CString();
  return CString(std::u16string_view(text_).substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength() - std::max(first, 0)); }

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
  int length = GetLength();
  count = std::clamp(count, 0, length);
  return Mid(length - count, count);
}

CString& CString::TrimRight() {
  while (!text_.empty() && IsSpace(text_.back())) text_.pop_back();
  return *this;
}

CString& CString::TrimRight(char16_t ch) {
  while (!text_.empty() && text_.back() == ch) text_.pop_back();
  return *this;
}

CString& CString::TrimLeft() {
  size_t n = 0;
  while (n < text_.size() && IsSpace(text_[n])) ++n;
  text_.erase(0, n);
  return *this;
}

CString& CString::TrimLeft(char16_t ch) {
  size_t n = 0;
  while (n < text_.size() && text_[n] == ch) ++n;
  text_.erase(0, n);
  return *this;
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }

int CString::Replace(char16_t oldCh, char16_t newCh) noexcept {
  int count = 0;
  for (char16_t& c : text_) {
    if (c == oldCh) {
      c = newCh;
      ++count;
    }
  }
  return count;
}

int CString::Replace(LPCWSTR oldText, LPCWSTR newText) {
  std::u16string_view from = ViewOf(oldText);
  if (from.empty()) return 0;
  std::u16string_view to = ViewOf(newText);
  int count = 0;
  Guarded([&] {
    std::u16string out;
    size_t pos = 0;
    for (size_t at; (at = text_.find(from, pos)) != std::u16string::npos; pos = at + from.size()) {
      out.append(text_, pos, at - pos);
      out += to;
      ++count;
    }
    if (count == 0) return;
    out.append(text_, pos);
    text_.swap(out);
  });
  return count;
}

CString& CString::MakeUpper() noexcept {
  for (char16_t& c : text_) {
    if (c >= u'a' && c <= u'z') c -= 0x20;
  }
  return *this;
}

CString& CString::MakeLower() noexcept {
  for (char16_t& c : text_) {
    if (c >= u'A' && c <= u'Z') c += 0x20;
  }
  return *this;
}

LPWSTR CString::GetBuffer(int minLength) {
  if (minLength < 0) AfxThrowInvalidArgException();
  if (static_cast<size_t>(minLength) > text_.size()) Guarded([&] { text_.resize(static_cast<size_t>(minLength)); });
  return text_.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength == -1) {
    size_t end = text_.find(u'\0');
    if (end != std::u16string::npos) text_.resize(end);
    return;
  }
  if (newLength < 0 || newLength > GetLength()) AfxThrowInvalidArgException();
  text_.resize(static_cast<size_t>(newLength));
}

namespace {

// Directives wider than this are taken for a corrupt format rather than honoured.
constexpr int kMaxWidth = 4096;

struct Directive {
  bool leftAlign = false;
  bool zeroPad = false;
  int width = 0;
  bool isLong = false;
  char16_t kind = 0;
};

// Parses the directive after a '%' at |*p|; false when it is not one we support.
bool ParseDirective(LPCWSTR* p, Directive* d) {
  LPCWSTR s = *p;
  for (;; ++s) {
    if (*s == u'-') {
      d->leftAlign = true;
    } else if (*s == u'0') {
      d->zeroPad = true;
    } else {
      break;
    }
  }
  for (; *s >= u'0' && *s <= u'9'; ++s) {
    d->width = d->width * 10 + (*s - u'0');
    if (d->width > kMaxWidth) return false;
  }
  if (*s == u'l') {
    d->isLong = true;
    ++s;
  }
  d->kind = *s;
  switch (d->kind) {
    case u'd':
    case u'i':
    case u'u':
    case u'x':
    case u'X':
      break;
    case u's':
    case u'S':
    case u'c':
      if (d->zeroPad || (d->isLong && d->kind == u'S')) return false;
      break;
    default:
      return false;
  }
  *p = s + 1;
  return true;
}

void Pad(std::u16string& out, const Directive& d, std::u16string_view sign, std::u16string_view body) {
  size_t used = sign.size() + body.size();
  size_t fill = d.width > 0 && static_cast<size_t>(d.width) > used ? d.width - used : 0;
  if (d.leftAlign) {
    out += sign;
    out += body;
    out.append(fill, u' ');
  } else if (d.zeroPad) {
    out += sign;
    out.append(fill, u'0');
    out += body;
  } else {
    out.append(fill, u' ');
    out += sign;
    out += body;
  }
}

std::u16string Digits(unsigned long long value, unsigned base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(digits[value % base]));
    value /= base;
  } while (value != 0);
  return text;
}

// Narrow text through the device's ANSI code page, up to its first zero byte.
std::u16string Widen(LPCSTR text) {
  int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::u16string wide;
  if (needed > 0) {
    wide.resize(static_cast<size_t>(needed));
    needed = MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), needed);
  }
  if (needed <= 0) {
    DWORD error = GetLastError();
    if (error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY) AfxThrowMemoryException();
    AfxThrowInvalidArgException();
  }
  wide.resize(static_cast<size_t>(needed));
  if (!wide.empty() && wide.back() == u'\0') wide.pop_back();
  return wide;
}

std::u16string Formatted(LPCWSTR format, va_list args) {
  std::u16string out;
  for (LPCWSTR p = format; *p;) {
    if (*p != u'%') {
      out += *p++;
      continue;
    }
    ++p;
    if (*p == u'%') {
      out += u'%';
      ++p;
      continue;
    }
    Directive d;
    if (!ParseDirective(&p, &d)) AfxThrowInvalidArgException();
    // The device's long is 32 bits wide, so 'l' reads the same argument as none.
    switch (d.kind) {
      case u'd':
      case u'i': {
        int value = va_arg(args, int);
        long long wide = value;
        Pad(out, d, wide < 0 ? u"-" : u"", Digits(static_cast<unsigned long long>(wide < 0 ? -wide : wide), 10, false));
        break;
      }
      case u'u':
        Pad(out, d, u"", Digits(va_arg(args, unsigned), 10, false));
        break;
      case u'x':
      case u'X':
        Pad(out, d, u"", Digits(va_arg(args, unsigned), 16, d.kind == u'X'));
        break;
      case u'c':
        Pad(out, d, u"", std::u16string(1, static_cast<char16_t>(va_arg(args, int))));
        break;
      case u's': {
        LPCWSTR text = va_arg(args, LPCWSTR);
        Pad(out, d, u"", text ? std::u16string_view(text) : std::u16string_view(u"(null)"));
        break;
      }
      case u'S': {
        LPCSTR text = va_arg(args, LPCSTR);
        Pad(out, d, u"", text ? Widen(text) : std::u16string(u"(null)"));
        break;
      }
    }
  }
  return out;
}

}  // namespace

void CString::Format(LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  try {
    FormatV(format, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}

void CString::FormatV(LPCWSTR format, va_list args) {
  if (!format) AfxThrowInvalidArgException();
  Guarded([&] {
    std::u16string text = Formatted(format, args);
    text_.swap(text);
  });
}
