#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel_objects.h"
#include "platform/temp_device.h"
#include "winbase.h"

namespace {

using corvale_test::TempDevice;
using corvale_test::U16;

struct Listed {
  std::u16string name;
  DWORD attributes;
  DWORD size;
  bool operator==(const Listed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Listed& listed) {
  std::string ascii;
  for (char16_t c : listed.name) ascii += c < 0x80 ? static_cast<char>(c) : '?';
  return out << "{" << ascii << ", 0x" << std::hex << listed.attributes << std::dec << ", " << listed.size << "}";
}

// Everything FindFirstFileW/FindNextFileW report for |pattern|, or the error.
std::vector<Listed> Enumerate(const std::u16string& pattern, DWORD* error = nullptr) {
  std::vector<Listed> out;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    if (error) *error = GetLastError();
    return out;
  }
  do {
    out.push_back({data.cFileName, data.dwFileAttributes, data.nFileSizeLow});
  } while (FindNextFileW(find, &data));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  EXPECT_TRUE(FindClose(find));
  if (error) *error = ERROR_SUCCESS;
  return out;
}

std::vector<std::u16string> Names(const std::vector<Listed>& listed) {
  std::vector<std::u16string> names;
  for (const Listed& l : listed) names.push_back(l.name);
  return names;
}

class FindTest : public testing::Test {
 protected:
  void SetUp() override {
    dev.AddFile("windows/startup/b.lnk", "bb");
    dev.AddFile("windows/startup/A.LNK", "a");
    dev.AddFile("windows/startup/c.Lnk", "ccc");
    dev.AddFile("windows/startup/a.lnkx", "x");
    dev.AddFile("windows/startup/lnk", "no dot");
    dev.AddFile("windows/startup/notes.txt", "n");
    dev.AddDir("windows/startup/Folder.lnk");
    dev.AddFile("windows/startup/new\nline.lnk", "bad");
    dev.AddFile("windows/startup/\xff\xfe.lnk", "bad");
    dev.AddFile("windows/startup/colon:.lnk", "bad");
    dev.AddFile("windows/startup/star*.lnk", "bad");
    dev.AddFile("windows/startup/\xe5\x90\xaf\xe5\x8a\xa8.lnk", "qidong");  // 启动
    dev.AddOutsideFile("secret.lnk", "secret");
  }

