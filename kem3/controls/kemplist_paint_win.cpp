// Painting of the panel list: the border, the items composed on the
// off-screen view (backgrounds, images, check and expand boxes, tree lines,
// captions), the fades at the scrolled ends and the focus rectangle.
#include <algorithm>

#include "kem3/controls/kemplist_pixels.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/controls/vosskinner_win.h"
#include "platform/sysutils.h"

namespace {

// Clips drawing on a canvas to a rectangle for its lifetime.
class TClipScope {
 public:
  TClipScope(TCanvas* Canvas, const TRect& R) : FDC(Canvas->Handle()) {
    HRGN region = CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom);
    SelectClipRgn(FDC, region);
    DeleteObject(region);
  }
  ~TClipScope() { SelectClipRgn(FDC, nullptr); }
  TClipScope(const TClipScope&) = delete;
  TClipScope& operator=(const TClipScope&) = delete;

 private:
  HDC FDC;
};

void Fill(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

// A one-pixel edge pair: top and left in TopLeft, bottom and right in BottomRight.
void Edge(TCanvas* Canvas, const TRect& R, TColor TopLeft, TColor BottomRight) {
  if (IsRectEmpty(R)) return;
  Fill(Canvas, Rect(R.Left, R.Top, R.Right - 1, R.Top + 1), TopLeft);
  Fill(Canvas, Rect(R.Left, R.Top, R.Left + 1, R.Bottom - 1), TopLeft);
  Fill(Canvas, Rect(R.Right - 1, R.Top, R.Right, R.Bottom), BottomRight);
  Fill(Canvas, Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom), BottomRight);
}

// Every other pixel of a line, for the tree's dotted lines.
void DottedLine(TCanvas* Canvas, int X1, int Y1, int X2, int Y2, TColor Color) {
  const COLORREF c = static_cast<COLORREF>(ColorToRGB(Color));
  HDC dc = Canvas->Handle();
  if (X1 == X2) {
    for (int y = std::min(Y1, Y2); y < std::max(Y1, Y2); ++y) {
      if (((X1 + y) & 1) == 0) SetPixelV(dc, X1, y, c);
    }
  } else {
    for (int x = std::min(X1, X2); x < std::max(X1, X2); ++x) {
      if (((x + Y1) & 1) == 0) SetPixelV(dc, x, Y1, c);
    }
  }
}

}  // namespace

// ---- The whole control ---------------------------------------------------------------

void TKemPanelList::Paint() {
  TCanvas* canvas = Canvas();
  TVosSkin* skin = Skin() && PaintBuffer() ? VosSelectSkinFor(this) : nullptr;
  const TPoint at = FormOffset();
  if (skin) {
    skin->DrawPanelListFrame(*PaintBuffer(), Rect(0, 0, Width(), Height()), -at.Y, -at.X);
  } else {
    DrawBorder(canvas);
  }
  const TRect area = FLayout.ItemsArea();
  if (IsRectEmpty(area)) return;
  if (FView->Width() != area.Width() || FView->Height() != area.Height()) FView->SetSize(area.Width(), area.Height());
  TCanvas* view = FView->Canvas();
  const TRect bounds = Rect(0, 0, area.Width(), area.Height());
  if (skin && skin->GetPanelListTexture()) {
    skin->DrawTexture(skin->GetPanelListTextureIndex(), *FView, -(at.Y + area.Top), -(at.X + area.Left), bounds);
  } else {
    Fill(view, bounds, Color());
  }
  view->SetFont(*Font());
  if (OnBeforeItemPaint) OnBeforeItemPaint(this);
  const int position = ScrollPosition();
  for (int i = 0; i < Count(); ++i) {
    if (!Items(i)->IsVisible()) continue;
    TRect r = FLayout.ItemClientRect(*this, i, position);
    OffsetRect(r, -area.Left, -area.Top);
    TRect shown;
    if (!IntersectRect(shown, r, bounds)) continue;
    TClipScope clip(view, shown);
    DrawItem(i, view, r);
  }
  DrawFades(*FView);
  canvas->Draw(area.Left, area.Top, *FView);
  TKemPanelListItem* selected = SelectedItem();
  if (Focused() && !HasOption(ploNoFocusRect) && selected && selected->IsVisible()) {
    TRect focus;
    if (IntersectRect(focus, ItemRect(ItemIndex()), area)) {
      canvas->Brush()->SetStyle(bsSolid);
      canvas->Brush()->SetColor(Color());
      canvas->Font()->SetColor(ColorText());
      canvas->DrawFocusRect(focus);
    }
  }
}

