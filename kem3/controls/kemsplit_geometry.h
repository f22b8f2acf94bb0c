// The splitter's arithmetic without windows: which neighbour it resizes, how
// far a drag may go, the relative ratio, which splitters cross, and where the
// grips and body parts go.
#pragma once
#include <vector>

#include "platform/controls_types.h"
#include "platform/geometry.h"

enum TKemSplitMode { smAbsolute, smRelative };

// Left and right splitters move along X; top and bottom ones along Y.
constexpr bool SplitAlongX(TAlign Align) { return Align == alLeft || Align == alRight; }
// The point just outside the splitter on its aligned side, where its neighbour is.
TPoint SplitProbe(TAlign Align, const TRect& Bounds);
// The largest size the neighbour may take: the parent's extent on the axis,
// less MinSize and the extents of every control aligned on that axis, plus
// what the neighbour holds now.
int SplitLimit(int ParentExtent, int MinSize, int AlignedExtents, int NeighbourSize);

struct TSplitMove {
  int Size;    // the neighbour's new size
  int Offset;  // the pointer's offset, less what the clamping took away
};
// A drag by Offset pixels (pointer minus press point on the axis) from a
// neighbour of StartSize. The size stays within MinSize..Limit; a limit below
// MinSize leaves no room to move at all.
TSplitMove SplitDrag(TAlign Align, int StartSize, int Offset, int MinSize, int Limit);

// The ratio a neighbour of NeighbourSize holds in a parent of ParentExtent. A
// parent no larger than the bar gives no ratio: Previous is kept.
double SplitRatio(int NeighbourSize, int ParentExtent, int SplitSize, double Previous);
// The neighbour's size for Ratio: round((ParentExtent - SplitSize) * Ratio), at least MinSize.
int SplitRelativeSize(int ParentExtent, int SplitSize, double Ratio, int MinSize);

// Two splitters on one parent cross when one is horizontal and the other
// vertical and their rectangles, each grown by one pixel, meet.
bool SplittersCross(TAlign AlignA, const TRect& A, TAlign AlignB, const TRect& B);
// The rectangle in which the pointer counts as over the crossing of a splitter.
TRect SplitCrossArea(const TRect& Bounds);

// The starts of Count grips of GripLength along Length, the row centred (start rounded).
std::vector<int> SplitGripStarts(int Length, int GripLength, int Count);

// A body image cut in three along the length: the first and last part at the
// ends, the middle tiled between. Starts and lengths along the splitter.
struct TSplitBodyPiece {
  int Source;  // start in the image
  int Dest;    // start on the splitter
  int Length;
};
std::vector<TSplitBodyPiece> SplitBodyPieces(int ImageLength, int Length);
