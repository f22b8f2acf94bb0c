// The browser's named places and favourites.
#include "kem3/framework/kembrowser_win.h"

void TdBrowser::CreatePlaces() {}

void TdBrowser::AddFavourite() {}

void TdBrowser::RemoveFavourite() {}

TPopupMenu* TdBrowser::FavouritesMenu() { return nullptr; }
