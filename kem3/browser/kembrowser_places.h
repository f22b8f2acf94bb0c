// The file browser's named places as the process keeps them, and the upkeep
// of its favourites: what the launcher and the dialog share, without windows.
#pragma once
#include <vector>

#include "kem3/browser/kembrowser_state.h"
#include "platform/stringlist.h"
#include "platform/types.h"

// The named places of the process ("IMAGE,Caption=folder" texts, folders
// relative to the program's own); the launcher keeps entry 0 on its icon
// library folder. Belongs to the GUI thread.
TStringList& BrowserNamedPlaces();
// Adds empty entries until Places holds at least Count.
void EnsureBrowserPlaces(TStrings& Places, int Count);
// Entry 0 becomes the icon library folder's place (made when missing).
void SetBrowserIconsPlace(TStrings& Places, const String& IconFolder);

// Adds Folder (a full path) after the others; false when it is empty, there
// already (in another case or without its delimiter) or the list is full.
bool AddBrowserFavourite(std::vector<String>& Favourites, const String& Folder);
// Removes Folder, compared as above; false when it was not there.
bool RemoveBrowserFavourite(std::vector<String>& Favourites, const String& Folder);

// One line of the places pane and the favourites menu: the named places that
// show, then the favourites. A favourite has no image and its last folder
// name as caption (a root its whole name).
struct TBrowserPlaceRow : TBrowserPlace {
  bool Favourite = false;
};
std::vector<TBrowserPlaceRow> BrowserPlaceRows(const TStrings& Places, const String& ProgramFolder,
                                               const std::vector<String>& Favourites);
