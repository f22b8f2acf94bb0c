// The generated rows of a settings page: layout, limits, units and read-back.
#include "kem3/dialogs/kemcfglayout.h"

#include <algorithm>
#include <cmath>

#include "platform/mathutils.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

constexpr int kAdvance = 24;
constexpr int kGroupSpacing = 8;
constexpr int kGroupMargin = 8;
constexpr int kTopWithCheck = 20;
constexpr int kTopWithoutCheck = 16;
// Below the last row of a group sized to its rows (whose own advance already
// leaves 3 of space).
constexpr int kGroupBottom = 4;
// The unit box and its one-pixel gap take this much off the spin edit.
constexpr int kUnitShare = 50;

// An item's row at (X, Y) in a column W wide.
TcfgRow ItemRow(TcfgDbItem& Item, int X, int Y, int W) {
  TcfgRow row;
  row.Item = &Item;
  row.ColumnRight = X + W;
  const int labelWidth = W * Item.LabelPercent / 100;
  const int left = X + labelWidth;
  // With caption and control sharing the whole column the control ends at
  // the column's edge, whichever column it stands in.
  const int width = Item.LabelPercent + Item.ControlPercent == 100 ? W - labelWidth : W * Item.ControlPercent / 100;
  if (Item.Type != cfgtSpacer && Item.Type != cfgtBoolean) row.Label = Bounds(X, Y + 4, labelWidth, cfgCheckHeight);
  row.Advance = kAdvance;
  switch (Item.Type) {
    case cfgtSpacer:
      row.Label = TRect{};
      break;
    case cfgtBoolean:
      // The box stands at the left with its caption beside it: the caption
      // may use the whole column.
      row.Control = Bounds(X, Y + 4, W, cfgCheckHeight);
      break;
    case cfgtFloat:
      if (Item.UnitCategory != ucNone) {
        row.Control = Bounds(left, Y, width - kUnitShare, cfgRowHeight);
        row.UnitBox = Bounds(row.Control.Right + 1, Y, cfgUnitBoxWidth, cfgRowHeight);
      } else {
        row.Control = Bounds(left, Y, width, cfgRowHeight);
      }
      break;
    case cfgtTracker:
      row.Control = Bounds(left, Y, width, cfgTrackerHeight);
      row.Advance = 48;
      break;
    case cfgtCheckList:
      row.Control = Bounds(left, Y, width, Item.Height - 3);
      row.Advance = Item.Height;
      break;
    case cfgtPanelList:
      row.Control = Bounds(left, Y, width, Item.Height);
      row.Advance = Item.Height + 3;
      break;
    default:
      row.Control = Bounds(left, Y, width, cfgRowHeight);
      break;
  }
  return row;
}

