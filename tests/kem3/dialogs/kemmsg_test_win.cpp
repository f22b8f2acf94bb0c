// The message box shown and answered by keys.
#include "kem3/dialogs/kemmsg_win.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemlout_win.h"
#include "kem3/controls/kempicture_win.h"
#include "platform/app_scope_win.h"
#include "platform/exceptions.h"
#include "support/modal_answer_win.h"

namespace {

using modal_answer::AnswerWhenShown;
using modal_answer::PressKey;

// Each box costs Wine two seconds to close: a few kinds, the rest natively.
TEST(MessageBoxWin, KeysAnswerWithTheButtonsOfTheKind) {
  TAppScope app;
  const TMessageButtonTexts texts{u"Retry", u"Skip", u"Other", u"Stop"};
  const struct {
    int Kind;
    WPARAM Key;
    TModalResult Result;
    const char16_t* Shown;  // the visible buttons' captions, own captions only
  } cases[] = {
      {3, VK_ESCAPE, mrNo, u""},
      {3, VK_RETURN, mrYes, u""},
      {4, VK_ESCAPE, mrCancel, u""},
      {9, VK_ESCAPE, mrCancel, u"Retry|Skip|Other|"},
      {10, VK_RETURN, 18, u"Retry|Skip|Other|Stop|"},
  };
  for (const auto& c : cases) {
    WideString shown;
    AnswerWhenShown<TMessageForm>([&](TMessageForm& Box) {
      for (TKemButton* b : Box.Buttons)
        if (b->Visible() && b->ActionType() == atNone) shown += b->Caption() + u"|";
      PressKey(Box, c.Key);
    });
    EXPECT_EQ(ShowMessageBox(u"Caption", u"Text", c.Kind, texts), c.Result) << c.Kind << " " << c.Key;
    EXPECT_EQ(shown, c.Shown) << c.Kind;
  }
}

TEST(MessageBoxWin, ShortBodyKeepsTheHeightLongOneGrowsWithTheButtonsBelow) {
  TAppScope app;
  WideString many;
  for (int i = 0; i < 20; ++i) many += u"Line\n";
  for (const WideString& body : {WideString(u"One line"), many}) {
    int clientHeight = 0, textBottom = 0, buttonTop = 0, lines = 0;
    bool picture = false;
    TMessageIconPage page = mipInformation;
    AnswerWhenShown<TMessageForm>([&](TMessageForm& Box) {
      clientHeight = Box.ClientHeight();
      textBottom = Box.lBody->Top() + Box.lBody->Height();
      buttonTop = Box.Buttons[3]->Top();
      lines = Box.lBody->GetParagraphCount();
      picture = !Box.iIcon->Image()->Empty();
      page = Box.IconPage();
      PressKey(Box, VK_ESCAPE);
    });
    ShowMessageBox({u"Caption", body}, 0, {}, 4);
    EXPECT_EQ(page, mipStop);
    EXPECT_TRUE(picture);
    if (body == many) {
      EXPECT_EQ(lines, 20) << "a lone LF ends a line";
      EXPECT_EQ(clientHeight, textBottom - 8 + 48);
      EXPECT_GE(buttonTop, textBottom);
    } else {
      EXPECT_EQ(clientHeight, 128);
    }
    EXPECT_EQ(buttonTop + 33, clientHeight);
  }
}

// A second box while the first waits for its answer (a drop's note over the
// last one's): both are shown at once, each answered by its own key.
TModalResult SecondResult = mrNone;
std::set<String> ShownNames;
TMessageForm* FirstBox = nullptr;

// From the first box's modal loop: opens the second, answered once both show.
void CALLBACK OpenSecondBox(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  modal_answer::Pending() = [] {
    std::vector<TMessageForm*> shown;
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* box = dynamic_cast<TMessageForm*>(Screen->Forms(i)); box && box->Visible()) shown.push_back(box);
    if (shown.size() < 2) return false;
    for (TMessageForm* box : shown) ShownNames.insert(box->Name());
    for (TMessageForm* box : shown)
      if (box != FirstBox) PressKey(*box, VK_RETURN);
    return true;
  };
  SetTimer(nullptr, 0, 20, modal_answer::Tick);
  try {
    SecondResult = ShowMessageBox(u"Second", u"Second text", 2);
  } catch (const Exception& E) {
    ShownNames.insert("error: " + E.Message);
    modal_answer::Pending() = nullptr;
  }
  PressKey(*FirstBox, VK_ESCAPE);
}

TEST(MessageBoxWin, ASecondBoxOpensWhileTheFirstIsOpen) {
  TAppScope app;
  SecondResult = mrNone;
  ShownNames.clear();
  AnswerWhenShown<TMessageForm>([](TMessageForm& Box) {
    FirstBox = &Box;
    SetTimer(nullptr, 0, 20, OpenSecondBox);
  });
  EXPECT_EQ(ShowMessageBox(u"First", u"First text", 2), mrCancel);
  EXPECT_EQ(SecondResult, mrOk);
  EXPECT_EQ(ShownNames, (std::set<String>{"MessageForm", "MessageForm_1"}));
}

}  // namespace
