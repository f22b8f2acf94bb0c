// Common services of the component library that need no operating system:
// accelerator marks of captions. (The rest of the box of services grows here.)
#pragma once
#include <string_view>

#include "platform/types.h"

// The upper-case accelerator character of a caption: the character after the
// first single "&" ("&&" stands for a literal "&"); 0 when there is none.
char32_t GetAccelChar(std::string_view caption);
WideChar GetAccelCharW(std::u16string_view caption);

// The caption without its marks: "&&" becomes one "&", every single "&" goes.
String StripAccelChars(std::string_view caption);
WideString StripAccelCharsW(std::u16string_view caption);
