// TKemCustomButton: roles, default look and dialog keys, the press, release
// and repeat of the mouse, and the plain painting.
#include "kem3/controls/kembut_win.h"

#include <vector>

#include "kem3/controls/kemmenu_win.h"
#include "kem3/controls/vosskinner_win.h"
#include "kem3/framework/kemlantext.h"
#include "kem3/framework/kemutil.h"
#include "kem3/pictures/kemimage.h"
#include "platform/accel.h"
#include "platform/extctrls_win.h"
#include "platform/keys.h"
#include "platform/setprop.h"
#include "platform/wide_case.h"

namespace {

// Every button inside Parent, depth first.
void CollectButtons(TWinControl* Parent, std::vector<TKemCustomButton*>& Out) {
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* c = Parent->Controls(i);
    if (auto* b = dynamic_cast<TKemCustomButton*>(c)) Out.push_back(b);
    if (auto* w = dynamic_cast<TWinControl*>(c)) CollectButtons(w, Out);
  }
}

bool NoModifiers(TShiftState Shift) {
  return !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
}

}  // namespace

TKemCustomButton::TKemCustomButton(TComponent* AOwner)
    : TKemCustomControl(AOwner),
      TKemBorderColored({clBtnHighlight, clBtnShadow, clWindowFrame, GetFaceHighlightMidColor()}),
      FGlyph(std::make_unique<TBitmap>()) {
  // The button captures the mouse and makes its clicks itself; a double click
  // is just a second press.
  SetControlStyle({csOpaque});
  SetBounds(0, 0, 75, 25);
  SetColor(clBtnFace);
  SetTabStop(true);
}

TKemCustomButton::~TKemCustomButton() = default;

// ---- Roles --------------------------------------------------------------------------

void TKemCustomButton::SetActionType(TActionType Value) {
  if (!StoreChanged(FActionType, Value)) return;
  const TActionTypeRole& role = ActionTypeRole(Value);
  ApplyRoleAction();
  if (!role.KeepsState) {
    FModalResult = role.ModalResult;
    SetDefault(role.Default);
    FCancel = role.Cancel;
  }
  FCaptionIndex = -2;  // a new text name: look it up again
  UpdateLanguage();
}

void TKemCustomButton::ApplyRoleAction() {
  const TActionTypeRole& role = ActionTypeRole(FActionType);
  if (FActionType == atNone) {
    SetAction(nullptr);
    return;
  }
  const int id = FActionType == atCustom ? FActionId : role.ActionId;
  SetAction(FindFormAction(GetParentForm(this), id));
}

void TKemCustomButton::SetActionId(int Value) {
  FActionId = Value;
  if (FActionType == atCustom) ApplyRoleAction();
}

void TKemCustomButton::SetLanId(const String& Value) {
  if (!StoreChanged(FLanId, Value)) return;
  if (FActionType != atCustom) return;
  FCaptionIndex = -2;
  UpdateLanguage();
}

void TKemCustomButton::ActionChange(TObject* Sender, bool /*CheckDefaults*/) {
  auto* action = dynamic_cast<TBasicAction*>(Sender);
  if (!action) return;
  if (!action->Caption().empty()) SetCaption(action->Caption());
  SetEnabled(action->Enabled());
}

void TKemCustomButton::UpdateLanguage() {
  if (Action() && Action()->CaptionIndex() >= 0) {
    SetCaption(Action()->Caption());
    return;
  }
  LookUpCaption();
}

void TKemCustomButton::LookUpCaption() {
  // Without a language the index stays -2 and the lookup is made again next time.
  if (FCaptionIndex < -1) FCaptionIndex = LanguageTextIndex(ButtonTextName(FActionType, FLanId));
  if (FCaptionIndex >= 0) SetCaption(LanguageText(FCaptionIndex, Caption()));
}

// ---- Default look and keys ------------------------------------------------------------

void TKemCustomButton::SetDefault(bool Value) {
  FDefault = Value;
  if (HandleAllocated()) {
    if (TCustomForm* form = GetParentForm(this)) {
      NotifyFocusChanged(form);
    } else {
      FocusChanged(nullptr);
    }
  }
  Invalidate();
}

void TKemCustomButton::NotifyFocusChanged(TCustomForm* Form) {
  if (!Form) return;
  std::vector<TKemCustomButton*> buttons;
  CollectButtons(Form, buttons);
  TWinControl* focused = Form->ActiveControl();
  for (TKemCustomButton* b : buttons) b->FocusChanged(focused);
}

void TKemCustomButton::FocusChanged(TWinControl* Focused) {
  FDefaultLook = FDefault;
  auto* button = dynamic_cast<TKemCustomButton*>(Focused);
  if (button && !button->FNoFraming) FDefaultLook = button == this;
  UpdateButtonStyle();
  Invalidate();
}

