// The OEM code page on Windows: the system's own, through its conversion calls.
#include "kem3/dragdrop/textblocks.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

String OemToUtf8(std::string_view Oem) {
  if (Oem.empty()) return {};
  const int n = MultiByteToWideChar(CP_OEMCP, 0, Oem.data(), static_cast<int>(Oem.size()), nullptr, 0);
  WideString wide(static_cast<std::size_t>(n), u'\0');
  MultiByteToWideChar(CP_OEMCP, 0, Oem.data(), static_cast<int>(Oem.size()), reinterpret_cast<wchar_t*>(wide.data()),
                      n);
  return WideToUtf8(wide);
}

std::string Utf8ToOem(std::string_view Utf8) {
  const WideString wide = Utf8ToWide(Utf8);
  if (wide.empty()) return {};
  const auto* src = reinterpret_cast<const wchar_t*>(wide.data());
  const int n = WideCharToMultiByte(CP_OEMCP, 0, src, static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_OEMCP, 0, src, static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}
