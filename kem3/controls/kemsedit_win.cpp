// TKemSpinEdit: its editor, arrow buttons with auto-repeat, layout, value,
// enabling and painting.
#include "kem3/controls/kemsedit_win.h"

#include <algorithm>
#include <climits>

#include "kem3/pictures/kemimage.h"
#include "platform/keys.h"
#include "platform/mathutils.h"
#include "platform/setprop.h"
#include "platform/unicode_convert.h"

// ---- TSEEdit ---------------------------------------------------------------------

TSEEdit::TSEEdit(TComponent* AOwner, TKemSpinEdit* Spin) : TCustomEdit(AOwner), FSpin(Spin) {
  SetBorderStyle(bsNone);
  SetText(u"0");
}

void TSEEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  switch (Key) {
    case VK_UP:
      FSpin->StepUp();
      Key = 0;
      break;
    case VK_DOWN:
      FSpin->StepDown();
      Key = 0;
      break;
    case VK_PRIOR:
      FSpin->BigStepUp();
      Key = 0;
      break;
    case VK_NEXT:
      FSpin->BigStepDown();
      Key = 0;
      break;
  }
  TCustomEdit::KeyDown(Key, Shift);
}

void TSEEdit::KeyPress(WideChar& Key) {
  if (!SpinCharAccepted(Key, FSpin->NumberMode(), FSpin->EditorEnabled())) {
    if (!FSpin->NoKeyBeep() && SpinCharBeeps(Key)) MessageBeep(0);
    Key = 0;
    return;
  }
  TCustomEdit::KeyPress(Key);
}

bool TSEEdit::DoMouseWheel(TShiftState /*Shift*/, int WheelDelta, TPoint /*MousePos*/) {
  if (WheelDelta > 0)
    FSpin->StepUp();
  else if (WheelDelta < 0)
    FSpin->StepDown();
  return true;
}

void TSEEdit::DoExit() {
  TCustomEdit::DoExit();
  // Typed text is clamped (and unreadable text replaced) once the field is left.
  String text;
  if (SpinExitText(FSpin->Settings(), WideToUtf8(Text()), text)) SetText(Utf8ToWide(text));
}

void TSEEdit::WndProc(TMessage& Message) {
  // Cutting and pasting change the text only where typing could.
  if ((Message.Msg == WM_CUT || Message.Msg == WM_PASTE) && (!Enabled() || ReadOnly())) {
    Message.Result = 0;
    return;
  }
  TCustomEdit::WndProc(Message);
}

// ---- TKemSpeedButton ---------------------------------------------------------------

TKemSpeedButton::TKemSpeedButton(TComponent* AOwner, TKemSpinEdit* Spin, bool Up)
    : TSpeedButton(AOwner), FSpin(Spin), FUp(Up) {}

void TKemSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Pressed()) return;
  FRepeat.Start(
      400, 100,
      [this] {
        if (Pressed()) Click();
      },
      [this] { SetPressed(false); });
}

void TKemSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FRepeat.Stop();
  TSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TKemSpeedButton::EnabledChanged() {
  TSpeedButton::EnabledChanged();
  if (!Enabled()) FRepeat.Stop();
}

void TKemSpeedButton::Paint() {
  TCanvas* c = Canvas();
  const TFieldColors& k = FSpin->FieldColors();
  const bool flat = FSpin->Flat();
  const bool pressed = Pressed() || Down();
  TRect r = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FSpin->ColorFill());
  c->FillRect(r);
  if (!flat) {
    PenLine(c, k.Frame, {{r.Left, r.Top}, {r.Left, r.Bottom + 1}});
    ++r.Left;
    if (!FUp) {
      PenLine(c, k.Shadow, {{r.Left, r.Top}, {r.Right + 1, r.Top}});
      ++r.Top;
    }
  }
  const int l = r.Left, t = r.Top, rt = r.Right, b = r.Bottom;
  if (flat) {
    c->Brush()->SetColor(k.Shadow);
    c->FrameRect(r);
    InflateRect(r, -2, -2);
  } else {
    if (pressed) {
      PenLine(c, k.Shadow, {{l, b - 1}, {l, t}, {rt, t}});
      PenLine(c, k.Highlight, {{l + 1, b - 1}, {rt - 1, b - 1}, {rt - 1, t + 1}});
    } else {
      PenLine(c, k.Highlight, {{l, b - 2}, {l, t}, {rt - 1, t}});
      PenLine(c, k.Spark, {{l + 1, b - 3}, {l + 1, t + 1}, {rt - 2, t + 1}});
      PenLine(c, k.Frame, {{l, b - 1}, {rt - 1, b - 1}, {rt - 1, t - 1}});
      PenLine(c, k.Shadow, {{l + 1, b - 2}, {rt - 2, b - 2}, {rt - 2, t}});
    }
    InflateRect(r, -4, -4);
  }
  const TColor arrow = FSpin->Enabled() ? FSpin->Font()->Color() : clBtnShadow;
  c->Brush()->SetColor(arrow);
  c->Pen()->SetColor(arrow);
  const int cx = r.Left + (r.Right - r.Left) / 2;
  const int cy = r.Top + (r.Bottom - r.Top) / 2 - 1 + (FUp && flat ? 1 : 0);
  if (FUp)
    c->Polygon({{cx - 2, cy + 1}, {cx + 2, cy + 1}, {cx, cy - 1}});
  else
    c->Polygon({{cx - 2, cy - 1}, {cx + 2, cy - 1}, {cx, cy + 1}});
}