void TKemPanelList::DrawBorder(TCanvas* Canvas) {
  TRect r = Rect(0, 0, Width(), Height());
  switch (FBorder) {
    case plbNone:
      return;
    case plbLowered:
      Edge(Canvas, r, FBorderColors.Shadow, FBorderColors.Highlight);
      return;
    case plbLoweredDeep:
      Edge(Canvas, r, FBorderColors.Frame, FBorderColors.Highlight);
      InflateRect(r, -1, -1);
      Edge(Canvas, r, FBorderColors.Shadow, FBorderColors.Spark);
      return;
    case plbRaised:
      Edge(Canvas, r, FBorderColors.Highlight, FBorderColors.Shadow);
      return;
    case plbRaisedHigh:
      Edge(Canvas, r, FBorderColors.Highlight, FBorderColors.Frame);
      InflateRect(r, -1, -1);
      Edge(Canvas, r, FBorderColors.Spark, FBorderColors.Shadow);
      return;
  }
}

void TKemPanelList::DrawFades(TBitmap& View) {
  if (FFadeWidth < 1 || !Scroller()->Visible()) return;
  const bool vertical = Scroller()->Direction() == sdVertical;
  TRect area = Rect(0, 0, View.Width(), View.Height());
  // The scroller covers its own strip: the fades run beside it.
  if (vertical) {
    area.Right -= Scroller()->Width();
  } else {
    area.Bottom -= Scroller()->Height();
  }
  const int position = Scroller()->Position();
  if (position > 0) FadePanelListEdge(View, area, vertical, true, FFadeWidth, Color());
  if (position < Scroller()->Length() - 1) FadePanelListEdge(View, area, vertical, false, FFadeWidth, Color());
}

// ---- One item ------------------------------------------------------------------------

bool TKemPanelList::SelectionShows() const { return !FHideSelection || Focused(); }

