// The browser's network listing: the servers of the checked workgroups, a
// server's shares, and the menu of the workgroups seen, which chooses the
// workgroups listed. The network's workers report to this part, which hands
// the list's calls on to the dialog's model and keeps the rest to itself.
#include "kem3/browser/kembrowser_win.h"

#include "kem3/browser/kembrowser_network.h"
#include "kem3/browser/kemfldnt.h"
#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemlview_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemsysinfo.h"
#include "platform/format.h"
#include "platform/menus_win.h"
#include "platform/sysutils.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"

namespace {
WideString SharesOfText() { return Translate("TdBrowser_NetworkOn", u"Shares of %s"); }

// The share finder's texts, each with its English one where a language lacks it.
TBrowserTexts ShareTexts() {
  TBrowserTexts t = BrowserTexts();
  t.NetworkOn = SharesOfText();
  t.NoSharesCaption = Translate("TdBrowser_Msg_NoShares_Caption", u"No shares");
  t.NoSharesBody = Translate("TdBrowser_Msg_NoShares_Body", u"This computer shares no folders with you.");
  t.ConFailCaption = Translate("TdBrowser_Msg_ConFail_Caption", u"No connection");
  t.ConFailBody = Translate("TdBrowser_Msg_ConFail_Body", u"The computer could not be reached.");
  return t;
}
}  // namespace

class TBrowserNetworkPart : public TdBrowser::TPart, public TBrowserListSink {
 public:
  explicit TBrowserNetworkPart(TdBrowser& Browser);

  void LanguageUpdated() override;

  // The list's calls go on to the model.
  void BeginListing() override { B.FModel.BeginListing(); }
  void QueueEntry(int Index, const WideString& Name, bool Selected, std::unique_ptr<TListItemData> Data,
                  int ImageIndex) override {
    B.FModel.QueueEntry(Index, Name, Selected, std::move(Data), ImageIndex);
  }
  void EndListing() override { B.FModel.EndListing(); }
  void StartColumnFilling(const WideString& FolderPath) override { B.FModel.StartColumnFilling(FolderPath); }
  void ColumnFillingBegun() override { B.FModel.ColumnFillingBegun(); }
  void ColumnFillingEnded() override { B.FModel.ColumnFillingEnded(); }
  void RefreshColumns(int Index) override { B.FModel.RefreshColumns(Index); }
  TBrowserPreview* CurrentPreview() override { return B.FModel.CurrentPreview(); }

  void MarkWorkgroupsUnseen() override { FUnseen = WorkgroupItems(); }
  void SeeWorkgroup(const WideString& Name, bool Current) override;
  void DropUnseenWorkgroups() override;
  void ShowShares(const WideString& PathText) override;
  bool ShowsServer(const WideString& Server) override;
  bool PostShareMessage(const WideString& Server, const WideString& Caption, const WideString& Body) override;

  bool ShowPlace(const String& Folder, const String& Select);
  bool SetColumns();
  TPopupMenu* Menu() const { return FMenu; }
  TBrowserSystem* System = nullptr;  // null: the real one

 private:
  TBrowserSystem& NetSystem() { return System ? *System : SystemBrowserSystem(); }
  void ListServers(const String& Select);
  void ListShares(const String& Server, const String& Select);
  void ShowPath();
  std::vector<TMenuItem*> WorkgroupItems() const;
  void WorkgroupClicked(TMenuItem* Item);
  void ShowPendingMessage();

  TdBrowser& B;
  TPopupMenu* FMenu;
  TMenuItem* FNone;  // stands in the menu while no workgroup was seen
  std::vector<TMenuItem*> FUnseen;
  // The server being opened and the listing that opened it: its outcome is
  // shown only while no other listing followed.
  WideString FOpening;
  String FOwn;  // the computer's workgroup, read once
  bool FOwnRead = false;
  unsigned FListings = 0, FOpeningListing = 0;
  struct {
    WideString Server, Caption, Body;
    bool Pending = false;
  } FMessage;
  TTimer* FMessageTimer;
};

TBrowserNetworkPart::TBrowserNetworkPart(TdBrowser& Browser) : B(Browser) {
  FMenu = new TPopupMenu(&B);
  FNone = new TMenuItem(FMenu);
  FNone->SetEnabled(false);
  FMenu->Items()->Add(FNone);
  FMessageTimer = new TTimer(&B);
  FMessageTimer->SetEnabled(false);
  FMessageTimer->SetInterval(10);
  FMessageTimer->OnTimer = [this](TObject*) { ShowPendingMessage(); };
  LanguageUpdated();
}

