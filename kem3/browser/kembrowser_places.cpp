// The file browser's process-wide named places and its favourites.
#include "kem3/browser/kembrowser_places.h"

#include <algorithm>

#include "kem3/browser/kembrowser_model_execute.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"

TStringList& BrowserNamedPlaces() {
  static TStringList places;
  return places;
}

void EnsureBrowserPlaces(TStrings& Places, int Count) {
  while (Places.Count() < Count) Places.Add("");
}

void SetBrowserIconsPlace(TStrings& Places, const String& IconFolder) {
  EnsureBrowserPlaces(Places, 1);
  Places.Put(0, BrowserIconsPlace(IconFolder));
}

namespace {

bool SameFolder(const String& A, const String& B) {
  return AnsiSameText(BrowserWithDelimiter(A), BrowserWithDelimiter(B));
}

}  // namespace

bool AddBrowserFavourite(std::vector<String>& Favourites, const String& Folder) {
  if (Trim(Folder).empty() || Favourites.size() >= TBrowserState::MaxFavourites) return false;
  if (std::any_of(Favourites.begin(), Favourites.end(), [&](const String& F) { return SameFolder(F, Folder); }))
    return false;
  Favourites.push_back(BrowserWithDelimiter(Folder));
  return true;
}

bool RemoveBrowserFavourite(std::vector<String>& Favourites, const String& Folder) {
  const auto gone =
      std::remove_if(Favourites.begin(), Favourites.end(), [&](const String& F) { return SameFolder(F, Folder); });
  if (gone == Favourites.end()) return false;
  Favourites.erase(gone, Favourites.end());
  return true;
}

std::vector<TBrowserPlaceRow> BrowserPlaceRows(const TStrings& Places, const String& ProgramFolder,
                                               const std::vector<String>& Favourites) {
  std::vector<TBrowserPlaceRow> rows;
  for (TBrowserPlace& place : BrowserPlaces(Places, ProgramFolder)) {
    TBrowserPlaceRow row;
    static_cast<TBrowserPlace&>(row) = std::move(place);
    rows.push_back(std::move(row));
  }
  for (const String& folder : Favourites) {
    TBrowserPlaceRow row;
    row.Favourite = true;
    row.Folder = BrowserWithDelimiter(folder);
    const String bare = BrowserFolderResult(row.Folder);
    const size_t slash = bare.find_last_of("\\/");
    const bool root = BrowserParentFolder(row.Folder).empty();
    row.Caption = root || slash == String::npos ? bare : bare.substr(slash + 1);
    rows.push_back(std::move(row));
  }
  return rows;
}
