#include <gtest/gtest.h>

#include <filesystem>

#include "commctrl.h"
#include "control_classes.h"
#include "device/device.h"
#include "gdi_objects.h"
#include "windows.h"

namespace {

platform::Image Solid(int size, std::uint32_t argb) {
  platform::Image image;
  image.width = size;
  image.height = size;
  image.argb.assign(static_cast<std::size_t>(size) * size, argb);
  return image;
}

class ImageListTest : public ::testing::Test {
 protected:
  void SetUp() override { device::Boot(device::Config{std::filesystem::temp_directory_path()}); }
};

TEST_F(ImageListTest, CopiesAreScaledAndSurviveTheSourceIcon) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
  ASSERT_NE(list, nullptr);
  HICON red = platform::NewIcon(Solid(32, 0xFFFF0000));
  HICON blue = platform::NewIcon(Solid(16, 0xFF0000FF));
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, red), 0);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, blue), 1);
  EXPECT_TRUE(DestroyIcon(red));
  EXPECT_TRUE(DestroyIcon(blue));

  const std::vector<platform::Image>* images = platform::ImageListImages(list);
  ASSERT_NE(images, nullptr);
  ASSERT_EQ(images->size(), 2u);
  for (const platform::Image& image : *images) {
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.height, 16);
    EXPECT_EQ(image.argb.size(), 256u);
  }
  EXPECT_EQ((*images)[0].argb[0], 0xFFFF0000u);
  EXPECT_EQ((*images)[1].argb[255], 0xFF0000FFu);
  EXPECT_EQ(ImageList_GetImageCount(list), 2);
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  EXPECT_TRUE(ImageList_Destroy(list));
}

TEST_F(ImageListTest, ReplaceTakesAnExistingIndexOnly) {
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
  HICON green = platform::NewIcon(Solid(8, 0xFF00FF00));
  HICON white = platform::NewIcon(Solid(8, 0xFFFFFFFF));
  ASSERT_EQ(ImageList_ReplaceIcon(list, -1, green), 0);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 0, white), 0);
  EXPECT_EQ(platform::ImageListImages(list)->at(0).argb[0], 0xFFFFFFFFu);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 1, green), -1);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -2, green), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 1);
}

TEST_F(ImageListTest, StaleAndForeignHandlesFailCleanly) {
  const std::size_t start = platform::LiveImageLists();
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  HICON icon = platform::NewIcon(Solid(16, 0xFF123456));
  EXPECT_EQ(platform::LiveImageLists(), start + 1);

  HICON gone = platform::NewIcon(Solid(16, 0xFF000000));
  DestroyIcon(gone);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, gone), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_ICON_HANDLE);
  EXPECT_EQ(ImageList_GetImageCount(list), 0);

  ASSERT_TRUE(ImageList_Destroy(list));
  EXPECT_EQ(platform::LiveImageLists(), start);
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, icon), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  int cx = 0, cy = 0;
  EXPECT_FALSE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(platform::ImageListImages(list), nullptr);

  // An icon handle is not an image list, nor the reverse.
  EXPECT_FALSE(ImageList_Destroy(reinterpret_cast<HIMAGELIST>(icon)));
  HIMAGELIST other = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
  EXPECT_EQ(ImageList_ReplaceIcon(other, -1, reinterpret_cast<HICON>(other)), -1);
  EXPECT_TRUE(ImageList_Destroy(other));
}

TEST_F(ImageListTest, CreateRejectsBadSizesAndPlannedFaults) {
  const std::size_t start = platform::LiveImageLists();
  EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR32, 1, 1), nullptr);
  EXPECT_EQ(ImageList_Create(16, -1, ILC_COLOR32, 1, 1), nullptr);
  device::Current().faults.FailNth("ImageList_Create", 1);
  EXPECT_EQ(ImageList_Create(16, 16, ILC_COLOR32, 1, 1), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(platform::LiveImageLists(), start);
}

}  // namespace
