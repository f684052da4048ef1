// The platform's built-in control classes: their registration, the entry
// points through which front ends feed user input to them, and read access
// for the renderer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "gdi_objects.h"
#include "wintypes.h"

namespace platform {

struct ListViewState;

// --- Registration ----------------------------------------------------------------
void RegisterListViewClass();  // "SysListView32"
void RegisterStaticClass();    // "Static"
void RegisterButtonClass();    // "Button"
void RegisterListBoxClass();   // "ListBox"
void RegisterComboBoxClass();  // "ComboBox"

// --- List view -------------------------------------------------------------------
const ListViewState* ListViewOf(HWND list);
// Whole rows that fit below the header inside the border.
int ListViewVisibleRows(HWND list);
// The row at |y| in the list's client coordinates, or -1 (header, border, past the end).
int ListViewRowAt(HWND list, int y);
// A tap on |row|: it becomes the only selected row (or joins the selection with
// |addToSelection|), the mark and the focused row; NM_CLICK goes to the parent.
bool ListViewTapRow(HWND list, int row, bool addToSelection);
// Keyboard movement: |target| (clamped) becomes the only selected row and the mark.
bool ListViewMoveMark(HWND list, int target);

// --- Image lists -----------------------------------------------------------------
const std::vector<Image>* ImageListImages(HIMAGELIST list);
std::size_t LiveImageLists();
// Releases every image list, for a fresh boot of the device.
void ResetImageLists();

// --- Static controls and buttons -------------------------------------------------
// The pictures a static control or a button shows; each kind is kept apart.
struct ImageSlots {
  HICON icon = nullptr;
  HBITMAP bitmap = nullptr;
};
// Handles STM_SETIMAGE/STM_GETIMAGE/STM_SETICON/STM_GETICON for either class.
bool ImageSlotMessage(ImageSlots& slots, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
const ImageSlots* StaticImages(HWND control);
const ImageSlots* ButtonImages(HWND button);
// A click: WM_COMMAND(id, BN_CLICKED) to the parent. False for a stale or disabled button.
bool ButtonTap(HWND button);

// --- List boxes and combo boxes --------------------------------------------------
struct ChoiceList {
  std::vector<std::u16string> items;
  int selection = -1;
};
const ChoiceList* ListBoxOf(HWND list);
const ChoiceList* ComboBoxOf(HWND combo);

}  // namespace platform
