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

// The pointer rests on the bar's lower right corner. Wine answers a released
// mouse capture with a move to the window under the pointer; over the
// desktop, that loads the bar's global mouse hook, and so this folder's
// kem3.dll, into Wine's desktop process, which keeps it to the end: the
// folder could not be removed.
inline void RestPointerOn(HWND bar) {
  RECT r;
  GetWindowRect(bar, &r);
  SetCursorPos(r.right - 2, r.bottom - 2);
}

// The bar started from a program folder, and its window once it shows. What
// a test needs of it next is waited for as a condition: that it answers, that
// it takes keys.
class RunningBar : public testproc::ChildProcess {
 public:
  explicit RunningBar(const Ov3Folder& folder, const std::wstring& arguments = L"", DWORD milliseconds = 15000)
      : ChildProcess(folder.Exe(), arguments, folder.Folder()) {
    if (Started()) window_ = WaitForWindow(milliseconds);
  }
  // None when it did not show in time.
  HWND Window() const { return window_; }
  // Its first show's work is done once its thread takes messages again.
  bool Answers(DWORD milliseconds = 30000) const {
    DWORD_PTR result = 0;
    return window_ && SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, milliseconds, &result) != 0;
  }
  // Keys typed now reach the bar: it is the foreground window, the focus is
  // in it, and the start-up splash, whose going takes the activation with it
  // for a while under Wine, has gone.
  bool TakesKeys(DWORD milliseconds = 15000) { return WaitForKeys(false, milliseconds); }
  // The same once the bar is brought to the front as a user's click would.
  bool Activate(DWORD milliseconds = 15000) { return WaitForKeys(true, milliseconds); }
  // The input queued for the bar's thread so far is handled: a window of it
  // asked to paint has painted, and a thread paints only once its input
  // queue is empty. Wine queues a pointer move of its own when a capture
  // ends, which nothing else shows.
  bool InputHandled(HWND part, DWORD milliseconds = 15000) const {
    const RECT corner{0, 0, 1, 1};
    InvalidateRect(part, &corner, FALSE);
    return testproc::WaitUntil([part] { return !GetUpdateRect(part, nullptr, FALSE); }, milliseconds);
  }
  void RestPointer() const { RestPointerOn(window_); }
  int Close() { return CloseBar(*this, window_); }

 private:
  bool WaitForKeys(bool activate, DWORD milliseconds) {
    if (!Answers()) return false;
    return testproc::WaitUntil(
        [this, activate] {
          if (SplashShows()) return false;
          if (activate && GetForegroundWindow() != window_) SetForegroundWindow(window_);
          GUITHREADINFO thread{};
          thread.cbSize = sizeof thread;
          return GetForegroundWindow() == window_ &&
                 GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &thread) &&
                 (thread.hwndFocus == window_ || IsChild(window_, thread.hwndFocus));
        },
        milliseconds);
  }
  bool SplashShows() const {
    HWND splash = nullptr;
    while ((splash = FindWindowExW(nullptr, splash, L"TOrvSplash", nullptr))) {
      DWORD owner = 0;
      GetWindowThreadProcessId(splash, &owner);
      if (owner == Id() && IsWindowVisible(splash)) return true;
    }
    return false;
  }

  HWND window_ = nullptr;
};

}  // namespace ov3test
