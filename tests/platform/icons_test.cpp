#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "gdi_objects.h"
#include "platform/resource_test_support.h"
#include "resource.h"
#include "user/dib.h"
#include "windows.h"

namespace {

using corvale_test::ResourceTest;

// The pictures tools/make_icons.py draws into the test module.
constexpr WORD kDocumentIcon = 300;    // the program's 16 x 16, 4-bit icon
constexpr WORD kThreeSizesIcon = 303;  // 16 px 8-bit red, 32 px 1-bit white, 48 px 24-bit green
constexpr WORD kNo32Icon = 304;        // 16 px 24-bit blue, 48 px 32-bit yellow at half alpha
constexpr WORD kPngIcon = 305;
constexpr WORD kIndex4Bitmap = 301;
constexpr WORD kRgb24Bitmap = 306;
constexpr WORD kTopDown8Bitmap = 307;

constexpr std::uint32_t kRed = 0xFFFF0000, kWhite = 0xFFFFFFFF, kGreen = 0xFF00C800, kBlue = 0xFF0000FF;
constexpr std::uint32_t kHalfYellow = 0x80FFFF00;

std::uint32_t Pixel(const platform::Image& image, int x, int y) {
  return image.argb[static_cast<std::size_t>(y) * image.width + x];
}

// --- Icons ---------------------------------------------------------------------------------

TEST_F(ResourceTest, ProgramIconsDecodeWithTheirTransparency) {
  const platform::Image* frame = platform::IconImage(LoadIconW(program, MAKEINTRESOURCEW(IDR_MAINFRAME)));
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(frame->width, 32);
  ASSERT_EQ(frame->height, 32);
  EXPECT_EQ(Pixel(*frame, 0, 0), 0u) << "rounded corner";
  EXPECT_EQ(Pixel(*frame, 16, 1) >> 24, 0xFFu) << "top edge";
  bool partial = false;
  for (std::uint32_t p : frame->argb) partial |= (p >> 24) > 0 && (p >> 24) < 0xFF;
  EXPECT_TRUE(partial) << "smoothed edges keep their alpha";

  const platform::Image* entry = platform::IconImage(LoadIconW(program, MAKEINTRESOURCEW(IDI_DEFAULT_ENTRY)));
  ASSERT_NE(entry, nullptr);
  ASSERT_EQ(entry->width, 16);
  ASSERT_EQ(entry->height, 16);
  EXPECT_EQ(Pixel(*entry, 0, 0), 0u) << "masked";
  EXPECT_EQ(Pixel(*entry, 2, 5), 0xFF808080u) << "outline";
  EXPECT_EQ(Pixel(*entry, 5, 5), 0xFF000080u) << "a line of text";
  EXPECT_EQ(Pixel(*entry, 5, 7), 0xFFFFFFFFu) << "paper";
  EXPECT_EQ(Pixel(*entry, 13, 1), 0u) << "cut away by the fold";
}

TEST_F(ResourceTest, LoadedIconsAreSharedAndOutliveDestroyIcon) {
  HICON first = LoadIconW(program, MAKEINTRESOURCEW(IDR_MAINFRAME));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(LoadIconW(program, MAKEINTRESOURCEW(IDR_MAINFRAME)), first);
  std::size_t live = platform::Icons().Live();
  EXPECT_TRUE(DestroyIcon(first));
  EXPECT_TRUE(DestroyIcon(first));
  EXPECT_EQ(platform::Icons().Live(), live);
  EXPECT_NE(platform::IconImage(first), nullptr);
  EXPECT_EQ(LoadIconW(program, MAKEINTRESOURCEW(IDR_MAINFRAME)), first);

  // The same image registered again is another module with icons of its own.
  HINSTANCE again = platform::RegisterModule(u"\\Again.exe", CorvaleResourceImage());
  HICON other = LoadIconW(again, MAKEINTRESOURCEW(IDR_MAINFRAME));
  ASSERT_NE(other, nullptr);
  EXPECT_NE(other, first);
  EXPECT_NE(LoadIconW(program, MAKEINTRESOURCEW(IDI_DEFAULT_ENTRY)), first);
}

TEST_F(ResourceTest, LoadIconPrefersThirtyTwoPixelsElseTheLargest) {
  struct Case {
    WORD id;
    int size;
    std::uint32_t colour;
  };
  const Case cases[] = {{kThreeSizesIcon, 32, kWhite}, {kNo32Icon, 48, kHalfYellow}, {kDocumentIcon, 16, 0xFF808080}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const platform::Image* image = platform::IconImage(LoadIconW(tests, MAKEINTRESOURCEW(c.id)));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, c.size);
    EXPECT_EQ(image->height, c.size);
    EXPECT_EQ(Pixel(*image, c.size / 2, c.size - 2), c.colour);
  }
}

