// The browser's search page.
#include "kem3/framework/kembrowser_win.h"

void TdBrowser::CreateSearch() {}

void TdBrowser::ShowSearchPage() {}

void TdBrowser::StartSearch() {}

void TdBrowser::StopSearch() {}

bool TdBrowser::Searching() const { return false; }
