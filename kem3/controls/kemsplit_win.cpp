// The splitter bar on a real parent: dragging, relative mode and painting.
#include "kem3/controls/kemsplit_win.h"

#include <algorithm>

#include "kem3/pictures/kemcursors.h"
#include "kem3/pictures/kemimage_win.h"
#include "platform/extctrls_win.h"

namespace {

bool AlignedAlong(TAlign Align, bool AlongX) {
  return AlongX ? (Align == alLeft || Align == alRight) : (Align == alTop || Align == alBottom);
}

// The classic drag line: a grey half-tone, inverted onto the parent.
HBRUSH HalftoneBrush() {
  static HBRUSH brush = [] {
    WORD bits[8];
    for (int i = 0; i < 8; ++i) bits[i] = static_cast<WORD>(0x5555 << (i & 1));
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
    HBRUSH b = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    return b;
  }();
  return brush;
}

// Src of Image onto Dest of Canvas; an image with alpha is blended over what is there.
void DrawPiece(TCanvas& Canvas, TBitmap& Image, const TRect& Src, TPoint Dest) {
  if (Image.PixelFormat() != pf32bit || Image.AlphaFormat() == afIgnored) {
    Canvas.CopyRect(Bounds(Dest.X, Dest.Y, Src.Width(), Src.Height()), *Image.Canvas(), Src);
    return;
  }
  TBitmap piece;
  piece.SetPixelFormat(pf32bit);
  piece.SetSize(Src.Width(), Src.Height());
  piece.SetAlphaFormat(Image.AlphaFormat());
  for (int y = 0; y < Src.Height(); ++y) {
    const auto* in = static_cast<const std::uint32_t*>(Image.ScanLine(Src.Top + y)) + Src.Left;
    std::copy(in, in + Src.Width(), static_cast<std::uint32_t*>(piece.ScanLine(y)));
  }
  Canvas.Draw(Dest.X, Dest.Y, piece);
}

}  // namespace

TKemSplitter::TKemSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  RegisterCursors();
  SetColor(clBtnFace);
  SetAlign(alTop);
  SetBounds(0, 0, 100, FSplitSize);
}

TKemSplitter::~TKemSplitter() {
  ReleaseLineDC();
  LeaveDrags();
}

void TKemSplitter::LeaveDrags() {
  // No partner keeps a pointer to a bar that goes or moves to another parent.
  if (!Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    if (auto* s = dynamic_cast<TKemSplitter*>(Parent()->Controls(i))) std::erase(s->FPartners, this);
  }
  FPartners.clear();
}

void TKemSplitter::SetParent(TWinControl* AParent) {
  if (AParent == Parent()) return;
  if (FDragging) EndDrags();
  LeaveDrags();
  TGraphicControl::SetParent(AParent);
}

void TKemSplitter::SetSplitSize(int Value) {
  FSplitSize = std::max(1, Value);
  SetBounds(Left(), Top(), Width(), Height());
}

void TKemSplitter::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (Align() == alTop || Align() == alBottom) AHeight = FSplitSize;
  if (Align() == alLeft || Align() == alRight) AWidth = FSplitSize;
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  // Aligned anew (the parent places it): the bar's own cursor follows its axis at once,
  // not only from the first move over it. Over a crossing the hover decides.
  if (FPartners.empty()) SetCursor(OwnCursor());
}

TCursor TKemSplitter::OwnCursor() const { return SplitAlongX(Align()) ? crKemSplitH : crKemSplitV; }

void TKemSplitter::SetBevelInner(TBevelCut Value) {
  FBevelInner = Value;
  Invalidate();
}
void TKemSplitter::SetBevelOuter(TBevelCut Value) {
  FBevelOuter = Value;
  Invalidate();
}
void TKemSplitter::SetColorHighlight(TColor Value) {
  FColorHighlight = Value;
  Invalidate();
}
void TKemSplitter::SetColorShadow(TColor Value) {
  FColorShadow = Value;
  Invalidate();
}
void TKemSplitter::SetBackColor(TColor Value) {
  FBackColor = Value;
  Invalidate();
}
void TKemSplitter::SetGripCount(int Value) {
  FGripCount = std::max(0, Value);
  Invalidate();
}

// ---- Neighbours

