// The splitter's arithmetic.
#include "kem3/controls/kemsplit_geometry.h"

#include <cmath>

TPoint SplitProbe(TAlign Align, const TRect& R) {
  switch (Align) {
    case alBottom:
      return Point(R.Left, R.Bottom);
    case alLeft:
      return Point(R.Left - 1, R.Top);
    case alRight:
      return Point(R.Right, R.Top);
    default:
      return Point(R.Left, R.Top - 1);
  }
}

int SplitLimit(int ParentExtent, int MinSize, int AlignedExtents, int NeighbourSize) {
  return ParentExtent - MinSize - AlignedExtents + NeighbourSize;
}

TSplitMove SplitDrag(TAlign Align, int StartSize, int Offset, int MinSize, int Limit) {
  if (Limit < MinSize) return {StartSize, 0};
  // Top and left neighbours grow with the pointer, bottom and right ones against it.
  const int sign = Align == alBottom || Align == alRight ? -1 : 1;
  const int wanted = StartSize + sign * Offset;
  const int size = std::clamp(wanted, MinSize, Limit);
  return {size, Offset - sign * (wanted - size)};
}

double SplitRatio(int NeighbourSize, int ParentExtent, int SplitSize, double Previous) {
  if (ParentExtent <= SplitSize) return Previous;
  return static_cast<double>(NeighbourSize) / (ParentExtent - SplitSize);
}

int SplitRelativeSize(int ParentExtent, int SplitSize, double Ratio, int MinSize) {
  return std::max(MinSize, static_cast<int>(std::lround((ParentExtent - SplitSize) * Ratio)));
}

TRect SplitCrossArea(const TRect& R) { return Rect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1); }

bool SplittersCross(TAlign AlignA, const TRect& A, TAlign AlignB, const TRect& B) {
  const bool a = SplitAlongX(AlignA), b = SplitAlongX(AlignB);
  const bool aSplits = AlignA >= alTop && AlignA <= alRight, bSplits = AlignB >= alTop && AlignB <= alRight;
  if (!aSplits || !bSplits || a == b) return false;
  TRect common;
  return IntersectRect(common, SplitCrossArea(A), SplitCrossArea(B));
}

std::vector<int> SplitGripStarts(int Length, int GripLength, int Count) {
  std::vector<int> starts;
  if (Count <= 0 || GripLength <= 0) return starts;
  const int first = static_cast<int>(std::lround((Length - Count * GripLength) / 2.0));
  for (int i = 0; i < Count; ++i) starts.push_back(first + i * GripLength);
  return starts;
}

std::vector<TSplitBodyPiece> SplitBodyPieces(int ImageLength, int Length) {
  std::vector<TSplitBodyPiece> pieces;
  const int part = ImageLength / 3;
  if (part <= 0 || Length <= 0) return pieces;
  const int ends = std::min(part, Length / 2);
  pieces.push_back({0, 0, ends});
  for (int x = ends; x < Length - ends; x += part) pieces.push_back({part, x, std::min(part, Length - ends - x)});
  pieces.push_back({3 * part - ends, Length - ends, ends});
  return pieces;
}
