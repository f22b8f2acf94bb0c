#include "kem3/framework/kemcfgpage_win.h"

// Placeholder until the generated rows are built: no rows, nothing bound.
int cfgBuildPage(TWinControl*, int, int, int, int, int, int, int, int) { return 0; }
void cfgClearPage(TWinControl*) {}
void cfgReadPage() {}
void cfgRelabel() {}
