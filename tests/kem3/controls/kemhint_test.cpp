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

WideString Repeated(const WideString& Piece, int Count) {
  WideString T;
  for (int I = 0; I < Count; ++I) T += Piece;
  return T;
}

}  // namespace

TEST(KemHint, TextCutToWhatTheScreenShows) {
  const TSize Screen{1280, 800};
  const WideString Lines = Repeated(u"line\n", 5000);
  const WideString Pairs = Repeated(u"\U0001F600", 40000);
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

// Lines of a hint 68 pixels wide with characters 6 pixels wide and 8 of
// margin: ten characters a line.
TEST(KemHint, TextBrokenIntoLinesAtBlanksAndCutAfterTheLast) {
  const WideString Pairs = Repeated(u"\U0001F600", 8);
  struct {
    const char* Name;
    WideString Text;
    int Width, MaxLines;
    WideString Expected;
  } Cases[] = {
      {"fits", u"Editor", 68, 10, u"Editor"},
      {"at the blank", u"Editor notes", 68, 10, u"Editor\r\nnotes"},
      {"blanks at a break go", u"aaaa bbbb   cccc dddd", 68, 10, u"aaaa bbbb\r\ncccc dddd"},
      {"a long word broken", u"abcdefghijklmnopqrstuvwxy", 68, 10, u"abcdefghij\r\nklmnopqrst\r\nuvwxy"},
      {"a long word after a short one", u"ab cdefghijklmno", 68, 10, u"ab\r\ncdefghijkl\r\nmno"},
      {"own breaks kept", u"one\r\ntwo\nthree\rfour", 68, 10, u"one\r\ntwo\r\nthree\r\nfour"},
      {"cut after the last line", u"one two three four five six seven", 68, 3,
       u"one two\r\nthree four\r\nfive six\u2026"},
      {"the ellipsis takes room", u"abcdefghijklmnop", 68, 1, u"abcdefghi\u2026"},
      {"only blanks left: no cut", u"one\r\n  \r\n", 68, 1, u"one"},
      {"no pair cut in two", Pairs, 62, 10,
       Pairs.substr(0, 8) + u"\r\n" + Pairs.substr(8, 8)},  // nine units fit: four pairs a line
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    int Measured = 0;
    const auto Width = [&](const WideString& Line) {
      ++Measured;
      return static_cast<int>(Line.size()) * 6 + 8;
    };
    EXPECT_EQ(BreakHintLines(C.Text, C.Width, C.MaxLines, Width), C.Expected);
  }
  // A title of 270,000 characters: the lines of a hint half a screen wide, and
  // few characters measured for them.
  std::int64_t Measured = 0;
  const auto Width = [&](const WideString& Line) {
    Measured += static_cast<std::int64_t>(Line.size());
    return static_cast<int>(Line.size()) * 6 + 8;
  };
  WideString Title;
  while (Title.size() < 270000) Title += u"Portable  Applications\u00A0Suite_Launcher-2026 ";
  const WideString Shown = BreakHintLines(Title, 640, kHintMaxLines, Width);
  int Lines = 0;
  for (size_t Start = 0, End = 0; End != WideString::npos; Start = End + 2, ++Lines) {
    End = Shown.find(u"\r\n", Start);
    EXPECT_LE(static_cast<int>(std::min(End, Shown.size()) - Start) * 6 + 8, 640) << Lines;
  }
  EXPECT_EQ(Lines, kHintMaxLines);
  EXPECT_EQ(Shown.back(), u'\u2026');
  EXPECT_LT(Measured, 200000);
}
