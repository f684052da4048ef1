// The one input path: every user action, whether it comes from a script line
// or from a key or a tap at the terminal, is carried out here, on the window
// model, as the device's touch screen and keys would.
#pragma once

#include <string>

#include "wintypes.h"

namespace frontend {

// The windows an action addresses, found afresh each time.
HWND MainDialog();      // the program's top-level dialog, or null
HWND MainList();        // the dialog's list view, or null
HWND MainMenuBar();     // the dialog's menu bar, or null
HWND OpenMessageBox();  // the message box waiting for an answer, or null

// Each returns an empty string on success, or what went wrong, in words for
// a script's error line.
std::string TapRow(int row, bool addToSelection);
std::string MoveMark(int row);
// A menu-bar button by its text, or an item of a popup by its text (the popup
// opens and the item is tapped).
std::string TapMenu(std::u16string_view text);
std::string SendCommand(int id);
std::string TapOk();
// Answers the open box with the button |id| (IDYES, IDNO, IDOK, IDCANCEL...).
std::string PressBox(int id);
std::string ChangeScreen(int width, int height);

}  // namespace frontend
