#include "kem3/controls/kemhint.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "kem3/unicode/ucsystem.h"

namespace {

constexpr int kBelowPointer = 16;

// The two parts of Size around the point: the larger one before it.
void Split(int Point, int Size, int Align, int& Start, int& End) {
  switch (Align) {
    case 1:
      Start = Point - (Size + 1) / 2;
      End = Point + Size / 2;
      break;
    case 2:
      Start = Point - Size;
      End = Point;
      break;
    default:
      Start = Point;
      End = Point + Size;
  }
}

}  // namespace

TRect HintRectAt(TPoint P, TSize Size, int HAlign, int VAlign) {
  TRect R;
  Split(P.X, Size.cx, HAlign, R.Left, R.Right);
  Split(P.Y + kBelowPointer, Size.cy, VAlign, R.Top, R.Bottom);
  return R;
}

TRect KeepHintInside(TRect R, const TRect& Area) {
  const int W = R.Width(), H = R.Height();
  if (R.Right > Area.Right) R.Left = Area.Right - W;
  if (R.Bottom > Area.Bottom) R.Top = Area.Bottom - H;
  if (R.Left < Area.Left) R.Left = Area.Left;
  if (R.Top < Area.Top) R.Top = Area.Top;
  return Bounds(R.Left, R.Top, W, H);
}

WideString FitHintText(const WideString& Text, TSize Area, const std::function<TSize(const WideString&)>& Measure) {
  auto Fits = [&](const WideString& T) {
    const TSize S = Measure(T);
    return S.cx <= Area.cx && S.cy <= Area.cy;
  };
  const std::int64_t Cap = std::max<std::int64_t>(
      1, std::int64_t(std::max(Area.cx, 0) / 2 + 1) * std::int64_t(std::max(Area.cy, 0) / 8 + 1));
  WideString Work =
      Text.substr(0, WholeCharsLength(Text, size_t(std::min<std::int64_t>(Cap, std::int64_t(Text.size())))));
  const TSize Whole = Measure(Work);
  if (Work.size() == Text.size() && Whole.cx <= Area.cx && Whole.cy <= Area.cy) return Text;
  const WideString Ellipsis = u"\u2026";
  // Wrapped text grows about evenly: twice the share of the height that fits
  // bounds the search well, and a smaller head is still a head that fits.
  size_t High = Work.size();
  if (Whole.cy > Area.cy && Whole.cy > 0)
    High = std::min(High, size_t(std::int64_t(Work.size()) * Area.cy / Whole.cy * 2 + 256));
  size_t Low = 0;  // the longest head known to fit
  while (Low < High) {
    const size_t Mid = Low + (High - Low + 1) / 2;
    if (Fits(Work.substr(0, WholeCharsLength(Work, Mid)) + Ellipsis))
      Low = Mid;
    else
      High = Mid - 1;
  }
  return Work.substr(0, WholeCharsLength(Work, Low)) + Ellipsis;
}

namespace {

bool IsBlank(char16_t C) { return C == u' ' || C == u'\t'; }
bool IsLineBreak(char16_t C) { return C == u'\r' || C == u'\n'; }

// The longest head of Line that fits Width with Tail after it, not ending
// inside a surrogate pair; at least one character (a whole pair) where
// nothing fits, so every line takes something.
size_t FittingHead(const WideString& Line, const WideString& Tail, int Width,
                   const std::function<int(const WideString&)>& LineWidth) {
  auto Fits = [&](size_t Count) { return LineWidth(Line.substr(0, Count) + Tail) <= Width; };
  size_t Low = 0, High = Line.size();
  if (Fits(High)) return High;
  while (Low + 1 < High) {  // the head of Low fits, the head of High does not
    const size_t Mid = Low + (High - Low) / 2;
    if (Fits(Mid))
      Low = Mid;
    else
      High = Mid;
  }
  Low = WholeCharsLength(Line, Low);
  if (Low == 0 && !Line.empty()) Low = Line.size() > 1 && Line[0] >= 0xD800 && Line[0] <= 0xDBFF ? 2 : 1;
  return Low;
}

}  // namespace

WideString BreakHintLines(const WideString& Text, int Width, int MaxLines,
                          const std::function<int(const WideString&)>& LineWidth) {
  // No line holds more characters than it has pixels: a longer piece is
  // never measured.
  const size_t Window = size_t(std::max(Width, 0)) + 1;
  const size_t Most = size_t(std::max(MaxLines, 1));
  std::vector<WideString> Lines;
  size_t At = 0;  // where the next line starts
  while (Lines.size() < Most) {
    size_t End = At;  // the end of the text's own line
    while (End < Text.size() && !IsLineBreak(Text[End])) ++End;
    const WideString Piece = Text.substr(At, std::min(End - At, Window));
    size_t Take = FittingHead(Piece, {}, Width, LineWidth);
    if (At + Take < End && !IsBlank(Text[At + Take])) {
      // Back to the last blank after a word, unless the word alone is wider than the line.
      size_t Blank = Take;
      while (Blank > 0 && !IsBlank(Piece[Blank - 1])) --Blank;
      size_t Word = Blank;
      while (Word > 0 && IsBlank(Piece[Word - 1])) --Word;
      if (Word > 0) Take = Blank;
    }
    size_t Keep = Take;
    while (Keep > 0 && IsBlank(Piece[Keep - 1])) --Keep;
    Lines.push_back(Piece.substr(0, Keep));
    At += Take;
    while (At < End && IsBlank(Text[At])) ++At;
    if (At < End) continue;
    // The text's own line is done: CR LF is one break, as CR or LF alone.
    if (End >= Text.size()) break;
    At = End + (Text[End] == u'\r' && End + 1 < Text.size() && Text[End + 1] == u'\n' ? 2 : 1);
    if (At >= Text.size()) break;
  }
  // Cut only where something but blanks and breaks is left.
  size_t Rest = At;
  while (Rest < Text.size() && (IsBlank(Text[Rest]) || IsLineBreak(Text[Rest]))) ++Rest;
  if (Rest < Text.size()) {
    WideString& Last = Lines.back();
    const WideString Ellipsis = u"\u2026";
    Last.resize(FittingHead(Last, Ellipsis, Width, LineWidth));
    while (!Last.empty() && IsBlank(Last.back())) Last.pop_back();
    Last += Ellipsis;
  }
  WideString Out;
  for (size_t I = 0; I < Lines.size(); ++I) {
    if (I > 0) Out += u"\r\n";
    Out += Lines[I];
  }
  return Out;
}
