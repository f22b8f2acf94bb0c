// The mark-up of skinned panel item texts, free of any window: a text splits
// at tabs into columns; inside a column, brace groups set how the text after
// them is drawn ("{b}", "{fs:2}", "{fl:0000ff:808080}", "{mv:3}", "{sl}",
// "{c}", "{r}"), and a carriage return right after a group starts a new line.
// The layout places every run of text from the runs' measured sizes.
#pragma once
#include <functional>
#include <vector>

#include "platform/geometry.h"
#include "platform/graphics.h"
#include "platform/types.h"

enum TVosRunAlign { vraLeft, vraCenter, vraRight };

// How a run of text is drawn, as the brace groups before it set it.
struct TVosRunStyle {
  TFontStyles Style;
  int SizeDelta = 0;
  TColor ColorEnabled = clNone;   // clNone: the text drawing's own colour
  TColor ColorDisabled = clNone;  // (both written blue-green-red)
  int MoveDown = 0;
  bool SingleLine = false;
  TVosRunAlign Align = vraLeft;
  friend bool operator==(const TVosRunStyle&, const TVosRunStyle&) = default;
};

struct TVosMarkupRun {
  WideString Text;
  TVosRunStyle Style;
  bool NewLine = false;  // starts a new line at the column's left
  friend bool operator==(const TVosMarkupRun&, const TVosMarkupRun&) = default;
};

// The runs of one column. A group sets the whole style anew from its codes
// (no "b", "i" or "u": plain); an unclosed "{" is text. Empty runs are kept
// only where they start a line.
std::vector<TVosMarkupRun> VosParseMarkup(const WideString& Column);

// A run placed in the item's rectangle.
struct TVosPlacedRun {
  WideString Text;
  TVosRunStyle Style;
  TRect Rect;
};

// Lays out a whole item text in Rect: columns start at Rect's left plus their
// tab stop (a negative stop counts from the right edge; a column beyond the
// stops continues after the previous one). Lines are LineHeight apart; a run
// never starts left of the end of the one before it on its line. Measure gives
// a run's width in its style.
std::vector<TVosPlacedRun> VosLayoutMarkup(const WideString& Text, const TRect& Rect, const std::vector<int>& TabStops,
                                           int LineHeight,
                                           const std::function<int(const WideString&, const TVosRunStyle&)>& Measure);
