// The device's screen as text: a grid of cells, one per 8 x 16 pixels, drawn
// from the platform's window model.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gdi_objects.h"

namespace platform {
struct Window;
}

namespace frontend {

struct Style {
  std::uint32_t fg = 0, bg = 0;  // 0xRRGGBB, meaningful with hasColour
  bool hasColour = false;
  bool inverse = false;
  bool bold = false;
};

struct Cell {
  char32_t ch = U' ';
  bool wideTail = false;  // the right half of the wide character in the cell before
  std::uint32_t fg = 0, bg = 0;
  bool hasColour = false;
  bool inverse = false;
  bool bold = false;
};

// A text column's cell range [left, right) and row range [top, bottom).
struct CellBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

class Screen {
 public:
  Screen(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  // Outside the grid this is a scratch cell that is never shown.
  Cell& At(int x, int y);
  const Cell& At(int x, int y) const;

  // Writes |text| from (x, y) over at most |maxCells| cells, and never past
  // |clip| or the screen. A wide character that would straddle the limit
  // leaves a blank instead. Returns the cells taken.
  int Put(int x, int y, std::u16string_view text, int maxCells, const Style& style = {});
  int Put(int x, int y, std::u32string_view text, int maxCells, const Style& style = {});
  int PutClipped(const CellBox& clip, int x, int y, std::u32string_view text, int maxCells, const Style& style);

  // Blanks every cell of |box| (clipped to |clip|) in |style|.
  void Fill(const CellBox& box, const Style& style, const CellBox& clip);

  // UTF-8 rows, full width; a wide character appears once.
  std::vector<std::string> Lines() const;

  CellBox Bounds() const { return CellBox{0, 0, width_, height_}; }

 private:
  void Set(int x, int y, char32_t ch, const Style& style);
  void Unpair(int x, int y);

  int width_;
  int height_;
  std::vector<Cell> cells_;
  Cell scratch_;
};

// A picture as two cells: a glyph picked from the image's own colours, then a
// blank. An image with no opaque pixel has no glyph (ch is a blank).
struct IconGlyph {
  char32_t ch = U' ';
  std::uint32_t colour = 0;  // the average colour of the opaque pixels, 0xRRGGBB
};
IconGlyph GlyphOf(const platform::Image& image);

// Pixels to cells, rounding halves up; the same rule serves every edge.
int PixelToColumn(int x);
int PixelToRow(int y);
CellBox BoxOf(const RECT& r);
CellBox Intersect(const CellBox& a, const CellBox& b);

// Where the screen's controls are drawn. The renderer draws with these and
// the terminal hit-tests with them, so a tap lands on what is seen.

// A list view: inside its border, and the text rows it shows under its
// header (as many as its pixels hold, never past the inside).
struct ListLayout {
  CellBox inner;
  CellBox rows;
};
ListLayout ListCells(const platform::Window& list);

// A menu bar's buttons, one per item, cut to the bar.
std::vector<CellBox> MenuButtonCells(HWND bar);

// A menu bar's open popup: the button it belongs to (-1 when none is open),
// its frame, and a row inside the frame's sides per item, separators too.
struct PopupLayout {
  int button = -1;
  CellBox frame;
  std::vector<CellBox> items;
};
PopupLayout PopupCells(HWND bar);

// A message box's buttons, one per button, cut to the inside of its frame.
std::vector<CellBox> BoxButtonCells(HWND box);

// The navigation bar's OK; empty when the bar is hidden or shows none.
CellBox NavOkCells();

// The current device's screen.
Screen RenderScreen();
std::vector<std::string> RenderLines();

}  // namespace frontend
