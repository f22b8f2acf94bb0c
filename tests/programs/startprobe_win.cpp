// startprobe.exe: how a windowed program starts. Starts PROGRAM in its own
// folder and prints the milliseconds until the program has a visible
// top-level window ("visible_ms", and the system's tick count at the start
// and then, to set beside a trace of the program), then, SECONDS after the
// start, the memory the system reports for it ("private_kb",
// "working_set_kb") and "sample"; two seconds later it ends the program.
// Usage: startprobe PROGRAM [SECONDS]
#include <cstdio>
#include <string>

#include "platform/winapi_win.h"

#include <psapi.h>

namespace {

struct TSearch {
  DWORD ProcessId;
  bool Found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->ProcessId && IsWindowVisible(window)) {
    search->Found = true;
    return FALSE;
  }
  return TRUE;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startprobe PROGRAM [SECONDS]\n");
    return 2;
  }
  const std::wstring program = argv[1];
  const double seconds = argc > 2 ? _wtof(argv[2]) : 10.0;
  const std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
  std::wstring commandLine = L"\"" + program + L"\"";

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start, now;
  const DWORD startTick = GetTickCount();
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    std::fprintf(stderr, "startprobe: cannot start the program (%lu)\n", GetLastError());
    return 1;
  }
  TSearch search{process.dwProcessId, false};
  for (;;) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    if (search.Found || Milliseconds(start, now) > 60000) break;
    if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  std::printf(search.Found ? "visible_ms %.1f\n" : "visible_ms none\n", Milliseconds(start, now));
  std::printf("start_tick %lu\nvisible_tick %lu\n", startTick, GetTickCount());
  std::fflush(stdout);

  QueryPerformanceCounter(&now);
  double left = seconds * 1000.0 - Milliseconds(start, now);
  if (left > 0) WaitForSingleObject(process.hProcess, static_cast<DWORD>(left));
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (K32GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
    std::printf("private_kb %llu\nworking_set_kb %llu\n", static_cast<unsigned long long>(memory.PrivateUsage / 1024),
                static_cast<unsigned long long>(memory.WorkingSetSize / 1024));
  std::printf("sample\n");
  std::fflush(stdout);
  Sleep(2000);
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return search.Found ? 0 : 1;
}
