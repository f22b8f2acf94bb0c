// The names of the screen's fonts, read once for the whole process when first
// asked for (not at start-up: most runs never need them).
#pragma once
#include <vector>

#include "platform/types.h"

// Sorted case-insensitively, each name once; vertical ("@") faces left out.
const std::vector<WideString>& ScreenFontNames();
