// Re-laying a live dialog's controls out from a dialog template resource.
#pragma once

#include "windows.h"

// Moves and sizes each control of |dialog| that template |templateId| of
// |module| lists to the template's place for it, in one deferred batch, and
// sets again the content the template gives it. TRUE only when every step
// succeeded and at most one item had no id. The template is read in place and
// never past the size of its resource; the extended form is refused.
BOOL ApplyTemplateLayout(HINSTANCE module, HWND dialog, UINT templateId);

// Sets again what |item| gives its control: a button's or static's text or
// image, a list box's or combo box's selection. |itemClass| and |itemTitle|
// are the item's class and title fields, already checked to lie within the
// template.
void RefreshControlContent(HINSTANCE module, HWND dialog, const DLGITEMTEMPLATE* item, const WORD* itemClass,
                           const WORD* itemTitle);
