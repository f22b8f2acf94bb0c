// Skinned text: every text drawing goes through masks the rasteriser draws
// into, one pass after the other, so shadows, glows and half-transparent texts
// blend onto whatever lies below them.
#include "kem3/graphics/vosskintext.h"

#include <algorithm>

#include "kem3/graphics/vosskin.h"
#include "kem3/graphics/vosskinmarkup.h"
#include "kem3/graphics/vosskinpixels.h"
#include "kem3/pictures/kemimage.h"

namespace {

TVosFontSpec SpecOf(const TVosSkinFont& Font, int Factor = 1) {
  return {Font.Name, std::max(Font.Size, 1) * Factor, Font.Style};
}

}  // namespace

IVosTextRasterizer& TVosSkin::Rasterizer() {
  if (!FRasterizer) FRasterizer = NewVosTextRasterizer();
  return *FRasterizer;
}

TSize TVosSkin::MeasureSkinText(const TVosSkinFont& Font, const WideString& Text, unsigned Flags, int Width) {
  return Rasterizer().Measure(SpecOf(Font), Text, Flags | vtfCalcRect, Width);
}

void TVosSkin::DrawSkinText(TBitmap& Target, const TRect& Rect, const WideString& Text, const TVosSkinText& Drawing,
                            const TVosSkinFont& Font, unsigned Flags, int Orientation) {
  if (Text.empty() || Rect.Width() < 1 || Rect.Height() < 1 || Target.Empty()) return;
  if (Target.PixelFormat() != pf32bit) Target.SetPixelFormat(pf32bit);
  const int s = std::clamp(Font.Smooth, 1, 8);
  const TVosFontSpec fontSpec = SpecOf(Font, s);
  const bool turned = Orientation == 1 || Orientation == 2;
  // The text is laid out across the turned box and turned afterwards.
  const int boxW = turned ? Rect.Height() : Rect.Width();
  const int boxH = turned ? Rect.Width() : Rect.Height();
  const double scale = std::clamp(Font.Scale, 0.125, 8.0);
  for (const TVosSkinTextDrawing& pass : Drawing.Drawings) {
    if (pass.Color == clNone || pass.Alpha == 0) continue;
    // The pass's whole box, laid out unturned, and where it lands on the target.
    const int w = boxW + pass.ExtentWidth(), h = boxH + pass.ExtentHeight();
    const int x = Rect.Left + (turned ? pass.MinY : pass.MinX);
    const int y = Rect.Top + (turned ? pass.MinX : pass.MinY);
    // Only the part that lands on the target is drawn: a skin's large
    // negative indents make boxes far wider than any window, and buffers of
    // that size cannot even be made. The visible part, relative to the box
    // as it lands, then turned back into the unturned box.
    const int landedW = turned ? h : w, landedH = turned ? w : h;
    const int a0 = std::max(0, -x), a1 = std::min(landedW, Target.Width() - x);
    const int b0 = std::max(0, -y), b1 = std::min(landedH, Target.Height() - y);
    if (a0 >= a1 || b0 >= b1) continue;
    int u0 = a0, u1 = a1, v0 = b0, v1 = b1;
    if (Orientation == 1) {
      u0 = b0, u1 = b1, v0 = h - a1, v1 = h - a0;
    } else if (Orientation == 2) {
      u0 = w - b1, u1 = w - b0, v0 = a0, v1 = a1;
    }
    const int cw = u1 - u0, ch = v1 - v0;
    FColorBuffer.SetPixelFormat(pf32bit);
    FColorBuffer.SetSize(cw, ch);
    VosClear(FColorBuffer, pass.Color);
    FMaskBuffer.SetPixelFormat(pf32bit);
    FMaskBuffer.SetSize(cw * s, ch * s);
    VosClear(FMaskBuffer, clBlack);
    for (const TPoint& offset : pass.Offsets) {
      const int ox = static_cast<int>((offset.X - pass.MinX) * scale);
      const int oy = static_cast<int>((offset.Y - pass.MinY) * scale);
      Rasterizer().Render(FMaskBuffer, fontSpec, Text, Bounds(ox - u0 * s, oy - v0 * s, boxW * s, boxH * s), Flags);
    }
    TBitmap* mask = &FMaskBuffer;
    if (s > 1) {
      FSpareBuffer.SetPixelFormat(pf32bit);
      FSpareBuffer.SetSize(cw, ch);
      ShrinkBitmap(FSpareBuffer, FMaskBuffer);
      mask = &FSpareBuffer;
    }
    CopyChannelToAlpha(FColorBuffer, *mask, 0);
    TBitmap* result = &FColorBuffer;
    TBitmap rotated;
    if (turned) {
      if (Orientation == 1) {
        RotateBitmap90(rotated, FColorBuffer);
      } else {
        RotateBitmap270(rotated, FColorBuffer);
      }
      result = &rotated;
    }
    VosDrawPictureAt(Target, x + a0, y + b0, *result, vdmBlend, pass.Alpha);
  }
}

