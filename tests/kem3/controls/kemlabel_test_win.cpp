// The label on a real window: the text's box in its picture for each reading
// direction, automatic sizes, margins, and the accelerator.
#include "kem3/controls/kemlabel_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"

namespace {

constexpr TColor kBack = 0xF0F0F0, kInk = 0x000080;

// The smallest rectangle holding every pixel of the picture not in kBack.
TRect InkBox(const TBitmap& B) {
  TRect r = Rect(B.Width(), B.Height(), -1, -1);
  for (int y = 0; y < B.Height(); ++y)
    for (int x = 0; x < B.Width(); ++x)
      if (B.PixelColor(x, y) != kBack) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

TKemLabel* MakeLabel(TForm* Form, const WideString& Caption) {
  auto* l = new TKemLabel(Form);
  l->SetParent(Form);
  l->SetColor(kBack);
  l->Font()->SetColor(kInk);
  l->SetCaption(Caption);
  return l;
}

}  // namespace

TEST(KemLabelWin, DirectionsTurnSizeAndText) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(0, 0, 300, 300);
  TKemLabel* l = MakeLabel(form, u"Ελληνικά текст");
  form->Show();
  const int w = l->Width(), h = l->Height();
  ASSERT_GT(w, 2 * h);
  l->Repaint();
  const TRect flat = InkBox(*l->Picture());
  ASSERT_GT(flat.Width(), flat.Height());
  const struct {
    TKemDirection Direction;
    bool Turned;
  } kCases[] = {{tdRightLeft, false}, {tdTopBottom, true}, {tdBottomTop, true}, {tdLeftRight, false}};
  for (const auto& c : kCases) {
    l->SetDirection(c.Direction);
    EXPECT_EQ(l->Width(), c.Turned ? h : w) << c.Direction;
    EXPECT_EQ(l->Height(), c.Turned ? w : h) << c.Direction;
    l->Repaint();
    const TRect ink = InkBox(*l->Picture());
    EXPECT_EQ(ink.Width(), c.Turned ? flat.Height() : flat.Width()) << c.Direction;
    EXPECT_EQ(ink.Height(), c.Turned ? flat.Width() : flat.Height()) << c.Direction;
  }
  // Margins come on top.
  l->SetDirection(tdLeftRight);
  l->SetSpaceLeft(5);
  l->SetSpaceBottom(3);
  EXPECT_EQ(l->Width(), w + 5);
  EXPECT_EQ(l->Height(), h + 3);
  // Word wrap keeps the width and stacks the words.
  l->SetSpaceLeft(0);
  l->SetSpaceBottom(0);
  l->SetCaption(u"Ελληνικά текст");
  l->SetWordWrap(true);
  l->SetBounds(l->Left(), l->Top(), w / 2 + 4, h);
  l->AdjustSize();
  EXPECT_EQ(l->Width(), w / 2 + 4);
  EXPECT_EQ(l->Height(), 2 * h);
}

TEST(KemLabelWin, AcceleratorFocusesItsControl) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(0, 0, 300, 100);
  TKemLabel* l = MakeLabel(form, u"&Имя");
  auto* first = new TCustomControl(form);
  first->SetParent(form);
  first->SetTabStop(true);
  auto* target = new TCustomControl(form);
  target->SetParent(form);
  target->SetTabStop(true);
  target->SetTop(40);
  form->Show();
  first->SetFocus();
  EXPECT_FALSE(BroadcastDialogChar(form, u'и', {ssAlt}));  // no control to focus
  l->SetFocusControl(target);
  const struct {
    bool ShowAccelChar, Enabled;
    WideChar Key;
    bool Taken;
  } kCases[] = {
      {false, true, u'и', false}, {true, false, u'и', false}, {true, true, u'x', false}, {true, true, u'И', true}};
  for (const auto& c : kCases) {
    first->SetFocus();
    l->SetShowAccelChar(c.ShowAccelChar);
    l->SetEnabled(c.Enabled);
    EXPECT_EQ(BroadcastDialogChar(form, c.Key, {ssAlt}), c.Taken);
    EXPECT_EQ(target->Focused(), c.Taken);
  }
  delete target;  // the label forgets it
  EXPECT_EQ(l->FocusControl(), nullptr);
}
