// The built program's dialog: how it shows itself, its commands, how it ends,
// and the one-instance rule.
#include <signal.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "device/device.h"
#include "e2e/run_corvale.h"
#include "platform/temp_device.h"
#include "winuser.h"

namespace {

using corvale_test::RunCorvale;
using corvale_test::RunResult;
using corvale_test::TempDevice;

// True once a process has published its windows in |procs|.
bool FirstPublished(const std::filesystem::path& procs) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(procs, ec))
    if (entry.path().extension().empty() && std::filesystem::file_size(entry.path(), ec) > 0) return true;
  return false;
}

class DialogE2E : public ::testing::Test {
 protected:
  RunResult Run(const std::string& script, const std::filesystem::path& exe = CORVALE_EXE) {
    return RunCorvale(exe, {"--device", device_.Root().string()}, script, device_.Base());
  }
  TempDevice device_;
};

TEST_F(DialogE2E, ShowsItsCaptionListAndMenuBarFullScreen) {
  RunResult r = Run("controls\ndraw\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json controls = r.Events("controls").at(0)["controls"];
  ASSERT_EQ(controls.size(), 2u);
  EXPECT_EQ(controls[0]["id"], 1000);
  EXPECT_EQ(controls[0]["class"], "SysListView32");
  EXPECT_EQ(controls[0]["x"], 0);
  EXPECT_EQ(controls[1]["id"], 65535);
  EXPECT_EQ(controls[1]["text"], "www.velmora.example Velmora");
  std::string screen;
  const nlohmann::json lines = r.Events("draw").at(0)["lines"];
  for (const auto& line : lines) screen += line.get<std::string>() + "\n";
  EXPECT_NE(screen.find("Tessaly"), std::string::npos) << screen;
  EXPECT_NE(screen.find("ok"), std::string::npos) << screen;
  EXPECT_NE(screen.find("文件名称"), std::string::npos) << screen;
  EXPECT_NE(screen.find("相关操作"), std::string::npos) << screen;
  EXPECT_NE(screen.find("退出"), std::string::npos) << screen;
}

TEST_F(DialogE2E, EachWayOutEndsTheProgram) {
  struct Case {
    const char* script;
    int result;
  };
  for (const Case& c : {Case{"menu 退出\n", IDOK}, Case{"ok\n", IDOK}, Case{"command 2\n", IDCANCEL},
                        Case{"", IDCANCEL}}) {
    RunResult r = Run(c.script);
    EXPECT_EQ(r.status, 0) << c.script << r.err;
    ASSERT_EQ(r.Events("exit").size(), 1u) << c.script;
    EXPECT_EQ(r.Events("exit")[0]["result"], c.result) << c.script;
    EXPECT_EQ(r.events.back()["event"], "exit");
  }
}

TEST_F(DialogE2E, MoreSoftwareBoxIsCaptionedWithTheExecutablesName) {
  RunResult r = Run("menu 更多软件下载\npress ok\n");
  ASSERT_EQ(r.status, 0) << r.err;
  auto boxes = r.Events("messagebox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]["caption"], "Corvale");
  EXPECT_EQ(boxes[0]["text"], "Velmora原创软件 更多下载访问www.velmora.example");
  EXPECT_EQ(boxes[0]["type"], 0);

  std::filesystem::path copy = device_.Base() / "Gadget.bin";
  std::filesystem::copy_file(CORVALE_EXE, copy);
  RunResult renamed = Run("menu 更多软件下载\npress ok\n", copy);
  ASSERT_EQ(renamed.status, 0) << renamed.err;
  EXPECT_EQ(renamed.Events("messagebox").at(0)["caption"], "Gadget");
}

TEST_F(DialogE2E, ScriptMistakesStopTheRunWithTheLineNumber) {
  struct Case {
    const char* script;
    const char* says;
  };
  for (const Case& c :
       {Case{"list\nfly away\n", "line 2"}, Case{"press ok\n", "no message box"}, Case{"tap-row 0\n", "does not exist"},
        Case{"menu 不存在\n", "no item"}, Case{"menu 更多软件下载\nlist\ntap-row 0\n", "press"},
        Case{"tap-row -1\n", "line 1"}, Case{"list\nwait 600001\n", "line 2"}, Case{"command 65536\n", "command needs"},
        Case{"screen 0x320\n", "screen needs"}, Case{"screen 240x\n", "screen needs"},
        Case{"ok now\n", "takes no argument"}, Case{"press maybe\n", "press needs"}, Case{"menu\n", "menu needs"},
        Case{"\x1b[2Jwipe\x07\n", "\\x1b[2Jwipe\\x07"}, Case{"a\rb\n", "\\x0d"}}) {
    RunResult r = Run(c.script);
    EXPECT_EQ(r.status, 2) << c.script;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.script << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(std::count_if(r.err.begin(), r.err.end(), [](char ch) { return ch == '\r' || ch == '\x1b'; }), 0);
  }
}

TEST_F(DialogE2E, SecondInstanceHandsOverToTheFirst) {
  // The first instance waits while a second one starts on the same device.
  std::filesystem::path firstScratch = device_.Base() / "first";
  std::filesystem::create_directories(firstScratch);
  RunResult first;
  std::thread runner([&] {
    first = RunCorvale(CORVALE_EXE, {"--device", device_.Root().string()}, "wait 3000\n", firstScratch);
  });
  // The first instance has its window once it has published it on the device.
  std::filesystem::path procs = device::Current().RuntimeDir() / "procs";
  for (int i = 0; i < 500 && !FirstPublished(procs); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  RunResult second = Run("list\n");
  runner.join();
  EXPECT_EQ(second.status, 255);
  EXPECT_TRUE(second.events.empty());
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.Events("foreground").size(), 1u);
}

TEST(CommandLineE2E, BadOptionsAreOneLineAndStatusTwo) {
  TempDevice device;
  std::filesystem::path file = device.AddFile("plain.txt", "x");
  struct Case {
    std::vector<std::string> args;
    const char* says;
  };
  const std::vector<Case> cases = {
      {{"--device", (device.Base() / "nowhere").string()}, "does not exist"},
      {{"--device", file.string()}, "not a folder"},
      {{"--screen", "240by320"}, "--screen"},
      {{"--screen", "0x320"}, "--screen"},
      {{"--codepage", "banana"}, "--codepage"},
      {{"--frobnicate"}, "unknown option"},
      {{"--device="}, "--device needs a folder"},
      {{"--script="}, "--script needs a file"},
      {{"--screen", "4097x320"}, "--screen"},
      {{"--screen", "240x-320"}, "--screen"},
      {{"--codepage", "0"}, "--codepage"},
      {{"--codepage", "4294967296"}, "--codepage"},
      {{"--codepage", "12345"}, "--codepage"},
      {{"--screen", "240\nx320"}, "\\x0a"},
      {{"--\x1b]0;title\x07"}, "unknown option \"--\\x1b]0;title\\x07\""},
  };
  for (const Case& c : cases) {
    RunResult r = RunCorvale(CORVALE_EXE, c.args, "list\n", device.Base());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(r.events.empty());
  }
}

}  // namespace
