// The panel scroller and its hosting panel.
#include "kem3/controls/kemscroll_win.h"

#include <algorithm>
#include <array>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/vosskinner_win.h"
#include "platform/extctrls_win.h"
#include "platform/forms_win.h"

namespace {

enum TArrow { arUp, arDown, arLeft, arRight };

// The four arrow glyphs, shared by every scroller of the process: made with
// the first scroller, freed with the last. Each is filled with the silver the
// buttons leave out and carries one triangle in the glyph colour.
class TArrowGlyphs {
 public:
  static void Acquire() {
    if (FCount++ == 0) FShared = new TArrowGlyphs;
  }
  static void Release() {
    if (--FCount == 0) {
      delete FShared;
      FShared = nullptr;
    }
  }
  static TArrowGlyphs& Shared() { return *FShared; }

  TBitmap* Glyph(TArrow Arrow) { return FGlyphs[Arrow].get(); }
  // Draws the glyphs anew only for a colour other than the last one.
  void SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    DrawAll();
  }

 private:
  TArrowGlyphs() {
    for (auto& g : FGlyphs) g = std::make_unique<TBitmap>();
    DrawAll();
  }

  void DrawAll() {
    Draw(arUp, 8, 5, {Point(1, 4), Point(4, 1), Point(7, 4)});
    Draw(arDown, 8, 6, {Point(1, 2), Point(4, 5), Point(7, 2)});
    Draw(arLeft, 5, 8, {Point(4, 1), Point(1, 4), Point(4, 7)});
    Draw(arRight, 6, 8, {Point(2, 1), Point(5, 4), Point(2, 7)});
  }

  void Draw(TArrow Arrow, int Width, int Height, std::initializer_list<TPoint> Corners) {
    TBitmap& g = *FGlyphs[Arrow];
    g.SetSize(Width, Height);
    g.SetTransparent(true);
    g.SetTransparentColor(GlyphBack);
    TCanvas* c = g.Canvas();
    c->Brush()->SetColor(GlyphBack);
    c->FillRect(Rect(0, 0, Width, Height));
    c->Pen()->SetColor(FColor);
    c->Brush()->SetColor(FColor);
    c->Polygon(Corners);
  }

  static constexpr TColor GlyphBack = 0xC0C0C0;
  static inline int FCount = 0;
  static inline TArrowGlyphs* FShared = nullptr;
  std::array<std::unique_ptr<TBitmap>, 4> FGlyphs;
  TColor FColor = clBlack;
};

}  // namespace

// ---- TKemPanelScroller ---------------------------------------------------------

TKemPanelScroller::TKemPanelScroller(TComponent* AOwner)
    : TCustomControl(AOwner),
      FColorHighlight(clBtnHighlight),
      FColorShadow(clBtnShadow),
      FColorSelection(clBtnFace),
      FGlyphColor(clBlack) {
  TArrowGlyphs::Acquire();
  // The arrow buttons are its children; the track is painted whole.
  SetControlStyle({csAcceptsControls, csCaptureMouse, csOpaque});
  SetColor(0xE8E8E8);
  SetBounds(0, 0, ScrollerDefaultThickness, 100);
  FButtonBack = NewArrowButton();
  FButtonForward = NewArrowButton();
  FButtonBack->OnClick = [this](TObject*) { StepBack(); };
  FButtonForward->OnClick = [this](TObject*) { StepForward(); };
  ApplyButtonColors();
  ApplyDirection();
}

TKemPanelScroller::~TKemPanelScroller() { TArrowGlyphs::Release(); }

TKemButton* TKemPanelScroller::NewArrowButton() {
  auto* b = new TKemButton(this);
  b->SetParent(this);
  // Flat with raised and pressed edges; it never takes the focus from the
  // panel, and holding it repeats its step.
  b->SetFlat(true);
  b->SetFlatRaised(true);
  b->SetNoFraming(true);
  b->SetNoFocusing(true);
  b->SetFocusOnPress(false);
  b->SetTabStop(false);
  b->SetTimerState({tsAllowTimer});
  return b;
}

TKemScrolledPanel* TKemPanelScroller::Panel() const { return dynamic_cast<TKemScrolledPanel*>(Parent()); }

void TKemPanelScroller::SetColorHighlight(TColor Value) {
  FColorHighlight = Value;
  ApplyButtonColors();
  Invalidate();
}

void TKemPanelScroller::SetColorShadow(TColor Value) {
  FColorShadow = Value;
  ApplyButtonColors();
  Invalidate();
}

void TKemPanelScroller::SetColorSelection(TColor Value) {
  FColorSelection = Value;
  ApplyButtonColors();
  Invalidate();
}

void TKemPanelScroller::ApplyButtonColors() {
  for (TKemButton* b : {FButtonBack, FButtonForward}) {
    b->SetColor(FColorSelection);
    b->SetColorHighlight(FColorHighlight);
    b->SetColorShadow(FColorShadow);
  }
}

