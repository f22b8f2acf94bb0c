// The message box's texts, lines, buttons, pictures and heights.
#include "kem3/dialogs/kemmsg.h"

#include <gtest/gtest.h>

#include "kem3/controls/kemlout.h"
#include "kem3/framework/kemlantext.h"

namespace {

// Text 7 carries mark-up, as a language file may.
class MessageTexts : public testing::Test {
 protected:
  MessageTexts() {
    SetLanguageTextHooks(
        {[](int Index, const WideString& Default) { return Index == 7 ? WideString(u"{b}Bold{/b}\r\nnext") : Default; },
         [](const String&) { return -1; }});
  }
  ~MessageTexts() override { SetLanguageTextHooks({}); }
};

TEST_F(MessageTexts, LinesEndAtEveryKindOfBreak) {
  const struct {
    std::u16string_view Text;
    std::vector<WideString> Lines;
  } cases[] = {
      {u"", {}},
      {u"one", {u"one"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\nb", {u"a", u"b"}},  // a lone LF ends a line too, not glued to the next
      {u"a\rb\r\n", {u"a", u"b"}},
      {u"a\r\n\r\nb", {u"a", u"", u"b"}},
      {u"\n\r", {u"", u""}},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageLines(c.Text), c.Lines) << std::string(c.Text.begin(), c.Text.end());
}

TEST_F(MessageTexts, StringPartsShowLiterallyAndTextIndexesKeepTheirMarkup) {
  // Element 0 is the caption, not the body.
  const TMessageParts parts{7, u"{p \\\\host\\a.png}\r\nx{", std::int64_t{7}, 9, 2.5};
  EXPECT_EQ(MessagePartText(parts[0]), u"{b}Bold{/b}\r\nnext");
  EXPECT_EQ(MessageParagraphs(parts, "msgtext", true),
            (std::vector<WideString>{u"{s:msgtext}" + KemLiteralText(u"{p \\\\host\\a.png}"),
                                     u"{s:msgtext}x" + KemLiteralText(u"{"), u"{s:msgtext}{b}Bold{/b}",
                                     u"{s:msgtext}next", u"{s:msgtext}2.5"}));
  // The escaped picture reference parses to text alone.
  TKemParagraph literal(MessageParagraphs(parts, "msgtext", true)[0]);
  for (const auto& piece : literal.Pieces()) EXPECT_FALSE(piece->IsPicture);
  // The dialog's lines are mark-up as given (its caller escapes what the user typed).
  EXPECT_EQ(MessageParagraphs({u"Caption", u"{b}x"}, "ov2text", false), std::vector<WideString>{u"{s:ov2text}{b}x"});
  EXPECT_EQ(MessagePartText(Variant::Null()), u"");
}

TEST(MessageBox, ButtonsOfEveryKind) {
  // Each button as "action/text index/result/escape"; "-" hidden.
  auto show = [](const TMessageBoxButtons& Buttons) {
    std::string s;
    for (const TMessageBoxButton& b : Buttons)
      s += !b.Visible ? "- "
                      : std::to_string(b.Action) + "/" + std::to_string(b.Text) + "/" + std::to_string(b.Result) +
                            (b.Cancel ? "/esc " : " ");
    return s;
  };
  const char* expected[] = {
      "- - - 1/-1/0/esc ",                 // 0: OK
      "- - - 8/-1/0/esc ",                 // 1: Close
      "- - 1/-1/0 2/-1/0/esc ",            // 2: OK, Cancel
      "- - 4/-1/0 5/-1/0/esc ",            // 3: Yes, No
      "- 4/-1/0 5/-1/0 2/-1/0/esc ",       // 4: Yes, No, Cancel
      "4/-1/0 6/-1/0 5/-1/0 2/-1/0/esc ",  // 5: Yes, Yes to all, No, Cancel
      "4/-1/0 5/-1/0 7/-1/0 2/-1/0/esc ",  // 6: Yes, No, No to all, Cancel
      "- - 0/0/18 2/-1/0/esc ",            // 7
      "- 0/0/18 0/1/19 2/-1/0/esc ",       // 8
      "- 0/0/18 0/1/19 0/2/2/esc ",        // 9
      "0/0/18 0/1/19 0/2/20 0/3/2/esc ",   // 10
  };
  for (int kind = 0; kind <= 10; ++kind) EXPECT_EQ(show(MessageBoxButtons(kind)), expected[kind]) << kind;
  for (int kind : {-1, 11, 1000}) EXPECT_EQ(show(MessageBoxButtons(kind)), expected[0]) << kind;
}

TEST(MessageBox, PicturesAndHeights) {
  const TMessageIconPage pages[] = {mipInformation, mipQuestion,    mipExclamation, mipExclamation,
                                    mipStop,        mipInformation, mipInformation};
  for (int kind = 0; kind <= 6; ++kind) EXPECT_EQ(MessageIconPage(kind), pages[kind]) << kind;
  EXPECT_EQ(MessageIconPage(255), mipInformation);
  // The box keeps 128 for a short body; the dialog follows its text.
  const int heights[][3] = {{16, 128, 64}, {79, 128, 127}, {80, 128, 128}, {300, 348, 348}};
  for (const auto& h : heights) {
    EXPECT_EQ(MessageClientHeight(h[0], 128), h[1]) << h[0];
    EXPECT_EQ(MessageClientHeight(h[0]), h[2]) << h[0];
  }
}

}  // namespace
