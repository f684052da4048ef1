#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "kernel_objects.h"
#include "platform/temp_device.h"
#include "winbase.h"

namespace {

using corvale_test::TempDevice;

// Runs |body| in a child process; returns its exit code (-1 if it did not exit).
int InChild(const std::function<int()>& body) {
  pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// What a fresh CreateMutexW for |name| reports: 0 new, 183 already exists, 1 failed.
int OpenMutexReport(const char16_t* name) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name);
  if (!mutex) return 1;
  return GetLastError() == ERROR_ALREADY_EXISTS ? 183 : GetLastError() == 0 ? 0 : 2;
}

class MutexTest : public testing::Test {
 protected:
  TempDevice dev;
};

TEST_F(MutexTest, SecondOpenInTheSameProcessFindsIt) {
  SetLastError(99);
  HANDLE first = CreateMutexW(nullptr, FALSE, u"Corvale.Instance");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  HANDLE second = CreateMutexW(nullptr, FALSE, u"Corvale.Instance");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_NE(first, second);
  HANDLE other = CreateMutexW(nullptr, FALSE, u"corvale.instance");  // names keep their case
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(platform::LiveMutexHandles(), 3u);
  for (HANDLE h : {first, second, other}) EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(OpenMutexReport(u"Corvale.Instance"), 0);
}

TEST_F(MutexTest, AnotherProcessSeesTheHeldMutex) {
  EXPECT_EQ(InChild([] { return OpenMutexReport(u"Shared"); }), 0);  // its holder died with it
  HANDLE mine = CreateMutexW(nullptr, FALSE, u"Shared");
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(InChild([] { return OpenMutexReport(u"Shared"); }), 183);
  EXPECT_EQ(InChild([] { return OpenMutexReport(u"Unrelated"); }), 0);
  ASSERT_TRUE(CloseHandle(mine));
  EXPECT_EQ(InChild([] { return OpenMutexReport(u"Shared"); }), 0);
}

TEST_F(MutexTest, KilledHolderLeavesNothingThatBlocks) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  if (child == 0) {
    char c = CreateMutexW(nullptr, FALSE, u"Crashy") && GetLastError() == 0 ? 'y' : 'n';
    (void)!write(ready[1], &c, 1);
    pause();
    _exit(0);
  }
  close(ready[1]);
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  close(ready[0]);
  ASSERT_EQ(c, 'y');
  HANDLE seen = CreateMutexW(nullptr, FALSE, u"Crashy");
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(CloseHandle(seen));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(OpenMutexReport(u"Crashy"), 0);
}

TEST_F(MutexTest, NamesStayInsideTheRuntimeFolder) {
  const char16_t* names[] = {u"..", u"../../escape", u"a/b\\c", u"\u542F\u52A8", u"x:y*?"};
  for (const char16_t* name : names) EXPECT_EQ(OpenMutexReport(name), 0);
  for (const char16_t* name : names) EXPECT_EQ(OpenMutexReport(name), 183);
  EXPECT_TRUE(std::filesystem::is_empty(dev.Root()));
  EXPECT_TRUE(std::filesystem::is_empty(dev.Outside()));
  struct stat status;
  ASSERT_EQ(stat(device::Current().RuntimeDir().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
}

TEST_F(MutexTest, EachDeviceHasItsOwnNames) {
  ASSERT_NE(CreateMutexW(nullptr, FALSE, u"PerDevice"), nullptr);
  std::filesystem::path otherRoot = dev.Outside();
  EXPECT_EQ(InChild([&] {
              if (OpenMutexReport(u"PerDevice") != 183) return 1;
              device::Boot({otherRoot});
              int report = OpenMutexReport(u"PerDevice");
              std::error_code ec;
              std::filesystem::remove_all(device::Current().RuntimeDir(), ec);
              return report;
            }),
            0);
}

TEST_F(MutexTest, UnnamedBadAndStaleHandles) {
  HANDLE unnamed = CreateMutexW(nullptr, TRUE, nullptr);
  ASSERT_NE(unnamed, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_NE(CreateMutexW(nullptr, FALSE, nullptr), unnamed);
  std::u16string tooLong(121, u'n');
  SetLastError(0);
  EXPECT_EQ(CreateMutexW(nullptr, FALSE, tooLong.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  std::u16string lone(1, char16_t(0xD800));
  EXPECT_EQ(CreateMutexW(nullptr, FALSE, lone.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);

  EXPECT_TRUE(CloseHandle(unnamed));
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(unnamed));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  char buffer[1];
  EXPECT_FALSE(ReadFile(CreateMutexW(nullptr, FALSE, u"m"), buffer, 1, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

  device::Current().faults.FailAlways("CreateMutexW", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(CreateMutexW(nullptr, FALSE, u"m2"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

}  // namespace
