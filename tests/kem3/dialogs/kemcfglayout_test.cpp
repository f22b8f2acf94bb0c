// The generated rows of settings pages: the launcher's real table page by
// page, columns, caption check boxes, widths, limits and units, read-back.
#include "kem3/dialogs/kemcfglayout.h"

#include <gtest/gtest.h>

#include "kem3/framework/kemexe.h"
#include "launcher/ov3cfg.h"
#include "platform/sysutils.h"
#include "platform/timer.h"
#include "support/temp_dir.h"

namespace {

class CfgLayout : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramFileName(Dir.file("prog.exe"));
    cfgInit();
  }
  void TearDown() override {
    cfgDone();
    SetProgramFileName("");
  }
  TempDir Dir;
  TFakeTimerService Timers;
};

// A row as "id@parent-id": groups as "g202", the caption check box as "c121".
std::vector<String> Outline(const TcfgPageLayout& Layout) {
  std::vector<String> out;
  for (const TcfgRow& row : Layout.Rows) {
    String name = row.Group ? "g" + IntToStr(row.Group->Id) : (row.InCaption ? "c" : "") + IntToStr(row.Item->Id);
    if (row.Parent >= 0) name += "@" + IntToStr(Layout.Rows[static_cast<size_t>(row.Parent)].Group->Id);
    out.push_back(name);
  }
  return out;
}

TEST_F(CfgLayout, EveryPageOfTheLaunchersTable) {
  DefineSettings(nullptr);
  // As the preferences dialog builds them: one column on its 526-pixel notebook page, below the header.
  struct TPage {
    int Id;
    std::vector<String> Rows;
    int Height;
  };
  const TPage pages[] = {
      {100, {"103"}, 24},
      {200, {"g202", "c121@202", "122@202", "123@202", "124@202", "125@202", "126@202"}, 152},
      {201, {"131", "132", "133", "134", "135"}, 120},
      {300, {"151", "152"}, 48},
      {301, {"154", "155"}, 72},
      {400, {"170", "171", "172", "173"}, 96},
      {500,
       {"201", "202", "203", "204", "g501", "c205@501", "206@501", "207@501", "208@501", "209@501", "210@501",
        "211@501", "212", "213", "214"},
       48 + 3 * 24 + 176 + 3 * 24},
      {600, {"303"}, 24},
  };
  for (const TPage& page : pages) {
    const TcfgPageLayout layout = cfgLayoutPage(526, page.Id, 32, 1, 0, 100, 0, 0, 0);
    EXPECT_EQ(Outline(layout), page.Rows) << page.Id;
    EXPECT_EQ(layout.Height, page.Height) << page.Id;
    for (const TcfgRow& row : layout.Rows) {
      // Everything stays inside its parent: the page, or the frame's margins.
      const int right = row.Parent < 0 ? 526 : 526 - 8;
      EXPECT_LE(row.Control.Right, right) << page.Id;
      EXPECT_LE(row.UnitBox.Right, right) << page.Id;
      if (row.Item && !row.InCaption && row.Item->Type != cfgtBoolean) {
        EXPECT_EQ(row.Label.Right, row.Control.Left) << row.Item->Id;
      }
    }
  }
  // Page 200 in full: the frame, its caption check box, then its rows from 20 on.
  const TcfgPageLayout window = cfgLayoutPage(526, 200, 32, 1, 0, 100, 0, 0, 0);
  EXPECT_EQ(window.Rows[0].Control, Bounds(0, 32, 526, 144));
  EXPECT_EQ(window.Rows[1].Control, Bounds(8, 0, 510, cfgCheckHeight));
  EXPECT_EQ(window.Rows[2].Label, Bounds(8, 24, 127, cfgCheckHeight));
  EXPECT_EQ(window.Rows[2].Control, Bounds(135, 20, 127, 21));
  EXPECT_EQ(window.Rows[3].Control, Bounds(135, 44, 77, 21));  // 50 pixels narrower for the unit
  EXPECT_EQ(window.Rows[3].UnitBox, Bounds(213, 44, 48, 21));
  EXPECT_TRUE(IsRectEmpty(window.Rows[5].UnitBox));  // an integer has none
  // The Window page as the dialog stacks it: group 200, the screen-area page
  // (160 high, reaching 12 up), then 201, whose last check box ends inside the
  // notebook page (500 - 49 high).
  const int optionsTop = 32 + window.Height - 12 + 160;
  EXPECT_LE(cfgLayoutPage(526, 201, optionsTop, 1, 0, 100, 0, 0, 0).Rows.back().Control.Bottom, 500 - 49);
  // A 25/75 check box takes the whole column; a tracker 42 high advances 48.
  EXPECT_EQ(cfgLayoutPage(526, 201, 32, 1, 0, 100, 0, 0, 0).Rows[1].Control, Bounds(0, 60, 526, cfgCheckHeight));
  const TcfgRow tracker = cfgLayoutPage(526, 500, 32, 1, 0, 100, 0, 0, 0).Rows[0];
  EXPECT_EQ(tracker.Control, Bounds(131, 32, 395, 42));
  EXPECT_EQ(tracker.Advance, 48);
}

