// The bar modules' rules: redraws, intervals, picture names, sums, parameters
// and places along the bar.
#include "launcher/ov3modrules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "platform/controls_align.h"

namespace {

TLocalTime At(int Hour, int Minute, int Second, int Millisecond = 0) {
  TLocalTime t;
  t.Hour = Hour;
  t.Minute = Minute;
  t.Second = Second;
  t.Millisecond = Millisecond;
  return t;
}

TEST(ModuleRules, ClockRedrawsOncePerMinuteOrSecondWithTheSecondHand) {
  // Woken every 5 s through one minute without the second hand, each 100 ms with it.
  for (bool secondHand : {false, true}) {
    TClockDrawn drawn;
    int redraws = 0;
    for (int ms = 0; ms < 120000; ms += secondHand ? 100 : 5000) {
      const TLocalTime t = At(10, 10 + ms / 60000, (ms / 1000) % 60);
      if (ClockNeedsRedraw(drawn, t, secondHand, false)) {
        ++redraws;
        drawn = {t.Minute, t.Second};
      }
    }
    EXPECT_EQ(redraws, secondHand ? 120 : 2);
    EXPECT_TRUE(ClockNeedsRedraw(drawn, At(10, 11, 59), secondHand, true));
  }
  const TClockAngles a = ClockHandAngles(At(22, 30, 15));
  EXPECT_DOUBLE_EQ(a.Hour, 315);
  EXPECT_DOUBLE_EQ(a.Minute, 180);
  EXPECT_DOUBLE_EQ(a.Second, 90);
}

TEST(ModuleRules, ClockOriginFallsBackPerValue) {
  struct {
    const char* Text;
    double X, Y;
  } cases[] = {{"100 90.5", 100, 90.5},     {"", 128, 128}, {"nan inf", 128, 128}, {"40000 7", 128, 7},
               {"7,5 -32767", 7.5, -32767}, {"12", 12, 128}};
  for (const auto& c : cases) {
    const TClockOrigin o = ParseClockOrigin(c.Text);
    EXPECT_DOUBLE_EQ(o.X, c.X) << c.Text;
    EXPECT_DOUBLE_EQ(o.Y, c.Y) << c.Text;
  }
}

TEST(ModuleRules, CalendarSleepsAtMostAMinuteAndWakesOftenBeforeMidnight) {
  struct {
    TLocalTime Time;
    int Interval;
  } cases[] = {{At(12, 0, 0), 60000},      {At(23, 57, 59, 500), 60000}, {At(23, 58, 10), 50000},
               {At(23, 58, 50), 10000},    {At(23, 58, 50, 1), 500},     {At(23, 59, 0), 500},
               {At(23, 59, 59, 999), 500}, {At(0, 0, 0), 60000}};
  for (const auto& c : cases) EXPECT_EQ(CalendarInterval(c.Time), c.Interval) << c.Time.Hour << ":" << c.Time.Minute;
  EXPECT_EQ(CalendarHint(u"Mo|Tu|We|Th|Fr|Sa|Su", 7), u"Su");
  EXPECT_EQ(CalendarHint(u"Mo|Tu|We|Th|Fr|Sa", 1), u"");
}

TEST(ModuleRules, BatteryPictureAndHintFollowThePowerRecord) {
  struct {
    TPowerStatus Status;
    const char* Image;
    const char16_t* Hint;
  } cases[] = {
      {{255, 255, 255}, "na", u""}, {{1, 255, 255}, "cf", u"AC"}, {{0, 0x80, 50}, "na", u""},
      {{1, 0x80, 50}, "cf", u"AC"}, {{0, 1, 101}, "na", u""},     {{0, 1, 100}, "u8", u"100 %"},
      {{0, 8, 12}, "c0", u"12 %"},  {{0, 2, 99}, "u7", u"99 %"},  {{1, 0, 13}, "c1", u"13 %\r\nCH"},
      {{0, 4, 0}, "u0", u"0 %"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BatteryImageName(c.Status), c.Image) << c.Image;
    EXPECT_EQ(BatteryHint(c.Status, u"AC", u"CH"), c.Hint) << c.Image;
  }
}

TEST(ModuleRules, RecycleBinSumSkipsFailingRootsAndStopsAtAnError) {
  auto query = [](const String& root, std::int64_t& count, std::int64_t& size) {
    if (root == "x:\\") return false;
    if (root == "z:\\") throw std::runtime_error("gone");
    count = 2;
    size = 1000;
    return true;
  };
  const TRecycleBinSum sum = SumRecycleBins({"c:\\", "x:\\", "d:\\", "z:\\", "e:\\"}, query);
  EXPECT_EQ(sum.Count, 4);
  EXPECT_EQ(sum.Size, 2000);
  EXPECT_EQ(RecycleBinHint({0, 0}, u"one", u"%d many"), u"");
  EXPECT_EQ(RecycleBinHint({1, 10}, u"one", u"%d many"), u"one\r\n10 B");
  EXPECT_EQ(RecycleBinHint({5000000000, 3 << 20}, u"one", u"%d many"), u"5000000000 many\r\n3 MB");
}

TEST(ModuleRules, WidthParameterIsMendedToAUsableSize) {
  struct {
    const char* Text;
    int Width;
  } cases[] = {{"72", 72}, {" 96 ", 96}, {"", 64}, {"abc", 64}, {"0", 64}, {"-5", 64}, {"512", 512}, {"9999", 512}};
  for (const auto& c : cases) EXPECT_EQ(ModuleWidthParameter(c.Text), c.Width) << c.Text;
}

TEST(ModuleRules, PlacesFollowTheDocumentAroundTheIconPanel) {
  TPerModule<bool> all;
  all.fill(true);
  TPerModule<bool> noCalendar = all;
  noCalendar[omkCalendar] = false;
  struct {
    std::vector<TModuleElement> Elements;
    TPerModule<bool> Registered;
    bool Vertical;
    std::vector<int> Order;  // slots along the bar
    int Before;              // how many stand before the icon panel
  } cases[] = {
      {{{"analogclock"}, {"calendar"}, {"icons"}, {"recyclebin"}, {"battery"}},
       all,
       false,
       {omkAnalogClock, omkCalendar, omkRecycleBin, omkBattery},
       2},
      {{{"ICONS"}, {"Battery"}, {"AnalogClock"}, {"calendar"}, {"recyclebin"}},
       all,
       true,
       {omkBattery, omkAnalogClock, omkCalendar, omkRecycleBin},
       0},
      {{{"calendar"}, {"analogclock"}, {"other"}, {"icons"}, {"battery"}},
       noCalendar,
       false,
       {omkAnalogClock, omkBattery},
       1},
  };
  for (const auto& c : cases) {
    const std::vector<TModulePlace> places = PlaceModules(c.Elements, c.Registered, c.Vertical);
    // Each pushed to the far end of its group as it comes, through the alignment arithmetic.
    std::vector<TAlignItem> items;
    for (const TModulePlace& p : places) items.push_back({p.Align, TRect{0, 0, 20, 20}});
    for (size_t i = 0; i < items.size(); ++i) {
      items[i].Bounds = c.Vertical ? TRect{0, 10000, 20, 10020} : TRect{10000, 0, 10020, 20};
      TRect client{0, 0, 500, 500};
      ArrangeAlignedControls(items, client, static_cast<int>(i));
    }
    std::vector<std::pair<int, int>> along;
    int before = 0;
    for (size_t i = 0; i < places.size(); ++i) {
      along.push_back({c.Vertical ? items[i].Bounds.Top : items[i].Bounds.Left, places[i].Kind});
      before += places[i].Align == (c.Vertical ? alTop : alLeft);
    }
    std::sort(along.begin(), along.end());
    std::vector<int> order;
    for (const auto& p : along) order.push_back(p.second);
    EXPECT_EQ(order, c.Order);
    EXPECT_EQ(before, c.Before);
  }
}

}  // namespace
