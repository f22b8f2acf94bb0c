// Mark-up of skinned panel item texts: parsing and layout.
#include "kem3/graphics/vosskinmarkup.h"

#include <algorithm>

#include "kem3/graphics/vosskinvalues.h"
#include "platform/unicode_convert.h"

namespace {

// The codes of one brace group, separated by blanks, commas or semicolons.
TVosRunStyle ReadGroup(const WideString& Group) {
  TVosRunStyle style;
  const String text = WideToUtf8(Group);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(" ,;", start);
    if (end == String::npos) end = text.size();
    const String code = text.substr(start, end - start);
    start = end + 1;
    if (code.empty()) continue;
    const size_t colon = code.find(':');
    const String name = code.substr(0, colon);
    const String rest = colon == String::npos ? String() : code.substr(colon + 1);
    if (name == "b") style.Style.Include(fsBold);
    if (name == "i") style.Style.Include(fsItalic);
    if (name == "u") style.Style.Include(fsUnderline);
    if (name == "sl") style.SingleLine = true;
    if (name == "c") style.Align = vraCenter;
    if (name == "r") style.Align = vraRight;
    if (name == "fs") style.SizeDelta = std::clamp(VosReadInt(rest, 0), -64, 64);
    if (name == "mv") style.MoveDown = std::clamp(VosReadInt(rest, 0), -256, 256);
    if (name == "fl") {
      const size_t second = rest.find(':');
      style.ColorEnabled = VosReadColorBGR(rest.substr(0, second));
      if (second != String::npos) style.ColorDisabled = VosReadColorBGR(rest.substr(second + 1));
    }
  }
  return style;
}

}  // namespace

std::vector<TVosMarkupRun> VosParseMarkup(const WideString& Column) {
  std::vector<TVosMarkupRun> runs;
  TVosMarkupRun current;
  auto flush = [&]() {
    if (!current.Text.empty() || current.NewLine) runs.push_back(current);
    current.Text.clear();
    current.NewLine = false;
  };
  size_t i = 0;
  while (i < Column.size()) {
    const char16_t c = Column[i];
    if (c == u'{') {
      const size_t close = Column.find(u'}', i + 1);
      if (close != WideString::npos) {
        flush();
        current.Style = ReadGroup(Column.substr(i + 1, close - i - 1));
        i = close + 1;
        if (i < Column.size() && Column[i] == u'\r') {
          current.NewLine = true;
          ++i;
          if (i < Column.size() && Column[i] == u'\n') ++i;
        }
        continue;
      }
    }
    current.Text += c;
    ++i;
  }
  flush();
  return runs;
}

std::vector<TVosPlacedRun> VosLayoutMarkup(const WideString& Text, const TRect& Rect, const std::vector<int>& TabStops,
                                           int LineHeight,
                                           const std::function<int(const WideString&, const TVosRunStyle&)>& Measure) {
  std::vector<WideString> columns(1);
  for (char16_t c : Text) {
    if (c == u'\t') {
      columns.emplace_back();
    } else {
      columns.back() += c;
    }
  }
  std::vector<TVosPlacedRun> placed;
  int previousEnd = Rect.Left;
  for (size_t col = 0; col < columns.size(); ++col) {
    int left = previousEnd;
    if (col < TabStops.size()) {
      const int stop = TabStops[col];
      left = stop >= 0 ? Rect.Left + stop : Rect.Right + stop;
    } else if (col == 0) {
      left = Rect.Left;
    }
    int right = Rect.Right;
    if (col + 1 < columns.size() && col + 1 < TabStops.size()) {
      const int stop = TabStops[col + 1];
      right = stop >= 0 ? Rect.Left + stop : Rect.Right + stop;
    }
    int x = left, y = Rect.Top, end = left;
    for (const TVosMarkupRun& run : VosParseMarkup(columns[col])) {
      if (run.NewLine) {
        x = left;
        y += LineHeight;
      }
      if (run.Text.empty()) continue;
      const int width = Measure(run.Text, run.Style);
      int at = x;
      if (run.Style.Align == vraCenter) at = left + (right - left - width) / 2;
      if (run.Style.Align == vraRight) at = right - width;
      at = std::max(at, x);
      const int top = y + run.Style.MoveDown;
      placed.push_back({run.Text, run.Style, {at, top, at + width, top + LineHeight}});
      x = at + width;
      end = std::max(end, x);
    }
    previousEnd = end;
  }
  return placed;
}