TEST_F(CfgLayout, ColumnsWidthsAndTallRows) {
  cfgAddItem(1, cfgtTracker, 5, "S", "A", "A", unNone, 7, 25, 75, 21);
  cfgAddItem(2, cfgtInteger, 5, "S", "B", "B", unNone, 7, 25, 75, 21);
  cfgAddItem(3, cfgtString, "x", "S", "C", "C", unNone, 7, 30, 50, 21);
  cfgAddItem(4, cfgtCheckList, "", "S", "D", "D", unNone, 8, 20, 80, 60);
  cfgAddItem(5, cfgtPanelList, "", "S", "E", "E", unNone, 8, 20, 80, 50);
  cfgAddItem(6, cfgtColor, 0, "S", "F", "F", unNone, 8, 20, 80, 21);  // no row
  // Two columns of (420 - 10 - 10 - 20) / 2 = 190 from x 10 and 220: the first
  // two side by side, the third below the taller of them.
  const TcfgPageLayout two = cfgLayoutPage(420, 7, 5, 2, 0, 100, 10, 10, 20);
  ASSERT_EQ(two.Rows.size(), 3u);
  EXPECT_EQ(two.Rows[0].Control, Bounds(10 + 47, 5, 143, 42));
  // Caption and control share the column: the control ends at the second column's edge.
  EXPECT_EQ(two.Rows[1].Control, Bounds(220 + 47, 5, 143, 21));
  EXPECT_EQ(two.Rows[2].Control, Bounds(10 + 57, 5 + 48, 95, 21));  // 30/50: its own percentage
  // The last row counts though it fills one column only.
  EXPECT_EQ(two.Height, 48 + 24);
  // Offsets and widths in percent of the parent.
  EXPECT_EQ(cfgLayoutPage(400, 7, 0, 1, 10, 50, 0, 0, 0).Rows[2].Label, Bounds(40, 48 + 24 + 4, 60, cfgCheckHeight));
  // Tall rows: a check list 3 pixels shorter than its row, a panel list 3 longer.
  const TcfgPageLayout tall = cfgLayoutPage(400, 8, 0, 1, 0, 100, 0, 0, 0);
  ASSERT_EQ(tall.Rows.size(), 2u);
  EXPECT_EQ(tall.Rows[0].Control.Height(), 57);
  EXPECT_EQ(tall.Rows[1].Control.Top, 60);
  EXPECT_EQ(tall.Height, 60 + 53);
  // A group without a check item starts its rows at 16.
  cfgAddGroup(9, 60, "Caption", 10, 1, -1);
  cfgAddItem(11, cfgtInteger, 1, "S", "G", "G", unNone, 9, 50, 50, 21);
  const TcfgPageLayout group = cfgLayoutPage(300, 10, 0, 1, 0, 100, 0, 0, 0);
  ASSERT_EQ(group.Rows.size(), 2u);
  EXPECT_EQ(group.Rows[1].Control, Bounds(8 + 142, 16, 142, 21));
  // A group sized to its rows: their advances between its caption line and a margin of 4.
  cfgAddGroup(12, cfgGroupFitsRows, "Caption", 13, 1, -1);
  cfgAddItem(14, cfgtInteger, 1, "S", "H", "H", unNone, 12, 50, 50, 21);
  cfgAddItem(15, cfgtTracker, 1, "S", "I", "I", unNone, 12, 50, 50, 21);
  const TcfgPageLayout fitted = cfgLayoutPage(300, 13, 0, 1, 0, 100, 0, 0, 0);
  ASSERT_EQ(fitted.Rows.size(), 3u);
  EXPECT_EQ(fitted.Rows[0].Control, Bounds(0, 0, 300, 16 + 24 + 48 + 4));
  EXPECT_EQ(fitted.Height, 16 + 24 + 48 + 4 + 8);
}

