// The colour picker's grids, cells, hit tests, strip and value.
#include "kem3/controls/kemcedit_model.h"

#include <algorithm>

#include "platform/graphics.h"
#include "platform/lists.h"
#include "platform/mathutils.h"

TColor FloatToColor(const TFloatColor& C) {
  auto ch = [](double v) { return static_cast<int>(std::clamp<std::int64_t>(Round(v * 255), 0, 255)); };
  return RGBColor(ch(C.R), ch(C.G), ch(C.B));
}

const std::array<TColor, 72> kPickerGridColors = {
    0x000000, 0x003399, 0x003333, 0x003300, 0x663300, 0x800000, 0x993333, 0x333333,  //
    0x000080, 0x0066FF, 0x008080, 0x008000, 0x808000, 0xFF0000, 0x996666, 0x808080,  //
    0x0000FF, 0x0099FF, 0x00CC99, 0x669933, 0xCCCC33, 0xFF6633, 0x800080, 0x969696,  //
    0xFF00FF, 0x00CCFF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFFCC00, 0x663399, 0xC0C0C0,  //
    0xCC99FF, 0x99CCFF, 0x99FFFF, 0xCCFFCC, 0xFFFFCC, 0xFFCC99, 0xFF99CC, 0xFFFFFF,  //
    0x333366, 0x666699, 0x336666, 0x336633, 0x666633, 0x663333, 0x669966, 0x666666,  //
    0x333399, 0x6666CC, 0x339999, 0x339933, 0x999933, 0xCC3333, 0x66CC66, 0x999999,  //
    0x3333CC, 0x9999CC, 0x33CCCC, 0x33CC33, 0xCCCC66, 0xCC6666, 0x99CC99, 0xCCCCCC,  //
    0x99CCCC, 0x66CCCC, 0x33FFFF, 0x33FF33, 0xCCCC99, 0xCC9999, 0x999966, 0x669999,  //
};

TRect GridCellRect(int Index) { return Bounds(20 * (Index % kGridColumns), 20 * (Index / kGridColumns), 15, 15); }

int GridHeight(int Count) { return (Count / kGridColumns) * 20 - 5; }

int GridHit(int X, int Y, int Count) {
  if (X < 0 || Y < 0 || X % 20 >= 15 || Y % 20 >= 15 || X / 20 >= kGridColumns) return -1;
  const int i = (Y / 20) * kGridColumns + X / 20;
  return i < Count ? i : -1;
}

const std::array<TPoint, 17> kHexOutline = {{{0, 2},
                                             {0, 6},
                                             {1, 7},
                                             {2, 7},
                                             {3, 8},
                                             {4, 8},
                                             {5, 7},
                                             {6, 7},
                                             {7, 6},
                                             {7, 2},
                                             {6, 1},
                                             {5, 1},
                                             {4, 0},
                                             {3, 0},
                                             {2, 1},
                                             {1, 1},
                                             {0, 3}}};

bool HexHit(int X, int Y) {
  if (X < 0 || X >= kHexWidth || Y < 0 || Y >= kHexHeight) return false;
  if (Y == 0 || Y == 8) return X == 3 || X == 4;
  if (Y == 1 || Y == 7) return X >= 1 && X <= 6;
  return true;
}

namespace {

TFloatColor Mix(const TFloatColor& A, const TFloatColor& B, double t) {
  return {A.R + (B.R - A.R) * t, A.G + (B.G - A.G) * t, A.B + (B.B - A.B) * t};
}

}  // namespace

