// The tracker's arithmetic free of any window: thumb and track sizes, the x
// of a value and the value of a drag, paging towards the pointer, and the
// legend text.
#pragma once
#include <string_view>

#include "platform/geometry.h"
#include "platform/types.h"

enum TKemTrackerStyle { tsBar, tsUp, tsDown };

struct TTrackerGeometry {
  int Width = 100;
  int Height = 42;
  int TickHeight = 5;
  int SpaceVert = 4;
  int LegendHeight = 16;
  TKemTrackerStyle Style = tsUp;
  int Min = 0;
  int Max = 100;

  // Always odd (may be below 1 on a tracker too low for a thumb).
  int ThumbSize() const;
  int TrackHeight() const;
  int TrackTop() const;
  // The track's range cannot place the thumb: Max <= Min, a width not above
  // the thumb, or no thumb at all. The thumb then stays at the left end and
  // every place gives Min.
  bool Degenerate() const;
  // The x of the thumb's centre at Value.
  int ValueToX(int Value) const;
  // The value whose thumb centre lies at X, clamped to Min..Max.
  int XToValue(int X) const;
  // The thumb rectangle at Value (right and bottom inclusive edges excluded).
  TRect ThumbRect(int Value) const;
  // The band in which a press beside the thumb pages.
  bool InPagingBand(int Y) const;
};

// One repeat step of paging: Step (signed) from Position towards Target,
// landing on Target rather than passing it; Position when it is there already
// or the step leads away from it.
int TrackerPageStep(int Position, int Step, int Target);

// The legend: "  " + Caption + "  " as a pattern with one floating argument,
// (Position - Offset) * Scale, with "," shown as "."; empty when the pattern
// does not fit one float.
String TrackerLegend(std::string_view Caption, int Position, double Offset, double Scale);
