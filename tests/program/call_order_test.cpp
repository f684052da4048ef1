// The order in which the program uses the device's services, read from the
// trace of whole runs: start-up, each refill of the list, and the two entry
// commands on each of their ways.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>

#include "device/device.h"
#include "program/program_harness.h"

namespace {

using corvale_test::ProgramRun;
using corvale_test::RunHooks;
using corvale_test::RunProgram;
using corvale_test::TempDevice;
using Calls = std::vector<std::string>;

const std::string kMark = "SendMessageW LVM_GETSELECTIONMARK";
const std::string kText = "SendMessageW LVM_GETITEMTEXTW";
const std::string kBox = "MessageBoxW";
const std::string kDelete = "DeleteFileW";
const std::string kLastError = "GetLastError";

const Calls kStartup = {"SHInitExtraControls",
                        "CreateDialogIndirectParamW",
                        "SendMessageW WM_SETICON",
                        "SendMessageW WM_SETICON",
                        "SHCreateMenuBar",
                        "SendMessageW LVM_INSERTCOLUMNW",
                        "SendMessageW LVM_INSERTCOLUMNW",
                        "ImageList_Create",
                        "SendMessageW LVM_SETIMAGELIST",
                        "SendMessageW LVM_SETEXTENDEDLISTVIEWSTYLE"};

// The services whose order is compared. The commands also read the row count
// (LVM_GETITEMCOUNT) to check that the mark names a row; that read is free to
// come anywhere, so it is left out.
const std::set<std::string> kOrdered = [] {
  std::set<std::string> keys(kStartup.begin(), kStartup.end());
  keys.insert({"SendMessageW LVM_DELETEALLITEMS", "CreateFileW", "ReadFile", "CloseHandle", "SHGetFileInfo",
               "ImageList_ReplaceIcon", "DestroyIcon", "SendMessageW LVM_INSERTITEMW", "SendMessageW LVM_SETITEMTEXTW",
               kMark, kText, kBox, kDelete, kLastError});
  return keys;
}();

// The program's calls from InitInstance on; what the framework's entry does
// before it (the one-instance check) is not the program's.
Calls Recorded(const ProgramRun& run) {
  Calls calls;
  auto start = std::find(run.trace.begin(), run.trace.end(), "SHInitExtraControls");
  std::copy_if(start, run.trace.end(), std::back_inserter(calls),
               [](const std::string& c) { return kOrdered.count(c); });
  return calls;
}

::testing::AssertionResult SameOrder(const Calls& actual, const Calls& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << "the calls differ (actual | expected):\n";
  for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
    std::string a = i < actual.size() ? actual[i] : "(none)";
    std::string e = i < expected.size() ? expected[i] : "(none)";
    failure << (a == e ? "   " : "=> ") << i << ": " << a << " | " << e << "\n";
  }
  return failure;
}

Calls Join(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// One refill; |shellIcons| tells, per shortcut in enumeration order, whether
// the shell gives its target an icon (which the image list copies and the
// program then releases).
Calls Listing(std::initializer_list<bool> shellIcons) {
  Calls calls = {"SendMessageW LVM_DELETEALLITEMS"};
  for (bool icon : shellIcons) {
    calls.insert(calls.end(), {"CreateFileW", "ReadFile", "CloseHandle", "SHGetFileInfo", "ImageList_ReplaceIcon"});
    if (icon) calls.push_back("DestroyIcon");
    calls.insert(calls.end(), {"SendMessageW LVM_INSERTITEMW", "SendMessageW LVM_SETITEMTEXTW"});
  }
  return calls;
}

// Enumerated as a.lnk, b.lnk, so the list shows b (row 0) above a (row 1).
void AddShortcuts(const TempDevice& device) {
  device.AddFile("Windows/StartUp/a.lnk", "10#\"\\a.exe\"");           // the shell has an icon for it
  device.AddFile("Windows/StartUp/b.lnk", "10#\"\\Windows\\clock\"");  // no extension: no icon
}

TEST(CallOrderTest, StartUpSetsTheDialogUpThenFillsTheList) {
  TempDevice device;
  AddShortcuts(device);
  ProgramRun run = RunProgram(device, "");
  EXPECT_TRUE(SameOrder(Recorded(run), Join({kStartup, Listing({true, false})})));
}

TEST(CallOrderTest, EachWayThroughTheEntryCommands) {
  struct Case {
    const char* name;
    std::string script;
    std::function<void()> faults;
    Calls command;  // after start-up and the first listing
  };
  auto deleteFails = [](DWORD error) { return [error] { device::Current().faults.FailNth(kDelete, 1, error); }; };
  const Calls asked = {kMark, kMark, kText, kBox};
  const Calls confirmed = Join({asked, {kMark, kText, kDelete}});
  const std::vector<Case> cases = {
      {"details without a mark", "menu 查看详细信息\npress ok\n", {}, {kMark, kBox}},
      {"details", "tap-row 0\nmenu 查看详细信息\npress ok\n", {}, {kMark, kMark, kText, kBox}},
      {"delete without a mark", "menu 删除该启动项\npress ok\n", {}, {kMark, kBox}},
      {"delete answered no", "tap-row 0\nmenu 删除该启动项\npress no\n", {}, asked},
      {"delete done", "tap-row 0\nmenu 删除该启动项\npress yes\n", {}, Join({confirmed, Listing({true})})},
      {"delete of a file in use", "tap-row 0\nmenu 删除该启动项\npress yes\npress ok\n",
       deleteFails(ERROR_SHARING_VIOLATION), Join({confirmed, {kLastError, kBox}, Listing({true, false})})},
      {"delete refused", "tap-row 0\nmenu 删除该启动项\npress yes\n", deleteFails(ERROR_ACCESS_DENIED),
       Join({confirmed, {kLastError}, Listing({true, false})})},
  };
  for (const Case& c : cases) {
    TempDevice device;
    AddShortcuts(device);
    ProgramRun run = RunProgram(device, c.script, RunHooks{c.faults, {}});
    EXPECT_TRUE(SameOrder(Recorded(run), Join({kStartup, Listing({true, false}), c.command}))) << c.name;
  }
}

}  // namespace
