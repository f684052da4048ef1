// Laying live dialogs out from templates: how the template is read, what is
// moved and refreshed, what each failing step leaves done, and that a
// relayout allocates nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "TemplateLayout.h"
#include "embedded_resources.h"
#include "program/allocation_counter.h"
#include "program/layout_test_support.h"
#include "resource.h"

namespace {

using corvale_test::Control;
using corvale_test::DialogDef;
using corvale_test::Du;
using corvale_test::ItemDef;
using corvale_test::LayoutTest;
using corvale_test::Ord;
using corvale_test::Str;
using corvale_test::TemplateBytes;
using Trace = std::vector<std::string>;

constexpr WORD kNoId = 0xFFFF;
constexpr WORD kLayoutId = 800;
constexpr char16_t kEarlyClass[] = u"LayoutEarly";

const std::string kFind = "FindResourceW", kLoad = "LoadResource", kSize = "SizeofResource",
                  kBegin = "BeginDeferWindowPos", kItem = "GetDlgItem", kMap = "MapDialogRect", kAdd = "DeferWindowPos",
                  kText = "SetDlgItemTextW", kEnd = "EndDeferWindowPos", kGetImage = "SendDlgItemMessageW STM_GETIMAGE",
                  kSetImage = "SendDlgItemMessageW STM_SETIMAGE";

Trace Join(std::initializer_list<Trace> parts) {
  Trace all;
  for (const Trace& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
const Trace kOpen{kFind, kLoad, kSize, kBegin};
const Trace kMove{kItem, kMap, kAdd};
const Trace kClose{kEnd};

// Live controls all start here, so whatever stays there was not moved.
const RECT kLivePlace = Du(0, 0, 20, 4);

ItemDef Item(WORD id, WORD cls, short x, short y, std::u16string title = u"", DWORD style = 0) {
  ItemDef item;
  item.style = WS_CHILD | WS_VISIBLE | style;
  item.id = id;
  item.cls = Ord(cls);
  item.x = x;
  item.y = y;
  item.cx = 40;
  item.cy = 8;
  item.title = Str(std::move(title));
  return item;
}
ItemDef Text(WORD id, short x, short y, std::u16string title) { return Item(id, 0x82, x, y, std::move(title)); }
ItemDef Image(WORD id, DWORD style, WORD ordinal, short x = 10, short y = 20) {
  ItemDef item = Item(id, 0x82, x, y, u"", style);
  item.title = Ord(ordinal);
  return item;
}
ItemDef Live(ItemDef item) {
  item.x = item.y = 0;
  item.cx = 20;
  item.cy = 4;
  return item;
}
ItemDef LiveText(WORD id, std::u16string title = u"old") { return Live(Text(id, 0, 0, std::move(title))); }

std::vector<std::byte> Layout(std::vector<ItemDef> items, DialogDef header = {}) {
  header.items = std::move(items);
  return TemplateBytes(header);
}

const platform::ImageSlots& Images(HWND dialog, WORD id) {
  static const platform::ImageSlots none;
  const platform::Window* control = Control(dialog, id);
  const platform::ImageSlots* images = control ? platform::StaticImages(control->handle) : nullptr;
  return images ? *images : none;
}

void AddStrings(HWND dialog, WORD id, UINT add) {
  for (const char16_t* s : {u"a", u"b", u"c", u"d", u"e"})
    SendDlgItemMessageW(dialog, id, add, 0, reinterpret_cast<LPARAM>(s));
}

int Selection(HWND dialog, WORD id, bool combo) {
  HWND control = Control(dialog, id)->handle;
  const platform::ChoiceList* list = combo ? platform::ComboBoxOf(control) : platform::ListBoxOf(control);
  return list ? list->selection : -2;
}

// A dialog class that hears WM_SIZE before its controls are made, as a
// dialog may while it is being created.
struct EarlyLayout {
  HINSTANCE module = nullptr;
  UINT templateId = 0;
  BOOL result = -1;
} g_early;

LRESULT EarlyDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) SendMessageW(window, WM_SIZE, SIZE_RESTORED, 0);
  if (message == WM_SIZE) g_early.result = ApplyTemplateLayout(g_early.module, window, g_early.templateId);
  return DefDlgProcW(window, message, wParam, lParam);
}

struct Context {
  HINSTANCE module = nullptr;
  HWND dialog = nullptr;
  HANDLE saved = nullptr;  // the image a row set up before the call
};

struct Row {
  const char* what;
  std::vector<ItemDef> live;      // the live dialog's controls, all at kLivePlace
  std::vector<std::byte> layout;  // template kLayoutId of the row's module
  UINT layoutId = kLayoutId;
  std::size_t declared = SIZE_MAX;  // the size the resource gives the template
  bool early = false;               // laid out from WM_SIZE before the controls exist
  std::function<void(Context&)> prepare;
  BOOL result = TRUE;
  Trace trace;
  std::vector<std::pair<WORD, RECT>> places;
  std::vector<std::pair<WORD, std::u16string>> texts;
  std::function<void(const Context&)> check;
};

class TemplateLayoutTest : public LayoutTest {};

TEST_F(TemplateLayoutTest, LaysOutEachKindOfTemplateAndControl) {
  WNDCLASSW early{};
  early.lpfnWndProc = EarlyDialogProc;
  early.lpszClassName = kEarlyClass;
  RegisterClassW(&early);

  const std::vector<ItemDef> oneText{Text(10, 10, 20, u"New")};
  const std::vector<ItemDef> twoTexts{Text(10, 10, 20, u"A"), Text(11, 30, 40, u"Second")};
  const std::vector<std::byte> truncatedAtItem = Layout(twoTexts);
  std::vector<std::byte> extended = Layout(oneText);
  const DWORD extendedHead = 0xFFFF0001;  // version 1, then the extended form's 0xFFFF
  std::memcpy(extended.data(), &extendedHead, sizeof extendedHead);
  ItemDef longCreationData = Text(10, 10, 20, u"A");
  longCreationData.creationSize = 40;
  std::vector<std::byte> creationPastEnd = Layout({longCreationData});

  auto listRow = [](const char* what, bool combo, bool selected) {
    const UINT add = combo ? CB_ADDSTRING : LB_ADDSTRING, set = combo ? CB_SETCURSEL : LB_SETCURSEL;
    const std::string get = combo ? "SendDlgItemMessageW CB_GETCURSEL" : "SendDlgItemMessageW LB_GETCURSEL";
    const std::string reselect = combo ? "SendDlgItemMessageW CB_SETCURSEL" : "SendDlgItemMessageW LB_SETCURSEL";
    const WORD cls = combo ? 0x85 : 0x83;
    Row row{.what = what, .live = {Live(Item(20, cls, 0, 0))}, .layout = Layout({Item(20, cls, 10, 20)})};
    row.prepare = [=](Context& c) {
      AddStrings(c.dialog, 20, add);
      if (selected) SendDlgItemMessageW(c.dialog, 20, set, 3, 0);
    };
    row.trace = selected ? Join({kOpen, kMove, {get, reselect}, kClose}) : Join({kOpen, kMove, {get}, kClose});
    row.places = {{20, Du(10, 20, 40, 8)}};
    row.check = [=](const Context& c) { EXPECT_EQ(Selection(c.dialog, 20, combo), selected ? 3 : -1); };
    return row;
  };

  std::vector<Row> rows{
      {.what = "no font block, strings in the header",
       .live = {LiveText(10)},
       .layout = Layout(oneText, {.style = WS_POPUP, .menu = Str(u"M"), .cls = Str(u""), .title = Str(u"Odd")}),
       .trace = Join({kOpen, kMove, {kText}, kClose}),
       .places = {{10, Du(10, 20, 40, 8)}},
       .texts = {{10, u"New"}}},
      {.what = "ordinal menu, class and title with a font block",
       .live = {LiveText(10)},
       .layout = Layout(oneText, {.menu = Ord(302), .cls = Ord(0x8002), .title = Ord(7)}),
       .trace = Join({kOpen, kMove, {kText}, kClose}),
       .places = {{10, Du(10, 20, 40, 8)}},
       .texts = {{10, u"New"}}},
      {.what = "empty strings, a class by name and an ordinal class without a refresh",
       .live = {LiveText(10), LiveText(11), LiveText(12)},
       .layout = Layout({Text(10, 10, 20, u""),
                         [] {
                           ItemDef named = Text(11, 20, 30, u"named");
                           named.cls = Str(u"Static");
                           return named;
                         }(),
                         Item(12, 0x81, 30, 40, u"edit")},
                        {.menu = Str(u""), .cls = Str(u""), .title = Str(u""), .typeface = u""}),
       .trace = Join({kOpen, kMove, {kText}, kMove, kMove, kClose}),
       .places = {{10, Du(10, 20, 40, 8)}, {11, Du(20, 30, 40, 8)}, {12, Du(30, 40, 40, 8)}},
       .texts = {{10, u""}, {11, u"old"}, {12, u"old"}}},
      {.what = "creation data of 2, 7 and 12 bytes, then none",
       .live = {LiveText(10), LiveText(11), LiveText(12), LiveText(13)},
       .layout = Layout([] {
         std::vector<ItemDef> items{Text(10, 10, 20, u"a"), Text(11, 20, 30, u"bb"), Text(12, 30, 40, u"ccc"),
                                    Text(13, 40, 50, u"d")};
         items[0].creationSize = 2;
         items[1].creationSize = 7;
         items[2].creationSize = 12;
         return items;
       }()),
       .trace = Join({kOpen, kMove, {kText}, kMove, {kText}, kMove, {kText}, kMove, {kText}, kClose}),
       .places = {{10, Du(10, 20, 40, 8)}, {11, Du(20, 30, 40, 8)}, {12, Du(30, 40, 40, 8)}, {13, Du(40, 50, 40, 8)}},
       .texts = {{10, u"a"}, {11, u"bb"}, {12, u"ccc"}, {13, u"d"}}},
      {.what = "a first item without a live control",
       .live = {LiveText(10), LiveText(11)},
       .layout = Layout({Text(99, 0, 0, u"none"), Text(10, 10, 20, u"A"), Text(11, 30, 40, u"B")}),
       .result = FALSE,
       .trace = Join({kOpen, {kItem}, kMove, {kText}, kMove, {kText}, kClose}),
       .places = {{10, Du(10, 20, 40, 8)}, {11, Du(30, 40, 40, 8)}},
       .texts = {{10, u"A"}, {11, u"B"}}},
      {.what = "two items without an id both act on the one control",
       .live = {LiveText(kNoId)},
       .layout = Layout({Text(kNoId, 10, 20, u"first"), Text(kNoId, 30, 40, u"second")}),
       .result = FALSE,
       .trace = Join({kOpen, kMove, {kText}, kMove, {kText}, kClose}),
       .places = {{kNoId, Du(30, 40, 40, 8)}},
       .texts = {{kNoId, u"second"}}},
      {.what = "an icon that loads replaces the old one, which is released; low bits 0xF count as an icon",
       .live = {Live(Image(10, SS_ICON, 303))},
       .layout = Layout({Image(10, 0xF, 300)}),
       .prepare =
           [](Context& c) {
             c.saved = platform::LoadIconOfSize(c.module, 303, 16);
             SendDlgItemMessageW(c.dialog, 10, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(c.saved));
           },
       .trace = Join({kOpen, kMove, {kGetImage, "LoadIconW", kSetImage, "DestroyIcon"}, kClose}),
       .places = {{10, Du(10, 20, 40, 8)}},
       .check =
           [](const Context& c) {
             EXPECT_EQ(Images(c.dialog, 10).icon, LoadIconW(c.module, MAKEINTRESOURCEW(300)));
             EXPECT_EQ(platform::Icons().Find(static_cast<HICON>(c.saved)), nullptr);
           }},
      {.what = "an icon the module lacks leaves the control's image alone",
       .live = {Live(Image(10, SS_ICON, 303))},
       .layout = Layout({Image(10, SS_ICON, 999)}),
       .trace = Join({kOpen, kMove, {kGetImage, "LoadIconW"}, kClose}),
       .places = {{10, Du(10, 20, 40, 8)}},
       .check =
           [](const Context& c) { EXPECT_EQ(Images(c.dialog, 10).icon, LoadIconW(c.module, MAKEINTRESOURCEW(303))); }},
      {.what = "a static without an image gets one and nothing is released",
       .live = {LiveText(10, u"")},
       .layout = Layout({Image(10, SS_ICON, 300)}),
       .trace = Join({kOpen, kMove, {kGetImage, "LoadIconW", kSetImage}, kClose}),
       .places = {{10, Du(10, 20, 40, 8)}},
       .check =
           [](const Context& c) { EXPECT_EQ(Images(c.dialog, 10).icon, LoadIconW(c.module, MAKEINTRESOURCEW(300))); }},
      {.what = "a bitmap replaces the old one, which is deleted",
       .live = {Live(Image(10, SS_BITMAP, 306))},
       .layout = Layout({Image(10, SS_BITMAP, 301)}),
       .prepare = [](Context& c) { c.saved = Images(c.dialog, 10).bitmap; },
       .trace = Join({kOpen, kMove, {kGetImage, "LoadBitmapW", kSetImage, "DeleteObject"}, kClose}),
       .places = {{10, Du(10, 20, 40, 8)}},
       .check =
           [](const Context& c) {
             ASSERT_NE(c.saved, nullptr);
             HBITMAP now = Images(c.dialog, 10).bitmap;
             EXPECT_NE(now, c.saved);
             EXPECT_NE(platform::Bitmaps().Find(now), nullptr);
             EXPECT_EQ(platform::Bitmaps().Find(static_cast<HBITMAP>(c.saved)), nullptr);
           }},
      listRow("a list box with item 3 selected", false, true),
      listRow("a list box without a selection", false, false),
      listRow("a combo box with item 3 selected", true, true),
      listRow("a combo box without a selection", true, false),
      {.what = "WM_SIZE before the controls exist",
       .live = {LiveText(10)},
       .layout = Layout(oneText),
       .early = true,
       .result = FALSE,
       .trace = Join({{"CreateDialogIndirectParamW", "SendMessageW WM_SIZE"}, kOpen, {kItem}, kClose}),
       .places = {{10, kLivePlace}},
       .texts = {{10, u"old"}}},
      {.what = "no items",
       .live = {LiveText(10)},
       .layout = Layout({}),
       .trace = Join({kOpen, kClose}),
       .places = {{10, kLivePlace}},
       .texts = {{10, u"old"}}},
      {.what = "an id the module does not hold",
       .live = {LiveText(10)},
       .layout = Layout(oneText),
       .layoutId = 999,
       .result = FALSE,
       .trace = {kFind},
       .places = {{10, kLivePlace}},
       .texts = {{10, u"old"}}},
      {.what = "truncated in the header's title",
       .live = {LiveText(10)},
       .layout = Layout(oneText),
       .declared = 18 + 2 + 2 + 6,
       .result = FALSE,
       .trace = {kFind, kLoad, kSize},
       .places = {{10, kLivePlace}},
       .texts = {{10, u"old"}}},
      {.what = "truncated in the second item's title",
       .live = {LiveText(10), LiveText(11)},
       .layout = truncatedAtItem,
       .declared = truncatedAtItem.size() - 6,
       .result = FALSE,
       .trace = Join({kOpen, kMove, {kText}, kClose}),
       .places = {{10, Du(10, 20, 40, 8)}, {11, kLivePlace}},
       .texts = {{10, u"A"}, {11, u"old"}}},
      {.what = "creation data running past the end",
       .live = {LiveText(10)},
       .layout = creationPastEnd,
       .declared = creationPastEnd.size() - 10,
       .result = FALSE,
       .trace = Join({kOpen, kClose}),
       .places = {{10, kLivePlace}},
       .texts = {{10, u"old"}}},
      {.what = "the extended form is refused",
       .live = {LiveText(10)},
       .layout = extended,
       .result = FALSE,
       .trace = {kFind, kLoad, kSize},
       .places = {{10, kLivePlace}},
       .texts = {{10, u"old"}}},
      {.what = "a template of the resource compiler: no font, empty menu and class, icon, lists, empty text",
       .live = {Live(Image(10, SS_ICON, 303)), Live(Item(11, 0x83, 0, 0)), Live(Item(12, 0x85, 0, 0)), LiveText(13)},
       .layoutId = 700,
       .trace = Join({kOpen,
                      kMove,
                      {kGetImage, "LoadIconW", kSetImage, "DestroyIcon"},
                      kMove,
                      {"SendDlgItemMessageW LB_GETCURSEL"},
                      kMove,
                      {"SendDlgItemMessageW CB_GETCURSEL"},
                      kMove,
                      {kText},
                      kClose}),
       .places = {{10, Du(2, 4, 20, 20)}, {11, Du(30, 4, 40, 30)}, {12, Du(30, 40, 40, 30)}, {13, Du(2, 70, 60, 8)}},
       .texts = {{13, u""}},
       .check =
           [](const Context& c) { EXPECT_EQ(Images(c.dialog, 10).icon, LoadIconW(c.module, MAKEINTRESOURCEW(300))); }},
  };

  for (Row& row : rows) {
    SCOPED_TRACE(row.what);
    Context c;
    c.module = Register(corvale_test::ImageWithDialog(kLayoutId, row.layout, row.declared));
    DialogDef live;
    live.items = row.live;
    if (row.early) live.cls = Str(kEarlyClass);
    const std::vector<std::byte> liveBytes = TemplateBytes(live);
    BOOL result = -1;
    Trace trace;
    if (row.early) {
      g_early = {c.module, row.layoutId, -1};
      trace = Traced([&] { c.dialog = CreateLive(c.module, liveBytes); });
      result = g_early.result;
    } else {
      c.dialog = CreateLive(c.module, liveBytes);
      if (row.prepare) row.prepare(c);
      trace = Traced([&] { result = ApplyTemplateLayout(c.module, c.dialog, row.layoutId); });
    }
    ASSERT_NE(c.dialog, nullptr);
    EXPECT_EQ(result, row.result);
    EXPECT_EQ(trace, row.trace);
    for (const auto& [id, place] : row.places) {
      const platform::Window* control = Control(c.dialog, id);
      ASSERT_NE(control, nullptr) << id;
      EXPECT_EQ(control->rect, place) << "control " << id;
    }
    for (const auto& [id, text] : row.texts) EXPECT_TRUE(Control(c.dialog, id)->text == text) << "control " << id;
    if (row.check) row.check(c);
    DestroyWindow(c.dialog);
  }
}

// Whatever the size the resource gives a template, the walk reads no further:
// the rest of the template lies in memory right after it and would lay the
// dialog out if it were read.
TEST_F(TemplateLayoutTest, EveryCutOfTheTemplateIsRefusedWithoutReadingPastIt) {
  ItemDef first = Image(10, SS_ICON, 300);
  first.creationSize = 6;
  const std::vector<std::byte> full =
      Layout({first, Text(11, 30, 40, u"Second")}, {.menu = Ord(302), .title = Str(u"Cut")});
  const std::size_t headerSize = 18 + 4 + 2 + 8 + 2 + 26;  // menu, class, title, point size, typeface
  HINSTANCE whole = Register(corvale_test::ImageWithDialog(kLayoutId, full));
  HWND dialog = CreateLive(whole, full);
  ASSERT_EQ(ApplyTemplateLayout(whole, dialog, kLayoutId), TRUE);

  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    SCOPED_TRACE(cut);
    HINSTANCE module = Register(corvale_test::ImageWithDialog(kLayoutId, full, cut));
    BOOL result = -1;
    Trace trace = Traced([&] { result = ApplyTemplateLayout(module, dialog, kLayoutId); });
    EXPECT_EQ(result, FALSE);
    bool opened = std::find(trace.begin(), trace.end(), kBegin) != trace.end();
    EXPECT_EQ(opened, cut >= headerSize);
    if (opened) {
      EXPECT_EQ(trace.back(), kEnd);
    }
  }
}

