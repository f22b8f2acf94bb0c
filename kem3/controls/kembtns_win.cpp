// TKemButtonSet and its page buttons: pages, selection, arrangement, drag
// reordering, drop highlight, accelerators and painting.
#include "kem3/controls/kembtns_win.h"

#include <utility>

#include "kem3/controls/vosskinner_win.h"
#include "kem3/pictures/kemcursors.h"
#include "kem3/pictures/kemimage.h"
#include "platform/deferred_release.h"
#include "platform/extctrls_win.h"
#include "platform/lists.h"
#include "platform/screen_win.h"
#include "platform/setprop.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

// ---- TKemButtonSetButton --------------------------------------------------------------

TKemButtonSetButton::TKemButtonSetButton(TKemButtonSet* ASet) : TKemButton(ASet), FSet(ASet) {
  SetFlat(true);
  // Page buttons never take the focus: the bar's keys stay where they are.
  SetTabStop(false);
  SetFocusOnPress(false);
  OnClick = [this](TObject*) {
    if (FSet) FSet->ButtonClick(static_cast<int>(Tag()));
  };
  OnClickRight = [this](TObject*) {
    if (FSet) FSet->FSelectIndex = static_cast<int>(Tag());
  };
  OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FSet) FSet->ButtonMouseDown(Sender, Button, Shift, X, Y);
  };
  OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
    if (FSet) FSet->ButtonMouseMove(Sender, Shift, X, Y);
  };
  OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FSet) FSet->ButtonMouseUp(Sender, Button, Shift, X, Y);
  };
}

void TKemButtonSetButton::SetSelected(bool Value) { SetPainted(*this, FSelected, Value); }

void TKemButtonSetButton::SetDropHighlight(bool Value) { SetPainted(*this, FDropHighlight, Value); }

bool TKemButtonSetButton::ClicksOnPress() const { return !Trim(WideToUtf8(Caption())).empty(); }

void TKemButtonSetButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TKemButton::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Tracking() || !FSet) return;
  FDragPoint = Point(X, Y);
  FDragging = false;
  // A page is chosen the moment its button goes down.
  if (ClicksOnPress()) Click();
}

void TKemButtonSetButton::MouseMove(TShiftState Shift, int X, int Y) {
  if (FSet && Tracking() && FSet->Options().Contains(bsoDragReorder)) {
    if (!FDragging && DragThresholdPassed(FDragPoint, Point(X, Y))) {
      FDragging = true;
      SetMouseCapture(false);
      SetMouseCapture(true);
      if (Screen) Screen->SetCursor(crKemHand);
    }
    if (FDragging) {
      const int target = FSet->ButtonAtPos(Left() + X, Top() + Y);
      const int self = static_cast<int>(Tag());
      if (target >= 0 && target != self && FSet->SwapButtons(self, target)) {
        // The pointer goes with the button to its new place, so the drag goes on from there.
        const TPoint centre = ClientToScreen(Point(Width() / 2, Height() / 2));
        SetCursorPos(centre.X, centre.Y);
      }
    }
  }
  TKemButton::MouseMove(Shift, X, Y);
}

void TKemButtonSetButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const bool dragged = Button == mbLeft && FDragging;
  if (dragged) EndDrag();
  TKemButton::MouseUp(Button, Shift, X, Y);
  if (!dragged || !FSet) return;
  if (ClicksOnPress()) Click();
  FSet->ButtonsReordered();
}

void TKemButtonSetButton::ReleaseClick() {
  if (!ClicksOnPress()) Click();
}

void TKemButtonSetButton::PressLost() {
  const bool dragged = FDragging;
  if (dragged) EndDrag();
  TKemButton::PressLost();
  // Each swap was reported as it happened; the drag ends where it stands, without the click of a release.
  if (dragged && FSet) FSet->ButtonsReordered();
}

void TKemButtonSetButton::EndDrag() {
  FDragging = false;
  if (Screen) Screen->SetCursor(crDefault);
}

TColor TKemButtonSetButton::FaceColor() {
  if (!FSet) return Color();
  return FSelected ? FSet->ColorFillSel() : FSet->ColorFill();
}

TColor TKemButtonSetButton::CaptionColor() {
  if (!FSet) return Font()->Color();
  return FSelected ? FSet->ColorTextSel() : FSet->ColorText();
}

bool TKemButtonSetButton::CaptionPrefix() { return !FSet || FSet->ShowAccelChar(); }