int LayoutInto(std::vector<TcfgRow>& Rows, int Parent, int ParentWidth, int PageId, int Top, int Columns,
               int LeftPercent, int WidthPercent, int LeftMargin, int RightMargin, int ColumnGap) {
  Columns = std::max(Columns, 1);
  const int columnWidth =
      (ParentWidth * WidthPercent / 100 - LeftMargin - RightMargin - ColumnGap * (Columns - 1)) / Columns;
  const int leftOffset = ParentWidth * LeftPercent / 100;
  int column = 0;
  int y = Top;
  int rowBottom = Top;
  // By index: the list is only read, but a group's contents are appended
  // while its own row is being filled.
  const auto& entries = cfgEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const int x = LeftMargin + leftOffset + (ColumnGap + columnWidth) * column;
    const int rowStart = y;
    if (auto* group = dynamic_cast<TcfgDbGroup*>(entries[i].get())) {
      if (group->Page != PageId) continue;
      TcfgRow frame;
      frame.Group = group;
      frame.Parent = Parent;
      frame.Control = Bounds(x, y, columnWidth, group->Height);
      frame.Advance = group->Height + kGroupSpacing;
      Rows.push_back(frame);
      const int self = static_cast<int>(Rows.size()) - 1;
      TcfgDbItem* check = group->CheckItemId != -1 ? cfgFindItem(group->CheckItemId) : nullptr;
      if (check) {
        TcfgRow box = ItemRow(*check, kGroupMargin, -4, columnWidth - 2 * kGroupMargin);
        box.Parent = self;
        box.InCaption = true;
        box.Label = TRect{};
        if (check->Type != cfgtBoolean) box.Control = Bounds(kGroupMargin, 0, 0, cfgCheckHeight);
        Rows.push_back(box);
      }
      const int top = check ? kTopWithCheck : kTopWithoutCheck;
      const int inner =
          LayoutInto(Rows, self, columnWidth, group->Id, top, group->Columns, 0, 100, kGroupMargin, kGroupMargin, 0);
      if (group->Height == cfgGroupFitsRows) {
        TcfgRow& fitted = Rows[static_cast<size_t>(self)];
        fitted.Control.Bottom = fitted.Control.Top + top + inner + kGroupBottom;
        fitted.Advance = fitted.Control.Height() + kGroupSpacing;
      }
      y += Rows[static_cast<size_t>(self)].Advance;
    } else if (auto* item = dynamic_cast<TcfgDbItem*>(entries[i].get())) {
      if (item->Page != PageId || item->Type == cfgtColor) continue;
      TcfgRow row = ItemRow(*item, x, y, columnWidth);
      row.Parent = Parent;
      y += row.Advance;
      Rows.push_back(row);
    } else {
      continue;
    }
    rowBottom = std::max(rowBottom, y);
    column = (column + 1) % Columns;
    if (column != 0) {
      y = rowStart;
    } else {
      y = rowBottom;
    }
  }
  // A last row that does not fill every column still takes its height.
  return std::max(y, rowBottom) - Top;
}

}  // namespace

TcfgPageLayout cfgLayoutPage(int ParentWidth, int PageId, int Top, int Columns, int LeftPercent, int WidthPercent,
                             int LeftMargin, int RightMargin, int ColumnGap) {
  TcfgPageLayout layout;
  layout.Height = LayoutInto(layout.Rows, -1, ParentWidth, PageId, Top, Columns, LeftPercent, WidthPercent, LeftMargin,
                             RightMargin, ColumnGap);
  return layout;
}

// ---- Lists side by side

TcfgListFlow cfgFlowLists(ITextMeasure& Measure, const std::vector<std::vector<WideString>>& Texts, int Left, int Right,
                          int Top, int Lines) {
  TcfgListFlow flow;
  const int count = static_cast<int>(Texts.size());
  if (count == 0) return flow;
  int widest = 0;
  for (const auto& texts : Texts)
    for (const WideString& text : texts) widest = std::max(widest, Measure.TextWidth(text));
  const int room = std::max(Right - Left, 0) + cfgListGap;
  if (Lines <= 0) {
    const int fit = std::clamp(room / (widest + cfgListExtra + cfgListGap), 1, count);
    Lines = (count + fit - 1) / fit;
  }
  flow.Lines = std::min(Lines, count);
  // Three and one make a line of lists narrower than they need: two and two.
  const int perLine = (count + flow.Lines - 1) / flow.Lines;
  const int width = room / perLine - cfgListGap;
  for (int i = 0; i < count; ++i)
    flow.Places.push_back(
        Bounds(Left + (i % perLine) * (width + cfgListGap), Top + (i / perLine) * cfgListPitch, width, cfgRowHeight));
  return flow;
}

// ---- Spin edits and their units

TcfgSpinLimits cfgSpinLimits(const TcfgDbItem& Item, TUnit Unit) {
  TcfgSpinLimits limits;
  const double min = cfgFloatOf(Item.MinValue, -1);
  const double max = cfgFloatOf(Item.MaxValue, -1);
  const bool converted = Item.BaseUnit != unNone;
  auto inUnit = [&](double V) { return converted ? ConvertUnit(Item.BaseUnit, Unit, V) : V; };
  limits.Limited = min != -1 && max != -1;
  if (limits.Limited) {
    limits.Min = inUnit(min);
    limits.Max = inUnit(max);
  }
  limits.Step = inUnit(cfgFloatOf(Item.Step, 1));
  limits.BigStep = inUnit(cfgFloatOf(Item.BigStep, 10));
  return limits;
}

