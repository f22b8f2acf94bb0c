// The launcher's confirmation dialog.
#include "launcher/ov3message_win.h"

#include <memory>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemlout_win.h"
#include "kem3/controls/kempicture_win.h"
#include "kem3/dialogs/kemmsg_win.h"
#include "platform/application_win.h"

namespace {

constexpr int kClientWidth = 353, kClientHeight = 129;

}  // namespace

TdMessage::TdMessage(TComponent* AOwner) : TKemMessageDialog(AOwner, "dMessage", kClientWidth, kClientHeight) {
  // Yes first: it has the focus, so Enter answers yes; No is the cancel button.
  bYes = AddButton("bYes", 182, 96);
  bYes->SetActionType(atYes);
  bNo = AddButton("bNo", 270, 96);
  bNo->SetActionType(atNo);
  l = AddBody("l", TRect{88, 8, 88 + 253, 8 + 81});
  ic = AddPicture("ic", 8, 8);
  LoadMessagePicture(*ic, "OV3MESSAGE");
  SetActiveControl(bYes);
}

void TdMessage::Setup(const TMessageParts& Values) {
  if (!FindTextStyle("ov2text")) AddTextStyle("ov2text", "Arial", 10, clBlack, kaJustify, TRect{0, 0, 0, 12});
  SizeToBody(*l, MessageParagraphs(Values, "ov2text", false), 0, {bYes, bNo});
  SetCaption(Values.empty() ? WideString() : MessagePartText(Values[0]));
}

bool ShowMessageDialog(const TMessageParts& Values) {
  std::unique_ptr<TdMessage, TFormFree> form(NewForm<TdMessage>(Application));
  form->Setup(Values);
  return form->ShowModal() == mrYes;
}
