// The pictures of the editors' rows: the rounded frame behind each row and
// the small cross of its delete button.
#include "pictures.h"

namespace pictures {

using namespace art;

TArtCanvas PaneFramePicture() {
  // 18 x 18: corners of 6 and edges of 6 cut from it; the frame lays its own
  // fill colour over every pixel and keeps only the shape's alpha.
  TArtCanvas c(18, 18);
  const TShape pane = RoundRect(0.5, 0.5, 17.5, 17.5, 5);
  c.Fill(pane, Rgb(224, 224, 224));
  c.Fill(Outline(pane, 0.5), Rgb(200, 200, 200));
  c.Fill(RoundRect(1.5, 1.5, 16.5, 16.5, 4), Rgb(224, 224, 224));
  return c;
}

TArtCanvas ButtonClosePicture() {
  // 10 x 10: a cross of two strokes with round ends.
  TArtCanvas c(10, 10);
  const TColour ink = Rgb(80, 86, 94);
  c.Fill(Segment({1.8, 1.8}, {8.2, 8.2}, 0.9), ink);
  c.Fill(Segment({8.2, 1.8}, {1.8, 8.2}, 0.9), ink);
  return c;
}

}  // namespace pictures
