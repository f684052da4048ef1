// Menus loaded from menu resources.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "handle_table.h"
#include "wintypes.h"

namespace platform {

struct MenuItem {
  std::u16string text;  // empty for a separator
  UINT id = 0;          // command id; 0 for a popup or a separator
  bool separator = false;
  bool grayed = false;
  std::vector<MenuItem> popup;  // the items of a popup; empty for a command
  bool IsPopup() const { return !popup.empty(); }
};

struct MenuObject {
  std::vector<MenuItem> items;
};

HandleTable<MenuObject>& Menus();

// Parses a standard (not extended) menu resource. Returns false on malformed
// or truncated data.
bool ParseMenuResource(const void* data, std::size_t size, MenuObject* menu);

}  // namespace platform
