// Basic types of the class layer: the string kinds the program speaks in.
#pragma once
#include <cstdint>
#include <string>

// 8-bit text; inside the program always UTF-8.
using String = std::string;
// UTF-16 text: everything shown to a user or handed to a wide system call.
using WideString = std::u16string;
using WideChar = char16_t;

// Colours as the class library keeps them: 0x00BBGGRR, with special values above.
using TColor = std::int32_t;
