// Where the library's hint goes: the rectangle of a hint of Size shown at a
// point, aligned horizontally (0 left at the point, 1 centred, 2 right at it)
// and vertically (0 top, 1 centred, 2 bottom), always 16 pixels lower than
// the point, clear of the pointer.
#pragma once
#include "platform/geometry.h"

TRect HintRectAt(TPoint P, TSize Size, int HAlign, int VAlign);
// R moved (not sized) so that it lies inside Area: the right and bottom edges
// first, then the left and top, so a hint larger than the area shows its
// top left corner.
TRect KeepHintInside(TRect R, const TRect& Area);