void TKemButtonSetButton::PaintSkin(TVosSkin& Skin) {
  TBitmap& target = *PaintBuffer();
  const TRect r = ClientRect();
  const TPoint at = VosFormOffset(this);
  // The bar's texture runs on under the button; then the item of the button's state.
  Skin.DrawTexture(Skin.Window().ButtonSet.Texture, target, -at.Y, -at.X, r);
  const bool pressed = Pressed() || FDropHighlight;
  Skin.DrawButtonSetItem(target, r, pressed ? 1 : FSelected ? 2 : 0, -at.Y, -at.X);
  const TKemButtonSetDirection direction = FSet ? FSet->Direction() : bsdHorizontal;
  const int orientation = direction == bsdVerticalDown ? 1 : direction == bsdVerticalUp ? 2 : 0;
  Skin.DrawButtonSetItemText(target, r, orientation, Enabled(),
                             pressed     ? 1
                             : FSelected ? 2
                                         : 0,
                             Caption(), CaptionPrefix());
}

namespace {

// Measures captions in the skin's button-set font, each button longer by the
// skin's item indents.
class TSkinSetMeasure : public ITextMeasure {
 public:
  explicit TSkinSetMeasure(TVosSkin& Skin)
      : FSkin(Skin), FExtra(Skin.GetButtonSetItemIndent().Left + Skin.GetButtonSetItemIndent().Right) {}
  TSize TextExtent(const WideString& Text) override {
    TSize size = FSkin.MeasureSkinText(FSkin.GetButtonSetFont(), Text, vtfSingleLine | vtfNoPrefix, 0);
    size.cx += FExtra;
    return size;
  }

 private:
  TVosSkin& FSkin;
  int FExtra;
};

}  // namespace

// ---- TKemButtonSet: pages and selection --------------------------------------------------

TKemButtonSet::TKemButtonSet(TComponent* AOwner)
    : TKemCustomControl(AOwner),
      TKemBorderColored({clBtnHighlight, clBtnShadow, clWindowFrame, GetFaceHighlightMidColor()}),
      FColorText(clWindowText),
      FColorFill(clBtnFace),
      FColorTextSel(clWindowText),
      FColorFillSel(0xE0E0E0) {
  SetControlStyle(ControlStyle() + csAcceptsControls + csOpaque);
  SetColor(clBtnFace);
  SetTabStop(true);
  SetBounds(0, 0, 350, 250);
}

TKemButtonSet::~TKemButtonSet() = default;

void TKemButtonSet::SetPages(const TStrings& Lines) {
  std::vector<TKemPage> pages;
  pages.reserve(static_cast<size_t>(Lines.Count()));
  for (int i = 0; i < Lines.Count(); ++i) pages.push_back(ParsePageLine(Utf8ToWide(Lines[i])));
  SetPageList(pages);
}

void TKemButtonSet::SetPageCaptions(const std::vector<WideString>& Captions) {
  std::vector<TKemPage> pages;
  pages.reserve(Captions.size());
  for (const WideString& caption : Captions) pages.push_back(TKemPage{caption, 0, false});
  SetPageList(pages);
}

void TKemButtonSet::SetPageList(const std::vector<TKemPage>& Pages) {
  FPages = Pages;
  PagesChanged();
}

void TKemButtonSet::PagesChanged() {
  UpdateButtons();
  SetPageIndex(FPageIndex);
  RealignButtons();
}

void TKemButtonSet::SetPageIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    FPageIndex = Value;
    FSelectIndex = Value;
    return;
  }
  // The same index is no change, unless the pages shrank below it.
  if (Value == FPageIndex && Value < PageCount()) return;
  if (Value < 0 || Value >= PageCount()) Value = -1;
  FPageIndex = Value;
  FSelectIndex = Value;
  for (size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->SetSelected(static_cast<int>(i) == Value);
  if (OnChange) OnChange(this);
}

TKemButtonSetButton* TKemButtonSet::Buttons(int Index) const {
  if (Index < 0 || Index >= ButtonCount()) ListIndexError(Index);
  return FButtons[static_cast<size_t>(Index)];
}

void TKemButtonSet::ButtonClick(int Index) {
  SetPageIndex(Index);
  if (OnChange) OnChange(this);
}

void TKemButtonSet::Click() { TKemCustomControl::Click(); }

void TKemButtonSet::DblClick() { TKemCustomControl::DblClick(); }

// ---- Buttons and arrangement -------------------------------------------------------------

