// The launch chooser: a list of the icons of one hotkey.
#include "launcher/launchlist_win.h"

#include <algorithm>
#include <memory>

#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/framework/kemutil_win.h"
#include "kem3/framework/kemxml.h"
#include "launcher/ov3hotkeys.h"
#include "platform/screen_win.h"
#include "platform/unicode_convert.h"

namespace {

constexpr int kListWidth = 300;
constexpr int kSpace = 8;

}  // namespace

TdLaunchList::TdLaunchList(TComponent* AOwner) : TForm(AOwner) {
  SetName("dLaunchList");
  SetBorderStyle(bsNone);
  SetKeyPreview(true);
  plLaunch = new TKemPanelList(this);
  plLaunch->SetName("plLaunch");
  plLaunch->SetParent(this);
  plLaunch->SetStyle(plsListview);
  plLaunch->SetOptions(TKemPanelListOptions{ploListviewIconLeft, ploDoubleClicks, ploListviewArrangeVert,
                                            ploListviewScrollVert, ploDisallowNoSelection});
  plLaunch->SetItemWidth(kListWidth);
  plLaunch->SetSpaceTop(kSpace);
  plLaunch->SetSpaceBottom(kSpace);
  plLaunch->SetSpaceLeft(kSpace);
  plLaunch->SetSpaceRight(kSpace);
  plLaunch->OnDblClick = [this](TObject*) { SetModalResult(mrOk); };
  OnShow = [this](TObject*) { FormShow(); };
  OnHide = [this](TObject*) { FormHide(); };
  OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState) { FormKeyDown(Key); };
  OnKeyUp = [](TObject*, std::uint16_t& Key, TShiftState) { Key = 0; };
  OnKeyPress = [](TObject*, WideChar& Key) { Key = 0; };
  SetMessageHandler(WM_MOUSEHOOK, [this](TMessage& M) { HandleHookMessage(M); });
  SetMessageHandler(WM_ERASEBKGND, [](TMessage& M) { M.Result = 1; });
}

TdLaunchList::~TdLaunchList() {
  if (FHookInstalled) mhRemoveHook(Handle());
}

void TdLaunchList::Fill(const std::vector<TKemXmlTag*>& Icons) {
  for (TKemXmlTag* Icon : Icons)
    plLaunch->AddItem(Utf8ToWide(Icon->ReadAttr("title")),
                      Variant(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(Icon))), nullptr, nullptr,
                      false);
}

TKemXmlTag* TdLaunchList::Selected() const {
  const TKemPanelListItem* Item = plLaunch->SelectedItem();
  return Item ? reinterpret_cast<TKemXmlTag*>(Item->GetDataAsInteger()) : nullptr;
}

void TdLaunchList::FormShow() {
  // Whole rows, as many as the work area holds; the rest scroll.
  const TRect Work = Screen->WorkAreaRect();
  const int ItemHeight = std::max(plLaunch->ItemHeight(), 1);
  const int ListHeight = ChooserListHeight(plLaunch->Count(), ItemHeight, Work.Height() - 2 * kSpace) + 2 * kSpace;
  const int W = kListWidth + 2 * kSpace;
  SetBounds(Work.Left + (Work.Width() - W) / 2, Work.Top + (Work.Height() - ListHeight) / 2, W, ListHeight);
  plLaunch->SetBounds(0, 0, W, ListHeight);
  plLaunch->SetItemIndex(0);
  // Clicks outside the chooser close it: the mouse hook reports them.
  try {
    mhInstallHook(Handle());
    FHookInstalled = true;
    mhSetArea(Handle(), 0, 0, 1, Left(), Top(), Left() + Width(), Top() + Height());
  } catch (const Exception&) {
  }
  ForceForegroundWindow(Handle());
}

void TdLaunchList::FormHide() {
  if (FHookInstalled) mhRemoveHook(Handle());
  FHookInstalled = false;
}

void TdLaunchList::FormKeyDown(std::uint16_t& Key) {
  int Index = plLaunch->ItemIndex();
  switch (ChooserKeyDown(Key, plLaunch->Count(), Index)) {
    case ckrOk:
      SetModalResult(mrOk);
      break;
    case ckrMove:
      plLaunch->SetItemIndex(Index);
      break;
    case ckrCancel:
      SetModalResult(mrCancel);
      break;
    case ckrNone:
      break;
  }
  Key = 0;
}

void TdLaunchList::HandleHookMessage(TMessage& Message) {
  Message.Result = 0;
  const int Kind = HookEventKind(Message.WParam);
  if ((Kind == hekLeftDown || Kind == hekRightDown || Kind == hekMiddleDown) && static_cast<int>(Message.LParam) < 0)
    SetModalResult(mrCancel);
}

TKemXmlTag* ChooseLaunchIcon(const std::vector<TKemXmlTag*>& Icons, TComponent* Owner) {
  std::unique_ptr<TdLaunchList> List(new TdLaunchList(Owner));
  List->Fill(Icons);
  return List->ShowModal() == mrOk ? List->Selected() : nullptr;
}
