// The screen-area page: which areas of the screen call the hidden bar back,
// shown on a small monitor whose areas a click switches.
#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemsedit_win.h"
#include "kem3/dialogs/kemcfglayout.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemlan.h"
#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/kemresample.h"
#include "launcher/ov3cfgpages_win.h"
#include "platform/extctrls_win.h"
#include "platform/screen_win.h"

namespace {

TBitmap* MonitorPicture(const char* Name) {
  static std::array<std::pair<const char*, std::unique_ptr<TBitmap>>, 4> Pictures{
      {{"MONITORLEFT", nullptr}, {"MONITORRIGHT", nullptr}, {"MONITORMID", nullptr}, {"MONITORFOOT", nullptr}}};
  for (auto& [Key, Picture] : Pictures) {
    if (std::string_view(Key) != Name) continue;
    if (!Picture) {
      Picture = std::make_unique<TBitmap>();
      LoadPagePicture(*Picture, Name);
    }
    return Picture->Empty() ? nullptr : Picture.get();
  }
  return nullptr;
}

// The area set's usual place; the pictures below it and the sizes beside them follow it.
constexpr int kAreaSetLeft = 135;

void Blend(TBitmap& Dest, int X, int Y, TBitmap* Source) {
  if (Source) AlphaBlendBitmap(Dest, X, Y, *Source);
}

// The page reaches 12 pixels up, past the 8 between it and a group frame
// above: its panel lies under that frame, whose bottom edge then stays whole.
// Only the window goes down: the Tab order stays the order of the controls.
class TUnderPanel : public TPanel {
 public:
  using TPanel::TPanel;

 protected:
  void CreateWnd() override {
    TPanel::CreateWnd();
    SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
};

}  // namespace

// ---- The monitor

void TOvScreenFrame::Paint() {
  const int W = Width(), H = Height();
  if (FCache.Width() != W || FCache.Height() != H) {
    FCache.SetPixelFormat(pf32bit);
    FCache.SetSize(W, H);
    FCache.Canvas()->Brush()->SetColor(clBtnFace);
    FCache.Canvas()->FillRect(Rect(0, 0, W, H));
    TBitmap* Left = MonitorPicture("MONITORLEFT");
    TBitmap* Right = MonitorPicture("MONITORRIGHT");
    TBitmap* Foot = MonitorPicture("MONITORFOOT");
    if (TBitmap* Mid = MonitorPicture("MONITORMID"); Mid && W > 12) {
      TBitmap Stretched;
      Stretched.SetPixelFormat(pf32bit);
      Stretched.SetSize(W - 12, Mid->Height());
      ResampleBitmap(Stretched, *Mid, 0, 0);
      Blend(FCache, 6, 0, &Stretched);
    }
    Blend(FCache, 0, 0, Left);
    if (Right) Blend(FCache, W - Right->Width(), 0, Right);
    if (Foot) Blend(FCache, (W - Foot->Width()) / 2, H - Foot->Height(), Foot);
  }
  Canvas()->Draw(0, 0, FCache);
}

// ---- The areas

TOvScreenArea::TOvScreenArea(TComponent* AOwner) : TCustomControl(AOwner) {}

void TOvScreenArea::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.WinClassName = u"TOvScreenArea";
}

void TOvScreenArea::SetSizes(int Edge, int Corner) {
  EdgeSize = Edge;
  CornerSize = Corner;
  Invalidate();
}

void TOvScreenArea::SetCustomEnabled(bool Value) {
  View.Enabled = Value;
  SetEnabled(Value);
  Invalidate();
}

void TOvScreenArea::Paint() {
  TCanvas& C = *Canvas();
  const int W = Width(), H = Height();
  C.Brush()->SetColor(clWhite);
  C.FillRect(Rect(0, 0, W, H));
  C.Pen()->SetColor(clWhite);
  for (int Area = 0; Area < kScreenAreaCount; ++Area) {
    C.Brush()->SetColor(static_cast<TColor>(AreaColor(View, Area)));
    C.Rectangle(AreaPictureRect(Area, W, H, EdgeSize, CornerSize));
  }
}

int TOvScreenArea::HitAt(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) return -1;
  return AreaAt(X, Y, Width(), Height(), EdgeSize, CornerSize);
}

void TOvScreenArea::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !View.Enabled) return;
  const int Area = HitAt(X, Y);
  if (Area < 0) return;
  View.Pressed = Area;
  View.PressedInside = true;
  SetMouseCapture(true);
  Invalidate();
}

void TOvScreenArea::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (View.Pressed < 0) return;
  const bool Inside = HitAt(X, Y) == View.Pressed;
  if (Inside == View.PressedInside) return;
  View.PressedInside = Inside;
  Invalidate();
}

void TOvScreenArea::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || View.Pressed < 0) return;
  if (HitAt(X, Y) == View.Pressed) View.Custom[View.Pressed] = !View.Custom[View.Pressed];
  View.Pressed = -1;
  View.PressedInside = false;
  SetMouseCapture(false);
  Invalidate();
}