void TKemButtonSet::UpdateButtons() {
  while (FButtons.size() < FPages.size()) {
    auto* button = new TKemButtonSetButton(this);
    ApplyColors(button);
    button->SetSkin(FSkin);
    FButtons.push_back(button);
    button->SetParent(this);
  }
  while (FButtons.size() > FPages.size()) {
    TKemButtonSetButton* button = FButtons.front();
    FButtons.erase(FButtons.begin());
    // The button may be the one whose handler runs now (a menu on its
    // mouse-up deleted a page): cut it loose and free it once that returns.
    button->FSet = nullptr;
    button->SetVisible(false);
    if (InMessageHandler()) {
      ReleaseComponent(button);
    } else {
      button->Free();
    }
  }
  for (size_t i = 0; i < FPages.size(); ++i) {
    TKemButtonSetButton* button = FButtons[i];
    button->SetCaption(FPages[i].Caption);
    button->FGap = FPages[i].Gap;
    button->FFarEnd = FPages[i].FarEnd;
    button->SetSelected(static_cast<int>(i) == FPageIndex);
    button->SetTag(static_cast<std::intptr_t>(i));
  }
}

TButtonSetGeometry TKemButtonSet::Geometry() {
  TButtonSetGeometry g;
  g.Direction = FDirection;
  g.Width = Width();
  g.Height = Height();
  g.Border = FBorder != bvNone;
  g.SpaceAbove = FSpaceAbove;
  g.SpaceBelow = FSpaceBelow;
  g.ButtonWidth = FButtonWidth;
  g.ShowAccelChar = FShowAccelChar;
  return g;
}

void TKemButtonSet::UpdateSize() {
  if (FSizing) return;
  FSizing = true;
  try {
    TFontTextMeasure measure(*Font());
    int thickness = ButtonSetThickness(FButtonHeight, measure.TextHeight(u"W"), FSpaceAbove, FSpaceBelow, FSpaceInner,
                                       FBorder != bvNone);
    if (TVosSkin* skin = FSkin ? VosSelectSkinFor(this) : nullptr) {
      // Skinned: the button's height (or the skin font's line) and the skin's indents across the bar.
      const TVosIndents& in = skin->GetButtonSetIndent();
      thickness = FButtonHeight > 0 ? FButtonHeight : TSkinSetMeasure(*skin).TextHeight(u"W") + 2;
      thickness += FDirection == bsdHorizontal ? in.Top + in.Bottom : in.Left + in.Right;
    }
    if (FDirection == bsdHorizontal) {
      SetHeight(thickness);
    } else {
      SetWidth(thickness);
    }
  } catch (...) {
    FSizing = false;
    throw;
  }
  FSizing = false;
}

void TKemButtonSet::ArrangeButtons() {
  if (FButtons.size() != FPages.size()) return;
  std::vector<TRect> rects;
  if (TVosSkin* skin = FSkin ? VosSelectSkinFor(this) : nullptr) {
    // Skinned: the skin's font, and the bar less the skin's indents on every side.
    const TVosIndents& in = skin->GetButtonSetIndent();
    TButtonSetGeometry g = Geometry();
    g.Border = false;
    if (FDirection == bsdHorizontal) {
      g.SpaceAbove = in.Top;
      g.SpaceBelow = in.Bottom;
      g.Width -= in.Left + in.Right;
    } else {
      g.SpaceAbove = FDirection == bsdVerticalUp ? in.Left : in.Right;
      g.SpaceBelow = FDirection == bsdVerticalUp ? in.Right : in.Left;
      g.Height -= in.Top + in.Bottom;
    }
    TSkinSetMeasure measure(*skin);
    rects = ArrangeButtonSet(FPages, g, measure);
    for (TRect& r : rects)
      OffsetRect(r, FDirection == bsdHorizontal ? in.Left : 0, FDirection == bsdHorizontal ? 0 : in.Top);
  } else {
    TFontTextMeasure measure(*Font());
    rects = ArrangeButtonSet(FPages, Geometry(), measure);
  }
  for (size_t i = 0; i < FButtons.size(); ++i) {
    FButtons[i]->SetBoundsRect(rects[i]);
    FButtons[i]->SetSelected(static_cast<int>(i) == FSelectIndex);
  }
}

void TKemButtonSet::RealignButtons() {
  UpdateSize();
  ArrangeButtons();
}

