// recorder.exe: a program for the tests that start programs. Each run appends
// one line to its log: the current folder, then every argument as received,
// separated by tabs, in UTF-8. The log is the file named by ORV_RECORDER_LOG,
// or recorder.log beside the program.
#include <string>

#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

namespace {

String Utf8(const std::wstring& wide) {
  return WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::wstring LogFileName() {
  wchar_t buffer[32768];
  DWORD length = GetEnvironmentVariableW(L"ORV_RECORDER_LOG", buffer, 32768);
  if (length > 0 && length < 32768) return std::wstring(buffer, length);
  length = GetModuleFileNameW(nullptr, buffer, 32768);
  std::wstring path(buffer, length);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"recorder.log";
}

std::wstring CurrentFolder() {
  wchar_t buffer[32768];
  const DWORD length = GetCurrentDirectoryW(32768, buffer);
  return length < 32768 ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  String line = Utf8(CurrentFolder());
  for (int i = 1; i < argc; ++i) line += "\t" + Utf8(argv[i]);
  line += "\n";
  const std::wstring log = LogFileName();
  // Several recorders may run at once: each appends its whole line with one
  // write, and waits a little for another one's open to pass.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(file);
      return ok && written == line.size() ? 0 : 2;
    }
    Sleep(10);
  }
  return 1;
}