void TBrowserNetworkPart::LanguageUpdated() {
  FNone->SetCaption(Translate("TdBrowser_NoWorkgroups", u"(no workgroup found)"));
  ShowPath();
}

void TBrowserNetworkPart::ShowPath() {
  const TBrowserNetPlace place = BrowserNetworkPlace(B.FFolder);
  if (place.Kind == bnkNetwork)
    B.ePath->SetText(Translate("TdBrowser_Network", u"Network"));
  else if (place.Kind == bnkServer)
    B.ePath->SetText(WideFormatOrError(SharesOfText(), {Utf8ToWide(place.Server)}));
}

bool TBrowserNetworkPart::ShowPlace(const String& Folder, const String& Select) {
  ++FListings;
  B.FWorkers.Cancel(bwServers);
  B.FWorkers.Cancel(bwShares);
  const TBrowserNetPlace place = BrowserNetworkPlace(Folder);
  if (place.Kind != bnkNetwork && place.Kind != bnkServer) return false;
  for (TBrowserWorkerKind kind : {bwFiles, bwColumns, bwDrives}) B.FWorkers.Cancel(kind);
  B.FMonitor->SetActive(false);
  if (place.Kind == bnkNetwork)
    ListServers(Select);
  else
    ListShares(place.Server, Select);
  return true;
}

void TBrowserNetworkPart::ListServers(const String& Select) {
  B.FFolder = "\\\\";
  ShowPath();
  B.SetColumns(true);
  // Until the user chooses, the computer's own workgroup is listed.
  if (!FOwnRead) FOwn = GetWorkgroupName();
  FOwnRead = true;
  const String& own = FOwn;
  if (B.FState.Workgroups.empty() && !own.empty()) B.FState.Workgroups.push_back(own);
  for (TMenuItem* item : WorkgroupItems())
    item->SetChecked(BrowserWorkgroupChecked(B.FState.Workgroups, WideToUtf8(item->Caption())));
  auto finder = std::make_unique<TtServerFinder>(B.FWorkers.Reference(bwServers), *this, NetSystem());
  finder->Workgroup = Utf8ToWide(own);
  finder->CheckedWorkgroups = Utf8ToWide(BrowserWorkgroupList(B.FState.Workgroups));
  finder->SelectName = Utf8ToWide(Select);
  B.FWorkers.Start(std::move(finder));
}

// The list stays as it is until the first share comes (ShowShares).
void TBrowserNetworkPart::ListShares(const String& Server, const String& Select) {
  FOpening = Utf8ToWide(Server);
  FOpeningListing = FListings;
  auto finder = std::make_unique<TtShareFinder>(B.FWorkers.Reference(bwShares), *this, NetSystem());
  finder->Server = FOpening;
  finder->SelectName = Utf8ToWide(Select);
  finder->Texts = ShareTexts();
  B.FWorkers.Start(std::move(finder));
}

void TBrowserNetworkPart::ShowShares(const WideString& PathText) {
  B.FFolder = "\\\\" + WideToUtf8(FOpening) + "\\";
  B.ePath->SetText(PathText);
  B.SetColumns(true);
}

bool TBrowserNetworkPart::ShowsServer(const WideString& Server) {
  if (FOpeningListing != FListings || !WideSameText(Server, FOpening) || !B.Visible()) return false;
  if (BrowserNetworkPlace(B.FFolder).Kind != bnkNetwork) return true;
  const int index = B.FModel.SelectedIndex();
  return index < 0 || WideSameText(B.FModel.Entry(index).Name, Server);
}

bool TBrowserNetworkPart::PostShareMessage(const WideString& Server, const WideString& Caption,
                                           const WideString& Body) {
  FMessage = {Server, Caption, Body, true};
  FMessageTimer->SetEnabled(true);
  return true;
}

// From the dialog's message loop, outside every worker's call and lock: the
// box runs a loop of its own.
void TBrowserNetworkPart::ShowPendingMessage() {
  FMessageTimer->SetEnabled(false);
  if (!FMessage.Pending) return;
  FMessage.Pending = false;
  if (ShowsServer(FMessage.Server)) ShowBrowserMessage(FMessage.Caption, FMessage.Body);
}

