// The built program on a device full of bad input: shortcut files that are
// garbage, huge, unreadable or not text of the code page; entries named *.lnk
// that are not files; host names the device cannot have; links that lead out
// of the device, to a folder or nowhere. The list shows what the device's
// rules allow, nothing crashes, and a delete touches the one file it names.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "e2e/run_corvale.h"
#include "platform/device_tree.h"
#include "platform/temp_device.h"
#include "winuser.h"

namespace {

using corvale_test::RunCorvale;
using corvale_test::RunResult;
using corvale_test::SnapshotTree;
using corvale_test::TempDevice;
using corvale_test::TreeSnapshot;

const std::string kFolder = "\\Windows\\StartUp\\";

class BadDeviceInputE2E : public ::testing::Test {
 protected:
  BadDeviceInputE2E() {
    const std::string startup = "Windows/StartUp/";
    device_.AddFile("Windows/good.exe", "program");
    device_.AddFile(startup + "good.lnk", "13#\"\\Windows\\good.exe\"");

    std::string garbage;
    unsigned seed = 12345;
    for (int i = 0; i < 700; ++i) garbage += static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    device_.AddFile(startup + "garbage.lnk", garbage);

    device_.AddFile(startup + "unreadable.lnk", "10#\"\\u.exe\"");
    device_.Chmod(startup + "unreadable.lnk", 0);
    // Lead bytes with no trail, bytes no code page maps, and a lead byte cut at byte 256.
    device_.AddFile(startup + "codepage.lnk", "8#\"\\\x81\xff\x80\xfe" + std::string(240, 'x') + "\xd4");

    device_.AddDir(startup + "folder.lnk");
    const std::string badNames[] = {"back\\slash.lnk", "colon:.lnk", "ask?.lnk", std::string("\x01") + "control.lnk",
                                    std::string("\xff\xfe") + "bad.lnk"};
    for (const std::string& name : badNames)
      std::ofstream(device_.Host(startup + name)) << "10#\"\\Windows\\good.exe\"";

    device_.AddOutsideFile("secret.lnk", "10#\"\\secret.exe\"");
    device_.AddSymlink(startup + "inside.lnk", "good.lnk");
    device_.AddSymlink(startup + "out.lnk", device_.Outside() / "secret.lnk");
    device_.AddSymlink(startup + "up.lnk", "../../../outside/secret.lnk");
    device_.AddSymlink(startup + "todir.lnk", "..");
    device_.AddSymlink(startup + "nowhere.lnk", "missing.lnk");
    device_.AddSymlink(startup + "loop.lnk", "loop.lnk");
    std::filesystem::create_directories(Scratch());
  }

  std::filesystem::path Scratch() const { return device_.Base() / "scratch"; }

  RunResult Run(const std::string& script) {
    return RunCorvale(CORVALE_EXE, {"--device", device_.Root().string()}, script, Scratch());
  }

  // Row paths (without the folder) to their texts, from the run's last list.
  static std::map<std::string, std::string> Listed(const RunResult& r, std::vector<std::string>* order = nullptr) {
    std::map<std::string, std::string> listed;
    auto rows = r.Events("rows");
    if (rows.empty()) return listed;
    for (const auto& row : rows.back()["rows"]) {
      std::string path = row["path"];
      EXPECT_EQ(path.rfind(kFolder, 0), 0u) << path;
      path = path.substr(std::min(path.size(), kFolder.size()));
      listed[path] = row["text"];
      if (order) order->push_back(path);
    }
    return listed;
  }

  TreeSnapshot Snapshot() const {
    TreeSnapshot tree = SnapshotTree(device_.Root());
    for (const auto& [path, entry] : SnapshotTree(device_.Outside())) tree["outside/" + path] = entry;
    return tree;
  }

  TempDevice device_;
};

TEST_F(BadDeviceInputE2E, ListsOnlyWhatTheDeviceCanReadAndNothingCrashes) {
  // Kept out of the fixture: a tree snapshot would read all of the one and wait on the other.
  // 100 MB, nearly all of it a hole: only the first 256 bytes count.
  std::filesystem::path big = device_.AddFile("Windows/StartUp/big.lnk", "9#\"\\big.exe\"");
  std::filesystem::resize_file(big, 100u << 20);
  ASSERT_EQ(::mkfifo(device_.Host("Windows/StartUp/pipe.lnk").c_str(), 0644), 0);

  RunResult r = Run("list\ndraw\nok\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::map<std::string, std::string> listed = Listed(r);

  std::vector<std::string> names;
  for (const auto& [name, text] : listed) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"big.lnk", "codepage.lnk", "garbage.lnk", "good.lnk", "inside.lnk"}));
  EXPECT_EQ(listed["good.lnk"], "\\Windows\\good.exe");
  EXPECT_EQ(listed["inside.lnk"], "\\Windows\\good.exe");
  EXPECT_EQ(listed["big.lnk"], "\\big.exe");
  EXPECT_EQ(listed["codepage.lnk"].rfind("\\", 0), 0u) << listed["codepage.lnk"];
  EXPECT_EQ(r.Events("exit").at(0)["result"], IDOK);
}

TEST_F(BadDeviceInputE2E, DeletingAnEntryTouchesNothingElse) {
  // Each deletion in its own run, addressed by where the entry is listed.
  for (const char* name : {"inside.lnk", "garbage.lnk", "codepage.lnk", "good.lnk"}) {
    SCOPED_TRACE(name);
    std::vector<std::string> order;
    Listed(Run("list\n"), &order);
    auto row = std::find(order.begin(), order.end(), name);
    ASSERT_NE(row, order.end());
    const TreeSnapshot before = Snapshot();
    RunResult r = Run("tap-row " + std::to_string(row - order.begin()) + "\nmenu 删除该启动项\npress yes\nlist\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Listed(r).count(name), 0u);
    // A link goes, never what it points at.
    EXPECT_EQ(Snapshot(), corvale_test::Without(before, {std::string("Windows/StartUp/") + name}));
  }
}

}  // namespace
