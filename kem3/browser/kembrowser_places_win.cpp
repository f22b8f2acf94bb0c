// The browser's named places and favourites: a pane on the left with the
// process's places and then the favourites (a click opens one), the
// favourites menu, and the pane's width kept between uses.
#include "kem3/browser/kembrowser_win.h"

#include "platform/winapi_win.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "kem3/browser/kembrowser_icons_win.h"
#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/browser/kembrowser_places.h"
#include "kem3/controls/kemlview_win.h"
#include "kem3/controls/kemsplit_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "platform/files.h"
#include "platform/menus_win.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

constexpr int kRowHeight = 22, kPicture = 16, kGap = 4;

// A place's caption as stored: a language text of its own, else itself.
WideString PlaceCaption(const TBrowserPlaceRow& Row) {
  const WideString caption = Utf8ToWide(Row.Caption);
  return Row.Favourite ? caption : Translate("TdBrowser_Place_" + Row.Caption, caption);
}

// The places, then (under their heading) the favourites, one row each; a
// click on a row with a folder opens it.
class TPlacesPane : public TCustomControl {
 public:
  explicit TPlacesPane(TComponent* AOwner) : TCustomControl(AOwner) {
    SetName("pPlaces");
    SetColor(clWindow);
  }

  // A heading row has no folder.
  void SetRows(const std::vector<TBrowserPlaceRow>& Places) {
    FRows.clear();
    FPictures.clear();
    bool heading = false;
    for (const TBrowserPlaceRow& row : Places) {
      if (row.Favourite && !heading) {
        heading = true;
        FRows.emplace_back();
        FPictures.push_back(-1);
      }
      FRows.push_back(row);
      FPictures.push_back(Picture(row.Favourite ? String(BrowserIconFavourite) : row.Image));
    }
    FTop = std::clamp(FTop, 0, std::max(static_cast<int>(FRows.size()) - 1, 0));
    FHot = -1;
    Invalidate();
  }

  std::function<void(const String& Folder)> OnOpen;

 protected:
  void Paint() override {
    TCanvas& canvas = *Canvas();
    canvas.SetFont(*Font());
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(ClientRect());
    const int width = ClientWidth();
    for (int i = FTop; i < static_cast<int>(FRows.size()); ++i) {
      const TBrowserPlaceRow& row = FRows[i];
      const TRect r(0, (i - FTop) * kRowHeight, width, (i - FTop + 1) * kRowHeight);
      const bool heading = row.Folder.empty();
      canvas.Brush()->SetColor(i == FHot && !heading ? clHighlight : Color());
      canvas.FillRect(r);
      canvas.Font()->SetColor(heading ? clGrayText : i == FHot ? clHighlightText : clWindowText);
      canvas.Font()->SetStyle(heading ? TFontStyles{fsBold} : TFontStyles{});
      const int top = r.Top + (kRowHeight - kPicture) / 2;
      if (FPictures[i] >= 0) ImageList_Draw(FIcons.Handle(), FPictures[i], canvas.Handle(), kGap, top, ILD_TRANSPARENT);
      canvas.Brush()->SetStyle(bsClear);
      TRect text(2 * kGap + kPicture, r.Top, width - kGap, r.Bottom);
      canvas.DrawText(heading ? Translate("TdBrowser_Favourites", u"Favourites") : PlaceCaption(row), text,
                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
      canvas.Brush()->SetStyle(bsSolid);
    }
  }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int row = RowAt(Y);
    if (Button == mbLeft && row >= 0 && OnOpen) OnOpen(FRows[row].Folder);
  }
  void MouseMove(TShiftState Shift, int X, int Y) override {
    TCustomControl::MouseMove(Shift, X, Y);
    SetHot(RowAt(Y));
  }
  void MouseLeave() override {
    TCustomControl::MouseLeave();
    SetHot(-1);
  }
  bool DoMouseWheelDown(TShiftState, TPoint) override { return Scroll(1); }
  bool DoMouseWheelUp(TShiftState, TPoint) override { return Scroll(-1); }

 private:
  // The row with a folder under Y, or -1.
  int RowAt(int Y) const {
    const int row = Y < 0 ? -1 : FTop + Y / kRowHeight;
    return row >= 0 && row < static_cast<int>(FRows.size()) && !FRows[row].Folder.empty() ? row : -1;
  }
  void SetHot(int Row) {
    if (Row == FHot) return;
    FHot = Row;
    Invalidate();
  }
  bool Scroll(int By) {
    const int top = std::clamp(FTop + By, 0, std::max(static_cast<int>(FRows.size()) - 1, 0));
    if (top != FTop) {
      FTop = top;
      FHot = -1;
      Invalidate();
    }
    return true;
  }
  // The index of the resource library's icon of the name (one that cannot
  // load draws as "FILE"), or -1 for a place without a picture.
  int Picture(const String& Name) {
    if (Name.empty()) return -1;
    auto [it, added] = FIconIndexes.try_emplace(UpperCase(Name), 0);
    if (added) it->second = FIcons.Add(Name);
    return it->second;
  }