// ---- The page

void TOvCfgScreenArea::CreateControls(TWinControl* Parent, int Top) {
  auto* Panel = Place<TUnderPanel>(Parent, 0, Top, Parent->ClientWidth(), 160);
  Panel->SetBevelOuter(bvRaised);
  FPanel = Panel;
  FCaption = PlaceLabel(Panel, 8, 8, 120, 17);
  AreaSet = Place<TKemComboBox>(Panel, kAreaSetLeft, 4, 180, 21);
  AreaSet->SetStyle(csDropDownList);

  const int ScreenW = Screen->Width(), ScreenH = Screen->Height();
  const int MonitorW = MonitorPictureWidth(ScreenW, ScreenH);
  Place<TOvScreenFrame>(Panel, kAreaSetLeft, 24, MonitorW, 128);
  Areas = Place<TOvScreenArea>(Panel, kAreaSetLeft + 6, 30, AreaPictureWidth(ScreenW, ScreenH), 94);
  Areas->View.Custom = AreasFromText(cfgGetStr(ovsScreenAreas));
  if (FHost.AutomaticAreas) Areas->View.Automatic = FHost.AutomaticAreas();

  const int SizesLeft = kAreaSetLeft + MonitorW + 16;
  FEdgeLabel = PlaceLabel(Panel, SizesLeft, 36, 100, 17);
  FCornerLabel = PlaceLabel(Panel, SizesLeft, 66, 100, 17);
  EdgeSize = Place<TKemSpinEdit>(Panel, SizesLeft + 104, 32, 60, 21);
  CornerSize = Place<TKemSpinEdit>(Panel, SizesLeft + 104, 62, 60, 21);
  EdgeSize->SetMinValue(0);
  EdgeSize->SetMaxValue(20);
  CornerSize->SetMinValue(0);
  CornerSize->SetMaxValue(30);
  EdgeSize->SetValue(cfgGetInt(ovsScreenEdgeSize));
  CornerSize->SetValue(cfgGetInt(ovsScreenCornerSize));
  Areas->SetSizes(EdgeSize->Value(), CornerSize->Value());
  auto Resize = [this](TObject*) { Areas->SetSizes(EdgeSize->Value(), CornerSize->Value()); };
  EdgeSize->OnChange = Resize;
  CornerSize->OnChange = Resize;

  UpdateLanguage();
  AreaSet->SetItemIndex(cfgGetInt(ovsScreenArea) == 1 ? 1 : 0);
  Areas->SetCustomEnabled(AreaSet->ItemIndex() == 1);
  AreaSet->OnChange = [this](TObject*) { Areas->SetCustomEnabled(AreaSet->ItemIndex() == 1); };
}

int TOvCfgScreenArea::FieldColumn() {
  if (!FCaption) return 0;
  return std::max(kAreaSetLeft,
                  FPanel->Left() + FCaption->Left() + CaptionWidth(FCaption, FCaption->Caption()) + cfgCaptionGap);
}

void TOvCfgScreenArea::SetFieldColumn(int Column) {
  if (!FCaption) return;
  // Everything right of the caption moves along with the area set.
  const int Dx = std::max(Column, FieldColumn()) - FPanel->Left() - AreaSet->Left();
  for (int i = 0; i < FPanel->ControlCount(); ++i) {
    TControl* Control = FPanel->Controls(i);
    if (Control != FCaption) Control->SetLeft(Control->Left() + Dx);
  }
  FCaption->SetWidth(AreaSet->Left() - FCaption->Left() - 1);
}

void TOvCfgScreenArea::FillAreaSet() {
  const int Index = AreaSet->ItemIndex();
  AreaSet->Items()->Clear();
  AreaSet->Items()->Add(Translate("TdPreferences_ScreenArea_Automatic", u"Automatic"));
  AreaSet->Items()->Add(Translate("TdPreferences_ScreenArea_Custom", u"Custom"));
  AreaSet->SetItemIndex(Index);
}

void TOvCfgScreenArea::UpdateLanguage() {
  if (!FCaption) return;
  FCaption->SetCaption(Translate("ScreenArea", u"Screen areas"));
  FEdgeLabel->SetCaption(Translate("EdgeSize", u"Edge size"));
  FCornerLabel->SetCaption(Translate("CornerSize", u"Corner size"));
  FillAreaSet();
}

void TOvCfgScreenArea::Apply() {
  if (!Areas) return;
  // Notified, so OK and Apply set the hook's areas at once.
  cfgSetValueNotify(ovsScreenAreas, AreasText(Areas->View.Custom));
  cfgSetValueNotify(ovsScreenArea, std::max(AreaSet->ItemIndex(), 0));
  cfgSetValueNotify(ovsScreenEdgeSize, EdgeSize->Value());
  cfgSetValueNotify(ovsScreenCornerSize, CornerSize->Value());
}
