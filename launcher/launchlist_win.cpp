// The launch chooser: a list of the icons of one hotkey.
#include "launcher/launchlist_win.h"

#include <algorithm>
#include <memory>

#include "kem3/controls/kemplist_win.h"
#include "kem3/controls/vosskinner_win.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/framework/kemutil_win.h"
#include "kem3/framework/kemxml.h"
#include "kem3/graphics/vosskinlist.h"
#include "launcher/ov3hotkeys.h"
#include "launcher/ov3iconcache.h"
#include "platform/screen_win.h"
#include "platform/unicode_convert.h"

namespace {

constexpr int kListWidth = 300;
constexpr int kSpace = 8;
// The skin's window record of the chooser.
constexpr const char* kListWindow = "list";

// One cache slot of the skin serves every chooser: they come and go, and the
// skin keeps a slot's textures for as long as it lives.
int ChooserCacheSlot(TVosSkin& Skin) {
  static TVosSkin* SlotSkin = nullptr;
  static int Slot = -1;
  if (SlotSkin != &Skin || Slot < 0 || Slot >= Skin.CacheSlotCount()) {
    SlotSkin = &Skin;
    Slot = Skin.AddCacheSlot();
  }
  return Slot;
}

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
  CreateSkinner();
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

void TdLaunchList::CreateSkinner() {
  TVosSkin* Skin = CurrentSkin();
  const int Window = Skin ? Skin->IndexOfWindow(kListWindow) : -1;
  if (Window < 0) return;
  FSkinner = new TVosFormSkinner(this);
  FSkinner->SetName("skLaunch");
  FSkinner->SetParent(this);
  FSkinner->SetMovable(false);
  FSkinner->SetResizable(false);
  FSkinner->SetWindowIndex(Window);
  FSkinner->SetCacheSlot(ChooserCacheSlot(*Skin));
  FSkinner->SetSkin(Skin);
  FSkinner->AttachControl("client", plLaunch);
  plLaunch->SetFormSkinner(FSkinner);
}

void TdLaunchList::Fill(const std::vector<TKemXmlTag*>& Icons, TIconCache* Cache) {
  for (TKemXmlTag* Icon : Icons) {
    TBitmap* Picture = Cache ? Cache->GetIconBitmap(*Icon) : nullptr;
    plLaunch->AddItem(Utf8ToWide(Icon->ReadAttr("title")),
                      Variant(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(Icon))), Picture, nullptr,
                      Picture != nullptr);
  }
}

TKemXmlTag* TdLaunchList::Selected() const {
  const TKemPanelListItem* Item = plLaunch->SelectedItem();
  return Item ? reinterpret_cast<TKemXmlTag*>(Item->GetDataAsInteger()) : nullptr;
}

void TdLaunchList::FitRows(int Rows, int RowPitch) {
  // What the list takes beyond its items: its border, or the skin's indents.
  const int FrameWidth = plLaunch->Width() - plLaunch->ItemsArea().Width();
  const int FrameHeight = plLaunch->Height() - plLaunch->ItemsArea().Height();
  const int W = kListWidth + 2 * kSpace + FrameWidth;
  const int H = std::max(Rows * RowPitch - plLaunch->SpaceVert(), 1) + 2 * kSpace + FrameHeight;
  if (FSkinner) {
    // The skin's margins around its "client" slot come on top.
    FSkinner->FitFormToSlot("client", W, H);
    FSkinner->UpdateLayout(FSkinner->Width(), FSkinner->Height());
  } else {
    SetClientSize(W, H);
    plLaunch->SetBounds(0, 0, W, H);
  }
}

void TdLaunchList::FormShow() {
  // Every row as tall as the tallest item: a picture beside one line of text.
  int RowHeight = 1;
  for (int i = 0; i < plLaunch->Count(); ++i) {
    TRect R;
    plLaunch->MeasureItem(i, R);
    RowHeight = std::max(RowHeight, R.Height());
  }
  plLaunch->SetItemHeight(RowHeight);
  const int Pitch = RowHeight + plLaunch->SpaceVert();
  FitRows(plLaunch->Count(), Pitch);
  // Whole rows, as many as the work area holds; the rest scroll.
  const TRect Work = Screen->WorkAreaRect();
  if (Height() > Work.Height()) {
    const int Available = plLaunch->Height() - (Height() - Work.Height()) + plLaunch->SpaceVert();
    FitRows(ChooserListHeight(plLaunch->Count(), Pitch, Available) / Pitch, Pitch);
  }
  SetBounds(Work.Left + (Work.Width() - Width()) / 2, Work.Top + (Work.Height() - Height()) / 2, Width(), Height());
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

TKemXmlTag* ChooseLaunchIcon(const std::vector<TKemXmlTag*>& Icons, TIconCache* Cache, TComponent* Owner) {
  std::unique_ptr<TdLaunchList> List(new TdLaunchList(Owner));
  List->Fill(Icons, Cache);
  return List->ShowModal() == mrOk ? List->Selected() : nullptr;
}
