// The tool button's press-and-hold repetition, on the fake timer service.
#include "kem3/controls/kemtools_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"
#include "platform/timer.h"

namespace {

struct TToolFixture {
  TForm* form = nullptr;
  TKemToolButton* button = nullptr;
  TBasicAction* action = nullptr;
  int executed = 0;
  std::vector<int> counts;  // RepeatCount at each execution

  TToolFixture() {
    form = NewForm<TQuietForm>(Application);
    form->SetBounds(40, 40, 200, 100);
    form->Show();
    action = new TBasicAction(form);
    action->OnExecute = [this](TObject*) {
      ++executed;
      counts.push_back(action->RepeatCount());
    };
    button = new TKemToolButton(form);
    button->SetParent(form);
    button->SetBounds(20, 10, 23, 22);
    button->SetAction(action);
  }
  // Mouse messages go to the form's window at the button's place.
  void Mouse(UINT msg, int x, int y, WPARAM keys = 0) { SendMouse(form->Handle(), msg, 20 + x, 10 + y, keys); }
};

}  // namespace

TEST(KemToolButtonWin, HoldingARepeatButtonRepeatsItsActionAtTheRepeatPauses) {
  TAppScope app;
  TFakeTimerService timers;
  TToolFixture f;
  f.button->SetRepeatEnabled(true);
  f.Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_TRUE(f.button->Repeating());
  EXPECT_TRUE(f.button->Pressed());
  timers.Advance(399);
  EXPECT_EQ(f.executed, 0);
  timers.Advance(1);
  EXPECT_EQ(f.executed, 1);
  timers.Advance(200);
  EXPECT_EQ(f.executed, 3);

  f.Mouse(WM_MOUSEMOVE, 40, 5, MK_LBUTTON);  // off the button: the repeats stop, the press holds
  EXPECT_FALSE(f.button->PressedInside());
  timers.Advance(300);
  EXPECT_EQ(f.executed, 3);
  f.Mouse(WM_MOUSEMOVE, 5, 5, MK_LBUTTON);  // back on: they go on
  timers.Advance(100);
  EXPECT_EQ(f.executed, 4);

  f.Mouse(WM_LBUTTONUP, 5, 5);  // the release executes once more, then the count starts anew
  EXPECT_EQ(f.executed, 5);
  EXPECT_EQ(f.counts, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(f.action->RepeatCount(), 0);
  EXPECT_FALSE(f.button->Repeating());
  timers.Advance(1000);
  EXPECT_EQ(f.executed, 5);
  EXPECT_EQ(timers.RunningCount(), 0);

  // A press that loses the mouse ends at the next step: no more repeats, no pressed look.
  f.Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  SendMessageW(f.form->Handle(), WM_CANCELMODE, 0, 0);
  timers.Advance(1000);
  EXPECT_EQ(f.executed, 5);
  EXPECT_FALSE(f.button->Repeating() || f.button->Pressed());
}

TEST(KemToolButtonWin, APlainToolButtonNeverStartsTheTimer) {
  TAppScope app;
  TFakeTimerService timers;
  TToolFixture f;
  f.Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_FALSE(f.button->Repeating());
  EXPECT_EQ(timers.RunningCount(), 0);
  timers.Advance(1000);
  f.Mouse(WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(f.executed, 1);
  EXPECT_EQ(f.action->RepeatCount(), 0);
  // Released off the button: no execution.
  f.Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  f.Mouse(WM_MOUSEMOVE, 60, 5, MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, 60, 5);
  EXPECT_EQ(f.executed, 1);
}

TEST(KemToolButtonWin, AFailingRepeatStopsTheTimer) {
  TAppScope app;
  TFakeTimerService timers;
  TToolFixture f;
  f.button->SetRepeatEnabled(true);
  f.action->OnExecute = [&](TObject*) {
    ++f.executed;
    throw Exception("no more");
  };
  f.Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  timers.Advance(400);
  EXPECT_EQ(f.executed, 1);
  EXPECT_EQ(app.Errors.size(), 1u);
  timers.Advance(500);
  EXPECT_EQ(f.executed, 1);
  f.Mouse(WM_LBUTTONUP, 60, 5);
}

TEST(KemToolButtonWin, CheckButtonsKeepTheirStateAndGroupsActAsRadioButtons) {
  TAppScope app;
  TToolFixture f;
  f.button->SetStyle(tbsCheck);
  f.Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, 5, 5);
  EXPECT_TRUE(f.button->Down());
  f.Mouse(WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, 5, 5);
  EXPECT_FALSE(f.button->Down());

  auto* other = new TKemToolButton(f.form);
  other->SetParent(f.form);
  other->SetBounds(60, 10, 23, 22);
  other->SetStyle(tbsCheck);
  other->SetGrouped(true);
  f.button->SetGrouped(true);
  f.button->SetDown(true);
  other->Click();
  EXPECT_TRUE(other->Down());
  EXPECT_FALSE(f.button->Down());
  other->Click();  // clicked again it stays down
  EXPECT_TRUE(other->Down());
}
