#include "platform/canvas_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "platform/bitmap.h"

namespace {

// A 32-bit bitmap filled with one colour through its canvas.
void Prepare(TBitmap& b, int w, int h, TColor fill) {
  b.SetPixelFormat(pf32bit);
  b.SetSize(w, h);
  b.Canvas()->Brush()->SetColor(fill);
  b.Canvas()->FillRect(Rect(0, 0, w, h));
}

void ExpectNear(TColor actual, TColor expected, int tolerance) {
  EXPECT_LE(std::abs(GetRed(actual) - GetRed(expected)), tolerance) << std::hex << actual << " " << expected;
  EXPECT_LE(std::abs(GetGreen(actual) - GetGreen(expected)), tolerance) << std::hex << actual << " " << expected;
  EXPECT_LE(std::abs(GetBlue(actual) - GetBlue(expected)), tolerance) << std::hex << actual << " " << expected;
}

}  // namespace

TEST(CanvasWin, FillRectAndFrameRect) {
  TBitmap b;
  Prepare(b, 20, 20, clBlack);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(RGBColor(10, 20, 30));
  c->FillRect(Rect(2, 3, 10, 12));
  EXPECT_EQ(b.PixelColor(2, 3), RGBColor(10, 20, 30));
  EXPECT_EQ(b.PixelColor(9, 11), RGBColor(10, 20, 30));
  EXPECT_EQ(b.PixelColor(10, 11), clBlack);  // right and bottom edges are outside
  EXPECT_EQ(b.PixelColor(9, 12), clBlack);
  EXPECT_EQ(b.PixelColor(1, 3), clBlack);
  // A system colour is resolved.
  c->Brush()->SetColor(clWindow);
  c->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(b.PixelColor(0, 0), ColorToRGB(clWindow));

  c->Brush()->SetColor(clRed);
  c->FrameRect(Rect(12, 12, 18, 18));
  EXPECT_EQ(b.PixelColor(12, 12), clRed);
  EXPECT_EQ(b.PixelColor(17, 15), clRed);
  EXPECT_EQ(b.PixelColor(14, 14), clBlack);
}

TEST(CanvasWin, RectangleHasAPenBorderAndABrushInside) {
  TBitmap b;
  Prepare(b, 20, 20, clWhite);
  TCanvas* c = b.Canvas();
  c->Pen()->SetColor(clRed);
  c->Brush()->SetColor(clLime);
  c->Rectangle(2, 2, 10, 10);
  EXPECT_EQ(b.PixelColor(2, 2), clRed);
  EXPECT_EQ(b.PixelColor(9, 9), clRed);
  EXPECT_EQ(b.PixelColor(2, 6), clRed);
  EXPECT_EQ(b.PixelColor(5, 5), clLime);
  EXPECT_EQ(b.PixelColor(10, 10), clWhite);
  EXPECT_EQ(b.PixelColor(10, 5), clWhite);
  // A clear brush leaves the inside alone; a clear pen draws no border.
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clBlue);
  c->Rectangle(Rect(12, 12, 18, 18));
  EXPECT_EQ(b.PixelColor(12, 12), clBlue);
  EXPECT_EQ(b.PixelColor(14, 14), clWhite);
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(clYellow);  // solid again
  c->Rectangle(0, 0, 2, 2);
  EXPECT_EQ(b.PixelColor(0, 0), clYellow);
}