TEST_F(CfgLayout, LimitsAndUnits) {
  constexpr TUnit us = 30, ms = 31, s = 32, mm = 1, m = 2;
  struct TCase {
    TUnit Base, Shown;
    double Min, Max, Step, Big;
    bool Limited;
    double ShownMin, ShownMax, ShownStep;
  };
  const TCase cases[] = {
      {unNone, unNone, 1, 20, 1, 2, true, 1, 20, 1},
      {unNone, unNone, -1, 20, 1, 2, false, -1, -1, 1},
      {ms, s, 100, 50000, 100, 1000, true, 0.1, 50, 0.1},
      // "No limit" as registered, not after conversion: -1 ms is no limit in
      // seconds either, and -1000 µs is a real limit of -1 ms.
      {ms, s, -1, 100, 10, 100, false, -1, -1, 0.01},
      {us, ms, -1000, 1000, 1, 10, true, -1, 1, 0.001},
      {mm, m, 10, 2000, 5, 50, true, 0.01, 2, 0.005},
  };
  for (const TCase& c : cases) {
    TcfgDbItem* item = cfgAddItem(1, cfgtFloat, 1.0, "S", "K", "K", c.Base, 1, 25, 75, 21);
    item->SetLimits(c.Min, c.Max, c.Step, c.Big);
    const TcfgSpinLimits limits = cfgSpinLimits(*item, c.Shown);
    EXPECT_EQ(limits.Limited, c.Limited) << c.Min;
    EXPECT_DOUBLE_EQ(limits.Min, c.ShownMin) << c.Min;
    EXPECT_DOUBLE_EQ(limits.Max, c.ShownMax) << c.Min;
    EXPECT_DOUBLE_EQ(limits.Step, c.ShownStep) << c.Min;
  }
  // Unit lists from the table; entries map back to units.
  EXPECT_EQ(cfgUnitNames(ucTime), (std::vector<WideString>{u"µs", u"ms", u"s"}));
  EXPECT_EQ(cfgUnitEntry(ucTime, s), 2);
  EXPECT_EQ(cfgUnitEntry(ucTime, mm), -1);
  TcfgDbItem* length = cfgAddItem(2, cfgtFloat, 25.0, "S", "L", "L", mm, 1, 25, 75, 21);
  EXPECT_EQ(cfgUnitOfEntry(*length, 2), m);
  EXPECT_EQ(cfgUnitOfEntry(*length, 9), mm);
  // Switching mm -> m divides the shown value by 1000, the limits with it;
  // back to mm restores it. The value itself waits for the read-back.
  EXPECT_DOUBLE_EQ(cfgSwitchUnit(*length, m, 25.0), 0.025);
  EXPECT_EQ(length->DisplayUnit, m);
  EXPECT_DOUBLE_EQ(cfgShownNumber(*length), 0.025);
  EXPECT_DOUBLE_EQ(cfgSwitchUnit(*length, mm, 0.025), 25.0);
}

// What a control shows, one field at a time.
template <class T>
TcfgShown Shown(T TcfgShown::*Field, T Value) {
  TcfgShown shown;
  shown.*Field = std::move(Value);
  return shown;
}
TcfgShown Num(double V) { return Shown(&TcfgShown::Number, V); }
TcfgShown Idx(int V) { return Shown(&TcfgShown::Index, V); }

