// What a list view keeps: columns, rows and the selection, read by the
// renderer and by the user-input entry points.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "commctrl.h"
#include "window_objects.h"

namespace platform {

struct ListViewColumn {
  std::u16string text;
  int width = 0;
  int fmt = LVCFMT_LEFT;
  int subItem = 0;  // which cell of a row this column shows
};

struct ListViewRow {
  std::vector<std::u16string> cells;  // cells[0] is the item text; missing cells are empty
  int image = I_IMAGENONE;
  UINT state = 0;  // LVIS_SELECTED, LVIS_FOCUSED
  LPARAM param = 0;
};

struct ListViewState : ControlState {
  std::vector<ListViewColumn> columns;
  std::deque<ListViewRow> rows;  // a deque so that inserting at the top stays cheap
  int mark = -1;                 // selection mark
  int focus = -1;                // the row carrying LVIS_FOCUSED, so moving focus needs no scan
  int top = 0;                   // first visible row
  DWORD extendedStyle = 0;
  HIMAGELIST smallImages = nullptr;
  HIMAGELIST normalImages = nullptr;
};

// Geometry shared by drawing and hit-testing.
constexpr int kListViewHeaderHeight = 16;
constexpr int kListViewRowHeight = 16;

}  // namespace platform
