// browsertime.exe: how long the file browser takes over a big folder under
// Wine (not shipped, run by no test). Makes a folder of N files (first
// argument, default 20000) under the temporary folder, then shows the browser
// on it R times (second argument, default 5) and prints, per use, the
// milliseconds until the list first shows entries, until all are listed and
// sorted, and until their detail columns are filled.
#include "platform/winapi_win.h"

#include <commctrl.h>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>

#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/browser/kembrowser_win.h"
#include "kem3/browser/kembrwork.h"
#include "kem3/controls/kemlview_win.h"
#include "kem3/framework/kemexe.h"
#include "platform/application_win.h"
#include "platform/forms_win.h"
#include "platform/timer.h"

namespace {

using TWatchClock = std::chrono::steady_clock;

double Since(TWatchClock::time_point Start) {
  return std::chrono::duration<double, std::milli>(TWatchClock::now() - Start).count();
}

// The folder with exactly Count files (made once, kept for later runs).
std::filesystem::path BigFolder(int Count) {
  const auto folder = std::filesystem::temp_directory_path() / ("orv_browsertime_" + std::to_string(Count));
  const auto files = folder / "Files";
  std::filesystem::create_directories(files);
  if (!std::filesystem::exists(folder / "done")) {
    for (int i = 0; i < Count; ++i)
      std::ofstream(files / ("file" + std::to_string(i) + (i % 3 ? ".exe" : ".txt"))) << std::string(i % 500, 'x');
    std::ofstream(folder / "done") << Count;
  }
  return folder;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int count = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 20000;
  const int runs = argc > 2 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 5;
  InitApplication();
  std::printf("making %d files...\n", count);
  const auto folder = BigFolder(count);
  const auto u8 = folder.u8string();
  const String root(u8.begin(), u8.end());
  // The browser's kept state goes into a settings file of its own there.
  SetProgramFileName(root + "\\browsertime.exe");
  TdBrowser* browser = NewForm<TdBrowser>(nullptr);

  for (int run = 1; run <= runs; ++run) {
    TWatchClock::time_point start;
    double first = -1, sorted = -1, filled = -1;
    auto* watch = new TTimer(Application);
    watch->SetInterval(1);
    watch->OnTimer = [&](TObject*) {
      if (first < 0 && SendMessageW(browser->lvFiles->Handle(), LVM_GETITEMCOUNT, 0, 0) > 0) first = Since(start);
      if (sorted < 0 && browser->Model().Count() == count && !browser->Model().Listing()) sorted = Since(start);
      if (sorted >= 0 && browser->Idle()) {
        filled = Since(start);
        browser->SetModalResult(mrCancel);
      }
    };
    start = TWatchClock::now();
    browser->Execute(brmOpen, -1, false, root + "\\Files\\", -1);
    watch->Free();
    std::printf("run %d: first entries %.0f ms, all listed and sorted %.0f ms, columns filled %.0f ms\n", run, first,
                sorted, filled);
    std::fflush(stdout);
  }
  browser->Free();
  WaitForRetiredBrowserWorkers();
  FreeIniFile();
  DoneApplication();
  return 0;
}
