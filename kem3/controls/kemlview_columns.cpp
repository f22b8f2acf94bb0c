// The list view's column rules.
#include "kem3/controls/kemlview_columns.h"

int ClampColumnWidth(int Width, int MinWidth, int MaxWidth) {
  if (MinWidth > 0 && Width < MinWidth) return MinWidth;
  if (MaxWidth > 0 && Width > MaxWidth) return MaxWidth;
  return Width;
}