// Each step that fails makes the result false (an image that does not load
// excepted) and leaves the rest of the walk to happen.
TEST_F(TemplateLayoutTest, EachFailingStepLeavesTheRestDone) {
  const std::vector<std::byte> layout =
      Layout({Text(10, 10, 20, u"first"), Text(11, 30, 40, u"second"), Image(12, SS_ICON, 300, 50, 60)});
  DialogDef liveDef;
  liveDef.items = {LiveText(10), LiveText(11), Live(Image(12, SS_ICON, 303))};
  const std::vector<std::byte> liveBytes = TemplateBytes(liveDef);
  HINSTANCE module = Register(corvale_test::ImageWithDialog(kLayoutId, layout));
  const HICON oldIcon = LoadIconW(module, MAKEINTRESOURCEW(303));
  const HICON newIcon = LoadIconW(module, MAKEINTRESOURCEW(300));

  struct Case {
    const char* key;
    BOOL result;
    std::vector<WORD> moved;
    std::vector<WORD> retitled;
    bool iconReplaced;
  };
  const Case cases[] = {
      {"FindResourceW", FALSE, {}, {}, false},
      {"LoadResource", FALSE, {}, {}, false},
      {"SizeofResource", FALSE, {}, {}, false},
      {"BeginDeferWindowPos", FALSE, {}, {}, false},
      {"GetDlgItem", FALSE, {11, 12}, {11}, true},
      {"MapDialogRect", FALSE, {11, 12}, {11}, true},
      {"DeferWindowPos", FALSE, {11, 12}, {10, 11}, true},
      {"EndDeferWindowPos", FALSE, {}, {10, 11}, true},
      {"LoadIconW", TRUE, {10, 11, 12}, {10, 11}, false},
  };
  const std::pair<WORD, RECT> places[] = {{10, Du(10, 20, 40, 8)}, {11, Du(30, 40, 40, 8)}, {12, Du(50, 60, 40, 8)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    HWND dialog = CreateLive(module, liveBytes);
    device::Current().faults.FailNth(c.key, 1);
    EXPECT_EQ(ApplyTemplateLayout(module, dialog, kLayoutId), c.result);
    device::Current().faults.Clear();
    for (const auto& [id, place] : places) {
      bool moved = std::find(c.moved.begin(), c.moved.end(), id) != c.moved.end();
      EXPECT_EQ(Control(dialog, id)->rect, moved ? place : kLivePlace) << "control " << id;
    }
    for (WORD id : {WORD{10}, WORD{11}}) {
      bool retitled = std::find(c.retitled.begin(), c.retitled.end(), id) != c.retitled.end();
      EXPECT_TRUE(Control(dialog, id)->text == (retitled ? (id == 10 ? u"first" : u"second") : u"old")) << id;
    }
    EXPECT_EQ(Images(dialog, 12).icon, c.iconReplaced ? newIcon : oldIcon);
    DestroyWindow(dialog);
  }
}

// Once warmed up, a relayout allocates nothing: not the walk, nor the
// platform's batch, lookups, text, selections or shared icons.
TEST_F(TemplateLayoutTest, SteadyRelayoutAllocatesNothing) {
  HINSTANCE program = Register({std::vector<std::byte>(CorvaleResourceImage().begin(), CorvaleResourceImage().end()),
                                CorvaleResourceImage().size()});
  HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(IDD_CORVALE_DIALOG), RT_DIALOG);
  HWND tall = CreateLive(program,
                         {static_cast<const std::byte*>(LoadResource(program, found)), SizeofResource(program, found)});

  std::vector<ItemDef> many;
  for (WORD i = 0; i < 100; ++i) {
    short x = static_cast<short>(i % 10 * 10), y = static_cast<short>(i / 10 * 10);
    switch (i % 4) {
      case 0:
        many.push_back(Text(100 + i, x, y, u"a label of some length"));
        break;
      case 1:
        many.push_back(Item(100 + i, 0x83, x, y));
        break;
      case 2:
        many.push_back(Item(100 + i, 0x85, x, y));
        break;
      default:
        many.push_back(Image(100 + i, SS_ICON, 300, x, y));
        break;
    }
  }
  const std::vector<std::byte> manyBytes = Layout(many);
  HINSTANCE module = Register(corvale_test::ImageWithDialog(kLayoutId, manyBytes));
  HWND hundred = CreateLive(module, manyBytes);
  for (WORD i = 1; i < 100; i += 4) {
    AddStrings(hundred, 100 + i, LB_ADDSTRING);
    AddStrings(hundred, 100 + i + 1, CB_ADDSTRING);
    SendDlgItemMessageW(hundred, 100 + i, LB_SETCURSEL, 3, 0);
    SendDlgItemMessageW(hundred, 100 + i + 1, CB_SETCURSEL, 3, 0);
  }

  const struct {
    const char* what;
    HINSTANCE module;
    HWND dialog;
    UINT id;
  } cases[] = {{"template 102", program, tall, IDD_CORVALE_DIALOG}, {"100 items", module, hundred, kLayoutId}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(ApplyTemplateLayout(c.module, c.dialog, c.id), TRUE);
    BOOL result = FALSE;
    EXPECT_EQ(corvale_test::AllocationsDuring([&] { result = ApplyTemplateLayout(c.module, c.dialog, c.id); }), 0u);
    EXPECT_EQ(result, TRUE);
  }
}

}  // namespace
