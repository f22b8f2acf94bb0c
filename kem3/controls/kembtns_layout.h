// The button set's arithmetic, free of any window: its pages (caption, gap,
// far-end flag) read from page lines or given whole, the bar's thickness, the
// place of every page button along the bar in the three directions, hits,
// swapping two pages during a drag, and the pages an accelerator names.
#pragma once
#include <vector>

#include "kem3/controls/kemtextmeasure.h"
#include "platform/geometry.h"
#include "platform/set.h"
#include "platform/types.h"

enum TKemButtonSetDirection { bsdHorizontal, bsdVerticalUp, bsdVerticalDown };
enum TKemButtonSetOption { bsoDragReorder };
using TKemButtonSetOptions = Set<TKemButtonSetOption>;

// Pixels a held button must travel (strictly more, in x or y) to start a drag.
inline constexpr int ButtonSetDragThreshold = 5;

// One page button.
struct TKemPage {
  WideString Caption;
  int Gap = 0;          // pixels left free before the button along the bar
  bool FarEnd = false;  // placed at the far end of the bar
  friend bool operator==(const TKemPage&, const TKemPage&) = default;
};

// A page line: with a comma, the caption is the text before the first comma
// and the gap the integer after it (0 when not a number); otherwise the
// caption is the text before the first colon, and the button goes to the far
// end when the text after that colon is exactly "1".
TKemPage ParsePageLine(const WideString& Line);

// What the arrangement needs besides the pages.
struct TButtonSetGeometry {
  TKemButtonSetDirection Direction = bsdHorizontal;
  int Width = 0;  // the bar's client size
  int Height = 0;
  bool Border = false;  // a bevel of one pixel around the bar
  int SpaceAbove = 0;
  int SpaceBelow = 0;
  int ButtonWidth = 0;  // length along the bar; 0 or less: from the caption
  bool ShowAccelChar = true;
};

// The bar's thickness across (its height when horizontal, else its width):
// ButtonHeight, or when it is 0 or less the text height of "W" plus both
// spaces plus 2; then SpaceInner, and 2 more with a border.
int ButtonSetThickness(int ButtonHeight, int TextHeightW, int SpaceAbove, int SpaceBelow, int SpaceInner, bool Border);

// A button's length along the bar: ButtonWidth, or the caption's text width
// (without its accelerator marks when they are shown as underlines) plus 10.
int PageButtonLength(const TKemPage& Page, const TButtonSetGeometry& Geometry, ITextMeasure& Measure);

// The rectangle of every page button in the bar's client coordinates, in page
// order. Horizontal buttons run rightwards from the left edge, bsdVerticalDown
// downwards from the top, bsdVerticalUp upwards from the bottom; each ordinary
// button leaves its gap before it, far-end buttons sit flush with the far edge
// and do not move the others.
std::vector<TRect> ArrangeButtonSet(const std::vector<TKemPage>& Pages, const TButtonSetGeometry& Geometry,
                                    ITextMeasure& Measure);

// The first rectangle that holds P strictly inside (its edges excluded), or -1.
int ButtonAtPos(const std::vector<TRect>& Rects, TPoint P);

// Whether a pointer at Now has left Press by more than the threshold in x or y.
bool DragThresholdPassed(TPoint Press, TPoint Now, int Threshold = ButtonSetDragThreshold);

// Exchanges pages A and B (both valid); an index naming one of them (the
// selected page) follows it to its new place.
void SwapPages(std::vector<TKemPage>& Pages, int A, int B, int& Index);

// The pages whose caption marks Key (upper-cased A-Z or 0-9) as its
// accelerator, in page order.
std::vector<int> PagesWithAccel(const std::vector<TKemPage>& Pages, WideChar Key);
