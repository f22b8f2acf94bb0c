// The layer's own text conversions: UTF-7 both ways, wide text to and from 8-bit
// text in any code page (UTF-7 and UTF-8 by our own conversions, every other
// code page by the system's), the code page of the keyboard layout, byte
// swapping and cutting of UTF-16 text and the layer's default code page.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/exceptions.h"
#include "platform/types.h"
#include "platform/unicode_convert.h"

ORV_EXCEPTION(EUcGeneralError, Exception)

inline constexpr unsigned kCpThreadAcp = 3;
inline constexpr unsigned kCpUtf7 = 65000;
inline constexpr unsigned kCpUtf8 = 65001;

// UTF-7 as RFC 2152 writes it, the optionally direct characters as they are.
// Every sequence of UTF-16 units (lone surrogates and NUL too) comes back whole
// from UTF7ToWide.
std::string WideToUTF7(std::u16string_view Text);
// Only "-" ends a base64 run and is absorbed ("+" is its digit 62). Bytes above
// 0x7F, a run that gives no character and leftover bits that are not zero are
// invalid: EUcGeneralError "Invalid UTF7".
WideString UTF7ToWide(std::string_view Text);

// 65000 and 65001 by our UTF-7 and UTF-8; every other code page by the system's
// conversion (natively the class layer's ANSI code page stands in for all).
WideString CodePageToWide(std::string_view Text, unsigned CodePage);
std::string WideToCodePage(std::u16string_view Text, unsigned CodePage);

// The ANSI code page of the keyboard layout's language, and a key's character
// code read in it: codes of 256 and more are characters already.
unsigned KeyboardLayoutCodePage();
WideChar KeyCharToWide(unsigned Code);

// Swaps the two bytes of every unit up to the terminator.
void SwapUtf16ByteOrder(WideChar* Text);
void SwapUtf16ByteOrder(WideString& Text);
// How many of Text's first Count units a cut keeps so that no surrogate pair
// is split: Count (at most the text's length), one less where the last unit
// kept would be a high surrogate.
size_t WholeCharsLength(std::u16string_view Text, size_t Count);
// Utf16BytesToWide and AppendUtf16LE, the UTF-16 bytes of files, are the class
// layer's (platform/unicode_convert.h), which the settings file reads too.

// The code page the layer converts in where it is not told one: CP_THREAD_ACP
// wherever our binaries run.
unsigned LayerCodePage();
