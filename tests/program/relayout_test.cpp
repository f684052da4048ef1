// The dialog's size handler: the screen's shape picks the template, and the
// dialog keeps template 102's layout on every screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CorvaleDlg.h"
#include "ScreenShape.h"
#include "TemplateLayout.h"
#include "embedded_resources.h"
#include "program/layout_test_support.h"

namespace {

using corvale_test::Control;
using Trace = std::vector<std::string>;

class RelayoutTest : public corvale_test::LayoutTest {};

TEST_F(RelayoutTest, ScreenShapeReadsWidthThenHeight) {
  const struct {
    int width, height;
    ScreenShape shape;
  } cases[] = {
      {240, 320, shapeTall}, {320, 240, shapeWide}, {480, 480, shapeSquare}, {1, 2, shapeTall}, {2, 1, shapeWide}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    device::Current().SetScreen(c.width, c.height);
    ScreenShape shape = shapeSquare;
    EXPECT_EQ(Traced([&] { shape = GetScreenShape(); }),
              (Trace{"GetSystemMetrics SM_CXSCREEN", "GetSystemMetrics SM_CYSCREEN"}));
    EXPECT_EQ(shape, c.shape);
  }
}

// Reaches the handler through the dialog's message table, as WM_SIZE does.
class SizedDialog : public CCorvaleDlg {
 public:
  void Size(UINT type, int cx, int cy) { WindowProc(WM_SIZE, type, MAKELPARAM(cx, cy)); }
};

TEST_F(RelayoutTest, OnlyATallScreenTakesTheTallTemplateAndTheControlsKeepItsPlaces) {
  HINSTANCE program = Register({std::vector<std::byte>(CorvaleResourceImage().begin(), CorvaleResourceImage().end()),
                                CorvaleResourceImage().size()});
  AfxGetApp()->m_hInstance = program;
  HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_DIALOG);
  HWND window = CreateLive(
      program, {static_cast<const std::byte*>(LoadResource(program, found)), SizeofResource(program, found)});
  SizedDialog dialog;
  ASSERT_TRUE(dialog.Attach(window));
  SetWindowTextW(Control(window, 0xFFFF)->handle, u"changed");

  const Trace metrics{"GetSystemMetrics SM_CXSCREEN", "GetSystemMetrics SM_CYSCREEN"};
  const Trace open{"FindResourceW", "LoadResource", "SizeofResource", "BeginDeferWindowPos"};
  const Trace move{"GetDlgItem", "MapDialogRect", "DeferWindowPos"};
  auto join = [](std::initializer_list<Trace> parts) {
    Trace all;
    for (const Trace& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  const struct {
    int width, height;
    UINT templateId;
    BOOL result;
    Trace trace;
    const char16_t* label;
  } cases[] = {
      {320, 240, IDD_CORVALE_DIALOG_WIDE, FALSE, join({metrics, open, {"GetDlgItem", "EndDeferWindowPos"}}),
       u"changed"},
      {480, 480, IDD_CORVALE_DIALOG_WIDE, FALSE, join({metrics, open, {"GetDlgItem", "EndDeferWindowPos"}}),
       u"changed"},
      {240, 320, IDD_CORVALE_DIALOG, TRUE, join({metrics, open, move, move, {"SetDlgItemTextW", "EndDeferWindowPos"}}),
       u"www.velmora.example Velmora"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    device::Current().SetScreen(c.width, c.height);
    // Neither the size type (1: minimised) nor the new size has a say.
    EXPECT_EQ(Traced([&] { dialog.Size(1, 1, 1); }), c.trace);
    EXPECT_TRUE(Control(window, 0xFFFF)->text == c.label);
    EXPECT_EQ(Control(window, IDC_STARTUP_LIST)->rect, (RECT{0, 0, 242, 248}));
    EXPECT_EQ(Control(window, 0xFFFF)->rect, (RECT{17, 252, 242, 264}));
    EXPECT_EQ(ApplyTemplateLayout(program, window, c.templateId), c.result);
  }
}

}  // namespace
