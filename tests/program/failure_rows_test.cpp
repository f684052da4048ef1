// Each service failing where the program uses it: what the user then sees,
// and that nothing on the device or beside it changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "actions.h"
#include "control_classes.h"
#include "device/device.h"
#include "embedded_resources.h"
#include "gdi_objects.h"
#include "listview_state.h"
#include "module_table.h"
#include "platform/device_tree.h"
#include "program/program_harness.h"
#include "resource.h"
#include "window_objects.h"

namespace {

using corvale_test::kShortcutA;
using corvale_test::kShortcutB;
using corvale_test::kShortcutC;
using corvale_test::ProgramRun;
using corvale_test::RunHooks;
using corvale_test::RunProgram;
using corvale_test::TempDevice;
using nlohmann::json;

// What the live windows showed when the program last waited for input.
struct Seen {
  bool dialog = false;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  bool menuBar = false;
  bool imageList = false;
  std::vector<platform::Image> images;
};

void Look(Seen* seen) {
  *seen = Seen{};
  if (const platform::Window* dialog = platform::FindWindowObject(frontend::MainDialog())) {
    seen->dialog = true;
    seen->bigIcon = dialog->bigIcon;
    seen->smallIcon = dialog->smallIcon;
  }
  seen->menuBar = frontend::MainMenuBar() != nullptr;
  if (const platform::ListViewState* list = platform::ListViewOf(frontend::MainList())) {
    if (const auto* images = platform::ImageListImages(list->smallImages)) {
      seen->imageList = true;
      seen->images = *images;
    }
  }
}

// The pixels of icon 129 as the image list keeps them.
std::vector<std::uint32_t> DefaultIconPixels() {
  TempDevice probe;
  HINSTANCE instance = platform::RegisterModule(u"/x/Corvale", CorvaleResourceImage());
  const platform::Image* image = platform::IconImage(LoadIconW(instance, MAKEINTRESOURCEW(IDI_DEFAULT_ENTRY)));
  return image ? platform::ScaleImage(*image, 16, 16).argb : std::vector<std::uint32_t>{};
}

json LastRows(const ProgramRun& run) {
  auto rows = run.Events("rows");
  return rows.empty() ? json() : rows.back();
}

std::vector<std::string> Column(const ProgramRun& run, const char* field) {
  std::vector<std::string> out;
  json rows = LastRows(run);
  if (rows.is_null()) return out;
  for (const json& row : rows["rows"])
    out.push_back(row[field].is_string() ? row[field].get<std::string>() : row[field].dump());
  return out;
}

bool Traced(const ProgramRun& run, const std::string& call) {
  return std::find(run.trace.begin(), run.trace.end(), call) != run.trace.end();
}

const std::string kQuestion = "您真的要删除启动项: \\Windows\\clock";
const std::string kInUse = "删除失败，另一个程序正在使用此文件，进程无法访问。 ";

TEST(FailureRowsTest, EachFailureStaysWhereItHappens) {
  const std::vector<std::uint32_t> defaultIcon = DefaultIconPixels();
  ASSERT_EQ(defaultIcon.size(), 256u);

  struct Row {
    const char* name;
    std::function<void(device::FaultPlan&)> faults;
    std::function<void(const ProgramRun&, const Seen&)> check;
    std::string script = "list\n";
    std::function<void(const TempDevice&)> setup = {};
  };
  using Plan = device::FaultPlan;
  const std::vector<Row> rows = {
      // Filling the list.
      {"start-up folder missing",
       {},
       [](const ProgramRun& r, const Seen&) { EXPECT_TRUE(Column(r, "path").empty()); },
       "list\n",
       [](const TempDevice& d) { std::filesystem::remove_all(d.Host("Windows/StartUp")); }},
      {"enumeration cannot start", [](Plan& p) { p.FailAlways("FindFirstFileW"); },
       [](const ProgramRun& r, const Seen&) { EXPECT_TRUE(Column(r, "path").empty()); }},
      {"next match fails mid-way", [](Plan& p) { p.FailNth("FindNextFileW", 2); },
       [](const ProgramRun& r, const Seen&) {
         EXPECT_EQ(Column(r, "path"), (std::vector{kShortcutB, kShortcutA}));
       }},
      {"a shortcut cannot be opened", [](Plan& p) { p.FailNth("CreateFileW", 2); },
       [](const ProgramRun& r, const Seen&) {
         EXPECT_EQ(Column(r, "path"), (std::vector{kShortcutC, kShortcutA}));
       }},
      {"a read fails", [](Plan& p) { p.FailNth("ReadFile", 1); },
       [](const ProgramRun& r, const Seen&) {
         EXPECT_EQ(Column(r, "path"), (std::vector{kShortcutC, kShortcutB, kShortcutA}));
         EXPECT_EQ(Column(r, "text"), (std::vector<std::string>{"\\c.exe", "\\Windows\\clock", ""}));
       }},
      {"the shell gives no icon", [](Plan& p) { p.FailAlways("SHGetFileInfo"); },
       [&defaultIcon](const ProgramRun& r, const Seen& s) {
         EXPECT_EQ(Column(r, "image"), (std::vector<std::string>{"2", "1", "0"}));
         ASSERT_EQ(s.images.size(), 3u);
         for (const platform::Image& image : s.images) EXPECT_EQ(image.argb, defaultIcon);
       }},
      {"an append to the image list fails", [](Plan& p) { p.FailNth("ImageList_ReplaceIcon", 1); },
       [](const ProgramRun& r, const Seen& s) {
         EXPECT_EQ(Column(r, "image"), (std::vector<std::string>{"1", "0", "-1"}));
         EXPECT_EQ(s.images.size(), 2u);
       }},
      {"a row insertion is refused", [](Plan& p) { p.FailNth("SendMessageW LVM_INSERTITEMW", 2); },
       [](const ProgramRun& r, const Seen&) {
         // b's path must not land in a's row, the one at the top when b came.
         EXPECT_EQ(Column(r, "path"), (std::vector{kShortcutC, kShortcutA}));
         EXPECT_EQ(Column(r, "text"), (std::vector<std::string>{"\\c.exe", "\\a.exe"}));
       }},
      // Setting the dialog up.
      {"the dialog cannot be created", [](Plan& p) { p.FailAlways("CreateDialogIndirectParamW"); },
       [](const ProgramRun& r, const Seen& s) {
         EXPECT_EQ(r.events, (std::vector<json>{{{"event", "exit"}, {"result", -1}}}));
         EXPECT_FALSE(s.dialog);
         EXPECT_FALSE(Traced(r, "FindFirstFileW"));
       }},
      {"the first data exchange fails", [](Plan& p) { p.FailNth("GetDlgItem", 1); },
       [](const ProgramRun& r, const Seen&) {
         EXPECT_EQ(r.ExitResult(), -1);
         EXPECT_TRUE(r.Events("rows").empty());  // ended before any input was asked for
         // Initialisation still ran to its end.
         EXPECT_TRUE(Traced(r, "SHCreateMenuBar"));
         EXPECT_TRUE(Traced(r, "FindFirstFileW"));
       }},
      {"the icons cannot be loaded", [](Plan& p) { p.FailAlways("LoadIconW"); },
       [](const ProgramRun& r, const Seen& s) {
         EXPECT_EQ(s.bigIcon, nullptr);
         EXPECT_EQ(s.smallIcon, nullptr);
         // No fallback for b: only the shell's icons of a and c are kept.
         EXPECT_EQ(Column(r, "image"), (std::vector<std::string>{"1", "-1", "0"}));
         EXPECT_EQ(s.images.size(), 2u);
       }},
      {"no menu bar", [](Plan& p) { p.FailAlways("SHCreateMenuBar"); },
       [](const ProgramRun& r, const Seen& s) {
         EXPECT_FALSE(s.menuBar);
         EXPECT_EQ(Column(r, "path").size(), 3u);
         EXPECT_EQ(r.ExitResult(), IDOK);
       },
       "list\nok\n"},
      {"no image list", [](Plan& p) { p.FailAlways("ImageList_Create"); },
       [](const ProgramRun& r, const Seen& s) {
         EXPECT_FALSE(s.imageList);
         EXPECT_EQ(Column(r, "image"), (std::vector<std::string>{"-1", "-1", "-1"}));
       }},
      // The framework reports what a handler throws, and the dialog goes on.
      {"memory runs out while the list fills",
       [](Plan& p) { p.FailNth("MultiByteToWideChar", 3, ERROR_NOT_ENOUGH_MEMORY); },
       [](const ProgramRun& r, const Seen&) {
         auto boxes = r.Events("messagebox");
         ASSERT_EQ(boxes.size(), 1u);
         EXPECT_EQ(boxes[0]["text"], "Out of memory.");
         EXPECT_EQ(boxes[0]["caption"], "Corvale");
         EXPECT_EQ(Column(r, "path"), (std::vector{kShortcutA}));
         EXPECT_EQ(r.ExitResult(), IDOK);
       },
       "press ok\nlist\nok\n"},
      // Deleting b (row 1).
      {"delete answered no",
       {},
       [](const ProgramRun& r, const Seen&) {
         EXPECT_EQ(r.BoxTexts(), (std::vector{kQuestion}));
         EXPECT_EQ(Column(r, "path"), (std::vector{kShortcutC, kShortcutB, kShortcutA}));
         EXPECT_EQ(LastRows(r)["mark"], 1);  // untouched
       },
       "tap-row 1\nmenu 删除该启动项\npress no\nlist\n"},
      {"delete of a file in use", [](Plan& p) { p.FailNth("DeleteFileW", 1, ERROR_SHARING_VIOLATION); },
       [](const ProgramRun& r, const Seen&) {
         EXPECT_EQ(r.BoxTexts(), (std::vector{kQuestion, kInUse}));
         EXPECT_EQ(Column(r, "path"), (std::vector{kShortcutC, kShortcutB, kShortcutA}));
         EXPECT_EQ(LastRows(r)["mark"], -1);  // rebuilt
       },
       "tap-row 1\nmenu 删除该启动项\npress yes\npress ok\nlist\n"},
      {"delete refused", [](Plan& p) { p.FailNth("DeleteFileW", 1, ERROR_ACCESS_DENIED); },
       [](const ProgramRun& r, const Seen&) {
         EXPECT_EQ(r.BoxTexts(), (std::vector{kQuestion}));
         EXPECT_EQ(Column(r, "path"), (std::vector{kShortcutC, kShortcutB, kShortcutA}));
         EXPECT_EQ(LastRows(r)["mark"], -1);
       },
       "tap-row 1\nmenu 删除该启动项\npress yes\nlist\n"},
      {"delete of a file already gone", [](Plan& p) { p.FailNth("DeleteFileW", 1, ERROR_FILE_NOT_FOUND); },
       [](const ProgramRun& r, const Seen&) {
         EXPECT_EQ(r.BoxTexts(), (std::vector{kQuestion}));
         EXPECT_EQ(Column(r, "path"), (std::vector{kShortcutC, kShortcutB, kShortcutA}));
         EXPECT_EQ(LastRows(r)["mark"], -1);
       },
       "tap-row 1\nmenu 删除该启动项\npress yes\nlist\n"},
  };

  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempDevice device;
    device.AddFile("Windows/StartUp/a.lnk", "10#\"\\a.exe\"");
    device.AddFile("Windows/StartUp/b.lnk", "10#\"\\Windows\\clock\"");  // the shell has no icon for it
    device.AddFile("Windows/StartUp/c.lnk", "10#\"\\c.exe\"");
    device.AddFile("Windows/a.exe", "program");
    device.AddOutsideFile("keep.txt", "outside");
    if (row.setup) row.setup(device);
    corvale_test::TreeSnapshot before = corvale_test::SnapshotTree(device.Base());

    Seen seen;
    RunHooks hooks;
    if (row.faults) hooks.prepare = [&row] { row.faults(device::Current().faults); };
    hooks.idle = [&seen] { Look(&seen); };
    ProgramRun run = RunProgram(device, row.script, hooks);

    row.check(run, seen);
    EXPECT_EQ(corvale_test::SnapshotTree(device.Base()), before);
  }
}

}  // namespace