void TVosSkin::DrawCaption(TBitmap& Target, const TRect& Rect, const WideString& Text, int OffsetY, int OffsetX) {
  const TVosElement& caption = Window().Caption;
  if (caption.TextureBack != caption.Texture) DrawTexture(caption.TextureBack, Target, OffsetY, OffsetX, Rect);
  DrawTexture(caption.Texture, Target, OffsetY, OffsetX, Rect);
  DrawBorder(caption.Border, Target, Rect);
  DrawCaptionText(Target, Rect, Text);
}

void TVosSkin::DrawCaptionText(TBitmap& Target, const TRect& Rect, const WideString& Text, bool Focused) {
  const TVosWindowRecord& w = Window();
  const TRect inner{Rect.Left + w.Caption.Indent.Left, Rect.Top + w.Caption.Indent.Top,
                    Rect.Right - w.Caption.Indent.Right, Rect.Bottom - w.Caption.Indent.Bottom};
  DrawSkinText(Target, inner, Text, Focused ? w.CaptionText : w.CaptionTextNoFocus, w.CaptionFont,
               vtfLeft | vtfVCenter | vtfSingleLine | vtfNoPrefix | vtfEndEllipsis);
}

void TVosSkin::DrawHint(TBitmap& Target, const TRect& Rect, const WideString& Text) {
  if (Target.Empty()) return;
  if (Target.PixelFormat() != pf32bit) Target.SetPixelFormat(pf32bit);
  VosClear(Target, clBlack, 0);
  const TVosWindowRecord& w = Window();
  const TVosIndents& in = w.HintInterior;
  const TRect inner{Rect.Left + in.Left, Rect.Top + in.Top, Rect.Right - in.Right, Rect.Bottom - in.Bottom};
  DrawBorder(w.Hint.Border, Target, Rect);
  DrawTexture(w.Hint.Texture, Target, inner.Top, inner.Left, inner);
  const TVosIndents& ti = w.Hint.Indent;
  std::unique_ptr<TBitmap> alpha = VosGrab(Target, ::Rect(0, 0, Target.Width(), Target.Height()));
  DrawSkinText(Target, {Rect.Left + ti.Left, Rect.Top + ti.Top, Rect.Right - ti.Right, Rect.Bottom - ti.Bottom}, Text,
               w.HintText, w.HintFont, vtfCenter | vtfWordBreak | vtfNoPrefix);
  if (alpha) {
    // The text blends its colour in; the window's shape (its alpha) stays.
    for (int y = 0; y < Target.Height(); ++y) {
      auto* row = static_cast<std::uint8_t*>(Target.ScanLine(y));
      const auto* kept = static_cast<const std::uint8_t*>(alpha->ScanLine(y));
      for (int x = 0; x < Target.Width(); ++x) row[4 * x + 3] = kept[4 * x + 3];
    }
  }
}

const TVosSkinText& TVosSkin::PanelItemText(bool Enabled, int State) const {
  const TVosWindowRecord& w = Window();
  switch (State) {
    case vpsNormal:
      return Enabled ? w.ItemTextNormal : w.ItemTextDisabled;
    case vpsDown:
      return Enabled ? w.ItemTextDown : w.ItemTextDisabled;
    case vpsOver:
      return Enabled ? w.ItemTextOver : w.ItemTextDisabled;
    case vpsMarked:
      return w.ItemTextMarked;
    default:
      return w.ItemTextDisabled;
  }
}

