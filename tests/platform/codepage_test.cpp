#include "codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/temp_device.h"
#include "winbase.h"

namespace {

using corvale_test::TempDevice;

std::u16string ToWide(UINT codePage, std::string_view bytes) {
  int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(size), u'\0');
  EXPECT_EQ(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size), size);
  return out;
}

std::string ToBytes(UINT codePage, std::u16string_view wide, BOOL* usedDefault = nullptr) {
  int size =
      WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, usedDefault);
  std::string out(static_cast<std::size_t>(size), '\0');
  EXPECT_EQ(WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr,
                                usedDefault),
            size);
  return out;
}

class CodePageTest : public testing::Test {
 protected:
  TempDevice dev;  // code page 936
};

TEST_F(CodePageTest, ChinesePathRoundTripsThroughTheDeviceCodePage) {
  EXPECT_EQ(GetACP(), 936u);
  const std::u16string path = u"\\Windows\\\u542F\u52A8\\\u7A0B\u5E8F.lnk";  // 启动, 程序
  const std::string gbk = "\\Windows\\\xC6\xF4\xB6\xAF\\\xB3\xCC\xD0\xF2.lnk";
  EXPECT_EQ(ToBytes(CP_ACP, path), gbk);
  EXPECT_EQ(ToWide(CP_ACP, gbk), path);
  EXPECT_EQ(ToWide(936, gbk), path);
}

TEST_F(CodePageTest, UnmappableBytesBecomeReplacementsAndTheRestIsKept) {
  struct Case {
    UINT codePage;
    std::string bytes;
    std::u16string wide;
  } cases[] = {
      {936,
       "A\xFF"
       "B",
       u"A\uFFFDB"},
      {936, "\xC6\xF4\x81\x20x", u"\u542F\uFFFD x"},  // bad trail byte: the lead alone is lost
      {936, "AB\xC6", u"AB\uFFFD"},                   // double-byte cut off at the end
      {936, "\xC6", u"\uFFFD"},
      {CP_UTF8, "a\xC3(b", u"a\uFFFD(b"},
      {CP_UTF8, "\xE5\x90\xaf\xE5\x8A", u"\u542F\uFFFD"},  // truncated sequence at the end
      {CP_UTF8, "\xF0\x9F\x98\x80", u"\U0001F600"},
      {1252, "caf\xE9 \x80", u"caf\u00E9 \u20AC"},
      {1252, "a\x81z", u"a\uFFFDz"},
      {950, "\xB1\xD2\xB0\xCA", u"\u555F\u52D5"},  // 啟動 in Big5
  };
  for (const Case& c : cases) EXPECT_EQ(ToWide(c.codePage, c.bytes), c.wide) << c.codePage << " " << c.bytes;
}

TEST_F(CodePageTest, CountsAndBuffersFollowTheWin32Rules) {
  const char* text = "\xC6\xF4\xB6\xAF";                               // 启动
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 3);  // the terminator counts
  WCHAR out[3] = {1, 1, 1};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, out, 3), 3);
  EXPECT_EQ(std::u16string(out, 3), std::u16string(u"\u542F\u52A8", 3));
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, out, 2), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "a\xFF", 2, out, 3), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);

  struct Bad {
    UINT codePage;
    const char* text;
    int count;
    int wideCount;
  } bad[] = {{CP_ACP, nullptr, -1, 0}, {CP_ACP, "a", 0, 0}, {CP_ACP, "a", -2, 0},
             {CP_ACP, "a", 1, -1},     {12345, "a", 1, 0},  {1200, "a", 1, 0}};
  for (const Bad& b : bad) {
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(b.codePage, 0, b.text, b.count, nullptr, b.wideCount), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }

  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u542F", -1, nullptr, 0, nullptr, nullptr), 3);
  char small[2];
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u542F", -1, small, 2, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST_F(CodePageTest, UnmappableCharactersUseTheDefault) {
  BOOL usedDefault = FALSE;
  EXPECT_EQ(ToBytes(1252, u"a\u542Fb", &usedDefault), "a?b");
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(ToBytes(1252, u"caf\u00E9", &usedDefault), "caf\xE9");
  EXPECT_FALSE(usedDefault);
  EXPECT_EQ(ToBytes(936, u"x\U0001F600y", &usedDefault), "x?y");  // one default for the whole pair
  EXPECT_TRUE(usedDefault);
  char out[8] = {};
  EXPECT_EQ(WideCharToMultiByte(1252, 0, u"\u542F", 1, out, 8, "#", nullptr), 1);
  EXPECT_EQ(out[0], '#');
  std::u16string lone = u"a";
  lone += char16_t(0xD800);
  lone += u"b";
  EXPECT_EQ(ToBytes(CP_UTF8, lone),
            "a\xEF\xBF\xBD"
            "b");
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, out, 8, "?", nullptr), 0);  // UTF-8 takes no default
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CodePageDeviceTest, AnsiCodePageIsTheDevices) {
  device::Config config;
  config.codePage = 1252;
  TempDevice dev(config);
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(ToWide(CP_ACP, "\x80"), u"\u20AC");
}

TEST(CodePageSupportTest, KnowsWhatItCanConvert) {
  for (unsigned cp : {936u, 950u, 932u, 949u, 1252u, 1251u, 65001u, 54936u, 28591u})
    EXPECT_TRUE(platform::CodePageSupported(cp)) << cp;
  for (unsigned cp : {0u, 1200u, 1201u, 12345u, 99999u}) EXPECT_FALSE(platform::CodePageSupported(cp)) << cp;
}

TEST(Utf8NamesTest, OnlyWellFormedTextConverts) {
  std::u16string wide;
  EXPECT_TRUE(platform::Utf8ToUtf16("a\xE5\x90\xAF\xF0\x9F\x98\x80", &wide));
  EXPECT_EQ(wide, u"a\u542F\U0001F600");
  for (std::string_view bad : {"\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xE5\x90", "\x80", "\xF4\x90\x80\x80"})
    EXPECT_FALSE(platform::Utf8ToUtf16(bad, &wide));
  std::string narrow;
  EXPECT_TRUE(platform::Utf16ToUtf8(u"a\u542F\U0001F600", &narrow));
  EXPECT_EQ(narrow, "a\xE5\x90\xAF\xF0\x9F\x98\x80");
  EXPECT_FALSE(platform::Utf16ToUtf8(std::u16string(1, char16_t(0xDC00)), &narrow));
  EXPECT_FALSE(platform::Utf16ToUtf8(std::u16string(1, char16_t(0xD800)), &narrow));
}

TEST(Utf8NamesTest, EncodingIntoABufferNeverWritesPastIt) {
  struct Case {
    std::u16string_view text;
    std::size_t room;
    std::size_t expected;
  } cases[] = {
      {u"ab", 2, 2},         {u"ab", 1, platform::kNotUtf8},
      {u"\u542F", 3, 3},     {u"\u542F", 2, platform::kNotUtf8},  // a character is never cut
      {u"\U0001F600", 4, 4}, {u"\U0001F600", 3, platform::kNotUtf8},
      {u"", 0, 0},
  };
  for (const Case& c : cases) {
    std::string buffer(c.room + 1, '#');
    EXPECT_EQ(platform::EncodeUtf8(c.text, std::span(buffer.data(), c.room)), c.expected) << c.room;
    EXPECT_EQ(buffer.back(), '#') << c.room;
  }
  char room[8];
  EXPECT_EQ(platform::EncodeUtf8(std::u16string(1, char16_t(0xD800)), room), platform::kNotUtf8);
}

}  // namespace
