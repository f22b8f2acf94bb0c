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

// The most lines a hint's text takes: a longer text is cut after them.
inline constexpr int kHintMaxLines = 10;

// Text in lines that each fit Width as LineWidth measures a line: broken at
// the last blank that leaves the line fitting, inside a word only where the
// word alone is wider; the text's own line breaks stay. A text that needs
// more than MaxLines lines ends with "…" on the last. Lines are joined by
// CR LF. Each line costs a few measurements of at most Width + 1 characters,
// however long the text.
WideString BreakHintLines(const WideString& Text, int Width, int MaxLines,
                          const std::function<int(const WideString&)>& LineWidth);

// A hint no larger than Area: Text itself when its hint fits (Measure gives
// the hint's size for a text), else its longest head that fits with "…"
// after it. Measuring costs in proportion to the text, so a text longer than
// Area could ever show (a character every 2 pixels across, a line every 8
// down) is cut to that first, and the search measures few heads.
WideString FitHintText(const WideString& Text, TSize Area, const std::function<TSize(const WideString&)>& Measure);
