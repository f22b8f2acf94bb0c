// The message box form and the window side of message dialogs.
#include "kem3/dialogs/kemmsg_win.h"

#include <memory>
#include <string>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemlout_win.h"
#include "kem3/controls/kempicture_win.h"
#include "kem3/pictures/kemimage_win.h"
#include "platform/application_win.h"
#include "platform/exceptions.h"

namespace {

constexpr int kClientWidth = 400, kClientHeight = 126;
// A short body keeps the box this high.
constexpr int kMinClientHeight = 128;
constexpr int kButtonWidth = 75, kButtonHeight = 25, kButtonStep = 83;
// Where the buttons sit: their top this far above the client's bottom.
constexpr int kButtonsFromBottom = 33;
const char* const kIconPictures[] = {"MSGINFORMATION", "MSGQUESTION", "MSGEXCLAMATION", "MSGSTOP"};

// A box may open while another one waits for its answer (a second drop's note
// over the first): each takes the first of Name, Name_1, Name_2... that its
// owner does not hold yet. Among one more name than the owner has components
// one is free, so the search ends.
String FreeComponentName(const TComponent* Owner, const String& Name) {
  if (!Owner || !Owner->FindComponent(Name)) return Name;
  const int count = Owner->ComponentCount();
  for (int i = 1; i < count; ++i) {
    String candidate = Name + "_" + std::to_string(i);
    if (!Owner->FindComponent(candidate)) return candidate;
  }
  return Name + "_" + std::to_string(count);
}

}  // namespace

void LoadMessagePicture(TKemImage& Image, const String& Name) {
  try {
    TBitmap picture;
    LoadBitmapResource(picture, Name, nullptr);
    if (picture.Empty()) return;
    picture.SetAlphaFormat(afDefined);
    Image.SetImage(picture);
    Image.SetAlphaMask(true);
  } catch (const Exception&) {
    // A damaged picture leaves the dialog without one; its question still stands.
  }
}

// ---- TKemMessageDialog

TKemMessageDialog::TKemMessageDialog(TComponent* AOwner, const String& Name, int ClientWidth, int ClientHeight)
    : TKemForm(AOwner) {
  SetName(FreeComponentName(AOwner, Name));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetKeyPreview(true);
  Font()->SetName("Tahoma");
  Font()->SetSize(8);
  SetClientSize(ClientWidth, ClientHeight);
}

void TKemMessageDialog::CreateParams(TCreateParams& Params) {
  TKemForm::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_SYSMENU);
}

TKemImage* TKemMessageDialog::AddPicture(const String& Name, int Left, int Top) {
  auto* image = new TKemImage(this);
  image->SetName(Name);
  image->SetParent(this);
  image->SetBounds(Left, Top, 64, 64);
  image->SetParentColor(true);
  return image;
}

TKemLayout* TKemMessageDialog::AddBody(const String& Name, const TRect& Bounds) {
  auto* body = new TKemLayout(this);
  body->SetName(Name);
  body->SetParent(this);
  body->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
  body->SetParentColor(true);
  return body;
}

TKemButton* TKemMessageDialog::AddButton(const String& Name, int Left, int Top) {
  auto* button = new TKemButton(this);
  button->SetName(Name);
  button->SetParent(this);
  button->SetBounds(Left, Top, kButtonWidth, kButtonHeight);
  return button;
}

void TKemMessageDialog::SizeToBody(TKemLayout& Body, const std::vector<WideString>& Paragraphs, int MinHeight,
                                   const std::vector<TKemButton*>& Buttons) {
  Body.Clear(false);
  for (const WideString& p : Paragraphs) Body.AddParagraph(p);
  const int height = Body.CalcLayoutHeight();
  Body.SetHeight(height);
  SetClientHeight(MessageClientHeight(height, MinHeight));
  for (TKemButton* b : Buttons) b->SetTop(ClientHeight() - kButtonsFromBottom);
}

// ---- TMessageForm

TMessageForm::TMessageForm(TComponent* AOwner) : TKemMessageDialog(AOwner, "MessageForm", kClientWidth, kClientHeight) {
  iIcon = AddPicture("nbi", 8, 8);
  lBody = AddBody("lBody", TRect{80, 8, 80 + 312, 8 + 73});
  for (int i = 0; i < 4; ++i)
    Buttons[static_cast<std::size_t>(i)] =
        AddButton("Button" + std::to_string(i + 1), kClientWidth - 8 - kButtonWidth - (3 - i) * kButtonStep,
                  kClientHeight - kButtonsFromBottom);
}

void TMessageForm::Setup(const TMessageParts& Parts, const TMessageButtonTexts& ButtonTexts, std::uint8_t IconKind,
                         int ButtonsKind) {
  SetCaption(Parts.empty() ? WideString() : MessagePartText(Parts[0]));

  const TMessageBoxButtons kinds = MessageBoxButtons(ButtonsKind);
  TWinControl* first = nullptr;
  for (std::size_t i = 0; i < 4; ++i) {
    TKemButton* b = Buttons[i];
    const TMessageBoxButton& k = kinds[i];
    b->SetVisible(k.Visible);
    if (!k.Visible) continue;
    b->SetActionType(k.Action);
    if (k.Action == atNone) {
      b->SetCaption(k.Text >= 0 ? ButtonTexts[static_cast<std::size_t>(k.Text)] : WideString());
      b->SetModalResult(k.Result);
      b->SetDefault(!first);
    }
    b->SetCancel(k.Cancel);
    if (!first) first = b;
  }
  if (first) SetActiveControl(first);

  FIconPage = MessageIconPage(IconKind);
  LoadMessagePicture(*iIcon, kIconPictures[FIconPage]);

  if (!FindTextStyle("msgtext")) AddTextStyle("msgtext", "Arial", 10, clBlack, kaLeft, TRect{0, 0, 0, 0});
  std::vector<TKemButton*> buttons(Buttons.begin(), Buttons.end());
  SizeToBody(*lBody, MessageParagraphs(Parts, "msgtext", true), kMinClientHeight, buttons);
}

TModalResult ShowMessageBox(const TMessageParts& Parts, int ButtonsKind, const TMessageButtonTexts& ButtonTexts,
                            std::uint8_t IconKind) {
  std::unique_ptr<TMessageForm, TFormFree> form(NewForm<TMessageForm>(Application));
  form->Setup(Parts, ButtonTexts, IconKind, ButtonsKind);
  return form->ShowModal();
}

TModalResult ShowMessageBox(const WideString& Caption, const WideString& Text, int ButtonsKind,
                            const TMessageButtonTexts& ButtonTexts, std::uint8_t IconKind) {
  return ShowMessageBox(TMessageParts{Caption, Text}, ButtonsKind, ButtonTexts, IconKind);
}
