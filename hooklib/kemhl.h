// Identification of the hook library: title, copyright line and packed version.
#pragma once
#include <cstdint>

namespace kemhl {

inline constexpr char Title[] = "Windows Hook Library";
inline constexpr char Copyright[] = "Copyright (c) 2003-2026 The Orvanel developers";
// Version 2.12 in the high word (major in the high byte), build 8 in the low word.
inline constexpr std::uint32_t Version = 0x020C0008;

// Copies a zero-terminated text into a caller's buffer; a null buffer is ignored
// because the caller is another program we cannot trust to pass one.
void CopyText(char* dest, const char* text) noexcept;

}  // namespace kemhl
