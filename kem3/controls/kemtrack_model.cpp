// The tracker's geometry, paging and legend.
#include "kem3/controls/kemtrack_model.h"

#include <algorithm>

#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/mathutils.h"

int TTrackerGeometry::ThumbSize() const {
  int b = Height - TickHeight - 2 * SpaceVert - LegendHeight - 2;
  if (b % 2 == 0) --b;
  return b;
}

int TTrackerGeometry::TrackHeight() const {
  int h = Height - TickHeight - 2 * SpaceVert - LegendHeight;
  if (Style == tsBar) h -= TickHeight;
  return h;
}

int TTrackerGeometry::TrackTop() const { return Style == tsDown ? SpaceVert : TickHeight + SpaceVert; }

bool TTrackerGeometry::Degenerate() const {
  const int b = ThumbSize();
  return Max <= Min || b < 1 || Width <= b;
}

int TTrackerGeometry::ValueToX(int Value) const {
  const int b = std::max(ThumbSize(), 0);
  if (Degenerate()) return (b + 1) / 2;
  const double v = std::clamp(Value, Min, Max);
  return static_cast<int>(Round((v - Min) * (Width - b) / (static_cast<double>(Max) - Min))) + (b + 1) / 2;
}

int TTrackerGeometry::XToValue(int X) const {
  if (Degenerate()) return Min;
  const int b = ThumbSize();
  const double range = static_cast<double>(Max) - Min;
  const double v = Round((static_cast<double>(X) - (b + 1) / 2) / (Width - b) * range) + static_cast<double>(Min);
  return static_cast<int>(std::clamp(v, static_cast<double>(Min), static_cast<double>(Max)));
}

TRect TTrackerGeometry::ThumbRect(int Value) const {
  const int b = ThumbSize();
  const int c = TrackHeight() + 2 * SpaceVert;
  const int h = (b + 1) / 2 - 1;
  const int left = ValueToX(Value) - h;
  const int top = Style == tsDown ? 0 : TickHeight;
  return Rect(left, top, left + b - 1, top + c - 1);
}

bool TTrackerGeometry::InPagingBand(int Y) const {
  const int top = TrackTop();
  return Y >= top && Y < top + TrackHeight();
}

int TrackerPageStep(int Position, int Step, int Target) {
  if (Step > 0 && Position < Target) return std::min(Position + Step, Target);
  if (Step < 0 && Position > Target) return std::max(Position + Step, Target);
  return Position;
}

String TrackerLegend(std::string_view Caption, int Position, double Offset, double Scale) {
  String pattern = "  ";
  pattern.append(Caption);
  pattern += "  ";
  String text;
  try {
    text = Format(pattern, {(Position - Offset) * Scale});
  } catch (const EConvertError&) {
    return String();
  }
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}