void TKemButtonSet::Rebuild() {
  UpdateButtons();
  SetPageIndex(FPageIndex);
  RealignButtons();
  Invalidate();
}

void TKemButtonSet::AlignControls(TControl* AControl, TRect& Rect) {
  // Children share what the skin's indents (or the border) leave of the bar.
  if (TVosSkin* skin = FSkin ? VosSelectSkinFor(this) : nullptr) {
    const TVosIndents& in = skin->GetButtonSetIndent();
    Rect = {Rect.Left + in.Left, Rect.Top + in.Top, Rect.Right - in.Right, Rect.Bottom - in.Bottom};
  } else if (FBorder != bvNone) {
    InflateRect(Rect, -1, -1);
  }
  UpdateButtons();
  ArrangeButtons();
  TKemCustomControl::AlignControls(AControl, Rect);
}

int TKemButtonSet::ButtonAtPos(int X, int Y) {
  std::vector<TRect> rects;
  rects.reserve(FButtons.size());
  for (TKemButtonSetButton* b : FButtons) rects.push_back(b->BoundsRect());
  return ::ButtonAtPos(rects, Point(X, Y));
}

void TKemButtonSet::HighlightButton(int Index) {
  for (size_t i = 0; i < FButtons.size(); ++i) {
    TKemButtonSetButton* b = FButtons[i];
    const bool on = static_cast<int>(i) == Index;
    b->SetDropHighlight(on);
    // Without a skin the drop target shows by its underlined caption.
    const bool underlined = b->Font()->Style().Contains(fsUnderline);
    if (on && !underlined) {
      TFont font;
      font.Assign(*Font());
      font.SetStyle(font.Style() + fsUnderline);
      b->SetFont(font);
    } else if (!on && underlined) {
      b->SetParentFont(true);
      if (b->Font()->Style().Contains(fsUnderline)) b->Font()->SetStyle(b->Font()->Style() - fsUnderline);
    }
  }
}

bool TKemButtonSet::SwapButtons(int Dragged, int Target) {
  const int count = ButtonCount();
  if (Dragged < 0 || Dragged >= count || Target < 0 || Target >= count || Dragged == Target) return false;
  if (FPages.size() != FButtons.size()) return false;
  bool canReorder = true;
  if (OnReorder) OnReorder(this, Dragged, Target, canReorder);
  if (!canReorder) return false;
  SwapPages(FPages, Dragged, Target, FSelectIndex);
  std::swap(FButtons[static_cast<size_t>(Dragged)], FButtons[static_cast<size_t>(Target)]);
  FButtons[static_cast<size_t>(Dragged)]->SetTag(Dragged);
  FButtons[static_cast<size_t>(Target)]->SetTag(Target);
  ArrangeButtons();
  return true;
}

void TKemButtonSet::ButtonsReordered() {
  if (OnReordered) OnReordered(this);
}

// ---- Mouse, keys and events of the buttons ----------------------------------------------

void TKemButtonSet::ButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(Sender, Button, Shift, X, Y);
  if (OnButtonMouseDown) OnButtonMouseDown(Sender, Button, Shift, X, Y);
}

void TKemButtonSet::ButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(Sender, Shift, X, Y);
  if (OnButtonMouseMove) OnButtonMouseMove(Sender, Shift, X, Y);
}

void TKemButtonSet::ButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(Sender, Button, Shift, X, Y);
  if (OnButtonMouseUp) OnButtonMouseUp(Sender, Button, Shift, X, Y);
}

void TKemButtonSet::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FSelectIndex = FPageIndex;
  TKemCustomControl::MouseDown(Button, Shift, X, Y);
}

bool TKemButtonSet::DialogChar(WideChar Key, TShiftState Shift) {
  if (!Enabled() || !FShowAccelChar || !AccelModifierMatches(FAccelModifier, Shift)) return false;
  const WideChar key = AccelKeyChar(Key);
  if (key == 0) return false;
  const std::vector<int> matches = PagesWithAccel(FPages, key);
  if (matches.empty()) return false;
  const int chosen = NextAccelMatch(matches, FPageIndex);
  switch (FAccelAction) {
    case aaSelect:
      SetPageIndex(chosen);
      break;
    case aaClick:
      SetPageIndex(chosen);
      Click();
      break;
    case aaDblClick:
      SetPageIndex(chosen);
      DblClick();
      break;
    case aaCustom:
      if (OnAccelerator) OnAccelerator(this, chosen, static_cast<int>(matches.size()));
      break;
  }
  return true;
}