std::vector<THexCell> HoneycombCells(int Rings, const TFloatColor& Centre) {
  const int n = std::max(Rings, 1);
  const TPoint c0{8 * (n - 1), 7 * (n - 1)};
  static const TPoint kCorners[6] = {{8, 0}, {4, 7}, {-4, 7}, {-8, 0}, {-4, -7}, {4, -7}};
  static const TFloatColor kHues[6] = {{1, 0, 1}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}};
  std::vector<THexCell> cells{{c0, FloatToColor(Centre)}};
  for (int k = 1; k < n; ++k) {
    const double t = static_cast<double>(k) / (n - 1);
    for (int j = 0; j < 6; ++j) {
      const TPoint a = kCorners[j], b = kCorners[(j + 1) % 6];
      const TFloatColor ca = Mix(Centre, kHues[j], t), cb = Mix(Centre, kHues[(j + 1) % 6], t);
      for (int m = 0; m < k; ++m) {
        const TPoint at{c0.X + a.X * k + (b.X - a.X) * m, c0.Y + a.Y * k + (b.Y - a.Y) * m};
        cells.push_back({at, FloatToColor(Mix(ca, cb, static_cast<double>(m) / k))});
      }
    }
  }
  return cells;
}

TSize HoneycombSize(int Rings) {
  const int n = std::max(Rings, 1);
  return {16 * n - 8, 14 * n - 5};
}

int HexCellHit(const std::vector<THexCell>& Cells, int X, int Y) {
  int hit = -1;
  for (std::size_t i = 0; i < Cells.size(); ++i)
    if (HexHit(X - Cells[i].At.X, Y - Cells[i].At.Y)) hit = static_cast<int>(i);
  return hit;
}

int BrightnessGrey(int Y, int H) {
  if (H <= 1) return 255;
  return static_cast<int>(Round(static_cast<double>(H - Y - 1) * 255 / (H - 1)));
}

TFloatColor BrightnessCentre(int Position, int H) {
  const double g = H <= 1 ? 1.0 : static_cast<double>(H - Position - 1) / (H - 1);
  return {g, g, g};
}

std::vector<TGreyCell> GreyCells() {
  std::vector<TGreyCell> cells{{Bounds(0, 0, 20, 20), clWhite, true}};
  for (int i = 1; i <= 21; ++i) {
    const int g = (21 - (i - 1)) * 255 / 22;
    cells.push_back({Bounds(30 + 4 * (i - 1), i % 2 == 1 ? 1 : 8, kHexWidth, kHexHeight), RGBColor(g, g, g), false});
  }
  cells.push_back({Bounds(128, 0, 20, 20), clBlack, true});
  return cells;
}

bool LargeHexHit(int X, int Y) {
  if (X < 0 || X >= 20 || Y < 0 || Y >= 20) return false;
  // Flat sides left and right, points at the top and bottom: the width
  // narrows by two pixels a row over the top and bottom five rows.
  const int fromEdge = std::min(Y, 19 - Y);
  const int inset = fromEdge >= 5 ? 0 : 2 * (5 - fromEdge);
  return X >= inset && X < 20 - inset;
}

int GreyCellHit(const std::vector<TGreyCell>& Cells, int X, int Y) {
  int hit = -1;
  for (std::size_t i = 0; i < Cells.size(); ++i) {
    const TGreyCell& c = Cells[i];
    const int x = X - c.Bounds.Left, y = Y - c.Bounds.Top;
    if (c.Large ? LargeHexHit(x, y) : HexHit(x, y)) hit = static_cast<int>(i);
  }
  return hit;
}

TColor TColorPickerModel::Color(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FColors[Index];
}

const String& TColorPickerModel::TextName(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FNames[Index];
}

int TColorPickerModel::AddColor(TColor Color, const String& TextName) {
  FColors.push_back(Color);
  FNames.push_back(TextName);
  if (FSelected < 0) SetSelected(0);
  return Count() - 1;
}

void TColorPickerModel::SetValue(TColor Value) {
  FValue = Value;
  if (FSelected >= 0) FColors[FSelected] = Value;
}

bool TColorPickerModel::SetSelected(int Index) {
  if (Index < 0 || Index >= Count()) return false;
  FSelected = Index;
  FValue = FColors[Index];
  return true;
}

bool TColorPickerModel::ChannelsChanged(int R, int G, int B) {
  if (FApplying) return false;
  SetValue(RGBColor(std::clamp(R, 0, 255), std::clamp(G, 0, 255), std::clamp(B, 0, 255)));
  return true;
}
