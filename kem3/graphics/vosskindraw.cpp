// Drawing of skinned elements into 32-bit bitmaps: textures, eight-part
// frames, borders with their shadows and highlights, glyphs, window frames,
// panel lists, button sets, buttons, scroll bars and menus.
#include <algorithm>

#include "kem3/graphics/vosskin.h"
#include "kem3/graphics/vosskinpixels.h"
#include "kem3/pictures/kemimage.h"
#include "platform/sysutils.h"

namespace {

enum TFrameKind {
  fkForm,     // form and menu frames: corners with blue pixels leave them to the texture
  fkBorder,   // borders: the key colours of corners and edges are left out
  fkOverlay,  // shadows and highlights drawn into a mask: every pixel as it is
};

bool Is32(const TBitmap& B) { return B.PixelFormat() == pf32bit; }

void EnsureTarget32(TBitmap& Target) {
  if (!Target.Empty() && Target.PixelFormat() != pf32bit) Target.SetPixelFormat(pf32bit);
}

std::array<TSize, 8> PartSizes(const TVosFrame& Frame) {
  std::array<TSize, 8> sizes;
  for (size_t i = 0; i < 8; ++i) sizes[i] = {Frame[i].Width, Frame[i].Height};
  return sizes;
}

TRect Deflate(const TRect& R, const TVosIndents& I) {
  return {R.Left + I.Left, R.Top + I.Top, R.Right - I.Right, R.Bottom - I.Bottom};
}

}  // namespace

void TVosSkin::DrawTexture(int Texture, TBitmap& Target, int OffsetY, int OffsetX, const TRect& Rect) {
  const TVosTexture* t = TextureAt(Texture);
  if (!t || IsRectEmpty(Rect) || Target.Empty()) return;
  EnsureTarget32(Target);
  if (t->Color != clNone) {
    VosFillRect(Target, Rect, t->Color);
    return;
  }
  const TBitmap* picture = TextureBitmap(*t);
  if (!picture) return;
  VosDrawPicture(Target, Rect, Rect, *picture, Is32(*picture) ? vdmBlend : vdmCopy, false, {OffsetX, OffsetY});
}

void TVosSkin::DrawFrame(const TVosFrame& Frame, TBitmap& Target, const TRect& Rect, int Kind) {
  const int w = Rect.Width(), h = Rect.Height();
  if (w <= 0 || h <= 0) return;
  const std::array<TSize, 8> sizes = PartSizes(Frame);
  for (int i = 0; i < 8; ++i) {
    const TVosSkinPart& part = Frame[static_cast<size_t>(i)];
    if (part.Empty()) continue;
    TRect r = VosPartTargetRect(i, w, h, sizes);
    OffsetRect(r, Rect.Left, Rect.Top);
    if (IsRectEmpty(r)) continue;
    TVosDrawMode mode = vdmCopy;
    if (Kind != fkOverlay) {
      if (Is32(*part.Bitmap)) {
        mode = vdmBlend;
      } else if (i < 4) {
        const bool plain = part.NoShowThrough && (Kind == fkForm || part.Outside.Empty());
        mode = plain ? vdmCopy : vdmKeyed;
      } else if (Kind == fkBorder) {
        mode = vdmKeyed;
      }
    }
    // Corners at their size; edges stretched or tiled from their rectangle's top left.
    const bool stretch = i >= 4 && part.Stretch;
    VosDrawPicture(Target, r, Rect, *part.Bitmap, mode, stretch, r.TopLeft());
  }
}

