#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "aygshell.h"
#include "commctrl.h"
#include "control_classes.h"
#include "gdi_objects.h"
#include "module_table.h"
#include "platform/temp_device.h"
#include "res/test_resources.h"
#include "screen_renderer.h"
#include "shell_objects.h"
#include "windows.h"

namespace {

using frontend::RenderLines;
using frontend::RenderScreen;

constexpr std::uint32_t kBlue = 0xFF2040C0, kYellow = 0xFFE8C828;

platform::Image Solid(std::uint32_t argb, int size = 16) {
  platform::Image image;
  image.width = image.height = size;
  image.argb.assign(static_cast<std::size_t>(size) * size, argb);
  return image;
}

class RendererTest : public testing::Test {
 protected:
  // A full-screen dialog between the bars: rows 2..17 of the 30 x 20 grid.
  HWND Dialog(const char16_t* title = u"Tessaly") {
    HWND dialog = CreateWindowExW(0, u"#32770", title, WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                                  nullptr, nullptr);
    EXPECT_NE(dialog, nullptr);
    return dialog;
  }

  static HWND Child(HWND parent, const char16_t* cls, const char16_t* text, int x, int y, int cx, int cy,
                    DWORD style = 0) {
    HWND child =
        CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent, nullptr, nullptr, nullptr);
    EXPECT_NE(child, nullptr);
    return child;
  }

  corvale_test::TempDevice dev;
};

TEST_F(RendererTest, NavBarShowsTheCaptionAndOkAndWideTextStopsAtItsWindow) {
  HWND dialog = Dialog();
  SHINITDLGINFO init{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON};
  ASSERT_TRUE(SHInitDialog(&init));
  // Seven cells: the fourth wide character would straddle the edge.
  Child(dialog, u"Static", u"文件名称abc\nsecond", 0, 0, 56, 16);
  Child(dialog, u"Static", u"Z", 56, 0, 16, 16);
  Child(dialog, u"Button", u"&Save", 0, 32, 80, 16);
  ShowWindow(Child(dialog, u"Static", u"hidden", 0, 64, 80, 16), SW_HIDE);

  frontend::Screen screen = RenderScreen();
  std::vector<std::string> lines = screen.Lines();
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[0], "Tessaly                     ok");
  EXPECT_TRUE(screen.At(0, 0).inverse);
  EXPECT_TRUE(screen.At(5, 1).inverse);  // the bar is two rows of 26 pixels
  EXPECT_EQ(lines[2], "文件名 Z                      ");
  EXPECT_TRUE(screen.At(1, 2).wideTail);
  EXPECT_FALSE(screen.At(6, 2).wideTail);
  EXPECT_EQ(lines[3], std::string(30, ' '));
  EXPECT_EQ(lines[4], "[Save]                        ");
  EXPECT_EQ(lines[6], std::string(30, ' '));
  EXPECT_FALSE(screen.At(0, 2).inverse);
  EXPECT_EQ(RenderLines(), lines);
}

TEST_F(RendererTest, ScreenPutKeepsWideCharactersWhole) {
  frontend::Screen screen(6, 1);
  EXPECT_EQ(screen.Put(0, 0, u"中文字", 5), 5);  // the third would cross the limit: a blank instead
  EXPECT_EQ(screen.Lines()[0], "中文  ");
  screen.Put(1, 0, u"x", 1);  // overwriting half of a wide character blanks its other half
  EXPECT_EQ(screen.Lines()[0], " x文  ");
  screen.Put(4, 0, u"字字", 10);  // the screen's edge clips like a window's
  EXPECT_EQ(screen.Lines()[0], " x文字");
  screen.Put(-1, 0, u"中文", 10);  // cut by the left edge too
  EXPECT_EQ(screen.Lines()[0], " 文 字");
  EXPECT_EQ(screen.At(99, 99).ch, U' ');
}

TEST_F(RendererTest, WindowsFarLargerThanTheScreenAreClipped) {
  HWND dialog = Dialog();
  HWND list = Child(dialog, WC_LISTVIEWW, u"", -100000000, 0, 2000000000, 2000000000, LVS_REPORT | WS_BORDER);
  LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, LVCFMT_LEFT, 0x7FFFFFFF, const_cast<LPWSTR>(u"wide"), 0, 0};
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
  std::vector<std::string> lines = RenderLines();
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[2], std::string(30, ' '));  // neither side is on the screen; the header starts far to the left
  EXPECT_EQ(lines[3], std::string(30, ' '));
}

