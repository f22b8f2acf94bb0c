// The panel scroller's arithmetic.
#include "kem3/controls/kemscroll_geometry.h"

#include <algorithm>
#include <cstdint>

bool TScrollerRange::SetPosition(int Value) {
  Value = std::clamp(Value, 0, FLength - 1);
  if (Value == FPosition) return false;
  FLastPosition = FPosition;
  FPosition = Value;
  return true;
}

bool TScrollerRange::SetLength(int Value) {
  FLength = std::max(Value, 2);
  // A length of one position is kept as two (the thumb arithmetic divides by
  // Length - 1), yet the position still falls back to the single one there is.
  const int limit = std::max(Value, 1);
  if (FPosition < limit) return false;
  FLastPosition = FPosition;
  FPosition = limit - 1;
  return true;
}

void TScrollerRange::SetStep(int Value) {
  FStep = std::max(Value, 1);
  FPageStep = 4 * FStep;
}

bool TScrollerRange::StepBack() {
  if (FPosition <= 0) return false;
  return SetPosition(FPosition - FStep);
}

bool TScrollerRange::StepForward() {
  if (FPosition + 1 >= FLength) return false;
  return SetPosition(FPosition + FStep);
}

TScrollerThumb ScrollerThumb(int Along, int ButtonSize, int Length, int Position, int MinThumb) {
  const int track = Along - 2 * ButtonSize;
  const int size = std::max(track - Length, MinThumb);
  if (size >= track) return {Along / 2, Along / 2, false};
  // Long lists give large lengths and positions: the product is taken in 64 bits.
  const int free = track - size;
  const int start =
      static_cast<int>(std::int64_t{free} * std::clamp(Position, 0, Length - 1) / std::max(Length - 1, 1)) + ButtonSize;
  return {start, start + size, true};
}

TScrollerHit ScrollerHitTest(const TScrollerThumb& Thumb, int At) {
  if (At < Thumb.Start) return shBefore;
  if (At >= Thumb.End) return shAfter;
  return shThumb;
}

int ScrollerDragPosition(int StartPosition, int Offset, int Along, int ButtonSize, const TScrollerThumb& Thumb,
                         int Length) {
  const int free = Along - 2 * ButtonSize - Thumb.Size();
  if (!Thumb.Room || free <= 0) return StartPosition;
  const std::int64_t moved = std::int64_t{Offset} * Length / free;
  return static_cast<int>(std::clamp<std::int64_t>(StartPosition + moved, 0, Length - 1));
}

TRect ScrollerThumbRect(TScrollerDirection Direction, int Thickness, const TScrollerThumb& Thumb) {
  if (!Thumb.Room) return {};
  if (Direction == sdVertical) return Rect(0, Thumb.Start, Thickness, Thumb.End);
  return Rect(Thumb.Start, 0, Thumb.End, Thickness);
}
