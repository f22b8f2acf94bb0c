// The panel list's items and selection rules, without a window.
#include "kem3/controls/kemplist_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/stringlist.h"

namespace {

// Records what the model asks of its control.
class TProbeList : public TKemPanelListModel {
 public:
  int Layouts = 0;
  int ItemPaints = 0;
  int Clicks = 0;
  int DblClicks = 0;
  int ClickIndex = -2;
  std::vector<std::string> Selections;  // "previous>current" plus "!" for a full repaint
  bool Scrolls = false;
  int Changes = 0;

  TProbeList() {
    OnChange = [this](TObject*) { ++Changes; };
  }

 protected:
  void LayoutChanged() override { ++Layouts; }
  bool ScrollIntoView(int) override { return Scrolls; }
  void PaintSelection(int Previous, int Current, bool Full) override {
    Selections.push_back(std::to_string(Previous) + ">" + std::to_string(Current) + (Full ? "!" : ""));
  }
  void PaintItems() override { ++ItemPaints; }
  void ItemClick() override {
    ++Clicks;
    ClickIndex = ItemIndex();
  }
  void ItemDblClick() override {
    ++DblClicks;
    ClickIndex = ItemIndex();
  }
};

class TSwitch : public TKemPanelListLink {
 public:
  bool On = true;
  int Clicks = 0;
  bool LinkEnabled() const override { return On; }
  void LinkClick() override { ++Clicks; }
};

std::vector<std::u16string> Captions(const TKemPanelListModel& list) {
  std::vector<std::u16string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Items(i)->Caption());
  return out;
}

void Fill(TKemPanelListModel& list, int n) {
  for (int i = 0; i < n; ++i) list.Add(u"item " + std::u16string(1, static_cast<char16_t>(u'a' + i)));
}

}  // namespace