void TVosSkin::DrawPanelItemText(TBitmap& Target, const TRect& Rect, const std::vector<int>& TabStops, bool Enabled,
                                 int State, const WideString& Text) {
  if (Text.empty() || Rect.Width() < 1) return;
  const TVosSkinFont& base = Window().ItemFont;
  const TVosSkinText& drawing = PanelItemText(Enabled, State);
  auto fontOf = [&](const TVosRunStyle& Style) {
    TVosSkinFont f = base;
    f.Style = Style.Style;
    f.Size = std::max(base.Size + Style.SizeDelta, 1);
    return f;
  };
  const int lineHeight = MeasureSkinText(base, u"Wp", vtfSingleLine, 0).cy + base.LineHeight;
  const std::vector<TVosPlacedRun> runs = VosLayoutMarkup(
      Text, Rect, TabStops, std::max(lineHeight, 1), [&](const WideString& Run, const TVosRunStyle& Style) {
        return MeasureSkinText(fontOf(Style), Run, vtfSingleLine | vtfNoPrefix, 0).cx;
      });
  for (const TVosPlacedRun& run : runs) {
    TVosSkinText text = drawing;
    const TColor own = Enabled ? run.Style.ColorEnabled : run.Style.ColorDisabled;
    // A colour of the mark-up takes the place of the last pass's: the text itself, above its shadows.
    if (own != clNone && !text.Drawings.empty()) text.Drawings.back().Color = own;
    DrawSkinText(Target, run.Rect, run.Text, text, fontOf(run.Style), vtfLeft | vtfSingleLine | vtfNoPrefix);
  }
}

int TVosSkin::DrawButtonSetItemText(TBitmap& Target, const TRect& Rect, int Orientation, bool Enabled, int State,
                                    const WideString& Text, bool ShowAccel) {
  const TVosWindowRecord& w = Window();
  const TVosSkinText* drawing = &w.SetItemTextDisabled;
  if (Enabled) {
    drawing = State == 1 ? &w.SetItemTextPressed : State == 2 ? &w.SetItemTextDown : &w.SetItemTextNormal;
  }
  const TRect inner{Rect.Left + w.SetItemIndent.Left, Rect.Top + w.SetItemIndent.Top,
                    Rect.Right - w.SetItemIndent.Right, Rect.Bottom - w.SetItemIndent.Bottom};
  DrawSkinText(Target, inner, Text, *drawing, w.SetItemFont,
               vtfCenter | vtfVCenter | vtfSingleLine | (ShowAccel ? 0u : unsigned{vtfNoPrefix}), Orientation);
  return MeasureSkinText(w.SetItemFont, u"Wg", vtfSingleLine, 0).cy;
}

void TVosSkin::DrawMenuItemText(TBitmap& Target, const TRect& Rect, bool Submenu, bool Checked, bool Enabled, int State,
                                const WideString& Shortcut, const WideString& Caption) {
  const TVosMenuLook& m = FMenu;
  const bool over = State == vpsOver;
  const size_t look = (Enabled ? 0 : 2) + (over ? 1 : 0);
  // Rect is the text's: the menu has taken the text indents off already, and
  // the check mark goes into the left one.
  const unsigned flags = vtfVCenter | vtfSingleLine;
  DrawSkinText(Target, Rect, Caption, m.Texts[look], m.Font, vtfLeft | flags);
  if (Submenu) {
    const int glyph = m.SubmenuMarks[look];
    if (const TVosGlyph* g = Glyph(glyph))
      DrawGlyph(glyph, Target, Rect.Top + (Rect.Height() - g->Height()) / 2, Rect.Right - g->Width());
  } else if (!Shortcut.empty()) {
    TRect r = Rect;
    r.Right -= m.SpaceSubmenu;
    DrawSkinText(Target, r, Shortcut, m.Texts[look], m.Font, vtfRight | vtfNoPrefix | flags);
  }
  if (Checked) {
    const int glyph = m.CheckedMarks[look];
    if (const TVosGlyph* g = Glyph(glyph))
      DrawGlyph(glyph, Target, Rect.Top + (Rect.Height() - g->Height()) / 2, Rect.Left - g->Width() - m.SpaceChecked);
  }
}
