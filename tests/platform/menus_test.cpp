#include <gtest/gtest.h>

#include <vector>

#include "menu_objects.h"
#include "platform/resource_test_support.h"
#include "resource.h"
#include "windows.h"

namespace {

using corvale_test::ResourceTest;

constexpr WORD kTestMenu = 302;

const platform::MenuObject* Load(HINSTANCE module, WORD id) {
  return platform::Menus().Find(LoadMenuW(module, MAKEINTRESOURCEW(id)));
}

TEST_F(ResourceTest, MainMenuIsAPopupOfActionsThenExit) {
  const platform::MenuObject* menu = Load(program, IDR_MAIN_MENU);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->items.size(), 2u);

  const platform::MenuItem& actions = menu->items[0];
  EXPECT_EQ(actions.text, u"相关操作");
  EXPECT_EQ(actions.id, 0u);
  ASSERT_TRUE(actions.IsPopup());
  struct Expected {
    std::u16string text;
    UINT id;
    bool separator;
  };
  const Expected expected[] = {
      {u"查看详细信息", ID_MENU_VIEW_DETAILS, false},
      {u"删除该启动项", ID_MENU_DELETE_ENTRY, false},
      {u"", 0, true},
      {u"更多软件下载", ID_MENU_MORE_SOFTWARE, false},
  };
  ASSERT_EQ(actions.popup.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    const platform::MenuItem& item = actions.popup[i];
    EXPECT_EQ(item.text, expected[i].text);
    EXPECT_EQ(item.id, expected[i].id);
    EXPECT_EQ(item.separator, expected[i].separator);
    EXPECT_FALSE(item.grayed);
    EXPECT_FALSE(item.IsPopup());
  }

  const platform::MenuItem& exit = menu->items[1];
  EXPECT_EQ(exit.text, u"退出");
  EXPECT_EQ(exit.id, static_cast<UINT>(ID_MENU_EXIT));
  EXPECT_FALSE(exit.IsPopup());
  EXPECT_FALSE(exit.separator);
}

TEST_F(ResourceTest, NestedPopupsAndGrayedItemsKeepTheirPlace) {
  const platform::MenuObject* menu = Load(tests, kTestMenu);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->items.size(), 2u);
  const platform::MenuItem& file = menu->items[0];
  EXPECT_EQ(file.text, u"&File");
  ASSERT_EQ(file.popup.size(), 4u);
  EXPECT_EQ(file.popup[0].text, u"&Open");
  EXPECT_EQ(file.popup[0].id, 401u);
  const platform::MenuItem& recent = file.popup[1];
  EXPECT_EQ(recent.text, u"Recent");
  ASSERT_EQ(recent.popup.size(), 2u);
  EXPECT_EQ(recent.popup[0].id, 411u);
  EXPECT_FALSE(recent.popup[0].grayed);
  EXPECT_EQ(recent.popup[1].id, 412u);
  EXPECT_TRUE(recent.popup[1].grayed);
  EXPECT_TRUE(file.popup[2].separator);
  EXPECT_EQ(file.popup[3].text, u"E&xit");
  EXPECT_EQ(menu->items[1].text, u"Help");
  EXPECT_EQ(menu->items[1].id, 403u);
}

TEST_F(ResourceTest, EachLoadIsAMenuOfItsOwnUntilDestroyed) {
  std::size_t live = platform::Menus().Live();
  HMENU a = LoadMenuW(program, MAKEINTRESOURCEW(IDR_MAIN_MENU));
  HMENU b = LoadMenuW(program, MAKEINTRESOURCEW(IDR_MAIN_MENU));
  ASSERT_NE(a, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(platform::Menus().Live(), live + 2);
  EXPECT_TRUE(DestroyMenu(a));
  EXPECT_EQ(platform::Menus().Live(), live + 1);
  for (HMENU stale : {a, HMENU{}, reinterpret_cast<HMENU>(program)}) {
    SetLastError(0);
    EXPECT_FALSE(DestroyMenu(stale));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  }
  EXPECT_NE(platform::Menus().Find(b), nullptr);

  SetLastError(0);
  EXPECT_EQ(LoadMenuW(program, MAKEINTRESOURCEW(kTestMenu)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

// Builds menu resource bytes from words and text.
struct MenuBytes {
  std::vector<WORD> words{0, 0};
  MenuBytes& Item(WORD flags, WORD id, std::u16string_view text) {
    words.push_back(flags);
    words.push_back(id);
    return Text(text);
  }
  MenuBytes& Popup(WORD flags, std::u16string_view text) {
    words.push_back(flags | 0x10);
    return Text(text);
  }
  MenuBytes& Text(std::u16string_view text) {
    words.insert(words.end(), text.begin(), text.end());
    words.push_back(0);
    return *this;
  }
  bool Parse(platform::MenuObject* menu, std::size_t cut = 0) const {
    return platform::ParseMenuResource(words.data(), words.size() * 2 - cut, menu);
  }
};

TEST(MenuResourceTest, MalformedMenusAreRefused) {
  platform::MenuObject menu;
  MenuBytes good;
  good.Popup(0, u"P").Item(0, 1, u"a").Item(0x80, 2, u"b").Item(0x80, 3, u"c");
  ASSERT_TRUE(good.Parse(&menu));
  ASSERT_EQ(menu.items.size(), 2u);

  for (std::size_t cut = 1; cut < good.words.size() * 2; ++cut) {
    EXPECT_FALSE(good.Parse(&menu, cut)) << "cut by " << cut;
    EXPECT_TRUE(menu.items.empty());
  }

  MenuBytes extended = good;
  extended.words[0] = 1;
  EXPECT_FALSE(extended.Parse(&menu));
  MenuBytes longHeader = good;
  longHeader.words[1] = 4;
  EXPECT_FALSE(longHeader.Parse(&menu));
  MenuBytes noEnd;
  noEnd.Item(0, 1, u"a").Item(0, 2, u"b");
  EXPECT_FALSE(noEnd.Parse(&menu));
  MenuBytes deep;
  for (int i = 0; i < 40; ++i) deep.Popup(0x80, u"x");
  deep.Item(0x80, 1, u"leaf");
  EXPECT_FALSE(deep.Parse(&menu));
  EXPECT_FALSE(platform::ParseMenuResource(nullptr, 8, &menu));

  // An explicit separator flag marks a separator even with text.
  MenuBytes flagged;
  flagged.Item(0x880, 0, u"-");
  ASSERT_TRUE(flagged.Parse(&menu));
  EXPECT_TRUE(menu.items[0].separator);
}

}  // namespace
