// TKemSpinEdit: its editor, arrow buttons with auto-repeat, layout, value,
// enabling and painting.
#include "kem3/controls/kemsedit_win.h"

#include <algorithm>
#include <climits>

#include "kem3/graphics/kemimage.h"
#include "platform/keys.h"
#include "platform/mathutils.h"
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
      nullptr);
}

void TKemSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FRepeat.Stop();
  TSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TKemSpeedButton::EnabledChanged() {
  TSpeedButton::EnabledChanged();
  if (!Enabled()) FRepeat.Stop();
}

namespace {

void Line(TCanvas* C, TColor Color, std::initializer_list<TPoint> Points) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(Color);
  C->Polyline(Points);
}

}  // namespace

void TKemSpeedButton::Paint() {
  TCanvas* c = Canvas();
  const TFieldColors& k = FSpin->FColors;
  const bool flat = FSpin->Flat();
  const bool pressed = Pressed() || Down();
  TRect r = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FSpin->ColorFill());
  c->FillRect(r);
  if (!flat) {
    Line(c, k.Frame, {{r.Left, r.Top}, {r.Left, r.Bottom + 1}});
    ++r.Left;
    if (!FUp) {
      Line(c, k.Shadow, {{r.Left, r.Top}, {r.Right + 1, r.Top}});
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
      Line(c, k.Shadow, {{l, b - 1}, {l, t}, {rt, t}});
      Line(c, k.Highlight, {{l + 1, b - 1}, {rt - 1, b - 1}, {rt - 1, t + 1}});
    } else {
      Line(c, k.Highlight, {{l, b - 2}, {l, t}, {rt - 1, t}});
      Line(c, k.Spark, {{l + 1, b - 3}, {l + 1, t + 1}, {rt - 2, t + 1}});
      Line(c, k.Frame, {{l, b - 1}, {rt - 1, b - 1}, {rt - 1, t - 1}});
      Line(c, k.Shadow, {{l + 1, b - 2}, {rt - 2, b - 2}, {rt - 2, t}});
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

TKemSpinEdit::TKemSpinEdit(TComponent* AOwner)
    : TKemCustomControl(AOwner),
      FColors{clBtnHighlight, clBtnShadow, clWindowFrame, GetFaceHighlightMidColor(), clWindow} {
  SetControlStyle(ControlStyle() + csOpaque);
  SetColor(clWindow);
  FHolder = new TWinControl(this);
  FHolder->SetParent(this);
  FHolder->SetColor(clWindow);
  FEditor = new TSEEdit(this, this);
  FEditor->SetParent(FHolder);
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

void TKemSpinEdit::SetColour(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Invalidate();
  FUp->Invalidate();
  FDown->Invalidate();
}

void TKemSpinEdit::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  FUp->SetFlat(Value);
  FDown->SetFlat(Value);
  Invalidate();
}

void TKemSpinEdit::SetButtonWidth(int Value) {
  if (FButtonWidth == Value) return;
  FButtonWidth = Value;
  Layout();
}

void TKemSpinEdit::SetFormatStr(const String& Value) {
  if (FSettings.FormatStr == Value) return;
  FSettings.FormatStr = Value;
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
  if (!FHolder) return;
  const TSpinLayout l = SpinLayout(Width(), Height(), FButtonWidth);
  FHolder->SetBoundsRect(l.Holder);
  FEditor->SetBounds(0, 0, l.Holder.Width(), l.Holder.Height());
  FUp->SetBoundsRect(l.Up);
  FDown->SetBoundsRect(l.Down);
}

void TKemSpinEdit::BoundsChanged(const TRect& OldBounds) {
  TKemCustomControl::BoundsChanged(OldBounds);
  Layout();
}

void TKemSpinEdit::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SETFOCUS && FEditor->CanFocus()) {
    // The field is the editor: it takes the focus the control is given.
    FEditor->SetFocus();
    return;
  }
  TKemCustomControl::WndProc(Message);
}

void TKemSpinEdit::EnabledChanged() {
  TKemCustomControl::EnabledChanged();
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

void TKemSpinEdit::ColorChanged() {
  TKemCustomControl::ColorChanged();
  FColors.Color = Color();
  FHolder->SetColor(Color());
  FEditor->SetColor(Color());
  Invalidate();
}

void TKemSpinEdit::FontChanged() {
  TKemCustomControl::FontChanged();
  FEditor->SetFont(*Font());
}

void TKemSpinEdit::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  DrawFieldFrame(c, ClientRect(), FColors, FFlat);
}
