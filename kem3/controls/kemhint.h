// Where the library's hint goes: the rectangle of a hint of Size shown at a
// point, aligned horizontally (0 left at the point, 1 centred, 2 right at it)
// and vertically (0 top, 1 centred, 2 bottom), always 16 pixels lower than
// the point, clear of the pointer.
#pragma once
#include <functional>

#include "platform/geometry.h"
#include "platform/types.h"

TRect HintRectAt(TPoint P, TSize Size, int HAlign, int VAlign);
// R moved (not sized) so that it lies inside Area: the right and bottom edges
// first, then the left and top, so a hint larger than the area shows its
// top left corner.
TRect KeepHintInside(TRect R, const TRect& Area);

// A hint no larger than Area: Text itself when its hint fits (Measure gives
// the hint's size for a text), else its longest head that fits with "…"
// after it. Measuring costs in proportion to the text, so a text longer than
// Area could ever show (a character every 2 pixels across, a line every 8
// down) is cut to that first, and the search measures few heads.
WideString FitHintText(const WideString& Text, TSize Area, const std::function<TSize(const WideString&)>& Measure);