TEST_F(ResourceTest, IconsOfAChosenSizeAreScaledCopies) {
  struct Case {
    WORD id;
    int size;
    std::uint32_t colour;  // of the chosen image
    bool cornerMasked;     // the three-size images mask their top-left pixel
  };
  const Case cases[] = {
      {kThreeSizesIcon, 16, kRed, true},    {kThreeSizesIcon, 48, kGreen, true},
      {kThreeSizesIcon, 24, kWhite, true},   // the next larger, scaled down
      {kThreeSizesIcon, 64, kGreen, false},  // the largest, scaled up: the mask pixel spreads to 2x2 only
      {kNo32Icon, 32, kHalfYellow, false},  {kNo32Icon, 16, kBlue, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " at " << c.size);
    std::size_t live = platform::Icons().Live();
    HICON icon = platform::LoadIconOfSize(tests, c.id, c.size);
    const platform::Image* image = platform::IconImage(icon);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, c.size);
    EXPECT_EQ(image->height, c.size);
    EXPECT_EQ(Pixel(*image, c.size - 1, c.size - 1), c.colour);
    if (c.cornerMasked) {
      EXPECT_EQ(Pixel(*image, 0, 0), 0u);
    }
    EXPECT_TRUE(DestroyIcon(icon)) << "not shared";
    EXPECT_EQ(platform::Icons().Live(), live);
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ICON_HANDLE));
  }
  EXPECT_EQ(platform::LoadIconOfSize(tests, kThreeSizesIcon, 0), nullptr);
}

