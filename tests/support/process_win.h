// Running a helper program from a test: beside the test executable, with the
// calling thread's messages pumped while it runs, so posted notifications are
// received and nothing waits on us.
#pragma once
#include "platform/winapi_win.h"

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

inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
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

inline std::vector<std::string> ReadLines(const std::wstring& file) {
  std::vector<std::string> lines;
  std::ifstream in{std::filesystem::path(file)};
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace testproc
