// The spin edit on real windows: layout at height 21, its frame and arrows
// from its own picture, stepping by arrows (repeating on the timer seam),
// keys and typed characters, clamping when the focus leaves, enabling.
#include "kem3/controls/kemsedit_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"

namespace {

constexpr TColor kHighlight = 0x0000F0, kShadow = 0x00F000, kFrame = 0xF00000, kSpark = 0x00F0F0;
constexpr TColor kInside = 0xF000F0, kFill = 0x303030, kArrow = 0x606060;

TKemSpinEdit* Make(TForm* form) {
  auto* s = new TKemSpinEdit(form);
  s->SetParent(form);
  s->SetBounds(10, 10, 80, 21);
  s->SetColorHighlight(kHighlight);
  s->SetColorShadow(kShadow);
  s->SetColorFrame(kFrame);
  s->SetColorSpark(kSpark);
  s->SetColorFill(kFill);
  s->SetColor(kInside);
  s->Font()->SetColor(kArrow);
  return s;
}

TColor PixelAt(TKemSpinEdit* s, int x, int y) {
  s->Repaint();
  return s->PaintBuffer()->PixelColor(x, y);
}

String Text(TKemSpinEdit* s) { return WideToUtf8(s->Editor()->Text()); }

}  // namespace

TEST(KemSpinEditWin, LayoutFrameAndArrows) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(20, 20, 200, 100);
  TKemSpinEdit* s = Make(form);
  form->Show();
  EXPECT_EQ(s->Holder()->BoundsRect(), Rect(3, 3, 58, 18));
  EXPECT_EQ(s->Editor()->BoundsRect(), Rect(0, 0, 55, 15));
  EXPECT_EQ(s->ButtonUp()->BoundsRect(), Rect(58, 2, 78, 10));
  EXPECT_EQ(s->ButtonDown()->BoundsRect(), Rect(58, 10, 78, 19));
  EXPECT_EQ(GetWindowLongW(s->Editor()->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(Text(s), "0");
  // The sunken frame.
  EXPECT_EQ(PixelAt(s, 0, 10), kShadow);
  EXPECT_EQ(PixelAt(s, 1, 10), kFrame);
  EXPECT_EQ(PixelAt(s, 79, 10), kHighlight);
  EXPECT_EQ(PixelAt(s, 78, 10), kSpark);
  EXPECT_EQ(PixelAt(s, 10, 19), kSpark);
  EXPECT_EQ(PixelAt(s, 10, 2), kInside);
  // The up arrow button: its frame line, raised edges, face and arrow.
  EXPECT_EQ(PixelAt(s, 58, 5), kFrame);
  EXPECT_EQ(PixelAt(s, 59, 5), kHighlight);
  EXPECT_EQ(PixelAt(s, 65, 9), kFrame);
  EXPECT_EQ(PixelAt(s, 62, 5), kFill);
  EXPECT_EQ(PixelAt(s, 68, 5), kArrow);
  // Disabled: the arrows grey, the editor off, and back on as it was.
  s->SetEnabled(false);
  EXPECT_EQ(PixelAt(s, 68, 5), ColorToRGB(clBtnShadow));
  EXPECT_FALSE(s->Editor()->Enabled());
  s->SetEnabled(true);
  EXPECT_TRUE(s->Editor()->Enabled());
}

TEST(KemSpinEditWin, ArrowsRepeatWhileHeldAndKeysStep) {
  TAppScope app;
  TFakeTimerService timers;
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(20, 20, 200, 100);
  TKemSpinEdit* s = Make(form);
  int changes = 0;
  s->OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, s);
    ++changes;
  };
  form->Show();
  SendMouse(s->Handle(), WM_LBUTTONDOWN, 68, 5, MK_LBUTTON);
  EXPECT_EQ(PixelAt(s, 59, 5), kShadow);  // pressed in
  EXPECT_EQ(Text(s), "0");
  timers.Advance(400);
  EXPECT_EQ(Text(s), "1");
  timers.Advance(200);
  EXPECT_EQ(Text(s), "3");
  SendMouse(s->Handle(), WM_LBUTTONUP, 68, 5);  // released over it: once more
  EXPECT_EQ(Text(s), "4");
  timers.Advance(1000);
  EXPECT_EQ(Text(s), "4");
  EXPECT_FALSE(s->ButtonUp()->Repeating());
  EXPECT_EQ(changes, 4);
  // A short click on the down arrow steps once.
  SendMouse(s->Handle(), WM_LBUTTONDOWN, 68, 14, MK_LBUTTON);
  SendMouse(s->Handle(), WM_LBUTTONUP, 68, 14);
  EXPECT_EQ(s->Value(), 3);

  HWND e = s->Editor()->Handle();
  const struct {
    WPARAM Key;
    int Value;
  } keys[] = {{VK_UP, 4}, {VK_PRIOR, 14}, {VK_DOWN, 13}, {VK_NEXT, 3}, {VK_NEXT, 0}};
  for (const auto& k : keys) {
    SendMessageW(e, WM_KEYDOWN, k.Key, 0);
    EXPECT_EQ(s->Value(), k.Value) << k.Key;
  }
  s->Editor()->SetReadOnly(true);
  s->StepUp();  // read-only: a beep, no step
  EXPECT_EQ(s->Value(), 0);
}

TEST(KemSpinEditWin, TypingIsFilteredAndClampedWhenTheFocusLeaves) {
  TAppScope app;
  TForm* form = NewForm<TForm>(Application);
  form->SetBounds(20, 20, 200, 100);
  TKemSpinEdit* s = Make(form);
  s->SetMaxValue(10);
  auto* other = new TEdit(form);
  other->SetParent(form);
  other->SetBounds(10, 40, 80, 21);
  form->Show();
  s->SetFocus();
  EXPECT_EQ(GetFocus(), s->Editor()->Handle());
  HWND e = s->Editor()->Handle();
  SendMessageW(e, EM_SETSEL, 0, -1);
  for (wchar_t ch : {L'1', L'a', L'2', L'.'}) SendMessageW(e, WM_CHAR, ch, 0);
  EXPECT_EQ(Text(s), "12");  // letters and "." refused; not clamped while typing
  other->SetFocus();
  EXPECT_EQ(Text(s), "10");
  s->SetNumberMode(nmFloat);
  s->SetFormatStr("%.1f");
  s->SetFloatVal(3.14159);
  EXPECT_EQ(Text(s), "3.1");
  s->SetFocus();
  SendMessageW(e, EM_SETSEL, 0, -1);
  for (wchar_t ch : {L'2', L',', L'5'}) SendMessageW(e, WM_CHAR, ch, 0);
  EXPECT_EQ(s->FloatVal(), 2.5);
  form->Hide();
}
