// Which files a file type of the browser lists: the type's patterns ("*.EXE;
// *.COM", "*.*", "*.") against a file name.
#pragma once
#include <string_view>

// Whether Name matches one of the ";"-separated patterns of Filter, compared
// without regard to case as whole patterns ("*.EX" does not list "A.EXE"). A
// name without extension has "." as its extension, so "*." lists exactly those
// files; "*.*" and "*" list every file. Blanks around a pattern are ignored.
bool BrowseFilterMatches(std::u16string_view Name, std::u16string_view Filter);
