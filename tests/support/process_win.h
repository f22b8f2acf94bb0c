// Running a helper program from a test: beside the test executable, with the
// calling thread's messages pumped while it runs, so posted notifications are
// received and nothing waits on us.
#pragma once
#include "platform/winapi_win.h"
#include "support/wait_win.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace testproc {

// The folder of the running test executable, with a trailing backslash.
inline std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

// Starts the program with the command line and waits for it to end; gives its
// exit code, or -1 when it could not be started or ran over a minute.
inline int RunProgram(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return -1;
  CloseHandle(process.hThread);
  const ULONGLONG deadline = GetTickCount64() + 60000;
  int rc = -1;
  for (;;) {
    const DWORD wait = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT);
    PumpMessages();
    if (wait == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      rc = static_cast<int>(code);
      break;
    }
    if (GetTickCount64() > deadline) {
      TerminateProcess(process.hProcess, 1);
      break;
    }
  }
  CloseHandle(process.hProcess);
  PumpMessages();
  return rc;
}

// A program started from a test that runs beside it until the test waits for
// it; one still running when the object goes is ended.
class ChildProcess {
 public:
  ChildProcess(const std::wstring& program, const std::wstring& arguments = L"", const std::wstring& folder = L"") {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
      CloseHandle(process.hThread);
      process_ = process.hProcess;
      id_ = process.dwProcessId;
    }
  }
  ~ChildProcess() {
    if (!process_) return;
    // Ended before its handle goes, so the folder it ran from can be removed.
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT && TerminateProcess(process_, 1))
      WaitForSingleObject(process_, 10000);
    CloseHandle(process_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  // Ends it at once, as a crash or the task manager would.
  void Kill() {
    if (!process_) return;
    TerminateProcess(process_, 9);
    WaitForSingleObject(process_, 10000);
  }
  DWORD Id() const { return id_; }
  // The exit code once it has ended within the time, else -1; messages are pumped meanwhile.
  int Wait(DWORD milliseconds) {
    if (!process_) return -1;
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
      const DWORD wait = MsgWaitForMultipleObjects(1, &process_, FALSE, 50, QS_ALLINPUT);
      PumpMessages();
      if (wait == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        return static_cast<int>(code);
      }
      if (GetTickCount64() > deadline) return -1;
    }
  }
  // Its first visible top-level window of its own (not the start-up splash nor a
  // system message box), waiting up to the given time for one.
  HWND WaitForWindow(DWORD milliseconds) {
    Search search{id_, nullptr};
    WaitUntil(
        [&] {
          EnumWindows(&ChildProcess::FindVisible, reinterpret_cast<LPARAM>(&search));
          return search.found != nullptr;
        },
        milliseconds);
    return search.found;
  }

 private:
  struct Search {
    DWORD id;
    HWND found;
  };
  static BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s->id || !IsWindowVisible(window)) return TRUE;
    // Neither the start-up splash nor a system message box is the program's window.
    wchar_t name[16] = {};
    if (GetClassNameW(window, name, 16) && (std::wstring(name) == L"TOrvSplash" || std::wstring(name) == L"#32770"))
      return TRUE;
    s->found = window;
    return FALSE;
  }

  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

inline std::vector<std::string> ReadLines(const std::wstring& file) {
  std::vector<std::string> lines;
  std::ifstream in{std::filesystem::path(file)};
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace testproc
