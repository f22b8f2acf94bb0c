// The entry fields' frame and their edit-holding base.
#include "kem3/controls/kemfield_win.h"

#include "kem3/pictures/kemimage.h"
#include "platform/edit_win.h"
#include "platform/setprop.h"

void PenLine(TCanvas* Canvas, TColor Color, std::initializer_list<TPoint> Points) {
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetColor(Color);
  Canvas->Polyline(Points);
}

void DrawFieldFrame(TCanvas* Canvas, const TRect& R, const TFieldColors& Colors, bool Flat) {
  Canvas->Brush()->SetStyle(bsSolid);
  auto ring = [&](int inset, TColor color) {
    Canvas->Brush()->SetColor(color);
    Canvas->FrameRect(Rect(R.Left + inset, R.Top + inset, R.Right - inset, R.Bottom - inset));
  };
  if (Flat) {
    ring(0, Colors.Frame);
  } else {
    const int l = R.Left, t = R.Top, r = R.Right, b = R.Bottom;
    PenLine(Canvas, Colors.Shadow, {{l, b - 1}, {l, t}, {r, t}});
    PenLine(Canvas, Colors.Frame, {{l + 1, b - 2}, {l + 1, t + 1}, {r - 1, t + 1}});
    PenLine(Canvas, Colors.Highlight, {{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t}});
    PenLine(Canvas, Colors.Spark, {{l + 2, b - 2}, {r - 2, b - 2}, {r - 2, t + 1}});
  }
  for (int inset = Flat ? 1 : 2; inset <= 2; ++inset) ring(inset, Colors.Color);
}

TKemEditField::TKemEditField(TComponent* AOwner)
    : TKemCustomControl(AOwner),
      TKemBorderColored({clBtnHighlight, clBtnShadow, clWindowFrame, GetFaceHighlightMidColor()}) {
  SetControlStyle(ControlStyle() + csOpaque);
  SetColor(clWindow);
  FHolder = new TWinControl(this);
  FHolder->SetParent(this);
  FHolder->SetColor(clWindow);
}

void TKemEditField::SetFieldEditor(TCustomEdit* Editor) {
  FFieldEditor = Editor;
  Editor->SetParent(FHolder);
  Editor->SetColor(Color());
}

void TKemEditField::BorderColorChanged(TColor TBorderColors::*) { ColoursChanged(); }

void TKemEditField::SetFlat(bool Value) {
  if (!StoreChanged(FFlat, Value)) return;
  FlatChanged();
  Invalidate();
}

void TKemEditField::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SETFOCUS && FFieldEditor && FFieldEditor->CanFocus()) {
    // The field is its editor: it takes the focus the control is given.
    FFieldEditor->SetFocus();
    return;
  }
  TKemCustomControl::WndProc(Message);
}

void TKemEditField::ColorChanged() {
  TKemCustomControl::ColorChanged();
  FFieldColor = Color();
  FHolder->SetColor(Color());
  if (FFieldEditor) FFieldEditor->SetColor(Color());
  Invalidate();
}

void TKemEditField::FontChanged() {
  TKemCustomControl::FontChanged();
  if (FFieldEditor) FFieldEditor->SetFont(*Font());
}

void TKemEditField::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  DrawFieldFrame(c, ClientRect(), FieldColors(), FFlat);
}
