// The preferences dialog as a user opens it: Ctrl+P on the bar shows it,
// Escape closes it again. With ORV_PREFERENCES_SHOT set to a file name, the
// open dialog is saved there as a bitmap to be looked at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "kem3/framework/kemexe.h"
#include "launcher/ov3_folder_win.h"
#include "platform/bitmap.h"
#include "platform/canvas_win.h"

using namespace ov3test;

namespace {

void Keys(std::initializer_list<std::pair<WORD, bool>> Strokes) {
  for (const auto& [key, down] : Strokes) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
  }
}

// A visible top-level window of the process with this caption, waiting up to the time.
HWND WaitForCaption(DWORD ProcessId, const std::wstring& Caption, DWORD Milliseconds) {
  struct Search {
    DWORD Id;
    const std::wstring& Caption;
    HWND Found;
  } search{ProcessId, Caption, nullptr};
  const ULONGLONG deadline = GetTickCount64() + Milliseconds;
  while (!search.Found && GetTickCount64() < deadline) {
    EnumWindows(
        [](HWND Window, LPARAM Param) -> BOOL {
          auto* s = reinterpret_cast<Search*>(Param);
          DWORD owner = 0;
          GetWindowThreadProcessId(Window, &owner);
          wchar_t text[64] = {};
          GetWindowTextW(Window, text, 64);
          if (owner != s->Id || !IsWindowVisible(Window) || s->Caption != text) return TRUE;
          s->Found = Window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    testproc::PumpMessages();
    Sleep(50);
  }
  return search.Found;
}

void SaveShot(HWND Window, const char* File) {
  RECT r{};
  GetWindowRect(Window, &r);
  TBitmap shot;
  shot.SetPixelFormat(pf24bit);
  shot.SetSize(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  shot.SaveToFile(File);
}

}  // namespace

TEST(Ov3PreferencesProcess, CtrlPOpensThePreferencesAndEscapeClosesThem) {
  Ov3Folder folder;
  std::filesystem::copy(std::filesystem::path(GetExeDir()) / "Skins", std::filesystem::path(folder.Folder()) / "Skins",
                        std::filesystem::copy_options::recursive);
  testproc::ChildProcess bar(folder.Exe(), L"", folder.Folder());
  HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  Keys({{VK_CONTROL, true}, {'P', true}, {'P', false}, {VK_CONTROL, false}});
  HWND dialog = WaitForCaption(bar.Id(), L"Preferences", 10000);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & WS_SYSMENU, 0) << "no border icons";
  EXPECT_FALSE(IsWindowEnabled(window)) << "the dialog is modal";
  if (const char* file = std::getenv("ORV_PREFERENCES_SHOT")) {
    Sleep(1000);
    SaveShot(dialog, file);
  }
  Keys({{VK_ESCAPE, true}, {VK_ESCAPE, false}});
  const ULONGLONG deadline = GetTickCount64() + 10000;
  while (!IsWindowEnabled(window) && GetTickCount64() < deadline) {
    testproc::PumpMessages();
    Sleep(50);
  }
  EXPECT_FALSE(IsWindow(dialog) && IsWindowVisible(dialog));
  EXPECT_TRUE(IsWindowEnabled(window));
  ASSERT_EQ(CloseBar(bar, window), 0);
}
