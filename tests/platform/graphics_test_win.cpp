#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/canvas_win.h"
#include "platform/graphics.h"
#include "platform/winapi_win.h"

namespace {

DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

LOGFONTW FontOf(HFONT font) {
  LOGFONTW lf{};
  EXPECT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  return lf;
}

}  // namespace

TEST(GraphicsWin, SystemColoursComeFromTheSystem) {
  EXPECT_EQ(static_cast<COLORREF>(ColorToRGB(clBtnFace)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(static_cast<COLORREF>(ColorToRGB(clHighlight)), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(static_cast<COLORREF>(ColorToRGB(clWindowText)), GetSysColor(COLOR_WINDOWTEXT));
}

TEST(GraphicsWin, MulDivRoundAgreesWithTheSystem) {
  const int values[] = {0, 1, 2, 3, 7, 8, 11, 72, 96, 120, 144, 1000, -1, -3, -11, -96, 65535, -65536};
  for (int a : values)
    for (int b : values)
      for (int c : {1, 2, 3, 7, 72, 96, 120, 1000})
        EXPECT_EQ(MulDivRound(a, b, c), MulDiv(a, b, c)) << a << "*" << b << "/" << c;
}

TEST(GraphicsWin, FontHandleFollowsTheDescription) {
  TFont f;
  LOGFONTW lf = FontOf(f.Handle());
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"Tahoma");
  EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
  EXPECT_TRUE(f.HandleAllocated());
  EXPECT_EQ(f.Handle(), f.Handle());  // cached

  f.SetName("Ärial Ünïcødé name that is longer than the thirty-one characters allowed");
  f.SetSize(12);
  f.SetStyle({fsBold, fsItalic, fsUnderline, fsStrikeOut});
  f.SetCharset(fcSymbolCharset);
  f.SetPitch(fpFixed);
  EXPECT_FALSE(f.HandleAllocated());  // dropped at the change, made again on demand
  lf = FontOf(f.Handle());
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_TRUE(lf.lfStrikeOut);
  EXPECT_EQ(lf.lfCharSet, SYMBOL_CHARSET);
  EXPECT_EQ(lf.lfPitchAndFamily & 3, FIXED_PITCH);
  EXPECT_EQ(std::wstring(lf.lfFaceName), std::wstring(L"Ärial Ünïcødé name that is long"));
}

TEST(GraphicsWin, PenAndBrushHandles) {
  TPen p;
  p.SetColor(clBtnShadow);
  p.SetWidth(3);
  p.SetStyle(psDash);
  LOGPEN lp{};
  ASSERT_EQ(GetObjectW(p.Handle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(lp.lopnColor, GetSysColor(COLOR_BTNSHADOW));
  p.SetStyle(psClear);
  ASSERT_EQ(GetObjectW(p.Handle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_NULL));

  TBrush b;
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectW(b.Handle(), sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(lb.lbColor, RGB(255, 255, 255));
  b.SetStyle(bsClear);
  ASSERT_EQ(GetObjectW(b.Handle(), sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HOLLOW));
  b.SetStyle(bsCross);
  b.SetColor(clRed);
  ASSERT_EQ(GetObjectW(b.Handle(), sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
  EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));
  EXPECT_EQ(lb.lbColor, RGB(255, 0, 0));
}

// Every change frees the old GDI object, also one that a canvas has selected;
// bitmaps free their DIB sections and DCs. Wine does not count GDI objects per
// process, so each object is also checked to be gone by its handle.
TEST(GraphicsWin, NoGdiObjectsLeak) {
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(32, 32);
  TCanvas* canvas = target.Canvas();
  canvas->FillRect(Rect(0, 0, 32, 32));
  std::vector<HGDIOBJ> gone;
  DWORD before = GdiObjects();
  for (int i = 0; i < 1000; ++i) {
    HGDIOBJ font = canvas->Font()->Handle(), pen = canvas->Pen()->Handle(), brush = canvas->Brush()->Handle();
    canvas->Font()->SetSize(6 + i % 20);
    canvas->Font()->SetStyle(i % 2 ? TFontStyles{fsBold} : TFontStyles{});
    canvas->Pen()->SetColor(RGBColor(i % 256, 1, 0));  // never the colour it had
    canvas->Pen()->SetWidth(1 + i % 3);
    canvas->Brush()->SetColor(RGBColor(0, i % 256, 0));
    canvas->Brush()->SetStyle(i % 3 ? bsSolid : bsDiagCross);
    // Gone at once, although the canvas's DC had them selected.
    ASSERT_EQ(GetObjectType(font), 0u) << i;
    ASSERT_EQ(GetObjectType(pen), 0u) << i;
    ASSERT_EQ(GetObjectType(brush), 0u) << i;
    canvas->Rectangle(1, 1, 20, 20);
    canvas->TextOut(2, 2, u"Ag");

    {
      TBitmap scratch;
      scratch.SetPixelFormat(i % 2 ? pf32bit : pf8bit);
      scratch.SetSize(16 + i % 5, 16);
      scratch.Canvas()->FillRect(Rect(0, 0, 4, 4));
      canvas->Draw(0, 0, scratch);
      gone.push_back(scratch.Canvas()->Handle());
      gone.push_back(scratch.Canvas()->Font()->Handle());
      gone.push_back(scratch.Handle());
      scratch.SetSize(8, 8);  // a new DIB section; the old one and its DC go
      ASSERT_EQ(GetObjectType(gone.back()), 0u) << i;
      (void)scratch.Canvas()->Handle();
      gone.push_back(scratch.Canvas()->Handle());
      gone.push_back(scratch.Handle());
    }
  }
  for (HGDIOBJ object : gone) ASSERT_EQ(GetObjectType(object), 0u);
  DWORD after = GdiObjects();
  EXPECT_LE(after, before + 5) << before << " -> " << after;
}
