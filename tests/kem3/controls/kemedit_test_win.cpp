// The edit on real windows: buttons from their lines, clicks reporting ids,
// completion while typing, the flat frame from its own picture.
#include "kem3/controls/kemedit_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kembut_win.h"
#include "platform/app_scope_win.h"
#include "platform/unicode_convert.h"

namespace {

void Type(HWND Editor, const std::u16string& Keys) {
  for (char16_t ch : Keys) {
    const WPARAM vk = ch == 8 ? VK_BACK : static_cast<WPARAM>(VkKeyScanW(static_cast<wchar_t>(ch)) & 0xFF);
    SendMessageW(Editor, WM_KEYDOWN, vk, 0);
    SendMessageW(Editor, WM_CHAR, ch, 0);
  }
}

// A 120 x 21 edit on a 300 x 100 form.
TKemEdit* PlaceEdit(TForm* Form) {
  Form->SetBounds(20, 20, 300, 100);
  auto* e = new TKemEdit(Form);
  e->SetParent(Form);
  e->SetBounds(10, 10, 120, 21);
  return e;
}

}  // namespace

TEST(KemEditWin, ButtonsFromLinesReportTheirIds) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  TKemEdit* e = PlaceEdit(form);
  std::vector<int> clicks;
  e->OnButtonClick = [&](TObject* sender, int id) {
    EXPECT_EQ(sender, e);
    clicks.push_back(id);
  };
  form->Show();
  e->AddButton(-1, "...");
  ASSERT_EQ(e->ButtonCount(), 1);
  EXPECT_EQ(e->Button(0)->Caption(), u"...");
  EXPECT_EQ(e->Button(0)->BoundsRect(), Rect(101, 2, 118, 19));
  EXPECT_EQ(e->Buttons(), std::vector<String>{"\"...\",-1"});
  HWND b = e->Button(0)->Handle();
  SendMouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  SendMouse(b, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(clicks, std::vector<int>{-1});

  const std::vector<String> lines{"\"...\",4", "\"Marlett:6|2\",5"};
  e->SetButtons(lines);
  EXPECT_EQ(e->Buttons(), lines);
  ASSERT_EQ(e->ButtonCount(), 2);
  EXPECT_EQ(e->Button(0)->BoundsRect(), Rect(101, 2, 118, 19));
  EXPECT_EQ(e->Button(1)->BoundsRect(), Rect(67, 2, 101, 19));
  EXPECT_EQ(e->Button(1)->Font()->Name(), "Marlett");
  EXPECT_EQ(e->Holder()->BoundsRect(), Rect(3, 3, 67, 18));
  e->SetFlat(true);
  EXPECT_EQ(e->Button(1)->BoundsRect(), Rect(73, 2, 103, 19));
  e->SetEnabled(false);
  EXPECT_FALSE(e->Button(0)->Enabled());
  EXPECT_FALSE(e->Editor()->Enabled());
}

TEST(KemEditWin, CompletesTheThirdCharacterAndNotAfterBackspace) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  TKemEdit* e = PlaceEdit(form);
  e->SetAutoComplete(true);
  e->SetCompleteItems({u"Bern", u"Berlin", u"Москва"});
  int changes = 0;
  e->OnChange = [&](TObject*) { ++changes; };
  form->Show();
  HWND ed = e->Editor()->Handle();
  Type(ed, u"be");
  EXPECT_EQ(e->Text(), u"be");
  Type(ed, u"r");
  EXPECT_EQ(e->Text(), u"Bern");  // the first entry that fits
  Type(ed, u"l");                 // types over the filled-in "n"
  EXPECT_EQ(e->Text(), u"Berlin");
  EXPECT_EQ(e->Editor()->SelStart(), 4);
  EXPECT_EQ(e->Editor()->SelLength(), 2);
  Type(ed, u"\b");
  EXPECT_EQ(e->Text(), u"Berl");
  EXPECT_GT(changes, 4);
  e->SetText(u"");
  Type(ed, u"мос");
  EXPECT_EQ(e->Text(), u"Москва");
}

TEST(KemEditWin, FlatFrame) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  auto* e = new TKemEdit(form);
  e->SetParent(form);
  e->SetColorFrame(0xF00000);
  e->SetColor(0x00F000);
  e->SetFlat(true);
  form->Show();
  e->Repaint();
  EXPECT_EQ(e->PaintBuffer()->PixelColor(0, 10), 0xF00000u);
  EXPECT_EQ(e->PaintBuffer()->PixelColor(1, 10), 0x00F000u);
  EXPECT_EQ(e->PaintBuffer()->PixelColor(2, 10), 0x00F000u);
}
