#include "platform/graphics.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

TEST(Colors, ConstantsAndParts) {
  EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0x8000000Fu);
  EXPECT_EQ(static_cast<std::uint32_t>(clWindowText), 0x80000008u);
  EXPECT_EQ(static_cast<std::uint32_t>(clHighlight), 0x8000000Du);
  EXPECT_EQ(clNone, 0x1FFFFFFF);
  EXPECT_EQ(clDefault, 0x20000000);
  EXPECT_EQ(clRed, RGBColor(255, 0, 0));
  EXPECT_EQ(clNavy, RGBColor(0, 0, 128));
  TColor c = RGBColor(0x12, 0x34, 0x56);
  EXPECT_EQ(c, 0x563412);
  EXPECT_EQ(GetRed(c), 0x12);
  EXPECT_EQ(GetGreen(c), 0x34);
  EXPECT_EQ(GetBlue(c), 0x56);
}

namespace {
std::vector<int> gAskedIndexes;
TColor FakeSysColor(int Index) {
  gAskedIndexes.push_back(Index);
  return 0x010203 + Index;
}
}  // namespace

TEST(Colors, ColorToRGBResolvesOnlySystemColours) {
  SetSysColorFunction(FakeSysColor);
  gAskedIndexes.clear();
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x010203 + 15);
  EXPECT_EQ(ColorToRGB(clHighlightText), 0x010203 + 14);
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(clDefault), clDefault);
  EXPECT_EQ(gAskedIndexes, (std::vector<int>{15, 14}));
  SetSysColorFunction(nullptr);
#ifndef _WIN32
  EXPECT_EQ(ColorToRGB(clBtnFace), DefaultSysColor(15));
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
#endif
  EXPECT_EQ(DefaultSysColor(5), clWhite);
  EXPECT_EQ(DefaultSysColor(-1), 0);
  EXPECT_EQ(DefaultSysColor(200), 0);
}

TEST(Colors, MulDivRoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDivRound(8, 96, 72), 11);
  EXPECT_EQ(MulDivRound(-11, 72, 96), -8);
  EXPECT_EQ(MulDivRound(1, 1, 2), 1);
  EXPECT_EQ(MulDivRound(-1, 1, 2), -1);
  EXPECT_EQ(MulDivRound(3, 1, 2), 2);
  EXPECT_EQ(MulDivRound(-3, 1, 2), -2);
  EXPECT_EQ(MulDivRound(5, 3, -4), -4);  // -3.75
  EXPECT_EQ(MulDivRound(7, 0, 3), 0);
  EXPECT_EQ(MulDivRound(7, 1, 0), -1);
  EXPECT_EQ(MulDivRound(INT_MAX, 2, 1), -1);  // overflow
  EXPECT_EQ(MulDivRound(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(MulDivRound(INT_MIN, 1, 2), INT_MIN / 2);
}

TEST(Font, DefaultsAndSizeArithmetic) {
  TFont f;
  EXPECT_EQ(f.Name(), "Tahoma");
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.PixelsPerInch(), 96);
  EXPECT_EQ(f.Color(), clWindowText);
  EXPECT_TRUE(f.Style().empty());
  EXPECT_EQ(f.Charset(), fcDefaultCharset);
  EXPECT_EQ(f.Pitch(), fpDefault);
  EXPECT_FALSE(f.HandleAllocated());

  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);  // 13.33 rounds down
  EXPECT_EQ(f.Size(), 10);
  f.SetSize(9);
  EXPECT_EQ(f.Height(), -12);
  EXPECT_EQ(f.Size(), 9);
  f.SetHeight(-16);
  EXPECT_EQ(f.Size(), 12);
  // A positive height is a cell height: Size comes out negative.
  f.SetHeight(20);
  EXPECT_EQ(f.Size(), -15);

  // Another resolution keeps the pixels and so changes the points.
  f.SetHeight(-11);
  f.SetPixelsPerInch(120);
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Size(), 7);  // 6.6 points
  f.SetSize(8);
  EXPECT_EQ(f.Height(), -13);
  f.SetPixelsPerInch(0);  // nonsense is ignored
  EXPECT_EQ(f.PixelsPerInch(), 120);
}