void TKemCustomButton::UpdateButtonStyle() {
  if (!HandleAllocated()) return;
  const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  const LONG_PTR want =
      (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | (FDefaultLook ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  if (want != style) SetWindowLongPtrW(Handle(), GWL_STYLE, want);
}

void TKemCustomButton::CreateParams(TCreateParams& Params) {
  TKemCustomControl::CreateParams(Params);
  Params.WinClassName = u"KEMBUTTON";
  Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  FDefaultLook = FDefault;
}

void TKemCustomButton::WndProc(TMessage& Message) {
  if (FCaptureWatch.Pass(*this, Message, [this](TMessage& m) { TKemCustomControl::WndProc(m); })) PressLost();
}

void TKemCustomButton::DispatchDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_BUTTON | (FDefaultLook ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The focus frame comes and goes, also when the focus leaves the form.
      Invalidate();
      break;
    default:
      break;
  }
  TKemCustomControl::DispatchDefault(Message);
}

void TKemCustomButton::DoEnter() {
  TKemCustomControl::DoEnter();
  NotifyFocusChanged(GetParentForm(this));
}

void TKemCustomButton::DoExit() {
  TKemCustomControl::DoExit();
  NotifyFocusChanged(GetParentForm(this));
}

bool TKemCustomButton::DialogKey(std::uint16_t Key, TShiftState Shift) {
  if (!NoModifiers(Shift)) return false;
  const bool mine = (Key == VK_RETURN && FDefaultLook) || (Key == VK_ESCAPE && FCancel);
  if (!mine || !CanFocus()) return false;
  Click();
  return true;
}

bool TKemCustomButton::DialogChar(WideChar Key, TShiftState /*Shift*/) {
  if (!Enabled() || !CanFocus()) return false;
  if (!IsAccelChar(Key, GetAccelCharW(Caption()))) return false;
  Click();
  return true;
}

void TKemCustomButton::SetFocus() {
  if (CanTabFocus()) TKemCustomControl::SetFocus();
}

void TKemCustomButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TKemCustomControl::Click();
}

// ---- Mouse ----------------------------------------------------------------------------

void TKemCustomButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FTracking && FDropDownShown) {
    HideDropDown();
    return;
  }
  if (Button != mbLeft || FTracking) {
    if (Button == mbRight && OnClickRight) OnClickRight(this);
  } else {
    if (FFocusOnPress) SetFocus();
    SetMouseCapture(true);
    FTracking = true;
    FPressed = true;
    FPressPoint = Point(X, Y);
    Invalidate();
    if (FDropDownMenu) {
      FDropDownShown = true;
      PopupDropDown(ClientToScreen(Point(0, Height())));
    }
    if (OnPress) OnPress(this);
  }
  TKemCustomControl::MouseDown(Button, Shift, X, Y);
  if (FTimerState.Contains(tsAllowTimer)) StartRepeat();
}

void TKemCustomButton::MouseMove(TShiftState Shift, int X, int Y) {
  if (FTracking && !FDropDownMenu) SetPressed(PtInRect(ClientRect(), Point(X, Y)));
  TKemCustomControl::MouseMove(Shift, X, Y);
}

void TKemCustomButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FRepeat.Stop();
  if (Button == mbLeft && FTracking && !FDropDownMenu) {
    const bool clicks = FPressed;
    ReleaseButton();
    if (clicks) ReleaseClick();
  }
  TKemCustomControl::MouseUp(Button, Shift, X, Y);
}

void TKemCustomButton::SetPressed(bool Value) { SetPainted(*this, FPressed, Value); }

void TKemCustomButton::ReleaseButton() {
  FTracking = false;
  FPressed = false;
  FDropDownShown = false;
  if (MouseCapture()) SetMouseCapture(false);
  Invalidate();
}

void TKemCustomButton::PressLost() {
  FRepeat.Stop();
  // The menu of a drop-down button holds the mouse by right until it closes.
  if ((FTracking || FPressed) && !FDropDownShown) ReleaseButton();
}

void TKemCustomButton::DropDownClosed() { ReleaseButton(); }

void TKemCustomButton::PopupDropDown(TPoint ScreenPos) {
  FDropDownMenu->OnMenuClose = [this](TObject*) { DropDownClosed(); };
  FDropDownMenu->PopupAt(ScreenPos);
}

void TKemCustomButton::HideDropDown() {
  if (FDropDownMenu && FDropDownMenu->Visible()) FDropDownMenu->Hide();
}

void TKemCustomButton::EnabledChanged() {
  TKemCustomControl::EnabledChanged();
  if (Enabled()) return;
  FRepeat.Stop();
  if (FTracking || FPressed) ReleaseButton();
}

// ---- Repetition -----------------------------------------------------------------------

void TKemCustomButton::StartRepeat() {
  // A click at each pause while the press is on the button.
  FRepeat.Start(
      FInitPause, FRepeatPause,
      [this] {
        if (FTracking && FPressed) Click();
      },
      [this] { PressLost(); });
}

// ---- Look -----------------------------------------------------------------------------

void TKemCustomButton::SetFlat(bool Value) { SetPainted(*this, FFlat, Value); }

