// Case mapping of single characters: the simple one-to-one Unicode mappings of
// the scripts users meet in titles and file names (Latin, Greek, Cyrillic,
// Armenian, fullwidth Latin). Characters without a mapping come back unchanged.
#pragma once

char32_t WideCharUpper(char32_t c);
char32_t WideCharLower(char32_t c);

// One case for case-insensitive matching (accelerators, typed searches,
// caseless comparison). The character database installs the folding of the
// whole Basic Multilingual Plane at start-up (65,536 entries, kept for the
// program's life); until then, and beyond the plane, upper then lower case
// of the tables above, so that pairs such as long s / s meet.
char32_t WideCharFold(char32_t c);
// Table: nullptr returns to the built-in mapping.
void SetWideCharFolds(const char16_t* Table);
