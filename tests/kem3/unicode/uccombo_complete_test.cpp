// The combo box's auto-complete state machine with a virtual clock.
#include "kem3/unicode/uccombo_complete.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Items searched by case-insensitive prefix, as the system's list does.
struct TItems {
  std::vector<WideString> List;
  TComboItemLookup Lookup() const {
    return {[this](const WideString& prefix, int) {
              for (size_t i = 0; i < List.size(); ++i) {
                if (StartsWithItemText(List[i], prefix)) return static_cast<int>(i);
              }
              return -1;
            },
            [this](int index) { return List[static_cast<size_t>(index)]; }};
  }
};

}  // namespace

TEST(ComboAutoComplete, EditStylesCompleteTheTypedTextAndSelectTheRest) {
  TItems items{{u"Berlin", u"Bern", u"Αθήνα"}};
  TComboAutoComplete complete;
  struct Step {
    WideChar key;
    TComboEditState before;
    bool handled;
    int item;
    TComboEditState after;
  };
  const Step steps[] = {
      {u'b', {u"", 0, 0}, true, 0, {u"berlin", 1, 5}},       {u'e', {u"berlin", 1, 5}, true, 0, {u"berlin", 2, 4}},
      {u'a', {u"be", 2, 0}, false, -1, {u"be", 2, 0}},        // no item: the key goes to the edit
      {u'r', {u"bexx", 1, 1}, false, -1, {u"bexx", 1, 1}},    // selection short of the end
      {u'α', {u"", 0, 0}, true, 2, {u"αθήνα", 1, 4}},         // above U+00FF, whole
      {8, {u"berlin", 2, 4}, false, -1, {u"berlin", 2, 4}},   // Backspace passes
      {27, {u"berlin", 2, 4}, false, -1, {u"berlin", 2, 4}},  // Escape passes
  };
  for (const Step& s : steps) {
    const TComboKeyResult r = complete.EditKey(s.key, s.before, false, items.Lookup());
    EXPECT_EQ(r.Handled, s.handled) << static_cast<int>(s.key);
    EXPECT_EQ(r.ItemIndex, s.item) << static_cast<int>(s.key);
    EXPECT_EQ(r.Edit, s.after) << static_cast<int>(s.key);
  }
}

TEST(ComboAutoComplete, DropDownFollowsTheSettings) {
  TItems items{{u"Bern"}};
  TComboAutoComplete complete;
  complete.AutoDropDown = true;
  complete.AutoCloseUp = true;
  TComboKeyResult r = complete.EditKey(u'b', {}, false, items.Lookup());
  EXPECT_TRUE(r.DropDown);
  EXPECT_FALSE(r.CloseUp);
  r = complete.EditKey(u'n', {u"Ber", 3, 0}, true, items.Lookup());  // the whole item typed
  EXPECT_FALSE(r.DropDown);
  EXPECT_TRUE(r.CloseUp);
  EXPECT_TRUE(complete.EditKey(9, {}, true, items.Lookup()).CloseUp);
  complete.AutoDropDown = false;
  EXPECT_FALSE(complete.EditKey(9, {}, true, items.Lookup()).CloseUp);
  EXPECT_FALSE(complete.EditKey(u'b', {}, false, items.Lookup()).DropDown);
}

TEST(ComboAutoComplete, DropDownListTypedCharactersFormAPrefixUntilAPause) {
  TItems items{{u"Berlin", u"Bern", u"Bonn", u"Москва"}};
  TFakeClock clock(5000);
  TComboAutoComplete complete(&clock);
  struct Step {
    std::uint64_t after;  // ms since the previous key
    WideChar key;
    int item;
    const char16_t* typed;
  };
  const Step steps[] = {
      {0, u'b', 0, u"b"},    {1249, u'o', 2, u"bo"}, {100, u'x', -1, u"bo"},  // no item: typed stays
      {1250, u'b', 0, u"b"},                                                  // a pause begins anew
      {10, u'e', 0, u"be"},  {10, u'r', 0, u"ber"},  {10, u'n', 1, u"bern"},
      {10, 8, -1, u"ber"},  // Backspace takes the last one back
      {2000, u'м', 3, u"м"},
  };
  for (const Step& s : steps) {
    clock.Advance(s.after);
    const TComboKeyResult r = complete.ListKey(s.key, false, items.Lookup());
    EXPECT_EQ(r.ItemIndex, s.item) << static_cast<int>(s.key);
    EXPECT_EQ(r.Handled, s.item >= 0);
    EXPECT_EQ(complete.Typed(), s.typed) << static_cast<int>(s.key);
  }
}
