// The panel list control: construction, properties, sizing with its scroller
// and the model's hooks.
#include "kem3/controls/kemplist_win.h"

#include <algorithm>

#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/vosskinner_win.h"
#include "platform/setprop.h"

// Measures on the off-screen bitmap's canvas, in the control's font.
class TKemPanelList::TCanvasMeasure : public IPanelListMeasure {
 public:
  explicit TCanvasMeasure(TBitmap& Bitmap) : FBitmap(Bitmap) {}
  TSize TextExtent(const WideString& Text) override { return FBitmap.Canvas()->TextExtent(Text); }
  TSize TextBoxExtent(const WideString& Text, int Width, bool WordWrap, bool Prefix) override {
    TRect r = Rect(0, 0, Width, 0);
    UINT flags = DT_CALCRECT | DT_CENTER;
    if (WordWrap) flags |= DT_WORDBREAK;
    if (!Prefix) flags |= DT_NOPREFIX;
    FBitmap.Canvas()->DrawText(Text, r, flags);
    return {r.Width(), r.Height()};
  }

 private:
  TBitmap& FBitmap;
};

TKemPanelList::TKemPanelList(TComponent* AOwner)
    : TKemScrolledPanel(AOwner),
      TKemBorderColored({clBtnHighlight, clWindowFrame, clBtnShadow, clBtnFace}),
      FColorSelection(clNavy),
      FColorHot(clWhite),
      FColorText(clBlack),
      FColorTextSel(clWhite),
      FColorTextHot(clBlue),
      FColorScrollFill(clBtnFace),
      FColorScrollBack(0xE8E8E8),
      FFontSelected(std::make_unique<TFont>()),
      FView(std::make_unique<TBitmap>()),
      FMeasureBitmap(std::make_unique<TBitmap>()) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csClickEvents, csOpaque, csDoubleClicks});
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  FFontSelected->Assign(*Font());
  SetDefaultFontStyle(Font()->Style());
  FView->SetPixelFormat(pf32bit);
  FMeasureBitmap->SetPixelFormat(pf32bit);
  FMeasureBitmap->SetSize(1, 1);
  FMeasure = std::make_unique<TCanvasMeasure>(*FMeasureBitmap);
  FHotTimer = new TTimer(this);
  FHotTimer->SetEnabled(false);
  FHotTimer->SetInterval(static_cast<unsigned>(FHotTrackTime));
  FHotTimer->OnTimer = [this](TObject* Sender) { HotTrackTimer(Sender); };
  Scroller()->SetColor(FColorScrollBack);
  Scroller()->SetColorSelection(FColorScrollFill);
  Scroller()->SetColorHighlight(FBorderColors.Highlight);
  Scroller()->SetColorShadow(FBorderColors.Shadow);
  Scroller()->SetGlyphColor(FColorText);
  Scroller()->SetDirection(PanelListScrollDirection(Style(), Options()));
  SetBounds(Left(), Top(), 80, 80);
  UpdateSizing();
}

TKemPanelList::~TKemPanelList() {
  SetDestroying();
  if (FButtonSet) FButtonSet->RemoveFreeNotification(this);
  DestroyItems();
}

bool TKemPanelList::ListDestroying() const { return ComponentState().Contains(csDestroying); }

// ---- Colours -------------------------------------------------------------------------

namespace {}  // namespace

void TKemPanelList::BorderColorChanged(TColor TBorderColors::*Which) {
  // The scroller's buttons wear the two outer colours; the inner two show
  // only in a border.
  if (Which == &TBorderColors::Highlight) {
    Scroller()->SetColorHighlight(FBorderColors.Highlight);
  } else if (Which == &TBorderColors::Shadow) {
    Scroller()->SetColorShadow(FBorderColors.Shadow);
  } else if (FBorder == plbNone) {
    return;
  }
  Invalidate();
}

void TKemPanelList::SetColorSelection(TColor Value) {
  if (StoreChanged(FColorSelection, Value)) Invalidate();
}

void TKemPanelList::SetColorHot(TColor Value) {
  if (StoreChanged(FColorHot, Value)) Invalidate();
}

void TKemPanelList::SetColorText(TColor Value) {
  if (!StoreChanged(FColorText, Value)) return;
  Scroller()->SetGlyphColor(Value);
  Invalidate();
}

void TKemPanelList::SetColorTextSel(TColor Value) {
  if (StoreChanged(FColorTextSel, Value)) Invalidate();
}

void TKemPanelList::SetColorTextHot(TColor Value) {
  if (StoreChanged(FColorTextHot, Value)) Invalidate();
}

void TKemPanelList::SetColorScrollFill(TColor Value) {
  if (!StoreChanged(FColorScrollFill, Value)) return;
  Scroller()->SetColorSelection(Value);
  Invalidate();
}

void TKemPanelList::SetColorScrollBack(TColor Value) {
  if (!StoreChanged(FColorScrollBack, Value)) return;
  Scroller()->SetColor(Value);
  Invalidate();
}

