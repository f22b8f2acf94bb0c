// Loading kem3.dll and calling its functions through checked wrappers.
#include "kem3/framework/kemhi_win.h"

#include <array>

#include "kem3/framework/kemexe.h"
#include "platform/files.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/win_util_win.h"

namespace {

// The library's functions use the system's calling convention and take window
// handles as 32-bit integers.
using TGetText = void(WINAPI*)(char*);
using TGetVersion = DWORD(WINAPI*)();
using TWindowCall = int(WINAPI*)(DWORD);
using TSetArea = int(WINAPI*)(DWORD, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                              std::int32_t);
using TGetArea = int(WINAPI*)(DWORD, std::int32_t, std::int32_t, std::int32_t*);
using TWindowNumber = int(WINAPI*)(DWORD, std::int32_t);
using TWindowFlag = int(WINAPI*)(DWORD, BYTE);
using TSetHotkey = int(WINAPI*)(DWORD, std::int32_t, BYTE, DWORD);

// void (*)() converts to and from every function pointer type without a warning.
using TAnyFunction = void (*)();

struct THookLibrary {
  HMODULE Module = nullptr;
  std::array<TAnyFunction, HookFunctionCount> Functions{};
};
THookLibrary HookLibrary;

template <class F>
F Function(THookFunction which) {
  return reinterpret_cast<F>(HookLibrary.Functions[which]);
}

DWORD WindowValue(HWND window) { return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(window)); }

// Runs a function that may fail with a status, leaving the library's error code
// to read before anything else can change it.
template <class F, class... Args>
void CallChecked(THookFunction which, Args... args) {
  auto function = Function<F>(which);
  if (function == nullptr) return;
  const int status = function(args...);
  const DWORD error = GetLastError();
  CheckHookStatus(status, error);
}

String GetText(THookFunction which) {
  auto function = Function<TGetText>(which);
  if (function == nullptr) return String();
  // The library takes no length: its texts are short lines, and the buffer has
  // room to spare; the last byte stays a terminator whatever it writes.
  char buffer[1024] = {};
  function(buffer);
  buffer[sizeof(buffer) - 1] = '\0';
  return AnsiToUtf8(buffer);
}

}  // namespace

HMODULE LoadKemLibrary() {
  const String folder = ExtractFilePath(ProgramFileName());
  if (folder.empty()) return nullptr;
  const String fileName = folder + "kem3.dll";
  if (!FileExists(fileName)) return nullptr;
  // A broken file must not stop the start with a system dialog.
  DWORD oldMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  HMODULE module = LoadLibraryExW(WidePath(fileName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  SetThreadErrorMode(oldMode, nullptr);
  return module;
}

void BindHookLibrary() {
  FreeHookLibrary();
  HookLibrary.Module = LoadKemLibrary();
  if (HookLibrary.Module == nullptr) return;
  for (int i = 0; i < HookFunctionCount; ++i)
    HookLibrary.Functions[i] = reinterpret_cast<TAnyFunction>(GetProcAddress(HookLibrary.Module, HookFunctionNames[i]));
}

void FreeHookLibrary() {
  if (HookLibrary.Module != nullptr) FreeLibrary(HookLibrary.Module);
  HookLibrary = THookLibrary{};
}

bool HookLibraryLoaded() { return HookLibrary.Module != nullptr; }

bool HookFunctionBound(THookFunction function) {
  return function >= 0 && function < HookFunctionCount && HookLibrary.Functions[function] != nullptr;
}

String hlGetTitle() { return GetText(hfGetTitle); }

String hlGetCopyright() { return GetText(hfGetCopyright); }

std::uint32_t hlGetVersion() {
  auto function = Function<TGetVersion>(hfGetVersion);
  return function != nullptr ? function() : 0;
}

void mhInstallHook(HWND window) { CallChecked<TWindowCall>(hfMouseInstall, WindowValue(window)); }

void mhRemoveHook(HWND window) {
  if (auto function = Function<TWindowCall>(hfMouseRemove)) function(WindowValue(window));
}

void mhSetArea(HWND window, int area, int rectIndex, int rectCount, int left, int top, int right, int bottom) {
  CallChecked<TSetArea>(hfSetArea, WindowValue(window), area, rectIndex, rectCount, left, top, right, bottom);
}

RECT mhGetArea(HWND window, int area, int rectIndex) {
  std::int32_t r[4] = {0, 0, -1, -1};
  CallChecked<TGetArea>(hfGetArea, WindowValue(window), area, rectIndex, r);
  return RECT{r[0], r[1], r[2], r[3]};
}

void mhAssumeInside(HWND window, int area) { CallChecked<TWindowNumber>(hfAssumeInside, WindowValue(window), area); }

void mhMoveEvents(HWND window, bool on) {
  CallChecked<TWindowFlag>(hfMoveEvents, WindowValue(window), static_cast<BYTE>(on));
}

void mhMenuScroll(HWND window, bool on) {
  CallChecked<TWindowFlag>(hfMenuScroll, WindowValue(window), static_cast<BYTE>(on));
}

void khInstallHook(HWND window) { CallChecked<TWindowCall>(hfKeyboardInstall, WindowValue(window)); }

void khRemoveHook(HWND window) {
  if (auto function = Function<TWindowCall>(hfKeyboardRemove)) function(WindowValue(window));
}

void khSetHotkey(HWND window, int id, std::uint8_t key, std::uint32_t flags) {
  CallChecked<TSetHotkey>(hfSetHotkey, WindowValue(window), id, key, flags);
}

void khRemoveHotkey(HWND window, int id) { CallChecked<TWindowNumber>(hfRemoveHotkey, WindowValue(window), id); }

void khClearHotkeys(HWND window) { CallChecked<TWindowCall>(hfClearHotkeys, WindowValue(window)); }
