// A dialog template parsed into plain values, for creating a dialog.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "winuser.h"

namespace platform {

struct DialogItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  WORD id = 0;
  std::u16string className;  // ordinals become their class names
  bool titleIsOrdinal = false;
  WORD titleOrdinal = 0;
  std::u16string title;
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::u16string className;  // empty: the dialog class
  std::u16string title;
  WORD pointSize = 0;
  std::u16string typeface;
  std::vector<DialogItem> items;
};

// Reads a standard template of at most |size| bytes. Extended templates and
// malformed or truncated data are refused.
bool ParseDialogTemplate(const void* data, std::size_t size, DialogTemplate* out);

}  // namespace platform
