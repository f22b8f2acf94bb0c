// The panel list's input rules without a window: keys in list, tree and grid,
// reordering, the selection a press makes, drags and accelerators.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kem3/controls/kemplist_model.h"
#include "platform/keys.h"

namespace {

class TNavList : public TKemPanelListModel {
 public:
  int Clicks = 0;
  int DblClicks = 0;

 protected:
  void ItemClick() override { ++Clicks; }
  void ItemDblClick() override { ++DblClicks; }
};

std::u16string Letter(int i) { return std::u16string(1, static_cast<char16_t>(u'a' + i)); }

void Fill(TKemPanelListModel& list, int n) {
  for (int i = 0; i < n; ++i) list.Add(Letter(i));
}

std::u16string Order(const TKemPanelListModel& list) {
  std::u16string s;
  for (int i = 0; i < list.Count(); ++i) s += list.Items(i)->Caption();
  return s;
}

std::string Marks(const TKemPanelListModel& list) {
  std::string s;
  for (int i = 0; i < list.Count(); ++i) s += list.Items(i)->MultiSelected ? 'x' : '.';
  return s;
}

const TShiftState kNone;
const TShiftState kCtrl{ssCtrl};
const TShiftState kShift{ssShift};

// A tree: a (a1 (a11), a2), b (b1), c.
void FillTree(TKemPanelListModel& list) {
  list.SetStyle(plsTreeview);
  TKemPanelListItem* a = list.Add(u"a");
  TKemPanelListItem* a1 = a->AddChild(u"1");
  a1->AddChild(u"x");
  a->AddChild(u"2");
  TKemPanelListItem* b = list.Add(u"b");
  b->AddChild(u"3");
  list.Add(u"c");
  // Each child was added right after its parent's subtree: the order is depth-first.
}

}  // namespace

TEST(KemPlistNav, FirstKeyWithoutSelectionPicksTheFirstOrLastVisibleItem) {
  TNavList list;
  TPanelListGrid grid;
  EXPECT_TRUE(list.NavigateKey(VK_DOWN, kNone, grid)) << "an empty list takes the key and does nothing";
  Fill(list, 4);
  list.Items(3)->Visible = false;
  list.NavigateKey(VK_END, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 2);
  list.SetItemIndex(-1);
  list.NavigateKey(VK_UP, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 0);
  EXPECT_FALSE(list.NavigateKey(VK_RETURN, kNone, grid));
}

TEST(KemPlistNav, ListArrowsAndPagesSkipItemsThatCannotBeSelected) {
  TNavList list;
  Fill(list, 10);
  list.Items(1)->Enabled = false;
  list.Items(2)->Visible = false;
  list.Items(5)->IsSeparator = true;
  TPanelListGrid grid{3, 10, 1};
  list.SetItemIndex(0);
  list.NavigateKey(VK_DOWN, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 3);
  list.NavigateKey(VK_UP, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 0);
  list.NavigateKey(VK_NEXT, kNone, grid);  // 0 + 3 = 3
  EXPECT_EQ(list.ItemIndex(), 3);
  list.NavigateKey(VK_NEXT, kNone, grid);  // 6
  EXPECT_EQ(list.ItemIndex(), 6);
  list.NavigateKey(VK_PRIOR, kNone, grid);  // 3
  list.NavigateKey(VK_PRIOR, kNone, grid);  // below 0: the first selectable from 0
  EXPECT_EQ(list.ItemIndex(), 0);
  list.SetItemIndex(8);
  list.NavigateKey(VK_NEXT, kNone, grid);  // past the end: the last visible
  EXPECT_EQ(list.ItemIndex(), 9);
  list.Items(0)->Enabled = false;
  list.NavigateKey(VK_HOME, kNone, grid);  // walks on from 0
  EXPECT_EQ(list.ItemIndex(), 3);
  list.Items(9)->Enabled = false;
  list.NavigateKey(VK_END, kNone, grid);  // walks back from 9
  EXPECT_EQ(list.ItemIndex(), 8);
}