void TVosSkin::DrawOverlay(const TVosFrame& Frame, TBitmap& Target, const TRect& Rect, bool Shadow) {
  // Only the part on the target gets buffers: skins with large negative
  // indents give frames far larger than any window.
  TRect visible;
  if (!IntersectRect(visible, Rect, ::Rect(0, 0, Target.Width(), Target.Height()))) return;
  const int w = visible.Width(), h = visible.Height();
  TRect frame = Rect;
  OffsetRect(frame, -visible.Left, -visible.Top);
  // The overlay's opacity is the darkness of a shadow, the brightness of a highlight.
  FMaskBuffer.SetPixelFormat(pf32bit);
  FMaskBuffer.SetSize(w, h);
  VosClear(FMaskBuffer, Shadow ? clWhite : clBlack);
  DrawFrame(Frame, FMaskBuffer, frame, fkOverlay);
  if (Shadow) InvertBitmap(FMaskBuffer);
  FColorBuffer.SetPixelFormat(pf32bit);
  FColorBuffer.SetSize(w, h);
  VosClear(FColorBuffer, Shadow ? clBlack : clWhite);
  CopyChannelToAlpha(FColorBuffer, FMaskBuffer, 0);
  VosDrawPictureAt(Target, visible.Left, visible.Top, FColorBuffer, vdmBlend);
}

void TVosSkin::DrawBorder(int Border, TBitmap& Target, const TRect& Rect, bool Vertical) {
  const TVosBorder* b = this->Border(Border);
  if (!b || IsRectEmpty(Rect) || Target.Empty()) return;
  EnsureTarget32(Target);
  if (Vertical) {
    // Laid out as for a horizontal bar on the turned pixels, then turned back.
    // Only the part on the target is grabbed, but the border keeps the size
    // of the whole rectangle: it is laid out around the grabbed pixels where
    // the turn puts the rectangle, or a border reaching past the target would
    // have its edges drawn on the grabbed part's edges.
    std::unique_ptr<TBitmap> grabbed = VosGrab(Target, Rect);
    if (!grabbed) return;
    const int left = std::max(Rect.Left, 0), top = std::max(Rect.Top, 0);
    // Turning counter-clockwise sends (x, y) of the grabbed part to
    // (y, width - 1 - x): the rectangle's top left lands at (Rect.Top - top,
    // grabbed right - Rect.Right).
    const int turnedX = Rect.Top - top, turnedY = left + grabbed->Width() - Rect.Right;
    TBitmap turned;
    RotateBitmap270(turned, *grabbed);
    DrawBorder(Border, turned, Bounds(turnedX, turnedY, Rect.Height(), Rect.Width()), false);
    RotateBitmap90(*grabbed, turned);
    VosPut(Target, left, top, *grabbed);
    return;
  }
  if (b->HasShadow) DrawOverlay(b->Shadow, Target, Rect, true);
  if (b->HasHighlight) DrawOverlay(b->Highlight, Target, Rect, false);
  if (b->HasImage) DrawFrame(b->Image, Target, Rect, fkBorder);
}

void TVosSkin::DrawGlyph(int Glyph, TBitmap& Target, int Y, int X) {
  const TVosGlyph* g = this->Glyph(Glyph);
  if (!g || Target.Empty()) return;
  EnsureTarget32(Target);
  if (g->Image && !Is32(*g->Image)) {
    VosDrawPictureAt(Target, X, Y, *g->Image, vdmKeyed);
    return;
  }
  // Shadow and highlight as overlays of their own pictures (key colours transparent).
  auto overlay = [&](const TBitmap* Picture, bool Shadow) {
    if (!Picture) return;
    const int w = Picture->Width(), h = Picture->Height();
    FMaskBuffer.SetPixelFormat(pf32bit);
    FMaskBuffer.SetSize(w, h);
    VosClear(FMaskBuffer, Shadow ? clWhite : clBlack);
    VosDrawPictureAt(FMaskBuffer, 0, 0, *Picture, Is32(*Picture) ? vdmBlend : vdmKeyed);
    if (Shadow) InvertBitmap(FMaskBuffer);
    FColorBuffer.SetPixelFormat(pf32bit);
    FColorBuffer.SetSize(w, h);
    VosClear(FColorBuffer, Shadow ? clBlack : clWhite);
    CopyChannelToAlpha(FColorBuffer, FMaskBuffer, 0);
    VosDrawPictureAt(Target, X, Y, FColorBuffer, vdmBlend);
  };
  overlay(g->Shadow.get(), true);
  overlay(g->Highlight.get(), false);
  if (g->Image) VosDrawPictureAt(Target, X, Y, *g->Image, vdmBlend);
}

