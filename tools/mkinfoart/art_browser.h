// The file browser's pictures in kem3.dll: the tool bitmaps of its actions
// (ids 100000 to 100009 in the four codes HCL_, HCS_, LCL_, LCS_) and its list
// icons ("FILE", "BROWSERIMAGE" and the other places and entries).
#pragma once
#include <string>

// Writes the pictures into Dir and their lines into Script; false when a file
// cannot be written.
bool DrawBrowserArt(const std::string& Dir, std::string& Script);