std::vector<WideString> cfgUnitNames(TUnitCategory Category) {
  std::vector<WideString> names;
  const int first = FirstUnitOf(Category);
  for (int i = 0; i < UnitCountOf(Category); ++i) names.push_back(UnitDisplayName(static_cast<TUnit>(first + i)));
  return names;
}

int cfgUnitEntry(TUnitCategory Category, TUnit Unit) {
  if (GetUnitCategory(Unit) != Category) return -1;
  return Unit - FirstUnitOf(Category);
}

TUnit cfgUnitOfEntry(const TcfgDbItem& Item, int Entry) {
  if (Entry < 0 || Entry >= UnitCountOf(Item.UnitCategory)) return Item.DisplayUnit;
  return static_cast<TUnit>(FirstUnitOf(Item.UnitCategory) + Entry);
}

double cfgSwitchUnit(TcfgDbItem& Item, TUnit NewUnit, double Shown) {
  const double base = ConvertUnit(Item.DisplayUnit, Item.BaseUnit, Shown);
  Item.DisplayUnit = NewUnit;
  return ConvertUnit(Item.BaseUnit, NewUnit, base);
}

double cfgShownNumber(const TcfgDbItem& Item) {
  const double value = cfgFloatOf(Item.Value, cfgFloatOf(Item.Default, 0));
  return Item.Type == cfgtFloat ? ConvertUnit(Item.ValueUnit, Item.DisplayUnit, value) : value;
}

// ---- Value lists and check lists

int cfgValueEntry(const TcfgDbItem& Item) { return Item.Values.IndexOf(cfgTextOf(Item.Value)); }

std::vector<bool> cfgCheckListTicks(const TcfgDbItem& Item) {
  std::vector<bool> ticks(static_cast<size_t>(Item.Values.Count()), false);
  const String text = cfgTextOf(Item.Value);
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find(';', start), text.size());
    const String pair = text.substr(start, end - start);
    const size_t eq = pair.find('=');
    const int entry = Item.Values.IndexOf(pair.substr(0, eq));
    if (entry >= 0) ticks[static_cast<size_t>(entry)] = eq != String::npos && pair.substr(eq + 1) == "1";
    start = end + 1;
  }
  return ticks;
}

// ---- Read-back

bool cfgReadBack(TcfgDbItem& Item, const TcfgShown& Shown) {
  const Variant old = Item.Value;
  bool unitChanged = false;
  auto chosen = [&](int Index) {
    return Index >= 0 && Index < Item.Values.Count() ? Variant(Item.Values[Index]) : Item.Value;
  };
  switch (Item.Type) {
    case cfgtInteger:
      Item.Value = static_cast<int>(std::clamp<std::int64_t>(Round(Shown.Number), INT32_MIN, INT32_MAX));
      break;
    case cfgtFloat:
      Item.Value = Shown.Number;
      unitChanged = Item.ValueUnit != Item.DisplayUnit;
      Item.ValueUnit = Item.DisplayUnit;
      break;
    case cfgtBoolean:
      Item.Value = Shown.Checked;
      break;
    case cfgtTracker:
      Item.Value = Shown.Position;
      break;
    case cfgtString:
    case cfgtBrowse1:
    case cfgtBrowse2:
      Item.Value = Shown.Text;
      break;
    case cfgtColor:
      Item.Value = static_cast<int>(Shown.Colour);
      break;
    case cfgtValueList:
    case cfgtUnitList:
    case cfgtPanelList:
      Item.Value = chosen(Shown.Index);
      break;
    case cfgtCheckList: {
      String text;
      for (int i = 0; i < Item.Values.Count(); ++i) {
        if (i > 0) text += ";";
        const bool tick = static_cast<size_t>(i) < Shown.Ticks.size() && Shown.Ticks[static_cast<size_t>(i)];
        text += Item.Values[i] + "=" + (tick ? "1" : "0");
      }
      Item.Value = text;
      break;
    }
    default:
      return false;
  }
  const bool changed = unitChanged || !(Item.Value == old);
  if (changed) Item.Changed = true;
  return changed;
}
