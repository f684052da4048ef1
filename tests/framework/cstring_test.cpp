#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "afx.h"
#include "device/device.h"

namespace {

// Readable failure output for UTF-16 text.
std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out;
}

#define EXPECT_TEXT(actual, expected) EXPECT_EQ(Narrow(CString(actual).view()), Narrow(std::u16string_view(expected)))

struct MidCase {
  int first;
  int count;
  const char16_t* expected;
};

TEST(CStringSlicing, MidClampsFirstThenLengthThenEnd) {
  const CString text(u"abcdef");
  const MidCase cases[] = {
      {2, 3, u"cde"}, {0, 6, u"abcdef"},       {-2, 3, u"abc"}, {2, -1, u""},
      {4, 10, u"ef"}, {1, INT_MAX, u"bcdef"},  {6, 1, u""},     {9, 2, u""},
      {8, -5, u""},   {INT_MAX, INT_MAX, u""}, {-5, -5, u""},
  };
  for (const MidCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "Mid(" << c.first << ", " << c.count << ")");
    EXPECT_TEXT(text.Mid(c.first, c.count), c.expected);
  }
  EXPECT_TEXT(text.Mid(2), u"cdef");
  EXPECT_TEXT(text.Mid(-3), u"abcdef");
  EXPECT_TEXT(text.Mid(9), u"");
}

TEST(CStringSlicing, LeftAndRightClampToTheText) {
  const CString text(u"abcdef");
  EXPECT_TEXT(text.Left(2), u"ab");
  EXPECT_TEXT(text.Left(-1), u"");
  EXPECT_TEXT(text.Left(99), u"abcdef");
  EXPECT_TEXT(text.Right(2), u"ef");
  EXPECT_TEXT(text.Right(-1), u"");
  EXPECT_TEXT(text.Right(99), u"abcdef");
}

TEST(CStringSearch, FindAndReverseFind) {
  const CString path(u"\\Windows\\Start Menu\\x.lnk");
  EXPECT_EQ(path.Find(u'\\'), 0);
  EXPECT_EQ(path.Find(u'\\', 1), 8);
  EXPECT_EQ(path.Find(u'q'), -1);
  EXPECT_EQ(path.Find(u'\\', -1), -1);
  EXPECT_EQ(path.Find(u'k', path.GetLength()), -1);
  EXPECT_EQ(path.ReverseFind(u'\\'), 19);
  EXPECT_EQ(path.ReverseFind(u'q'), -1);
  EXPECT_EQ(CString().ReverseFind(u'\\'), -1);

  EXPECT_EQ(path.Find(u"Start"), 9);
  EXPECT_EQ(path.Find(u".lnk", 21), 21);
  EXPECT_EQ(path.Find(u".lnk", 22), -1);
  EXPECT_EQ(path.Find(u"", 3), 3);
  EXPECT_EQ(path.Find(u"x", 99), -1);
  EXPECT_EQ(path.Find(static_cast<LPCWSTR>(nullptr)), -1);
}

TEST(CStringEditing, TrimRemovesEveryRepeat) {
  CString target(u"\"\\Windows\\app.exe\"\"\"");
  target.TrimRight(u'"');
  EXPECT_TEXT(target, u"\"\\Windows\\app.exe");
  target.TrimLeft(u'"');
  EXPECT_TEXT(target, u"\\Windows\\app.exe");

  CString quotes(u"\"\"");
  EXPECT_TEXT(quotes.TrimRight(u'"'), u"");

  CString spaced(u" \t\u3000a b\r\n \u00A0");
  EXPECT_TEXT(CString(spaced).TrimRight(), u" \t\u3000a b");
  EXPECT_TEXT(CString(spaced).TrimLeft(), u"a b\r\n \u00A0");
  EXPECT_TEXT(spaced.Trim(), u"a b");
}

TEST(CStringEditing, ReplaceAndCase) {
  CString path(u"/a/b/c");
  EXPECT_EQ(path.Replace(u'/', u'\\'), 3);
  EXPECT_TEXT(path, u"\\a\\b\\c");

  CString text(u"aXaXa");
  EXPECT_EQ(text.Replace(u"Xa", u"--"), 2);
  EXPECT_TEXT(text, u"a----");
  EXPECT_EQ(text.Replace(u"", u"y"), 0);
  EXPECT_EQ(text.Replace(u"-", nullptr), 4);
  EXPECT_TEXT(text, u"a");

  CString mixed(u"Abc\u00E9z");
  EXPECT_TEXT(CString(mixed).MakeUpper(), u"ABC\u00E9Z");
  EXPECT_TEXT(mixed.MakeLower(), u"abc\u00E9z");
}

struct CompareCase {
  const char16_t* a;
  const char16_t* b;
  int noCase;
};