TEST(Font, OnChangeFiresOncePerRealChange) {
  TFont f;
  int changes = 0;
  TObject* sender = nullptr;
  f.OnChange = [&](TObject* s) {
    ++changes;
    sender = s;
  };
  f.SetName("Arial");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(sender, &f);
  f.SetName("Arial");
  f.SetSize(8);  // already 8
  f.SetColor(clWindowText);
  f.SetStyle({});
  EXPECT_EQ(changes, 1);
  f.SetSize(12);
  f.SetColor(clRed);
  f.SetStyle({fsBold, fsItalic});
  f.SetStyle(f.Style() + fsUnderline);
  f.SetCharset(fcSymbolCharset);
  f.SetPitch(fpFixed);
  EXPECT_EQ(changes, 7);
  f.SetPixelsPerInch(72);  // nothing drawn changes
  EXPECT_EQ(changes, 7);

  TFont g;
  g.Assign(f);
  EXPECT_TRUE(g.SameAs(f));
  EXPECT_EQ(g.Style(), (TFontStyles{fsBold, fsItalic, fsUnderline}));
  EXPECT_EQ(g.PixelsPerInch(), 72);
  int gChanges = 0;
  g.OnChange = [&](TObject*) { ++gChanges; };
  g.Assign(f);  // equal: nothing
  EXPECT_EQ(gChanges, 0);
  TFont plain;
  g.Assign(plain);  // many properties, one notice
  EXPECT_EQ(gChanges, 1);
  EXPECT_TRUE(g.SameAs(plain));
  g.Assign(g);
  EXPECT_EQ(gChanges, 1);
}

TEST(PenAndBrush, PropertiesAndNotices) {
  TPen p;
  int changes = 0;
  p.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(p.Color(), clBlack);
  EXPECT_EQ(p.Width(), 1);
  EXPECT_EQ(p.Style(), psSolid);
  p.SetWidth(-3);
  EXPECT_EQ(p.Width(), 0);
  p.SetStyle(psClear);
  p.SetStyle(psClear);
  p.SetColor(clRed);
  EXPECT_EQ(changes, 3);
  TPen q;
  q.Assign(p);
  EXPECT_EQ(q.Color(), clRed);
  EXPECT_EQ(q.Style(), psClear);

  TBrush b;
  int brushChanges = 0;
  b.OnChange = [&](TObject*) { ++brushChanges; };
  EXPECT_EQ(b.Color(), clWhite);
  EXPECT_EQ(b.Style(), bsSolid);
  b.SetStyle(bsClear);
  EXPECT_EQ(brushChanges, 1);
  // A colour makes a clear brush solid again, even the colour it had.
  b.SetColor(clWhite);
  EXPECT_EQ(b.Style(), bsSolid);
  EXPECT_EQ(brushChanges, 2);
  b.SetStyle(bsDiagCross);
  b.SetColor(clBlue);  // hatched brushes keep their hatch
  EXPECT_EQ(b.Style(), bsDiagCross);
  EXPECT_EQ(brushChanges, 4);
}

namespace {

int gReleased = 0;
void CountRelease(void* handle) {
  EXPECT_NE(handle, nullptr);
  ++gReleased;
}

class TTestGraphicsObject : public TGraphicsObject {
 public:
  void Make(void* handle) { FHandle = TGraphicsHandle(handle, CountRelease); }
  void Change() { Changed(); }
};

}  // namespace

TEST(GraphicsHandle, OwnsAndReleasesOnce) {
  int token = 0;
  gReleased = 0;
  {
    TGraphicsHandle a(&token, CountRelease);
    EXPECT_EQ(a.Get(), &token);
    TGraphicsHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_TRUE(b);
    TGraphicsHandle c;
    c = std::move(b);
    EXPECT_EQ(gReleased, 0);
    c = TGraphicsHandle(&token, CountRelease);  // the old one goes
    EXPECT_EQ(gReleased, 1);
  }
  EXPECT_EQ(gReleased, 2);
}

TEST(GraphicsHandle, OldObjectLivesUntilListenersHaveRun) {
  int token = 0;
  gReleased = 0;
  TTestGraphicsObject object;
  object.Make(&token);
  int releasedDuringNotice = -1;
  object.OnChange = [&](TObject*) { releasedDuringNotice = gReleased; };
  object.Change();
  EXPECT_EQ(releasedDuringNotice, 0);
  EXPECT_EQ(gReleased, 1);
  EXPECT_FALSE(object.HandleAllocated());
}
