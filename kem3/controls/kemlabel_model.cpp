// The label's text box, offsets and automatic size.
#include "kem3/controls/kemlabel_model.h"

#include <algorithm>

WideString LabelMeasureText(const WideString& Caption, bool ShowAccelChar) {
  if (Caption.empty() || (ShowAccelChar && Caption == u"&")) return Caption + u" ";
  return Caption;
}

TSize LabelTextBox(TKemDirection Direction, TSize Area) {
  return LabelTurned(Direction) ? TSize{Area.cy, Area.cx} : Area;
}

int LabelLayoutOffset(TTextLayout Layout, int BoxHeight, int TextHeight) {
  if (Layout == tlCenter) return (BoxHeight - TextHeight) / 2;
  if (Layout == tlBottom) return BoxHeight - TextHeight;
  return 0;
}

int LabelMeasureWidth(TKemDirection Direction, bool WordWrap, TSize Current, const TLabelSpaces& Spaces) {
  if (!WordWrap) return 0;
  const int along =
      LabelTurned(Direction) ? Current.cy - Spaces.Top - Spaces.Bottom : Current.cx - Spaces.Left - Spaces.Right;
  return std::max(along, 1);
}

TSize LabelAutoSize(TKemDirection Direction, TSize Text, bool WordWrap, TSize Current, const TLabelSpaces& Spaces) {
  const TSize turned = LabelTextBox(Direction, Text);
  TSize size{turned.cx + Spaces.Left + Spaces.Right, turned.cy + Spaces.Top + Spaces.Bottom};
  if (WordWrap) {
    if (LabelTurned(Direction))
      size.cy = Current.cy;
    else
      size.cx = Current.cx;
  }
  return size;
}