// ---- Look and behaviour --------------------------------------------------------------

void TKemPanelList::SetHideSelection(bool Value) {
  if (StoreChanged(FHideSelection, Value)) Invalidate();
}

void TKemPanelList::SetMarking(TSelectMarking Value) {
  if (StoreChanged(FMarking, Value)) RunLayout();
}

void TKemPanelList::SetBorder(TKemPanelListBorder Value) {
  if (StoreChanged(FBorder, Value)) UpdateSizing();
}

void TKemPanelList::SetItemWidth(int Value) {
  if (StoreChanged(FLayout.ItemWidth, Value)) RunLayout();
}

void TKemPanelList::SetItemHeight(int Value) {
  if (StoreChanged(FLayout.ItemHeight, Value)) RunLayout();
}

void TKemPanelList::SetSpaceTop(int Value) {
  if (StoreChanged(FLayout.Spaces.Top, Value)) RunLayout();
}

void TKemPanelList::SetSpaceBottom(int Value) {
  if (StoreChanged(FLayout.Spaces.Bottom, Value)) RunLayout();
}

void TKemPanelList::SetSpaceLeft(int Value) {
  if (StoreChanged(FLayout.Spaces.Left, Value)) RunLayout();
}

void TKemPanelList::SetSpaceRight(int Value) {
  if (StoreChanged(FLayout.Spaces.Right, Value)) RunLayout();
}

void TKemPanelList::SetSpaceVert(int Value) {
  if (StoreChanged(FLayout.Spaces.Vert, Value)) RunLayout();
}

void TKemPanelList::SetSpaceHorz(int Value) {
  if (StoreChanged(FLayout.Spaces.Horz, Value)) RunLayout();
}

void TKemPanelList::SetHotTrackTime(int Value) {
  if (!StoreChanged(FHotTrackTime, Value)) return;
  FHotTimer->SetInterval(static_cast<unsigned>(std::max(Value, 1)));
}

void TKemPanelList::SetFadeWidth(int Value) {
  if (StoreChanged(FFadeWidth, Value)) Invalidate();
}

void TKemPanelList::SetFontSelected(const TFont& Value) {
  FFontSelected->Assign(Value);
  Invalidate();
}

void TKemPanelList::SetParentFontSel(bool Value) {
  if (!StoreChanged(FParentFontSel, Value)) return;
  if (Value) FontChanged();
}

void TKemPanelList::FontChanged() {
  TKemScrolledPanel::FontChanged();
  SetDefaultFontStyle(Font()->Style());
  if (FParentFontSel && FFontSelected) {
    // The selected font follows the control's but keeps its own style.
    const TFontStyles style = FFontSelected->Style();
    FFontSelected->Assign(*Font());
    FFontSelected->SetStyle(style);
  }
  RunLayout();
}

void TKemPanelList::EnabledChanged() {
  TKemScrolledPanel::EnabledChanged();
  Invalidate();
}

void TKemPanelList::SetButtonSet(TKemButtonSet* Value) {
  if (Value == FButtonSet) return;
  if (FButtonSet) FButtonSet->RemoveFreeNotification(this);
  FButtonSet = Value;
  if (FButtonSet) FButtonSet->FreeNotification(this);
}

void TKemPanelList::Notification(TComponent* AComponent, TOperation Operation) {
  TKemScrolledPanel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FButtonSet) {
    FButtonSet = nullptr;
    FDropButton = -1;
  }
}

void TKemPanelList::SetStyle(TKemPanelListStyle Value) {
  if (Value == Style()) return;
  TKemPanelListModel::SetStyle(Value);
  UpdateSizing();
}

void TKemPanelList::SetOptions(TKemPanelListOptions Value) {
  if (Value == Options()) return;
  FHotIndex = -1;
  TKemPanelListModel::SetOptions(Value);
  SetTabStop(!Value.Contains(ploDisableKeyboard));
  SetControlStyle(Value.Contains(ploDoubleClicks) ? ControlStyle() + csDoubleClicks : ControlStyle() - csDoubleClicks);
  UpdateSizing();
}

void TKemPanelList::SetShowAccelChar(bool Value) {
  TKemPanelListModel::SetShowAccelChar(Value);
  Invalidate();
}

void TKemPanelList::SetSkin(TVosSkin* Value) {
  TKemScrolledPanel::SetSkin(Value);
  UpdateSizing();
}

// ---- Sizing and layout ---------------------------------------------------------------

void TKemPanelList::BoundsChanged(const TRect& OldBounds) {
  TKemScrolledPanel::BoundsChanged(OldBounds);
  if (OldBounds.Width() != Width() || OldBounds.Height() != Height()) UpdateSizing();
}

void TKemPanelList::UpdateSizing() {
  Scroller()->SetDirection(PanelListScrollDirection(Style(), Options()));
  Scroller()->UpdateScrollSize();
  RunLayout();
}

void TKemPanelList::LayoutChanged() { RunLayout(); }

