// What one program may ask about another process: its executable, through a
// handle that CloseHandle releases.
#include <gtest/gtest.h>

#include "module_table.h"
#include "platform/temp_device.h"
#include "process_objects.h"
#include "winbase.h"

namespace {

TEST(ProcessTest, OpenQueryAndCloseAProcessHandle) {
  corvale_test::TempDevice device;
  platform::RegisterModule(u"/opt/corvale/Corvale", {});

  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
  ASSERT_NE(process, nullptr);
  WCHAR path[64];
  DWORD size = 64;
  ASSERT_TRUE(QueryFullProcessImageNameW(process, 0, path, &size));
  EXPECT_EQ(std::u16string(path, size), u"/opt/corvale/Corvale");
  DWORD tooSmall = 4;
  EXPECT_FALSE(QueryFullProcessImageNameW(process, 0, path, &tooSmall));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

  EXPECT_TRUE(CloseHandle(process));
  EXPECT_EQ(platform::Processes().Live(), 0u);
  EXPECT_FALSE(CloseHandle(process));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  size = 64;
  EXPECT_FALSE(QueryFullProcessImageNameW(process, 0, path, &size));
  // A process that is not on the device cannot be opened.
  EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 0x7FFFFFF0), nullptr);
}

}  // namespace