void TKemPanelScroller::SetInitPause(int Value) {
  FRepeat.InitPause = Value;
  FButtonBack->SetInitPause(Value);
  FButtonForward->SetInitPause(Value);
}

void TKemPanelScroller::SetRepeatPause(int Value) {
  FRepeat.RepeatPause = Value;
  FButtonBack->SetRepeatPause(Value);
  FButtonForward->SetRepeatPause(Value);
}

void TKemPanelScroller::SetPosition(int Value) {
  if (FRange.SetPosition(Value)) Invalidate();
}

void TKemPanelScroller::SetLength(int Value) {
  const bool pushed = FRange.SetLength(Value);
  Invalidate();
  if (pushed && OnChange) OnChange(this);
}

void TKemPanelScroller::SetStep(int Value) { FRange.SetStep(Value); }

void TKemPanelScroller::SetDirection(TScrollerDirection Value) {
  FDirection = Value;
  ApplyDirection();
}

int TKemPanelScroller::ViewWidth() const { return Visible() && FDirection == sdVertical ? Width() : 0; }

int TKemPanelScroller::ViewHeight() const { return Visible() && FDirection == sdHorizontal ? Height() : 0; }

void TKemPanelScroller::UpdateScrollSize() {
  int thickness = ScrollerDefaultThickness;
  int buttonSize = ScrollerDefaultButtonSize;
  // The skin's scroller metrics for the direction, where it gives them.
  if (TVosSkin* skin = Panel() && Panel()->Skin() ? VosSelectSkinFor(Panel()) : nullptr) {
    const int kind = FDirection == sdVertical ? 1 : 0;
    const TSize size = skin->GetScrollBarSize(kind);
    const int across = kind ? size.cx : size.cy;
    const int along = kind ? size.cy : size.cx;
    if (across >= 0) thickness = across;
    if (along >= 0) buttonSize = along;
  }
  if (TKemScrolledPanel* panel = Panel(); panel && panel->OnGetScrollSize)
    panel->OnGetScrollSize(this, thickness, buttonSize);
  FThickness = std::max(thickness, 0);
  FButtonSize = std::max(buttonSize, 0);
  ApplyDirection();
}

void TKemPanelScroller::ApplyDirection() {
  const bool vertical = FDirection == sdVertical;
  DisableAlign();
  if (vertical)
    SetWidth(FThickness);
  else
    SetHeight(FThickness);
  for (TKemButton* b : {FButtonBack, FButtonForward}) {
    b->SetAlign(alNone);
    b->SetBounds(0, 0, vertical ? FThickness : FButtonSize, vertical ? FButtonSize : FThickness);
    b->SetVisible(FButtonSize > 0);
  }
  FButtonBack->SetAlign(vertical ? alTop : alLeft);
  FButtonForward->SetAlign(vertical ? alBottom : alRight);
  EnableAlign();
  ApplyGlyphs();
  UpdateTextureOffsets();
  Invalidate();
}

void TKemPanelScroller::SetGlyphColor(TColor Value) {
  FGlyphColor = Value;
  TArrowGlyphs::Shared().SetColor(Value);
  ApplyGlyphs();
}

void TKemPanelScroller::ApplyGlyphs() {
  TKemScrolledPanel* panel = Panel();
  TVosSkin* skin = panel ? panel->Skin() : nullptr;
  TArrowGlyphs& glyphs = TArrowGlyphs::Shared();
  const bool vertical = FDirection == sdVertical;
  // The skin's arrow buttons are named for left, right, top and bottom.
  int back = vertical ? 2 : 0, forward = vertical ? 3 : 1;
  if (skin && VosSelectSkinFor(panel)) {
    back = skin->GetScrollBarMargin(back);
    forward = skin->GetScrollBarMargin(forward);
    const int texture = skin->GetPanelListTextureIndex();
    FButtonBack->SetTextureIndex(texture);
    FButtonForward->SetTextureIndex(texture);
  }
  FButtonBack->SetSkin(skin);
  FButtonBack->SetButtonIndex(back);
  FButtonBack->SetGlyph(*glyphs.Glyph(vertical ? arUp : arLeft));
  FButtonForward->SetSkin(skin);
  FButtonForward->SetButtonIndex(forward);
  FButtonForward->SetGlyph(*glyphs.Glyph(vertical ? arDown : arRight));
}

void TKemPanelScroller::UpdateTextureOffsets() {
  if (!FButtonBack) return;  // moved while being made
  TKemScrolledPanel* panel = Panel();
  const TPoint base = (panel ? panel->FormOffset() : TPoint{}) + Point(Left(), Top());
  for (TKemButton* b : {FButtonBack, FButtonForward}) b->SetTextureOffset(base + Point(b->Left(), b->Top()));
}

TScrollerThumb TKemPanelScroller::Thumb() const {
  return ScrollerThumb(ScrollerAlong(FDirection, Width(), Height()), FButtonSize, Length(), Position(), FMinThumb);
}