TEST(KemPlistNav, TreeLeftCollapsesThenGoesToTheParentAndRightExpandsThenEnters) {
  TNavList list;
  FillTree(list);
  ASSERT_EQ(Order(list), u"a1x2b3c");
  TPanelListGrid grid;
  list.SetItemIndex(2);  // x
  list.NavigateKey(VK_LEFT, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 1);
  list.NavigateKey(VK_LEFT, kNone, grid);  // 1 is expanded: collapses
  EXPECT_FALSE(list.Items(1)->Expanded);
  EXPECT_EQ(list.ItemIndex(), 1);
  list.NavigateKey(VK_DOWN, kNone, grid);  // x is hidden now
  EXPECT_EQ(list.ItemIndex(), 3);
  list.SetItemIndex(1);
  list.NavigateKey(VK_RIGHT, kNone, grid);
  EXPECT_TRUE(list.Items(1)->Expanded);
  EXPECT_EQ(list.ItemIndex(), 1);
  list.NavigateKey(VK_RIGHT, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 2);
  list.SetStyle(plsListbox);
  list.NavigateKey(VK_LEFT, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 2) << "a list box ignores left and right";
}

TEST(KemPlistNav, GridArrowsByRowsAndByColumns) {
  TNavList list;
  list.SetStyle(plsListview);
  Fill(list, 10);
  // Rows first: 4 columns, 3 rows.
  TPanelListGrid grid{2, 3, 4};
  list.SetItemIndex(5);
  list.NavigateKey(VK_UP, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 1);
  list.NavigateKey(VK_UP, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 1) << "first row";
  list.NavigateKey(VK_LEFT, kNone, grid);
  list.NavigateKey(VK_LEFT, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 0) << "first column";
  list.SetItemIndex(3);
  list.NavigateKey(VK_RIGHT, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 3) << "last column";
  list.SetItemIndex(6);
  list.NavigateKey(VK_DOWN, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 6) << "no item below";
  list.SetItemIndex(5);
  list.NavigateKey(VK_DOWN, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 9);
  list.NavigateKey(VK_PRIOR, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 7);
  list.NavigateKey(VK_NEXT, kNone, grid);
  list.NavigateKey(VK_NEXT, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 9);

  // Columns first: 3 rows.
  list.SetOptions(TKemPanelListOptions{ploListviewArrangeVert});
  list.SetItemIndex(4);
  list.NavigateKey(VK_RIGHT, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 7);
  list.NavigateKey(VK_RIGHT, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 7) << "no column to the right holds an item";
  list.NavigateKey(VK_LEFT, kNone, grid);
  list.NavigateKey(VK_LEFT, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 1);
  list.NavigateKey(VK_LEFT, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 1);
  list.NavigateKey(VK_DOWN, kNone, grid);
  list.NavigateKey(VK_DOWN, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 3) << "down runs on into the next column";
  list.NavigateKey(VK_UP, kNone, grid);
  EXPECT_EQ(list.ItemIndex(), 2);
}

TEST(KemPlistNav, CtrlArrowsReorderWhenDragReorderIsOn) {
  TNavList list;
  Fill(list, 4);
  TPanelListGrid grid;
  list.SetItemIndex(1);
  list.NavigateKey(VK_DOWN, kCtrl, grid);
  EXPECT_EQ(Order(list), u"abcd") << "without ploDragReorder Ctrl just moves the selection";
  EXPECT_EQ(list.ItemIndex(), 2);
  list.SetOptions(TKemPanelListOptions{ploDragReorder});
  list.NavigateKey(VK_DOWN, kCtrl, grid);
  EXPECT_EQ(Order(list), u"abdc");
  EXPECT_EQ(list.ItemIndex(), 3);
  list.NavigateKey(VK_HOME, kCtrl, grid);
  EXPECT_EQ(Order(list), u"cabd");
  EXPECT_EQ(list.ItemIndex(), 0);
  list.NavigateKey(VK_DOWN, TShiftState{ssCtrl, ssAlt}, grid);
  EXPECT_EQ(Order(list), u"cabd") << "only exactly Ctrl reorders";
  list.SetItemIndex(0);
  std::vector<std::pair<int, int>> asked;
  list.OnCanReorder = [&](TObject*, int cur, int next, bool& can) {
    asked.push_back({cur, next});
    can = false;
  };
  list.NavigateKey(VK_DOWN, kCtrl, grid);
  EXPECT_EQ(Order(list), u"cabd");
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{0, 1}}));
  list.OnCanReorder = nullptr;
  list.Items(0)->Draggable = false;
  list.NavigateKey(VK_DOWN, kCtrl, grid);
  EXPECT_EQ(Order(list), u"cabd");
  EXPECT_EQ(list.ItemIndex(), 1) << "an item that may not be dragged: the selection moves";
}

