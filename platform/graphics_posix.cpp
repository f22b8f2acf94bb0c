// System colours of the native build: there is no system, so the classic scheme.
#include "platform/graphics.h"

TColor SystemSysColor(int Index) { return DefaultSysColor(Index); }
