// The built program's entry commands, run with scripts on temporary devices:
// viewing a shortcut's path and deleting a start-up entry.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "e2e/run_corvale.h"
#include "platform/device_tree.h"
#include "platform/temp_device.h"

namespace {

using corvale_test::RunCorvale;
using corvale_test::RunResult;
using corvale_test::TempDevice;
using corvale_test::TreeSnapshot;
using nlohmann::json;

constexpr char kViewDetails[] = "menu 查看详细信息\n";
constexpr char kDeleteEntry[] = "menu 删除该启动项\n";
const json kNoEntryBox = {{"caption", "Corvale"}, {"text", "请先选择需要删除的启动项"}, {"type", 0}};
const json kInUseBox = {
    {"caption", "Corvale"}, {"text", "删除失败，另一个程序正在使用此文件，进程无法访问。 "}, {"type", 0}};

json Box(const std::string& caption, const std::string& text, int type) {
  return {{"caption", caption}, {"text", text}, {"type", type}};
}

json Question(const std::string& target) { return Box("警告", "您真的要删除启动项: " + target, 0x124); }

// Another process holding a file open for as long as this object lives.
class HeldOpen {
 public:
  explicit HeldOpen(const std::filesystem::path& file) {
    int ready[2];
    if (::pipe(ready) != 0) throw std::runtime_error("pipe failed");
    pid_ = ::fork();
    if (pid_ == 0) {
      int fd = ::open(file.c_str(), O_RDONLY);
      char opened = fd >= 0 ? 1 : 0;
      if (::write(ready[1], &opened, 1) != 1) ::_exit(1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char opened = 0;
    if (::read(ready[0], &opened, 1) != 1 || !opened) throw std::runtime_error("the holder could not open the file");
    ::close(ready[0]);
  }
  ~HeldOpen() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
};

class EntryCommandsE2E : public ::testing::Test {
 protected:
  // Enumerated a, b, c: the list shows c (row 0), b (row 1), a (row 2).
  void SetUp() override {
    for (const char* name : {"a", "b", "c"})
      device_.AddFile(std::string("Windows/StartUp/") + name + ".lnk", std::string("10#\"\\") + name + ".exe\"");
    device_.AddFile("Windows/b.exe", "the program b.lnk starts");
    device_.AddOutsideFile("keep.txt", "outside the device");
  }

  RunResult Run(const std::string& script) {
    RunResult r = RunCorvale(CORVALE_EXE, {"--device", device_.Root().string()}, script, device_.Base());
    EXPECT_EQ(r.status, 0) << r.err;
    return r;
  }
  // The device and the folder beside it; the run's own files are left out.
  TreeSnapshot Tree() const {
    return corvale_test::Without(corvale_test::SnapshotTree(device_.Base()),
                                 {"script.txt", "stdout.txt", "stderr.txt"});
  }
  static std::vector<json> Boxes(const RunResult& r) {
    std::vector<json> boxes = r.Events("messagebox");
    for (json& box : boxes) box.erase("event");
    return boxes;
  }
  static std::vector<std::string> Paths(const RunResult& r) {
    std::vector<std::string> paths;
    const json rows = r.Events("rows").back();
    for (const json& row : rows["rows"]) paths.push_back(row["path"]);
    return paths;
  }

  TempDevice device_;
  const std::string kA = "\\Windows\\StartUp\\a.lnk";
  const std::string kB = "\\Windows\\StartUp\\b.lnk";
  const std::string kC = "\\Windows\\StartUp\\c.lnk";
};

TEST_F(EntryCommandsE2E, BothCommandsWithoutAMarkAskForOne) {
  TreeSnapshot before = Tree();
  RunResult r = Run(std::string(kViewDetails) + "press ok\n" + kDeleteEntry + "press ok\nlist\n");
  EXPECT_EQ(Boxes(r), (std::vector{kNoEntryBox, kNoEntryBox}));
  EXPECT_EQ(Paths(r), (std::vector{kC, kB, kA}));
  EXPECT_EQ(Tree(), before);
}

TEST_F(EntryCommandsE2E, DetailsShowTheMarkedShortcutsPathAndChangeNothing) {
  TreeSnapshot before = Tree();
  RunResult r = Run(std::string("tap-row 1\n") + kViewDetails + "press ok\nlist\n");
  EXPECT_EQ(Boxes(r), (std::vector{Box("Corvale", kB, 0)}));
  json rows = r.Events("rows").back();
  EXPECT_EQ(rows["mark"], 1);
  EXPECT_EQ(rows["rows"][1]["selected"], true);
  EXPECT_EQ(Paths(r), (std::vector{kC, kB, kA}));
  EXPECT_EQ(Tree(), before);
}

TEST_F(EntryCommandsE2E, AnsweringNoLeavesTheFileAndTheList) {
  TreeSnapshot before = Tree();
  RunResult r = Run(std::string("tap-row 1\n") + kDeleteEntry + "press no\nlist\n");
  EXPECT_EQ(Boxes(r), (std::vector{Question("\\b.exe")}));
  EXPECT_EQ(r.Events("rows").back()["mark"], 1);
  EXPECT_EQ(Paths(r), (std::vector{kC, kB, kA}));
  EXPECT_EQ(Tree(), before);
}

TEST_F(EntryCommandsE2E, AnsweringYesDeletesTheShortcutAlone) {
  TreeSnapshot before = Tree();
  RunResult r = Run(std::string("tap-row 1\n") + kDeleteEntry + "press yes\nlist\n");
  EXPECT_EQ(Boxes(r), (std::vector{Question("\\b.exe")}));
  EXPECT_EQ(Paths(r), (std::vector{kC, kA}));
  // The program the shortcut started stays.
  EXPECT_EQ(Tree(), corvale_test::Without(before, {"device/Windows/StartUp/b.lnk"}));
}

TEST_F(EntryCommandsE2E, AFileInUseIsReportedAndStaysListed) {
  TreeSnapshot before = Tree();
  HeldOpen holder(device_.Host("Windows/StartUp/b.lnk"));
  RunResult r = Run(std::string("tap-row 1\n") + kDeleteEntry + "press yes\npress ok\nlist\n");
  EXPECT_EQ(Boxes(r), (std::vector{Question("\\b.exe"), kInUseBox}));
  EXPECT_EQ(Paths(r), (std::vector{kC, kB, kA}));
  EXPECT_EQ(Tree(), before);
}

TEST_F(EntryCommandsE2E, AReadOnlyFileStaysListedWithoutAWord) {
  device_.Chmod("Windows/StartUp/b.lnk", 0444);
  TreeSnapshot before = Tree();
  RunResult r = Run(std::string("tap-row 1\n") + kDeleteEntry + "press yes\nlist\n");
  EXPECT_EQ(Boxes(r), (std::vector{Question("\\b.exe")}));
  EXPECT_EQ(Paths(r), (std::vector{kC, kB, kA}));
  EXPECT_EQ(Tree(), before);
}

TEST_F(EntryCommandsE2E, WithSeveralRowsSelectedOnlyTheMarkCounts) {
  TreeSnapshot before = Tree();
  RunResult r = Run(std::string("tap-row 0\nadd-row 2\nlist\n") + kViewDetails + "press ok\n" + kDeleteEntry +
                    "press yes\nlist\n");
  json selected = r.Events("rows").front();
  EXPECT_EQ(selected["mark"], 2);
  EXPECT_EQ(selected["rows"][0]["selected"], true);
  EXPECT_EQ(selected["rows"][2]["selected"], true);
  EXPECT_EQ(Boxes(r), (std::vector{Box("Corvale", kA, 0), Question("\\a.exe")}));
  EXPECT_EQ(Paths(r), (std::vector{kC, kB}));
  EXPECT_EQ(Tree(), corvale_test::Without(before, {"device/Windows/StartUp/a.lnk"}));
}

TEST_F(EntryCommandsE2E, ASeriesOfDeletesRemovesOnlyTheChosenFiles) {
  // A shortcut that is a link inside the device, and one leading out of it
  // (never listed, since the device cannot open it).
  device_.AddFile("My Documents/target.lnk", "10#\"\\t.exe\"");
  device_.AddSymlink("Windows/StartUp/link.lnk", "../../My Documents/target.lnk");
  device_.AddSymlink("Windows/StartUp/away.lnk", device_.AddOutsideFile("away.lnk", "10#\"\\w.exe\""));
  TreeSnapshot before = Tree();

  // Rows: link, c, b, a. Delete the link, then a; answer no for c.
  RunResult r = Run(std::string("list\ntap-row 0\n") + kDeleteEntry + "press yes\ntap-row 2\n" + kDeleteEntry +
                    "press yes\ntap-row 0\n" + kDeleteEntry + "press no\nlist\n");
  EXPECT_EQ(r.Events("rows").front()["rows"].size(), 4u);
  EXPECT_EQ(Boxes(r), (std::vector{Question("\\t.exe"), Question("\\a.exe"), Question("\\c.exe")}));
  EXPECT_EQ(Paths(r), (std::vector{kC, kB}));
  EXPECT_EQ(Tree(), corvale_test::Without(before, {"device/Windows/StartUp/link.lnk", "device/Windows/StartUp/a.lnk"}));
}

}  // namespace