TEST(CStringCompare, NoCaseFoldsLatinLetters) {
  const CompareCase cases[] = {
      {u"Start Menu", u"START MENU", 0},
      {u"\u00C0\u00C9\u00DE", u"\u00E0\u00E9\u00FE", 0},  // Latin-1
      {u"\u0100\u0141\u017D", u"\u0101\u0142\u017E", 0},  // Latin Extended-A, both pairings
      {u"\u0178", u"\u00FF", 0},
      {u"\u00D7", u"\u00F7", -1},  // signs, not letters
      {u"a", u"B", -1},
      {u"abc", u"AB", 1},
      {u"", u"", 0},
  };
  for (const CompareCase& c : cases) {
    SCOPED_TRACE(Narrow(c.a) + " vs " + Narrow(c.b));
    EXPECT_EQ(CString(c.a).CompareNoCase(c.b), c.noCase);
    EXPECT_EQ(CString(c.b).CompareNoCase(c.a), -c.noCase);
  }
}

TEST(CStringCompare, OrdinalOperators) {
  EXPECT_EQ(CString(u"B").Compare(u"a"), -1);
  EXPECT_EQ(CString(u"a").Compare(u"a"), 0);
  EXPECT_EQ(CString(u"ab").Compare(nullptr), 1);
  EXPECT_TRUE(CString(u"B") < CString(u"a"));
  EXPECT_TRUE(CString(u"x") == u"x");
  EXPECT_TRUE(u"x" != CString(u"X"));
  EXPECT_TRUE(CString() == nullptr);
}

TEST(CStringValue, CopiesAreIndependent) {
  CString a(u"one");
  CString b = a;
  b += u"!";
  b.SetAt(0, u'O');
  EXPECT_TEXT(a, u"one");
  EXPECT_TEXT(b, u"One!");

  CString c;
  c = a;
  a.Empty();
  EXPECT_TEXT(c, u"one");
  EXPECT_TRUE(a.IsEmpty());

  CString moved = std::move(c);
  EXPECT_TEXT(moved, u"one");
}

TEST(CStringValue, NeverYieldsANullPointer) {
  EXPECT_NE(static_cast<LPCWSTR>(CString()), nullptr);
  EXPECT_NE(static_cast<LPCWSTR>(CString(static_cast<LPCWSTR>(nullptr))), nullptr);
  CString s(u"x");
  s = static_cast<LPCWSTR>(nullptr);
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_EQ(static_cast<LPCWSTR>(s)[0], u'\0');
}

TEST(CStringValue, ConcatenationInEveryMix) {
  CString s(u"b");
  EXPECT_TEXT(u"a" + s + u'c' + CString(u"d") + u"e", u"abcde");
  EXPECT_TEXT(u'<' + s, u"<b");
  s += s;
  s += static_cast<LPCWSTR>(s);  // its own characters
  s += u'!';
  EXPECT_TEXT(s, u"bbbb!");
}

TEST(CStringValue, IndexBeyondTheTextThrows) {
  const CString s(u"ab");
  EXPECT_EQ(s[1], u'b');
  EXPECT_EQ(s.GetAt(2), u'\0');
  EXPECT_THROW(s.GetAt(3), CInvalidArgException);
  EXPECT_THROW(s.GetAt(-1), CInvalidArgException);
  CString t(s);
  EXPECT_THROW(t.SetAt(2, u'x'), CInvalidArgException);
}

TEST(CStringBuffer, ReleaseTakesTheLengthFromTheFirstZeroOrTheCaller) {
  CString s(u"ab");
  LPWSTR p = s.GetBuffer(10);
  EXPECT_EQ(p[0], u'a');
  EXPECT_EQ(p[1], u'b');
  std::char_traits<char16_t>::copy(p, u"hello\0junk", 10);
  s.ReleaseBuffer();
  EXPECT_TEXT(s, u"hello");

  p = s.GetBuffer(0);
  p[0] = u'J';
  s.ReleaseBuffer(3);
  EXPECT_TEXT(s, u"Jel");

  // The whole buffer written with no zero of its own.
  CString full;
  p = full.GetBuffer(3);
  std::char_traits<char16_t>::copy(p, u"xyz", 3);
  full.ReleaseBuffer();
  EXPECT_TEXT(full, u"xyz");

  EXPECT_THROW(full.GetBuffer(-1), CInvalidArgException);
  full.GetBuffer(4);
  EXPECT_THROW(full.ReleaseBuffer(5), CInvalidArgException);
  EXPECT_THROW(full.ReleaseBuffer(-2), CInvalidArgException);
}

