// The check list box on a real window: states and data that go with their
// items through every change of the items and re-creation, and the toggles
// of clicks in the box, on the text and of Space.
#include "kem3/controls/kemchklb_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"

namespace {

struct TScene {
  TForm* Form = nullptr;
  TKemCheckListBox* List = nullptr;
  int ClickChecks = 0;
};

void Make(TScene& s, std::initializer_list<const char16_t*> Items) {
  s.Form = NewForm<TQuietForm>(Application);
  s.Form->SetBounds(0, 0, 300, 200);
  s.List = new TKemCheckListBox(s.Form);
  s.List->SetParent(s.Form);
  s.List->SetBounds(10, 10, 200, 150);
  for (const char16_t* item : Items) s.List->Items()->Add(item);
  s.List->OnClickCheck = [&s](TObject*) { ++s.ClickChecks; };
  s.Form->Show();
}

// The items with their states and data, as "text:state:data".
std::vector<std::u16string> Rows(TKemCheckListBox* l) {
  std::vector<std::u16string> rows;
  for (int i = 0; i < l->Items()->Count(); ++i)
    rows.push_back(l->Items()->Get(i) + u":" + std::u16string(1, u'0' + l->State(i)) + u":" +
                   std::u16string(1, static_cast<char16_t>(u'0' + l->ItemData(i))));
  return rows;
}

LPARAM ItemPoint(TKemCheckListBox* l, int Index, int X) {
  RECT r{};
  SendMessageW(l->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
  return PointToLParam(X, (r.top + r.bottom) / 2);
}

void Click(TKemCheckListBox* l, int Index, int X) {
  const LPARAM at = ItemPoint(l, Index, X);
  SendMessageW(l->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(l->Handle(), WM_LBUTTONUP, 0, at);
}

}  // namespace

TEST(KemCheckListBoxWin, StatesAndDataGoWithTheirItems) {
  TAppScope app;
  TScene s;
  Make(s, {u"α", u"б", u"γ", u"д"});
  TKemCheckListBox* l = s.List;
  l->SetChecked(0, true);
  l->SetState(2, cbGrayed);
  l->SetItemData(2, 7);
  using V = std::vector<std::u16string>;
  l->Items()->Move(2, 0);
  EXPECT_EQ(Rows(l), (V{u"γ:2:7", u"α:1:0", u"б:0:0", u"д:0:0"}));
  l->Items()->Exchange(0, 3);
  EXPECT_EQ(Rows(l), (V{u"д:0:0", u"α:1:0", u"б:0:0", u"γ:2:7"}));
  l->Items()->Put(1, u"ω");
  l->Items()->Delete(0);
  l->Items()->Insert(1, u"ж");
  EXPECT_EQ(Rows(l), (V{u"ω:1:0", u"ж:0:0", u"б:0:0", u"γ:2:7"}));
  // A property that makes the window anew keeps them.
  l->SetMultiSelect(true);
  l->RecreateWnd();
  EXPECT_EQ(Rows(l), (V{u"ω:1:0", u"ж:0:0", u"б:0:0", u"γ:2:7"}));
  for (int i = 0; i < 4; ++i) l->SetSelected(i, i == 1 || i == 3);
  l->DeleteSelected();
  EXPECT_EQ(Rows(l), (V{u"ω:1:0", u"б:0:0"}));
  EXPECT_THROW(l->Checked(2), EListError);
  l->Items()->Clear();
  l->Items()->Add(u"ξ");
  EXPECT_EQ(Rows(l), (V{u"ξ:0:0"}));
}

TEST(KemCheckListBoxWin, ClicksInTheBoxToggleOnTheTextSelect) {
  TAppScope app;
  TScene s;
  Make(s, {u"α", u"б", u"γ"});
  TKemCheckListBox* l = s.List;
  const int box = TKemCheckListBox::CheckWidth() / 2, text = TKemCheckListBox::CheckWidth() + 20;
  Click(l, 1, text);
  EXPECT_EQ(l->ItemIndex(), 1);
  EXPECT_EQ(l->State(1), cbUnchecked);
  EXPECT_EQ(s.ClickChecks, 0);
  l->SetAllowGrayed(true);
  for (TCheckBoxState expected : {cbGrayed, cbChecked, cbUnchecked}) {
    Click(l, 0, box);
    EXPECT_EQ(l->State(0), expected);
  }
  EXPECT_EQ(s.ClickChecks, 3);
  // One checked item at most.
  l->SetMultiCheck(false);
  l->SetAllowGrayed(false);
  Click(l, 0, box);
  Click(l, 2, box);
  EXPECT_FALSE(l->Checked(0));
  EXPECT_TRUE(l->Checked(2));
  // Space on the current item.
  l->SetFocus();
  l->SetItemIndex(1);
  SendMessageW(l->Handle(), WM_CHAR, u' ', 0);
  EXPECT_TRUE(l->Checked(1));
  EXPECT_FALSE(l->Checked(2));
}
