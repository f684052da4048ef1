// The cells the terminal hit-tests must be the cells the renderer draws: each
// test reads the input view and the rendered screen of one window model and
// checks that every target holds what it stands for.
#include "input_view.h"

#include <gtest/gtest.h>

#include <string>

#include "aygshell.h"
#include "commctrl.h"
#include "control_classes.h"
#include "listview_state.h"
#include "module_table.h"
#include "platform/temp_device.h"
#include "res/test_resources.h"
#include "screen_renderer.h"
#include "shell_objects.h"
#include "window_objects.h"
#include "windows.h"

namespace {

using frontend::Action;
using frontend::CellBox;
using frontend::InputView;
using frontend::Screen;

std::u32string Text(const Screen& screen, const CellBox& box) {
  std::u32string text;
  for (int x = box.left; x < box.right; ++x)
    if (!screen.At(x, box.top).wideTail) text += screen.At(x, box.top).ch;
  return text;
}

class InputViewTest : public testing::Test {
 protected:
  // The program's shape: a full-screen dialog with OK, a bordered list of
  // twenty rows, and the test menu ("File" popup, "Help" command) on the bar.
  void SetUp() override {
    dialog_ = CreateWindowExW(0, u"#32770", u"Tessaly", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(dialog_, nullptr);
    platform::FindWindowObject(dialog_)->isDialog = true;
    SHINITDLGINFO init{SHIDIM_FLAGS, dialog_, SHIDIF_DONEBUTTON};
    ASSERT_TRUE(SHInitDialog(&init));
    list_ = CreateWindowExW(0, WC_LISTVIEWW, u"", WS_CHILD | WS_VISIBLE | LVS_REPORT | WS_BORDER, 0, 8, 240, 200,
                            dialog_, nullptr, nullptr, nullptr);
    ASSERT_NE(list_, nullptr);
    LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, LVCFMT_LEFT, 200, const_cast<LPWSTR>(u"Name"), 0, 0};
    SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < 20; ++i) {
      std::u16string name = u"row" + std::u16string(1, static_cast<char16_t>(u'A' + i));
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = name.data();
      ASSERT_EQ(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), i);
    }
    HINSTANCE module = platform::RegisterModule(u"\\Windows\\view_tests.dll", TestResourceImage());
    SHMENUBARINFO info{};
    info.cbSize = sizeof info;
    info.hwndParent = dialog_;
    info.dwFlags = SHCMBF_HMENU;
    info.nToolBarId = 302;
    info.hInstRes = module;
    ASSERT_TRUE(SHCreateMenuBar(&info));
    bar_ = info.hwndMB;
  }

  corvale_test::TempDevice dev_;
  HWND dialog_ = nullptr;
  HWND list_ = nullptr;
  HWND bar_ = nullptr;
};

TEST_F(InputViewTest, RowsButtonsAndOkAreWhereTheyAreDrawn) {
  ASSERT_TRUE(platform::ListViewMoveMark(list_, 15));  // scrolls: the first rows are out of sight
  InputView view = frontend::CurrentInputView();
  Screen screen = frontend::RenderScreen();

  EXPECT_EQ(view.rowCount, 20);
  EXPECT_EQ(view.mark, 15);
  EXPECT_GT(view.top, 0);
  ASSERT_EQ(view.visibleRows, platform::ListViewVisibleRows(list_));
  // Half a cell off the grid, the list still shows every row its pixels hold.
  ASSERT_EQ(view.rows.Height(), view.visibleRows);
  for (int k = 0; k < view.rows.Height(); ++k) {
    std::u32string expected = U"row" + std::u32string(1, static_cast<char32_t>(U'A' + view.top + k));
    EXPECT_EQ(Text(screen, CellBox{view.rows.left, view.rows.top + k, view.rows.left + 4, view.rows.top + k + 1}),
              expected)
        << k;
  }
  // A click on a drawn row taps that row.
  Action tap = frontend::MapInput(frontend::InputEvent::ClickAt(view.rows.left + 1, view.rows.top + 2), view);
  EXPECT_EQ(tap, (Action{Action::Kind::TapRow, view.top + 2}));

  ASSERT_EQ(view.menuButtons.size(), 2u);
  EXPECT_TRUE(view.menuButtons[0].popup);
  EXPECT_FALSE(view.menuButtons[1].popup);
  EXPECT_NE(Text(screen, CellBox{view.menuButtons[0].box.left, view.menuButtons[0].box.top,
                                 view.menuButtons[0].box.right, view.menuButtons[0].box.top + 1})
                .find(U"File"),
            std::u32string::npos);
  EXPECT_NE(Text(screen, CellBox{view.menuButtons[1].box.left, view.menuButtons[1].box.top,
                                 view.menuButtons[1].box.right, view.menuButtons[1].box.top + 1})
                .find(U"Help"),
            std::u32string::npos);
  EXPECT_EQ(Text(screen, view.ok), U"ok");
  EXPECT_EQ(view.openPopup, -1);
  EXPECT_FALSE(view.boxOpen);
}

