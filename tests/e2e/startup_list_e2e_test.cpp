// The built program, run with scripts on temporary devices: what the list
// shows for the shortcuts a device holds.
#include <gtest/gtest.h>

#include "e2e/run_corvale.h"
#include "platform/temp_device.h"

namespace {

using corvale_test::RunCorvale;
using corvale_test::RunResult;
using corvale_test::TempDevice;

constexpr char kStartup[] = "Windows/StartUp/";

class StartupListE2E : public ::testing::Test {
 protected:
  RunResult Run(const std::string& script, std::vector<std::string> extra = {}) {
    std::vector<std::string> args{"--device", device_.Root().string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCorvale(CORVALE_EXE, args, script, device_.Base());
  }
  nlohmann::json Rows(const RunResult& r) {
    auto rows = r.Events("rows");
    return rows.empty() ? nlohmann::json() : rows.front()["rows"];
  }
  void AddShortcut(const std::string& name, const std::string& bytes) { device_.AddFile(kStartup + name, bytes); }

  TempDevice device_;
};

TEST_F(StartupListE2E, EmptyOrMissingFolderGivesAnEmptyList) {
  RunResult missing = Run("list\n");
  EXPECT_EQ(missing.status, 0) << missing.err;
  EXPECT_TRUE(Rows(missing).empty());
  device_.AddDir("Windows/StartUp");
  device_.AddFile("Windows/StartUp/readme.txt", "not a shortcut");
  RunResult empty = Run("list\n");
  EXPECT_TRUE(Rows(empty).empty());
  EXPECT_EQ(empty.Events("rows").front()["mark"], -1);
}

TEST_F(StartupListE2E, ShortcutsAreListedInReverseWithTheirPaths) {
  AddShortcut("X.lnk", "10#\"\\x.exe\"");
  AddShortcut("y.LNK", "10#\"\\y.exe\"");
  AddShortcut("Z.lnk", "10#\"\\z.exe\"");
  RunResult r = Run("list\n");
  ASSERT_EQ(r.status, 0) << r.err;
  nlohmann::json rows = Rows(r);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0]["text"], "\\z.exe");
  EXPECT_EQ(rows[0]["path"], "\\Windows\\StartUp\\Z.lnk");
  EXPECT_EQ(rows[1]["path"], "\\Windows\\StartUp\\y.LNK");
  EXPECT_EQ(rows[2]["text"], "\\x.exe");
  EXPECT_EQ(rows[2]["selected"], false);
}

TEST_F(StartupListE2E, TargetTextIsCutAndTrimmedAsShortcutsAreWritten) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
  };
  const std::string longPath = "\\" + std::string(300, 'a');
  const std::vector<Case> cases = {
      {"a01", "18#\"\\Windows\\a.exe\"", "\\Windows\\a.exe"},
      {"a02", "24#\"\\Windows\\a.exe\" -start", "\\Windows\\a.exe\" -star"},
      {"a03", "18#\"\\Windows\\a.exe\"\r\n", "\\Windows\\a.exe\"\r"},
      {"a04", "19#\"\\Windows\\a.exe\"\"", "\\Windows\\a.exe"},
      {"a05", "16#\\Windows\\a.exe", "Windows\\a.ex"},
      {"a06", "\"\\Windows\\a.exe\"", "\\Windows\\a.exe"},
      {"a07", "ab", ""},
      {"a08", "", ""},
      {"a09", "1#ab", ""},
      {"a10", "9#\"\\a#b.exe\"", "\\a#b.exe"},
      {"a11", std::string("9#\"\\a.exe\"\0rest\"", 17), "\\a.exe"},
      {"a12", "300#\"" + longPath + "\"", longPath.substr(0, 256 - 5 - 1)},
  };
  for (const Case& c : cases) AddShortcut(std::string(c.name) + ".lnk", c.bytes);
  RunResult r = Run("list\n");
  ASSERT_EQ(r.status, 0) << r.err;
  nlohmann::json rows = Rows(r);
  ASSERT_EQ(rows.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const nlohmann::json& row = rows[cases.size() - 1 - i];
    EXPECT_EQ(row["path"], std::string("\\Windows\\StartUp\\") + cases[i].name + ".lnk");
    EXPECT_EQ(row["text"], cases[i].text) << cases[i].name;
  }
}

TEST_F(StartupListE2E, ShortcutsThatCannotBeOpenedAreLeftOut) {
  AddShortcut("a.lnk", "10#\"\\a.exe\"");
  AddShortcut("locked.lnk", "10#\"\\l.exe\"");
  device_.Chmod("Windows/StartUp/locked.lnk", 0);
  device_.AddDir("Windows/StartUp/folder.lnk");
  device_.AddSymlink("Windows/StartUp/away.lnk", device_.AddOutsideFile("away.lnk", "10#\"\\w.exe\""));
  AddShortcut("z.lnk", "10#\"\\z.exe\"");
  RunResult r = Run("list\n");
  ASSERT_EQ(r.status, 0) << r.err;
  nlohmann::json rows = Rows(r);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]["text"], "\\z.exe");
  EXPECT_EQ(rows[1]["text"], "\\a.exe");
}

TEST_F(StartupListE2E, ChinesePathIsReadThroughTheDeviceCodePage) {
  // "\程序\天气.exe" in code page 936.
  AddShortcut("天气.lnk", "15#\"\\\xB3\xCC\xD0\xF2\\\xCC\xEC\xC6\xF8.exe\"");
  RunResult r = Run("list\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Rows(r)[0]["text"], "\\程序\\天气.exe");
  EXPECT_EQ(Rows(r)[0]["path"], "\\Windows\\StartUp\\天气.lnk");
  // Bytes another code page cannot map become U+FFFD and the rest is kept.
  RunResult utf8 = Run("list\n", {"--codepage", "65001"});
  EXPECT_EQ(Rows(utf8)[0]["text"], "\\\uFFFD\uFFFD\uFFFD\uFFFD\\\uFFFD\uFFFD\uFFFD\uFFFD.exe");
}

TEST_F(StartupListE2E, EachRowHasAnImageOfItsOwnInEnumerationOrder) {
  AddShortcut("a.lnk", "10#\"\\a.exe\"");
  AddShortcut("b.lnk", "10#\"\\Windows\\clock\"");
  RunResult r = Run("list\n");
  ASSERT_EQ(r.status, 0) << r.err;
  nlohmann::json rows = Rows(r);
  ASSERT_EQ(rows.size(), 2u);
  // One image per row, in the order the rows were added.
  EXPECT_EQ(rows[1]["image"], 0);
  EXPECT_EQ(rows[0]["image"], 1);
}

}  // namespace