TEST_F(CfgLayout, ReadBack) {
  constexpr TUnit ms = 31, s = 32;
  TcfgDbItem* integer = cfgAddItem(1, cfgtInteger, 4, "S", "A", "A", unNone, 1, 25, 75, 21);
  TcfgDbItem* tracker = cfgAddItem(2, cfgtTracker, 32, "S", "B", "B", unNone, 1, 25, 75, 21);
  TcfgDbItem* list = cfgAddItem(3, cfgtValueList, "1", "S", "C", "C", unNone, 1, 25, 75, 21)->SetValueList("0|1|2", "");
  TcfgDbItem* panel = cfgAddItem(4, cfgtPanelList, "b", "S", "D", "D", unNone, 1, 25, 75, 40)->SetValueList("a|b", "");
  TcfgDbItem* checks =
      cfgAddItem(5, cfgtCheckList, "a=1;b=0", "S", "E", "E", unNone, 1, 25, 75, 60)->SetValueList("a|b|c", "");
  TcfgDbItem* time = cfgAddItem(6, cfgtFloat, 2000, "S", "F", "F", ms, 1, 25, 75, 21);
  TcfgDbItem* flag = cfgAddItem(7, cfgtBoolean, false, "S", "G", "G", unNone, 1, 25, 75, 21);
  TcfgDbItem* text = cfgAddItem(8, cfgtBrowse2, "c:\\", "S", "H", "H", unNone, 1, 25, 75, 21);

  // An absent value shows unticked and reads back with "0".
  EXPECT_EQ(cfgCheckListTicks(*checks), (std::vector<bool>{true, false, false}));

  // What an untouched page shows reads back as no change at all.
  const std::vector<std::pair<TcfgDbItem*, TcfgShown>> untouched = {
      {integer, Num(4)},
      {tracker, Shown(&TcfgShown::Position, 32)},
      {list, Idx(1)},
      {list, Idx(-1)},  // no selection: the value stays
      {panel, Idx(-1)},
      {time, Num(2000)},
      {flag, Shown(&TcfgShown::Checked, false)},
      {text, Shown(&TcfgShown::Text, String("c:\\"))},
  };
  for (const auto& [item, shown] : untouched) {
    EXPECT_FALSE(cfgReadBack(*item, shown)) << item->Id;
    EXPECT_FALSE(item->Changed) << item->Id;
  }
  EXPECT_EQ(list->Value, Variant("1"));
  EXPECT_EQ(panel->Value, Variant("b"));

  // Changes: integers rounded, a list's stored value, every tick written.
  EXPECT_TRUE(cfgReadBack(*integer, Num(6.6)));
  EXPECT_EQ(integer->Value.VarType(), varInteger);
  EXPECT_EQ(integer->Value, Variant(7));
  EXPECT_TRUE(cfgReadBack(*panel, Idx(0)));
  EXPECT_EQ(panel->Value, Variant("a"));
  EXPECT_TRUE(cfgReadBack(*checks, Shown(&TcfgShown::Ticks, std::vector<bool>{true, false, false})));
  EXPECT_EQ(checks->Value, Variant("a=1;b=0;c=0"));
  EXPECT_TRUE(checks->Changed);
  // A unit switch is a change even when the number is the same.
  time->DisplayUnit = s;
  EXPECT_TRUE(cfgReadBack(*time, Num(2000)));
  EXPECT_EQ(time->ValueUnit, s);
  // A pending change is not taken back by a read-back that finds none.
  flag->Changed = true;
  EXPECT_FALSE(cfgReadBack(*flag, Shown(&TcfgShown::Checked, false)));
  EXPECT_TRUE(flag->Changed);
}

// A font of the same width for every character, Scale times 6 pixels.
struct TEvenMeasure : ITextMeasure {
  explicit TEvenMeasure(double Scale) : Scale(Scale) {}
  TSize TextExtent(const WideString& Text) override {
    return {static_cast<int>(static_cast<double>(Text.size()) * 6 * Scale), 13};
  }
  double Scale;
};

