// TUcForm and the layer's hint window.
#include "kem3/unicode/ucforms_win.h"

#include "kem3/unicode/ucmenus_win.h"
#include "platform/application_win.h"
#include "platform/format.h"

WideString WideHintText(const TControl* Control, const WideString& ShortHint) {
  if (ShortHint.empty() || !Control || !Application || !Application->HintShortCuts) return ShortHint;
  auto* action = dynamic_cast<const TCustomAction*>(Control->Action());
  if (!action || action->ShortCut() == scNone) return ShortHint;
  return WideFormatOrError(u"%s (%s)", {ShortHint, ShortCutToWideText(action->ShortCut())});
}

namespace {

// The application hands its hint's THintInfo as the data; other callers nothing.
const TControl* HintControlOf(const void* Data) {
  return Data ? static_cast<const THintInfo*>(Data)->HintControl : nullptr;
}

}  // namespace

TRect TUcCustomHintWindow::CalcHintRect(int MaxWidth, const WideString& AHint, void* AData) {
  return THintWindow::CalcHintRect(MaxWidth, WideHintText(HintControlOf(AData), AHint), AData);
}

void TUcCustomHintWindow::ActivateHintData(const TRect& Rect, const WideString& AHint, void* AData) {
  THintWindow::ActivateHintData(Rect, WideHintText(HintControlOf(AData), AHint), AData);
}

TUcForm::TUcForm(TComponent* AOwner) : TForm(AOwner) {
  if (Application && !Application->HintWindowClass) {
    Application->HintWindowClass = [](TComponent* Owner) -> THintWindow* { return new TUcCustomHintWindow(Owner); };
  }
}

void TUcForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_LAYERED);
}

void TUcForm::UpdateActions() {
  TForm::UpdateActions();
  if (Application) Application->RefreshHint();
}

void TUcForm::DispatchDefault(TMessage& Message) {
  if (Message.Msg == WM_MENUSELECT && Menu()) MenuSelect(Message);
  TForm::DispatchDefault(Message);
}

void TUcForm::MenuSelect(const TMessage& Message) {
  if (!Application) return;
  const UINT flags = HIWORD(Message.WParam);
  HMENU menu = reinterpret_cast<HMENU>(Message.LParam);
  const TMenuItem* item = nullptr;
  // 0xFFFF without a menu: the menu closed. The window menu's entries are not ours.
  if (menu && flags != 0xFFFF && !(flags & MF_SYSMENU)) {
    if (flags & MF_POPUP) {
      // An entry that opens a sub-menu comes by its position: its sub-menu tells the item.
      HMENU sub = GetSubMenu(menu, LOWORD(Message.WParam));
      if (sub) item = Menu()->FindItem(reinterpret_cast<UINT_PTR>(sub), fkHandle);
    } else {
      item = Menu()->FindItem(LOWORD(Message.WParam), fkCommand);
    }
  }
  Application->SetHint(item ? GetWideLongHint(item->Hint()) : WideString());
}
