// The bar's group buttons and icon panel: filling them from the contents,
// starting icons from the panel, moving icons and groups by dragging, group
// keys and the mouse wheel.
#include <algorithm>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemplist_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3barnav.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3commands.h"
#include "launcher/ov3hotkeytext.h"
#include "launcher/ov3text.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

namespace {

TKemXmlTag* IconOfItem(const TKemPanelListItem* Item) {
  return Item ? reinterpret_cast<TKemXmlTag*>(Item->GetDataAsInteger()) : nullptr;
}

// Shift, Ctrl and Alt as the keyboard holds them now.
TShiftState ModifierState() {
  TShiftState State;
  if (GetKeyState(VK_SHIFT) < 0) State.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) State.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) State.Include(ssAlt);
  return State;
}

}  // namespace

void TfMain::CreateGroupControls() {
  bsGroups = new TKemButtonSet(this);
  bsGroups->SetName("bsGroups");
  bsGroups->SetParent(this);
  bsGroups->SetAlign(alTop);
  bsGroups->SetAccelModifier(amNone);
  bsGroups->SetSpaceInner(0);
  bsGroups->SetOptions(TKemButtonSetOptions{bsoDragReorder});
  bsGroups->OnChange = [this](TObject*) { bsGroupsChange(); };
  bsGroups->OnReorder = [this](TObject*, int Cur, int New, bool& Can) { bsGroupsReorder(Cur, New, Can); };
  bsGroups->OnReordered = [this](TObject*) { RebuildGroupButtons(); };

  plIcons = new TKemPanelList(this);
  plIcons->SetName("plIcons");
  plIcons->SetParent(pClient);
  plIcons->SetAlign(alClient);
  plIcons->SetStyle(plsListview);
  plIcons->SetItemWidth(64);
  plIcons->SetAccelAction(aaCustom);
  plIcons->SetOptions(
      TKemPanelListOptions{ploNoFocusRect, ploDoubleClicks, ploRightClicks, ploDragReorder, ploNoWheelScrollBars});
  plIcons->SetSpaceTop(8);
  plIcons->SetSpaceBottom(8);
  plIcons->SetSpaceVert(8);
  plIcons->SetSpaceHorz(8);
  plIcons->SetSpaceLeft(0);
  plIcons->SetSpaceRight(0);
  plIcons->SetButtonSet(bsGroups);
  plIcons->OnClick = [this](TObject*) { plIconsClick(); };
  plIcons->OnDblClick = [this](TObject*) { plIconsDblClick(); };
  plIcons->OnKeyPress = [this](TObject*, WideChar& Key) { plIconsKeyPress(Key); };
  plIcons->OnAccelerator = [this](TObject*, int Index, int Count) { plIconsAccelerator(Index, Count); };
  plIcons->OnChange = [this](TObject*) { UpdateActionStates(); };
  plIcons->OnReorder = [this](TObject*, int Cur, int New) { plIconsReorder(Cur, New); };
  plIcons->OnCanDropIcon = [this](TObject*, int, int But, bool& Can) {
    Can = But != bsGroups->PageIndex() && But >= 0 && But < static_cast<int>(FGroupList.size());
  };
  plIcons->OnDropIcon = [this](TObject*, int Idx, int But) { plIconsDropIcon(Idx, But); };

  OnMouseWheelUp = [this](TObject*, TShiftState Shift, TPoint, bool& Handled) {
    Handled = FormMouseWheel(Shift, true);
  };
  OnMouseWheelDown = [this](TObject*, TShiftState Shift, TPoint, bool& Handled) {
    Handled = FormMouseWheel(Shift, false);
  };
}

int TfMain::CurrentGroupIndex() const { return bsGroups ? bsGroups->PageIndex() : -1; }

TKemXmlTag* TfMain::CurrentGroup() const { return GroupAt(FGroupList, CurrentGroupIndex()); }

void TfMain::SelectGroup(int Index) {
  bsGroups->SetPageIndex(Index);
  bsGroupsChange();
}

void TfMain::RebuildGroupButtons() {
  std::vector<String> Titles;
  Titles.reserve(FGroupList.size());
  for (const TKemXmlTag* Group : FGroupList) Titles.push_back(Group->ReadAttr("title"));
  if (cfgGetBool(ovsGroupsAutoAccel)) AssignAutoAccelerators(Titles);
  std::vector<WideString> Captions;
  Captions.reserve(Titles.size());
  for (const String& Title : Titles) Captions.push_back(Utf8ToWide(Title));
  bsGroups->SetPageCaptions(Captions);
  bsGroups->Rebuild();
}

// Idempotent: the button set may report one click twice.
void TfMain::bsGroupsChange() {
  plIcons->Clear();
  if (TKemXmlTag* Group = CurrentGroup())
    for (TKemXmlTag* Icon : ListIcons(Group)) AddIconItem(Icon);
  RefreshIconCaptions(true);
  UpdateActionStates();
}

void TfMain::AddIconItem(TKemXmlTag* Icon) {
  // The picture is the icon cache's, with its own alpha ("unknown" when it has none).
  TBitmap* picture = FIconCache ? FIconCache->GetIconBitmap(*Icon) : nullptr;
  plIcons->AddItem(WideString(), Variant(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(Icon))), picture,
                   nullptr, picture != nullptr);
}

void TfMain::ShowIconPictures(const std::vector<TKemXmlTag*>& Icons) {
  if (Icons.empty() || !FIconCache) return;
  for (int I = 0; I < plIcons->Count(); ++I) {
    TKemPanelListItem* Item = plIcons->Items(I);
    TKemXmlTag* Icon = IconOfItem(Item);
    if (!Icon || std::find(Icons.begin(), Icons.end(), Icon) == Icons.end()) continue;
    Item->Bitmap = FIconCache->GetIconBitmap(*Icon);
    Item->AlphaChannel = Item->Bitmap != nullptr;
  }
  plIcons->Invalidate();
}

