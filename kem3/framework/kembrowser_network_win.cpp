// The browser's network listing: servers of the checked workgroups and their shares.
#include "kem3/framework/kembrowser_win.h"

void TdBrowser::CreateNetwork() {}

void TdBrowser::ShowNetwork() {}

TPopupMenu* TdBrowser::WorkgroupMenu() { return nullptr; }
