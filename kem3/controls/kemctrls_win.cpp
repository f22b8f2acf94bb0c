// The unit combo box's fixed style and its item drawing.
#include "kem3/controls/kemctrls_win.h"

TKemUnitComboBox::TKemUnitComboBox(TComponent* AOwner) : TKemComboBox(AOwner) {
  SetStyle(csOwnerDrawFixed);
  SetItemHeight(kItemHeight);
}

void TKemUnitComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState /*State*/) {
  TCanvas* c = Canvas();
  c->Font()->SetName("Tahoma");
  c->Font()->SetSize(8);
  c->FillRect(Rect);
  if (Index < 0) return;
  HDC dc = c->Handle();  // with the canvas's font and colours in it
  LibExtTextOut(dc, Rect.Left + 2, Rect.Top, 0, nullptr, Items()->Get(Index));
}
