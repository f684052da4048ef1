#include <set>
#include <string>
#include <vector>

#include "commctrl.h"
#include "control_test_support.h"
#include "gdi_objects.h"
#include "listview_state.h"

namespace {

using corvale_test::ControlTest;
using corvale_test::Log;

class ListViewTest : public ControlTest {
 protected:
  // A report list with two columns; |height| in pixels.
  HWND MakeList(DWORD style = LVS_REPORT, int height = 16 + 5 * 16) {
    HWND list = Child(WC_LISTVIEWW, style, height);
    for (int c = 0; c < 2; ++c) {
      LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, LVCFMT_LEFT, 60 + c, const_cast<LPWSTR>(u"col"), 0, 0};
      EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column)), c);
    }
    return list;
  }

  static LRESULT Insert(HWND list, int index, const char16_t* text) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text);
    return SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }

  static std::u16string Text(HWND list, int row, int subItem = 0) {
    char16_t buffer[64] = u"garbage";
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = buffer;
    item.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
  }

  static std::vector<std::u16string> Rows(HWND list) {
    std::vector<std::u16string> rows;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) rows.push_back(Text(list, i));
    return rows;
  }

  static std::set<int> Selected(HWND list) {
    std::set<int> rows;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
      if (SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED) rows.insert(i);
    return rows;
  }

  static int Mark(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0)); }

  HWND FilledList(int rows, DWORD style = LVS_REPORT, int height = 16 + 5 * 16) {
    HWND list = MakeList(style, height);
    for (int i = 0; i < rows; ++i) Insert(list, i, std::u16string(1, static_cast<char16_t>(u'a' + i)).c_str());
    return list;
  }
};

TEST_F(ListViewTest, InsertAtTopReversesOrderAndTheMarkFollowsItsRow) {
  HWND list = MakeList();
  EXPECT_EQ(Insert(list, 0, u"a"), 0);
  SendMessageW(list, LVM_SETSELECTIONMARK, 0, 0);
  EXPECT_EQ(Insert(list, 0, u"b"), 0);
  EXPECT_EQ(Insert(list, 0, u"c"), 0);
  EXPECT_EQ(Rows(list), (std::vector<std::u16string>{u"c", u"b", u"a"}));
  EXPECT_EQ(Mark(list), 2);
  // Past the end clamps to the count; a row after the mark leaves it alone.
  EXPECT_EQ(Insert(list, 99, u"z"), 3);
  EXPECT_EQ(Mark(list), 2);
  EXPECT_EQ(Insert(list, -1, u"bad"), -1);
  EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, 0), -1);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 4);
}

TEST_F(ListViewTest, ManyInsertsAtTopKeepEveryRowInReverseOrder) {
  HWND list = MakeList();
  constexpr int kRows = 10000;
  for (int i = 0; i < kRows; ++i) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.lParam = i;
    ASSERT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 0);
  }
  const platform::ListViewState* state = platform::ListViewOf(list);
  ASSERT_NE(state, nullptr);
  ASSERT_EQ(state->rows.size(), static_cast<std::size_t>(kRows));
  EXPECT_EQ(state->rows.front().param, kRows - 1);
  EXPECT_EQ(state->rows.back().param, 0);
}

TEST_F(ListViewTest, DeletingRowsMovesOrClearsTheMark) {
  HWND list = FilledList(5);
  SendMessageW(list, LVM_SETSELECTIONMARK, 0, 3);
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEITEM, 1, 0));
  EXPECT_EQ(Mark(list), 2);
  EXPECT_EQ(Rows(list), (std::vector<std::u16string>{u"a", u"c", u"d", u"e"}));
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEITEM, 2, 0));
  EXPECT_EQ(Mark(list), -1);
  EXPECT_FALSE(SendMessageW(list, LVM_DELETEITEM, 7, 0));

  SendMessageW(list, LVM_SETSELECTIONMARK, 0, 1);
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(Mark(list), -1);
  EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessageW(list, LVM_SETSELECTIONMARK, 0, 0), -1);  // returns the old mark
}

TEST_F(ListViewTest, TapsSelectOneRowOrAddToTheSelection) {
  struct Tap {
    int row;
    bool add;
  };
  struct Case {
    const char* name;
    std::vector<Tap> taps;
    std::set<int> selected;
    int mark;
  };
  const Case cases[] = {
      {"single", {{2, false}}, {2}, 2},
      {"second tap replaces", {{2, false}, {4, false}}, {4}, 4},
      {"add keeps the others", {{1, false}, {3, true}, {0, true}}, {0, 1, 3}, 0},
      {"plain tap after adds", {{1, false}, {3, true}, {2, false}}, {2}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND list = FilledList(6);
    Log() = {};
    for (const Tap& tap : c.taps) EXPECT_TRUE(platform::ListViewTapRow(list, tap.row, tap.add));
    EXPECT_EQ(Selected(list), c.selected);
    EXPECT_EQ(Mark(list), c.mark);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), static_cast<LRESULT>(c.selected.size()));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, c.mark, LVIS_FOCUSED), static_cast<LRESULT>(LVIS_FOCUSED));
    EXPECT_EQ(Log().notifications, std::vector<UINT>(c.taps.size(), NM_CLICK));
    DestroyWindow(list);
  }
}

