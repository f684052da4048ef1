#include <string>

#include "control_test_support.h"
#include "gdi_objects.h"

namespace {

using corvale_test::ControlTest;
using corvale_test::Log;

platform::Image Pixel(std::uint32_t argb) { return platform::Image{1, 1, {argb}}; }

using ControlsTest = ControlTest;

TEST_F(ControlsTest, SettingAPictureReturnsThePreviousOneOfThatKindAndReleasesNothing) {
  struct Case {
    const char16_t* className;
    UINT setImage;
    UINT getImage;
  };
  const Case cases[] = {
      {u"Static", STM_SETIMAGE, STM_GETIMAGE},
      {u"Button", BM_SETIMAGE, BM_GETIMAGE},
      {u"Button", STM_SETIMAGE, STM_GETIMAGE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.setImage);
    HWND control = Child(c.className);
    HICON first = platform::NewIcon(Pixel(0xFF000001));
    HICON second = platform::NewIcon(Pixel(0xFF000002));
    HBITMAP bitmap = platform::NewBitmap(Pixel(0xFF000003));
    const std::size_t icons = platform::Icons().Live();

    EXPECT_EQ(SendMessageW(control, c.setImage, IMAGE_ICON, reinterpret_cast<LPARAM>(first)), 0);
    EXPECT_EQ(SendMessageW(control, c.setImage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)), 0);
    EXPECT_EQ(SendMessageW(control, c.setImage, IMAGE_ICON, reinterpret_cast<LPARAM>(second)),
              reinterpret_cast<LRESULT>(first));
    EXPECT_EQ(SendMessageW(control, c.getImage, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(second));
    EXPECT_EQ(SendMessageW(control, c.getImage, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap));
    EXPECT_EQ(SendMessageW(control, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(second));
    EXPECT_EQ(SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(first), 0),
              reinterpret_cast<LRESULT>(second));
    EXPECT_EQ(platform::Icons().Live(), icons);
    EXPECT_NE(platform::IconImage(second), nullptr);

    // Destroying the control leaves the pictures to their owner.
    DestroyWindow(control);
    EXPECT_EQ(platform::Icons().Live(), icons);
    EXPECT_TRUE(DestroyIcon(first));
    EXPECT_TRUE(DestroyIcon(second));
    EXPECT_TRUE(DeleteObject(bitmap));
  }
}

TEST_F(ControlsTest, StaticTextIsTheWindowText) {
  HWND label = Child(u"Static");
  ASSERT_TRUE(SetWindowTextW(label, u"Startup items"));
  char16_t buffer[32];
  EXPECT_EQ(GetWindowTextW(label, buffer, 32), 13);
  EXPECT_EQ(std::u16string(buffer), u"Startup items");
}

TEST_F(ControlsTest, ButtonTapTellsTheParent) {
  HWND button = Child(u"Button", BS_PUSHBUTTON, 20, IDOK);
  EXPECT_TRUE(platform::ButtonTap(button));
  ASSERT_EQ(Log().commands.size(), 1u);
  EXPECT_EQ(Log().commands[0], MAKEWPARAM(IDOK, BN_CLICKED));
  EXPECT_EQ(Log().commandSources[0], reinterpret_cast<LPARAM>(button));

  EnableWindow(button, FALSE);
  EXPECT_FALSE(platform::ButtonTap(button));
  HWND label = Child(u"Static");
  EXPECT_FALSE(platform::ButtonTap(label));
  DestroyWindow(button);
  EXPECT_FALSE(platform::ButtonTap(button));
  EXPECT_EQ(Log().commands.size(), 1u);
}

// The list box and the combo box keep the same kind of list under their own
// message numbers; they differ in what a selection out of range does.
struct ChoiceMessages {
  const char16_t* className;
  UINT add, count, setSel, getSel, getText, getTextLen, reset;
  bool outOfRangeClears;
};

class ChoiceControlTest : public ControlTest, public ::testing::WithParamInterface<ChoiceMessages> {};

TEST_P(ChoiceControlTest, AddSelectReadAndReset) {
  const ChoiceMessages& m = GetParam();
  HWND control = Child(m.className);
  EXPECT_EQ(SendMessageW(control, m.getSel, 0, 0), -1);
  EXPECT_EQ(SendMessageW(control, m.add, 0, reinterpret_cast<LPARAM>(u"First")), 0);
  EXPECT_EQ(SendMessageW(control, m.add, 0, reinterpret_cast<LPARAM>(u"Second")), 1);
  EXPECT_EQ(SendMessageW(control, m.count, 0, 0), 2);

  EXPECT_EQ(SendMessageW(control, m.setSel, 1, 0), 1);
  EXPECT_EQ(SendMessageW(control, m.getSel, 0, 0), 1);
  EXPECT_EQ(SendMessageW(control, m.setSel, 2, 0), -1);
  EXPECT_EQ(SendMessageW(control, m.getSel, 0, 0), m.outOfRangeClears ? -1 : 1);
  EXPECT_EQ(SendMessageW(control, m.setSel, 0, 0), 0);
  EXPECT_EQ(SendMessageW(control, m.setSel, static_cast<WPARAM>(-1), 0), -1);
  EXPECT_EQ(SendMessageW(control, m.getSel, 0, 0), -1);

  char16_t buffer[16] = {};
  EXPECT_EQ(SendMessageW(control, m.getTextLen, 1, 0), 6);
  EXPECT_EQ(SendMessageW(control, m.getText, 1, reinterpret_cast<LPARAM>(buffer)), 6);
  EXPECT_EQ(std::u16string(buffer), u"Second");
  EXPECT_EQ(SendMessageW(control, m.getText, 2, reinterpret_cast<LPARAM>(buffer)), -1);
  EXPECT_EQ(SendMessageW(control, m.getTextLen, -1, 0), -1);

  SendMessageW(control, m.setSel, 1, 0);
  SendMessageW(control, m.reset, 0, 0);
  EXPECT_EQ(SendMessageW(control, m.count, 0, 0), 0);
  EXPECT_EQ(SendMessageW(control, m.getSel, 0, 0), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, ChoiceControlTest,
    ::testing::Values(ChoiceMessages{u"ListBox", LB_ADDSTRING, LB_GETCOUNT, LB_SETCURSEL, LB_GETCURSEL, LB_GETTEXT,
                                     LB_GETTEXTLEN, LB_RESETCONTENT, false},
                      ChoiceMessages{u"ComboBox", CB_ADDSTRING, CB_GETCOUNT, CB_SETCURSEL, CB_GETCURSEL, CB_GETLBTEXT,
                                     CB_GETLBTEXTLEN, CB_RESETCONTENT, true}),
    [](const auto& info) { return info.index == 0 ? "ListBox" : "ComboBox"; });

}  // namespace
