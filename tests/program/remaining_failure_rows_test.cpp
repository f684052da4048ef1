// The failure rows that the main failure table leaves out, each through the
// fault plan or the device's content: what the user sees, and that nothing on
// the device or beside it changes.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "device/device.h"
#include "platform/device_tree.h"
#include "program/program_harness.h"
#include "winuser.h"

namespace {

using corvale_test::kShortcutA;
using corvale_test::kShortcutB;
using corvale_test::kShortcutC;
using corvale_test::ProgramRun;
using corvale_test::RowPaths;
using corvale_test::RunHooks;
using corvale_test::RunProgram;
using corvale_test::TempDevice;
using nlohmann::json;

const std::string kNoMark = "请先选择需要删除的启动项";

TEST(RemainingFailureRowsTest, EachFailureIsSilentOrSaysWhatItShould) {
  using Plan = device::FaultPlan;
  struct Row {
    const char* name;
    std::function<void(Plan&)> faults;
    std::string script;
    std::function<void(const ProgramRun&)> check;
    std::function<void(const TempDevice&)> setup = {};
    bool afterStart = false;  // plan the faults once the dialog is up, not before the program starts
  };
  const std::vector<Row> rows = {
      {"nothing matches in the folder",
       {},
       "list\n",
       [](const ProgramRun& r) { EXPECT_TRUE(RowPaths(r.Events("rows").at(0)).empty()); },
       [](const TempDevice& d) {
         for (const char* name : {"a.lnk", "b.lnk", "c.lnk"})
           std::filesystem::rename(d.Host(std::string("Windows/StartUp/") + name),
                                   d.Host(std::string("Windows/StartUp/") + name + ".old"));
       }},
      {"an empty shortcut",
       {},
       "list\n",
       [](const ProgramRun& r) {
         json rows = r.Events("rows").at(0)["rows"];
         ASSERT_EQ(rows.size(), 3u);
         EXPECT_EQ(rows[1]["text"], "");
         EXPECT_EQ(rows[1]["path"], kShortcutB);
       },
       [](const TempDevice& d) { d.AddFile("Windows/StartUp/b.lnk", ""); }},
      {"no shortcut can be opened", [](Plan& p) { p.FailAlways("CreateFileW"); }, "list\n",
       [](const ProgramRun& r) { EXPECT_TRUE(RowPaths(r.Events("rows").at(0)).empty()); }},
      {"the first next-match fails", [](Plan& p) { p.FailNth("FindNextFileW", 1); }, "list\n",
       [](const ProgramRun& r) { EXPECT_EQ(RowPaths(r.Events("rows").at(0)), (std::vector{kShortcutA})); }},
      {"the question cannot be shown", [](Plan& p) { p.FailNth("MessageBoxW", 1); },
       "tap-row 1\nmenu 删除该启动项\nlist\n",
       [](const ProgramRun& r) {
         json rows = r.Events("rows").at(0);
         EXPECT_EQ(RowPaths(rows), (std::vector{kShortcutC, kShortcutB, kShortcutA}));
         EXPECT_EQ(rows["mark"], 1);
         EXPECT_TRUE(r.Events("messagebox").empty());
       }},
      {"the mark cannot be read", [](Plan& p) { p.FailAlways("SendMessageW LVM_GETSELECTIONMARK"); },
       "tap-row 1\nmenu 删除该启动项\npress ok\nmenu 查看详细信息\npress ok\nlist\n",
       [](const ProgramRun& r) {
         EXPECT_EQ(r.BoxTexts(), (std::vector{kNoMark, kNoMark}));
         EXPECT_EQ(RowPaths(r.Events("rows").at(0)), (std::vector{kShortcutC, kShortcutB, kShortcutA}));
       }},
      {"a relayout cannot find its template",
       [](Plan& p) { p.FailAlways("FindResourceW"); },
       "controls\nscreen 320x240\nscreen 240x320\ncontrols\nlist\nok\n",
       [](const ProgramRun& r) {
         auto controls = r.Events("controls");
         ASSERT_EQ(controls.size(), 2u);
         EXPECT_EQ(controls[0]["controls"].size(), controls[1]["controls"].size());
         EXPECT_EQ(RowPaths(r.Events("rows").at(0)).size(), 3u);
         EXPECT_EQ(r.ExitResult(), IDOK);
       },
       {},
       true},
      {"a relayout cannot open its batch",
       [](Plan& p) { p.FailAlways("BeginDeferWindowPos"); },
       "controls\nscreen 240x320\ncontrols\nok\n",
       [](const ProgramRun& r) {
         auto controls = r.Events("controls");
         ASSERT_EQ(controls.size(), 2u);
         EXPECT_EQ(controls[0], controls[1]);
         EXPECT_EQ(r.ExitResult(), IDOK);
       },
       {},
       true},
  };

  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempDevice device;
    device.AddFile("Windows/StartUp/a.lnk", "10#\"\\a.exe\"");
    device.AddFile("Windows/StartUp/b.lnk", "10#\"\\b.exe\"");
    device.AddFile("Windows/StartUp/c.lnk", "10#\"\\c.exe\"");
    device.AddOutsideFile("keep.txt", "outside");
    if (row.setup) row.setup(device);
    corvale_test::TreeSnapshot before = corvale_test::SnapshotTree(device.Base());
    RunHooks hooks;
    if (row.faults) {
      auto plan = [&row] { row.faults(device::Current().faults); };
      bool planned = false;
      if (row.afterStart)
        hooks.idle = [plan, planned]() mutable {
          if (!std::exchange(planned, true)) plan();
        };
      else
        hooks.prepare = plan;
    }
    ProgramRun run = RunProgram(device, row.script, hooks);
    row.check(run);
    EXPECT_EQ(corvale_test::SnapshotTree(device.Base()), before);
  }
}

}  // namespace
