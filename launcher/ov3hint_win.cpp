#include "launcher/ov3hint_win.h"

#include <algorithm>

#include "kem3/framework/kemsysinfo.h"
#include "kem3/graphics/vosskinlist.h"
#include "launcher/ov3hint.h"
#include "platform/application_win.h"
#include "platform/bitmap_pixels.h"

namespace {

bool GLayered = false;

// The skin's hints belong to the bar: its window record holds their look.
class TBarHintLook {
 public:
  explicit TBarHintLook(TVosSkin& Skin) : FSkin(Skin), FPrevious(Skin.WindowIndex()) {
    Skin.SelectWindow(Skin.IndexOfWindow("main"));
  }
  ~TBarHintLook() { FSkin.SelectWindow(FPrevious); }

 private:
  TVosSkin& FSkin;
  int FPrevious;
};

}  // namespace

bool LayeredHints() { return GLayered; }

bool TOvHintWindow::IsHintMsg(const MSG& Msg) const {
  // The class layer's own messages (CM_WAKEUP above all) come while the
  // pointer rests and must leave the hint up.
  return (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) || Msg.message == WM_COMMAND;
}

void TOvHintWindow::CreateParams(TCreateParams& Params) {
  TKemHintWindow::CreateParams(Params);
  if (!GLayered) return;
  Params.ExStyle |= WS_EX_LAYERED;
  Params.ClassStyle &= ~UINT(CS_DROPSHADOW);
  // The picture brings its own edge.
  Params.Style &= ~DWORD(WS_BORDER);
  Params.WinClassName = u"TOvLayeredHint";
}

void TOvHintWindow::Paint() {
  if (!GLayered) TKemHintWindow::Paint();
}

TRect TOvHintWindow::CalcHintRect(int MaxWidth, const WideString& AHint, void* AData) {
  TVosSkin* Skin = CurrentSkin();
  if (!GLayered || !Skin) return TKemHintWindow::CalcHintRect(MaxWidth, AHint, AData);
  TBarHintLook Look(*Skin);
  const TSize Size = SkinHintSize(*Skin, AHint, MaxWidth);
  return Bounds(0, 0, Size.cx, Size.cy);
}

void TOvHintWindow::ActivateHint(TRect Rect, const WideString& AHint) {
  FText = AHint;
  TVosSkin* Skin = CurrentSkin();
  if (!GLayered || !Skin) {
    TKemHintWindow::ActivateHint(Rect, AHint);
    return;
  }
  // A hint that cannot be drawn stays away; the bar goes on.
  try {
    Rect = SetHintBounds(Rect, AHint);
    auto Picture = std::make_unique<TBitmap>();
    Picture->SetPixelFormat(pf32bit);
    Picture->SetSize(Rect.Width(), Rect.Height());
    {
      TBarHintLook Look(*Skin);
      Skin->DrawHint(*Picture, Bounds(0, 0, Rect.Width(), Rect.Height()), AHint);
    }
    if (Picture->AlphaFormat() != afPremultiplied) PremultiplyAlpha(*Picture, *Picture);
    FPicture = std::move(Picture);
    SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    UpdateLayer();
  } catch (...) {
  }
}

void TOvHintWindow::SetOpacity(int Value) {
  FOpacity = std::clamp(Value, 0, 255);
  if (GLayered && HandleAllocated() && IsWindowVisible(Handle())) UpdateLayer();
}

void TOvHintWindow::UpdateLayer() {
  if (!FPicture || FPicture->Empty()) return;
  POINT Source{0, 0}, Place{Left(), Top()};
  SIZE Size{FPicture->Width(), FPicture->Height()};
  BLENDFUNCTION Blend{AC_SRC_OVER, 0, BYTE(FOpacity), AC_SRC_ALPHA};
  UpdateLayeredWindow(Handle(), nullptr, &Place, &Size, FPicture->Canvas()->Handle(), &Source, 0, &Blend, ULW_ALPHA);
}

void InstallBarHintWindow() { InstallBarHintWindow(GetPlatformType()); }

void InstallBarHintWindow(int PlatformType) {
  // The old window goes first: its style was made for the old mode.
  FreeHintWindow();
  GLayered = LayeredHintsOn(PlatformType);
  Application->HintWindowClass = [](TComponent* Owner) -> THintWindow* { return new TOvHintWindow(Owner); };
  RecreateHintWindow();
}