TEST(CanvasWin, LinesAndPenPosition) {
  TBitmap b;
  Prepare(b, 10, 10, clBlack);
  TCanvas* c = b.Canvas();
  c->Pen()->SetColor(clWhite);
  c->MoveTo(1, 5);
  c->LineTo(8, 5);
  EXPECT_EQ(c->PenPos(), Point(8, 5));
  EXPECT_EQ(b.PixelColor(1, 5), clWhite);
  EXPECT_EQ(b.PixelColor(7, 5), clWhite);
  EXPECT_EQ(b.PixelColor(8, 5), clBlack);  // the end point is not drawn
  c->SetPenPos(Point(2, 2));
  EXPECT_EQ(c->PenPos(), Point(2, 2));
  c->Polyline({Point(0, 0), Point(0, 3)});
  EXPECT_EQ(b.PixelColor(0, 1), clWhite);
  c->Brush()->SetColor(clRed);
  c->Polygon({Point(4, 7), Point(9, 7), Point(9, 10), Point(4, 10)});
  EXPECT_EQ(b.PixelColor(6, 8), clRed);
  c->Ellipse(0, 0, 0, 0);  // nothing to draw, nothing fails
  c->RoundRect(0, 0, 0, 0, 2, 2);
}

TEST(CanvasWin, PixelsReadAndWrite) {
  TBitmap b;
  Prepare(b, 5, 5, clBlack);
  TCanvas* c = b.Canvas();
  c->SetPixels(3, 2, RGBColor(1, 2, 3));
  EXPECT_EQ(c->Pixels(3, 2), RGBColor(1, 2, 3));
  EXPECT_EQ(b.PixelColor(3, 2), RGBColor(1, 2, 3));
  EXPECT_EQ(c->Pixels(50, 50), static_cast<TColor>(CLR_INVALID));
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 5, 5));
}

TEST(CanvasWin, TextStaysInsideItsExtent) {
  TBitmap b;
  Prepare(b, 80, 40, clWhite);
  TCanvas* c = b.Canvas();
  c->Font()->SetColor(clBlack);
  c->Font()->SetSize(10);
  c->Brush()->SetStyle(bsClear);
  WideString text = u"Wgé日";
  TSize extent = c->TextExtent(text);
  ASSERT_GT(extent.cx, 0);
  ASSERT_GT(extent.cy, 0);
  EXPECT_EQ(c->TextWidth(text), extent.cx);
  EXPECT_EQ(c->TextHeight(text), extent.cy);
  c->TextOut(5, 5, text);
  EXPECT_EQ(c->PenPos(), Point(5 + extent.cx, 5));
  TRect box = Bounds(5, 5, extent.cx, extent.cy);
  int inside = 0, outside = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.PixelColor(x, y) != clWhite) ++(PtInRect(box, Point(x, y)) ? inside : outside);
  EXPECT_GT(inside, 0);
  EXPECT_EQ(outside, 0);

  // A solid brush fills the text's box with its colour.
  Prepare(b, 80, 40, clWhite);
  c->Brush()->SetColor(clYellow);
  c->TextOut(5, 5, u"i");
  TSize small = c->TextExtent(u"i");
  int yellow = 0;
  for (int y = 5; y < 5 + small.cy; ++y)
    for (int x = 5; x < 5 + small.cx; ++x) yellow += b.PixelColor(x, y) == clYellow;
  EXPECT_GT(yellow, 0);
  EXPECT_EQ(b.PixelColor(5 + small.cx, 5), clWhite);
}

