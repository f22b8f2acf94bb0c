// TCanvas: drawing on a device context with the canvas's font, pen and brush.
// A canvas either draws on a foreign DC handed to it (SetHandle, for example the
// DC of WM_PAINT; not owned) or makes its own (a bitmap's canvas). Its objects
// are selected into the DC lazily, before the drawing calls that use them, and
// the DC's own objects are put back when the canvas lets the DC go.
#pragma once
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "platform/bitmap.h"
#include "platform/events.h"
#include "platform/geometry.h"
#include "platform/graphics.h"
#include "platform/object.h"
#include "platform/threads.h"
#include "platform/types.h"
#include "platform/winapi_win.h"

// Raster operations of CopyRect and the drawing of bitmaps (the system's ROP codes).
using TCopyMode = std::int32_t;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = Set<TCanvasStates>;

class TCanvas : public TObject {
 public:
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The DC; a canvas without one makes it (CreateHandle) or raises
  // EInvalidOperation "Canvas does not allow drawing".
  HDC Handle();
  // Draws on a DC of someone else's from now on (nullptr: none). The previous
  // DC gets its own objects back.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  // The canvas's own objects; the setters copy the description (Assign).
  TFont* Font() const { return FFont.get(); }
  TPen* Pen() const { return FPen.get(); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetFont(const TFont& Value) { FFont->Assign(Value); }
  void SetPen(const TPen& Value) { FPen->Assign(Value); }
  void SetBrush(const TBrush& Value) { FBrush->Assign(Value); }

  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  // The part of the DC that drawing can reach.
  TRect ClipRect();

  // A pixel's colour (CLR_INVALID, -1, outside the DC's picture) and setting it.
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Color);

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  // Outlined with the pen, filled with the brush; right and bottom exclusive.
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void Polygon(std::span<const TPoint> Points);
  void Polygon(std::initializer_list<TPoint> Points) {
    Polygon(std::span<const TPoint>(Points.begin(), Points.size()));
  }
  void Polyline(std::span<const TPoint> Points);
  void Polyline(std::initializer_list<TPoint> Points) {
    Polyline(std::span<const TPoint>(Points.begin(), Points.size()));
  }
  // With the brush only.
  void FillRect(const TRect& Rect);
  void FrameRect(const TRect& Rect);
  // The dotted focus rectangle, drawn by XOR (a second call takes it away).
  void DrawFocusRect(const TRect& Rect);

  // Text in the canvas's font and colour; the background is filled with the
  // brush colour unless the brush is bsClear. TextOut moves PenPos to the end
  // of the text.
  void TextOut(int X, int Y, const WideString& Text);
  // As TextOut, clipped to Rect (whose area is filled when the brush is solid).
  void TextRect(const TRect& Rect, int X, int Y, const WideString& Text);
  TSize TextExtent(const WideString& Text);
  int TextWidth(const WideString& Text) { return TextExtent(Text).cx; }
  int TextHeight(const WideString& Text) { return TextExtent(Text).cy; }
  // The system's DrawTextW with DT_ flags; Rect is updated where the flags say
  // (DT_CALCRECT). Returns the height of the text.
  int DrawText(const WideString& Text, TRect& Rect, UINT Flags);

  // The bitmap at its size with its top left at X, Y. A pf32bit bitmap with an
  // alpha format is blended onto what is there; others are copied with CopyMode.
  void Draw(int X, int Y, TBitmap& Graphic);
  // The same, stretched to fill Rect.
  void StretchDraw(const TRect& Rect, TBitmap& Graphic);
  // Copies (stretching if the sizes differ) Source of Canvas to Dest with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas& Canvas, const TRect& Source);

  // Serialises drawing from several threads on one canvas; may be nested.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return FLockCount.load(); }

  // Takes the canvas's objects out of the DC, so the next drawing call selects
  // them again (for when other code changed what the DC has selected).
  void Refresh();

  // Before and after each drawing call.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  // Called when a handle is needed and there is none; a bitmap's canvas makes its DC here.
  virtual void CreateHandle() {}
  void Changing();
  void Changed();
  // Makes sure the handle exists and the named objects are selected.
  void RequiredState(TCanvasState ReqState);
  // Puts the DC's own objects back and forgets that ours were selected.
  void DeselectHandles();

 private:
  void FontChanged();
  void PenChanged();
  void BrushChanged();
  // Draws Graphic into Dest: blended, or copied with CopyMode.
  void DrawBitmap(const TRect& Dest, TBitmap& Graphic);

  HDC FHandle = nullptr;
  TCanvasState FState;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  // The DC's own objects, put back when ours leave it.
  HGDIOBJ FOldFont = nullptr;
  HGDIOBJ FOldPen = nullptr;
  HGDIOBJ FOldBrush = nullptr;
  TCriticalSection FLock;
  std::atomic<int> FLockCount{0};
};
