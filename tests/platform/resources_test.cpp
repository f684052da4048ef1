#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "gdi_objects.h"
#include "platform/resource_test_support.h"
#include "resource.h"
#include "resource_objects.h"
#include "windows.h"

namespace {

using corvale_test::ByteReader;
using corvale_test::ResourceTest;

// --- Modules -------------------------------------------------------------------------

TEST_F(ResourceTest, ModuleHandlesAreFoundByFileName) {
  EXPECT_EQ(GetModuleHandleW(nullptr), program);
  struct Case {
    const char16_t* name;
    HMODULE expected;
  };
  const Case cases[] = {
      {u"Corvale.exe", program},
      {u"CORVALE.EXE", program},
      {u"\\windows\\corvale.exe", program},
      {u"/Windows/Corvale.exe", program},
      {u"resource_tests", tests},  // no extension: a library
      {u"Corvale", nullptr},
      {u"\\Other\\Corvale.exe", nullptr},
      {u"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)));
    SetLastError(0);
    EXPECT_EQ(GetModuleHandleW(c.name), c.expected);
    if (!c.expected) {
      EXPECT_EQ(GetLastError(), 126u);
    }
  }
}

TEST_F(ResourceTest, ModuleFileNameIsCopiedOrTruncated) {
  WCHAR buffer[64];
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 64), 20u);
  EXPECT_EQ(std::u16string(buffer), u"\\Windows\\Corvale.exe");

  WCHAR small[6] = {u'x', u'x', u'x', u'x', u'x', u'x'};
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(program, small, 5), 5u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::u16string(small), u"\\Win");
  EXPECT_EQ(small[5], u'x');

  EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(reinterpret_cast<std::uintptr_t>(tests) + 1), buffer, 64), 0u);
  EXPECT_EQ(GetLastError(), 126u);
}

