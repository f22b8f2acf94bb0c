// Text output of skins that draws every character but a blank as a filled
// block of a fixed advance, laid out by the same flags: the stand-in for the
// system's text natively, and how tests see skinned text without any font.
#include <algorithm>
#include <cstdint>

#include "kem3/graphics/vosskinpixels.h"
#include "kem3/graphics/vosskintext.h"

namespace {

class TBlockRasterizer : public IVosTextRasterizer {
 public:
  TSize Measure(const TVosFontSpec& Font, const WideString& Text, unsigned, int) override {
    return {Advance(Font) * static_cast<int>(VisibleText(Text).size()), LineHeight(Font)};
  }

  void Render(TBitmap& Mask, const TVosFontSpec& Font, const WideString& Text, const TRect& Rect,
              unsigned Flags) override {
    const WideString shown = VisibleText(Text, (Flags & vtfNoPrefix) == 0);
    const int advance = Advance(Font), height = LineHeight(Font);
    const int width = advance * static_cast<int>(shown.size());
    int x = Rect.Left, y = Rect.Top;
    if (Flags & vtfCenter) x += (Rect.Width() - width) / 2;
    if (Flags & vtfRight) x = Rect.Right - width;
    if ((Flags & vtfSingleLine) && (Flags & vtfVCenter)) y += (Rect.Height() - height) / 2;
    if ((Flags & vtfSingleLine) && (Flags & vtfBottom)) y = Rect.Bottom - height;
    for (size_t i = 0; i < shown.size(); ++i, x += advance) {
      if (shown[i] == u' ') continue;
      // A block one pixel short of the advance and of the line, so characters stay apart.
      VosFillRect(Mask, {x, y, x + advance - 1, y + height - 1}, clWhite);
    }
  }

 private:
  static int Advance(const TVosFontSpec& Font) { return std::max(Font.Size * 2 / 3, 2); }
  static int LineHeight(const TVosFontSpec& Font) { return std::max(Font.Size * 4 / 3, 2); }
  // The text as drawn: "&" marks the next character (and "&&" is one "&").
  static WideString VisibleText(const WideString& Text, bool Prefix = true) {
    if (!Prefix) return Text;
    WideString out;
    for (size_t i = 0; i < Text.size(); ++i) {
      if (Text[i] == u'&' && i + 1 < Text.size()) ++i;
      out += Text[i];
    }
    return out;
  }
};

}  // namespace

std::unique_ptr<IVosTextRasterizer> NewVosBlockRasterizer() { return std::make_unique<TBlockRasterizer>(); }