// ---- TKemSpinEdit ------------------------------------------------------------------

TKemSpinEdit::TKemSpinEdit(TComponent* AOwner) : TKemEditField(AOwner) {
  FEditor = new TSEEdit(this, this);
  SetFieldEditor(FEditor);
  FEditor->OnChange = [this](TObject*) {
    if (OnChange) OnChange(this);
  };
  FUp = new TKemSpeedButton(this, this, true);
  FDown = new TKemSpeedButton(this, this, false);
  for (TKemSpeedButton* b : {FUp, FDown}) b->SetParent(this);
  FUp->OnClick = [this](TObject*) { StepUp(); };
  FDown->OnClick = [this](TObject*) { StepDown(); };
  SetBounds(0, 0, 80, 21);
  Layout();
}

void TKemSpinEdit::SetColorFill(TColor Value) {
  if (!StoreChanged(FColorFill, Value)) return;
  ColoursChanged();
}

void TKemSpinEdit::ColoursChanged() {
  Invalidate();
  FUp->Invalidate();
  FDown->Invalidate();
}

void TKemSpinEdit::FlatChanged() {
  FUp->SetFlat(Flat());
  FDown->SetFlat(Flat());
}

void TKemSpinEdit::SetButtonWidth(int Value) {
  if (!StoreChanged(FButtonWidth, Value)) return;
  Layout();
}

void TKemSpinEdit::SetFormatStr(const String& Value) {
  if (!StoreChanged(FSettings.FormatStr, Value)) return;
  if (FSettings.NumberMode == nmFloat) SetFloatVal(FloatVal());
}

bool TKemSpinEdit::EditorEnabled() const { return FEditor->Enabled(); }

void TKemSpinEdit::SetEditorEnabled(bool Value) { FEditor->SetEnabled(Value); }

double TKemSpinEdit::FloatVal() { return SpinValue(FSettings, WideToUtf8(FEditor->Text())); }

int TKemSpinEdit::Value() {
  const std::int64_t v = Round(FloatVal());
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

void TKemSpinEdit::SetFloatVal(double Value) { FEditor->SetText(Utf8ToWide(SpinText(FSettings, Value))); }

void TKemSpinEdit::Step(double By) {
  if (FEditor->ReadOnly()) {
    MessageBeep(0);
    return;
  }
  SetFloatVal(FloatVal() + By);
}

void TKemSpinEdit::Layout() {
  if (!FUp) return;
  const TSpinLayout l = SpinLayout(Width(), Height(), FButtonWidth);
  Holder()->SetBoundsRect(l.Holder);
  FEditor->SetBounds(0, 0, l.Holder.Width(), l.Holder.Height());
  FUp->SetBoundsRect(l.Up);
  FDown->SetBoundsRect(l.Down);
}

void TKemSpinEdit::BoundsChanged(const TRect& OldBounds) {
  TKemEditField::BoundsChanged(OldBounds);
  Layout();
}

void TKemSpinEdit::EnabledChanged() {
  TKemEditField::EnabledChanged();
  if (!Enabled()) {
    FEditorWasEnabled = FEditor->Enabled();
    FEditor->SetEnabled(false);
  } else {
    FEditor->SetEnabled(FEditorWasEnabled);
  }
  FUp->SetEnabled(Enabled());
  FDown->SetEnabled(Enabled());
  Invalidate();
}