TEST_F(RendererTest, ListViewDrawsHeaderRowsIconsSelectionAndGridLines) {
  HWND dialog = Dialog();
  HWND list = Child(dialog, WC_LISTVIEWW, u"", 0, 0, 240, 112, LVS_REPORT | WS_BORDER);
  const char16_t* titles[] = {u"文件名称", u"Hidden", u"Size"};
  int widths[] = {120, 0, 60};
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, LVCFMT_LEFT, widths[c], const_cast<LPWSTR>(titles[c]), 0, c};
    ASSERT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column)), c);
  }
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 2, 2);
  for (std::uint32_t colour : {kBlue, kYellow}) {
    HICON icon = platform::NewIcon(Solid(colour));
    ASSERT_GE(ImageList_ReplaceIcon(images, -1, icon), 0);
    DestroyIcon(icon);
  }
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  const char16_t* names[] = {u"alpha", u"beta", u"一二三四五六七八九", u"d", u"e", u"f"};
  int imageOf[] = {0, 1, 7, 0, 0, 0};
  for (int i = 0; i < 6; ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.iImage = imageOf[i];
    item.pszText = const_cast<LPWSTR>(names[i]);
    ASSERT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), i);
    item.iSubItem = 2;
    item.pszText = const_cast<LPWSTR>(u"12KB");
    SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
  }
  ASSERT_TRUE(platform::ListViewTapRow(list, 1, false));

  frontend::Screen screen = RenderScreen();
  std::vector<std::string> lines = screen.Lines();
  // Rows 2..8: the header, then the five rows that fit; the sixth does not. The one-pixel
  // border costs the sides a cell each, but no row.
  EXPECT_EQ(lines[2], "│文件名称      │Size   │     │");
  EXPECT_EQ(lines[3], "│▣  alpha      │12KB   │     │");
  EXPECT_EQ(lines[4], "│▰  beta       │12KB   │     │");
  EXPECT_EQ(lines[5], "│   一二三四五 │12KB   │     │");
  EXPECT_EQ(lines[6], "│▣  d          │12KB   │     │");
  EXPECT_EQ(lines[7], "│▣  e          │12KB   │     │");
  EXPECT_EQ(lines[8], "│              │       │     │");
  for (int x = 0; x < 30; ++x) EXPECT_EQ(screen.At(x, 4).inverse, x >= 1 && x <= 28) << x;
  EXPECT_FALSE(screen.At(3, 3).inverse);
  EXPECT_TRUE(screen.At(1, 3).hasColour);
  EXPECT_EQ(screen.At(1, 3).fg, kBlue & 0xFFFFFF);

  SendMessageW(list, LVM_ENSUREVISIBLE, 5, FALSE);  // scrolls by one row
  EXPECT_EQ(RenderLines()[3], "│▰  beta       │12KB   │     │");
}

TEST_F(RendererTest, IconGlyphsFollowTheImagesOwnColours) {
  HINSTANCE module = platform::RegisterModule(u"\\Windows\\render_tests.dll", TestResourceImage());
  const platform::Image* document = platform::IconImage(LoadIconW(module, MAKEINTRESOURCEW(300)));
  ASSERT_NE(document, nullptr);
  struct Case {
    platform::Image image;
    char32_t glyph;
  } cases[] = {
      {Solid(kBlue), U'▣'},      {Solid(kYellow), U'▰'},    {*document, U'▤'},
      {Solid(0xFF30A040), U'▩'}, {Solid(0x00FFFFFF), U' '}, {platform::Image{}, U' '},
  };
  for (const Case& c : cases)
    EXPECT_EQ(frontend::GlyphOf(c.image).ch, c.glyph) << std::hex << (c.image.argb.empty() ? 0 : c.image.argb[0]);
  // Transparent pixels do not dilute the colour.
  platform::Image half = Solid(kBlue);
  for (std::size_t i = 0; i < half.argb.size() / 2; ++i) half.argb[i] = 0x00FFFFFF;
  EXPECT_EQ(frontend::GlyphOf(half).colour, kBlue & 0xFFFFFF);
}

