// The browser's toolbar: the actions of group 100000 and their pictures.
#include "kem3/framework/kembrowser_win.h"

void TdBrowser::CreateToolbar() {}

void TdBrowser::SetToolImages(TImageList*) {}
