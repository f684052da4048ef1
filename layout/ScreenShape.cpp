#include "ScreenShape.h"

#include "windows.h"

ScreenShape GetScreenShape() {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  if (height > width) return shapeTall;
  return height == width ? shapeSquare : shapeWide;
}
