// The desk calendar "caldeskred": white pages with a red band for the month,
// and the day numbers drawn on their own to be blended onto a page.
#include <cstdio>
#include <string>

#include "artfont.h"
#include "artpackages.h"

namespace art {

namespace {

constexpr int kSize = 128;
const char* const kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

TArtCanvas Page(const char* Month) {
  TArtCanvas c(kSize, kSize);
  const TShape page = RoundRect(12, 12, 116, 120, 9);
  c.FillSoft(Translated(page, 1.5, 3), Rgb(0, 0, 0, 0.4), 5);
  c.Fill(page, [](double, double y) { return Mix(Rgb(255, 255, 255), Rgb(232, 232, 228), (y - 50) / 70); });
  const TShape band = Intersect(page, RoundRect(0, 0, kSize, 47, 0));
  c.Fill(band, [](double, double y) { return Mix(Rgb(232, 76, 60), Rgb(176, 36, 28), (y - 12) / 35); });
  c.Fill(Segment({12, 47}, {116, 47}, 0.8), Rgb(120, 20, 14));
  c.Fill(TextShape(Month, 64, 31, 17, 3.6), Rgb(255, 255, 255));
  // The rings that bind the pages.
  for (double x : {36.0, 92.0}) {
    c.Fill(Circle(x, 17, 3.2), Rgb(110, 20, 14));
    c.Fill(Segment({x, 6}, {x, 17}, 2.2), Rgb(80, 84, 90));
  }
  return c;
}

TArtCanvas Day(int Day) {
  TArtCanvas c(kSize, kSize);
  const std::string text = std::to_string(Day);
  c.Fill(TextShape(text, 64, 84, 42, 6.5), Rgb(48, 48, 52));
  return c;
}

}  // namespace

TPackage CalendarPackage() {
  TPackage items;
  char name[16];
  for (int month = 1; month <= 12; ++month) {
    std::snprintf(name, sizeof name, "m%02d", month);
    items.push_back(ImageItem(name, Page(kMonths[month - 1])));
  }
  for (int day = 1; day <= 31; ++day) {
    std::snprintf(name, sizeof name, "d%02d", day);
    items.push_back(ImageItem(name, Day(day)));
  }
  return items;
}

}  // namespace art
