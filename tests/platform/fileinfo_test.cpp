#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "device/device.h"
#include "gdi_objects.h"
#include "shellapi.h"
#include "windows.h"

namespace {

class FileInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { device::Boot(device::Config{std::filesystem::temp_directory_path()}); }

  static DWORD_PTR SmallIcon(const char16_t* path, SHFILEINFOW* info, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    return SHGetFileInfo(path, attributes, info, sizeof(*info), SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
  }
};

TEST_F(FileInfoTest, ChoosesTheIconByExtension) {
  struct Case {
    const char16_t* path;
    DWORD attributes;
    std::u16string type;
    std::u16string display;
  };
  const Case cases[] = {
      {u"\\Windows\\calc.exe", 0, u"Application", u"calc.exe"},
      {u"\\Windows\\CMD.COM", 0, u"Application", u"CMD.COM"},
      {u"\\start.Bat", 0, u"Application", u"start.Bat"},
      {u"\\Windows\\coredll.dll", 0, u"Library", u"coredll.dll"},
      {u"\\Windows\\ctlpnl.CPL", 0, u"Library", u"ctlpnl.CPL"},
      {u"\\Windows\\x.ocx", 0, u"Library", u"x.ocx"},
      {u"\\Windows\\Start Menu\\Word.lnk", 0, u"Shortcut", u"Word.lnk"},
      {u"\\My Documents\\notes.txt", 0, u"Document", u"notes.txt"},
      {u"/My Documents/a.b.html", 0, u"Document", u"a.b.html"},
      {u"\\x.psw", 0, u"Document", u"x.psw"},
      {u"\\x.pwi", 0, u"Document", u"x.pwi"},
      {u"\\x.INI", 0, u"Document", u"x.INI"},
      {u"\\photo.JPEG", 0, u"Picture", u"photo.JPEG"},
      {u"\\p.png", 0, u"Picture", u"p.png"},
      {u"\\ring.wav", 0, u"Sound", u"ring.wav"},
      {u"\\song.Mp3", 0, u"Sound", u"song.Mp3"},
      {u"\\Program Files\\", 0, u"Folder", u""},
      {u"\\Program Files", FILE_ATTRIBUTE_DIRECTORY, u"Folder", u"Program Files"},
      {u"\\data.xyz", 0, u"File", u"data.xyz"},
      {u"\\trailing.", 0, u"File", u"trailing."},
      {u"\\dir.exe\\readme.zip", 0, u"File", u"readme.zip"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::filesystem::path(std::u16string(c.path)).string());
    SHFILEINFOW info{};
    EXPECT_NE(SmallIcon(c.path, &info, c.attributes), 0u);
    ASSERT_NE(info.hIcon, nullptr);
    const platform::Image* image = platform::IconImage(info.hIcon);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 16);
    EXPECT_EQ(std::u16string(info.szTypeName), c.type);
    EXPECT_EQ(std::u16string(info.szDisplayName), c.display);
    DestroyIcon(info.hIcon);
  }
}

TEST_F(FileInfoTest, EachKindHasItsOwnPicture) {
  const char16_t* samples[] = {u"a.exe", u"a.dll", u"a.lnk", u"a.txt", u"a.bmp", u"a.wav", u"a\\", u"a.zzz"};
  std::map<std::vector<std::uint32_t>, int> pictures;
  std::map<int, int> indices;
  for (const char16_t* sample : samples) {
    SHFILEINFOW info{};
    ASSERT_NE(SmallIcon(sample, &info), 0u);
    ++pictures[platform::IconImage(info.hIcon)->argb];
    ++indices[info.iIcon];
    DestroyIcon(info.hIcon);
  }
  EXPECT_EQ(pictures.size(), std::size(samples));
  EXPECT_EQ(indices.size(), std::size(samples));
}

TEST_F(FileInfoTest, NamesWithoutAnExtensionGetNoIcon) {
  const std::size_t start = platform::Icons().Live();
  for (const char16_t* path : {u"", u"\\Windows\\calc", u"\\Windows.old\\calc", u"calc", u"\\a.b/c"}) {
    SCOPED_TRACE(std::filesystem::path(std::u16string(path)).string());
    SHFILEINFOW info{};
    info.hIcon = reinterpret_cast<HICON>(1);
    EXPECT_EQ(SmallIcon(path, &info), 0u);
    EXPECT_EQ(info.hIcon, nullptr);
  }
  SHFILEINFOW info{};
  EXPECT_EQ(SHGetFileInfo(nullptr, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON), 0u);
  EXPECT_EQ(platform::Icons().Live(), start);
}

TEST_F(FileInfoTest, EveryCallHandsOutANewIconThatDestroyIconReleases) {
  const std::size_t start = platform::Icons().Live();
  SHFILEINFOW first{}, second{};
  ASSERT_NE(SmallIcon(u"\\Windows\\calc.exe", &first), 0u);
  ASSERT_NE(SmallIcon(u"\\Windows\\calc.exe", &second), 0u);
  EXPECT_NE(first.hIcon, second.hIcon);
  EXPECT_EQ(platform::Icons().Live(), start + 2);
  EXPECT_TRUE(DestroyIcon(first.hIcon));
  EXPECT_NE(platform::IconImage(second.hIcon), nullptr);
  EXPECT_TRUE(DestroyIcon(second.hIcon));
  EXPECT_EQ(platform::Icons().Live(), start);
}

TEST_F(FileInfoTest, LargeIconsAndBadArguments) {
  SHFILEINFOW info{};
  ASSERT_NE(SHGetFileInfo(u"\\a.txt", 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON), 0u);
  EXPECT_EQ(platform::IconImage(info.hIcon)->width, 32);
  DestroyIcon(info.hIcon);

  const std::size_t start = platform::Icons().Live();
  EXPECT_EQ(SHGetFileInfo(u"\\a.txt", 0, &info, sizeof info - 1, SHGFI_ICON | SHGFI_SMALLICON), 0u);
  EXPECT_EQ(SHGetFileInfo(u"\\a.txt", 0, nullptr, sizeof info, SHGFI_ICON | SHGFI_SMALLICON), 0u);
  // Without SHGFI_ICON no icon is made, but the names are still there.
  SHFILEINFOW names{};
  EXPECT_NE(SHGetFileInfo(u"\\a.txt", 0, &names, sizeof names, SHGFI_DISPLAYNAME | SHGFI_TYPENAME), 0u);
  EXPECT_EQ(names.hIcon, nullptr);
  EXPECT_EQ(std::u16string(names.szDisplayName), u"a.txt");
  EXPECT_EQ(platform::Icons().Live(), start);
}

}  // namespace
