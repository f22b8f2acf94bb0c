// The launcher's confirmation dialog.
#include "launcher/ov3message_win.h"

#include <memory>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemlout_win.h"
#include "kem3/controls/kempicture_win.h"
#include "kem3/framework/kemmsg_win.h"
#include "platform/application_win.h"

namespace {

constexpr int kClientWidth = 353, kClientHeight = 129;

}  // namespace

TdMessage::TdMessage(TComponent* AOwner) : TKemForm(AOwner) {
  SetName("dMessage");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetKeyPreview(true);
  Font()->SetName("Tahoma");
  Font()->SetSize(8);
  SetClientSize(kClientWidth, kClientHeight);

  // Yes first: it has the focus, so Enter answers yes; No is the cancel button.
  bYes = new TKemButton(this);
  bYes->SetName("bYes");
  bYes->SetParent(this);
  bYes->SetBounds(182, 96, 75, 25);
  bYes->SetActionType(atYes);
  bNo = new TKemButton(this);
  bNo->SetName("bNo");
  bNo->SetParent(this);
  bNo->SetBounds(270, 96, 75, 25);
  bNo->SetActionType(atNo);
  l = new TKemLayout(this);
  l->SetName("l");
  l->SetParent(this);
  l->SetBounds(88, 8, 253, 81);
  l->SetParentColor(true);
  ic = new TKemImage(this);
  ic->SetName("ic");
  ic->SetParent(this);
  ic->SetBounds(8, 8, 64, 64);
  ic->SetParentColor(true);
  LoadMessagePicture(*ic, "OV3MESSAGE");
  SetActiveControl(bYes);
}

void TdMessage::CreateParams(TCreateParams& Params) {
  TKemForm::CreateParams(Params);
  RemoveBorderIcons(Params);
}

void TdMessage::Setup(const TMessageParts& Values) {
  if (!FindTextStyle("ov2text")) AddTextStyle("ov2text", "Arial", 10, clBlack, kaJustify, TRect{0, 0, 0, 12});
  SizeMessageForm(*this, *l, MessageParagraphs(Values, "ov2text", false), 0, {bYes, bNo});
  SetCaption(Values.empty() ? WideString() : MessagePartText(Values[0]));
}

bool ShowMessageDialog(const TMessageParts& Values) {
  std::unique_ptr<TdMessage, TFormFree> form(NewForm<TdMessage>(Application));
  form->Setup(Values);
  return form->ShowModal() == mrYes;
}