void TKemCustomButton::SetFlatRaised(bool Value) { SetPainted(*this, FFlatRaised, Value); }

void TKemCustomButton::SetGlyph(const TBitmap& Value) {
  FGlyph->Assign(Value);
  Invalidate();
}

void TKemCustomButton::BorderColorChanged(TColor TBorderColors::*) { Invalidate(); }

void TKemCustomButton::SetNoFraming(bool Value) { SetPainted(*this, FNoFraming, Value); }

void TKemCustomButton::SetNoFocusing(bool Value) { SetPainted(*this, FNoFocusing, Value); }

void TKemCustomButton::SetSkin(TVosSkin* Value) { SetPainted(*this, FSkin, Value); }

void TKemCustomButton::SetTextureOffset(TPoint Value) {
  if (!StoreChanged(FTextureOffset, Value)) return;
  if (FSkin) Invalidate();
}

void TKemCustomButton::SetTextureIndex(int Value) {
  if (!StoreChanged(FTextureIndex, Value)) return;
  if (FSkin) Invalidate();
}

void TKemCustomButton::SetButtonIndex(int Value) {
  if (!StoreChanged(FButtonIndex, Value)) return;
  if (FSkin) Invalidate();
}

void TKemCustomButton::Paint() {
  if (FSkin && PaintBuffer()) {
    if (TVosSkin* skin = VosSelectSkinFor(this)) {
      PaintSkin(*skin);
      return;
    }
  }
  PaintPlain(FaceColor(), CaptionColor(), CaptionPrefix());
}

void TKemCustomButton::PaintSkin(TVosSkin& Skin) {
  Skin.DrawButton(*PaintBuffer(), ClientRect(), FPressed, -FTextureOffset.Y, -FTextureOffset.X, FTextureIndex,
                  FButtonIndex);
  // The skin has no text drawing of its own for buttons: the caption is
  // written as the button set writes its pages' captions.
  const WideString caption = Caption();
  if (!caption.empty())
    Skin.DrawButtonSetItemText(*PaintBuffer(), ClientRect(), 0, Enabled(), FPressed ? 1 : 0, caption, true);
}

void TKemCustomButton::PaintPlain(TColor Face, TColor Text, bool Prefix) {
  TCanvas* c = Canvas();
  c->SetFont(*Font());
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Face);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(clBlack);
  TRect r = ClientRect();
  const bool focused = Focused();
  if ((focused || FDefaultLook) && !FFlat && !FNoFraming) Frame3D(c, r, FBorderColors.Frame, FBorderColors.Frame, 1);
  if (FFlat) {
    if (!FFlatRaised || FPressed) {
      Frame3D(c, r, FBorderColors.Shadow, FBorderColors.Shadow, 1);
    } else {
      Frame3D(c, r, FBorderColors.Highlight, FBorderColors.Shadow, 1);
    }
  } else if (FPressed) {
    Frame3D(c, r, FBorderColors.Shadow, FBorderColors.Shadow, 1);
  } else {
    Frame3D(c, r, FBorderColors.Highlight, FBorderColors.Frame, 1);
    Frame3D(c, r, FBorderColors.Spark, FBorderColors.Shadow, 1);
  }
  c->Brush()->SetColor(Face);
  c->FillRect(r);
  if (focused && !FFlat && !FNoFocusing) {
    TRect f = r;
    const int inset = FPressed ? 2 : 1;
    InflateRect(f, -inset, -inset);
    c->Font()->SetColor(clBlack);
    c->DrawFocusRect(f);
  }
  if (FPressed && (!FFlat || FFlatRaised)) OffsetRect(r, 1, 1);

  if (!FGlyph->Empty()) {
    const int gw = FGlyph->Width(), gh = FGlyph->Height();
    const int x = (r.Width() + 1 - gw) / 2, y = (r.Height() + 1 - gh) / 2;
    if (BitsPerPixel(FGlyph->PixelFormat()) == 32 && FGlyph->AlphaFormat() != afIgnored) {
      c->Draw(x, y, *FGlyph);
    } else {
      const TColor see =
          FGlyph->TransparentColor() != clDefault ? FGlyph->TransparentColor() : FGlyph->PixelColor(0, gh - 1);
      TransparentBlt(c->Handle(), x, y, gw, gh, FGlyph->Canvas()->Handle(), 0, 0, gw, gh,
                     static_cast<UINT>(ColorToRGB(see)));
    }
    return;
  }
  c->Brush()->SetStyle(bsClear);
  const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | (Prefix ? 0 : DT_NOPREFIX);
  TRect t = r;
  OffsetRect(t, 1, 0);
  WideString caption = Caption();
  if (!Enabled()) {
    TRect embossed = t;
    OffsetRect(embossed, 1, 1);
    c->Font()->SetColor(FBorderColors.Highlight);
    c->DrawText(caption, embossed, flags);
    c->Font()->SetColor(FBorderColors.Shadow);
  } else {
    c->Font()->SetColor(Text);
  }
  c->DrawText(caption, t, flags);
}