void TKemPanelList::DrawItem(int Index, TCanvas* Canvas, const TRect& Rect) {
  TKemPanelListItem* item = Items(Index);
  const bool selected = Index == ItemIndex() && SelectionShows();
  const bool marked = item->MultiSelected && !HasOption(ploMultiSelectMarker);
  const bool asSelected = selected || marked;
  const bool hot = !asSelected && Index == FHotIndex;

  Canvas->SetFont(asSelected ? *FFontSelected : *Font());
  if (item->FontStyle != Font()->Style()) Canvas->Font()->SetStyle(item->FontStyle);
  TColor text = FColorText, back = Color();
  if (asSelected) {
    back = FColorSelection;
    text = item->TextColorSel != clNone ? item->TextColorSel : FColorTextSel;
  } else {
    if (hot) {
      back = FColorHot;
      text = FColorTextHot;
    }
    if (item->TextColor != clNone) text = item->TextColor;
  }
  Canvas->Font()->SetColor(text);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(back);

  bool drawn = false;
  if (OnCustomDrawBack) OnCustomDrawBack(this, Index, Canvas, Rect, drawn);
  TVosSkin* skin = Skin() ? VosSelectSkinFor(this) : nullptr;
  FSkinTextState = selected ? vpsDown : marked ? vpsMarked : hot ? vpsOver : vpsNormal;
  if (!drawn && skin) {
    const TPoint at = FormOffset() + FLayout.ItemsArea().TopLeft();
    const int state = selected ? vpsSelected : marked ? vpsMarked : hot ? vpsOver : vpsNormal;
    skin->DrawPanelItem(*FView, Rect, Index & 1, state, -at.Y, -at.X);
  } else if (!drawn) {
    Fill(Canvas, Rect, back);
    if (asSelected && FMarking == smRaised) Edge(Canvas, Rect, FBorderColors.Highlight, FBorderColors.Shadow);
    if (asSelected && FMarking == smLowered) Edge(Canvas, Rect, FBorderColors.Shadow, FBorderColors.Highlight);
    if (HasOption(ploButtonItems)) {
      if (selected) {
        Edge(Canvas, Rect, FBorderColors.Shadow, FBorderColors.Highlight);
      } else {
        Edge(Canvas, Rect, FBorderColors.Highlight, FBorderColors.Shadow);
      }
    }
    if (item->LineColor != clNone)
      Fill(Canvas, ::Rect(Rect.Left, Rect.Bottom - 1, Rect.Right, Rect.Bottom), item->LineColor);
    if (item->MultiSelected && HasOption(ploMultiSelectMarker)) {
      // The marker: a bar in the selection colour along the item's left edge.
      Fill(Canvas, ::Rect(Rect.Left, Rect.Top + 1, Rect.Left + 3, Rect.Bottom - 1), FColorSelection);
    }
  }
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Font()->SetColor(text);
  if (Style() == plsListview) {
    DrawViewItem(Index, Canvas, Rect, selected);
  } else {
    DrawListItem(Index, Canvas, Rect, selected);
  }
  Canvas->Brush()->SetStyle(bsSolid);
}

void TKemPanelList::DrawItemImage(TBitmap& Image, TBitmap* Mask, int X, int Y, const TRect& Clip, bool Alpha,
                                  bool Opaque, int Strength) {
  TPanelListImageMode mode = pimTransparent;
  if (Alpha) {
    mode = pimAlpha;
  } else if (Mask) {
    mode = pimMask;
  } else if (Opaque) {
    mode = pimOpaque;
  }
  DrawPanelListImage(*FView, Clip, X, Y, Image, mode, Mask, Strength);
}

void TKemPanelList::DrawItemText(const WideString& Text, TCanvas* Canvas, TRect Rect, UINT Flags) {
  if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
  WideString shown = Text;
  if (HasOption(ploShortenTexts) && (Flags & DT_SINGLELINE)) {
    const int space = Rect.Width();
    auto width = [&](const WideString& s) {
      TRect r = ::Rect(0, 0, 0, 0);
      Canvas->DrawText(s, r, (Flags & DT_NOPREFIX) | DT_SINGLELINE | DT_CALCRECT);
      return r.Width();
    };
    if (width(shown) > space) {
      // Cut character by character until the rest and the dots fit.
      while (!shown.empty() && width(TrimRight(shown) + u"...") > space) shown.pop_back();
      shown = TrimRight(shown) + u"...";
    }
  }
  if (TVosSkin* skin = (Flags & DT_CALCRECT) == 0 && Skin() ? VosSelectSkinFor(this) : nullptr) {
    skin->DrawSkinText(*FView, Rect, shown, skin->PanelItemText(Enabled(), FSkinTextState), skin->GetPanelItemFont(),
                       Flags);
    return;
  }
  Canvas->DrawText(shown, Rect, Flags);
}

