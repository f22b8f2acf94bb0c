// The launcher's yes/no confirmation: TdMessage shows a picture, a caption
// and one paragraph of mark-up per line, sized to its text.
#pragma once
#include "kem3/framework/kemform_win.h"
#include "kem3/framework/kemmsg.h"

class TKemButton;
class TKemImage;
class TKemLayout;

class TdMessage : public TKemForm {
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

 protected:
  void CreateParams(TCreateParams& Params) override;
};

// Shows the dialog modally and frees it: true when the user answered yes
// (Enter); No, Escape and closing answer no.
bool ShowMessageDialog(const TMessageParts& Values);