// ---- Look ------------------------------------------------------------------------------

void TKemButtonSet::ApplyColors(TKemButtonSetButton* Button) {
  Button->SetColorHighlight(FBorderColors.Highlight);
  Button->SetColorShadow(FBorderColors.Shadow);
  Button->SetColorFrame(FBorderColors.Frame);
  Button->SetColorSpark(FBorderColors.Spark);
}

void TKemButtonSet::BorderColorChanged(TColor TBorderColors::*) { LookChanged(); }

void TKemButtonSet::LookChanged() {
  for (TKemButtonSetButton* b : FButtons) ApplyColors(b);
  Invalidate();
}

void TKemButtonSet::SetColorText(TColor Value) {
  if (!StoreChanged(FColorText, Value)) return;
  LookChanged();
}

void TKemButtonSet::SetColorFill(TColor Value) {
  if (!StoreChanged(FColorFill, Value)) return;
  LookChanged();
}

void TKemButtonSet::SetColorTextSel(TColor Value) {
  if (!StoreChanged(FColorTextSel, Value)) return;
  LookChanged();
}

void TKemButtonSet::SetColorFillSel(TColor Value) {
  if (!StoreChanged(FColorFillSel, Value)) return;
  LookChanged();
}

void TKemButtonSet::SetBorder(TBevelCut Value) {
  if (!StoreChanged(FBorder, Value)) return;
  UpdateSize();
  Realign();
  Invalidate();
}

void TKemButtonSet::SetShowAccelChar(bool Value) {
  if (!StoreChanged(FShowAccelChar, Value)) return;
  UpdateSize();
  Realign();
  Invalidate();
}

void TKemButtonSet::SetSpaceAbove(int Value) {
  if (!StoreChanged(FSpaceAbove, Value)) return;
  UpdateSize();
  Realign();
  Invalidate();
}

void TKemButtonSet::SetSpaceBelow(int Value) {
  if (!StoreChanged(FSpaceBelow, Value)) return;
  UpdateSize();
  Realign();
  Invalidate();
}

void TKemButtonSet::SetSpaceInner(int Value) {
  if (!StoreChanged(FSpaceInner, Value)) return;
  UpdateSize();
  Realign();
  Invalidate();
}

void TKemButtonSet::SetButtonWidth(int Value) {
  if (!StoreChanged(FButtonWidth, Value)) return;
  Realign();
}

void TKemButtonSet::SetButtonHeight(int Value) {
  if (!StoreChanged(FButtonHeight, Value)) return;
  UpdateSize();
}

void TKemButtonSet::SetDirection(TKemButtonSetDirection Value) {
  if (!StoreChanged(FDirection, Value)) return;
  RealignButtons();
}

void TKemButtonSet::SetSkin(TVosSkin* Value) {
  if (!StoreChanged(FSkin, Value)) return;
  for (TKemButtonSetButton* b : FButtons) b->SetSkin(Value);
  Invalidate();
}

void TKemButtonSet::SetFormSkinner(TVosFormSkinner* Value) {
  FFormSkinner = Value;
  SetSkin(Value ? Value->Skin() : nullptr);
  RealignButtons();
}

void TKemButtonSet::Invalidate() {
  TKemCustomControl::Invalidate();
  for (TKemButtonSetButton* b : FButtons) b->Invalidate();
}

void TKemButtonSet::BoundsChanged(const TRect& OldBounds) {
  TKemCustomControl::BoundsChanged(OldBounds);
  if (OldBounds.Width() == Width() && OldBounds.Height() == Height()) return;
  UpdateSize();
  Invalidate();
}

void TKemButtonSet::FontChanged() {
  TKemCustomControl::FontChanged();
  UpdateSize();
  Realign();
  Invalidate();
}

void TKemButtonSet::Paint() {
  if (TVosSkin* skin = FSkin && PaintBuffer() ? VosSelectSkinFor(this) : nullptr) {
    const TPoint at = VosFormOffset(this);
    skin->DrawButtonSetBackground(*PaintBuffer(), ClientRect(), -at.Y, -at.X);
    return;
  }
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  if (FBorder == bvLowered) {
    Frame3D(c, r, FBorderColors.Shadow, FBorderColors.Highlight, 1);
  } else if (FBorder == bvRaised) {
    Frame3D(c, r, FBorderColors.Highlight, FBorderColors.Shadow, 1);
  }
  c->Brush()->SetColor(Color());
  c->FillRect(r);
}
