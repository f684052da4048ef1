// What the program leaves alive: after a whole run only what the platform
// owns, the image list released once, no pile-up of the shell's icons over
// many refills, and no shortcut file held open past its read.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "CorvaleApp.h"
#include "CorvaleDlg.h"
#include "actions.h"
#include "control_classes.h"
#include "device/device.h"
#include "device/handle_counts.h"
#include "embedded_resources.h"
#include "listview_state.h"
#include "module_table.h"
#include "platform/temp_device.h"
#include "program/program_harness.h"
#include "service.h"

namespace {

using corvale_test::ProgramRun;
using corvale_test::RunHooks;
using corvale_test::RunProgram;
using corvale_test::TempDevice;

void AddShortcuts(const TempDevice& device) {
  device.AddFile("Windows/StartUp/a.lnk", "10#\"\\Windows\\a.exe\"");
  device.AddFile("Windows/StartUp/b.lnk", "10#\"\\Windows\\clock\"");
  device.AddFile("Windows/StartUp/c.lnk", "10#\"\\c.exe\"");
  device.AddFile("Windows/a.exe", "program");
}

// What a fresh boot holds, plus the single-instance mutex that the framework
// keeps for the life of the process and the icons loaded from resources.
device::HandleCounts PlatformOwned(const device::HandleCounts& boot, const device::HandleCounts& now) {
  device::HandleCounts owned = boot;
  owned.mutexes = 1;
  owned.icons = now.sharedIcons;
  owned.sharedIcons = now.sharedIcons;
  return owned;
}

TEST(HandleAccountingTest, EveryWayThroughTheProgramLeavesOnlyWhatThePlatformOwns) {
  const char* scripts[] = {
      "",
      "ok\n",
      "menu 退出\n",
      "list\ntap-row 1\nmenu 查看详细信息\npress ok\nmenu 更多软件下载\npress ok\nok\n",
      "tap-row 1\nmenu 删除该启动项\npress no\ntap-row 0\nmenu 删除该启动项\npress yes\nlist\nok\n",
  };
  for (const char* script : scripts) {
    SCOPED_TRACE(script);
    TempDevice device;
    AddShortcuts(device);
    const device::HandleCounts boot = device::LiveHandles();
    EXPECT_GE(boot.windows, 1u);  // the navigation bar
    ProgramRun run = RunProgram(device, script);
    EXPECT_NE(run.ExitResult(), -2);
    const device::HandleCounts after = device::LiveHandles();
    EXPECT_EQ(after, PlatformOwned(boot, after));
  }
}

TEST(HandleAccountingTest, TheImageListIsReleasedOnceAndNothingElseWithIt) {
  TempDevice device;
  AddShortcuts(device);
  HIMAGELIST bystander = nullptr;
  HIMAGELIST programs = nullptr;
  RunHooks hooks;
  hooks.prepare = [&] { bystander = ImageList_Create(16, 16, ILC_COLOR24, 0, 0); };
  hooks.idle = [&] {
    if (const platform::ListViewState* list = platform::ListViewOf(frontend::MainList())) programs = list->smallImages;
  };
  ProgramRun run = RunProgram(device, "list\nok\n", hooks);
  ASSERT_NE(programs, nullptr);
  ASSERT_NE(programs, bystander);

  // The list view released it when its window went; the framework's own try
  // afterwards found a stale handle and released nothing.
  EXPECT_EQ(std::count(run.trace.begin(), run.trace.end(), "ImageList_Destroy"), 1);
  EXPECT_EQ(platform::ImageListImages(programs), nullptr);
  EXPECT_EQ(device::LiveHandles().imageLists, 1u);
  EXPECT_NE(platform::ImageListImages(bystander), nullptr);
  SetLastError(0);
  EXPECT_FALSE(ImageList_Destroy(programs));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// The program's dialog with its refill in reach.
class RefillingDialog : public CCorvaleDlg {
 public:
  void Refill() { RefreshStartupList(); }
};

// Runs |act| from the dialog's first wait for input, then ends the dialog.
class ActThenEnd : public device::InputSource {
 public:
  ActThenEnd(RefillingDialog& dialog, std::function<void()> act) : dialog_(dialog), act_(std::move(act)) {}
  void Idle() override {
    if (act_) {
      // Input arrives from inside the platform's wait; the program's calls are from outside it.
      platform::CallOut out;
      std::exchange(act_, nullptr)();
    }
    PostMessageW(dialog_.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  }

 private:
  RefillingDialog& dialog_;
  std::function<void()> act_;
};

void RunDialog(const TempDevice& device, const std::function<void(RefillingDialog&)>& act) {
  device::Boot({device.Root()});
  theApp.m_hInstance = platform::RegisterModule(u"/x/Corvale", CorvaleResourceImage());
  RefillingDialog dialog;
  ActThenEnd input(dialog, [&] { act(dialog); });
  device::Current().input = &input;
  dialog.DoModal();
  device::Current().input = nullptr;
}

TEST(HandleAccountingTest, ShellIconsDoNotPileUpOverAThousandRefills) {
  TempDevice device;
  AddShortcuts(device);
  std::vector<std::size_t> ownedIcons;
  std::size_t rows = 0;
  RunDialog(device, [&](RefillingDialog& dialog) {
    ownedIcons.push_back(device::LiveHandles().OwnedIcons());
    device::Current().trace.Enable(true);
    for (int refill = 1; refill <= 1000; ++refill) {
      dialog.Refill();
      if (refill == 1 || refill == 1000) ownedIcons.push_back(device::LiveHandles().OwnedIcons());
    }
    device::Current().trace.Enable(false);
    rows = platform::ListViewOf(frontend::MainList())->rows.size();
  });
  EXPECT_EQ(rows, 3u);
  const auto& trace = device::Current().trace.Entries();
  // The shell did hand icons out, and each was given back.
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "DestroyIcon"), 2000);
  EXPECT_EQ(ownedIcons, (std::vector<std::size_t>(3, ownedIcons.front())));
}

TEST(HandleAccountingTest, NoShortcutFileOutlivesItsRead) {
  TempDevice device;
  AddShortcuts(device);
  std::vector<std::string> calls;
  std::size_t filesAfter = 1;
  RunDialog(device, [&](RefillingDialog& dialog) {
    device::Current().trace.Clear();
    device::Current().trace.Enable(true);
    dialog.Refill();
    device::Current().trace.Enable(false);
    filesAfter = device::LiveHandles().files;
    for (const std::string& call : device::Current().trace.Entries())
      if (call == "CreateFileW" || call == "ReadFile" || call == "CloseHandle" || call == "SHGetFileInfo")
        calls.push_back(call);
  });
  // Each file is closed before the shell is asked about its target.
  std::vector<std::string> one = {"CreateFileW", "ReadFile", "CloseHandle", "SHGetFileInfo"};
  std::vector<std::string> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), one.begin(), one.end());
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(filesAfter, 0u);
  EXPECT_EQ(device::LiveHandles().files, 0u);
}

}  // namespace