void TKemPanelList::RunLayout() {
  // The scroller's own changes (a shorter length pushing the position back)
  // call in here again through Scrolled; one run at a time is enough.
  if (FInLayout) return;
  FInLayout = true;
  struct TDone {
    bool& flag;
    ~TDone() { flag = false; }
  } done{FInLayout};
  const int border = PanelListBorderWidth(FBorder);
  TRect area = Rect(0, 0, Width(), Height());
  InflateRect(area, -border, -border);
  if (TVosSkin* skin = Skin() ? VosSelectSkinFor(this) : nullptr) {
    // Skinned: the skin's indents in place of the border, and its item font.
    const TVosIndents& in = skin->GetPanelListIndent();
    area = Rect(in.Left, in.Top, Width() - in.Right, Height() - in.Bottom);
    if (!OnCustomDrawBack) {
      const TVosSkinFont& font = skin->GetPanelItemFont();
      Font()->SetName(font.Name);
      Font()->SetSize(font.Size);
      Font()->SetStyle(font.Style);
    }
  }
  if (area.Right < area.Left) area.Right = area.Left;
  if (area.Bottom < area.Top) area.Bottom = area.Top;
  FMeasureBitmap->Canvas()->SetFont(*Font());
  FLayout.Run(*this, area, Width(), Scroller()->Thickness(), [this](int i, TRect& r) { MeasureItem(i, r); });
  SyncScroller();
  Invalidate();
}

void TKemPanelList::SyncScroller() {
  TKemPanelScroller* scroller = Scroller();
  if (FLayout.ScrollerVisible()) {
    scroller->SetStep(FLayout.ScrollStep());
    scroller->SetLength(FLayout.ScrollLength());
    PlaceScroller();
    scroller->Show();
  } else {
    scroller->Hide();
    scroller->SetPosition(0);
  }
}

void TKemPanelList::PlaceScroller() {
  const TRect area = FLayout.ItemsArea();
  const int thick = Scroller()->Thickness();
  if (Scroller()->Direction() == sdVertical) {
    Scroller()->SetBounds(area.Right - thick, area.Top, thick, area.Height());
  } else {
    Scroller()->SetBounds(area.Left, area.Bottom - thick, area.Width(), thick);
  }
}

void TKemPanelList::MeasureItem(int Index, TRect& Rect) { Rect = FLayout.MeasureItem(*this, *Items(Index), *FMeasure); }

int TKemPanelList::ScrollPosition() const { return Scroller()->Visible() ? Scroller()->Position() : 0; }

TRect TKemPanelList::ItemRect(int Index) const { return FLayout.ItemClientRect(*this, Index, ScrollPosition()); }

int TKemPanelList::ItemAtPos(int X, int Y) {
  return FLayout.ItemAtPos(*this, Point(X, Y), ScrollPosition(), &FExpandHit);
}

bool TKemPanelList::MakeVisible(int Index) {
  if (!Scroller()->Visible()) return false;
  const int position = Scroller()->Position();
  const int target = FLayout.MakeVisiblePosition(*this, Index, position);
  if (target == position) return false;
  Scroller()->SetPosition(target);
  Invalidate();
  return true;
}

bool TKemPanelList::ScrollIntoView(int Index) { return MakeVisible(Index); }

// ---- Repainting ----------------------------------------------------------------------

void TKemPanelList::InvalidateItem(int Index) {
  if (Index < 0 || Index >= Count()) return;
  TRect r = ItemRect(Index);
  InflateRect(r, 1, 1);  // the focus rectangle's edge
  InvalidateRect(r);
}

void TKemPanelList::RefreshView(bool Full) {
  if (Full) Invalidate();
  if (HandleAllocated() && Count() > 0) Update();
}

void TKemPanelList::PaintSelection(int Previous, int Current, bool Full) {
  if (Full) {
    Invalidate();
  } else {
    InvalidateItem(Previous);
    InvalidateItem(Current);
  }
  RefreshView(false);
}

void TKemPanelList::PaintItems() { RefreshView(true); }

void TKemPanelList::Scrolled() {
  Invalidate();
  if (HandleAllocated()) Update();
  if (OnScroll) OnScroll(this);
}

// ---- Items ---------------------------------------------------------------------------

void TKemPanelList::Delete(int Index, bool WithChildren) {
  if (FDragging && Index >= 0 && Index < Count()) {
    // The item named as the list shows it now, deleted once the drag's unreported moves are undone.
    const TKemPanelListItem* item = Items(Index);
    CancelDrag();
    Index = IndexOfItem(item);
  }
  EndPress();
  FHotIndex = FHoverIndex = -1;
  TKemPanelListModel::Delete(Index, WithChildren);
}

void TKemPanelList::Clear() {
  EndPress();
  FHotIndex = FHoverIndex = -1;
  TKemPanelListModel::Clear();
  if (!ListDestroying()) RunLayout();
}

void TKemPanelList::ItemClick() { Click(); }

void TKemPanelList::ItemDblClick() { TKemScrolledPanel::DblClick(); }
