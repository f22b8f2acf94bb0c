// The library hint's rectangle at a point, and its text cut to the screen.
#include "kem3/controls/kemhint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>

TEST(KemHint, RectangleByAlignment) {
  struct {
    int H, V;
    TRect Expected;
  } Cases[] = {{0, 0, Rect(100, 66, 107, 71)}, {1, 0, Rect(96, 66, 103, 71)},  {2, 0, Rect(93, 66, 100, 71)},
               {9, 9, Rect(100, 66, 107, 71)}, {0, 1, Rect(100, 63, 107, 68)}, {0, 2, Rect(100, 61, 107, 66)}};
  // Width 7, height 5: centred puts the odd pixel before the point.
  for (auto& C : Cases) EXPECT_EQ(HintRectAt({100, 50}, {7, 5}, C.H, C.V), C.Expected) << C.H << C.V;
}

namespace {

// Characters 6 pixels wide, lines 13 high, wrapped at 600 pixels; counts
// what it measured.
struct TFakeMeasure {
  std::int64_t Measured = 0;
  TSize operator()(const WideString& Text) {
    Measured += static_cast<std::int64_t>(Text.size());
    int Lines = 0, Widest = 0;
    size_t Start = 0;
    while (Start <= Text.size()) {
      size_t End = Text.find(u'\n', Start);
      if (End == WideString::npos) End = Text.size();
      const int Width = static_cast<int>(End - Start) * 6;
      Lines += std::max(1, (Width + 599) / 600);
      Widest = std::max(Widest, std::min(Width, 600));
      Start = End + 1;
    }
    return {Widest + 8, Lines * 13 + 4};
  }
};

}  // namespace

TEST(KemHint, TextCutToWhatTheScreenShows) {
  const TSize Screen{1280, 800};
  const WideString Lines = [] {
    WideString T;
    for (int I = 0; I < 5000; ++I) T += u"line\n";
    return T;
  }();
  const WideString Pairs = [] {
    WideString T;
    for (int I = 0; I < 40000; ++I) T += u"\U0001F600";
    return T;
  }();
  struct {
    const char* Name;
    WideString Text;
    bool Cut;
  } Cases[] = {{"short", u"Editor\nnotes", false},
               {"one screen", WideString(100 * 61, u'x'), false},  // 61 lines of 100: 797 pixels
               {"a very long title", WideString(270000, u'x'), true},
               {"many lines", Lines, true},
               {"surrogate pairs", Pairs, true}};
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TFakeMeasure Measure;
    const WideString Shown = FitHintText(C.Text, Screen, std::ref(Measure));
    const TSize Size = TFakeMeasure()(Shown);
    EXPECT_LE(Size.cy, Screen.cy);
    EXPECT_LE(Size.cx, Screen.cx);
    if (!C.Cut) {
      EXPECT_EQ(Shown, C.Text);
      continue;
    }
    ASSERT_FALSE(Shown.empty());
    EXPECT_EQ(Shown.back(), u'\u2026');
    EXPECT_EQ(Shown.compare(0, Shown.size() - 1, C.Text, 0, Shown.size() - 1), 0) << "a head of the text";
    EXPECT_GT(Size.cy, Screen.cy - 2 * 13) << "as much as fits";
    const char16_t Last = Shown[Shown.size() - 2];
    EXPECT_FALSE(Last >= 0xD800 && Last <= 0xDBFF) << "no pair cut in two";
    // Few heads measured, whatever the length: here a minute's work was a
    // hint 16,685 pixels high.
    EXPECT_LT(Measure.Measured, 2000000);
  }
}
