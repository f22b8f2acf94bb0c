// Measuring text for layout arithmetic: the control hands its canvas in on
// Windows, tests hand in a fake, so layouts are computed without the system.
#pragma once
#include "platform/geometry.h"
#include "platform/types.h"

struct ITextMeasure {
  virtual ~ITextMeasure() = default;
  // The pixel extent of Text drawn on one line in the measurer's font.
  virtual TSize TextExtent(const WideString& Text) = 0;
  int TextWidth(const WideString& Text) { return TextExtent(Text).cx; }
  int TextHeight(const WideString& Text) { return TextExtent(Text).cy; }
};