TEST_F(ListViewTest, TapOnAMissingRowChangesNothing) {
  HWND list = FilledList(3);
  platform::ListViewTapRow(list, 1, false);
  Log() = {};
  EXPECT_FALSE(platform::ListViewTapRow(list, 3, false));
  EXPECT_FALSE(platform::ListViewTapRow(list, -1, true));
  EXPECT_FALSE(platform::ListViewTapRow(parent_, 0, false));
  EXPECT_EQ(Selected(list), std::set<int>{1});
  EXPECT_EQ(Mark(list), 1);
  EXPECT_TRUE(Log().notifications.empty());
}

TEST_F(ListViewTest, OnlyOneRowKeepsTheFocus) {
  HWND list = FilledList(4);
  platform::ListViewTapRow(list, 1, false);
  platform::ListViewTapRow(list, 3, true);
  int focused = 0;
  for (int i = 0; i < 4; ++i) focused += SendMessageW(list, LVM_GETITEMSTATE, i, LVIS_FOCUSED) ? 1 : 0;
  EXPECT_EQ(focused, 1);
  // A row inserted above keeps the focus with its row.
  Insert(list, 0, u"new");
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 4, LVIS_FOCUSED), static_cast<LRESULT>(LVIS_FOCUSED));
}

TEST_F(ListViewTest, MoveMarkClampsAndScrollsTheRowIntoView) {
  HWND list = FilledList(10);  // five rows visible
  ASSERT_EQ(platform::ListViewVisibleRows(list), 5);
  struct Step {
    int target;
    int mark;
    int top;
  };
  const Step steps[] = {{3, 3, 0}, {7, 7, 3}, {99, 9, 5}, {4, 4, 4}, {-5, 0, 0}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.target);
    EXPECT_TRUE(platform::ListViewMoveMark(list, step.target));
    EXPECT_EQ(Mark(list), step.mark);
    EXPECT_EQ(Selected(list), std::set<int>{step.mark});
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), step.top);
  }
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_FALSE(platform::ListViewMoveMark(list, 0));
}

TEST_F(ListViewTest, VisibleRowsFollowHeaderAndBorder) {
  struct Case {
    DWORD style;
    int height;
    int rows;
  };
  const Case cases[] = {
      {LVS_REPORT, 16 + 3 * 16, 3},
      {LVS_REPORT, 16 + 3 * 16 - 1, 2},
      {LVS_REPORT | LVS_NOCOLUMNHEADER, 3 * 16, 3},
      {LVS_REPORT | WS_BORDER, 2 + 16 + 3 * 16, 3},
      {LVS_REPORT | WS_BORDER, 16 + 3 * 16, 2},
      {LVS_REPORT, 10, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.style << " " << std::dec << c.height);
    HWND list = MakeList(c.style, c.height);
    EXPECT_EQ(platform::ListViewVisibleRows(list), c.rows);
  }
  EXPECT_EQ(platform::ListViewVisibleRows(parent_), 0);
}

TEST_F(ListViewTest, GetItemTextCopiesWhatFits) {
  HWND list = MakeList();
  Insert(list, 0, u"abcdef");
  LVITEMW sub{};
  sub.iSubItem = 1;
  sub.pszText = const_cast<LPWSTR>(u"second");
  ASSERT_TRUE(SendMessageW(list, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&sub)));
  struct Case {
    const char* name;
    int row;
    int subItem;
    int capacity;
    std::u16string text;
    LRESULT copied;
  };
  const Case cases[] = {
      {"fits", 0, 0, 16, u"abcdef", 6},     {"exact", 0, 0, 7, u"abcdef", 6},      {"short buffer", 0, 0, 4, u"abc", 3},
      {"one char buffer", 0, 0, 1, u"", 0}, {"subitem", 0, 1, 16, u"second", 6},   {"missing row", 1, 0, 16, u"", 0},
      {"negative row", -1, 0, 16, u"", 0},  {"missing subitem", 0, 5, 16, u"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char16_t buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    LVITEMW item{};
    item.iSubItem = c.subItem;
    item.pszText = buffer;
    item.cchTextMax = c.capacity;
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMTEXTW, c.row, reinterpret_cast<LPARAM>(&item)), c.copied);
    EXPECT_EQ(std::u16string(buffer), c.text);
    if (c.capacity < 16) {
      EXPECT_EQ(buffer[c.capacity], u'#');  // nothing past the buffer
    }
  }
}

