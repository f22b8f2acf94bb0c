// The names of the colour picker's 88 colours: English at start, replaced
// group by group from the current language whenever a language is selected.
#pragma once
#include <array>
#include <functional>
#include <optional>

#include "platform/types.h"

inline constexpr int kColorNameCount = 88;

// One group of names and the language text that holds them, "|"-separated.
struct TColorNameGroup {
  const char* TextName;
  int First;
  int Count;
};
inline constexpr std::array<TColorNameGroup, 6> kColorNameGroups = {{
    {"ColorNames", 0, 16},
    {"ColorNamesExt1", 16, 8},
    {"ColorNamesExt2", 24, 16},
    {"ColorNamesExt3", 40, 16},
    {"ColorNamesExt4", 56, 16},
    {"ColorNamesExt5", 72, 16},
}};

// The name at Index (0 to 87); empty outside. GUI thread only, like every
// other user of the table.
WideString ColorName(int Index);
const std::array<WideString, kColorNameCount>& ColorNameTable();
// The English names.
const std::array<WideString, kColorNameCount>& DefaultColorNames();
// Puts the English names back (start-up and tests).
void ResetColorNames();

// The text of a language text name, or nothing when the language lacks it.
using TColorTextLookup = std::function<std::optional<WideString>(const String& TextName)>;

// Replaces the names from the language. Each group's text is cut at "|" on its
// own and padded or cut to the group's count, so a group with too few names
// cannot shift the names of the groups after it; an empty name, a missing or
// an empty text keeps the name that is there (which, after an earlier
// language, need not be the English one).
void RefreshColorNames(const TColorTextLookup& Lookup);
