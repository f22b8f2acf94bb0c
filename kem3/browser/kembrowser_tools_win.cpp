// The browser's toolbar: the actions of group 100000, the buttons built from
// them in the top panel beside the path, and their pictures.
#include <algorithm>

#include "kem3/browser/kembrowser_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/framework/kemactinfo.h"

#include "kem3/browser/kembrowser_network.h"
#include "kem3/framework/kemlan.h"
#include "platform/imglist.h"
#include "platform/menus_win.h"
#include "platform/toolbar_win.h"

namespace {

enum : int {
  btUp = BrowserToolGroup,
  btRefresh,
  btDrives,
  btNetwork,
  btFavourites,
  btAddFavourite,
  btRemoveFavourite,
  btSearchPage,
  btStartSearch,
  btStopSearch
};

// Drop-down buttons name their menu by its place in the list FillToolbar gets.
enum : int { bmWorkgroups, bmFavourites };

// The buttons in order; "-" a gap between groups of them.
constexpr char kToolIds[] = "100000,100001,100002,-,100003,100004,100005,100006,-,100007,100008,100009";

struct TToolText {
  int Id;
  const char *CaptionName, *HintName;
  const char16_t *Caption, *Hint;
};

const TToolText kToolTexts[] = {
    {btUp, "TdBrowser_Up", "TdBrowser_ToolUpHint", u"Up", u"Shows the folder that holds this one"},
    {btRefresh, "TdBrowser_ToolRefresh", "TdBrowser_ToolRefreshHint", u"Refresh", u"Lists the shown folder again"},
    {btDrives, "TdBrowser_ToolDrives", "TdBrowser_ToolDrivesHint", u"Drives", u"Shows the drives"},
    {btNetwork, "TdBrowser_ToolNetwork", "TdBrowser_ToolNetworkHint", u"Network",
     u"Shows the computers of the checked workgroups"},
    {btFavourites, "TdBrowser_ToolFavourites", "TdBrowser_ToolFavouritesHint", u"Favourites",
     u"Opens one of your favourite folders"},
    {btAddFavourite, "TdBrowser_ToolAddFavourite", "TdBrowser_ToolAddFavouriteHint", u"Add to favourites",
     u"Adds the shown folder to your favourites"},
    {btRemoveFavourite, "TdBrowser_ToolRemoveFavourite", "TdBrowser_ToolRemoveFavouriteHint", u"Remove from favourites",
     u"Removes the shown folder from your favourites"},
    {btSearchPage, "TdBrowser_ToolSearchPage", "TdBrowser_ToolSearchPageHint", u"Search", u"Shows the search page"},
    {btStartSearch, "TdBrowser_ToolStartSearch", "TdBrowser_ToolStartSearchHint", u"Start search",
     u"Searches the shown folder and its subfolders"},
    {btStopSearch, "TdBrowser_ToolStopSearch", "TdBrowser_ToolStopSearchHint", u"Stop search",
     u"Stops the search that runs"},
};

// The group's descriptions, once per process (again after the register was freed).
void RegisterBrowserActions() {
  if (const TActionInfo* info = FindActionInfo(btUp); info && info->Group == BrowserToolGroup) return;
  std::vector<Variant> values;
  for (const TToolText& text : kToolTexts) {
    const int style = text.Id == btNetwork ? bmWorkgroups : text.Id == btFavourites ? bmFavourites : tsPlain;
    for (Variant value : {Variant(text.Id), Variant(WideString(text.Caption)), Variant(WideString(text.Hint)),
                          Variant(style), Variant(text.Id == btRefresh ? "F5" : "")})
      values.push_back(std::move(value));
  }
  RegisterActionInfos(BrowserToolGroup, 5, values);
}

}  // namespace

// The toolbar's controls and the pictures it draws with when the main window
// handed over none.
struct TBrowserToolbarPart : TdBrowser::TPart {
  explicit TBrowserToolbarPart(TdBrowser& Browser);
  void LanguageUpdated() override;
  void Layout() override;
  void Build();

  TdBrowser& Browser;
  TToolBar* Bar = nullptr;
  std::unique_ptr<TImageList> OwnImages;
};