TEST_F(ResourceTest, IconsThatCannotBeLoadedSayWhy) {
  struct Case {
    const char* what;
    HINSTANCE module;
    LPCWSTR name;
    DWORD error;
  };
  const Case cases[] = {
      {"unknown id", program, MAKEINTRESOURCEW(999), ERROR_RESOURCE_NAME_NOT_FOUND},
      {"no system icons", nullptr, MAKEINTRESOURCEW(32512), ERROR_RESOURCE_NAME_NOT_FOUND},
      {"png image", tests, MAKEINTRESOURCEW(kPngIcon), ERROR_NOT_SUPPORTED},
      {"a bitmap's id", tests, MAKEINTRESOURCEW(kIndex4Bitmap), ERROR_RESOURCE_NAME_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetLastError(0);
    EXPECT_EQ(LoadIconW(c.module, c.name), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(ResourceTest, DestroyIconRefusesWhatIsNotALiveIcon) {
  HBITMAP bitmap = LoadBitmapW(tests, MAKEINTRESOURCEW(kIndex4Bitmap));
  ASSERT_NE(bitmap, nullptr);
  for (HICON bad : {HICON{}, reinterpret_cast<HICON>(bitmap), reinterpret_cast<HICON>(std::uintptr_t{0x3000001})}) {
    SetLastError(0);
    EXPECT_FALSE(DestroyIcon(bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ICON_HANDLE));
  }
  EXPECT_NE(platform::BitmapImage(bitmap), nullptr);
}

// --- Bitmaps ---------------------------------------------------------------------------------

// The standard 16 colours the 4-bit test bitmap indexes.
constexpr std::uint32_t kVga16[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

TEST_F(ResourceTest, BitmapsDecodeEveryPixel) {
  struct Case {
    WORD id;
    int width, height;
    std::function<std::uint32_t(int, int)> rgb;
  };
  const Case cases[] = {
      {kIndex4Bitmap, 8, 6, [](int x, int y) { return kVga16[(x + 2 * y) % 16]; }},
      {kRgb24Bitmap, 5, 3, [](int x, int y) { return std::uint32_t(40 * x) << 16 | std::uint32_t(100 * y) << 8 | 7; }},
      {kTopDown8Bitmap, 3, 2,
       [](int x, int y) {
         std::uint32_t i = x + 3 * y;
         return (10 * i) << 16 | (20 * i) << 8 | 30 * i;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const platform::Image* image = platform::BitmapImage(LoadBitmapW(tests, MAKEINTRESOURCEW(c.id)));
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, c.width);
    ASSERT_EQ(image->height, c.height);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) EXPECT_EQ(Pixel(*image, x, y), 0xFF000000u | c.rgb(x, y)) << x << "," << y;
  }
}

TEST_F(ResourceTest, EachBitmapLoadIsANewObjectThatDeleteObjectReleases) {
  std::size_t live = platform::Bitmaps().Live();
  HBITMAP a = LoadBitmapW(tests, MAKEINTRESOURCEW(kIndex4Bitmap));
  HBITMAP b = LoadBitmapW(tests, MAKEINTRESOURCEW(kIndex4Bitmap));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(platform::Bitmaps().Live(), live + 2);
  EXPECT_TRUE(DeleteObject(a));
  EXPECT_FALSE(DeleteObject(a));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(platform::Bitmaps().Live(), live + 1);

  // Icons are not GDI objects to delete.
  HICON icon = LoadIconW(tests, MAKEINTRESOURCEW(kDocumentIcon));
  EXPECT_FALSE(DeleteObject(icon));
  EXPECT_NE(platform::IconImage(icon), nullptr);

  SetLastError(0);
  EXPECT_EQ(LoadBitmapW(program, MAKEINTRESOURCEW(kIndex4Bitmap)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  EXPECT_EQ(LoadBitmapW(tests, MAKEINTRESOURCEW(999)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

// --- Decoding --------------------------------------------------------------------------------

TEST(DibTest, MalformedHeadersAreRefused) {
  // A valid 2 x 2, 24-bit bitmap, then one fault at a time.
  std::vector<unsigned char> good(40 + 16, 0);
  auto put = [](std::vector<unsigned char>& v, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) v[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  put(good, 0, 40, 4);
  put(good, 4, 2, 4);
  put(good, 8, 2, 4);
  put(good, 12, 1, 2);
  put(good, 14, 24, 2);
  auto decode = [](const std::vector<unsigned char>& v, bool icon) {
    platform::Image image;
    std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(v.data()), v.size());
    return icon ? platform::DecodeIconDib(bytes, &image) : platform::DecodeBitmapDib(bytes, &image);
  };
  ASSERT_TRUE(decode(good, false));

  struct Case {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    int size;
  };
  const Case cases[] = {
      {"header size past the data", 0, 4000, 4},
      {"header too small", 0, 12, 4},
      {"two planes", 12, 2, 2},
      {"three bits", 14, 3, 2},
      {"run-length compressed", 16, 1, 4},
      {"zero width", 4, 0, 4},
      {"negative width", 4, 0xFFFFFFFF, 4},
      {"zero height", 8, 0, 4},
      {"rows past the data", 8, 3, 4},
      {"width past the data", 4, 0x7FFF, 4},
      {"huge height", 8, 0x7FFFFFFF, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<unsigned char> bad = good;
    put(bad, c.at, c.value, c.size);
    EXPECT_FALSE(decode(bad, false));
  }
  std::vector<unsigned char> shortened(good.begin(), good.end() - 1);
  EXPECT_FALSE(decode(shortened, false));

  // As an icon the same bytes lack room for the mask; a 4-bit header may not
  // claim more than 16 colours.
  std::vector<unsigned char> icon = good;
  put(icon, 8, 4, 4);
  EXPECT_FALSE(decode(icon, true)) << "two rows of colour, no room for the mask";
  std::vector<unsigned char> paletted = good;
  put(paletted, 14, 4, 2);
  put(paletted, 32, 17, 4);
  EXPECT_FALSE(decode(paletted, false));
}

TEST(ScaleImageTest, NearestNeighbourBothWays) {
  platform::Image quad{2, 2, {1, 2, 3, 4}};
  platform::Image up = platform::ScaleImage(quad, 4, 4);
  EXPECT_EQ(up.argb, (std::vector<std::uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
  platform::Image down = platform::ScaleImage(up, 2, 2);
  EXPECT_EQ(down.argb, quad.argb);
  platform::Image wide = platform::ScaleImage(quad, 3, 1);
  EXPECT_EQ(wide.argb, (std::vector<std::uint32_t>{3, 4, 4}));
  EXPECT_TRUE(platform::ScaleImage(quad, 0, 5).argb.empty());
  EXPECT_EQ(platform::ScaleImage(platform::Image{}, 2, 1).argb, (std::vector<std::uint32_t>{0, 0}));
}

}  // namespace
