// The confirmation dialog, answered by keys while its modal loop runs.
#include "launcher/ov3message_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemlout_win.h"
#include "kem3/controls/kempicture_win.h"
#include "platform/app_scope_win.h"
#include "support/modal_answer_win.h"

namespace {

using modal_answer::AnswerWhenShown;
using modal_answer::PressKey;

TEST(MessageDialogWin, EscapeAnswersNoAndEnterYes) {
  TAppScope app;
  for (auto [key, answer] : {std::pair{VK_ESCAPE, false}, std::pair{VK_RETURN, true}}) {
    WideString caption;
    AnswerWhenShown<TdMessage>([&, key = key](TdMessage& Dialog) {
      caption = Dialog.Caption();
      PressKey(Dialog, key);
    });
    EXPECT_EQ(ShowMessageDialog({u"Delete icon", u"Really?"}), answer) << key;
    EXPECT_EQ(caption, u"Delete icon");
  }
}

TEST(MessageDialogWin, TwentyLinesGrowTheDialogAndKeepTheButtonsBelowTheText) {
  TAppScope app;
  TMessageParts lines{u"Many"};
  for (int i = 0; i < 20; ++i) lines.emplace_back("Line " + std::to_string(i));
  int paragraphs = 0, textBottom = 0, clientHeight = 0;
  std::vector<int> buttonTops;
  bool picture = false;
  AnswerWhenShown<TdMessage>([&](TdMessage& Dialog) {
    paragraphs = Dialog.l->GetParagraphCount();
    textBottom = Dialog.l->Top() + Dialog.l->Height();
    clientHeight = Dialog.ClientHeight();
    buttonTops = {Dialog.bYes->Top(), Dialog.bNo->Top()};
    picture = !Dialog.ic->Image()->Empty();
    PressKey(Dialog, VK_ESCAPE);
  });
  EXPECT_FALSE(ShowMessageDialog(lines));
  EXPECT_EQ(paragraphs, 20);
  EXPECT_GT(textBottom, 20 * 14) << "each line is a paragraph of its own";
  EXPECT_EQ(clientHeight, textBottom - 8 + 48);
  for (int top : buttonTops) {
    EXPECT_GE(top, textBottom);
    EXPECT_EQ(top + 33, clientHeight);
  }
  EXPECT_TRUE(picture) << "the dialog's picture comes from the program's resources";
}

}  // namespace