void TKemPanelList::DrawViewItem(int Index, TCanvas* Canvas, const TRect& Rect, bool Selected) {
  TKemPanelListItem* item = Items(Index);
  bool drawn = false;
  if (OnCustomDraw) OnCustomDraw(this, Index, Canvas, Rect, drawn);
  if (drawn) return;
  const TKemPanelListSpaces& sp = FLayout.Spaces;
  TBitmap* image = Selected && item->BitmapSelected ? item->BitmapSelected : item->Bitmap;
  const int strength = Enabled() && item->IsSelectable() ? 255 : 128;
  const int iw = image ? image->Width() : 0, ih = image ? image->Height() : 0;
  TRect clip;
  IntersectRect(clip, Rect, ::Rect(0, 0, FView->Width(), FView->Height()));
  const bool wrap = !HasOption(ploDisableWordwrap);
  TRect textBox;
  UINT flags = 0;
  if (HasOption(ploListviewIconLeft)) {
    int x = Rect.Left + sp.Left;
    if (HasOption(ploChecklist) && item->HasCheckbox) {
      const int y = Rect.Top + (Rect.Height() - PanelListCheckSize) / 2;
      const TRect box = Bounds(x, y, PanelListCheckSize, PanelListCheckSize);
      Fill(Canvas, box, FBorderColors.Shadow);
      Fill(Canvas, ::Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1), Color());
      if (item->Checked) Fill(Canvas, ::Rect(box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2), FColorText);
      x += PanelListCheckSize + sp.Horz;
      Canvas->Brush()->SetStyle(bsClear);
    }
    if (image) {
      DrawItemImage(*image, item->BitmapMask, x, Rect.Top + (Rect.Height() - ih) / 2, clip, item->AlphaChannel,
                    item->Opaque, strength);
      x += iw + sp.Horz;
    }
    textBox = ::Rect(x, Rect.Top + sp.Top, Rect.Right - sp.Right, Rect.Bottom - sp.Bottom);
    flags = DT_LEFT | (wrap ? DT_WORDBREAK : DT_SINGLELINE);
  } else {
    int top = Rect.Top + sp.Top;
    if (image) {
      const int x = Rect.Left + (Rect.Width() - iw) / 2;
      const int y = HasOption(ploCenterImage) ? Rect.Top + (Rect.Height() - ih) / 2 : top;
      DrawItemImage(*image, item->BitmapMask, x, y, clip, item->AlphaChannel, item->Opaque, strength);
      top = y + ih + sp.Vert;
    }
    textBox = ::Rect(Rect.Left, top, Rect.Right, Rect.Bottom - sp.Bottom);
    flags = DT_CENTER | (wrap ? DT_WORDBREAK : DT_SINGLELINE);
  }
  if (HasOption(ploListviewHideText) || IsRectEmpty(textBox)) return;
  const WideString shown =
      PanelListShownText(item->Caption(), textBox.Width(), textBox.Height(), Canvas->TextHeight(u"W"));
  if (HasOption(ploListviewVcenterText)) {
    TRect measure = textBox;
    DrawItemText(shown, Canvas, measure, flags | DT_CALCRECT);
    OffsetRect(textBox, 0, std::max(0, (textBox.Height() - measure.Height()) / 2));
  }
  DrawItemText(shown, Canvas, textBox, flags);
}

