// The bar's hints: the icon or module under the resting pointer shows its
// hint below it. TOvBarHints decides; this side runs its timers, finds the
// target and its text, and shows the global hint window.
#include <array>

#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemunits.h"
#include "kem3/framework/kemutil.h"
#include "kem3/framework/kemxml.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3hint.h"
#include "launcher/ov3hint_win.h"
#include "launcher/ov3modctl_win.h"
#include "platform/unicode_convert.h"

class TBarHintWiring : public TOvHintSide {
 public:
  explicit TBarHintWiring(TfMain& Bar) : Hints(*this, ReadSettings()), FBar(Bar) {
    const char* Names[] = {"tHintShow", "tHintHide", "tHintFade", "tHintRefresh"};
    for (size_t I = 0; I < FTimers.size(); ++I) {
      TTimer* T = new TTimer(&Bar);
      T->SetName(Names[I]);
      T->SetEnabled(false);
      T->OnTimer = [this, I](TObject*) { Tick(THintTimer(I)); };
      FTimers[I] = T;
    }
  }
  ~TBarHintWiring() override {
    for (TTimer* T : FTimers) T->OnTimer = nullptr;
  }

  static TOvHintSettings ReadSettings() {
    TOvHintSettings S;
    S.ShowDelay = int(cfgGetFloatInUnit(ovsHintShowDelay, unMillisecond, 500));
    S.HideDelay = int(cfgGetFloatInUnit(ovsHintHideDelay, unMillisecond, 1000));
    S.Fade = cfgGetBool(ovsFadeHints, true);
    S.Layered = LayeredHints();
    return S;
  }

  // The pointer moved over the bar (screen coordinates).
  void PointerMoved() {
    Hints.Apply(ReadSettings());
    THintTarget Target = TargetAt(CursorPos(), nullptr, nullptr);
    if (Target.Kind == THintTarget::Icon && !IconHintsArmed(cfgGetInt(ovsIconsTitle), cfgGetInt(ovsIconsComment)))
      Target = {};
    Hints.PointerOver(Target);
  }

  // The selected icon changed: a hint on show moves to the new icon.
  void SelectionChanged() {
    const int Index = FBar.plIcons->ItemIndex();
    if (Hints.State() == THintState::None || !IsHintWindowShown() || Index < 0) return;
    if (!IconHintsArmed(cfgGetInt(ovsIconsTitle), cfgGetInt(ovsIconsComment))) return;
    WideString Text;
    IconHint(Index, Text, FAnchor);
    Hints.ShowFor({THintTarget::Icon, Index}, Text);
  }

  void StartTimer(THintTimer T, int Interval) override {
    TTimer* Timer = FTimers[size_t(T)];
    Timer->SetEnabled(false);
    Timer->SetInterval(unsigned(Interval));
    Timer->SetEnabled(true);
  }
  void StopTimer(THintTimer T) override { FTimers[size_t(T)]->SetEnabled(false); }
  void ShowWindow(const WideString& Text) override { ShowHintAt(Text, FAnchor, 1, 0); }
  // The plain hint window shows fully at once; the layered one as it is told.
  void SetOpacity(int Opacity) override {
    if (auto* Window = dynamic_cast<TOvHintWindow*>(GlobalHintWindow())) Window->SetOpacity(Opacity);
  }
  void HideWindow() override { HideHintWindow(); }

  TOvBarHints Hints;

 private:
  static TPoint CursorPos() {
    POINT P{};
    GetCursorPos(&P);
    return {P.x, P.y};
  }

  // The hint text of icon Index and its anchor (screen).
  void IconHint(int Index, WideString& Text, TPoint& Anchor) {
    TKemPanelList* Icons = FBar.plIcons;
    const TKemPanelListItem* Item = Icons->Items(Index);
    const auto* Icon = reinterpret_cast<const TKemXmlTag*>(Item->GetDataAsInteger());
    const WideString Comment = Icon ? Utf8ToWide(Icon->ReadAttr("comment")) : WideString();
    // The caption as the panel shows it: the accelerator marks it was given are no part of the title.
    Text =
        IconHintText(StripAccelCharsW(Item->Caption()), Comment, cfgGetInt(ovsIconsTitle), cfgGetInt(ovsIconsComment));
    const TRect R = Icons->ItemRect(Index);
    Anchor = Icons->ClientToScreen(
        {R.Left + Icons->ItemWidth() / 2,
         FBar.GetModuleMargin() + R.Top - 16 + cfgGetInt(ovsIconsSize, 32) * HintPosition() / 100});
  }

