// The launcher's yes/no confirmation: TdMessage shows a picture, a caption
// and one paragraph of mark-up per line, sized to its text.
#pragma once
#include "kem3/dialogs/kemmsg_win.h"

class TdMessage : public TKemMessageDialog {
 public:
  explicit TdMessage(TComponent* AOwner);

  // Caption from element 0; each further element one or more paragraphs of
  // mark-up in the style "ov2text" (text indexes become their language text;
  // user text must come through KemLiteralText); sized to the text.
  void Setup(const TMessageParts& Values);

  TKemButton* bYes = nullptr;
  TKemButton* bNo = nullptr;
  TKemLayout* l = nullptr;
  TKemImage* ic = nullptr;
};

// Shows the dialog modally and frees it: true when the user answered yes
// (Enter); No, Escape and closing answer no.
bool ShowMessageDialog(const TMessageParts& Values);
