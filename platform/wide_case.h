// Case mapping of single characters: the simple one-to-one Unicode mappings of
// the scripts users meet in titles and file names (Latin, Greek, Cyrillic,
// Armenian, fullwidth Latin). Characters without a mapping come back unchanged.
#pragma once

char32_t WideCharUpper(char32_t c);
char32_t WideCharLower(char32_t c);
