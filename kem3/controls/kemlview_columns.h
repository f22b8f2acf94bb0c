// The list view's column rules without windows.
#pragma once

// The width a user's drag may give a column: raised to MinWidth when that is
// set (above 0) and the width is below it, else lowered to MaxWidth when that
// is set and the width is above it.
int ClampColumnWidth(int Width, int MinWidth, int MaxWidth);