TEST_F(InputViewTest, PopupItemsAreWhereTheyAreDrawnOnEitherScreen) {
  for (auto [width, height] : {std::pair{240, 320}, std::pair{320, 240}}) {
    platform::ChangeScreen(width, height);
    // The popup on the rightmost button has to keep to the screen.
    platform::MenuBarState* state = platform::MenuBarOf(bar_);
    state->menu.items.resize(2);
    state->menu.items.push_back(state->menu.items[0]);
    for (int button : {0, 2}) {
      state->openPopup = -1;
      ASSERT_TRUE(platform::MenuBarTapButton(bar_, button));
      InputView view = frontend::CurrentInputView();
      Screen screen = frontend::RenderScreen();
      ASSERT_EQ(view.openPopup, button);
      ASSERT_EQ(view.popupItems.size(), 4u);
      const char32_t* labels[] = {U" Open     ", U" Recent ▸ ", nullptr, U" Exit     "};
      for (std::size_t k = 0; k < 4; ++k) {
        const InputView::PopupItem& item = view.popupItems[k];
        EXPECT_EQ(item.separator, labels[k] == nullptr);
        EXPECT_EQ(Text(screen, CellBox{item.box.left - 1, item.box.top, item.box.left, item.box.top + 1}),
                  labels[k] ? U"│" : U"├")
            << width << " " << button << " " << k;
        if (labels[k]) {
          EXPECT_EQ(Text(screen, item.box), labels[k]) << width << " " << button << " " << k;
        }
      }
      // Keys and clicks reach the item the renderer shows as focused.
      ASSERT_TRUE(frontend::CarryOut(frontend::MapInput(frontend::InputEvent::Press(frontend::Key::Up), view)));
      EXPECT_TRUE(frontend::RenderScreen().At(view.popupItems[3].box.left, view.popupItems[3].box.top).inverse);
      Action tap = frontend::MapInput(
          frontend::InputEvent::ClickAt(view.popupItems[0].box.left, view.popupItems[0].box.top), view);
      EXPECT_EQ(tap, (Action{Action::Kind::TapPopupItem, 0}));
    }
  }
}

// Looks at the box when it shows, then answers it by Esc as the terminal would.
class EscapeUser : public device::InputSource {
 public:
  void Idle() override {
    if (++calls > 1) return;  // a second wait means the answer did not take
    view = frontend::CurrentInputView();
    screen = frontend::RenderScreen();
    answered = frontend::CarryOut(frontend::MapInput(frontend::InputEvent::Press(frontend::Key::Escape), view));
  }
  int calls = 0;
  bool answered = false;
  InputView view;
  Screen screen{0, 0};
};

TEST_F(InputViewTest, EscapeAnswersAYesNoBoxWithNoAndItsButtonsAreWhereTheyAreDrawn) {
  EscapeUser user;
  device::Current().input = &user;
  int answer = MessageBoxW(dialog_, u"Delete it?", u"Tessaly", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  device::Current().input = nullptr;
  EXPECT_EQ(answer, IDNO);
  EXPECT_TRUE(user.answered);
  EXPECT_EQ(user.calls, 1);
  ASSERT_TRUE(user.view.boxOpen);
  EXPECT_EQ(user.view.cancelId, IDNO);
  EXPECT_EQ(user.view.focusedButton, 1);
  ASSERT_EQ(user.view.boxButtons.size(), 2u);
  EXPECT_EQ(user.view.boxButtons[0].id, IDYES);
  EXPECT_EQ(Text(user.screen, user.view.boxButtons[0].box), U"[Yes]");
  EXPECT_EQ(user.view.boxButtons[1].id, IDNO);
  EXPECT_EQ(Text(user.screen, user.view.boxButtons[1].box), U"<No>");
  EXPECT_FALSE(frontend::CurrentInputView().boxOpen);
}

}  // namespace
