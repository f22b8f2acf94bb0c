// The combo box's auto-complete state machine.
#include "kem3/unicode/uccombo_complete.h"

#include <algorithm>

#include "platform/wide_case.h"

namespace {

constexpr WideChar kBackspace = 8;
constexpr WideChar kTab = 9;
constexpr WideChar kEscape = 27;

}  // namespace

std::uint64_t TComboAutoComplete::Now() const { return FClock ? FClock->Milliseconds() : TickCount(); }

TComboKeyResult TComboAutoComplete::EditKey(WideChar Key, const TComboEditState& Edit, bool DroppedDown,
                                            const TComboItemLookup& Items) const {
  TComboKeyResult r;
  r.Edit = Edit;
  if (Key == kBackspace || Key == kEscape) return r;
  if (Key == kTab) {
    r.CloseUp = AutoDropDown && DroppedDown;
    return r;
  }
  r.DropDown = AutoDropDown && !DroppedDown;
  const int length = static_cast<int>(Edit.Text.size());
  const int start = std::clamp(Edit.SelStart, 0, length);
  if (start + Edit.SelLength < length) return r;
  const WideString typed = Edit.Text.substr(0, static_cast<size_t>(start)) + Key;
  const int found = Items.FindPrefix(typed, -1);
  if (found < 0) return r;
  const WideString item = Items.ItemText(found);
  r.Handled = true;
  r.ItemIndex = found;
  // The typed part as typed, the rest from the item, selected.
  const WideString rest = item.size() > typed.size() ? item.substr(typed.size()) : WideString();
  r.Edit.Text = typed + rest;
  r.Edit.SelStart = static_cast<int>(typed.size());
  r.Edit.SelLength = static_cast<int>(rest.size());
  r.CloseUp = AutoCloseUp && SameItemText(typed, item);
  return r;
}

TComboKeyResult TComboAutoComplete::ListKey(WideChar Key, bool DroppedDown, const TComboItemLookup& Items) {
  TComboKeyResult r;
  if (Key == kBackspace) {
    if (!FTyped.empty()) FTyped.pop_back();
    return r;
  }
  if (Key == kTab) {
    r.CloseUp = AutoDropDown && DroppedDown;
    return r;
  }
  if (Key == kEscape) return r;
  r.DropDown = AutoDropDown && !DroppedDown;
  const std::uint64_t now = Now();
  if (!FHaveLastKey || now - FLastKey >= kResetDelay) FTyped.clear();
  FLastKey = now;
  FHaveLastKey = true;
  const WideString typed = FTyped + Key;
  const int found = Items.FindPrefix(typed, -1);
  if (found < 0) return r;
  FTyped = typed;
  r.Handled = true;
  r.ItemIndex = found;
  return r;
}

bool SameItemText(const WideString& Text, const WideString& Item) {
  return std::equal(Text.begin(), Text.end(), Item.begin(), Item.end(),
                    [](WideChar a, WideChar b) { return WideCharFold(a) == WideCharFold(b); });
}

bool StartsWithItemText(const WideString& Item, const WideString& Prefix) {
  return Item.size() >= Prefix.size() && SameItemText(Prefix, Item.substr(0, Prefix.size()));
}