TEST(KemPlistNav, CtrlArrowsKeepATreeItemAmongItsSiblings) {
  TNavList list;
  FillTree(list);  // a 1 x 2 b 3 c
  list.SetOptions(TKemPanelListOptions{ploDragReorder});
  TPanelListGrid grid;
  list.SetItemIndex(0);
  list.NavigateKey(VK_DOWN, kCtrl, grid);  // a passes b with its child
  EXPECT_EQ(Order(list), u"b3a1x2c");
  EXPECT_EQ(list.ItemIndex(), 2);
  list.NavigateKey(VK_UP, kCtrl, grid);  // back over b's subtree
  EXPECT_EQ(Order(list), u"a1x2b3c");
  EXPECT_EQ(list.ItemIndex(), 0);
  list.SetItemIndex(3);  // 2, the last child of a: no sibling below
  list.NavigateKey(VK_DOWN, kCtrl, grid);
  EXPECT_EQ(Order(list), u"a1x2b3c");
  list.NavigateKey(VK_UP, kCtrl, grid);  // skips x, lands on its sibling 1
  EXPECT_EQ(Order(list), u"a21xb3c");
  EXPECT_EQ(list.ItemIndex(), 1);
}

TEST(KemPlistNav, ShiftArrowsExtendAndCtrlSpaceTogglesTheMultipleSelection) {
  TNavList list;
  Fill(list, 6);
  list.SetOptions(TKemPanelListOptions{ploMultiSelect});
  TPanelListGrid grid;
  list.SetItemIndex(1);
  list.NavigateKey(VK_DOWN, kShift, grid);
  list.NavigateKey(VK_DOWN, kShift, grid);
  EXPECT_EQ(Marks(list), ".xxx..");
  EXPECT_EQ(list.ItemIndex(), 3);
  list.NavigateKey(VK_DOWN, kCtrl, grid);
  list.NavigateKey(VK_SPACE, kCtrl, grid);
  EXPECT_EQ(Marks(list), ".xxxx.");
  list.NavigateKey(VK_SPACE, kCtrl, grid);
  EXPECT_EQ(Marks(list), ".xxx..");
  list.NavigateKey(VK_DOWN, kNone, grid);
  EXPECT_EQ(Marks(list), "......");
  EXPECT_EQ(list.ItemIndex(), 5);
}

TEST(KemPlistNav, SpaceTogglesTheCheckBoxInChecklistMode) {
  TNavList list;
  Fill(list, 2);
  list.SetOptions(TKemPanelListOptions{ploChecklist});
  int checks = 0;
  list.OnCheckChange = [&](TObject*) { ++checks; };
  list.SetItemIndex(0);
  list.NavigateKey(VK_SPACE, kNone, TPanelListGrid{});
  EXPECT_TRUE(list.Items(0)->Checked);
  list.Items(0)->CheckEnabled = false;
  list.NavigateKey(VK_SPACE, kNone, TPanelListGrid{});
  EXPECT_TRUE(list.Items(0)->Checked);
  EXPECT_EQ(checks, 1);
}

TEST(KemPlistNav, PressSelectsUnlessOptionsForbidAndBuildsMultipleSelections) {
  TNavList list;
  Fill(list, 5);
  list.PressSelect(2, true, kNone);
  EXPECT_EQ(list.ItemIndex(), -1) << "the right button selects only with ploRightClicks";
  list.PressSelect(2, false, kNone);
  EXPECT_EQ(list.ItemIndex(), 2);
  list.PressSelect(-1, false, kNone);
  EXPECT_EQ(list.ItemIndex(), -1) << "a press on empty space clears the selection";
  list.Items(4)->Enabled = false;
  list.PressSelect(1, false, kNone);
  list.PressSelect(4, false, kNone);
  EXPECT_EQ(list.ItemIndex(), 1);

  TNavList multi;
  Fill(multi, 5);
  multi.SetOptions(TKemPanelListOptions{ploMultiSelect, ploRightClicks});
  multi.PressSelect(3, false, kCtrl);
  EXPECT_EQ(Marks(multi), "...x.") << "Ctrl+click with nothing selected marks only the clicked item";
  multi.PressSelect(1, false, kCtrl);
  EXPECT_EQ(Marks(multi), ".x.x.");
  multi.PressSelect(3, false, kCtrl);
  EXPECT_EQ(Marks(multi), ".x...");
  multi.PressSelect(4, false, kShift);  // from the anchor 3
  EXPECT_EQ(Marks(multi), "...xx");
  multi.PressSelect(0, false, TShiftState{ssShift, ssCtrl});
  EXPECT_EQ(Marks(multi), "xxxxx");
  multi.PressSelect(2, true, kNone);
  EXPECT_EQ(Marks(multi), "xxxxx") << "a right press keeps the marks";
  EXPECT_EQ(multi.ItemIndex(), 2);
  multi.PressSelect(2, false, kNone);
  EXPECT_EQ(Marks(multi), ".....");

  TNavList first;
  Fill(first, 3);
  first.SetOptions(TKemPanelListOptions{ploMultiSelect});
  first.SetItemIndex(0);
  first.PressSelect(2, false, kCtrl);
  EXPECT_EQ(Marks(first), "x.x") << "the first Ctrl+click marks the selected and the clicked item";
}

