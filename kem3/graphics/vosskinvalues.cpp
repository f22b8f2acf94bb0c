// Reading the values of a skin definition.
#include "kem3/graphics/vosskinvalues.h"

#include <algorithm>

#include "platform/sysutils.h"

namespace {

int HexDigit(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

// Six hex digits as one number, or -1.
int ReadHex6(const String& Text) {
  if (Text.size() != 6) return -1;
  int value = 0;
  for (char c : Text) {
    const int d = HexDigit(c);
    if (d < 0) return -1;
    value = value * 16 + d;
  }
  return value;
}

// The items of a pass: split at commas outside parentheses.
std::vector<String> SplitItems(const String& Pass) {
  std::vector<String> items(1);
  int depth = 0;
  for (char c : Pass) {
    if (c == '(') ++depth;
    if (c == ')' && depth > 0) --depth;
    if (c == ',' && depth == 0) {
      items.emplace_back();
    } else {
      items.back() += c;
    }
  }
  return items;
}

// "(x,y)" with integer x and y; false for anything else.
bool ReadOffset(const String& Item, TPoint& P) {
  if (Item.size() < 5 || Item.front() != '(' || Item.back() != ')') return false;
  const String inner = Item.substr(1, Item.size() - 2);
  const size_t comma = inner.find(',');
  if (comma == String::npos) return false;
  constexpr int kNone = kVosMaxInt + 1;
  const int x = VosReadInt(Trim(inner.substr(0, comma)), kNone);
  const int y = VosReadInt(Trim(inner.substr(comma + 1)), kNone);
  if (x == kNone || y == kNone) return false;
  P = {std::clamp(x, -kVosMaxTextOffset, kVosMaxTextOffset), std::clamp(y, -kVosMaxTextOffset, kVosMaxTextOffset)};
  return true;
}

}  // namespace

int VosReadInt(const String& Text, int Default) {
  size_t i = 0;
  bool negative = false;
  if (i < Text.size() && (Text[i] == '-' || Text[i] == '+')) negative = Text[i++] == '-';
  if (i == Text.size()) return Default;
  long long value = 0;
  for (; i < Text.size(); ++i) {
    if (Text[i] < '0' || Text[i] > '9') return Default;
    value = std::min<long long>(value * 10 + (Text[i] - '0'), kVosMaxInt);
  }
  return static_cast<int>(negative ? -value : value);
}

bool VosReadFlag(const String& Text) { return VosReadInt(Text, 0) != 0; }

TColor VosReadColorRGB(const String& Text) {
  const int v = ReadHex6(Text);
  if (v < 0) return clNone;
  return RGBColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

TColor VosReadColorBGR(const String& Text) {
  const int v = ReadHex6(Text);
  return v < 0 ? clNone : static_cast<TColor>(v);
}

TFontStyles VosReadFontStyle(const String& Text) {
  TFontStyles style;
  for (char c : Text) {
    if (c == 'B' || c == 'b') style.Include(fsBold);
    if (c == 'I' || c == 'i') style.Include(fsItalic);
    if (c == 'U' || c == 'u') style.Include(fsUnderline);
  }
  return style;
}

TVosSkinText VosParseTextDrawing(const String& Text) {
  TVosSkinText text;
  size_t start = 0;
  while (start <= Text.size() && static_cast<int>(text.Drawings.size()) < kVosMaxTextPasses) {
    size_t end = Text.find(';', start);
    if (end == String::npos) end = Text.size();
    const String pass = Trim(Text.substr(start, end - start));
    start = end + 1;
    if (pass.empty()) continue;
    std::vector<String> items = SplitItems(pass);
    TVosSkinTextDrawing d;
    d.Color = VosReadColorBGR(Trim(items[0]));
    bool alphaRead = false;
    for (size_t i = 1; i < items.size(); ++i) {
      const String item = Trim(items[i]);
      if (item.empty()) continue;
      TPoint p;
      if (ReadOffset(item, p)) {
        if (static_cast<int>(d.Offsets.size()) < kVosMaxTextOffsets) d.Offsets.push_back(p);
      } else if (!alphaRead) {
        d.Alpha = static_cast<std::uint8_t>(std::clamp(VosReadInt(item, 255), 0, 255));
        alphaRead = true;
      }
    }
    if (d.Offsets.empty()) d.Offsets.push_back({0, 0});
    for (const TPoint& p : d.Offsets) {
      d.MinX = std::min(d.MinX, p.X);
      d.MinY = std::min(d.MinY, p.Y);
      d.MaxX = std::max(d.MaxX, p.X);
      d.MaxY = std::max(d.MaxY, p.Y);
    }
    text.Drawings.push_back(std::move(d));
  }
  text.Simple = text.Drawings.size() == 1 && text.Drawings[0].Alpha == 255 && text.Drawings[0].Offsets.size() == 1 &&
                text.Drawings[0].ExtentWidth() == 0 && text.Drawings[0].ExtentHeight() == 0;
  return text;
}
