// The bar under its skin: the form skinner with the caption, the program's
// icon, the icon panel and the group buttons in the skin's slots "caption",
// "icon", "client" and "group"; the bar's orientation from the skin's "mode";
// the icon metrics; and a change of skin while the program runs.
#include <algorithm>

#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/controls/vosskinner_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/graphics/vosskinlist.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3cfg_win.h"
#include "platform/sysutils.h"

namespace {

// The skin's window record of the bar.
constexpr const char* kBarWindow = "main";
// Pseudo-setting delivered when the skin or its layout was changed.
constexpr int kSkinChanged = -2;

// The skin's window record of the bar, or -1 when the skin cannot carry the
// bar: without the record, or without a slot for the icons, the group buttons
// or the caption (a bar without them could neither be used nor moved, nor
// even right-clicked). The bar then takes the plain layout.
int BarWindowOf(const TVosSkin* Skin) {
  const int window = Skin ? Skin->IndexOfWindow(kBarWindow) : -1;
  if (window < 0 || Skin->Containers().empty()) return -1;
  const TVosContainerGroup& slots = Skin->Containers().front();
  for (const char* id : {"client", "group", "caption"})
    if (IndexOfSlot(slots, id) < 0) return -1;
  return window;
}

}  // namespace

void TfMain::CreateSkinner() {
  OnResize = [this](TObject*) {
    if (!MainFormCreated) return;
    ArrangeGroupButtons();
    cfgRequestSave();
  };
  ReadSkinOrientation();
  // A bar whose shape disagrees with its skin's orientation is turned.
  if (FVertical != (Height() > Width())) TurnBar();
  ApplySkin();
  ApplyIconMetrics();
  ArrangeGroupButtons();
}

void TfMain::ApplySkin() {
  TVosSkin* skin = CurrentSkin();
  const int window = BarWindowOf(skin);
  if (window < 0) {
    // No skin for the bar: the plain bar, its group buttons above its icons.
    if (!FSkinner) return;
    plIcons->SetFormSkinner(nullptr);
    bsGroups->SetFormSkinner(nullptr);
    bsGroups->SetParent(this);
    bsGroups->SetAlign(alTop);
    pClient->SetParent(this);
    pClient->SetAlign(alClient);
    FSkinner->SetVisible(false);
    SetWindowRgn(Handle(), nullptr, TRUE);
    return;
  }
  if (!FSkinner) {
    FSkinner = new TVosFormSkinner(this);
    FSkinner->SetName("skMain");
    FSkinner->SetParent(this);
    FSkinner->SetAlign(alClient);
    FSkinner->SetCacheSlot(skin->AddCacheSlot());
    // A hint stays where its item was; the bar leaves it behind.
    FSkinner->OnDragStart = [this](TObject*) { CloseBarHint(); };
    FSkinner->OnDragEnd = [this](TObject*) {
      FAutoHide->SetHome({Left(), Top()});
      cfgRequestSave();
    };
    FCaption = new TVosFormCaption(this);
    FCaption->SetCaption(u"Orvanel Version 3.3");
    TVosFormSkinner::AttachFormDragHandlers(FSkinner, FCaption);
    FFormIcon = new TVosFormIcon(this);
    FGroupBox = new TVosContainer(this);
  }
  FSkinner->SetVisible(true);
  FSkinner->SetScreenSnap(cfgGetBool(ovsScreenSnap));
  FSkinner->SetMovable(cfgGetBool(ovsWindowMove));
  FSkinner->SetResizable(cfgGetBool(ovsWindowSize));
  FSkinner->SetWindowIndex(window);
  FSkinner->SetSkin(skin);
  FSkinner->AttachControl("caption", FCaption);
  FSkinner->AttachControl("icon", FFormIcon);
  FSkinner->AttachControl("client", pClient);
  FSkinner->AttachControl("group", FGroupBox);
  bsGroups->SetAlign(alNone);
  bsGroups->SetParent(FGroupBox);
  plIcons->SetFormSkinner(FSkinner);
  bsGroups->SetFormSkinner(FSkinner);
  FSkinner->SetBounds(0, 0, Width(), Height());
  FSkinner->UpdateLayout(Width(), Height());
  // The container fills its first child whenever it is placed.
  FGroupBox->SetBoundsRect(FGroupBox->BoundsRect());
}

void TfMain::TurnBar() {
  const TRect before = BoundsRect();
  // Turned about its corner, a bar as wide as the screen would reach far below
  // it: held to the work area again.
  SetBounds(Left(), Top(), Height(), Width());
  HoldBarToWorkArea(*this);
  // Left where it was, an upright bar would hang from the top edge, and hide
  // sideways from there, far from the edge that calls it back: it goes to the
  // nearest edge of its new orientation, as the align menu would put it.
  DockToEdge(TurnedBarEdge(FVertical, before, BarWorkArea()));
}

