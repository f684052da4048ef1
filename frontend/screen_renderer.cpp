#include "screen_renderer.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "commctrl.h"
#include "control_classes.h"
#include "device/device.h"
#include "listview_state.h"
#include "shell_objects.h"
#include "text_cells.h"
#include "window_objects.h"
#include "winuser.h"

namespace frontend {

// --- Screen ------------------------------------------------------------------------

Screen::Screen(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      cells_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {}

Cell& Screen::At(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) {
    scratch_ = Cell{};
    return scratch_;
  }
  return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

const Cell& Screen::At(int x, int y) const {
  static const Cell kOutside{};
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kOutside;
  return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

// Breaks up a wide character that (x, y) is half of, so that no half survives alone.
void Screen::Unpair(int x, int y) {
  Cell& cell = At(x, y);
  if (cell.wideTail) {
    cell.wideTail = false;
    cell.ch = U' ';
    if (x > 0) At(x - 1, y).ch = U' ';
  } else if (x + 1 < width_ && At(x + 1, y).wideTail) {
    Cell& tail = At(x + 1, y);
    tail.wideTail = false;
    tail.ch = U' ';
  }
}

void Screen::Set(int x, int y, char32_t ch, const Style& style) {
  Unpair(x, y);
  Cell& cell = At(x, y);
  cell = Cell{ch, false, style.fg, style.bg, style.hasColour, style.inverse, style.bold};
  if (platform::CellsOf(ch) == 2) {
    Unpair(x + 1, y);
    Cell& tail = At(x + 1, y);
    tail = cell;
    tail.ch = U' ';
    tail.wideTail = true;
  }
}

int Screen::PutClipped(const CellBox& clip, int x, int y, std::u32string_view text, int maxCells, const Style& style) {
  CellBox limit = Intersect(clip, Bounds());
  if (y < limit.top || y >= limit.bottom || maxCells <= 0) return 0;
  long long end = std::min<long long>(static_cast<long long>(x) + maxCells, limit.right);
  int pos = x;
  for (char32_t c : text) {
    int w = platform::CellsOf(c);
    if (w == 0) continue;
    if (pos + w > end) {
      if (pos < end && pos >= limit.left) Set(pos++, y, U' ', style);
      break;
    }
    if (pos >= limit.left)
      Set(pos, y, c, style);
    else if (pos + w > limit.left)
      Set(limit.left, y, U' ', style);  // the right half of a wide character cut by the left edge
    pos += w;
  }
  return pos - x;
}

int Screen::Put(int x, int y, std::u32string_view text, int maxCells, const Style& style) {
  return PutClipped(Bounds(), x, y, text, maxCells, style);
}

int Screen::Put(int x, int y, std::u16string_view text, int maxCells, const Style& style) {
  return Put(x, y, platform::ToCodePoints(text), maxCells, style);
}

void Screen::Fill(const CellBox& box, const Style& style, const CellBox& clip) {
  CellBox area = Intersect(Intersect(box, clip), Bounds());
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) Set(x, y, U' ', style);
}

std::vector<std::string> Screen::Lines() const {
  std::vector<std::string> lines;
  for (int y = 0; y < height_; ++y) {
    std::string line;
    for (int x = 0; x < width_; ++x) {
      const Cell& cell = At(x, y);
      if (!cell.wideTail) platform::AppendUtf8(line, cell.ch);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

// --- Pictures ------------------------------------------------------------------------

IconGlyph GlyphOf(const platform::Image& image) {
  // Icons are mostly outline and white paper; their colour is in the few
  // coloured pixels, so those decide when there are enough of them.
  struct Sum {
    unsigned long long r = 0, g = 0, b = 0, weight = 0;
    void Add(std::uint32_t p, unsigned a) {
      r += ((p >> 16) & 0xFF) * a;
      g += ((p >> 8) & 0xFF) * a;
      b += (p & 0xFF) * a;
      weight += a;
    }
    std::uint32_t Average() const {
      return static_cast<std::uint32_t>((r / weight) << 16 | (g / weight) << 8 | (b / weight));
    }
  } all, coloured;
  for (std::uint32_t p : image.argb) {
    unsigned a = p >> 24;
    if (a == 0) continue;
    all.Add(p, a);
    unsigned red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
    unsigned high = std::max({red, green, blue}), low = std::min({red, green, blue});
    if (high - low > 48) coloured.Add(p, a);
  }
  if (all.weight == 0) return {};
  std::uint32_t average = coloured.weight * 4 >= all.weight ? coloured.Average() : all.Average();

  // Greys share one glyph, so a plain document looks the same however light it is.
  struct Swatch {
    std::uint32_t rgb;
    char32_t glyph;
  };
  static constexpr std::array<Swatch, 10> kSwatches{{{0x808080, U'▤'},
                                                     {0xE0E0E0, U'▤'},
                                                     {0x202020, U'■'},
                                                     {0x2050D0, U'▣'},
                                                     {0x20B0D0, U'◈'},
                                                     {0x30A040, U'▩'},
                                                     {0xE0C020, U'▰'},
                                                     {0xE07820, U'▲'},
                                                     {0xD02020, U'◆'},
                                                     {0xA030B0, U'◉'}}};
  auto channel = [](std::uint32_t rgb, int shift) { return static_cast<long>((rgb >> shift) & 0xFF); };
  auto distance = [&](std::uint32_t a, std::uint32_t b) {
    long dr = channel(a, 16) - channel(b, 16), dg = channel(a, 8) - channel(b, 8), db = channel(a, 0) - channel(b, 0);
    return 2 * dr * dr + 4 * dg * dg + 3 * db * db;  // the eye weighs green most
  };
  const Swatch* best = &kSwatches[0];
  for (const Swatch& s : kSwatches)
    if (distance(average, s.rgb) < distance(average, best->rgb)) best = &s;
  return IconGlyph{best->glyph, average};
}

// --- Geometry --------------------------------------------------------------------------

namespace {

int RoundDiv(int value, int unit) {
  // Floor of (value + unit / 2) / unit, correct for negative values too.
  long long v = static_cast<long long>(value) + unit / 2;
  long long q = v / unit;
  if (v % unit != 0 && v < 0) --q;
  return static_cast<int>(q);
}

CellBox Shrink(const CellBox& box, int by) {
  return CellBox{box.left + by, box.top + by, box.right - by, box.bottom - by};
}

}  // namespace

int PixelToColumn(int x) { return RoundDiv(x, platform::kCellWidth); }
int PixelToRow(int y) { return RoundDiv(y, platform::kCellHeight); }

CellBox BoxOf(const RECT& r) {
  return CellBox{PixelToColumn(r.left), PixelToRow(r.top), PixelToColumn(r.right), PixelToRow(r.bottom)};
}

CellBox Intersect(const CellBox& a, const CellBox& b) {
  return CellBox{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
}

// --- Labels ----------------------------------------------------------------------------

namespace {

std::u32string FirstLine(std::u16string_view text) {
  std::u32string line = platform::ToCodePoints(text);
  std::size_t end = line.find_first_of(U"\r\n");
  if (end != std::u32string::npos) line.resize(end);
  return line;
}

// Menu and button labels: "&&" shows one '&', a lone '&' marks the mnemonic
// and is not shown; a tab (before an accelerator) shows as a gap.
std::u32string Label(std::u16string_view text) {
  std::u32string out;
  std::u32string in = FirstLine(text);
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == U'&') {
      if (i + 1 < in.size() && in[i + 1] == U'&') out += U'&', ++i;
      continue;
    }
    if (in[i] == U'\t')
      out += U"  ";
    else
      out += in[i];
  }
  return out;
}

int Cells(std::u32string_view text) {
  int n = 0;
  for (char32_t c : text) n += platform::CellsOf(c);
  return n;
}

}  // namespace

// --- Layout ----------------------------------------------------------------------------

ListLayout ListCells(const platform::Window& list) {
  ListLayout layout;
  CellBox box = BoxOf(platform::ScreenRect(list));
  layout.inner = box;
  // The border is one pixel: it costs the sides a cell each, but the header
  // and rows keep the rows their pixels give them, as hit-testing counts them.
  if (list.style & WS_BORDER) layout.inner = CellBox{box.left + 1, box.top, box.right - 1, box.bottom};
  int y = layout.inner.top + ((list.style & LVS_NOCOLUMNHEADER) ? 0 : 1);
  int shown = std::max(0, std::min(platform::ListViewVisibleRows(list.handle), layout.inner.bottom - y));
  layout.rows = CellBox{layout.inner.left, y, layout.inner.right, y + shown};
  return layout;
}

std::vector<CellBox> MenuButtonCells(HWND bar) {
  std::vector<CellBox> buttons;
  const platform::Window* w = platform::FindWindowObject(bar);
  const platform::MenuBarState* state = platform::MenuBarOf(bar);
  if (!w || !state) return buttons;
  CellBox barBox = BoxOf(w->rect);
  for (std::size_t i = 0; i < state->menu.items.size(); ++i)
    buttons.push_back(Intersect(BoxOf(platform::MenuBarButtonRect(bar, static_cast<int>(i))), barBox));
  return buttons;
}

// The popup opens upward from the bar, left-aligned with its button unless
// that would take it off the screen; a blank pads each side of the labels.
PopupLayout PopupCells(HWND bar) {
  PopupLayout layout;
  const platform::Window* w = platform::FindWindowObject(bar);
  const platform::MenuBarState* state = platform::MenuBarOf(bar);
  if (!w || !state || state->openPopup < 0 || state->openPopup >= static_cast<int>(state->menu.items.size()))
    return layout;
  const platform::MenuItem& open = state->menu.items[static_cast<std::size_t>(state->openPopup)];
  if (!open.IsPopup()) return layout;
  layout.button = state->openPopup;
  int inner = 0;
  for (const platform::MenuItem& item : open.popup)
    if (!item.separator) inner = std::max(inner, Cells(Label(item.text)) + (item.IsPopup() ? 2 : 0));
  int screenColumns = PixelToColumn(device::Current().ScreenWidth());
  int width = std::min(inner + 4, screenColumns);
  int left = BoxOf(platform::MenuBarButtonRect(bar, state->openPopup)).left;
  if (left + width > screenColumns) left = screenColumns - width;
  left = std::max(0, left);
  int barTop = BoxOf(w->rect).top;
  layout.frame = CellBox{left, barTop - (static_cast<int>(open.popup.size()) + 2), left + width, barTop};
  for (std::size_t k = 0; k < open.popup.size(); ++k) {
    int y = layout.frame.top + 1 + static_cast<int>(k);
    layout.items.push_back(CellBox{left + 1, y, left + width - 1, y + 1});
  }
  return layout;
}

// The buttons sit centred on the row above the bottom edge, as "<Default>"
// and "[Other]", one blank apart.
std::vector<CellBox> BoxButtonCells(HWND box) {
  std::vector<CellBox> buttons;
  const platform::Window* w = platform::FindWindowObject(box);
  const platform::MessageBoxState* state = platform::MessageBoxOf(box);
  if (!w || !state) return buttons;
  CellBox outer = BoxOf(w->rect);
  CellBox inner = Shrink(outer, 1);
  int row = outer.bottom - 2;
  std::vector<int> widths;
  int total = -1;
  for (const platform::MessageBoxButton& b : state->buttons) {
    widths.push_back(platform::CellsOf(b.text) + 2);
    total += widths.back() + 1;
  }
  int x = inner.left + std::max(0, (inner.Width() - total) / 2);
  for (int width : widths) {
    buttons.push_back(Intersect(CellBox{x, row, x + width, row + 1}, inner));
    x += width + 1;
  }
  return buttons;
}

CellBox NavOkCells() {
  const platform::Window* bar = platform::FindWindowObject(platform::NavBarWindow());
  if (!bar || !bar->Visible() || !platform::NavBarShowsOk()) return CellBox{};
  CellBox box = BoxOf(bar->rect);
  return CellBox{box.right - 2, box.top, box.right, box.bottom};
}

// --- Drawing ---------------------------------------------------------------------------

namespace {

using platform::Window;

const Style kPlain{};
const Style kInverse{0, 0, false, true, false};

void Frame(Screen& s, const CellBox& box, const CellBox& clip, const Style& style = kPlain) {
  if (box.Empty()) return;
  // Only the visible part is walked: a window far larger than the screen costs nothing extra.
  CellBox area = Intersect(Intersect(box, clip), s.Bounds());
  auto edge = [&](int x, int y, char32_t c) { s.PutClipped(area, x, y, std::u32string(1, c), 1, style); };
  for (int x = area.left; x < area.right; ++x) {
    bool left = x == box.left, right = x == box.right - 1;
    edge(x, box.top, left ? U'┌' : right ? U'┐' : U'─');
    if (box.Height() > 1) edge(x, box.bottom - 1, left ? U'└' : right ? U'┘' : U'─');
  }
  for (int y = std::max(area.top, box.top + 1); y < std::min(area.bottom, box.bottom - 1); ++y) {
    edge(box.left, y, U'│');
    if (box.Width() > 1) edge(box.right - 1, y, U'│');
  }
}

// A picture's two cells at (x, y): its glyph in its own colour, then a blank.
void Picture(Screen& s, const CellBox& clip, int x, int y, const platform::Image* image, Style style) {
  IconGlyph glyph = image ? GlyphOf(*image) : IconGlyph{};
  Style blank = style;
  if (glyph.ch != U' ') {
    style.hasColour = true;
    style.fg = glyph.colour;
  }
  s.PutClipped(clip, x, y, std::u32string(1, glyph.ch), 1, style);
  s.PutClipped(clip, x + 1, y, U" ", 1, blank);
}

const platform::Image* SlotImage(const platform::ImageSlots* slots) {
  if (!slots) return nullptr;
  if (const platform::Image* icon = platform::IconImage(slots->icon)) return icon;
  return platform::BitmapImage(slots->bitmap);
}

void DrawListView(Screen& s, const Window& w, const CellBox& box, const CellBox& clip) {
  s.Fill(box, kPlain, clip);
  const platform::ListViewState* state = platform::ListViewOf(w.handle);
  if (!state) return;
  ListLayout layout = ListCells(w);
  const CellBox& inner = layout.inner;
  if (w.style & WS_BORDER) {
    for (int line = std::max(box.top, clip.top); line < std::min(box.bottom, clip.bottom); ++line) {
      s.PutClipped(clip, box.left, line, U"│", 1, kPlain);
      s.PutClipped(clip, box.right - 1, line, U"│", 1, kPlain);
    }
  }
  CellBox area = Intersect(inner, clip);
  if (inner.Empty()) return;

  struct Span {
    int left, right;
    std::size_t column;
  };
  std::vector<Span> spans;
  constexpr int kFarRight = 1 << 24;  // past any screen; keeps absurd widths from overflowing
  int offset = 0;
  for (std::size_t c = 0; c < state->columns.size() && offset < kFarRight; ++c) {
    int width = state->columns[c].width;
    if (width <= 0) continue;
    int left = inner.left + PixelToColumn(offset);
    offset += std::min(width, kFarRight);
    int right = inner.left + PixelToColumn(offset);
    if (right > left) spans.push_back(Span{left, right, c});
  }
  bool grid = (state->extendedStyle & LVS_EX_GRIDLINES) != 0;
  int gap = grid ? 1 : 0;  // the grid line takes the last cell of each column

  if (!(w.style & LVS_NOCOLUMNHEADER)) {
    for (const Span& span : spans)
      s.PutClipped(area, span.left, inner.top, FirstLine(state->columns[span.column].text),
                   span.right - span.left - gap, Style{0, 0, false, false, true});
  }
  const std::vector<platform::Image>* images =
      state->smallImages ? platform::ImageListImages(state->smallImages) : nullptr;
  int y = layout.rows.top;
  for (int i = 0; i < layout.rows.Height(); ++i) {
    std::size_t index = static_cast<std::size_t>(state->top) + static_cast<std::size_t>(i);
    if (state->top < 0 || index >= state->rows.size()) break;
    const platform::ListViewRow& row = state->rows[index];
    Style style = (row.state & LVIS_SELECTED) ? kInverse : kPlain;
    s.Fill(CellBox{layout.rows.left, y + i, layout.rows.right, y + i + 1}, style, area);
    for (const Span& span : spans) {
      int x = span.left;
      int room = span.right - span.left - gap;
      if (span.column == 0 && images) {
        const platform::Image* image = nullptr;
        if (row.image >= 0 && static_cast<std::size_t>(row.image) < images->size())
          image = &(*images)[static_cast<std::size_t>(row.image)];
        if (image && room >= 2) Picture(s, area, x, y + i, image, style);
        x += 3;
        room -= 3;
      }
      std::size_t sub = static_cast<std::size_t>(std::max(0, state->columns[span.column].subItem));
      if (room > 0 && sub < row.cells.size()) s.PutClipped(area, x, y + i, FirstLine(row.cells[sub]), room, style);
    }
  }
  if (grid) {
    for (int line = area.top; line < area.bottom; ++line)
      for (const Span& span : spans) {
        Style style = s.At(span.right - 1, line).inverse ? kInverse : kPlain;
        s.PutClipped(area, span.right - 1, line, U"│", 1, style);
      }
  }
}

void DrawChoices(Screen& s, const platform::ChoiceList& list, const CellBox& box, const CellBox& clip) {
  int rows = box.Height();
  if (rows <= 0) return;
  int count = static_cast<int>(list.items.size());
  int first = list.selection >= rows ? list.selection - rows + 1 : 0;
  for (int i = 0; i < rows && first + i < count; ++i) {
    int item = first + i;
    Style style = item == list.selection ? kInverse : kPlain;
    if (style.inverse) s.Fill(CellBox{box.left, box.top + i, box.right, box.top + i + 1}, style, clip);
    s.PutClipped(clip, box.left, box.top + i, FirstLine(list.items[static_cast<std::size_t>(item)]), box.Width(),
                 style);
  }
}

void DrawChild(Screen& s, const Window& w, const CellBox& clip);

void DrawChildren(Screen& s, const Window& w, const CellBox& clip) {
  for (HWND h : w.children)
    if (const Window* child = platform::FindWindowObject(h)) DrawChild(s, *child, clip);
}

void DrawChild(Screen& s, const Window& w, const CellBox& parentClip) {
  if (!w.Visible()) return;
  CellBox box = BoxOf(platform::ScreenRect(w));
  CellBox clip = Intersect(box, parentClip);
  if (clip.Empty()) return;
  const std::u16string& cls = w.className;
  if (platform::SameClassName(cls, WC_LISTVIEWW)) {
    DrawListView(s, w, box, clip);
  } else if (platform::SameClassName(cls, u"Static")) {
    if (const platform::Image* image = SlotImage(platform::StaticImages(w.handle)))
      Picture(s, clip, box.left, box.top, image, kPlain);
    else
      s.PutClipped(clip, box.left, box.top, FirstLine(w.text), box.Width(), kPlain);
  } else if (platform::SameClassName(cls, u"Button")) {
    std::u32string label = Label(w.text);
    int row = box.top + std::max(0, (box.Height() - 1) / 2);
    int x = box.left + s.PutClipped(clip, box.left, row, U"[", box.Width(), kPlain);
    if (label.empty()) {
      if (const platform::Image* image = SlotImage(platform::ButtonImages(w.handle))) {
        Picture(s, clip, x, row, image, kPlain);
        x += 2;
      }
    }
    x += s.PutClipped(clip, x, row, label, box.right - 1 - x, kPlain);
    s.PutClipped(clip, x, row, U"]", box.right - x, kPlain);
  } else if (platform::SameClassName(cls, u"ListBox")) {
    if (const platform::ChoiceList* list = platform::ListBoxOf(w.handle)) DrawChoices(s, *list, box, clip);
  } else if (platform::SameClassName(cls, u"ComboBox")) {
    const platform::ChoiceList* list = platform::ComboBoxOf(w.handle);
    if (list && list->selection >= 0 && static_cast<std::size_t>(list->selection) < list->items.size())
      s.PutClipped(clip, box.left, box.top, FirstLine(list->items[static_cast<std::size_t>(list->selection)]),
                   box.Width() - 1, kPlain);
    s.PutClipped(clip, box.right - 1, box.top, U"▼", 1, kPlain);
  } else if (platform::SameClassName(cls, u"#32770")) {
    s.Fill(box, kPlain, clip);
  } else {
    s.PutClipped(clip, box.left, box.top, FirstLine(w.text), box.Width(), kPlain);
  }
  DrawChildren(s, w, clip);
}

void DrawNavBar(Screen& s, const Window& bar) {
  CellBox box = BoxOf(bar.rect);
  s.Fill(box, kInverse, s.Bounds());
  CellBox ok = NavOkCells();
  if (const Window* subject = platform::FindWindowObject(platform::NavBarSubject()))
    s.PutClipped(box, box.left, box.top, FirstLine(subject->text), box.Width() - (ok.Empty() ? 0 : ok.Width() + 1),
                 Style{0, 0, false, true, true});
  if (!ok.Empty()) s.PutClipped(box, ok.left, ok.top, U"ok", ok.Width(), kInverse);
}

void DrawPopup(Screen& s, const std::vector<platform::MenuItem>& items, int focus, const PopupLayout& popup) {
  const CellBox& box = popup.frame;
  int width = box.Width();
  s.Fill(box, kPlain, s.Bounds());
  Frame(s, box, s.Bounds());
  for (std::size_t k = 0; k < items.size(); ++k) {
    const platform::MenuItem& item = items[k];
    const CellBox& row = popup.items[k];
    if (item.separator) {
      if (width < 2) continue;  // a screen too narrow for the frame
      std::u32string line(static_cast<std::size_t>(width), U'─');
      line.front() = U'├';
      line.back() = U'┤';
      s.Put(box.left, row.top, line, width);
      continue;
    }
    Style style = static_cast<int>(k) == focus ? kInverse : kPlain;
    s.Fill(row, style, s.Bounds());
    s.PutClipped(row, row.left + 1, row.top, Label(item.text), row.Width() - 2 - (item.IsPopup() ? 2 : 0), style);
    if (item.IsPopup()) s.PutClipped(row, row.right - 2, row.top, U"▸", 1, style);
  }
}

void DrawMenuBar(Screen& s, const Window& bar) {
  CellBox box = BoxOf(bar.rect);
  s.Fill(box, kInverse, s.Bounds());
  const platform::MenuBarState* state = platform::MenuBarOf(bar.handle);
  if (!state) return;
  int row = box.top + std::max(0, (box.Height() - 1) / 2);
  std::vector<CellBox> buttons = MenuButtonCells(bar.handle);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const CellBox& button = buttons[i];
    bool open = static_cast<int>(i) == state->openPopup;
    Style style = open ? kPlain : kInverse;  // the open button looks pressed
    if (open) s.Fill(button, style, s.Bounds());
    std::u32string label = Label(state->menu.items[i].text);
    int x = button.left + std::max(0, (button.Width() - Cells(label)) / 2);
    s.PutClipped(button, x, row, label, button.right - x, style);
  }
  PopupLayout popup = PopupCells(bar.handle);
  if (popup.button >= 0)
    DrawPopup(s, state->menu.items[static_cast<std::size_t>(popup.button)].popup, state->popupFocus, popup);
}

char32_t IconMark(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONQUESTION:
      return U'?';
    case MB_ICONEXCLAMATION:
      return U'!';
    case MB_ICONHAND:
      return U'x';
    case MB_ICONASTERISK:
      return U'i';
    default:
      return 0;
  }
}

// Caption across the top, text (after the icon mark) inside a frame, the
// buttons on the row above the bottom edge; a text too long for its rows
// takes the gap above the buttons, then is cut.
void DrawMessageBox(Screen& s, const Window& w) {
  CellBox box = BoxOf(w.rect);
  CellBox clip = Intersect(box, s.Bounds());
  if (clip.Empty()) return;
  s.Fill(box, kPlain, clip);
  Frame(s, box, clip);
  Style caption{0, 0, false, true, true};
  s.Fill(CellBox{box.left, box.top, box.right, box.top + 1}, caption, clip);
  const platform::MessageBoxState* state = platform::MessageBoxOf(w.handle);
  if (!state) return;
  s.PutClipped(clip, box.left + 1, box.top, FirstLine(state->caption), box.Width() - 2, caption);

  CellBox inner = Shrink(box, 1);
  int buttonsRow = box.bottom - 2;
  int x = inner.left;
  if (char32_t mark = IconMark(state->type)) {
    s.PutClipped(clip, x, inner.top, std::u32string(1, mark), 1, Style{0, 0, false, false, true});
    x += 2;
  }
  std::vector<std::u32string> lines = platform::WrapText(state->text, inner.right - x);
  for (std::size_t i = 0; i < lines.size() && inner.top + static_cast<int>(i) < buttonsRow; ++i)
    s.PutClipped(clip, x, inner.top + static_cast<int>(i), lines[i], inner.right - x, kPlain);

  std::vector<CellBox> buttons = BoxButtonCells(w.handle);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].Empty()) continue;
    bool isDefault = static_cast<int>(i) == state->defaultButton;
    std::u32string label =
        (isDefault ? U"<" : U"[") + platform::ToCodePoints(state->buttons[i].text) + (isDefault ? U">" : U"]");
    Style style = static_cast<int>(i) == state->focusedButton ? kInverse : kPlain;
    s.PutClipped(Intersect(inner, clip), buttons[i].left, buttons[i].top, label, buttons[i].Width(), style);
  }
}

void DrawTopLevel(Screen& s, const Window& w) {
  if (w.handle == platform::NavBarWindow()) {
    DrawNavBar(s, w);
  } else if (platform::SameClassName(w.className, u"menu_worker")) {
    DrawMenuBar(s, w);
  } else if (platform::SameClassName(w.className, u"MessageBox")) {
    DrawMessageBox(s, w);
  } else {
    // Dialogs and programs' own windows: a blank page under their controls.
    CellBox box = Intersect(BoxOf(w.rect), s.Bounds());
    if (box.Empty()) return;
    s.Fill(box, kPlain, box);
    DrawChildren(s, w, box);
  }
}

}  // namespace

Screen RenderScreen() {
  const device::Device& d = device::Current();
  Screen screen(PixelToColumn(d.ScreenWidth()), PixelToRow(d.ScreenHeight()));
  for (HWND h : platform::TopLevelOrder()) {
    const Window* w = platform::FindWindowObject(h);
    if (w && w->Visible()) DrawTopLevel(screen, *w);
  }
  return screen;
}

std::vector<std::string> RenderLines() { return RenderScreen().Lines(); }

}  // namespace frontend