TEST(CStringFormat, Directives) {
  CString s;
  s.Format(u"%s=%d%%", u"x", -5);
  EXPECT_TEXT(s, u"x=-5%");
  s.Format(u"[%s][%S]", static_cast<LPCWSTR>(nullptr), static_cast<LPCSTR>(nullptr));
  EXPECT_TEXT(s, u"[(null)][(null)]");
  s.Format(u"%i|%u|%x|%X|%c", INT_MIN, 4294967295u, 0xBEEFu, 255u, u'Z');
  EXPECT_TEXT(s, u"-2147483648|4294967295|beef|FF|Z");
  s.Format(u"%ld|%lu|%lx", LONG{-7}, DWORD{7}, DWORD{0x1F});
  EXPECT_TEXT(s, u"-7|7|1f");
  s.Format(u"[%5d][%-5d][%05d][%05x][%-05d][%1d]", 42, 42, -42, 0xABu, 3, 123);
  EXPECT_TEXT(s, u"[   42][42   ][-0042][000ab][3    ][123]");
  s.Format(u"[%4s][%-4s][%3c]", u"ab", u"ab", u'c');
  EXPECT_TEXT(s, u"[  ab][ab  ][  c]");
  s.Format(u"");
  EXPECT_TEXT(s, u"");
}

TEST(CStringFormat, UnsupportedDirectiveThrowsAndKeepsTheText) {
  const char16_t* formats[] = {u"%f",  u"%",   u"ab%", u"%5.2d", u"%+d",     u"% d", u"%hs",
                               u"%lS", u"%0s", u"%p",  u"%*d",   u"%99999d", u"%-%"};
  for (const char16_t* format : formats) {
    SCOPED_TRACE(Narrow(format));
    CString s(u"keep");
    EXPECT_THROW(s.Format(format, 1), CInvalidArgException);
    EXPECT_TEXT(s, u"keep");
  }
  CString s(u"keep");
  EXPECT_THROW(s.Format(nullptr), CInvalidArgException);
}

// %S widens through the device's ANSI code page, so the device has to be running.
class CStringNarrowFormat : public testing::Test {
 protected:
  void Boot(unsigned codePage) {
    device::Config config;
    config.root = std::filesystem::path(testing::TempDir());
    config.codePage = codePage;
    device::Boot(config);
  }
};

struct NarrowCase {
  unsigned codePage;
  std::string bytes;
  const char16_t* expected;
};

TEST_F(CStringNarrowFormat, WidensThroughTheDeviceCodePageUpToTheFirstZero) {
  const NarrowCase cases[] = {
      // GBK for \我的文档\启动.lnk
      {936, "\\\xCE\xD2\xB5\xC4\xCE\xC4\xB5\xB5\\\xC6\xF4\xB6\xAF.lnk", u"\\我的文档\\启动.lnk"},
      {936, std::string("abc\0def", 7), u"abc"},
      {936,
       "A\xFF"
       "B",
       u"A\uFFFDB"},  // unmappable: replaced, the rest kept
      {936, "", u""},
      {1252, "caf\xE9", u"caf\u00E9"},
  };
  for (const NarrowCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.codePage << " " << c.bytes);
    Boot(c.codePage);
    std::string buffer = c.bytes + std::string(8, '\0');  // as read from a file, zero padded
    CString s;
    s.Format(u"%S", buffer.data());
    EXPECT_TEXT(s, c.expected);
  }
}

TEST_F(CStringNarrowFormat, FailedConversionThrowsAndKeepsTheText) {
  Boot(936);
  device::Current().faults.FailAlways("MultiByteToWideChar");
  CString s(u"keep");
  EXPECT_THROW(s.Format(u"%S", "abc"), CInvalidArgException);
  EXPECT_TEXT(s, u"keep");
  device::Current().faults.FailAlways("MultiByteToWideChar", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_THROW(s.Format(u"%S", "abc"), CMemoryException);
}

TEST(FrameworkExceptions, ThrowHelpersAndMessages) {
  struct Case {
    void (*thrower)();
    const char* className;
    const char16_t* message;
  };
  const Case cases[] = {
      {AfxThrowMemoryException, "CMemoryException", u"Out of memory."},
      {AfxThrowInvalidArgException, "CInvalidArgException", u"Invalid argument."},
      {AfxThrowNotSupportedException, "CNotSupportedException", u"An unsupported operation was attempted."},
      {AfxThrowResourceException, "CResourceException", u"A required resource was unavailable."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    try {
      c.thrower();
      ADD_FAILURE() << "nothing thrown";
    } catch (CException& e) {
      EXPECT_STREQ(e.GetRuntimeClassName(), c.className);
      CString text(u"stale");
      EXPECT_TRUE(e.GetErrorMessage(text));
      EXPECT_TEXT(text, c.message);
    }
  }
  CString text(u"stale");
  EXPECT_FALSE(CException().GetErrorMessage(text));
  EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