TEST(CanvasWin, TextRectClipsAndDrawTextMeasures) {
  TBitmap b;
  Prepare(b, 60, 30, clWhite);
  TCanvas* c = b.Canvas();
  c->Font()->SetColor(clBlack);
  c->Brush()->SetColor(clAqua);
  c->TextRect(Rect(10, 10, 20, 20), 0, 0, u"WWWWWWWWWW");
  EXPECT_EQ(b.PixelColor(9, 9), clWhite);
  EXPECT_EQ(b.PixelColor(25, 15), clWhite);
  int changed = 0;
  for (int y = 10; y < 20; ++y)
    for (int x = 10; x < 20; ++x) changed += b.PixelColor(x, y) != clWhite;
  EXPECT_EQ(changed, 100);  // opaque: the whole rectangle is aqua or text

  TRect r = Rect(0, 0, 1000, 0);
  int height = c->DrawText(u"Hello", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(height, c->TextHeight(u"Hello"));
  EXPECT_EQ(r.Width(), c->TextWidth(u"Hello"));
  EXPECT_EQ(r.Height(), height);
  TRect end = Rect(0, 0, 20, 20);
  c->DrawText(u"a long text", end, DT_END_ELLIPSIS | DT_MODIFYSTRING);  // the text is not written to
}

TEST(CanvasWin, AlphaBitmapsAreBlended) {
  for (TAlphaFormat format : {afDefined, afPremultiplied}) {
    SCOPED_TRACE(format);
    TBitmap dest;
    Prepare(dest, 4, 4, clWhite);
    TBitmap src;
    src.SetPixelFormat(pf32bit);
    src.SetSize(2, 2);
    src.SetAlphaFormat(format);
    TRGBQuad pixel = format == afDefined ? TRGBQuad{0, 100, 200, 128} : TRGBQuad{0, 50, 100, 128};
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) static_cast<TRGBQuad*>(src.ScanLine(y))[x] = pixel;
    dest.Canvas()->Draw(1, 1, src);
    // Half of (200, 100, 0) over white: 100 + 127, 50 + 127, 0 + 127.
    ExpectNear(dest.PixelColor(1, 1), RGBColor(227, 177, 127), 1);
    ExpectNear(dest.PixelColor(2, 2), RGBColor(227, 177, 127), 1);
    EXPECT_EQ(dest.PixelColor(0, 0), clWhite);
    EXPECT_EQ(dest.PixelColor(3, 3), clWhite);
    // The bitmap keeps its own pixels.
    EXPECT_EQ(static_cast<const TRGBQuad*>(src.ScanLine(0))[0], pixel);
  }
}

TEST(CanvasWin, DrawStretchDrawAndCopyRect) {
  TBitmap src;
  Prepare(src, 2, 2, clBlue);
  src.Canvas()->SetPixels(0, 0, clRed);
  TBitmap dest;
  Prepare(dest, 10, 10, clWhite);
  dest.Canvas()->Draw(3, 3, src);  // no alpha format: copied
  EXPECT_EQ(dest.PixelColor(3, 3), clRed);
  EXPECT_EQ(dest.PixelColor(4, 4), clBlue);
  EXPECT_EQ(dest.PixelColor(5, 5), clWhite);

  dest.Canvas()->StretchDraw(Rect(0, 6, 4, 10), src);
  EXPECT_EQ(dest.PixelColor(0, 6), clRed);
  EXPECT_EQ(dest.PixelColor(1, 7), clRed);
  EXPECT_EQ(dest.PixelColor(3, 9), clBlue);

  dest.Canvas()->CopyRect(Rect(8, 0, 10, 2), *src.Canvas(), Rect(0, 0, 2, 2));
  EXPECT_EQ(dest.PixelColor(8, 0), clRed);
  EXPECT_EQ(dest.PixelColor(9, 1), clBlue);
  dest.Canvas()->SetCopyMode(cmNotSrcCopy);
  dest.Canvas()->CopyRect(Rect(8, 0, 9, 1), *src.Canvas(), Rect(0, 0, 1, 1));
  EXPECT_EQ(dest.PixelColor(8, 0), clAqua);  // not red
  TBitmap empty;
  dest.Canvas()->Draw(0, 0, empty);
}

TEST(CanvasWin, HandleHasTheCanvasObjectsSelected) {
  TBitmap b;
  Prepare(b, 4, 4, clWhite);
  TCanvas* c = b.Canvas();
  HDC dc = c->Handle();
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), c->Font()->Handle());
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), c->Pen()->Handle());
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), c->Brush()->Handle());
  EXPECT_EQ(GetTextColor(dc), ColorToRGB(clWindowText));
  c->Font()->SetColor(clRed);
  c->Font()->SetStyle({fsBold});
  dc = c->Handle();
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), c->Font()->Handle());
  EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(clRed));
  c->Brush()->SetStyle(bsClear);
  EXPECT_EQ(GetBkMode(c->Handle()), TRANSPARENT);
  c->Brush()->SetColor(clGreen);
  EXPECT_EQ(GetBkMode(c->Handle()), OPAQUE);
  EXPECT_EQ(GetBkColor(c->Handle()), static_cast<COLORREF>(clGreen));
}

