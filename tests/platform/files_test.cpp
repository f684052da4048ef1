#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "kernel_objects.h"
#include "platform/temp_device.h"
#include "winbase.h"

namespace {

using corvale_test::TempDevice;
using corvale_test::U16;

// Reads a whole device file, or returns the last error as "error N".
std::string Slurp(const std::u16string& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "error " + std::to_string(GetLastError());
  std::string content;
  char buffer[7];  // small, so that reads end mid-file
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  EXPECT_TRUE(CloseHandle(file));
  return content;
}

class FilesTest : public testing::Test {
 protected:
  void SetUp() override {
    dev.AddFile("windows/startup/tool.lnk", "tool");
    dev.AddFile("data/Readme.txt", "mixed");
    dev.AddFile("data/README.TXT", "upper");
    dev.AddFile("data/readme.txt", "lower");
    dev.AddFile("data/Notes.TXT", "notes");
    dev.AddFile("data/notes.txt.bak", "bak");
    dev.AddFile("plain.txt", "plain");
    dev.AddFile("data/\xC3\xA9t\xC3\xA9 \xD0\xB4.txt", "accents");  // "été д.txt"
    dev.AddOutsideFile("secret.txt", "secret");
    dev.AddDir("outdir-target");
  }

  TempDevice dev;
};

TEST_F(FilesTest, ResolvesPathsAsTheDeviceDoes) {
  dev.AddSymlink("abs-in", dev.Host("plain.txt"));
  dev.AddSymlink("windows/rel-in", "../data/Notes.TXT");
  dev.AddSymlink("dirlink", "windows/startup");
  dev.AddSymlink("chain1", "chain2");
  dev.AddSymlink("chain2", "abs-in");
  dev.AddSymlink("up", "windows/..");
  struct Case {
    const char* path;
    std::string expected;
  } cases[] = {
      {"\\Windows\\StartUp\\Tool.lnk", "tool"},
      {"/WINDOWS/startup/TOOL.LNK", "tool"},
      {"\\windows\\\\startup\\.\\tool.lnk", "tool"},
      {"windows\\startup\\tool.lnk", "tool"},
      {"\\data\\README.TXT", "upper"},  // exact spelling wins
      {"\\data\\readme.txt", "lower"},  // exact spelling wins
      {"\\data\\ReadMe.Txt", "upper"},  // else the first in ordinal order
      {"\\data\\notes.txt", "notes"},
      {"\\DATA\\\xC3\x89T\xC3\x89 \xD0\x94.TXT", "accents"},  // "ÉTÉ Д.TXT"
      {"\\abs-in", "plain"},                                  // absolute link inside the root
      {"\\Windows\\Rel-In", "notes"},                         // relative link with ".." inside the root
      {"\\DirLink\\tool.lnk", "tool"},
      {"\\chain1", "plain"},
      {"\\up\\plain.txt", "plain"},
      {"\\Windows\\Missing\\tool.lnk", "error 3"},
      {"\\plain.txt\\x", "error 3"},  // a file is no folder
      {"\\Windows\\StartUp\\missing.lnk", "error 2"},
      {"\\data\\notes.txt.ba", "error 2"},
      {"\\Windows\\StartUp", "error 5"},  // a folder is no file
      {"\\DirLink", "error 5"},
      {"\\", "error 5"},
      {"\\Windows\\..\\plain.txt", "error 123"},
      {"\\..\\outside\\secret.txt", "error 123"},
      {"\\bad*name", "error 123"},
      {"\\bad:name", "error 123"},
  };
  for (const Case& c : cases) EXPECT_EQ(Slurp(U16(c.path)), c.expected) << c.path;
}

TEST_F(FilesTest, LongAndWideNamesOpen) {
  // 80 CJK characters take 240 bytes on the host: near its name limit, and
  // the whole path far longer in bytes than in UTF-16 units.
  std::string folder, name;
  for (int i = 0; i < 80; ++i) folder += "\xE6\xB7\xB1", name += "\xE9\x95\xBF";  // "深", "长"
  dev.AddFile(folder + "/" + name, "wide");
  dev.AddFile("data/\xF0\x9F\x98\x80.txt", "emoji");  // a name beyond the basic plane
  EXPECT_EQ(Slurp(U16(("\\" + folder + "\\" + name).c_str())), "wide");
  EXPECT_EQ(Slurp(U16("\\data\\\xF0\x9F\x98\x80.TXT")), "emoji");
  std::u16string lone = u"\\data\\";
  lone += char16_t(0xD83D);  // half of a surrogate pair names nothing
  lone += u".txt";
  EXPECT_EQ(Slurp(lone), "error 123");
  std::u16string tooLong = u"\\" + std::u16string(MAX_PATH, u'a');
  EXPECT_EQ(Slurp(tooLong).rfind("error ", 0), 0u);
}

TEST_F(FilesTest, LinksLeadingOutOrNowhereAreNotFollowed) {
  dev.AddSymlink("out-abs", dev.Outside() / "secret.txt");
  dev.AddSymlink("out-rel", "../outside/secret.txt");
  dev.AddSymlink("windows/out-deep", "../../outside/secret.txt");
  dev.AddSymlink("out-dir", dev.Outside());
  dev.AddSymlink("out-root", "/");
  dev.AddSymlink("dangling", "nothing-here");
  dev.AddSymlink("dangling-dir", "nothing-here/x");
  dev.AddSymlink("loop-a", "loop-b");
  dev.AddSymlink("loop-b", "loop-a");
  struct Case {
    const char* path;
    DWORD error;
  } cases[] = {
      {"\\out-abs", ERROR_ACCESS_DENIED},
      {"\\out-rel", ERROR_ACCESS_DENIED},
      {"\\Windows\\Out-Deep", ERROR_ACCESS_DENIED},
      {"\\out-dir\\secret.txt", ERROR_ACCESS_DENIED},
      {"\\out-root\\etc\\passwd", ERROR_ACCESS_DENIED},
      {"\\dangling", ERROR_FILE_NOT_FOUND},
      {"\\dangling-dir", ERROR_FILE_NOT_FOUND},
      {"\\loop-a", ERROR_CANT_RESOLVE_FILENAME},
  };
  for (const Case& c : cases) {
    std::u16string path = U16(c.path);
    SetLastError(0);
    EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE)
        << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
  EXPECT_EQ(platform::LiveFileHandles(), 0u);
}

TEST_F(FilesTest, ReadFileReadsToTheEnd) {
  std::string big(100000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  dev.AddFile("big.bin", big);
  HANDLE file = CreateFileW(u"\\big.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  std::string buffer(70000, 'x');
  DWORD got = 1;
  ASSERT_TRUE(ReadFile(file, buffer.data(), 70000, &got, nullptr));
  EXPECT_EQ(got, 70000u);
  EXPECT_EQ(buffer, big.substr(0, 70000));
  ASSERT_TRUE(ReadFile(file, buffer.data(), 70000, &got, nullptr));
  EXPECT_EQ(got, 30000u);
  EXPECT_EQ(buffer.substr(0, 30000), big.substr(70000));
  ASSERT_TRUE(ReadFile(file, buffer.data(), 70000, &got, nullptr));
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(ReadFile(file, buffer.data(), 10, nullptr, nullptr));
  EXPECT_TRUE(CloseHandle(file));
}

TEST_F(FilesTest, StaleAndForeignHandlesFailCleanly) {
  HANDLE file = CreateFileW(u"\\plain.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(platform::LiveFileHandles(), 1u);
  ASSERT_TRUE(CloseHandle(file));
  EXPECT_EQ(platform::LiveFileHandles(), 0u);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(u"\\*", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  // A new file may take the closed one's slot; the old handle must still miss it.
  HANDLE reused = CreateFileW(u"\\plain.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reused, INVALID_HANDLE_VALUE);
  ASSERT_NE(reused, file);

  char buffer[4];
  DWORD got = 99;
  for (HANDLE bad : {file, find, INVALID_HANDLE_VALUE, HANDLE(nullptr), reinterpret_cast<HANDLE>(0x1234)}) {
    SetLastError(0);
    EXPECT_FALSE(ReadFile(bad, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(got, 0u);
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(bad));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  }
  EXPECT_EQ(platform::LiveFindHandles(), 1u);
  EXPECT_TRUE(FindClose(find));
  EXPECT_TRUE(CloseHandle(reused));
}

TEST_F(FilesTest, RefusesWhatItCannotDo) {
  dev.AddFile("locked.txt", "x");
  dev.Chmod("locked.txt", 0);
  struct Case {
    const char16_t* path;
    DWORD access;
    DWORD disposition;
    DWORD error;
  } cases[] = {
      {u"\\locked.txt", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {u"\\plain.txt", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, ERROR_NOT_SUPPORTED},
      {u"\\new.txt", GENERIC_READ, CREATE_NEW, ERROR_NOT_SUPPORTED},
      {u"\\plain.txt", GENERIC_READ, 0, ERROR_INVALID_PARAMETER},
      {nullptr, GENERIC_READ, OPEN_EXISTING, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(CreateFileW(c.path, c.access, 0, nullptr, c.disposition, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_FALSE(TempDevice::Exists(dev.Host("new.txt")));
}

TEST_F(FilesTest, FaultPlanMakesCreateFileFail) {
  device::Current().faults.FailAlways("CreateFileW", ERROR_ACCESS_DENIED);
  SetLastError(0);
  EXPECT_EQ(CreateFileW(u"\\plain.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(platform::LiveFileHandles(), 0u);
  device::Current().faults.Clear();
  EXPECT_EQ(Slurp(u"\\plain.txt"), "plain");
}

TEST_F(FilesTest, AttributesFollowTheHostEntry) {
  dev.AddFile("ro.txt", "r");
  dev.Chmod("ro.txt", 0444);
  dev.AddSymlink("ro-link", "ro.txt");
  dev.AddSymlink("dir-link", "windows");
  struct Case {
    const char16_t* path;
    DWORD attributes;
  } cases[] = {
      {u"\\plain.txt", FILE_ATTRIBUTE_NORMAL},   {u"\\RO.TXT", FILE_ATTRIBUTE_READONLY},
      {u"\\ro-link", FILE_ATTRIBUTE_READONLY},   {u"\\Windows", FILE_ATTRIBUTE_DIRECTORY},
      {u"\\dir-link", FILE_ATTRIBUTE_DIRECTORY}, {u"\\", FILE_ATTRIBUTE_DIRECTORY},
  };
  for (const Case& c : cases) EXPECT_EQ(GetFileAttributesW(c.path), c.attributes);
}

class DeleteFileTest : public FilesTest {
 protected:
  // A child process that holds |path| open until the returned pipe closes.
  pid_t HoldOpenInChild(const std::filesystem::path& path, int* release) {
    int ready[2], hold[2];
    EXPECT_EQ(pipe(ready), 0);
    EXPECT_EQ(pipe(hold), 0);
    pid_t child = fork();
    if (child == 0) {
      int fd = open(path.c_str(), O_RDONLY);
      close(ready[0]);
      close(hold[1]);
      char c = fd >= 0 ? 'y' : 'n';
      (void)!write(ready[1], &c, 1);
      (void)!read(hold[0], &c, 1);
      _exit(0);
    }
    close(ready[1]);
    close(hold[0]);
    char c = 0;
    EXPECT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    close(ready[0]);
    *release = hold[1];
    return child;
  }
};

TEST_F(DeleteFileTest, RemovesOnlyTheNamedFile) {
  EXPECT_TRUE(DeleteFileW(u"\\Windows\\StartUp\\TOOL.LNK"));
  EXPECT_FALSE(TempDevice::Exists(dev.Host("windows/startup/tool.lnk")));
  EXPECT_TRUE(TempDevice::Exists(dev.Host("windows/startup")));
  EXPECT_EQ(TempDevice::Read(dev.Host("data/Readme.txt")), "mixed");
  SetLastError(0);
  EXPECT_FALSE(DeleteFileW(u"\\Windows\\StartUp\\TOOL.LNK"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(DeleteFileTest, RefusalsLeaveEverythingInPlace) {
  dev.AddFile("ro.txt", "r");
  dev.Chmod("ro.txt", 0444);
  dev.AddSymlink("out-link-dir", dev.Outside());
  dev.AddSymlink("dir-link", "windows");
  struct Case {
    const char16_t* path;
    DWORD error;
  } cases[] = {
      {u"\\ro.txt", ERROR_ACCESS_DENIED},
      {u"\\Windows\\StartUp", ERROR_ACCESS_DENIED},
      {u"\\dir-link", ERROR_ACCESS_DENIED},
      {u"\\", ERROR_ACCESS_DENIED},
      {u"\\gone.txt", ERROR_FILE_NOT_FOUND},
      {u"\\nowhere\\gone.txt", ERROR_PATH_NOT_FOUND},
      {u"\\..\\outside\\secret.txt", ERROR_INVALID_NAME},
      {u"\\data\\..\\..\\outside\\secret.txt", ERROR_INVALID_NAME},
      {u"\\out-link-dir\\secret.txt", ERROR_ACCESS_DENIED},
      {u"\\bad?.txt", ERROR_INVALID_NAME},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(DeleteFileW(c.path));
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_TRUE(TempDevice::Exists(dev.Host("ro.txt")));
  EXPECT_TRUE(TempDevice::Exists(dev.Host("dir-link")));
  EXPECT_TRUE(TempDevice::Exists(dev.Host("windows/startup/tool.lnk")));
  EXPECT_EQ(TempDevice::Read(dev.Outside() / "secret.txt"), "secret");
}

TEST_F(DeleteFileTest, LinkIsRemovedAndItsTargetKept) {
  dev.AddSymlink("windows/startup/in.lnk", "../../plain.txt");
  dev.AddSymlink("windows/startup/out.lnk", dev.Outside() / "secret.txt");
  dev.AddSymlink("windows/startup/dangling.lnk", "nothing");
  for (const char16_t* path :
       {u"\\Windows\\StartUp\\in.lnk", u"\\Windows\\StartUp\\out.lnk", u"\\Windows\\StartUp\\dangling.lnk"})
    EXPECT_TRUE(DeleteFileW(path)) << GetLastError();
  EXPECT_FALSE(TempDevice::Exists(dev.Host("windows/startup/in.lnk")));
  EXPECT_FALSE(TempDevice::Exists(dev.Host("windows/startup/out.lnk")));
  EXPECT_FALSE(TempDevice::Exists(dev.Host("windows/startup/dangling.lnk")));
  EXPECT_EQ(TempDevice::Read(dev.Host("plain.txt")), "plain");
  EXPECT_EQ(TempDevice::Read(dev.Outside() / "secret.txt"), "secret");
}

TEST_F(DeleteFileTest, FileHeldOpenIsASharingViolation) {
  int release = -1;
  pid_t child = HoldOpenInChild(dev.Host("plain.txt"), &release);
  SetLastError(0);
  EXPECT_FALSE(DeleteFileW(u"\\PLAIN.TXT"));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_TRUE(TempDevice::Exists(dev.Host("plain.txt")));
  close(release);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(DeleteFileW(u"\\PLAIN.TXT"));
}

TEST_F(DeleteFileTest, OwnOpenHandleIsASharingViolation) {
  HANDLE file = CreateFileW(u"\\plain.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileW(u"\\plain.txt"));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  CloseHandle(file);
  EXPECT_TRUE(DeleteFileW(u"\\plain.txt"));
}

TEST(KernelTablesTest, BootClosesEverything) {
  TempDevice dev;
  dev.AddFile("a.txt", "a");
  WIN32_FIND_DATAW data;
  ASSERT_NE(CreateFileW(u"\\a.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  ASSERT_NE(FindFirstFileW(u"\\*", &data), INVALID_HANDLE_VALUE);
  ASSERT_NE(CreateMutexW(nullptr, FALSE, u"boot"), nullptr);
  device::Boot({dev.Root()});
  EXPECT_EQ(platform::LiveFileHandles(), 0u);
  EXPECT_EQ(platform::LiveFindHandles(), 0u);
  EXPECT_EQ(platform::LiveMutexHandles(), 0u);
  EXPECT_TRUE(DeleteFileW(u"\\a.txt"));  // nothing holds it any more
}

}  // namespace
