// TUcForm and the layer's hint window.
#include "kem3/unicode/ucforms_win.h"

#include "platform/application_win.h"

TUcForm::TUcForm(TComponent* AOwner) : TForm(AOwner) {
  if (Application && !Application->HintWindowClass) {
    Application->HintWindowClass = [](TComponent* Owner) -> THintWindow* { return new TUcCustomHintWindow(Owner); };
  }
}

void TUcForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_LAYERED);
}