  TempDevice dev;
};

TEST_F(FindTest, ListsMatchesInCaseInsensitiveOrder) {
  DWORD error = 0;
  std::vector<Listed> listed = Enumerate(u"\\WINDOWS\\startup\\*.lnk", &error);
  ASSERT_EQ(error, ERROR_SUCCESS);
  std::vector<Listed> expected = {
      {u"A.LNK", FILE_ATTRIBUTE_NORMAL, 1},
      {u"b.lnk", FILE_ATTRIBUTE_NORMAL, 2},
      {u"c.Lnk", FILE_ATTRIBUTE_NORMAL, 3},
      {u"Folder.lnk", FILE_ATTRIBUTE_DIRECTORY, 0},
      {u"\u542F\u52A8.lnk", FILE_ATTRIBUTE_NORMAL, 6},
  };
  EXPECT_EQ(listed, expected);
}

TEST_F(FindTest, PatternsMatchWholeNames) {
  struct Case {
    const char16_t* pattern;
    std::vector<std::u16string> names;
  } cases[] = {
      {u"\\Windows\\StartUp\\*.LNK", {u"A.LNK", u"b.lnk", u"c.Lnk", u"Folder.lnk", u"\u542F\u52A8.lnk"}},
      {u"\\Windows\\StartUp\\?.lnk", {u"A.LNK", u"b.lnk", u"c.Lnk"}},
      {u"\\Windows\\StartUp\\a.lnk?", {u"a.lnkx"}},
      {u"\\Windows\\StartUp\\A.lnk", {u"A.LNK"}},
      {u"\\Windows\\StartUp\\*x", {u"a.lnkx"}},
      {u"\\Windows\\StartUp\\*lnk*",
       {u"A.LNK", u"a.lnkx", u"b.lnk", u"c.Lnk", u"Folder.lnk", u"lnk", u"\u542F\u52A8.lnk"}},
      {u"\\Windows\\StartUp\\*.*",
       {u"A.LNK", u"a.lnkx", u"b.lnk", u"c.Lnk", u"Folder.lnk", u"lnk", u"notes.txt", u"\u542F\u52A8.lnk"}},
      {u"/windows/startup/\u542F*", {u"\u542F\u52A8.lnk"}},
      {u"\\*", {u"windows"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Names(Enumerate(c.pattern)), c.names);
}

TEST_F(FindTest, ReportsFailures) {
  dev.AddFile("file.txt");
  struct Case {
    const char16_t* pattern;
    DWORD error;
  } cases[] = {
      {u"\\Windows\\StartUp\\*.exe", ERROR_FILE_NOT_FOUND},
      {u"\\Windows\\StartUp\\new?line.lnk", ERROR_FILE_NOT_FOUND},
      {u"\\Windows\\StartUp\\.", ERROR_FILE_NOT_FOUND},
      {u"\\Windows\\StartUp\\", ERROR_FILE_NOT_FOUND},
      {u"\\Windows\\Missing\\*", ERROR_PATH_NOT_FOUND},
      {u"\\Missing\\Deeper\\*", ERROR_PATH_NOT_FOUND},
      {u"\\file.txt\\*", ERROR_PATH_NOT_FOUND},
      {u"\\Windows\\..\\*", ERROR_INVALID_NAME},
      {u"\\Windows\\StartUp\\a:*", ERROR_INVALID_NAME},
  };
  for (const Case& c : cases) {
    DWORD error = 0;
    EXPECT_TRUE(Enumerate(c.pattern, &error).empty());
    EXPECT_EQ(error, c.error);
  }
  EXPECT_EQ(platform::LiveFindHandles(), 0u);
}

TEST_F(FindTest, LinksShowWhatTheyLeadTo) {
  dev.AddDir("links");
  dev.AddSymlink("links/to-file", "../windows/startup/c.Lnk");
  dev.AddSymlink("links/to-dir", "../windows");
  dev.AddSymlink("links/out", dev.Outside() / "secret.lnk");
  dev.AddSymlink("links/dangling", "nothing");
  std::vector<Listed> expected = {
      {u"dangling", FILE_ATTRIBUTE_NORMAL, 0},
      {u"out", FILE_ATTRIBUTE_NORMAL, 0},
      {u"to-dir", FILE_ATTRIBUTE_DIRECTORY, 0},
      {u"to-file", FILE_ATTRIBUTE_NORMAL, 3},
  };
  EXPECT_EQ(Enumerate(u"\\Links\\*"), expected);
  // Listed, yet not to be opened.
  EXPECT_EQ(CreateFileW(u"\\links\\out", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  // A folder reached through a link lists like any other.
  EXPECT_EQ(Names(Enumerate(u"\\links\\to-dir\\startup\\c*")), std::vector<std::u16string>{u"c.Lnk"});
}

TEST_F(FindTest, NextAfterTheEndAndStaleHandles) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(u"\\Windows\\StartUp\\a.lnk", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::u16string(data.cFileName), u"A.LNK");
  for (int i = 0; i < 2; ++i) {
    SetLastError(0);
    EXPECT_FALSE(FindNextFileW(find, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  }
  HANDLE file = CreateFileW(u"\\Windows\\StartUp\\a.lnk", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindClose(file));  // a file is no enumeration
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(CloseHandle(find));  // and an enumeration no file
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_TRUE(FindClose(find));
  for (HANDLE bad : {find, file, INVALID_HANDLE_VALUE, HANDLE(nullptr)}) {
    SetLastError(0);
    EXPECT_FALSE(FindNextFileW(bad, &data));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_FALSE(FindClose(bad));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  }
  EXPECT_TRUE(CloseHandle(file));
}

TEST(FindLargeFolderTest, TenThousandEntriesInOrder) {
  TempDevice dev;
  dev.AddDir("windows/startup");
  constexpr int kCount = 10000;
  for (int i = kCount - 1; i >= 0; --i) {
    char name[40];
    std::snprintf(name, sizeof name, "windows/startup/%s%05d.lnk", i % 2 ? "Item" : "item", i);
    std::ofstream(dev.Host(name)) << 'x';
  }
  std::vector<Listed> listed = Enumerate(u"\\Windows\\StartUp\\*.lnk");
  ASSERT_EQ(listed.size(), static_cast<std::size_t>(kCount));
  for (int i = 0; i < kCount; ++i) {
    char name[40];
    std::snprintf(name, sizeof name, "%s%05d.lnk", i % 2 ? "Item" : "item", i);
    ASSERT_EQ(listed[i].name, U16(name)) << i;
  }
  // Listed names open as spelled (a sample: creating the folder is what costs).
  for (std::size_t i = 0; i < listed.size(); i += 7) {
    std::u16string path = u"\\Windows\\StartUp\\" + listed[i].name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }
}

}  // namespace
