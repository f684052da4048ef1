// The shape of the screen, which picks the dialog's layout.
#pragma once

enum ScreenShape { shapeWide = -1, shapeSquare = 0, shapeTall = 1 };

// Reads the screen's width, then its height, afresh on every call.
ScreenShape GetScreenShape();