TControl* TKemSplitter::Neighbour() const {
  if (!Parent()) return nullptr;
  const TPoint probe = SplitProbe(Align(), BoundsRect());
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    TControl* c = Parent()->Controls(i);
    if (c != this && c->Visible() && PtInRect(c->BoundsRect(), probe)) return c;
  }
  return nullptr;
}

std::vector<TKemSplitter*> TKemSplitter::CrossingSplitters() const {
  std::vector<TKemSplitter*> found;
  if (!Parent()) return found;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* s = dynamic_cast<TKemSplitter*>(Parent()->Controls(i));
    if (s && s != this && s->Visible() && SplittersCross(Align(), BoundsRect(), s->Align(), s->BoundsRect()))
      found.push_back(s);
  }
  return found;
}

int TKemSplitter::Extent(const TControl* Control) const {
  return SplitAlongX(Align()) ? Control->Width() : Control->Height();
}

int TKemSplitter::ParentExtent() const {
  return SplitAlongX(Align()) ? Parent()->ClientWidth() : Parent()->ClientHeight();
}

// ---- Dragging

void TKemSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  // A drag whose release went elsewhere (the capture was taken) ends before a new one
  // takes the parent's drawing context again.
  if (FDragging) EndDrags();
  if (!FAllowDrag) return;
  const TPoint pos = Point(X + Left(), Y + Top());
  if (!StartDrag(pos)) return;
  for (TKemSplitter* s : FPartners) s->StartDrag(pos);
}

void TKemSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  const TPoint pos = Point(X + Left(), Y + Top());
  if (FDragging && !Shift.Contains(ssLeft)) EndDrags();  // its release went elsewhere
  if (FDragging) {
    DragTo(pos);
    for (TKemSplitter* s : FPartners)
      if (s->FDragging) s->DragTo(pos);
    return;
  }
  // Hovering: over a crossing the bars found there drag together (those that may be dragged).
  FPartners.clear();
  for (TKemSplitter* s : CrossingSplitters())
    if (s->FAllowDrag && PtInRect(SplitCrossArea(s->BoundsRect()), pos)) FPartners.push_back(s);
  SetCursor(!FPartners.empty() ? crKemSplitHV : OwnCursor());
}

void TKemSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft && FDragging) EndDrags();
}

void TKemSplitter::EndDrags() {
  EndDrag();
  // A copy: a handler of OnMoved may move the bars.
  const std::vector<TKemSplitter*> partners = FPartners;
  for (TKemSplitter* s : partners)
    if (s->FDragging) s->EndDrag();
}

bool TKemSplitter::StartDrag(TPoint Pos) {
  FControl = Neighbour();
  if (!FControl) return false;
  const bool alongX = SplitAlongX(Align());
  int aligned = 0;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    TControl* c = Parent()->Controls(i);
    if (c->Visible() && AlignedAlong(c->Align(), alongX)) aligned += Extent(c);
  }
  FStartSize = FSize = Extent(FControl);
  FLimit = SplitLimit(ParentExtent(), FMinSize, aligned, FStartSize);
  FPressPos = Pos;
  FLineOffset = 0;
  FDragging = true;
  if (!FFullUpdate) {
    FLineDC = GetDCEx(Parent()->Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
    InvertLine();
  }
  return true;
}

void TKemSplitter::DragTo(TPoint Pos) {
  const int offset = SplitAlongX(Align()) ? Pos.X - FPressPos.X : Pos.Y - FPressPos.Y;
  const TSplitMove move = SplitDrag(Align(), FStartSize, offset, FMinSize, FLimit);
  if (move.Size == FSize) return;
  FSize = move.Size;
  if (FFullUpdate) {
    ApplySize(FSize);
  } else {
    InvertLine();
    FLineOffset = move.Offset;
    InvertLine();
  }
  if (OnMoving) OnMoving(this);
}

void TKemSplitter::EndDrag() {
  if (FLineShown) InvertLine();
  ReleaseLineDC();
  FDragging = false;
  if (!FControl) return;
  ApplySize(FSize);
  if (FSplitMode == smRelative) FRelativeRatio = SplitRatio(FSize, ParentExtent(), FSplitSize, FRelativeRatio);
  FControl = nullptr;
  if (FForcedRepaint && Parent()) Parent()->Repaint();
  if (OnMoved) OnMoved(this);
}

