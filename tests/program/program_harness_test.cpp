// The program run again and again inside one process: nothing of a run may
// leak into the next, although the application object lives on.
#include "program/program_harness.h"

#include <gtest/gtest.h>

#include "CorvaleApp.h"
#include "CorvaleDlg.h"

namespace {

using corvale_test::ProgramRun;
using corvale_test::RunProgram;
using corvale_test::TempDevice;

TEST(ProgramHarnessTest, RunsAgainInOneProcessFromAFreshStart) {
  TempDevice device;
  device.AddFile("Windows/StartUp/a.lnk", "10#\"\\a.exe\"");
  device.AddFile("Windows/StartUp/b.lnk", "10#\"\\b.exe\"");
  const std::string script = "tap-row 0\nmenu 删除该启动项\npress yes\nlist\n";

  struct Pass {
    std::u16string deleted;
    std::size_t remaining;
  };
  for (const Pass& pass : {Pass{u"\\b.exe", 1}, Pass{u"\\a.exe", 0}}) {
    ProgramRun run = RunProgram(device, script);
    // The main window is forgotten once the dialog's window is gone.
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_EQ(AfxGetApp(), &theApp);
    EXPECT_EQ(run.ExitResult(), IDCANCEL);
    ASSERT_EQ(run.Events("rows").size(), 1u);
    EXPECT_EQ(run.Events("rows")[0]["rows"].size(), pass.remaining);
    ASSERT_EQ(run.Events("messagebox").size(), 1u);
    EXPECT_EQ(run.Events("messagebox")[0]["caption"], "警告");
    // The delete command's text lives on after the run, as a process global does.
    EXPECT_EQ(g_strEntryName.view(), pass.deleted);
  }
}

}  // namespace