TEST(CanvasWin, ForeignDCGetsItsObjectsBack) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 8);  // monochrome: enough to draw on
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT), pen = GetCurrentObject(dc, OBJ_PEN),
          brush = GetCurrentObject(dc, OBJ_BRUSH);
  {
    TCanvas c;
    EXPECT_FALSE(c.HandleAllocated());
    c.SetHandle(dc);
    EXPECT_TRUE(c.HandleAllocated());
    c.Brush()->SetColor(clWhite);
    c.FillRect(Rect(0, 0, 8, 8));
    c.TextOut(0, 0, u"x");
    c.Rectangle(0, 0, 3, 3);
    EXPECT_EQ(c.Pixels(7, 7), clWhite);
    EXPECT_NE(GetCurrentObject(dc, OBJ_FONT), font);
    c.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    c.SetHandle(dc);
    c.Rectangle(0, 0, 3, 3);
  }  // freed with the DC still set: it lets go too
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);

  TCanvas none;
  EXPECT_THROW(none.Handle(), EInvalidOperation);
  EXPECT_THROW(none.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
}

TEST(CanvasWin, BitmapCanvasOutlivesResizes) {
  TBitmap b;
  TCanvas* c = b.Canvas();
  c->FillRect(Rect(0, 0, 5, 5));  // an empty bitmap: drawing reaches nothing
  c->Brush()->SetColor(clRed);
  b.SetPixelFormat(pf24bit);
  b.SetSize(6, 6);
  EXPECT_EQ(b.Canvas(), c);
  c->FillRect(Rect(0, 0, 6, 6));
  EXPECT_EQ(b.PixelColor(5, 5), clRed);
  b.SetSize(8, 8);
  c->FillRect(Rect(6, 6, 8, 8));  // the same brush on the new picture
  EXPECT_EQ(b.PixelColor(7, 7), clRed);
  EXPECT_EQ(b.PixelColor(5, 5), clRed);  // kept by the resize
  EXPECT_EQ(b.PixelColor(6, 0), clBlack);

  // A palette picture maps GDI colours to its table.
  b.SetPixelFormat(pf8bit);
  c->Brush()->SetColor(clLime);
  c->FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(b.PixelColor(1, 1), clLime);
  EXPECT_EQ(b.PixelColor(7, 7), clRed);
}

TEST(CanvasWin, LockSerialisesThreads) {
  TCanvas c;
  c.Lock();
  c.Lock();
  EXPECT_EQ(c.LockCount(), 2);
  bool gotIt = true;
  std::thread([&] { gotIt = c.TryLock(); }).join();
  EXPECT_FALSE(gotIt);
  c.Unlock();
  c.Unlock();
  EXPECT_EQ(c.LockCount(), 0);
  std::thread([&] {
    gotIt = c.TryLock();
    if (gotIt) c.Unlock();
  }).join();
  EXPECT_TRUE(gotIt);
}

TEST(CanvasWin, ChangeEventsFrameEachDrawing) {
  TBitmap b;
  Prepare(b, 2, 2, clWhite);
  TCanvas* c = b.Canvas();
  std::string log;
  c->OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, c);
    log += "<";
  };
  c->OnChange = [&](TObject*) { log += ">"; };
  c->FillRect(Rect(0, 0, 1, 1));
  c->LineTo(1, 1);
  (void)c->TextExtent(u"x");  // measuring draws nothing
  EXPECT_EQ(log, "<><>");
}
