// The colour picker on a real window: its size from its children, cell
// presses into the preview and R, G, B, a gap that changes nothing, the
// brightness drag, and named colours in an attached list.
#include "kem3/controls/kemcedit_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/controls/kemsedit_win.h"
#include "platform/app_scope_win.h"

namespace {

TKemColorEdit* MakePicker(TForm*& Form) {
  Form = NewForm<TQuietForm>(Application);
  Form->SetBounds(0, 0, 400, 460);
  auto* p = new TKemColorEdit(Form);
  p->SetParent(Form);
  Form->Show();
  return p;
}

void Press(TWinControl* c, int x, int y) {
  SendMouse(c->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  SendMouse(c->Handle(), WM_LBUTTONUP, x, y);
}

int Channel(TKemColorEdit* p, int i) { return p->Channel(i)->Value(); }

}  // namespace

TEST(KemColorEditWin, CellsSetPreviewAndChannels) {
  TAppScope app;
  TForm* form = nullptr;
  TKemColorEdit* p = MakePicker(form);
  EXPECT_EQ(p->Width(), 155);
  EXPECT_EQ(p->Height(), 414);
  EXPECT_EQ(p->Honeycomb()->Cells().size(), 169u);
  const struct {
    TWinControl* View;
    int X, Y;
    TColor Value;
  } kPresses[] = {
      {p->Grid(), 25, 5, kPickerGridColors[1]},  // grid row 1, colour 2
      {p->Grid(), 17, 5, kPickerGridColors[1]},  // the gap: unchanged
      {p->Honeycomb(), 60, 53, 0xFFFFFF},        // the white centre
      {p->Greys(), 138, 10, 0x000000},           // the large black cell
  };
  for (const auto& c : kPresses) {
    Press(c.View, c.X, c.Y);
    EXPECT_EQ(p->Value(), c.Value) << c.X;
    EXPECT_EQ(p->Preview()->Color(), c.Value);
    EXPECT_EQ(Channel(p, 0), static_cast<int>(c.Value & 0xFF));
    EXPECT_EQ(Channel(p, 2), static_cast<int>(c.Value >> 16));
  }
  // A spin edit sets the value from the three channels.
  p->Channel(1)->SetValue(128);
  EXPECT_EQ(p->Value(), 0x008000);
  // Dragging the brightness to the bottom darkens the honeycomb's centre.
  TKemBrightness* b = p->Brightness();
  SendMouse(b->Handle(), WM_LBUTTONDOWN, 5, 10, MK_LBUTTON);
  SendMouse(b->Handle(), WM_MOUSEMOVE, 5, 500, MK_LBUTTON);
  EXPECT_EQ(b->Position(), b->Height() - 1);
  EXPECT_EQ(p->Honeycomb()->Cells()[0].Color, clBlack);
  SendMessageW(b->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(b->Dragging());
}

TEST(KemColorEditWin, NamedColoursFollowTheValue) {
  TAppScope app;
  TForm* form = nullptr;
  TKemColorEdit* p = MakePicker(form);
  auto* list = new TKemListBox(form);
  list->SetParent(form);
  list->SetBounds(200, 0, 150, 100);
  p->SetList(list);
  EXPECT_EQ(p->AddColor(0x0000FF, "Red"), 0);
  EXPECT_EQ(p->Selected(), 0);
  EXPECT_EQ(p->Value(), 0x0000FF);
  p->AddColor(0x00FF00, "Green");
  EXPECT_EQ(list->Items()->Count(), 2);
  EXPECT_EQ(list->Items()->Get(1), u"Green");
  // A channel change while an entry is selected changes that entry.
  p->Channel(2)->SetValue(255);
  EXPECT_EQ(p->GetColor(0), 0xFF00FF);
  p->SetSelected(1);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(Channel(p, 1), 255);
  p->SetSelected(5);
  EXPECT_EQ(p->Selected(), 1);
}
