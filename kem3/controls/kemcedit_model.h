// The colour picker free of any window: the fixed grid of colours, the
// honeycomb's cells and colours, the brightness strip, the grey cells, their
// hit tests, and the picker's value and named colours.
#pragma once
#include <array>
#include <vector>

#include "platform/geometry.h"
#include "platform/types.h"

// A colour in three channels 0..1.
struct TFloatColor {
  double R = 0, G = 0, B = 0;
};
// Each channel times 255, rounded.
TColor FloatToColor(const TFloatColor& C);

// ---- Grid of fixed colours: 15 x 15 cells every 20 pixels, 8 a row.
extern const std::array<TColor, 72> kPickerGridColors;
inline constexpr int kGridColumns = 8;
TRect GridCellRect(int Index);
// The height of a grid of Count colours.
int GridHeight(int Count);
// The colour index under (X, Y); -1 in a gap or outside Count.
int GridHit(int X, int Y, int Count);

// ---- Hexagonal cells, 8 wide and 9 high.
struct THexCell {
  TPoint At;  // top left
  TColor Color;
};
inline constexpr int kHexWidth = 8, kHexHeight = 9;
// The outline from the cell's top left.
extern const std::array<TPoint, 17> kHexOutline;
// Whether (X, Y), relative to a cell's top left, lies inside the cell.
bool HexHit(int X, int Y);

// The honeycomb of Rings rings (at least 1) round Centre: 3N(N - 1) + 1 cells,
// the centre first, then ring by ring from the right corner round.
std::vector<THexCell> HoneycombCells(int Rings, const TFloatColor& Centre);
TSize HoneycombSize(int Rings);
// The last cell whose hexagon holds (X, Y); -1 for none.
int HexCellHit(const std::vector<THexCell>& Cells, int X, int Y);

// ---- Brightness strip H pixels high.
// The grey of row Y: white at the top, black at the bottom.
int BrightnessGrey(int Y, int H);
// The honeycomb's centre for the pointer at Position.
TFloatColor BrightnessCentre(int Position, int H);

// ---- Grey cells: a large white cell, 21 small greys, a large black cell.
struct TGreyCell {
  TRect Bounds;
  TColor Color;
  bool Large;
};
std::vector<TGreyCell> GreyCells();
// Whether (X, Y), relative to a large cell's top left, lies in its 20 x 20 hexagon.
bool LargeHexHit(int X, int Y);
int GreyCellHit(const std::vector<TGreyCell>& Cells, int X, int Y);

// ---- The picker's value and its named colours.
class TColorPickerModel {
 public:
  TColor Value() const { return FValue; }
  int Selected() const { return FSelected; }
  int Count() const { return static_cast<int>(FColors.size()); }
  TColor Color(int Index) const;
  const String& TextName(int Index) const;

  // Appends a named colour; the first one added to a picker with nothing
  // selected becomes the selected one. Returns its index.
  int AddColor(TColor Color, const String& TextName);
  // Sets the value; the selected named colour takes it too.
  void SetValue(TColor Value);
  // Selects a named colour (ignored outside the list) and takes its colour.
  bool SetSelected(int Index);
  // The three channel fields changed: ignored while the value is being put
  // into them (Applying).
  bool ChannelsChanged(int R, int G, int B);
  bool Applying() const { return FApplying; }
  void SetApplying(bool Value) { FApplying = Value; }

 private:
  TColor FValue = 0xC0C0C0;
  int FSelected = -1;
  bool FApplying = false;
  std::vector<TColor> FColors;
  std::vector<String> FNames;
};