void TKemSplitter::InvertLine() {
  if (!FLineDC) return;
  TRect r = BoundsRect();
  if (SplitAlongX(Align()))
    OffsetRect(r, FLineOffset, 0);
  else
    OffsetRect(r, 0, FLineOffset);
  HGDIOBJ old = SelectObject(FLineDC, HalftoneBrush());
  PatBlt(FLineDC, r.Left, r.Top, r.Width(), r.Height(), PATINVERT);
  SelectObject(FLineDC, old);
  FLineShown = !FLineShown;
}

void TKemSplitter::ReleaseLineDC() {
  if (FLineDC && Parent() && Parent()->HandleAllocated()) ReleaseDC(Parent()->Handle(), FLineDC);
  FLineDC = nullptr;
  FLineShown = false;
}

void TKemSplitter::ApplySize(int Size) {
  TControl* c = FControl ? FControl : Neighbour();
  if (!c || !Parent()) return;
  switch (Align()) {
    case alTop:
      c->SetHeight(Size);
      break;
    case alLeft:
      c->SetWidth(Size);
      break;
    case alBottom:
    case alRight: {
      // The far edge stays: the neighbour grows towards the bar.
      Parent()->DisableAlign();
      try {
        if (Align() == alBottom)
          c->SetBounds(c->Left(), c->Top() + c->Height() - Size, c->Width(), Size);
        else
          c->SetBounds(c->Left() + c->Width() - Size, c->Top(), Size, c->Height());
      } catch (...) {
        Parent()->EnableAlign();
        throw;
      }
      Parent()->EnableAlign();
      break;
    }
    default:
      break;
  }
}

void TKemSplitter::ParentResized() {
  if (FSplitMode != smRelative || FDragging || !Parent()) return;
  TControl* c = Neighbour();
  if (!c) return;
  const int extent = ParentExtent();
  if (FRelativeRatio < 0) FRelativeRatio = SplitRatio(Extent(c), extent, FSplitSize, FRelativeRatio);
  // A parent no larger than the bar has no room to share: the ratio stays for later.
  if (FRelativeRatio > 0 && extent > FSplitSize) {
    const int size = SplitRelativeSize(extent, FSplitSize, FRelativeRatio, FMinSize);
    if (size != Extent(c)) ApplySize(size);
  }
}

// ---- Painting

void TKemSplitter::PaintBevel(TRect& R, TBevelCut Cut) {
  if (Cut != bvLowered && Cut != bvRaised) return;
  // A lowered bevel is dark above and left, light below and right; raised the reverse.
  const bool lowered = Cut == bvLowered;
  Frame3D(Canvas(), R, lowered ? FColorShadow : FColorHighlight, lowered ? FColorHighlight : FColorShadow, 1);
}

void TKemSplitter::PaintBody() {
  TCanvas& c = *Canvas();
  TBitmap& image = *FBodyImage;
  c.Brush()->SetColor(FBackColor);
  c.FillRect(ClientRect());
  const bool alongX = SplitAlongX(Align());
  // Cut along the bar's length: across a top bar's width, down a left bar's height.
  const int imageLength = alongX ? image.Height() : image.Width();
  const int length = alongX ? Height() : Width();
  for (const TSplitBodyPiece& p : SplitBodyPieces(imageLength, length)) {
    const TRect src =
        alongX ? Bounds(0, p.Source, image.Width(), p.Length) : Bounds(p.Source, 0, p.Length, image.Height());
    DrawPiece(c, image, src, alongX ? Point(0, p.Dest) : Point(p.Dest, 0));
  }
}

void TKemSplitter::Paint() {
  TCanvas& c = *Canvas();
  if (FBodyImage->Empty()) {
    c.Brush()->SetColor(Color());
    c.FillRect(ClientRect());
    TRect r = ClientRect();
    PaintBevel(r, FBevelOuter);
    PaintBevel(r, FBevelInner);
  } else {
    PaintBody();
  }
  if (FGripImage->Empty()) return;
  const bool alongX = SplitAlongX(Align());
  TBitmap& grip = *FGripImage;
  const int length = alongX ? Height() : Width();
  const int across = alongX ? (Width() - grip.Width()) / 2 : (Height() - grip.Height()) / 2;
  for (int start : SplitGripStarts(length, alongX ? grip.Height() : grip.Width(), FGripCount))
    c.Draw(alongX ? across : start, alongX ? start : across, grip);
}
