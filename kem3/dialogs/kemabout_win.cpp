// The start-up splash.
#include "kem3/dialogs/kemabout_win.h"

#include "kem3/controls/kempicture_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemlantext.h"
#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/kemimage_win.h"
#include "kem3/unicode/ucstdctrls_win.h"
#include "platform/application_win.h"
#include "platform/dc_win.h"
#include "platform/exceptions.h"
#include "platform/screen_win.h"

namespace {

struct TSplashBox {
  int Left, Top, Width, Height, FontSize;
  TColor Color;
};

WideString Title, Status;
TSplashBox TitleBox{365, 180, 31, 11, 7, clBlack};
TSplashBox StatusBox{5, 202, 5, 18, 8, static_cast<TColor>(0xFFFFFF)};
// Cleared by the form's own destructor, whoever frees it.
TAboutForm* Splash = nullptr;

bool ManyColours() {
  TScreenDC screen;
  return GetDeviceCaps(screen.Handle(), BITSPIXEL) * GetDeviceCaps(screen.Handle(), PLANES) > 14;
}

void PlaceLabel(TUcLabel& Label, const TSplashBox& Box) {
  Label.SetTransparent(true);
  Label.Font()->SetSize(Box.FontSize);
  Label.Font()->SetColor(Box.Color);
  Label.SetLeft(Box.Left);
  Label.SetTop(Box.Top);
}

}  // namespace

TAboutForm::TAboutForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("AboutForm");
  SetBorderStyle(bsNone);
  SetKeyPreview(true);
  SetPosition(poScreenCenter);
  const bool languages = LanguageCount() > 0;
  Font()->SetName(languages ? CurrentLanguageFontName(0) : String("Tahoma"));
  Font()->SetSize(languages ? CurrentLanguageFontSize(0) : 8);
  if (Application) SetCaption(Application->Title());

  const String prefix = ManyColours() ? "HC" : "LC";
  TBitmap picture;
  try {
    LoadBitmapResource(picture, prefix + "ABOUT", nullptr);
    picture.SetPixelFormat(pf32bit);
    TBitmap overlay;
    LoadBitmapResource(overlay, prefix + "ABOUTOVERLAY", nullptr);
    if (!overlay.Empty()) {
      overlay.SetPixelFormat(pf32bit);
      AlphaBlendBitmap(picture, 0, 0, overlay);
    }
  } catch (const Exception&) {
    // A damaged picture: the splash shows its lines on the form's colour.
  }
  iPicture = new TKemImage(this);
  iPicture->SetName("iPicture");
  iPicture->SetParent(this);
  if (!picture.Empty()) {
    iPicture->SetImage(picture);
    SetClientSize(picture.Width(), picture.Height());
  } else {
    SetClientSize(300, 156);
  }
  iPicture->SetAlign(alClient);
  // A click puts the splash away; CloseSplash frees it later, as it frees a shown one.
  iPicture->OnClick = [this](TObject*) { Hide(); };

  // The lines lie on the picture, which paints them over itself.
  lTitle = new TUcLabel(this);
  lTitle->SetName("lTitle");
  lTitle->SetParent(iPicture);
  lTitle->SetAutoSize(false);
  PlaceLabel(*lTitle, TitleBox);
  lTitle->SetBounds(TitleBox.Left, TitleBox.Top, TitleBox.Width, TitleBox.Height);
  lTitle->SetAlignment(TitleBox.Left + TitleBox.Width < ClientWidth() ? taLeftJustify : taRightJustify);
  lTitle->SetCaption(Title);

  lStatus = new TUcLabel(this);
  lStatus->SetName("lStatus");
  lStatus->SetParent(iPicture);
  const bool fixed = StatusBox.Width != 0 && StatusBox.Height != 0;
  lStatus->SetAutoSize(!fixed);
  PlaceLabel(*lStatus, StatusBox);
  if (fixed) lStatus->SetBounds(StatusBox.Left, StatusBox.Top, StatusBox.Width, StatusBox.Height);
  lStatus->SetCaption(Status);
}

void TAboutForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.WinClassName = u"TOrvSplash";
}

void TAboutForm::VisibleChanged() {
  if (!Visible()) {
    TForm::VisibleChanged();
    return;
  }
  HandleNeeded();
  if (Screen) SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

TAboutForm::~TAboutForm() {
  if (Splash == this) Splash = nullptr;
}

void ShowAboutOrSplash(bool, bool) {
  if (Splash) return;
  Splash = NewForm<TAboutForm>(Application);
  Splash->Show();
  // The message loop is not running yet: paint now.
  Splash->Update();
}

void CloseSplash(bool Fade, int Step) {
  if (!Splash) return;
  if (Fade && Step > 0 && Splash->Visible()) {
    HWND window = Splash->Handle();
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    for (int alpha = 254; alpha > 0; alpha -= Step) {
      SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
      RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      Sleep(1);
    }
  }
  TAboutForm* form = Splash;
  Splash = nullptr;
  form->Hide();
  form->Free();
}

TAboutForm* SplashForm() { return Splash; }

void SetSplashTitle(const WideString& Text) { Title = Text; }

void AddSplashStatus(const WideString& Text) {
  Status = Text;
  if (!Splash) return;
  Splash->lStatus->SetCaption(Text);
  Splash->iPicture->Update();
}

void AddSplashStatusById(int TextIndex) { AddSplashStatus(LanguageText(TextIndex, WideString())); }

void SetSplashTitleBox(int Left, int Top, int Width, int Height, int FontSize, TColor Color) {
  TitleBox = {Left, Top, Width, Height, FontSize, Color};
}

void SetSplashStatusBox(int Left, int Top, int Width, int Height, int FontSize, TColor Color) {
  StatusBox = {Left, Top, Width, Height, FontSize, Color};
}
