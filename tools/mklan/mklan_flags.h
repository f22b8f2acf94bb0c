// The flag pictures of our language files, drawn by code.
#pragma once
#include <memory>

#include "kem3/pictures/pngimage.h"
#include "platform/types.h"

// The picture a catalogue names with "@flag" ("us", "de"); nullptr for an
// unknown name. 32-bit with alpha: the corners are rounded off.
std::unique_ptr<TPNGImage> DrawFlag(const String& Name);
