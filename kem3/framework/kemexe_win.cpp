// The running program's file name on Windows.
#include <string>

#include "platform/types.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

String SystemProgramFileName() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return String();
    if (length < buffer.size()) {
      return WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer.data()), length));
    }
    buffer.resize(buffer.size() * 2);
  }
}