bool TBrowserNetworkPart::SetColumns() {
  const TBrowserNetKind kind = BrowserNetworkPlace(B.FFolder).Kind;
  if (kind != bnkNetwork && kind != bnkServer) return false;
  struct TColumn {
    WideString Caption;
    int Width;
    TBrowserColumnKind Kind;
  };
  std::vector<TColumn> shown{{Translate("TdBrowser_ColName", u"Name"), 180, bckText}};
  if (kind == bnkNetwork) {
    shown.push_back({Translate("TdBrowser_ColWorkgroup", u"Workgroup"), 110, bckText});
    shown.push_back({Translate("TdBrowser_ColComment", u"Comment"), 200, bckText});
  } else {
    shown.push_back({Translate("TdBrowser_ColTotal", u"Total size"), 80, bckTotal});
    shown.push_back({Translate("TdBrowser_ColFree", u"Free space"), 80, bckFree});
  }
  TKemListView& list = *B.lvFiles;
  while (list.ColumnCount() < static_cast<int>(shown.size())) list.AddColumn();
  std::vector<TBrowserColumnKind> kinds;
  for (int i = 0; i < list.ColumnCount(); ++i) {
    const bool used = i < static_cast<int>(shown.size());
    list.Columns(i)->SetCaption(used ? shown[i].Caption : WideString());
    list.Columns(i)->SetWidth(used ? shown[i].Width : 0);
    if (used && i > 0) kinds.push_back(shown[i].Kind);
  }
  B.FModel.SetColumns(std::move(kinds));
  // The widths are the network's own: whatever shows next sets its own, and
  // closing here keeps no widths for the files.
  B.FDrives = true;
  B.FResetWidths = true;
  return true;
}

std::vector<TMenuItem*> TBrowserNetworkPart::WorkgroupItems() const {
  std::vector<TMenuItem*> items;
  for (int i = 0; i < FMenu->Items()->Count(); ++i)
    if (FMenu->Items()->Items(i) != FNone) items.push_back(FMenu->Items()->Items(i));
  return items;
}

// The own workgroup is checked through the list itself (ListServers).
void TBrowserNetworkPart::SeeWorkgroup(const WideString& Name, bool /*Current*/) {
  for (TMenuItem* item : WorkgroupItems())
    if (WideSameText(item->Caption(), Name)) {
      std::erase(FUnseen, item);
      return;
    }
  auto* item = new TMenuItem(FMenu);
  item->SetCaption(Name);
  item->SetChecked(BrowserWorkgroupChecked(B.FState.Workgroups, WideToUtf8(Name)));
  item->OnClick = [this, item](TObject*) { WorkgroupClicked(item); };
  FMenu->Items()->Insert(FNone->MenuIndex(), item);
  FNone->SetVisible(false);
}

void TBrowserNetworkPart::DropUnseenWorkgroups() {
  for (TMenuItem* item : FUnseen) FMenu->Items()->Delete(item->MenuIndex());
  FUnseen.clear();
  FNone->SetVisible(WorkgroupItems().empty());
}

void TBrowserNetworkPart::WorkgroupClicked(TMenuItem* Item) {
  BrowserToggleWorkgroup(B.FState.Workgroups, WideToUtf8(Item->Caption()));
  Item->SetChecked(BrowserWorkgroupChecked(B.FState.Workgroups, WideToUtf8(Item->Caption())));
  B.ShowNetwork();
}

// ---- The dialog's side

void TdBrowser::CreateNetwork() { FNetworkPart = std::make_unique<TBrowserNetworkPart>(*this); }

void TdBrowser::ShowNetwork() { ShowFolder("\\\\", String()); }

TPopupMenu* TdBrowser::WorkgroupMenu() {
  return FNetworkPart ? static_cast<TBrowserNetworkPart&>(*FNetworkPart).Menu() : nullptr;
}

void TdBrowser::SetNetworkSystem(TBrowserSystem* System) {
  static_cast<TBrowserNetworkPart&>(*FNetworkPart).System = System;
}

bool TdBrowser::ShowNetworkPlace(const String& Folder, const String& Select) {
  return FNetworkPart && static_cast<TBrowserNetworkPart&>(*FNetworkPart).ShowPlace(Folder, Select);
}

bool TdBrowser::SetNetworkColumns() {
  return FNetworkPart && static_cast<TBrowserNetworkPart&>(*FNetworkPart).SetColumns();
}
