// The library's message box: TMessageForm with a picture, a body of mark-up
// and up to four buttons, shown modally by ShowMessageBox. What the parts,
// buttons and pictures become is decided in kemmsg.h; this file also holds
// the window side the launcher's confirmation dialog shares.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "kem3/controls/kemform_win.h"
#include "kem3/dialogs/kemmsg.h"

class TKemButton;
class TKemImage;
class TKemLayout;

using TMessageButtonTexts = std::array<WideString, 4>;

// What the message box and the launcher's confirmation dialog share: a dialog
// frame without caption buttons, centred, "Tahoma" 8 with key preview; a
// picture, a body of mark-up and buttons, sized to the body's text.
class TKemMessageDialog : public TKemForm {
 protected:
  TKemMessageDialog(TComponent* AOwner, const String& Name, int ClientWidth, int ClientHeight);
  void CreateParams(TCreateParams& Params) override;

  // The controls, on the form's colour.
  TKemImage* AddPicture(const String& Name, int Left, int Top);
  TKemLayout* AddBody(const String& Name, const TRect& Bounds);
  TKemButton* AddButton(const String& Name, int Left, int Top);
  // Body takes the paragraphs and the height of their text; the form the
  // client height for it (MessageClientHeight), and each button its place
  // 33 pixels above the bottom, as if anchored there.
  void SizeToBody(TKemLayout& Body, const std::vector<WideString>& Paragraphs, int MinHeight,
                  const std::vector<TKemButton*>& Buttons);
};

class TMessageForm : public TKemMessageDialog {
 public:
  explicit TMessageForm(TComponent* AOwner);

  // Caption from element 0, the body from the others (strings shown as they
  // stand), the buttons of ButtonsKind (own captions from ButtonTexts), the
  // picture of IconKind, and the height for the body.
  void Setup(const TMessageParts& Parts, const TMessageButtonTexts& ButtonTexts, std::uint8_t IconKind,
             int ButtonsKind);
  TMessageIconPage IconPage() const { return FIconPage; }

  TKemLayout* lBody = nullptr;
  TKemImage* iIcon = nullptr;
  std::array<TKemButton*, 4> Buttons{};

 private:
  TMessageIconPage FIconPage = mipInformation;
};

// Shows the message box modally and frees it; the modal result of the button
// chosen (Escape: the one marked Cancel).
TModalResult ShowMessageBox(const TMessageParts& Parts, int ButtonsKind, const TMessageButtonTexts& ButtonTexts = {},
                            std::uint8_t IconKind = 0);
TModalResult ShowMessageBox(const WideString& Caption, const WideString& Text, int ButtonsKind,
                            const TMessageButtonTexts& ButtonTexts = {}, std::uint8_t IconKind = 0);

// The program's "PNGIMG" resource Name into Image, blended with its alpha;
// a missing picture leaves the image empty.
void LoadMessagePicture(TKemImage& Image, const String& Name);
// Frees a modal form however its dialog ends (a std::unique_ptr deleter).
struct TFormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};