void TfMain::RefreshIconCaptions(bool Rebuild) {
  std::vector<String> Titles;
  Titles.reserve(plIcons->Count());
  for (int I = 0; I < plIcons->Count(); ++I) {
    const TKemXmlTag* Icon = IconOfItem(plIcons->Items(I));
    Titles.push_back(Icon ? Icon->ReadAttr("title") : String());
  }
  if (cfgGetBool(ovsIconsAutoAccel)) AssignAutoAccelerators(Titles);
  for (int I = 0; I < plIcons->Count(); ++I) plIcons->Items(I)->SetCaption(Utf8ToWide(Titles[I]));
  if (Rebuild) plIcons->Rebuild();
}

bool TfMain::IsCurrentGroupIcons(const TKemXmlTag* Element) const {
  TKemXmlTag* Group = CurrentGroup();
  return Group && Element && GroupIcons(Group) == Element;
}

TKemXmlTag* TfMain::SelectedIcon() const { return plIcons ? IconOfItem(plIcons->SelectedItem()) : nullptr; }

void TfMain::RunIconPanelStep(const TIconPanelStep& Step, int Index) {
  if (Step.CloseHint) CloseBarHint();
  if (Index < 0 || Index >= plIcons->Count()) return;
  switch (Step.Command) {
    case ipcLaunch: {
      TKemXmlTag* Icon = IconOfItem(plIcons->Items(Index));
      plIcons->SetItemIndex(-1);
      LaunchIcon(Icon);
      break;
    }
    case ipcClearSelection:
      plIcons->SetItemIndex(-1);
      break;
    case ipcSelect:
      plIcons->SetItemIndex(Index);
      break;
    case ipcNone:
      break;
  }
}

void TfMain::plIconsClick() {
  RunIconPanelStep(IconClickStep(false, cfgGetBool(ovsSingleClick), SelectedIcon() != nullptr), plIcons->ItemIndex());
}

void TfMain::plIconsDblClick() {
  RunIconPanelStep(IconClickStep(true, cfgGetBool(ovsSingleClick), SelectedIcon() != nullptr), plIcons->ItemIndex());
}

void TfMain::plIconsKeyPress(WideChar& Key) {
  const TIconPanelStep Step = IconKeyPressStep(Key, ModifierState(), SelectedIcon() != nullptr);
  if (Step.ConsumeKey) Key = 0;
  RunIconPanelStep(Step, plIcons->ItemIndex());
}

void TfMain::plIconsAccelerator(int Index, int Count) { RunIconPanelStep(IconAcceleratorStep(Count), Index); }

void TfMain::plIconsReorder(int CurIdx, int NewIdx) {
  if (!MoveIcon(CurrentGroup(), CurIdx, NewIdx)) return;
  RefreshIconCaptions(true);
  RebuildHotkeys();
  SaveContents();
}

void TfMain::plIconsDropIcon(int Idx, int ButIdx) {
  if (!MoveIconToGroup(CurrentGroup(), Idx, GroupAt(FGroupList, ButIdx))) return;
  plIcons->Delete(Idx);
  RebuildHotkeys();
  SaveContents();
}

void TfMain::bsGroupsReorder(int CurIdx, int NewIdx, bool& CanReorder) {
  CanReorder = ExchangeGroups(FGroupList, CurIdx, NewIdx);
  if (!CanReorder || CurIdx == NewIdx) return;
  RebuildHotkeys();
  SaveContents();
}

bool TfMain::GroupKeyDown(std::uint16_t& Key, TShiftState Shift) {
  const int Target = GroupKeyTarget(TOvBarKey{Key, BarShiftMask(Shift)}, FPrevGroupKey, FNextGroupKey,
                                    CurrentGroupIndex(), static_cast<int>(FGroupList.size()));
  if (Target < 0) return false;
  Key = 0;
  // Under a running icon drag the panel must keep its group: the drop names an icon of it.
  if (!plIcons->Dragging()) SelectGroup(Target);
  return true;
}

bool TfMain::FormMouseWheel(TShiftState Shift, bool Up) {
  // Neither the group nor the selection may change under a running icon drag.
  if (plIcons->Dragging()) return true;
  const TWheelScrolls Scrolls = WheelScrolls(cfgGetInt(ovsWheelScroll), cfgGetInt(ovsWheelToggle), Shift);
  if (Scrolls == wsNothing) return false;
  const int Step = WheelStep(Up, bsGroups->Direction() == bsdVerticalDown);
  if (Scrolls == wsGroups) {
    const int Target =
        WheelTarget(CurrentGroupIndex(), Step, static_cast<int>(FGroupList.size()), cfgGetBool(ovsWheelWrapGroups));
    if (Target >= 0) SelectGroup(Target);
  } else {
    const int Target = WheelTarget(plIcons->ItemIndex(), Step, plIcons->Count(), cfgGetBool(ovsWheelWrapIcons));
    if (Target >= 0) plIcons->SetItemIndex(Target);
  }
  return true;
}

bool TfMain::FormDialogChar(WideChar Key, TShiftState Shift) { return BroadcastDialogChar(this, Key, Shift); }

void TfMain::ReadGroupKeys() {
  FPrevGroupKey = ParseBarKey(cfgGetStr(ovsPreviousGroup));
  FNextGroupKey = ParseBarKey(cfgGetStr(ovsNextGroup));
}