std::vector<std::vector<WideString>> Choices(std::initializer_list<const char16_t*> Lists) {
  std::vector<std::vector<WideString>> texts;
  for (const char16_t* list : Lists) {
    texts.emplace_back();
    const WideString all = list;
    for (size_t start = 0; start <= all.size();) {
      const size_t bar = std::min(all.find(u'|', start), all.size());
      texts.back().push_back(all.substr(start, bar - start));
      start = bar + 1;
    }
  }
  return texts;
}

// The modifier lists of a shortcut row in English and in German (a font a
// quarter larger), in the rooms the preferences and the icon editor give
// them: every text shows whole, on as few lines as that allows, the lists
// within the room and clear of each other.
TEST(CfgListFlow, ModifierListsFromTheirMeasuredTexts) {
  const auto english =
      Choices({u"No Ctrl|Ctrl|Left Ctrl|Right Ctrl", u"No Alt|Alt|Left Alt|Right Alt",
               u"No Shift|Shift|Left Shift|Right Shift", u"No Windows|Windows|Left Windows|Right Windows"});
  const auto german = Choices({u"Ohne Strg|Strg|Strg links|Strg rechts", u"Ohne Alt|Alt|Alt links|Alt rechts",
                               u"Ohne Umschalt|Umschalt|Umschalt links|Umschalt rechts",
                               u"Ohne Windows|Windows|Windows links|Windows rechts"});
  const struct {
    const std::vector<std::vector<WideString>>& Texts;
    double Scale;
    int Left, Right;
    int Lines;
  } cases[] = {
      {english, 1.0, 60, 520, 1},                              // all four on one line
      {english, 1.0, 60, 478, 2},                              // the icon editor's row: two and two, not three and one
      {english, 1.0, 60, 381, 2},                              // the preferences' row
      {german, 1.25, 74, 478, 2}, {german, 1.25, 74, 301, 4},  // a row pushed right by a long caption
      {german, 1.25, 74, 80, 4},                               // no room at all: one list a line, never none
  };
  for (const auto& c : cases) {
    TEvenMeasure measure(c.Scale);
    const TcfgListFlow flow = cfgFlowLists(measure, c.Texts, c.Left, c.Right, 30);
    const std::string at = std::to_string(c.Right) + " @" + std::to_string(c.Scale);
    EXPECT_EQ(flow.Lines, c.Lines) << at;
    ASSERT_EQ(flow.Places.size(), c.Texts.size()) << at;
    int widest = 0;
    for (const auto& texts : c.Texts)
      for (const WideString& text : texts) widest = std::max(widest, measure.TextWidth(text));
    const int need = widest + cfgListExtra;
    // On a line fewer they would not show whole.
    const int count = static_cast<int>(c.Texts.size());
    const int perLine = (count + c.Lines - 1) / c.Lines;
    if (c.Lines > 1) {
      const int crowded = (count + c.Lines - 2) / (c.Lines - 1);
      EXPECT_LT((c.Right - c.Left + cfgListGap) / crowded - cfgListGap, need) << at;
    }
    for (size_t i = 0; i < flow.Places.size(); ++i) {
      const TRect& r = flow.Places[i];
      if (c.Right - c.Left >= need) {
        EXPECT_GE(r.Width(), need) << at << " list " << i;
      }
      EXPECT_GE(r.Left, c.Left) << at;
      EXPECT_LE(r.Right, c.Right) << at;
      EXPECT_EQ(r.Top, 30 + static_cast<int>(i) / perLine * cfgListPitch) << at;
      if (i > 0 && r.Top == flow.Places[i - 1].Top) {
        EXPECT_GE(r.Left, flow.Places[i - 1].Right + cfgListGap) << at;
      }
    }
  }
  // A row whose height is given keeps its lines.
  TEvenMeasure measure(1.25);
  EXPECT_EQ(cfgFlowLists(measure, german, 74, 301, 30, 2).Lines, 2);
}

}  // namespace
