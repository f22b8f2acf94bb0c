// A copy of ov3.exe and kem3.dll in a fresh folder, started and closed as a
// user does, for the tests that run the program as a process.
#pragma once
#include <filesystem>
#include <string>

#include "platform/types.h"
#include "support/process_win.h"
#include "support/temp_dir.h"

namespace ov3test {

// A copy of the program and its hook library in a fresh folder.
class Ov3Folder {
 public:
  Ov3Folder() {
    const std::filesystem::path from(testproc::ProgramFolder());
    for (const wchar_t* name : {L"ov3.exe", L"kem3.dll"}) std::filesystem::copy_file(from / name, dir_.path() / name);
    // The languages the build made, as an installed program has them.
    if (std::filesystem::is_directory(from / L"Language"))
      std::filesystem::copy(from / L"Language", dir_.path() / L"Language");
  }
  std::wstring Exe() const { return (dir_.path() / L"ov3.exe").wstring(); }
  std::wstring Folder() const { return dir_.path().wstring(); }
  String File(const char* name) const { return dir_.file(name); }

 private:
  TempDir dir_;
};

// Asks the bar to close as its "close" command does and waits for the process.
inline int CloseBar(testproc::ChildProcess& bar, HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  return bar.Wait(15000);
}

}  // namespace ov3test