TEST(KemPlistModel, InsertAddDeleteKeepDisplayOrderAndLayOutOnlyWhereSaid) {
  TProbeList list;
  list.Add(u"b");
  list.Insert(0, u"a");
  EXPECT_EQ(list.Layouts, 2);
  list.AddItem(u"d", 5, nullptr, nullptr, false);
  list.InsertItem(2, u"c", 7, nullptr, nullptr, true);
  EXPECT_EQ(list.Layouts, 2) << "InsertItem and AddItem leave the layout stale";
  EXPECT_EQ(Captions(list), (std::vector<std::u16string>{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(list.Items(2)->Data.AsInteger(), 7);
  EXPECT_TRUE(list.Items(2)->AlphaChannel);
  EXPECT_EQ(list.Items(0)->Data.AsInteger(), 0);
  EXPECT_EQ(list.IndexOf(u"C"), 2);
  EXPECT_EQ(list.IndexOf(u"x"), -1);
  list.Delete(1);
  EXPECT_EQ(Captions(list), (std::vector<std::u16string>{u"a", u"c", u"d"}));
  EXPECT_EQ(list.Layouts, 3);
  EXPECT_THROW(list.Items(3), EListError);
  EXPECT_THROW(list.Items(-1), EListError);
  EXPECT_THROW(list.Delete(5), EListError);
  EXPECT_THROW(list.Insert(9, u"x"), EListError);
}

TEST(KemPlistModel, NewItemsTakeTheListsFontStyleAndDefaults) {
  TProbeList list;
  list.SetDefaultFontStyle(TFontStyles{fsBold});
  TKemPanelListItem* item = list.Add(u"x");
  EXPECT_EQ(item->FontStyle, TFontStyles{fsBold});
  EXPECT_EQ(item->List(), &list);
  EXPECT_EQ(item->TextColor, clNone);
  EXPECT_EQ(item->TextColorSel, clNone);
  EXPECT_EQ(item->LineColor, clNone);
  EXPECT_TRUE(item->Enabled && item->Visible && item->Expanded && item->HasCheckbox && item->Draggable);
  EXPECT_FALSE(item->Measured);
}

TEST(KemPlistModel, AccelCharIsTheCharacterAfterTheFirstSingleAmpersand) {
  TProbeList list;
  TKemPanelListItem* item = list.Add(u"&file");
  EXPECT_EQ(item->AccelChar(), u'F');
  item->SetCaption(u"a&&b&c");
  EXPECT_EQ(item->AccelChar(), u'C');
  item->SetCaption(u"&&only");
  EXPECT_EQ(item->AccelChar(), 0);
  item->SetCaption(u"end&");
  EXPECT_EQ(item->AccelChar(), 0);
  item->Measured = true;
  item->SetCaption(u"end&");
  EXPECT_TRUE(item->Measured) << "the same caption changes nothing";
  item->SetCaption(u"x&9");
  EXPECT_FALSE(item->Measured);
  EXPECT_TRUE(item->MatchesAccel(u'9'));
  list.SetShowAccelChar(false);
  EXPECT_FALSE(item->MatchesAccel(u'9'));
}

TEST(KemPlistModel, DataHoldsAWholePointer) {
  TProbeList list;
  int target = 0;
  TKemPanelListItem* item = list.AddItem(u"x", reinterpret_cast<std::intptr_t>(&target), nullptr, nullptr, false);
  EXPECT_EQ(reinterpret_cast<int*>(item->GetDataAsInteger()), &target);
}

TEST(KemPlistModel, ChildrenAppendAtTheEndAndCarryTheirLevel) {
  TProbeList list;
  TKemPanelListItem* a = list.Add(u"a");
  TKemPanelListItem* b = list.Add(u"b");
  TKemPanelListItem* a1 = a->AddChild(u"a1");
  TKemPanelListItem* a11 = a1->AddChildItem(u"a11", 3, nullptr);
  EXPECT_EQ(Captions(list), (std::vector<std::u16string>{u"a", u"b", u"a1", u"a11"}));
  EXPECT_EQ(a11->Level(), 2);
  EXPECT_EQ(a11->Parent(), a1);
  EXPECT_EQ(a->Children(), std::vector<TKemPanelListItem*>{a1});
  // A subtree moved under another parent keeps its shape.
  a1->SetParent(b);
  EXPECT_TRUE(a->Children().empty());
  EXPECT_EQ(a1->Level(), 1);
  EXPECT_EQ(a11->Level(), 2);
  a1->SetParent(nullptr);
  EXPECT_EQ(a11->Level(), 1);
}

TEST(KemPlistModel, VisibilityFollowsTheParentsNotTheChildsOwnFlag) {
  TProbeList list;
  TKemPanelListItem* root = list.Add(u"root");
  TKemPanelListItem* child = root->AddChild(u"child");
  TKemPanelListItem* grandchild = child->AddChild(u"grandchild");
  child->Visible = false;
  EXPECT_TRUE(child->IsVisible()) << "a child of a visible, expanded parent is visible";
  root->Expanded = false;
  grandchild->Visible = true;
  EXPECT_FALSE(child->IsVisible());
  EXPECT_FALSE(grandchild->IsVisible()) << "a collapsed ancestor hides the whole subtree";
  root->Expanded = true;
  root->Visible = false;
  EXPECT_FALSE(child->IsVisible());
  root->Visible = true;
  EXPECT_EQ(root->VisibleChildCount(), 1);
  EXPECT_EQ(list.LastVisibleIndex(), 2);
  child->Expanded = false;
  EXPECT_EQ(list.LastVisibleIndex(), 1);
}

TEST(KemPlistModel, SelectabilityNeedsEnabledNoSeparatorAndAnEnabledLink) {
  TProbeList list;
  Fill(list, 4);
  TSwitch link;
  list.Items(1)->Enabled = false;
  list.Items(2)->IsSeparator = true;
  list.Items(3)->Link = &link;
  list.SetItemIndex(1);
  list.SetItemIndex(2);
  EXPECT_EQ(list.ItemIndex(), -1);
  link.On = false;
  list.SetItemIndex(3);
  EXPECT_EQ(list.ItemIndex(), -1);
  link.On = true;
  list.SetItemIndex(3);
  EXPECT_EQ(list.ItemIndex(), 3);
  EXPECT_EQ(list.SelectedItem(), list.Items(3));
}

TEST(KemPlistModel, SetItemIndexRepaintsTheTwoItemsAndFiresOnChangeOnce) {
  TProbeList list;
  Fill(list, 3);
  list.SetItemIndex(1);
  list.SetItemIndex(1);
  list.SetItemIndex(7);  // past the end: nothing selected
  EXPECT_EQ(list.ItemIndex(), -1);
  list.SetItemIndex(-5);
  EXPECT_EQ(list.Selections, (std::vector<std::string>{"-1>1", "1>-1"}));
  EXPECT_EQ(list.Changes, 2);
  list.Scrolls = true;  // scrolling makes it a full repaint
  list.SetItemIndex(2);
  list.Scrolls = false;
  list.SetOptions(TKemPanelListOptions{ploFullSelectRepaint});
  list.SetItemIndex(0);
  EXPECT_EQ(list.Selections.back(), "2>0!");
  EXPECT_EQ(list.Selections[2], "-1>2!");
}

TEST(KemPlistModel, DisallowNoSelectionKeepsTheSelectionButNeverOnAnEmptyList) {
  TProbeList list;
  list.SetOptions(TKemPanelListOptions{ploDisallowNoSelection});
  list.SetItemIndex(-1);
  EXPECT_EQ(list.ItemIndex(), -1);
  Fill(list, 3);
  list.SetItemIndex(2);
  list.SetItemIndex(-1);
  EXPECT_EQ(list.ItemIndex(), 2);
  list.Delete(0);  // before the selection: the same item stays selected
  EXPECT_EQ(list.ItemIndex(), 1);
  list.Clear();
  EXPECT_EQ(list.ItemIndex(), -1) << "an empty list has no selection";
  EXPECT_EQ(list.Changes, 2);
}

TEST(KemPlistModel, DisallowEmptySelectionMovesToTheFirstItemWithACaption) {
  TProbeList list;
  list.SetOptions(TKemPanelListOptions{ploDisallowEmptySelection});
  list.Add(u"  ");
  list.Add(u"");
  list.Add(u"x");
  list.Add(u"y");
  list.SetItemIndex(1);
  EXPECT_EQ(list.ItemIndex(), 2);
  list.SetItemIndex(3);
  list.SetItemIndex(0);
  EXPECT_EQ(list.ItemIndex(), 3) << "a valid selection stays";
  TProbeList blank;
  blank.SetOptions(TKemPanelListOptions{ploDisallowEmptySelection});
  blank.Add(u" ");
  blank.Add(u"");
  blank.SetItemIndex(1);
  EXPECT_EQ(blank.ItemIndex(), -1);
  EXPECT_EQ(blank.Changes, 0);
}

TEST(KemPlistModel, DeletingTheSelectedItemLeavesItsChildrenAsRootsAndNoEvent) {
  TProbeList list;
  TKemPanelListItem* parent = list.Add(u"parent");
  TKemPanelListItem* c1 = parent->AddChild(u"c1");
  TKemPanelListItem* c2 = parent->AddChild(u"c2");
  c1->AddChild(u"c11");
  list.Add(u"after");
  list.SetItemIndex(0);
  const int changes = list.Changes;
  list.Delete(0);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.Changes, changes);
  EXPECT_EQ(c1->Parent(), nullptr);
  EXPECT_EQ(c1->Level(), 0);
  EXPECT_EQ(c2->Level(), 0);
  EXPECT_EQ(list.Items(2)->Level(), 1) << "c11 stays under c1";
}

TEST(KemPlistModel, DeletingWithChildrenRemovesTheWholeSubtree) {
  TProbeList list;
  TKemPanelListItem* a = list.Add(u"a");
  TKemPanelListItem* b = list.Add(u"b");
  a->AddChild(u"a1")->AddChild(u"a11");
  b->AddChild(u"b1");
  a->AddChild(u"a2");
  // Flat order: a b a1 a11 b1 a2; select b1.
  list.SetItemIndex(4);
  list.Delete(0, true);
  EXPECT_EQ(Captions(list), (std::vector<std::u16string>{u"b", u"b1"}));
  EXPECT_EQ(list.ItemIndex(), 1) << "the selection follows its item";
  list.Delete(0, true);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.Selections.back(), "1>-1!") << "an emptied list reports the lost selection";
}

TEST(KemPlistModel, MoveItemCarriesTheSubtreeInTreeStyle) {
  TProbeList list;
  list.SetStyle(plsTreeview);
  TKemPanelListItem* a = list.Add(u"a");
  a->AddChild(u"a1");
  a->AddChild(u"a2");
  list.Add(u"b");
  list.Add(u"c");
  // a a1 a2 b c: a down to c's place.
  int target = 4;
  list.MoveItem(0, target);
  EXPECT_EQ(Captions(list), (std::vector<std::u16string>{u"b", u"c", u"a", u"a1", u"a2"}));
  EXPECT_EQ(target, 2);
  target = 0;
  list.MoveItem(2, target);
  EXPECT_EQ(Captions(list), (std::vector<std::u16string>{u"a", u"a1", u"a2", u"b", u"c"}));
  EXPECT_EQ(target, 0);
  target = 1;  // into its own subtree: refused
  list.MoveItem(0, target);
  EXPECT_EQ(target, 0);
  EXPECT_EQ(Captions(list)[0], u"a");
  list.SetStyle(plsListbox);
  target = 3;
  list.MoveItem(0, target, true);
  EXPECT_EQ(Captions(list), (std::vector<std::u16string>{u"a1", u"a2", u"b", u"a", u"c"}));
}

TEST(KemPlistModel, MultipleSelectionRangesAndClearing) {
  TProbeList list;
  Fill(list, 5);
  list.SelectRange(3, 1);
  auto marks = [&] {
    std::string s;
    for (int i = 0; i < list.Count(); ++i) s += list.Items(i)->MultiSelected ? 'x' : '.';
    return s;
  };
  EXPECT_EQ(marks(), ".xxx.");
  list.SelectRange(0, 0);
  EXPECT_EQ(marks(), "x....");
  list.AddRange(3, 4);
  EXPECT_EQ(marks(), "x..xx");
  list.ClearMultiSelection();
  EXPECT_EQ(marks(), "x..xx") << "without ploMultiSelect and an anchor nothing is cleared";
  list.SetOptions(TKemPanelListOptions{ploMultiSelect});
  list.SetItemIndex(0);
  list.PressSelect(2, false, TShiftState{ssShift});
  EXPECT_EQ(list.MultiSelectAnchor(), 0);
  EXPECT_EQ(marks(), "xxx..");
  list.Rebuild();
  EXPECT_EQ(marks(), ".....");
  EXPECT_EQ(list.MultiSelectAnchor(), -1);
}

TEST(KemPlistModel, ClickItemSelectsRunsTheClickAndDeselects) {
  TProbeList list;
  Fill(list, 3);
  list.ClickItem(2);
  EXPECT_EQ(list.Clicks, 1);
  EXPECT_EQ(list.ClickIndex, 2);
  EXPECT_EQ(list.ItemIndex(), -1);
  list.DblClickItem(1);
  EXPECT_EQ(list.DblClicks, 1);
  EXPECT_EQ(list.ClickIndex, 1);
  EXPECT_EQ(list.Changes, 4);
}

TEST(KemPlistModel, ToggleExpandedSelectsTheNearestVisibleItemAbove) {
  TProbeList list;
  list.SetStyle(plsTreeview);
  TKemPanelListItem* a = list.Add(u"a");
  a->AddChild(u"a1")->AddChild(u"a11");
  list.SetItemIndex(2);
  a->ToggleExpanded();
  EXPECT_FALSE(a->Expanded);
  EXPECT_EQ(list.ItemIndex(), 0);
  a->ToggleExpanded();
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_TRUE(list.Items(2)->IsVisible());
}

TEST(KemPlistModel, CaptionsAndValuesRoundTripThroughStringLists) {
  TProbeList list;
  TStringList captions, values;
  captions.Add("Zürich");
  captions.Add("Bern");
  values.Add("zh");
  list.AssignCaptionsAndValues(captions, values);
  EXPECT_EQ(list.Items(0)->Caption(), u"Zürich");
  EXPECT_EQ(VarToStr(list.Items(0)->Data), "zh");
  EXPECT_EQ(VarToStr(list.Items(1)->Data), "");
  TStringList c2, v2;
  c2.Add("old");
  list.GetCaptionsAndValues(c2, v2);
  EXPECT_EQ(c2.Count(), 2);
  EXPECT_EQ(c2.Get(0), "Zürich");
  EXPECT_EQ(v2.Get(0), "zh");
  list.AddStrings({u"x", u"y"});
  list.GetCaptions(c2);
  EXPECT_EQ(c2.Count(), 4);
  EXPECT_EQ(c2.Get(3), "y");
}

TEST(KemPlistModel, ItemsOwnTheirBitmapsOnlyWithBitmapOwner) {
  TBitmap kept;
  {
    TProbeList list;
    TKemPanelListItem* item = list.AddItem(u"x", 0, &kept, nullptr, false);
    item->BitmapSelected = &kept;
  }  // not owned: the list leaves it alone (a double free would show under ASan)
  TProbeList owner;
  owner.SetOptions(TKemPanelListOptions{ploBitmapOwner});
  TKemPanelListItem* item = owner.AddItem(u"x", 0, new TBitmap, new TBitmap, true);
  item->BitmapSelected = new TBitmap;
  owner.Delete(0);  // owned: freed with the item (a leak would show under ASan)
  EXPECT_EQ(owner.Count(), 0);
}