TEST(KemPlistNav, DragMovesLiveAndTreeDragsStayInTheParentsSubtree) {
  TNavList list;
  Fill(list, 4);
  list.SetItemIndex(0);
  EXPECT_TRUE(list.DragMoveTo(2));
  EXPECT_EQ(Order(list), u"bcad");
  EXPECT_EQ(list.ItemIndex(), 2);
  EXPECT_FALSE(list.DragMoveTo(2));

  TNavList tree;
  FillTree(tree);        // a 1 x 2 b 3 c
  tree.SetItemIndex(3);  // 2
  EXPECT_FALSE(tree.DragMoveTo(4)) << "b lies outside a's subtree";
  EXPECT_TRUE(tree.DragMoveTo(1));
  EXPECT_EQ(Order(tree), u"a21xb3c");
  tree.SetItemIndex(0);  // a with its subtree
  EXPECT_FALSE(tree.DragMoveTo(2)) << "a child level below a";
  EXPECT_FALSE(tree.DragMoveTo(4)) << "b has visible children";
  EXPECT_TRUE(tree.DragMoveTo(5)) << "3 is the last of b's subtree";
  EXPECT_EQ(Order(tree), u"b3a21xc");
  EXPECT_EQ(tree.ItemIndex(), 2);
  EXPECT_TRUE(tree.DragMoveTo(6)) << "below the last visible item: to the end";
  EXPECT_EQ(Order(tree), u"b3ca21x");
  EXPECT_EQ(tree.ItemIndex(), 3);
}

TEST(KemPlistNav, AcceleratorsNeedTheExactModifierAndCycleThroughMatches) {
  TNavList list;
  list.Add(u"&Alpha");
  list.Add(u"&beta");
  list.Add(u"&apple");
  list.Add(u"&&a");
  list.Add(u"&Avocado");
  const TShiftState alt{ssAlt};
  EXPECT_FALSE(list.Accelerator(u'a', TShiftState{ssAlt, ssShift}));
  EXPECT_FALSE(list.Accelerator(u'a', kNone));
  EXPECT_FALSE(list.Accelerator(u'z', alt));
  EXPECT_FALSE(list.Accelerator(u'-', alt));
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(list.Accelerator(u'a', alt));
    seen.push_back(list.ItemIndex());
  }
  EXPECT_EQ(seen, (std::vector<int>{0, 2, 4, 0}));
  list.SetItemIndex(1);
  list.Accelerator(u'A', alt);
  EXPECT_EQ(list.ItemIndex(), 0) << "from an item that does not match: the first match";

  list.SetAccelModifier(amNone);
  list.SetAccelAction(aaCustom);
  int index = -1, count = -1;
  list.OnAccelerator = [&](TObject*, int i, int n) {
    index = i;
    count = n;
  };
  EXPECT_TRUE(list.Accelerator(u'a', kNone));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(count, 3);
  list.SetAccelAction(aaClick);
  list.Accelerator(u'b', kNone);
  EXPECT_EQ(list.Clicks, 1);
  EXPECT_EQ(list.ItemIndex(), -1);
  list.SetAccelAction(aaDblClick);
  list.Accelerator(u'b', kNone);
  EXPECT_EQ(list.DblClicks, 1);
  list.SetShowAccelChar(false);
  EXPECT_FALSE(list.Accelerator(u'b', kNone));
}
