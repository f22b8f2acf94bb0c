// The label's arithmetic free of any window: the text to measure, the box the
// text is laid out in for each reading direction, the vertical offset of its
// layout and the automatic size.
#pragma once
#include "platform/controls_types.h"
#include "platform/geometry.h"
#include "platform/types.h"

enum TKemDirection { tdLeftRight, tdRightLeft, tdTopBottom, tdBottomTop };

struct TLabelSpaces {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// The two directions that read down or up lay the text out turned.
constexpr bool LabelTurned(TKemDirection Direction) { return Direction == tdTopBottom || Direction == tdBottomTop; }

// Measuring an empty caption, or a lone "&" that marks nothing, measures a
// blank instead, so an auto-sized label never shrinks to nothing.
WideString LabelMeasureText(const WideString& Caption, bool ShowAccelChar);

// The box the text is laid out in (before turning) for a control area of
// Area: its width and height swapped for the turned directions.
TSize LabelTextBox(TKemDirection Direction, TSize Area);

// How far the text goes down in a box BoxHeight high when it measures
// TextHeight: 0 at the top, half the rest centred, all of it at the bottom.
int LabelLayoutOffset(TTextLayout Layout, int BoxHeight, int TextHeight);

// The width to measure the text in: with word wrap the label's own width
// along the reading direction (less the margins), else 0 (one line per line).
int LabelMeasureWidth(TKemDirection Direction, bool WordWrap, TSize Current, const TLabelSpaces& Spaces);

// The automatic size for a text that measures Text along its reading
// direction: turned directions swap it; margins come on top; with word wrap
// the size along the reading direction stays as it is.
TSize LabelAutoSize(TKemDirection Direction, TSize Text, bool WordWrap, TSize Current, const TLabelSpaces& Spaces);
