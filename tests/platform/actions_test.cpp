// TBasicAction: execution, its count, and the disabled state.
#include "platform/actions.h"

#include <gtest/gtest.h>

TEST(BasicAction, ExecuteCountsAndFiresOnExecute) {
  TBasicAction action(nullptr);
  int fired = 0;
  EXPECT_FALSE(action.Execute());  // no handler: counted, but nothing ran
  EXPECT_EQ(action.RepeatCount(), 1);
  action.OnExecute = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &action);
    ++fired;
  };
  EXPECT_TRUE(action.Execute());
  EXPECT_TRUE(action.Execute());
  EXPECT_EQ(fired, 2);
  EXPECT_EQ(action.RepeatCount(), 3);
  action.SetRepeatCount(0);
  EXPECT_EQ(action.CaptionIndex(), -1);
}

TEST(BasicAction, ADisabledActionDoesNothing) {
  TBasicAction action(nullptr);
  int fired = 0;
  action.OnExecute = [&](TObject*) { ++fired; };
  action.SetEnabled(false);
  EXPECT_FALSE(action.Execute());
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(action.RepeatCount(), 0);
}

namespace {

// A client that shows the action's caption and checked state, as a button or
// menu item does, through a link of its own.
struct TCaptionClient {
  WideString Caption;
  bool Checked = false;
};

class TCaptionLink : public TBasicActionLink {
 public:
  explicit TCaptionLink(TCaptionClient& Client) : FClient(Client) {}
  bool IsCaptionLinked() const override {
    return TBasicActionLink::IsCaptionLinked() && FClient.Caption == Action()->Caption();
  }
  void SetCaption(const WideString& Value) override {
    if (IsCaptionLinked()) FClient.Caption = Value;
  }
  void SetChecked(bool Value) override {
    if (IsCheckedLinked()) FClient.Checked = Value;
  }

 private:
  TCaptionClient& FClient;
};

}  // namespace

TEST(CustomAction, ChangesReachTheClientsThatStillShowTheActionsValue) {
  TComponent owner(nullptr);
  auto* action = new TCustomAction(&owner);
  action->SetCaption(u"Open");
  TCaptionClient linked{u"Open"}, changed{u"Open"};
  TCaptionLink a(linked), b(changed);
  a.SetAction(action);
  b.SetAction(action);
  EXPECT_EQ(action->ClientCount(), 2);
  changed.Caption = u"Mine";  // changed by hand: no longer linked
  action->SetCaption(u"\u0386\u03bd\u03bf\u03b9\u03b3\u03bc\u03b1");
  EXPECT_EQ(linked.Caption, u"\u0386\u03bd\u03bf\u03b9\u03b3\u03bc\u03b1");
  EXPECT_EQ(changed.Caption, u"Mine");
  action->SetChecked(true);
  EXPECT_TRUE(linked.Checked);
  // Freeing the action leaves the links without one; freeing a link leaves the action's list.
  b.SetAction(nullptr);
  EXPECT_EQ(action->ClientCount(), 1);
  action->Free();
  EXPECT_EQ(a.Action(), nullptr);
  EXPECT_FALSE(a.Execute());
}

TEST(CustomAction, GroupsAutoCheckAndAssign) {
  TComponent owner(nullptr);
  auto* one = new TCustomAction(&owner);
  auto* two = new TCustomAction(&owner);
  auto* other = new TCustomAction(&owner);
  for (TCustomAction* a : {one, two}) a->SetGroupIndex(3);
  one->SetChecked(true);
  other->SetChecked(true);
  two->SetChecked(true);
  EXPECT_FALSE(one->Checked());
  EXPECT_TRUE(other->Checked());  // not in the group
  other->SetAutoCheck(true);
  other->Execute();
  EXPECT_FALSE(other->Checked());
  int runs = 0;
  one->OnExecute = [&](TObject*) { ++runs; };
  one->SetCaption(u"&Save");
  one->SetHint(u"Saves|Saves the file");
  one->SetShortCut(scCtrl | 'S');
  TCustomAction copy(nullptr);
  copy.Assign(one);
  EXPECT_EQ(copy.Caption(), u"&Save");
  EXPECT_EQ(copy.Hint(), u"Saves|Saves the file");
  EXPECT_EQ(copy.ShortCut(), scCtrl | 'S');
  EXPECT_EQ(copy.GroupIndex(), 3);
  copy.Execute();
  EXPECT_EQ(runs, 1);
  EXPECT_THROW(copy.Assign(&owner), EConvertError);
}