TBrowserToolbarPart::TBrowserToolbarPart(TdBrowser& B) : Browser(B) {
  RegisterBrowserActions();
  // The pictures first: the actions take their places from the descriptions.
  OwnImages = std::make_unique<TImageList>(nullptr);
  LoadActionImages(*OwnImages, clFuchsia, true);
  Browser.CreateActions(BrowserToolGroup);
  Bar = new TToolBar(&Browser);
  Bar->SetParent(Browser.pTop);
  Bar->SetShowHint(true);
  Bar->SetImages(OwnImages.get());

  const auto command = [this](int Id, void (TdBrowser::*Run)()) {
    Browser.FindAction(Id)->OnExecute = [this, Run](TObject*) { (Browser.*Run)(); };
  };
  command(btUp, &TdBrowser::GoUp);
  command(btRefresh, &TdBrowser::RefreshFolder);
  command(btDrives, &TdBrowser::ShowDrives);
  command(btNetwork, &TdBrowser::ShowNetwork);
  command(btAddFavourite, &TdBrowser::AddFavourite);
  command(btRemoveFavourite, &TdBrowser::RemoveFavourite);
  command(btSearchPage, &TdBrowser::ShowSearchPage);
  command(btStartSearch, &TdBrowser::StartSearch);
  command(btStopSearch, &TdBrowser::StopSearch);
  // The favourites are a menu only: the button opens it as its arrow does.
  Browser.FindAction(btFavourites)->OnExecute = [this](TObject*) {
    TPopupMenu* menu = Browser.FavouritesMenu();
    for (int i = 0; menu && i < Bar->ButtonCount(); ++i) {
      TToolButton* button = Bar->Buttons(i);
      if (button->Action() != Browser.FindAction(btFavourites)) continue;
      const TPoint below = button->ClientToScreen(Point(0, button->Height()));
      menu->SetPopupComponent(button);
      menu->Popup(below.X, below.Y);
    }
  };

  // What a command needs: a folder to go up from or to keep; a search to stop.
  const auto when = [this](int Id, bool (*Enabled)(TdBrowser&)) {
    Browser.FindAction(Id)->OnUpdate = [this, Id, Enabled](TObject*) {
      Browser.FindAction(Id)->SetEnabled(Enabled(Browser));
    };
  };
  when(btUp, [](TdBrowser& D) { return !D.Folder().empty(); });
  // The network and a server's list of shares are no folders to come back to.
  when(btAddFavourite, [](TdBrowser& D) {
    const TBrowserNetKind kind = BrowserNetworkPlace(D.Folder()).Kind;
    return !D.Folder().empty() && kind != bnkNetwork && kind != bnkServer;
  });
  when(btStartSearch, [](TdBrowser& D) { return !D.Searching(); });
  when(btStopSearch, [](TdBrowser& D) { return D.Searching(); });
  Build();
}

void TBrowserToolbarPart::Build() {
  // The other parts make their menus after this one: the drop-downs take
  // them when the panels are laid out.
  Browser.BuildToolbar(kToolIds, Bar, {Browser.WorkgroupMenu(), Browser.FavouritesMenu()});
}

void TBrowserToolbarPart::LanguageUpdated() {
  for (const TToolText& text : kToolTexts) {
    TKemAction* action = Browser.FindAction(text.Id);
    const WideString caption = Translate(text.CaptionName, text.Caption);
    action->SetCaption(caption);
    action->SetHint(caption + u"|" + Translate(text.HintName, text.Hint));
  }
}

void TBrowserToolbarPart::Layout() {
  for (int i = 0; i < Bar->ButtonCount(); ++i) {
    TToolButton* button = Bar->Buttons(i);
    if (button->Style() != tbsDropDown || button->DropdownMenu()) continue;
    Build();
    break;
  }
  constexpr int kGap = 4, kEditHeight = 21;
  const int height = Browser.pTop->ClientHeight();
  Bar->SetBounds(kGap, 2, Bar->Width(), height - 4);
  const int left = Bar->Left() + Bar->Width() + kGap;
  Browser.ePath->SetBounds(left, (height - kEditHeight) / 2,
                           std::max(Browser.pTop->ClientWidth() - left - 2 * kGap, 20), kEditHeight);
}

void TdBrowser::CreateToolbar() { FToolbarPart = std::make_unique<TBrowserToolbarPart>(*this); }

void TdBrowser::SetToolImages(TImageList* Images) {
  auto& part = static_cast<TBrowserToolbarPart&>(*FToolbarPart);
  if (!Images) return;
  // The main window filled its list from the register: the pictures' places
  // are the descriptions' now.
  for (const TToolText& text : kToolTexts)
    if (const TActionInfo* info = FindActionInfo(text.Id)) FindAction(text.Id)->SetImageIndex(info->ImageIndex);
  part.Bar->SetImages(Images);
  part.OwnImages.reset();
  part.Build();
  LayoutPanels();
}