void TKemPanelList::DrawListItem(int Index, TCanvas* Canvas, const TRect& Rect, bool /*Selected*/) {
  TKemPanelListItem* item = Items(Index);
  const TKemPanelListSpaces& sp = FLayout.Spaces;
  const int mid = Rect.Top + Rect.Height() / 2;
  int x = Rect.Left + FLayout.ContentLeft(Style(), item->Level());
  TRect clip;
  IntersectRect(clip, Rect, ::Rect(0, 0, FView->Width(), FView->Height()));

  if (Style() == plsTreeview) {
    const int column = sp.Horz + 12;
    auto centre = [&](int level) { return Rect.Left + sp.Left + column * level + 1 + PanelListExpandBoxWidth / 2; };
    // Whether the item at Index (or its ancestor at Level) has a sibling further down.
    auto hasNext = [&](int from, int level) {
      for (int i = from + 1; i < Count(); ++i) {
        const int l = Items(i)->Level();
        if (l < level) return false;
        if (l == level) return true;
      }
      return false;
    };
    if (HasOption(ploTreeviewDrawLines)) {
      const TColor line = FBorderColors.Shadow;
      const int level = item->Level();
      for (int k = 0; k < level; ++k) {
        if (hasNext(Index, k)) DottedLine(Canvas, centre(k), Rect.Top, centre(k), Rect.Bottom, line);
      }
      const int cx = centre(level);
      if (level > 0 || Index > 0) DottedLine(Canvas, cx, Rect.Top, cx, mid, line);
      if (hasNext(Index, level)) DottedLine(Canvas, cx, mid, cx, Rect.Bottom, line);
      DottedLine(Canvas, cx, mid, x - 1, mid, line);
    }
    if (!item->Children().empty()) {
      const bool small = HasOption(ploTreeviewCheckSmall);
      TRect box = FLayout.ExpandBoxRect(Rect, item->Level(), small);
      if (!small) box = Bounds(box.Left, mid - 4, 9, 9);
      Fill(Canvas, box, FBorderColors.Shadow);
      Fill(Canvas, ::Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1), Color());
      const int cx = box.Left + box.Width() / 2, cy = box.Top + box.Height() / 2;
      Fill(Canvas, ::Rect(box.Left + 2, cy, box.Right - 2, cy + 1), FColorText);
      if (!item->Expanded) Fill(Canvas, ::Rect(cx, box.Top + 2, cx + 1, box.Bottom - 2), FColorText);
    }
    Canvas->Brush()->SetStyle(bsClear);
  }

  for (TBitmap* image : item->Images) {
    if (!image || image->Empty()) continue;
    const bool alpha = BitsPerPixel(image->PixelFormat()) == 32;
    DrawItemImage(*image, nullptr, x, Rect.Top + (Rect.Height() - image->Height()) / 2, clip, alpha, false,
                  Enabled() && item->IsSelectable() ? 255 : 128);
    x += image->Width();
  }
  if (item->IsSeparator) {
    const TColor line = item->TextColor != clNone ? item->TextColor : FBorderColors.Shadow;
    Fill(Canvas, ::Rect(x, mid, Rect.Right - sp.Right, mid + 1), line);
    return;
  }
  const bool checklist = HasOption(ploChecklist);
  if (checklist && item->HasCheckbox) {
    const TRect box = Bounds(x, mid - PanelListCheckSize / 2, PanelListCheckSize, PanelListCheckSize);
    Fill(Canvas, box, FBorderColors.Shadow);
    Fill(Canvas, ::Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1), Color());
    if (item->Checked) Fill(Canvas, ::Rect(box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2), FColorText);
    Canvas->Brush()->SetStyle(bsClear);
  }
  if (checklist) x += PanelListCheckSize;
  x += sp.Horz;
  bool drawn = false;
  if (OnCustomDraw) OnCustomDraw(this, Index, Canvas, Rect, drawn);
  if (drawn) return;
  TRect textBox = ::Rect(x, Rect.Top, Rect.Right - sp.Right, Rect.Bottom);
  if (!HasOption(ploTabbedItems)) {
    DrawItemText(item->Caption(), Canvas, textBox, DT_SINGLELINE | DT_VCENTER);
    return;
  }
  // Line by line, each one "Wp" high below the one before.
  const int lineHeight = Canvas->TextHeight(u"Wp");
  const WideString& caption = item->Caption();
  size_t start = 0;
  int top = Rect.Top + sp.Vert;
  while (start <= caption.size()) {
    size_t end = caption.find(u'\r', start);
    if (end == WideString::npos) end = caption.size();
    WideString line = caption.substr(start, end - start);
    if (!line.empty() && line.front() == u'\n') line.erase(0, 1);
    TRect lineBox = ::Rect(textBox.Left, top, textBox.Right, top + lineHeight);
    DrawItemText(line, Canvas, lineBox, DT_SINGLELINE | DT_EXPANDTABS);
    top += lineHeight;
    start = end + 1;
  }
}
