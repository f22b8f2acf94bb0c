// The form base's toolbars and their pictures, the wheel under the pointer,
// and the hint it forwards (with the hint of the menu entry selected).
#include <algorithm>

#include "kem3/controls/kemform_win.h"
#include "kem3/controls/kemtools_win.h"
#include "kem3/framework/kemactinfo.h"
#include "kem3/framework/kemsysinfo.h"
#include "kem3/framework/kemtoolbar.h"
#include "platform/application_win.h"
#include "platform/hints.h"
#include "platform/hintwindow_win.h"
#include "platform/imglist.h"
#include "platform/menus_win.h"
#include "platform/toolbar_win.h"

namespace {

WideString GMenuHint;
TToolBitmapLoader GToolBitmapLoader;

void LoadToolBitmap(HMODULE Module, const String& Name, TBitmap& Bitmap) {
  if (GToolBitmapLoader) return GToolBitmapLoader(Module, Name, Bitmap);
  if (!Module) throw EResNotFound("Resource " + Name + " not found");
  Bitmap.LoadFromResourceName(Module, Name);
}

// The control under the screen point, disabled ones included.
TControl* ControlUnder(TPoint P) {
  // The system leaves disabled windows out of its hit test: their parents look deeper.
  TControl* C = FindControlAtPos(P);
  while (auto* W = dynamic_cast<TWinControl*>(C)) {
    TControl* Child = W->ControlAtPos(W->ScreenToClient(P), true, true);
    if (!Child) break;
    C = Child;
  }
  return C;
}

}  // namespace

// ---- Toolbars ---------------------------------------------------------------------------

int TKemForm::BuildToolbar(const String& Ids, TToolBar* ToolBar, const std::vector<TPopupMenu*>& Menus) {
  const int Count = ToolTokenCount(Ids);
  while (ToolBar->ButtonCount() > Count) delete ToolBar->Buttons(0);
  while (ToolBar->ButtonCount() < Count) {
    auto* Button = new TKemToolButton(ToolBar);
    Button->SetParent(ToolBar);
    Button->OnMouseUp = ToolBar->OnMouseUp;
  }
  return FillToolbar(Ids, ToolBar, Menus);
}

int TKemForm::FillToolbar(const String& Ids, TToolBar* ToolBar, const std::vector<TPopupMenu*>& Menus) {
  const int ImageWidth = ToolBar->Images() ? ToolBar->Images()->Width() : 15;
  const std::vector<TToolSlot> Slots = PlanToolbar(Ids, ImageWidth, int(Menus.size()));
  int Total = 0;
  for (int I = 0; I < ToolBar->ButtonCount() && I < int(Slots.size()); ++I) {
    const TToolSlot& Slot = Slots[size_t(I)];
    TToolButton* Button = ToolBar->Buttons(I);
    TKemAction* Action = Slot.Separator || Slot.Id < 0 ? nullptr : FindAction(Slot.Id);
    Button->SetAction(Action);
    Button->SetImageIndex(Action ? Action->ImageIndex() : Slot.Separator ? -1 : Slot.ImageIndex);
    Button->SetDropdownMenu(Slot.Style >= 0 ? Menus[size_t(Slot.Style)] : nullptr);
    Button->SetGrouped(Slot.Style == tsRadio);
    Button->SetStyle(Slot.Separator                                   ? tbsSeparator
                     : Slot.Style >= 0                                ? tbsDropDown
                     : Slot.Style == tsCheck || Slot.Style == tsRadio ? tbsCheck
                                                                      : tbsButton);
    if (auto* Tool = dynamic_cast<TKemToolButton*>(Button)) Tool->SetRepeatEnabled(Slot.Style == tsRepeat);
    Button->SetWidth(Slot.Width);
    Total += Slot.Width;
  }
  ToolBar->SetButtonWidth(0);
  ToolBar->SetWidth(Total);
  ToolBar->ArrangeButtons();
  return Total;
}

TToolBitmapLoader SetToolBitmapLoader(TToolBitmapLoader Loader) {
  std::swap(GToolBitmapLoader, Loader);
  return Loader;
}

void LoadActionImages(TImageList& ImageList, TColor BkColor, bool Large) {
  if (!ActionInfosRegistered()) return;
  const HMODULE Library = LoadResourceLibrary();
  const bool HighColor = IsHighColor();
  ImageList.Clear();
  ImageList.SetBkColor(BkColor);
  for (int I = 0; I < ActionInfoCount(); ++I) {
    TActionInfo& Info = ActionInfos(I);
    try {
      TBitmap Bitmap;
      LoadToolBitmap(ToolBitmapInLibrary(Info.Group) ? Library : GetModuleHandleW(nullptr),
                     ToolBitmapName(Info.Id, HighColor, Large), Bitmap);
      if (Bitmap.Empty()) continue;
      if (ImageList.Count() == 0) {
        ImageList.SetWidth(Bitmap.Width());
        ImageList.SetHeight(Bitmap.Height());
      }
      Bitmap.SetTransparentColor(BkColor);
      Bitmap.SetTransparent(true);
      Info.ImageIndex = ImageList.AddMasked(Bitmap, BkColor);
    } catch (const std::exception&) {
      // A picture that is missing or unreadable leaves the button without one.
    }
  }
}

// ---- The wheel --------------------------------------------------------------------------

void TKemForm::MouseWheelHandler(TMessage& Message) {
  TControl* Under =
      FMouseWheelEx ? FindControlAtPos(Point(MessageX(Message.LParam), MessageY(Message.LParam))) : nullptr;
  if (Under)
    MouseWheelChain(Under, Message);
  else
    TUcForm::MouseWheelHandler(Message);
}

// ---- Hints ------------------------------------------------------------------------------

void TKemForm::UpdateActions() {
  // A hint set since the last look (a menu entry's) is heard before the
  // application takes the hint of the control under the pointer anew.
  ForwardHint();
  TUcForm::UpdateActions();
  ForwardHint();
}

void TKemForm::ForwardHint() {
  if (!OnHint || !Application || Application->Hint() == FLastHint) return;
  FLastHint = Application->Hint();
  if (!GMenuHint.empty() && FLastHint == GMenuHint) {
    OnHint(GMenuHint);
    return;
  }
  POINT P{};
  TControl* Under = GetCursorPos(&P) ? ControlUnder({P.x, P.y}) : nullptr;
  OnHint(Under ? GetLongHint(GetEffectiveHint(Under)) : FLastHint);
}

const WideString& MenuHint() { return GMenuHint; }
void SetMenuHint(const WideString& Value) { GMenuHint = Value; }

void TKemFormMenuItem::AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel) {
  TUcMenuItem::AdvancedDrawItem(ACanvas, ARect, State, TopLevel);
  if (State.Contains(odSelected)) GMenuHint = GetLongHint(Hint());
}
