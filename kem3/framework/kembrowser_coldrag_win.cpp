// Dragging the browser list's columns under the mouse-area hook.
#include "kem3/framework/kembrowser_win.h"

void TdBrowser::CreateColumnDrag() {}
