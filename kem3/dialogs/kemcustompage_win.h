// The base of the program's own preference pages, for the Windows code that
// derives from it (the class itself needs no window, so the dialog's model
// drives it natively too).
#pragma once
#include "kem3/dialogs/kemcustompage.h"