TEST_F(ResourceTest, BootForgetsModulesAndTheirHandles) {
  HRSRC dialog = FindResourceW(program, MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_DIALOG);
  ASSERT_NE(dialog, nullptr);
  device::Boot(device::Config{dev.Root()});
  EXPECT_EQ(GetModuleHandleW(nullptr), nullptr);
  EXPECT_EQ(LoadResource(nullptr, dialog), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(SizeofResource(nullptr, dialog), 0u);
  EXPECT_EQ(FindResourceW(program, MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_DIALOG), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
}

// --- Locating resources ------------------------------------------------------------------

TEST_F(ResourceTest, LookupsReportWhatWasMissing) {
  struct Case {
    const char* what;
    HMODULE module;
    LPCWSTR name;
    LPCWSTR type;
    DWORD error;
  };
  const Case cases[] = {
      {"unknown dialog", program, MAKEINTRESOURCEW(999), RT_DIALOG, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"no such type", program, MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_RCDATA, ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"unknown name", program, u"NOPE", u"CEUX", ERROR_RESOURCE_NAME_NOT_FOUND},
      {"name given as ordinal", program, MAKEINTRESOURCEW(1), u"CEUX", ERROR_RESOURCE_NAME_NOT_FOUND},
      {"ordinal given as name", program, u"#102x", RT_DIALOG, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"menu of the other module", tests, MAKEINTRESOURCEW(IDR_MAIN_MENU), RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"no such module", reinterpret_cast<HMODULE>(0x1234), MAKEINTRESOURCEW(1), RT_VERSION,
       ERROR_RESOURCE_DATA_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetLastError(0);
    EXPECT_EQ(FindResourceW(c.module, c.name, c.type), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(ResourceTest, NamesMatchWithoutRegardToCaseAndOrdinalsMayBeWritten) {
  std::span<const std::byte> upper = Bytes(program, u"HI_RES_AWARE", u"CEUX");
  ASSERT_EQ(upper.size(), 2u);
  EXPECT_EQ(Bytes(program, u"hi_Res_aware", u"ceux").data(), upper.data());
  EXPECT_EQ(Bytes(tests, u"sample_data", u"Custom_Type").size(), 4u);
  EXPECT_EQ(Bytes(program, u"#102", RT_DIALOG).data(),
            Bytes(program, MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_DIALOG).data());
  EXPECT_EQ(Bytes(program, MAKEINTRESOURCEW(1), u"#16").size(), Bytes(program, MAKEINTRESOURCEW(1), RT_VERSION).size());
}

TEST_F(ResourceTest, OneHandlePerResourceAndItBelongsToItsModule) {
  HRSRC dialog = FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_DIALOG);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(FindResourceW(program, MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_DIALOG), dialog);
  EXPECT_NE(LoadResource(program, dialog), nullptr);
  EXPECT_EQ(LoadResource(nullptr, dialog), LoadResource(program, dialog));

  EXPECT_EQ(LoadResource(tests, dialog), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(SizeofResource(tests, dialog), 0u);
  for (HRSRC forged : {reinterpret_cast<HRSRC>(program), reinterpret_cast<HRSRC>(std::uintptr_t{0x1234}), HRSRC{}}) {
    SetLastError(0);
    EXPECT_EQ(LoadResource(program, forged), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }
}

TEST_F(ResourceTest, EveryResourceStartsOnAFourByteBoundary) {
  ASSERT_EQ(reinterpret_cast<std::uintptr_t>(CorvaleResourceImage().data()) % 4, 0u);
  const std::pair<LPCWSTR, LPCWSTR> resources[] = {
      {MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_DIALOG},
      {MAKEINTRESOURCEW(IDD_CORVALE_DIALOG_WIDE), RT_DIALOG},
      {MAKEINTRESOURCEW(IDR_MAIN_MENU), RT_MENU},
      {MAKEINTRESOURCEW(IDR_MAINFRAME), RT_GROUP_ICON},
      {MAKEINTRESOURCEW(1), RT_VERSION},
      {u"HI_RES_AWARE", u"CEUX"},
  };
  for (auto [name, type] : resources) {
    std::span<const std::byte> bytes = Bytes(program, name, type);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes.data()) % 4, 0u);
  }
}

// --- The program's resources ----------------------------------------------------------------

struct ExpectedItem {
  DWORD style;
  short x, y, cx, cy;
  WORD id;
  std::u16string className;  // empty: the ordinal below
  WORD classOrdinal;
  std::u16string title;
};

struct ExpectedDialog {
  WORD id;
  DWORD style;
  short cx, cy;
  std::u16string caption;
  std::vector<ExpectedItem> items;
};

TEST_F(ResourceTest, DialogTemplatesHoldTheProgramsLayout) {
  const ExpectedDialog dialogs[] = {
      {IDD_CORVALE_DIALOG,
       0x90C00048,
       162,
       177,
       u"Tessaly",
       {{0x50810801, 0, 0, 161, 165, IDC_STARTUP_LIST, u"SysListView32", 0, u""},
        {0x50020000, 11, 168, 150, 8, 0xFFFF, u"", 0x82, u"www.velmora.example Velmora"}}},
      {IDD_CORVALE_DIALOG_WIDE,
       0x90C00040,
       210,
       129,
       u"Corvale",
       {{0x50020000, 57, 49, 112, 23, IDC_WIDE_PLACEHOLDER, u"", 0x82, u"TODO: 在此放置对话框控件。"}}},
  };
  for (const ExpectedDialog& expected : dialogs) {
    SCOPED_TRACE(expected.id);
    std::span<const std::byte> bytes = Bytes(program, MAKEINTRESOURCEW(expected.id), RT_DIALOG);
    ASSERT_FALSE(bytes.empty());
    ByteReader r(bytes);
    EXPECT_EQ(r.Next<DWORD>(), expected.style);
    EXPECT_EQ(r.Next<DWORD>(), 0x80040000u);
    ASSERT_EQ(r.Next<WORD>(), expected.items.size());
    EXPECT_EQ(r.Next<short>(), 0);
    EXPECT_EQ(r.Next<short>(), 0);
    EXPECT_EQ(r.Next<short>(), expected.cx);
    EXPECT_EQ(r.Next<short>(), expected.cy);
    EXPECT_EQ(r.Next<WORD>(), 0) << "menu";
    EXPECT_EQ(r.Next<WORD>(), 0) << "class";
    EXPECT_EQ(r.Text(), expected.caption);
    EXPECT_EQ(r.Next<WORD>(), 9) << "point size";
    EXPECT_EQ(r.Text(), u"MS Shell Dlg");
    for (const ExpectedItem& item : expected.items) {
      r.AlignTo4();
      EXPECT_EQ(r.Next<DWORD>(), item.style);
      EXPECT_EQ(r.Next<DWORD>(), 0u);
      EXPECT_EQ(r.Next<short>(), item.x);
      EXPECT_EQ(r.Next<short>(), item.y);
      EXPECT_EQ(r.Next<short>(), item.cx);
      EXPECT_EQ(r.Next<short>(), item.cy);
      EXPECT_EQ(r.Next<WORD>(), item.id);
      if (item.className.empty()) {
        EXPECT_EQ(r.Next<WORD>(), 0xFFFF);
        EXPECT_EQ(r.Next<WORD>(), item.classOrdinal);
      } else {
        EXPECT_EQ(r.Text(), item.className);
      }
      EXPECT_EQ(r.Text(), item.title);
      EXPECT_EQ(r.Next<WORD>(), 0) << "creation data";
    }
    EXPECT_LE(r.Pos(), bytes.size());
    EXPECT_LT(bytes.size() - r.Pos(), 4u);
  }
}

// Finds |text| as UTF-16 within |bytes|.
bool ContainsText(std::span<const std::byte> bytes, std::u16string_view text) {
  std::string_view haystack(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::string_view needle(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  return haystack.find(needle) != std::string_view::npos;
}

TEST_F(ResourceTest, VersionBlockNamesTheProductAndItsLanguage) {
  std::span<const std::byte> version = Bytes(program, MAKEINTRESOURCEW(1), RT_VERSION);
  ASSERT_GT(version.size(), 92u);
  ByteReader r(version);
  EXPECT_EQ(r.Next<WORD>(), version.size());
  EXPECT_EQ(r.Next<WORD>(), 52) << "fixed info size";
  r.Next<WORD>();
  EXPECT_EQ(r.Text(), u"VS_VERSION_INFO");
  r.AlignTo4();
  EXPECT_EQ(r.Next<DWORD>(), 0xFEEF04BDu);
  r.Next<DWORD>();
  EXPECT_EQ(r.Next<DWORD>(), 0x00010000u) << "file version, high";
  EXPECT_EQ(r.Next<DWORD>(), 0x00000001u) << "file version, low";
  EXPECT_EQ(r.Next<DWORD>(), 0x00010000u) << "product version, high";
  EXPECT_EQ(r.Next<DWORD>(), 0x00000001u) << "product version, low";
  EXPECT_EQ(r.Next<DWORD>(), 0x3Fu);
  EXPECT_EQ(r.Next<DWORD>(), 0u);
  EXPECT_EQ(r.Next<DWORD>(), 0x4u) << "VOS__WINDOWS32";
  EXPECT_EQ(r.Next<DWORD>(), 0x1u) << "VFT_APP";

  for (std::u16string_view text :
       {u"080403a8", u"1.0.0.1", u"Corvale.exe", u"Tessaly", u"Velmora", u"www.velmora.example", u"Translation"})
    EXPECT_TRUE(ContainsText(version, text)) << std::string(text.begin(), text.end());
  // The translation pair closes the block: Chinese (PRC), code page 936.
  const unsigned char pair[] = {0x04, 0x08, 0xA8, 0x03};
  EXPECT_EQ(std::memcmp(version.data() + version.size() - 4, pair, 4), 0);
}

TEST_F(ResourceTest, HighResolutionMarkIsTheWordOne) {
  std::span<const std::byte> mark = Bytes(program, u"HI_RES_AWARE", u"CEUX");
  ASSERT_EQ(mark.size(), 2u);
  EXPECT_EQ(ByteReader(mark).Next<WORD>(), 1);
}

// --- Strings ---------------------------------------------------------------------------------

TEST_F(ResourceTest, StringsLoadByIdAndMissingOnesFail) {
  struct Case {
    HINSTANCE module;
    UINT id;
    std::u16string text;  // empty: not found
  };
  const Case cases[] = {
      {program, 61440, u"An unsupported operation was attempted."},
      {nullptr, 61444, u"Out of memory."},
      {program, 61445, u"Invalid argument."},
      {program, 61446, u"An unknown error has occurred."},
      {program, 61447, u""},  // same block, no string
      {program, 61441, u""},
      {program, 57344, u""},  // the application title stays out
      {program, 0x10000 + 61440, u""},
      {tests, 310, u"First"},
      {tests, 311, u"中文"},
      {tests, 312, u""},
      {tests, 313, u"Last of the block, past a gap"},
      {tests, 61440, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    WCHAR buffer[64];
    SetLastError(0);
    int length = LoadStringW(c.module, c.id, buffer, 64);
    EXPECT_EQ(length, static_cast<int>(c.text.size()));
    if (c.text.empty()) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    } else {
      EXPECT_EQ(std::u16string(buffer), c.text);
    }
  }
}

TEST_F(ResourceTest, StringsAreCutToTheBufferOrHandedOutInPlace) {
  WCHAR buffer[8] = {};
  EXPECT_EQ(LoadStringW(program, 61444, buffer, 5), 4);
  EXPECT_EQ(std::u16string(buffer), u"Out ");
  EXPECT_EQ(LoadStringW(program, 61444, buffer, 1), 0);
  EXPECT_EQ(buffer[0], 0);

  LPCWSTR inPlace = nullptr;
  EXPECT_EQ(LoadStringW(program, 61444, reinterpret_cast<LPWSTR>(&inPlace), 0), 14);
  ASSERT_NE(inPlace, nullptr);
  EXPECT_EQ(std::u16string_view(inPlace, 14), u"Out of memory.");

  EXPECT_EQ(LoadStringW(program, 61444, nullptr, 5), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// --- Damaged images --------------------------------------------------------------------------

// Every lookup a program makes at start, against |module|; fails the test on
// anything found outside |image|.
void ExpectNothingOutside(HINSTANCE module, std::span<const std::byte> image) {
  const std::pair<LPCWSTR, LPCWSTR> lookups[] = {
      {MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_DIALOG},
      {MAKEINTRESOURCEW(IDR_MAIN_MENU), RT_MENU},
      {MAKEINTRESOURCEW(1), RT_VERSION},
      {u"HI_RES_AWARE", u"CEUX"},
      {MAKEINTRESOURCEW(3841), RT_STRING},
      {MAKEINTRESOURCEW(1), RT_ICON},
  };
  for (auto [name, type] : lookups) {
    platform::ResourceView view;
    if (!platform::FindResourceBytes(module, name, type, &view)) continue;
    EXPECT_GE(view.data, image.data());
    EXPECT_LE(view.data + view.size, image.data() + image.size());
  }
  WCHAR text[64];
  LoadStringW(module, 61440, text, 64);
  if (HICON icon = LoadIconW(module, MAKEINTRESOURCEW(IDR_MAINFRAME))) DestroyIcon(icon);
  if (HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MAIN_MENU))) DestroyMenu(menu);
}

TEST_F(ResourceTest, DamagedImagesRegisterButHoldNothing) {
  std::span<const std::byte> good = CorvaleResourceImage();
  auto patched = [&](std::size_t at, std::vector<unsigned char> bytes) {
    std::vector<std::byte> image(good.begin(), good.end());
    for (std::size_t i = 0; i < bytes.size(); ++i) image[at + i] = std::byte{bytes[i]};
    return image;
  };
  std::vector<std::byte> garbage(good.size());
  std::mt19937 random(7);
  for (std::byte& b : garbage) b = std::byte(random() & 0xFF);
  // The first real entry starts at 32: data size, then header size.
  const struct {
    const char* what;
    std::vector<std::byte> image;
  } cases[] = {
      {"garbage", garbage},
      {"signature only, cut", std::vector<std::byte>(good.begin(), good.begin() + 20)},
      {"cut inside the first header", std::vector<std::byte>(good.begin(), good.begin() + 40)},
      {"cut inside the last data", std::vector<std::byte>(good.begin(), good.end() - 1)},
      {"cut to half", std::vector<std::byte>(good.begin(), good.begin() + good.size() / 2 + 1)},
      {"wrong signature", patched(4, {0x21})},
      {"data size past the end", patched(32, {0xFF, 0xFF, 0xFF, 0x7F})},
      {"header size past the end", patched(36, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"header size unaligned", patched(36, {0x22})},
      {"header size too small", patched(36, {0x08})},
      {"type name without end", patched(40, std::vector<unsigned char>(24, 0x41))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // An exact-size copy, so a sanitizer build sees any read past its end.
    auto image = std::make_unique<std::byte[]>(c.image.size());
    std::memcpy(image.get(), c.image.data(), c.image.size());
    std::span<const std::byte> span(image.get(), c.image.size());
    HINSTANCE module = platform::RegisterModule(u"\\Damaged.dll", span);
    ASSERT_NE(module, nullptr);
    SetLastError(0);
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
    EXPECT_EQ(LoadIconW(module, MAKEINTRESOURCEW(IDR_MAINFRAME)), nullptr);
    WCHAR text[8];
    EXPECT_EQ(LoadStringW(module, 61440, text, 8), 0);
  }
}

TEST_F(ResourceTest, EveryCutOfTheImageStaysWithinIt) {
  std::span<const std::byte> good = CorvaleResourceImage();
  for (std::size_t length = 0; length < good.size(); ++length) {
    platform::ResetResourceTables();
    auto image = std::make_unique<std::byte[]>(length);
    std::memcpy(image.get(), good.data(), length);
    std::span<const std::byte> cut(image.get(), length);
    HINSTANCE module = platform::RegisterModule(u"\\Cut.dll", cut);
    ExpectNothingOutside(module, cut);
    if (HasFailure()) {
      ADD_FAILURE() << "cut at " << length;
      return;
    }
  }
}

}  // namespace