void TVosSkin::DrawWindowFrame(TBitmap& Target, const TRect& Rect, bool ClipChildren,
                               const std::vector<TRect>& ChildRects, int FormFrame) {
  if (IsRectEmpty(Rect) || Target.Empty()) return;
  EnsureTarget32(Target);
  TVosRegion fill = TVosRegion::FromRect(Rect);
  if (const TVosFrame* frame = this->FormFrame(FormFrame)) {
    DrawFrame(*frame, Target, Rect, fkForm);
    const std::array<TSize, 8> sizes = PartSizes(*frame);
    TVosRegion parts;
    for (int i = 0; i < 8; ++i) {
      TRect r = VosPartTargetRect(i, Rect.Width(), Rect.Height(), sizes);
      OffsetRect(r, Rect.Left, Rect.Top);
      parts = parts.Union(TVosRegion::FromRect(r));
    }
    fill = fill.Subtract(parts);
    for (int i = 0; i < 4; ++i) {
      const TVosSkinPart& corner = (*frame)[static_cast<size_t>(i)];
      if (corner.ShowThrough.Empty()) continue;
      const TPoint at = VosCornerPosition(i, Rect.Width(), Rect.Height(), corner.Width, corner.Height);
      fill = fill.Union(corner.ShowThrough.Offsetted(Rect.Left + at.X, Rect.Top + at.Y));
    }
  }
  if (!ClipChildren) {
    for (const TRect& child : ChildRects) fill = fill.Subtract(TVosRegion::FromRect(child));
  }
  for (const TRect& r : fill.Rects()) DrawTexture(Window().FormTexture, Target, Rect.Top, Rect.Left, r);
}

void TVosSkin::DrawPanelListFrame(TBitmap& Target, const TRect& Rect, int OffsetY, int OffsetX) {
  const TVosElement& e = Window().PanelList;
  const TRect inner = Deflate(Rect, e.Indent);
  const TRect bands[4] = {{Rect.Left, Rect.Top, Rect.Right, inner.Top},
                          {Rect.Left, inner.Bottom, Rect.Right, Rect.Bottom},
                          {Rect.Left, inner.Top, inner.Left, inner.Bottom},
                          {inner.Right, inner.Top, Rect.Right, inner.Bottom}};
  for (const TRect& band : bands) DrawTexture(e.Texture, Target, OffsetY, OffsetX, band);
  DrawBorder(e.Border, Target, Rect);
}

void TVosSkin::DrawPanelItem(TBitmap& Target, const TRect& Rect, int Flags, int State, int OffsetY, int OffsetX) {
  const TVosWindowRecord& w = Window();
  DrawTexture(w.PanelList.Texture, Target, OffsetY, OffsetX, Rect);
  const bool odd = (Flags & 1) != 0;
  int texture = -1, border = -1;
  switch (State) {
    case vpsNormal:
      texture = odd && w.ItemTextureOdd >= 0 ? w.ItemTextureOdd : w.ItemTextureNormal;
      border = w.ItemBorderNormal;
      break;
    case vpsSelected:
      texture = odd && w.ItemTextureSelectOdd >= 0 ? w.ItemTextureSelectOdd : w.ItemTextureSelected;
      border = w.ItemBorderSelected;
      break;
    case vpsOver:
      texture = w.ItemTextureOver;
      border = w.ItemBorderOver;
      break;
    case vpsMarked:
      texture = w.ItemTextureMarked;
      border = w.ItemBorderMarked;
      break;
    default:
      break;
  }
  const TRect inner = Deflate(Rect, w.ItemIndent);
  DrawTexture(texture, Target, OffsetY, OffsetX, inner);
  DrawBorder(border, Target, inner);
}

void TVosSkin::DrawElementBack(const TVosElement& Element, TBitmap& Target, const TRect& Rect, int OffsetY,
                               int OffsetX) {
  if (Element.TextureBack != Element.Texture) DrawTexture(Element.TextureBack, Target, OffsetY, OffsetX, Rect);
  DrawTexture(Element.Texture, Target, OffsetY, OffsetX, Rect);
  DrawBorder(Element.Border, Target, Rect);
}

