#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "afxcefilefind.h"
#include "device/device.h"

namespace {

namespace fs = std::filesystem;

class CCeFileFindTest : public testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    root_ = fs::path(testing::TempDir()) / ("cefilefind-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(root_);
    fs::create_directories(root_ / "Start");
    device::Config config;
    config.root = root_;
    device::Boot(config);
  }
  void TearDown() override { fs::remove_all(root_); }

  // |name| is relative to the device root.
  void MakeFile(std::u8string_view name, const std::string& bytes = "x") {
    std::ofstream(root_ / fs::path(name), std::ios::binary) << bytes;
  }

  // The usual loop over a search.
  static std::vector<std::u16string> Enumerate(CCeFileFind& find, LPCWSTR pattern) {
    std::vector<std::u16string> names;
    if (find.FindFile(pattern)) {
      BOOL more;
      do {
        more = find.FindNextFile();
        names.emplace_back(find.GetFileName().view());
      } while (more);
    }
    return names;
  }

  // What the system itself lists for |pattern|, in its order.
  static std::vector<std::u16string> SystemListing(LPCWSTR pattern) {
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(pattern, &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      names.emplace_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
  }

  static long FindCloseCalls() {
    const auto& entries = device::Current().trace.Entries();
    return std::count(entries.begin(), entries.end(), "FindClose");
  }

  fs::path root_;
};

TEST_F(CCeFileFindTest, SingleMatchIsHandledOnce) {
  MakeFile(u8"Start/only.lnk", "12345");
  CCeFileFind find;
  ASSERT_TRUE(find.FindFile(u"\\Start\\*.lnk"));
  EXPECT_FALSE(find.FindNextFile());
  EXPECT_EQ(find.GetFileName().view(), u"only.lnk");
  EXPECT_EQ(find.GetFilePath().view(), u"\\Start\\only.lnk");
  EXPECT_EQ(find.GetLength(), 5u);
  EXPECT_FALSE(find.IsDirectory());

  EXPECT_EQ(Enumerate(find, u"\\Start\\*.lnk"), std::vector<std::u16string>{u"only.lnk"});
}

TEST_F(CCeFileFindTest, SeveralMatchesAreHandledInTheSystemsOrder) {
  MakeFile(u8"Start/b.lnk");
  MakeFile(u8"Start/a.lnk");
  MakeFile(u8"Start/启动.lnk");
  MakeFile(u8"Start/c.txt");
  std::vector<std::u16string> expected = SystemListing(u"\\Start\\*.lnk");
  ASSERT_EQ(expected.size(), 3u);

  CCeFileFind find;
  EXPECT_EQ(Enumerate(find, u"\\Start\\*.lnk"), expected);
  // After the last match the search stays on it.
  EXPECT_FALSE(find.FindNextFile());
  EXPECT_EQ(find.GetFileName().view(), expected.back());
}

TEST_F(CCeFileFindTest, NoMatchEnumeratesNothing) {
  CCeFileFind find;
  EXPECT_FALSE(find.FindFile(u"\\Start\\*.lnk"));
  EXPECT_FALSE(find.FindNextFile());
  EXPECT_TRUE(find.GetFileName().IsEmpty());
  EXPECT_FALSE(find.FindFile(u"\\Missing\\*.*"));
  EXPECT_TRUE(Enumerate(find, u"\\Start\\*.lnk").empty());

  CCeFileFind unused;
  EXPECT_FALSE(unused.FindNextFile());
}

TEST_F(CCeFileFindTest, FirstMatchIsOnlyLookAheadUntilFindNextFile) {
  fs::create_directories(root_ / "Start" / "Sub");
  CCeFileFind find;
  ASSERT_TRUE(find.FindFile(u"\\Start\\Sub"));
  EXPECT_TRUE(find.GetFileName().IsEmpty());
  EXPECT_TRUE(find.GetFilePath().IsEmpty());
  EXPECT_FALSE(find.IsDirectory());
  EXPECT_EQ(find.GetRoot().view(), u"\\Start\\");

  EXPECT_FALSE(find.FindNextFile());
  EXPECT_EQ(find.GetFileName().view(), u"Sub");
  EXPECT_EQ(find.GetFilePath().view(), u"\\Start\\Sub");
  EXPECT_TRUE(find.IsDirectory());
  EXPECT_FALSE(find.IsDots());
}

TEST_F(CCeFileFindTest, FailingSystemCallsEndTheSearchCleanly) {
  MakeFile(u8"Start/a.lnk");
  MakeFile(u8"Start/b.lnk");
  CCeFileFind find;
  device::Current().faults.FailNth("FindNextFileW", 1, ERROR_GEN_FAILURE);
  ASSERT_TRUE(find.FindFile(u"\\Start\\*.lnk"));
  EXPECT_FALSE(find.FindNextFile());
  EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
  EXPECT_EQ(find.GetFileName().view(), SystemListing(u"\\Start\\*.lnk").front());
  EXPECT_FALSE(find.FindNextFile());

  device::Current().faults.FailAlways("FindFirstFileW", ERROR_ACCESS_DENIED);
  EXPECT_FALSE(find.FindFile(u"\\Start\\*.lnk"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(find.GetFileName().IsEmpty());
}

TEST_F(CCeFileFindTest, CloseAndReuseReleaseEachSearch) {
  MakeFile(u8"Start/a.lnk");
  MakeFile(u8"Start/b.lnk");
  MakeFile(u8"one.txt");
  device::Current().trace.Enable(true);
  {
    CCeFileFind find;
    ASSERT_TRUE(find.FindFile(u"\\Start\\*.lnk"));
    EXPECT_TRUE(find.FindNextFile());

    // A new search replaces the open one.
    EXPECT_EQ(Enumerate(find, u"\\*.txt"), std::vector<std::u16string>{u"one.txt"});
    EXPECT_EQ(find.GetFilePath().view(), u"\\one.txt");
    EXPECT_EQ(FindCloseCalls(), 1);

    find.Close();
    EXPECT_EQ(FindCloseCalls(), 2);
    EXPECT_TRUE(find.GetFileName().IsEmpty());
    EXPECT_FALSE(find.FindNextFile());
    find.Close();
    EXPECT_EQ(FindCloseCalls(), 2);

    ASSERT_TRUE(find.FindFile(u"\\Start\\*.lnk"));
  }
  EXPECT_EQ(FindCloseCalls(), 3);  // the destructor's
}

}  // namespace
