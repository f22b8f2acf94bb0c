// The sunken frame round the library's entry fields (drop-down list, spin
// edit, edit): one routine, so the three look alike.
#pragma once
#include "platform/canvas_win.h"
#include "platform/geometry.h"

struct TFieldColors {
  TColor Highlight;
  TColor Shadow;
  TColor Frame;
  TColor Spark;
  TColor Color;  // the field's inside
};

// Flat: one ColorFrame line round R, then two rings in Color. Raised: the
// two-pixel sunken edge (shadow and frame above and left, highlight and spark
// below and right), then one ring in Color. The inside is left as it is.
void DrawFieldFrame(TCanvas* Canvas, const TRect& R, const TFieldColors& Colors, bool Flat);
