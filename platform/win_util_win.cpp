// Helpers shared by the Windows units of the class layer.
#include "platform/win_util_win.h"

#include "platform/unicode_convert.h"

std::wstring WidePath(const String& utf8) {
  WideString w = Utf8ToWide(utf8);
  return std::wstring(w.begin(), w.end());
}

String SysErrorMessage(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  String result;
  if (text) {
    std::u16string w(reinterpret_cast<char16_t*>(text));
    LocalFree(text);
    while (!w.empty() && (w.back() == u'\r' || w.back() == u'\n' || w.back() == u' ')) w.pop_back();
    result = WideToUtf8(w);
  }
  if (result.empty()) result = "System error " + std::to_string(code) + ".";
  return result;
}

String LastErrorText() { return SysErrorMessage(GetLastError()); }
