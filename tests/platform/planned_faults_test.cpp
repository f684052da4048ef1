// What a planned fault makes a message or the last error look like to the
// caller, and that asking for the last error shows in the trace.
#include <gtest/gtest.h>

#include "commctrl.h"
#include "device/device.h"
#include "platform/temp_device.h"
#include "winbase.h"

namespace {

using corvale_test::TempDevice;

TEST(PlannedFaultsTest, ARefusedMessageAnswersItsOwnFailureValue) {
  struct Case {
    UINT message;
    const char* key;
    LRESULT refused;
  };
  // An index of -1 is how these say no; read as 0 it would name the top row.
  const Case cases[] = {
      {LVM_INSERTITEMW, "SendMessageW LVM_INSERTITEMW", -1},
      {LVM_INSERTCOLUMNW, "SendMessageW LVM_INSERTCOLUMNW", -1},
      {LVM_GETSELECTIONMARK, "SendMessageW LVM_GETSELECTIONMARK", -1},
      {LVM_SETITEMTEXTW, "SendMessageW LVM_SETITEMTEXTW", 0},
      {LVM_GETITEMCOUNT, "SendMessageW LVM_GETITEMCOUNT", 0},
  };
  TempDevice device;
  for (const Case& c : cases) {
    device::Current().faults.FailAlways(c.key, ERROR_NOT_ENOUGH_MEMORY);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(SendMessageW(nullptr, c.message, 0, 0), c.refused) << c.key;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY)) << c.key;
  }
}

TEST(PlannedFaultsTest, LastErrorIsTracedAndCanReportAPlannedError) {
  TempDevice device;
  device::Current().trace.Enable(true);
  SetLastError(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(device::Current().trace.Entries(), std::vector<std::string>{"GetLastError"});

  device::Current().faults.FailNth("GetLastError", 1, ERROR_SHARING_VIOLATION);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));  // it stays the last error
}

}  // namespace