void TfMain::ReadSkinOrientation() {
  const String mode = Trim(ReadSkinLayoutValue("mode"));
  TKemButtonSetDirection direction = bsdHorizontal;
  if (mode == "verticalup") {
    direction = bsdVerticalUp;
  } else if (mode == "verticaldown") {
    direction = bsdVerticalDown;
  }
  FVertical = direction != bsdHorizontal;
  // A vertical bar hides to the left or right.
  FAutoHide->Vertical = FVertical;
  bsGroups->SetDirection(direction);
  TKemPanelListOptions options = plIcons->Options();
  if (FVertical) {
    options.Include(ploListviewArrangeVert);
    options.Include(ploListviewScrollVert);
  } else {
    options.Exclude(ploListviewArrangeVert);
    options.Exclude(ploListviewScrollVert);
  }
  plIcons->SetOptions(options);
}

void TfMain::ApplyIconMetrics() {
  int left, right, top, bottom, vertical, fade;
  if (cfgGetBool(ovsIconsOverrideSkin)) {
    left = cfgGetInt(ovsIconsSpaceLeft);
    right = cfgGetInt(ovsIconsSpaceRight);
    top = cfgGetInt(ovsIconsSpaceTop);
    bottom = cfgGetInt(ovsIconsSpaceBottom);
    vertical = cfgGetInt(ovsIconsSpaceVert);
    fade = cfgGetInt(ovsIconsFadeWidth);
  } else {
    // The skin's metrics of the bar; an unskinned bar keeps the ones it was made with.
    TVosSkin* skin = CurrentSkin();
    const int window = BarWindowOf(skin);
    if (window < 0) return;
    skin->SelectWindow(window);
    const TVosWindowRecord& w = skin->Window();
    left = w.ItemSpaceLeft;
    right = w.ItemSpaceRight;
    top = w.ItemSpaceTop;
    bottom = w.ItemSpaceBottom;
    vertical = w.ItemSpaceVertical;
    fade = w.ItemFadeWidth;
  }
  plIcons->SetItemWidth(left + right + cfgGetInt(ovsIconsSize));
  plIcons->SetSpaceTop(top);
  plIcons->SetSpaceBottom(bottom);
  plIcons->SetSpaceVert(vertical);
  plIcons->SetFadeWidth(fade);
}

void TfMain::ArrangeGroupButtons() {
  if (!FSkinner || !FSkinner->Visible() || !FSkinner->Skin()) {
    bsGroups->RealignButtons();
    return;
  }
  FSkinner->SelectInSkin();
  const TVosIndents& in = FSkinner->Skin()->GetButtonSetIndent();
  const int across = FVertical ? FGroupBox->Width() - in.Left - in.Right : FGroupBox->Height() - in.Top - in.Bottom;
  bsGroups->SetButtonHeight(std::max(across, 1));
  bsGroups->RealignButtons();
}

void TfMain::SkinConfigUpdate(int Id, const Variant& Value) {
  switch (Id) {
    case ovsScreenSnap:
      if (FSkinner) FSkinner->SetScreenSnap(Value.AsBoolean());
      break;
    case ovsWindowMove:
      if (FSkinner) FSkinner->SetMovable(Value.AsBoolean());
      break;
    case ovsWindowSize:
      if (FSkinner) FSkinner->SetResizable(Value.AsBoolean());
      break;
    case ovsIconsSize:
      if (MainFormCreated) ApplyIconMetrics();
      break;
    case ovsIconsOverrideSkin:
    case ovsIconsSpaceLeft:
    case ovsIconsSpaceRight:
    case ovsIconsSpaceTop:
    case ovsIconsSpaceBottom:
    case ovsIconsSpaceVert:
    case ovsIconsFadeWidth:
      ApplyIconMetrics();
      // The modules stand as far from the edge as the icons.
      if (MainFormCreated && Id != ovsIconsFadeWidth) ReloadModules();
      break;
    case kSkinChanged:
      SkinChanged();
      break;
    default:
      break;
  }
}

void TfMain::SkinChanged() {
  // Width and height swap about the home position: a hidden bar comes home
  // first, else the turned bar would stand half on the screen; the countdown
  // then hides it again.
  if (FAutoHide->Hidden()) {
    FAutoHide->ReturnHome();
    SyncAutoHideTimers();
  }
  SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
  const bool wasVertical = FVertical;
  ReadSkinOrientation();
  if (FVertical != wasVertical) TurnBar();
  ApplySkin();
  ApplyIconMetrics();
  ArrangeGroupButtons();
  SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  MenusSkinChanged();
  // What the old shape left on the screen goes too.
  ::InvalidateRect(nullptr, nullptr, TRUE);
  // New margins, and maybe another orientation, for the modules.
  if (MainFormCreated) ApplyModules();
}
