// The ANSI code page on Windows: the system's own, through its conversion calls.
#include "platform/winapi_win.h"

#include "platform/unicode_convert.h"

WideString AnsiToWide(std::string_view ansi) {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  WideString out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::string WideToAnsi(std::u16string_view wide) {
  if (wide.empty()) return {};
  auto src = reinterpret_cast<const wchar_t*>(wide.data());
  int n = WideCharToMultiByte(CP_ACP, 0, src, static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, src, static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}
