// CString: the framework's UTF-16 text value.
//
// A value type over std::u16string. Its LPCWSTR conversion never yields null,
// so it can go straight to any platform service. Failures throw the framework's
// exceptions (afx.h): CMemoryException when memory runs out, CInvalidArgException
// for an index out of range or a malformed Format directive.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

#include "wintypes.h"

#define _T(x) u##x

class CString {
 public:
  CString() noexcept = default;
  CString(LPCWSTR text);  // NOLINT(google-explicit-constructor): null is the empty string
  explicit CString(std::u16string_view text);
  CString(const CString& other);
  CString(CString&& other) noexcept = default;
  ~CString() = default;

  CString& operator=(const CString& other);
  CString& operator=(CString&& other) noexcept = default;
  CString& operator=(LPCWSTR text);

  operator LPCWSTR() const noexcept { return text_.c_str(); }  // NOLINT(google-explicit-constructor)
  std::u16string_view view() const noexcept { return text_; }

  int GetLength() const noexcept { return static_cast<int>(text_.size()); }
  bool IsEmpty() const noexcept { return text_.empty(); }
  void Empty() noexcept { text_.clear(); }
  // Index GetLength() reads the terminating zero; anything further throws.
  char16_t GetAt(int index) const;
  char16_t operator[](int index) const { return GetAt(index); }
  void SetAt(int index, char16_t ch);

  CString& operator+=(const CString& text);
  CString& operator+=(LPCWSTR text);
  CString& operator+=(char16_t ch);

  // Ordinal: -1, 0 or 1.
  int Compare(LPCWSTR text) const noexcept;
  // As Compare after simple case folding of Basic Latin, Latin-1 and Latin Extended-A letters.
  int CompareNoCase(LPCWSTR text) const noexcept;

  // Index of the first match at or after |start|, or -1.
  int Find(char16_t ch, int start = 0) const noexcept;
  int Find(LPCWSTR sub, int start = 0) const noexcept;
  int ReverseFind(char16_t ch) const noexcept;

  CString Mid(int first, int count) const;
  CString Mid(int first) const;
  CString Left(int count) const;
  CString Right(int count) const;

  // Whitespace: U+0009-U+000D, space, no-break space and ideographic space.
  CString& TrimRight();
  CString& TrimRight(char16_t ch);
  CString& TrimLeft();
  CString& TrimLeft(char16_t ch);
  CString& Trim();

  // Returns how many were replaced.
  int Replace(char16_t oldCh, char16_t newCh) noexcept;
  int Replace(LPCWSTR oldText, LPCWSTR newText);
  CString& MakeUpper() noexcept;
  CString& MakeLower() noexcept;

  // A writable buffer of at least |minLength| characters plus a terminator,
  // holding the current text. ReleaseBuffer ends the writing: the length is
  // |newLength|, or up to the first zero when -1.
  LPWSTR GetBuffer(int minLength);
  void ReleaseBuffer(int newLength = -1);

  // printf-style: %s (LPCWSTR), %S (narrow text in the device's ANSI code page),
  // %c, %d, %i, %u, %x, %X, an 'l' size on the integer ones, and %%. Integers
  // take a width and the '-' and '0' flags; strings and %c take a width and '-'.
  // 'l' is the device's 32-bit long, as LONG and DWORD are. Any other directive
  // throws CInvalidArgException and leaves the text unchanged.
  void Format(LPCWSTR format, ...);
  void FormatV(LPCWSTR format, va_list args);

  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, LPCWSTR b);
  friend CString operator+(LPCWSTR a, const CString& b);
  friend CString operator+(const CString& a, char16_t b);
  friend CString operator+(char16_t a, const CString& b);

  friend bool operator==(const CString& a, const CString& b) noexcept { return a.text_ == b.text_; }
  friend bool operator==(const CString& a, LPCWSTR b) noexcept { return a.Compare(b) == 0; }
  friend bool operator==(LPCWSTR a, const CString& b) noexcept { return b.Compare(a) == 0; }
  friend bool operator!=(const CString& a, const CString& b) noexcept { return !(a == b); }
  friend bool operator!=(const CString& a, LPCWSTR b) noexcept { return !(a == b); }
  friend bool operator!=(LPCWSTR a, const CString& b) noexcept { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) noexcept { return a.text_ < b.text_; }
  friend bool operator<(const CString& a, LPCWSTR b) noexcept { return a.Compare(b) < 0; }
  friend bool operator<(LPCWSTR a, const CString& b) noexcept { return b.Compare(a) > 0; }

 private:
  std::u16string text_;
};