  static int HintPosition() { return ClampHintPosition(cfgGetInt(ovsHintPosition, 100)); }

  // What lies under the screen point P; its hint text and anchor (screen) when asked.
  THintTarget TargetAt(TPoint P, WideString* Text, TPoint* Anchor) {
    TKemPanelList* Icons = FBar.plIcons;
    if (Icons && Icons->Visible()) {
      const TPoint C = Icons->ScreenToClient(P);
      const int Index = Icons->ItemAtPos(C.X, C.Y);
      if (Index >= 0) {
        if (Text) IconHint(Index, *Text, *Anchor);
        return {THintTarget::Icon, Index};
      }
    }
    for (int I = 0; I < static_cast<int>(kModules.size()); ++I) {
      TOvModuleControl* M = FBar.ModuleControl(I);
      if (!M || !M->Visible()) continue;
      const TPoint At = M->ImagePosition();
      const TPoint C = M->ScreenToClient(P);
      if (!M->Module()->HitTest(C.X - At.X, C.Y - At.Y)) continue;
      // A module whose hints are switched off (ovsShowHints) has none to give.
      if (!ModuleHints[size_t(I)]) return {};
      if (Text) {
        *Text = M->GetHint();
        const int W = M->Module()->Width();
        *Anchor = M->ClientToScreen({At.X + W / 2, At.Y - 16 + W * HintPosition() / 100});
      }
      return {THintTarget::Module, I};
    }
    return {};
  }

  void Tick(THintTimer T) {
    // A key took the window away by itself.
    if (Hints.State() != THintState::None && !IsHintWindowShown()) Hints.WindowGone();
    WideString Text;
    TPoint Anchor;
    switch (T) {
      case THintTimer::Show: {
        StopTimer(T);
        if (FBar.MenuOpen()) return;
        const THintTarget Under = TargetAt(CursorPos(), &Text, &Anchor);
        if (Under.Kind == THintTarget::None || !(Under == Hints.Target())) return;
        FAnchor = Anchor;
        Hints.ShowTimer(Text);
        break;
      }
      case THintTimer::Hide:
        Hints.HideTimer(TargetAt(CursorPos(), nullptr, nullptr) == Hints.Target());
        break;
      case THintTimer::Fade:
        Hints.FadeTimer();
        break;
      case THintTimer::Refresh: {
        // The clock's time stays current while its hint is up.
        if (Hints.State() == THintState::None || Hints.Target().Kind != THintTarget::Module) {
          StopTimer(T);
          return;
        }
        if (Hints.State() != THintState::Shown) return;
        const THintTarget Under = TargetAt(CursorPos(), &Text, &Anchor);
        if (Under == Hints.Target() && ExpandHintBreaks(Text) != Hints.Text()) {
          FAnchor = Anchor;
          Hints.ShowTimer(Text);
        }
        break;
      }
    }
  }

  TfMain& FBar;
  std::array<TTimer*, 4> FTimers{};  // owned by the bar as components
  TPoint FAnchor;
};

void TBarHintWiringDelete::operator()(TBarHintWiring* Wiring) const { std::default_delete<TBarHintWiring>()(Wiring); }

void TfMain::CreateBarHints() {
  InstallBarHintWindow();
  FHintWiring.reset(new TBarHintWiring(*this));
  plIcons->OnMouseMove = [this](TObject*, TShiftState, int, int) { BarPointerMoved(); };
  plIcons->OnMouseLeave = [this](TObject*) { BarPointerMoved(); };
  // The hint belongs to an item where it stood: a scroll moves the item away.
  plIcons->OnScroll = [this](TObject*) { CloseBarHint(); };
  plIcons->OnChange = [this, Was = plIcons->OnChange](TObject* Sender) {
    if (Was) Was(Sender);
    if (FHintWiring) FHintWiring->SelectionChanged();
  };
}

void TfMain::BarPointerMoved() {
  if (FHintWiring) FHintWiring->PointerMoved();
}

void TfMain::DestroyBarHints() {
  if (!FHintWiring) return;
  FHintWiring->Hints.Close();
  FHintWiring.reset();
  FreeHintWindow();
}

void TfMain::CloseBarHint() {
  if (FHintWiring) FHintWiring->Hints.Close();
}

void TfMain::HideBarHint() {
  if (FHintWiring) FHintWiring->Hints.Hide();
}
