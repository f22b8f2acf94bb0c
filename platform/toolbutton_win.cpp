// TToolButton: press, click, check state and its flat painting.
#include "platform/toolbutton_win.h"
#include "platform/setprop.h"

#include "platform/extctrls_win.h"
#include "platform/menus_win.h"
#include "platform/toolbar_win.h"

namespace {

// A button whose Down still shows its action's checked state follows it.
class TToolButtonActionLink : public TControlActionLink {
 public:
  explicit TToolButtonActionLink(TToolButton* Client) : TControlActionLink(Client), FButton(Client) {}
  bool IsCheckedLinked() const override {
    auto* action = dynamic_cast<TCustomAction*>(Action());
    return TControlActionLink::IsCheckedLinked() && action && FButton->Down() == action->Checked();
  }
  void SetChecked(bool Value) override {
    if (IsCheckedLinked()) FButton->SetDown(Value);
  }

 private:
  TToolButton* FButton;
};

}  // namespace

TToolButton::TToolButton(TComponent* AOwner) : TPressButton(AOwner) { SetBounds(0, 0, 23, 22); }

void TToolButton::SetStyle(TToolButtonStyle Value) {
  if (!StoreChanged(FStyle, Value)) return;
  if (Value == tbsSeparator || Value == tbsDivider) SetWidth(8);
  Invalidate();
}

void TToolButton::SetDown(bool Value) {
  if (!StoreChanged(FDown, Value)) return;
  if (Value && FGrouped && FStyle == tbsCheck && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* other = dynamic_cast<TToolButton*>(Parent()->Controls(i));
      if (other && other != this && other->FGrouped && other->FStyle == tbsCheck) other->SetDown(false);
    }
  }
  Invalidate();
}

void TToolButton::SetImageIndex(int Value) { SetPainted(*this, FImageIndex, Value); }

void TToolButton::Click() {
  if (FStyle == tbsSeparator || FStyle == tbsDivider) return;
  // A grouped check button stays down when clicked again, as a radio button does.
  if (FStyle == tbsCheck) SetDown(FGrouped ? true : !FDown);
  TPressButton::Click();
}

void TToolButton::SetDropdownMenu(TPopupMenu* Value) {
  if (FDropdownMenu == Value) return;
  if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
  FDropdownMenu = Value;
  if (FDropdownMenu) FDropdownMenu->FreeNotification(this);
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
  TPressButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropdownMenu) FDropdownMenu = nullptr;
}

void TToolButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  TPressButton::ActionChange(Sender, CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || !FDown) SetDown(action->Checked());
  if (!CheckDefaults || FImageIndex < 0) SetImageIndex(action->ImageIndex());
}

std::unique_ptr<TBasicActionLink> TToolButton::CreateActionLink() {
  return std::make_unique<TToolButtonActionLink>(this);
}

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FStyle == tbsDropDown && FDropdownMenu && X >= Width() - kDropdownArrowWidth) {
    const TPoint Below = ClientToScreen(Point(0, Height()));
    FDropdownMenu->SetPopupComponent(this);
    FDropdownMenu->Popup(Below.X, Below.Y);
    return;
  }
  TPressButton::MouseDown(Button, Shift, X, Y);
}

void TToolButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (FStyle == tbsSeparator) return;
  if (FStyle == tbsDivider) {
    TRect line = Rect(r.Width() / 2 - 1, r.Top, r.Width() / 2 + 1, r.Bottom);
    Frame3D(c, line, clBtnShadow, clBtnHighlight, 1);
    return;
  }
  if (Pressed() || FDown) Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(*Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  if (Pressed() || FDown) OffsetRect(r, 1, 1);
  if (FStyle == tbsDropDown) {
    // A small triangle pointing down in the arrow part.
    const int ax = r.Right - kDropdownArrowWidth / 2, ay = r.Top + r.Height() / 2 - 1;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Enabled() ? clBtnText : clGrayText);
    for (int i = 0; i < 3; ++i) c->FillRect(Rect(ax - 2 + i, ay + i, ax + 3 - i, ay + i + 1));
    r.Right -= kDropdownArrowWidth;
  }
  auto* bar = dynamic_cast<TToolBar*>(Parent());
  TImageList* images = bar ? bar->Images() : nullptr;
  if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
    images->Draw(c, r.Left + (r.Width() - images->Width()) / 2, r.Top + (r.Height() - images->Height()) / 2,
                 FImageIndex, Enabled());
    return;
  }
  c->Brush()->SetStyle(bsClear);
  WideString caption = Caption();
  c->DrawText(caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
