// TCanvas on a device context: lazy selection of the canvas's font, pen and
// brush, the drawing calls, and drawing bitmaps (blended when they carry alpha).
#include "platform/canvas_win.h"

#include <vector>

#include "platform/bitmap_pixels.h"
#include "platform/geometry_win.h"

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FFont->OnChange = [this](TObject*) { FontChanged(); };
  FPen->OnChange = [this](TObject*) { PenChanged(); };
  FBrush->OnChange = [this](TObject*) { BrushChanged(); };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

HDC TCanvas::Handle() {
  // Code that draws with the system's calls on this handle gets the canvas's
  // objects, as with the canvas's own calls.
  RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (FHandle == Value) return;
  if (FHandle) {
    DeselectHandles();
    FHandle = nullptr;
    FState.Exclude(csHandleValid);
  }
  if (Value) {
    FHandle = Value;
    FState.Include(csHandleValid);
  }
}

void TCanvas::RequiredState(TCanvasState ReqState) {
  TCanvasState needed = ReqState - FState;
  if (needed.empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (needed.Contains(csFontValid)) {
    HGDIOBJ old = SelectObject(FHandle, FFont->Handle());
    if (!FOldFont) FOldFont = old;
    SetTextColor(FHandle, static_cast<COLORREF>(ColorToRGB(FFont->Color())));
    FState.Include(csFontValid);
  }
  if (needed.Contains(csPenValid)) {
    HGDIOBJ old = SelectObject(FHandle, FPen->Handle());
    if (!FOldPen) FOldPen = old;
    FState.Include(csPenValid);
  }
  if (needed.Contains(csBrushValid)) {
    HBRUSH brush = FBrush->Handle();
    UnrealizeObject(brush);  // hatches start at the DC's brush origin
    HGDIOBJ old = SelectObject(FHandle, brush);
    if (!FOldBrush) FOldBrush = old;
    // Text and hatch gaps take the brush colour; a clear (or hatched) brush leaves them alone.
    SetBkColor(FHandle, static_cast<COLORREF>(ColorToRGB(FBrush->Color())));
    SetBkMode(FHandle, FBrush->Style() == bsSolid ? OPAQUE : TRANSPARENT);
    FState.Include(csBrushValid);
  }
}

void TCanvas::DeselectHandles() {
  FontChanged();
  PenChanged();
  BrushChanged();
}

void TCanvas::FontChanged() {
  if (FHandle && FState.Contains(csFontValid)) {
    SelectObject(FHandle, FOldFont);
    FOldFont = nullptr;
  }
  FState.Exclude(csFontValid);
}

void TCanvas::PenChanged() {
  if (FHandle && FState.Contains(csPenValid)) {
    SelectObject(FHandle, FOldPen);
    FOldPen = nullptr;
  }
  FState.Exclude(csPenValid);
}

void TCanvas::BrushChanged() {
  if (FHandle && FState.Contains(csBrushValid)) {
    SelectObject(FHandle, FOldBrush);
    FOldBrush = nullptr;
  }
  FState.Exclude(csBrushValid);
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
  RequiredState(csHandleValid);
  POINT p{};
  GetCurrentPositionEx(FHandle, &p);
  return FromPOINT(p);
}

TRect TCanvas::ClipRect() {
  RequiredState(csHandleValid);
  RECT r{};
  GetClipBox(FHandle, &r);
  return FromRECT(r);
}

TColor TCanvas::Pixels(int X, int Y) {
  RequiredState(csHandleValid);
  return static_cast<TColor>(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Color) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  SetPixel(FHandle, X, Y, static_cast<COLORREF>(ColorToRGB(Color)));
  Changed();
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState(csHandleValid);
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

namespace {

std::vector<POINT> ToPoints(std::span<const TPoint> Points) {
  std::vector<POINT> points;
  points.reserve(Points.size());
  for (const TPoint& p : Points) points.push_back(ToPOINT(p));
  return points;
}

}  // namespace

void TCanvas::Polygon(std::span<const TPoint> Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  std::vector<POINT> points = ToPoints(Points);
  ::Polygon(FHandle, points.data(), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
  if (Points.empty()) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  std::vector<POINT> points = ToPoints(Points);
  ::Polyline(FHandle, points.data(), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  RECT r = ToRECT(Rect);
  ::FillRect(FHandle, &r, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  RECT r = ToRECT(Rect);
  ::FrameRect(FHandle, &r, FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  RECT r = ToRECT(Rect);
  ::DrawFocusRect(FHandle, &r);
  Changed();
}

namespace {

LPCWSTR Wide(const WideString& Text) { return reinterpret_cast<LPCWSTR>(Text.c_str()); }

}  // namespace

void TCanvas::TextOut(int X, int Y, const WideString& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOutW(FHandle, X, Y, 0, nullptr, Wide(Text), static_cast<UINT>(Text.size()), nullptr);
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const WideString& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED;
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  RECT r = ToRECT(Rect);
  ExtTextOutW(FHandle, X, Y, options, &r, Wide(Text), static_cast<UINT>(Text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const WideString& Text) {
  RequiredState({csHandleValid, csFontValid});
  SIZE size{};
  GetTextExtentPoint32W(FHandle, Wide(Text), static_cast<int>(Text.size()), &size);
  return FromSIZE(size);
}

int TCanvas::DrawText(const WideString& Text, TRect& Rect, UINT Flags) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  RECT r = ToRECT(Rect);
  // The text is ours and constant: the call must not write an ellipsis into it.
  int height = DrawTextW(FHandle, Wide(Text), static_cast<int>(Text.size()), &r, Flags & ~UINT{DT_MODIFYSTRING});
  Rect = FromRECT(r);
  Changed();
  return height;
}

void TCanvas::Draw(int X, int Y, TBitmap& Graphic) {
  if (Graphic.Empty()) return;
  DrawBitmap(Bounds(X, Y, Graphic.Width(), Graphic.Height()), Graphic);
}

void TCanvas::StretchDraw(const TRect& Rect, TBitmap& Graphic) {
  if (Graphic.Empty()) return;
  DrawBitmap(Rect, Graphic);
}

void TCanvas::DrawBitmap(const TRect& Dest, TBitmap& Graphic) {
  Changing();
  RequiredState(csHandleValid);
  int w = Graphic.Width(), h = Graphic.Height();
  bool blend = BitsPerPixel(Graphic.PixelFormat()) == 32 && Graphic.AlphaFormat() != afIgnored;
  if (!blend) {
    int oldMode = SetStretchBltMode(FHandle, COLORONCOLOR);
    StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Graphic.Canvas()->Handle(), 0, 0, w, h,
               static_cast<DWORD>(FCopyMode));
    SetStretchBltMode(FHandle, oldMode);
  } else {
    // The system blends premultiplied colours; straight alpha is multiplied
    // into a copy, so the bitmap keeps its pixels.
    TBitmap premultiplied;
    TBitmap* source = &Graphic;
    if (Graphic.AlphaFormat() == afDefined) {
      PremultiplyAlpha(Graphic, premultiplied);
      source = &premultiplied;
    }
    BLENDFUNCTION blendFunction{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), source->Canvas()->Handle(), 0, 0, w, h,
               blendFunction);
  }
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas& Canvas, const TRect& Source) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  Canvas.RequiredState({csHandleValid, csBrushValid});
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas.FHandle, Source.Left, Source.Top,
             Source.Width(), Source.Height(), static_cast<DWORD>(FCopyMode));
  Changed();
}

void TCanvas::Lock() {
  FLock.Enter();
  ++FLockCount;
}

void TCanvas::Unlock() {
  --FLockCount;
  FLock.Leave();
}

bool TCanvas::TryLock() {
  if (!FLock.TryEnter()) return false;
  ++FLockCount;
  return true;
}
