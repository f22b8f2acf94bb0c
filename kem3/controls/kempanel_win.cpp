// TKemPanel: spaces, bevels, 3-D frames, fills, textures and the caption.
#include "kem3/controls/kempanel_win.h"

#include "platform/extctrls_win.h"
#include "platform/setprop.h"
#include "platform/sysutils.h"

TKemPanel::TKemPanel(TComponent* AOwner)
    : TKemCustomControl(AOwner), TKemBorderColored({clBtnHighlight, clBtnShadow, 0, 0xC0C0C0}) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

void TKemPanel::BorderColorChanged(TColor TBorderColors::*) {
  if (FAutoSize) AdjustWidth();
  Invalidate();
}

void TKemPanel::SetAutoSize(bool Value) {
  if (!StoreChanged(FAutoSize, Value)) return;
  if (Value) AdjustWidth();
}

void TKemPanel::AdjustWidth() {
  // Measured with a font of its own: the panel may have no window yet.
  SetWidth(PanelAutoWidth(CaptionWidth(this, Caption()), FFrame));
}

void TKemPanel::TextChanged() {
  TKemCustomControl::TextChanged();
  if (FAutoSize) AdjustWidth();
  Invalidate();
}

void TKemPanel::FontChanged() {
  TKemCustomControl::FontChanged();
  if (FAutoSize) AdjustWidth();
}

void TKemPanel::AdjustClientRect(TRect& Rect) {
  TKemCustomControl::AdjustClientRect(Rect);
  Rect = PanelChildArea(Rect, FFrame);
}

namespace {

void Fill(TCanvas* C, const TRect& R, TColor Color) {
  if (IsRectEmpty(R)) return;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

}  // namespace

void TKemPanel::Paint() {
  BeforePaint();
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  // The spaces, filled with Color.
  const TPanelFrame& f = FFrame;
  Fill(c, Rect(r.Left, r.Top, r.Left + f.SpaceLeft, r.Bottom), Color());
  Fill(c, Rect(r.Right - f.SpaceRight, r.Top, r.Right, r.Bottom), Color());
  Fill(c, Rect(r.Left, r.Top, r.Right, r.Top + f.SpaceTop), Color());
  Fill(c, Rect(r.Left, r.Bottom - f.SpaceBottom, r.Right, r.Bottom), Color());
  r = Rect(r.Left + f.SpaceLeft, r.Top + f.SpaceTop, r.Right - f.SpaceRight, r.Bottom - f.SpaceBottom);

  auto bevel = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    const bool raised = cut != bvLowered;
    Frame3D(c, r, raised ? FBorderColors.Highlight : FBorderColors.Shadow,
            raised ? FBorderColors.Shadow : FBorderColors.Highlight, f.BevelWidth);
  };
  bevel(f.BevelOuter);
  if (f.Style3D == s3dLowered) {
    Frame3D(c, r, FBorderColors.Shadow, FBorderColors.Highlight, 1);
    Frame3D(c, r, FBorderColors.Frame, FBorderColors.Spark, 1);
  } else if (f.Style3D == s3dRaised) {
    Frame3D(c, r, FBorderColors.Highlight, FBorderColors.Frame, 1);
    Frame3D(c, r, FBorderColors.Spark, FBorderColors.Shadow, 1);
  }
  Frame3D(c, r, Color(), Color(), f.BorderWidth);
  bevel(f.BevelInner);

  switch (FFillStyle) {
    case fsSolid:
      Fill(c, r, Color());
      break;
    case fsGradHorz:
    case fsGradHorzInv:
    case fsGradVert:
    case fsGradVertInv: {
      const bool vertical = FFillStyle == fsGradVert || FFillStyle == fsGradVertInv;
      const bool inverse = FFillStyle == fsGradHorzInv || FFillStyle == fsGradVertInv;
      const std::vector<TColor> table = GradientTable(FColorFront, FColorBack, FGradientColors);
      const std::vector<TRect> bands = GradientBands(r, FGradientColors, vertical);
      for (std::size_t i = 0; i < bands.size(); ++i) Fill(c, bands[i], table[inverse ? table.size() - 1 - i : i]);
      break;
    }
    case fsCustom:
      PaintCustomFill(r);
      break;
  }

  for (const TPoint& p : TexturePoints(FTexture, r, FDotSpace)) {
    c->SetPixels(p.X, p.Y, FBorderColors.Shadow);
    if (p.X + 1 < r.Right && p.Y + 1 < r.Bottom) c->SetPixels(p.X + 1, p.Y + 1, FBorderColors.Highlight);
  }

  if (!Trim(Caption()).empty()) {
    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(*Font());
    const int h = c->TextHeight(u"W");
    TRect band = Rect(r.Left, r.Top + (r.Height() - h) / 2, r.Right, r.Top + (r.Height() - h) / 2 + h);
    UINT flags = DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE;
    flags |= FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    auto text = [&](int dx, int dy, TColor color) {
      TRect at = band;
      OffsetRect(at, dx, dy);
      c->Font()->SetColor(color);
      c->DrawText(Caption(), at, flags);
    };
    const TColor fontColor = Font()->Color();
    if (FTextStyle == tsRaised) {
      text(-1, -1, FBorderColors.Highlight);
      text(1, 1, FBorderColors.Shadow);
    } else if (FTextStyle == tsLowered) {
      text(-1, -1, FBorderColors.Shadow);
      text(1, 1, FBorderColors.Highlight);
    }
    text(0, 0, fontColor);
  }
  AfterPaint();
}
