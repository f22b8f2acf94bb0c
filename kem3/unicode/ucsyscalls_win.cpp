// The wide and 8-bit system call wrappers.
#include "kem3/unicode/ucsyscalls_win.h"

#include <atomic>
#include <string>

#include "platform/exceptions.h"
#include "platform/unicode_convert.h"
#include "platform/win_util_win.h"

namespace {

std::atomic<bool> gForceAnsi{false};

LPCWSTR W(const WideChar* s) { return reinterpret_cast<LPCWSTR>(s); }
LPWSTR W(WideChar* s) { return reinterpret_cast<LPWSTR>(s); }
std::string Narrow(const WideChar* s) { return s ? WideToAnsi(std::u16string_view(s)) : std::string(); }

TPlatformFlags ReadPlatformFlags() {
  // GetVersionEx answers with the version the manifest claims; the flags only
  // tell the old platforms apart, so that is enough.
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&info);
#pragma GCC diagnostic pop
  return PlatformFlagsFor(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

}  // namespace

const TPlatformFlags& PlatformFlags() {
  static const TPlatformFlags flags = ReadPlatformFlags();
  return flags;
}

void SetAnsiSystemCallsForTesting(bool Value) { gForceAnsi = Value; }
bool UseWideSystemCalls() { return UnicodePlatform() && !gForceAnsi; }

BOOL WideSetWindowText(HWND Wnd, const WideChar* Text) {
  if (UseWideSystemCalls()) return SetWindowTextW(Wnd, W(Text));
  return SetWindowTextA(Wnd, Narrow(Text).c_str());
}

DWORD WideGetFullPathName(const WideChar* FileName, DWORD BufferLength, WideChar* Buffer, WideChar** FilePart) {
  if (UseWideSystemCalls())
    return GetFullPathNameW(W(FileName), BufferLength, W(Buffer), reinterpret_cast<LPWSTR*>(FilePart));
  const std::string name = Narrow(FileName);
  return AnsiFullPathName(
      [&](char* buffer, std::uint32_t size, std::ptrdiff_t& part) {
        char* ansiPart = nullptr;
        const DWORD n = GetFullPathNameA(name.c_str(), size, buffer, &ansiPart);
        part = ansiPart ? ansiPart - buffer : -1;
        return n;
      },
      BufferLength, Buffer, FilePart);
}

HANDLE WideCreateFile(const WideChar* FileName, DWORD Access, DWORD ShareMode, SECURITY_ATTRIBUTES* Security,
                      DWORD Disposition, DWORD FlagsAndAttributes, HANDLE Template) {
  if (UseWideSystemCalls())
    return CreateFileW(W(FileName), Access, ShareMode, Security, Disposition, FlagsAndAttributes, Template);
  return CreateFileA(Narrow(FileName).c_str(), Access, ShareMode, Security, Disposition, FlagsAndAttributes, Template);
}

int WideDrawText(HDC DC, const WideChar* Text, int Count, RECT* Rect, UINT Format) {
  if (UseWideSystemCalls()) return DrawTextW(DC, W(Text), Count, Rect, Format);
  const std::u16string_view text = Count < 0 ? std::u16string_view(Text) : std::u16string_view(Text, Count);
  return DrawTextA(DC, WideToAnsi(text).c_str(), -1, Rect, Format);
}

int WideLoadString(HINSTANCE Module, UINT Ident, WideChar* Buffer, int BufferSize) {
  if (UseWideSystemCalls()) return LoadStringW(Module, Ident, W(Buffer), BufferSize);
  return LoadStringFromTable(Module, Ident, Buffer, BufferSize);
}

int LoadStringFromTable(HINSTANCE Module, UINT Ident, WideChar* Buffer, int BufferSize) {
  const auto block = static_cast<ULONG_PTR>(StringTableBlockName(Ident));
  HRSRC info = FindResourceA(Module, reinterpret_cast<LPCSTR>(block), reinterpret_cast<LPCSTR>(RT_STRING));
  HGLOBAL data = info ? LoadResource(Module, info) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return 0;
  return CopyStringTableEntry(std::string_view(static_cast<const char*>(bytes), SizeofResource(Module, info)), Ident,
                              Buffer, BufferSize);
}

WideString LoadWideResourceString(HINSTANCE Module, UINT Ident) {
  WideString buffer(4097, u'\0');
  const int n = WideLoadString(Module, Ident, buffer.data(), static_cast<int>(buffer.size()));
  buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return buffer;
}

HANDLE CreateFileByWideName(const WideString& FileName) {
  return WideCreateFile(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenFileByWideName(const WideString& FileName, std::uint32_t Mode) {
  const TFileRights rights = FileRightsOfMode(Mode);
  return WideCreateFile(FileName.c_str(), rights.Access, rights.ShareMode, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
}

WideString ExpandWideFileName(const WideString& FileName) {
  WideString buffer(260, u'\0');
  DWORD n = WideGetFullPathName(FileName.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (n >= buffer.size()) {
    // Too long for the first buffer: n is the size needed, terminator included.
    buffer.assign(n, u'\0');
    n = WideGetFullPathName(FileName.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n >= buffer.size()) n = 0;
  }
  buffer.resize(n);
  return buffer;
}

WideString SystemErrorText(DWORD ErrorCode) { return FormatModuleErrorText(u"system", nullptr, ErrorCode); }

WideString FormatModuleErrorText(const WideString& SourceName, HMODULE Module, DWORD ErrorCode) {
  const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY |
                      (Module ? FORMAT_MESSAGE_FROM_HMODULE : 0);
  WideString text;
  if (UseWideSystemCalls()) {
    WideString buffer(256, u'\0');
    DWORD n = FormatMessageW(flags, Module, ErrorCode, 0, W(buffer.data()), 256, nullptr);
    text = buffer.substr(0, n);
  } else {
    char buffer[256] = {};
    DWORD n = FormatMessageA(flags, Module, ErrorCode, 0, buffer, 256, nullptr);
    text = AnsiToWide(std::string_view(buffer, n));
  }
  return ErrorTextOrFallback(text, static_cast<long>(ErrorCode), SourceName);
}

std::uintptr_t CheckWin32Result(std::uintptr_t Value) {
  if (Value == 0) throw EOSError(LastErrorText());
  return Value;
}