TRect TKemPanelScroller::ThumbRect() const {
  return ScrollerThumbRect(FDirection, FDirection == sdVertical ? Width() : Height(), Thumb());
}

void TKemPanelScroller::Changed() {
  Invalidate();
  if (OnChange) OnChange(this);
}

void TKemPanelScroller::StepBack() {
  if (FRange.StepBack()) Changed();
}

void TKemPanelScroller::StepForward() {
  if (FRange.StepForward()) Changed();
}

void TKemPanelScroller::Paint() {
  TKemScrolledPanel* panel = Panel();
  TVosSkin* skin = panel && panel->Skin() ? VosSelectSkinFor(panel) : nullptr;
  if (skin && PaintBuffer()) {
    // The panel's texture runs on under the track; the skin draws the thumb.
    const TPoint at = panel->FormOffset() + Point(Left(), Top());
    skin->DrawTexture(skin->GetPanelListTextureIndex(), *PaintBuffer(), -at.Y, -at.X, ClientRect());
    skin->DrawScrollBar(*PaintBuffer(), ThumbRect(), FDirection == sdVertical ? 1 : 0);
    return;
  }
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  TRect thumb = ThumbRect();
  if (IsRectEmpty(thumb)) return;
  Frame3D(c, thumb, FColorHighlight, FColorShadow, 1);
  c->Brush()->SetColor(FColorSelection);
  c->FillRect(thumb);
}

void TKemPanelScroller::WndProc(TMessage& Message) {
  if (FCaptureWatch.Pass(*this, Message, [this](TMessage& m) { TCustomControl::WndProc(m); })) StopTracking();
}

void TKemPanelScroller::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const int at = ScrollerAlong(FDirection, Point(X, Y));
  switch (ScrollerHitTest(Thumb(), at)) {
    case shThumb:
      FTracking = taDrag;
      FDragStartPosition = Position();
      FDragStartAlong = at;
      return;
    case shBefore:
      FTracking = taPageBack;
      break;
    case shAfter:
      FTracking = taPageForward;
      break;
  }
  // One page at once, then more while the press holds the mouse.
  Page();
  FPageRepeat.Start(
      FRepeat.InitPause, FRepeat.RepeatPause, [this] { Page(); }, [this] { StopTracking(); });
}

void TKemPanelScroller::Page() {
  if (FTracking == taPageBack ? FRange.PageBack() : FRange.PageForward()) Changed();
}

void TKemPanelScroller::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FTracking != taDrag) return;
  if (!MouseCapture()) {
    StopTracking();
    return;
  }
  const int at = ScrollerAlong(FDirection, Point(X, Y));
  const int along = ScrollerAlong(FDirection, Width(), Height());
  if (FRange.SetPosition(
          ScrollerDragPosition(FDragStartPosition, at - FDragStartAlong, along, FButtonSize, Thumb(), Length())))
    Changed();
}

void TKemPanelScroller::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) StopTracking();
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TKemPanelScroller::StopTracking() {
  FTracking = taNone;
  FPageRepeat.Stop();
}

void TKemPanelScroller::BoundsChanged(const TRect& OldBounds) {
  TCustomControl::BoundsChanged(OldBounds);
  UpdateTextureOffsets();
  Invalidate();
}

// ---- TKemScrolledPanel ---------------------------------------------------------

TKemScrolledPanel::TKemScrolledPanel(TComponent* AOwner) : TKemCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + csAcceptsControls);
  FScroller = new TKemPanelScroller(this);
  FScroller->SetVisible(false);
  FScroller->SetParent(this);
  FScroller->OnChange = [this](TObject*) { Scrolled(); };
}

TKemScrolledPanel::~TKemScrolledPanel() = default;

void TKemScrolledPanel::SetSkin(TVosSkin* Value) {
  FSkin = Value;
  FScroller->ApplyGlyphs();
}

void TKemScrolledPanel::SetFormSkinner(TVosFormSkinner* Value) {
  FFormSkinner = Value;
  FTextureSlot = Value ? Value->CacheSlot() : -1;
  SetSkin(Value ? Value->Skin() : nullptr);
}

void TKemScrolledPanel::SetParent(TWinControl* AParent) {
  TKemCustomControl::SetParent(AParent);
  UpdateFormOffset();
}

void TKemScrolledPanel::BoundsChanged(const TRect& OldBounds) {
  TKemCustomControl::BoundsChanged(OldBounds);
  UpdateFormOffset();
}

void TKemScrolledPanel::UpdateFormOffset() {
  TPoint offset;
  if (const TCustomForm* form = GetParentForm(this)) {
    for (const TControl* c = this; c && c != form; c = c->Parent()) offset = offset + Point(c->Left(), c->Top());
  }
  FFormOffset = offset;
  if (FScroller) FScroller->UpdateTextureOffsets();
  Invalidate();
}