TEST_F(RendererTest, MenuPopupOpensUpwardAboveItsButton) {
  HINSTANCE module = platform::RegisterModule(u"\\Windows\\render_tests.dll", TestResourceImage());
  HWND dialog = Dialog();
  SHMENUBARINFO info{};
  info.cbSize = sizeof info;
  info.hwndParent = dialog;
  info.dwFlags = SHCMBF_HMENU;
  info.nToolBarId = 302;
  info.hInstRes = module;
  ASSERT_TRUE(SHCreateMenuBar(&info));
  HWND bar = info.hwndMB;

  std::vector<std::string> lines = RenderLines();
  EXPECT_EQ(lines[18], "     File           Help      ");
  EXPECT_EQ(lines[17], std::string(30, ' '));

  ASSERT_TRUE(platform::MenuBarTapButton(bar, 0));
  platform::MenuBarOf(bar)->popupFocus = 3;
  frontend::Screen screen = RenderScreen();
  lines = screen.Lines();
  EXPECT_EQ(lines[11], std::string(30, ' '));
  EXPECT_EQ(lines[12], "┌──────────┐                  ");
  EXPECT_EQ(lines[13], "│ Open     │                  ");
  EXPECT_EQ(lines[14], "│ Recent ▸ │                  ");
  EXPECT_EQ(lines[15], "├──────────┤                  ");
  EXPECT_EQ(lines[16], "│ Exit     │                  ");
  EXPECT_EQ(lines[17], "└──────────┘                  ");
  EXPECT_EQ(lines[18], "     File           Help      ");
  for (int x = 1; x <= 10; ++x) EXPECT_TRUE(screen.At(x, 16).inverse) << x;
  EXPECT_FALSE(screen.At(1, 13).inverse);
  EXPECT_FALSE(screen.At(5, 18).inverse);  // the open button looks pressed
  EXPECT_TRUE(screen.At(20, 18).inverse);

  // A popup on the rightmost button keeps to the screen.
  platform::MenuBarState* state = platform::MenuBarOf(bar);
  state->menu.items.push_back(state->menu.items[0]);
  state->openPopup = 2;
  state->popupFocus = -1;
  lines = RenderLines();
  EXPECT_EQ(lines[12], "                  ┌──────────┐");
  EXPECT_EQ(lines[16], "                  │ Exit     │");
  EXPECT_EQ(lines[18], "   File      Help      File   ");
}

// Answers each box by looking at it first: renders the screen, moves the focus
// to the first button, renders again, then presses the default.
class BoxWatcher : public device::InputSource {
 public:
  void Idle() override {
    HWND box = GetForegroundWindow();
    platform::MessageBoxState* state = platform::MessageBoxOf(box);
    if (!state) return;
    withDefaultFocus = RenderScreen();
    state->focusedButton = 0;
    withFirstFocus = RenderScreen();
    platform::MessageBoxPress(box, state->buttons[static_cast<std::size_t>(state->defaultButton)].id);
  }
  frontend::Screen withDefaultFocus{0, 0}, withFirstFocus{0, 0};
};

TEST_F(RendererTest, MessageBoxWrapsItsTextAndMarksTheDefaultButton) {
  HWND dialog = Dialog();
  BoxWatcher watcher;
  device::Current().input = &watcher;
  int answer = MessageBoxW(dialog, u"Delete the selected entry from the list?", u"Tessaly",
                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  device::Current().input = nullptr;
  EXPECT_EQ(answer, IDNO);

  const frontend::Screen& screen = watcher.withDefaultFocus;
  std::vector<std::string> lines = screen.Lines();
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[7], "  Tessaly                     ");
  EXPECT_EQ(lines[8], " │? Delete the selected     │ ");
  EXPECT_EQ(lines[9], " │  entry from the list?    │ ");
  EXPECT_EQ(lines[10], " │                          │ ");
  EXPECT_EQ(lines[11], " │        [Yes] <No>        │ ");
  EXPECT_EQ(lines[12], " └──────────────────────────┘ ");
  for (int x = 1; x <= 28; ++x) EXPECT_TRUE(screen.At(x, 7).inverse) << x;
  EXPECT_FALSE(screen.At(10, 11).inverse);
  EXPECT_TRUE(screen.At(16, 11).inverse);
  // The focus moves; the default's marking stays.
  EXPECT_EQ(watcher.withFirstFocus.Lines()[11], lines[11]);
  EXPECT_TRUE(watcher.withFirstFocus.At(10, 11).inverse);
  EXPECT_FALSE(watcher.withFirstFocus.At(16, 11).inverse);
  EXPECT_EQ(RenderLines()[11], std::string(30, ' '));  // gone once answered
}

}  // namespace