  std::vector<TBrowserPlaceRow> FRows;
  std::vector<int> FPictures;  // icon indexes, -1 for none
  TBrowserIcons FIcons{kPicture};
  std::map<String, int> FIconIndexes;
  int FTop = 0, FHot = -1;
};

}  // namespace

class TPlacesPart : public TdBrowser::TPart {
 public:
  explicit TPlacesPart(TdBrowser& Browser) : FBrowser(Browser) {
    FPane = new TPlacesPane(&Browser);
    FPane->SetParent(&Browser);
    FPane->SetAlign(alLeft);
    FPane->SetBounds(0, 0, TBrowserState::DefaultSplitter, 100);
    FPane->OnOpen = [this](const String& Folder) { Open(Folder); };
    FSplitter = new TKemSplitter(&Browser);
    FSplitter->SetName("splPlaces");
    FSplitter->SetParent(&Browser);
    FSplitter->SetAlign(alLeft);
    FSplitter->SetSplitSize(4);
    FSplitter->SetLeft(TBrowserState::DefaultSplitter);
    FSplitter->SetMinSize(TBrowserState::MinSplitter);
    FMenu = new TPopupMenu(&Browser);
    FMenu->SetName("pmFavourites");
    FMenu->OnPopup = [this](TObject*) { FillMenu(); };
    Refresh();
  }

  void LanguageUpdated() override {
    FPane->Invalidate();
    FillMenu();
  }

  void Opened() override {
    TBrowserState& state = FBrowser.FState;
    // A width kept on a larger screen leaves the list room here.
    const int width = std::min(state.Splitter, std::max(TBrowserState::MinSplitter, FBrowser.ClientWidth() / 2));
    FPane->SetWidth(width);
    FSplitter->SetLeft(width);
    Refresh();
  }

  void Closing() override {
    TBrowserState& state = FBrowser.FState;
    state.Splitter = std::clamp(FPane->Width(), TBrowserState::MinSplitter, TBrowserState::MaxSplitter);
  }

  // The pane and the menu anew from the places and the favourites.
  void Refresh() {
    FRows = BrowserPlaceRows(BrowserNamedPlaces(), ExtractFilePath(ProgramFileName()), FBrowser.FState.Favourites);
    FPane->SetRows(FRows);
    FillMenu();
  }

  void Open(const String& Folder) {
    const TBrowserStart start = BrowserStartPlace("", "", Folder,
                                                  {[](const String& Path) { return DirectoryExists(Path); },
                                                   [](const String& Path) { return FileExists(Path); }});
    FBrowser.ShowFolder(start.Folder, start.Name);
  }

  void FillMenu() {
    FMenu->Items()->Clear();
    for (const TBrowserPlaceRow& row : FRows) {
      auto* item = new TMenuItem(FMenu);
      item->SetCaption(row.Favourite ? Utf8ToWide(BrowserFolderResult(row.Folder)) : PlaceCaption(row));
      const String folder = row.Folder;
      item->OnClick = [this, folder](TObject*) { Open(folder); };
      FMenu->Items()->Add(item);
    }
  }

  TPopupMenu* Menu() { return FMenu; }
  // The dialog's part, made when first needed.
  static TPlacesPart& Of(TdBrowser& Browser);

 private:
  TdBrowser& FBrowser;
  TPlacesPane* FPane = nullptr;
  TKemSplitter* FSplitter = nullptr;
  TPopupMenu* FMenu = nullptr;
  std::vector<TBrowserPlaceRow> FRows;
};

// The toolbar, made first, may ask for the favourites menu already.
void TdBrowser::CreatePlaces() {
  if (!FPlacesPart) FPlacesPart = std::make_unique<TPlacesPart>(*this);
}

TPlacesPart& TPlacesPart::Of(TdBrowser& Browser) {
  Browser.CreatePlaces();
  return static_cast<TPlacesPart&>(*Browser.FPlacesPart);
}

void TdBrowser::AddFavourite() {
  if (!AddBrowserFavourite(FState.Favourites, FFolder)) return;
  SaveBrowserState(FState);
  TPlacesPart::Of(*this).Refresh();
}

void TdBrowser::RemoveFavourite() {
  if (!RemoveBrowserFavourite(FState.Favourites, FFolder)) return;
  SaveBrowserState(FState);
  TPlacesPart::Of(*this).Refresh();
}

TPopupMenu* TdBrowser::FavouritesMenu() {
  TPlacesPart& part = TPlacesPart::Of(*this);
  part.FillMenu();
  return part.Menu();
}