void TVosSkin::DrawButtonSetBackground(TBitmap& Target, const TRect& Rect, int OffsetY, int OffsetX) {
  DrawElementBack(Window().ButtonSet, Target, Rect, OffsetY, OffsetX);
}

void TVosSkin::DrawButtonSetItem(TBitmap& Target, const TRect& Rect, int State, int OffsetY, int OffsetX) {
  const TVosWindowRecord& w = Window();
  const int textures[3] = {w.SetItemTextureNormal, w.SetItemTexturePressed, w.SetItemTextureSelected};
  const int borders[3] = {w.SetItemBorderNormal, w.SetItemBorderPressed, w.SetItemBorderSelected};
  if (State < 0 || State > 2) State = 0;
  const TRect inner = Deflate(Rect, w.SetItemIndent);
  DrawTexture(textures[State], Target, OffsetY, OffsetX, inner);
  DrawBorder(borders[State], Target, inner);
}

void TVosSkin::DrawButton(TBitmap& Target, const TRect& Rect, bool Pressed, int OffsetY, int OffsetX, int Texture,
                          int Button) {
  DrawTexture(Texture, Target, OffsetY, OffsetX, Rect);
  if (Button < 0 || Button >= static_cast<int>(FButtons.size())) return;
  const TVosSkinButton& b = FButtons[static_cast<size_t>(Button)];
  const int glyph = Pressed ? b.Pressed : b.Normal;
  const TVosGlyph* g = Glyph(glyph);
  if (!g) return;
  DrawGlyph(glyph, Target, Rect.Top + (Rect.Height() - g->Height()) / 2, Rect.Left + (Rect.Width() - g->Width()) / 2);
}

void TVosSkin::DrawScrollBar(TBitmap& Target, const TRect& Rect, int Kind) {
  if (Kind != 0 && Kind != 1) return;
  const TVosWindowRecord& w = Window();
  DrawBorder(w.ScrollBackground[static_cast<size_t>(Kind)], Target, ::Rect(0, 0, Target.Width(), Target.Height()));
  DrawBorder(w.ScrollSlider[static_cast<size_t>(Kind)], Target, Rect);
}

void TVosSkin::DrawMenuBackground(TBitmap& Target, const TRect& Rect, const String& LogoName) {
  if (IsRectEmpty(Rect) || Target.Empty()) return;
  EnsureTarget32(Target);
  if (const TVosFrame* shadow = MenuShadow(FMenu.Frame)) DrawFrame(*shadow, Target, Rect, fkBorder);
  const TRect framed = Deflate(Rect, FMenu.ShadowIndent);
  const TRect inner = Deflate(framed, FMenu.FrameIndent);
  DrawTexture(FMenu.Texture, Target, -framed.Top, -framed.Left, inner);
  if (const TVosFrame* frame = MenuFrame(FMenu.Frame)) DrawFrame(*frame, Target, framed, fkForm);
  for (const TVosMenuLogo& logo : FMenu.Logos) {
    if (!SameText(logo.Name, LogoName)) continue;
    const TVosGlyph* g = Glyph(logo.Glyph);
    const int width = g ? g->Width() : 0;
    const TRect strip{inner.Left, inner.Top, inner.Left + width, inner.Bottom};
    DrawTexture(logo.Texture, Target, -strip.Top, -strip.Left, strip);
    if (g) DrawGlyph(logo.Glyph, Target, strip.Bottom - g->Height(), strip.Left);
    break;
  }
}

void TVosSkin::DrawMenuItemBackground(TBitmap& Target, const TRect& Rect, int Kind, int OffsetY, int OffsetX) {
  if (Kind == 4) {
    DrawBorder(FMenu.SeparatorBorder, Target, Deflate(Rect, FMenu.SeparatorIndent));
    return;
  }
  const bool over = Kind == 3;
  const TRect inner = Deflate(Rect, FMenu.ItemIndent);
  DrawTexture(over ? FMenu.ItemTextureOver : FMenu.ItemTextureNormal, Target, OffsetY, OffsetX, inner);
  DrawBorder(over ? FMenu.ItemBorderOver : FMenu.ItemBorderNormal, Target, inner);
}