TEST_F(ListViewTest, SetItemTextOfAMissingRowOrSubitemFailsAndChangesNothing) {
  HWND list = FilledList(3);
  const std::vector<std::u16string> before = Rows(list);
  struct Case {
    int row;
    int subItem;
  };
  for (Case c : {Case{3, 0}, Case{-1, 0}, Case{100, 0}, Case{0, 2}, Case{1, -1}}) {
    SCOPED_TRACE(testing::Message() << c.row << "/" << c.subItem);
    LVITEMW item{};
    item.iSubItem = c.subItem;
    item.pszText = const_cast<LPWSTR>(u"changed");
    EXPECT_FALSE(SendMessageW(list, LVM_SETITEMTEXTW, c.row, reinterpret_cast<LPARAM>(&item)));
  }
  EXPECT_EQ(Rows(list), before);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(Text(list, row, 1), u"");
}

TEST_F(ListViewTest, ItemFieldsAndStatesRoundTrip) {
  HWND list = MakeList();
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  item.pszText = const_cast<LPWSTR>(u"calc");
  item.iImage = 4;
  item.lParam = 77;
  item.state = LVIS_SELECTED;
  item.stateMask = LVIS_SELECTED;
  ASSERT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 0);
  Insert(list, 1, u"other");

  char16_t buffer[8];
  LVITEMW out{};
  out.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
  out.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  out.pszText = buffer;
  out.cchTextMax = 8;
  ASSERT_TRUE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&out)));
  EXPECT_EQ(std::u16string(buffer), u"calc");
  EXPECT_EQ(out.iImage, 4);
  EXPECT_EQ(out.lParam, 77);
  EXPECT_EQ(out.state, LVIS_SELECTED);
  out.iItem = 2;
  EXPECT_FALSE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&out)));

  // wParam -1 reaches every row.
  LVITEMW all{};
  all.state = LVIS_SELECTED;
  all.stateMask = LVIS_SELECTED;
  EXPECT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all)));
  EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 2);
  all.state = 0;
  EXPECT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&all)));
  EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  EXPECT_FALSE(SendMessageW(list, LVM_SETITEMSTATE, 5, reinterpret_cast<LPARAM>(&all)));
}

TEST_F(ListViewTest, ColumnsAndExtendedStyles) {
  HWND list = MakeList();
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 61);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 5, 0), 0);
  char16_t buffer[8];
  LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, 0, 0, buffer, 8, 0};
  ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
  EXPECT_EQ(std::u16string(buffer), u"col");
  EXPECT_EQ(column.cx, 60);
  EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, 0, 0), -1);

  const DWORD all = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
  EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, all), 0);
  // A mask limits the change to its bits and the old value comes back.
  EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, 0), static_cast<LRESULT>(all));
  EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), static_cast<LRESULT>(LVS_EX_FULLROWSELECT));
}

TEST_F(ListViewTest, EnsureVisibleScrollsOnlyWhenNeeded) {
  HWND list = FilledList(12);
  EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 2, FALSE));
  EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0);
  EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 11, FALSE));
  EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 7);
  EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 1, FALSE));
  EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 1);
  EXPECT_FALSE(SendMessageW(list, LVM_ENSUREVISIBLE, 12, FALSE));
}

TEST_F(ListViewTest, DestroyReleasesImageListsUnlessShared) {
  struct Case {
    DWORD style;
    bool released;
  };
  for (Case c : {Case{LVS_REPORT, true}, Case{LVS_REPORT | LVS_SHAREIMAGELISTS, false}}) {
    SCOPED_TRACE(c.released ? "owned" : "shared");
    HWND list = MakeList(c.style);
    HIMAGELIST small = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    HIMAGELIST normal = ImageList_Create(32, 32, ILC_COLOR32, 1, 1);
    std::size_t before = platform::LiveImageLists();
    EXPECT_EQ(SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small)), 0);
    EXPECT_EQ(SendMessageW(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(normal)), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0), reinterpret_cast<LRESULT>(small));
    EXPECT_EQ(SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small)),
              reinterpret_cast<LRESULT>(small));
    ASSERT_TRUE(DestroyWindow(list));
    EXPECT_EQ(platform::LiveImageLists(), c.released ? before - 2 : before);
    EXPECT_EQ(ImageList_Destroy(small) == FALSE, c.released);
    if (!c.released) ImageList_Destroy(normal);
  }
}

}  // namespace
