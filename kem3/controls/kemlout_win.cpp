// TKemLayout: the layout pass on the control's canvas, its pictures and links.
#include "kem3/controls/kemlout_win.h"

#include "kem3/framework/kemexe.h"
#include "kem3/pictures/kemcursors.h"
#include "kem3/pictures/kemimage_win.h"
#include "platform/unicode_convert.h"

namespace {

// Pictures named by the mark-up: image resources of the program, or files.
std::unique_ptr<TBitmap> LoadMarkupPicture(const TKemTextPiece& Piece) {
  if (Piece.IsResource) return CreateResourceBitmap(Piece.ResourceName, nullptr);
  auto picture = std::make_unique<TBitmap>();
  LoadBitmapFromFile(*picture, KemPictureFileName(WideToUtf8(Piece.Text), GetExeDir()));
  KemMaskCornerColor(*picture);
  return picture;
}

}  // namespace

void TKemCanvasLayoutSurface::SelectFont(const TFont& Font) {
  if (!FCanvas->Font()->SameAs(Font)) FCanvas->SetFont(Font);
}

void TKemCanvasLayoutSurface::FillRect(const TRect& Rect, TColor Color) {
  FCanvas->Brush()->SetColor(Color);
  FCanvas->FillRect(Rect);
}

void TKemCanvasLayoutSurface::DrawText(int X, int Y, const WideString& Text, TColor Color, TColor Back) {
  FCanvas->Font()->SetColor(Color);
  if (Back == clNone) {
    FCanvas->Brush()->SetStyle(bsClear);
  } else {
    FCanvas->Brush()->SetColor(Back);
    FCanvas->Brush()->SetStyle(bsSolid);
  }
  FCanvas->TextOut(X, Y, Text);
}

TKemLayout::TKemLayout(TComponent* AOwner)
    : TKemCustomControl(AOwner), FPictures(LoadMarkupPicture), FBackground(std::make_unique<TBitmap>()) {
  SetControlStyle(ControlStyle() + csOpaque);
  SetBounds(Left(), Top(), 65, 17);
  RegisterCursors();
}

TKemLayout::~TKemLayout() = default;

void TKemLayout::Clear(bool WithPictures) {
  FPressedLink = nullptr;
  FParagraphs.clear();
  FPictures.Clear(WithPictures);
  FLayoutHeight = 0;
}

void TKemLayout::AddParagraph(const WideString& Text) { FParagraphs.push_back(std::make_unique<TKemParagraph>(Text)); }

int TKemLayout::AddPicture(std::unique_ptr<TBitmap> Bitmap) { return FPictures.Add(std::move(Bitmap)); }

int TKemLayout::CalcLayoutHeight() {
  // Measuring needs fonts only: a memory canvas serves before the control has a window.
  TBitmap scratch;
  scratch.SetSize(1, 1);
  TKemCanvasLayoutSurface surface(scratch.Canvas());
  TKemLayoutPass pass;
  pass.Width = Width();
  pass.Color = Color();
  FLayoutHeight = LayoutParagraphs(FParagraphs, surface, FPictures, pass, 0);
  return FLayoutHeight;
}

void TKemLayout::SetBackground(const TBitmap& Value) {
  FBackground->Assign(Value);
  Invalidate();
}

void TKemLayout::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  TKemLayoutPass pass;
  pass.Width = Width();
  pass.Color = Color();
  pass.Paint = true;
  // The whole area first: the pass fills only around its pieces, and lifted
  // text leaves the strip above it to the background.
  canvas->FillRect(ClientRect());
  if (!FBackground->Empty()) {
    canvas->Draw(0, 0, *FBackground);
    pass.Transparent = true;
  }
  TKemCanvasLayoutSurface surface(canvas);
  FLayoutHeight = LayoutParagraphs(FParagraphs, surface, FPictures, pass, 0);
}

void TKemLayout::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FPressedLink = LinkAt(Point(X, Y));
  if (!FPressedLink) TKemCustomControl::MouseDown(Button, Shift, X, Y);
}

void TKemLayout::MouseMove(TShiftState Shift, int X, int Y) {
  SetCursor(LinkAt(Point(X, Y)) ? crKemFinger : crDefault);
  TKemCustomControl::MouseMove(Shift, X, Y);
}

void TKemLayout::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TKemTextLink* pressed = FPressedLink;
  if (Button != mbLeft || !pressed) {
    TKemCustomControl::MouseUp(Button, Shift, X, Y);
    return;
  }
  FPressedLink = nullptr;
  if (LinkAt(Point(X, Y)) == pressed && OnLink) OnLink(this, pressed);
}
