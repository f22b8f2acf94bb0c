// Natively there is no system to load executables or to ask for registered
// icons: such files add nothing.
#include "kem3/graphics/kemicons.h"

bool LoadExecutableIcons(TKemIcons&, const String&) { return false; }

String RegisteredIconLocation(const String&) { return String(); }
