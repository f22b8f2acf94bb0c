// The common services against the real system: version, folders, registry,
// disks and files, the modifier keys, redraw locks and the foreground switch.
#include "kem3/framework/kemutil_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "kem3/framework/kemsysinfo.h"
#include "kem3/framework/kemutil.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"
#include "platform/win_util_win.h"
#include "support/temp_dir.h"
#include "support/test_worker.h"
#include "support/wait_win.h"

TEST(KemUtilWin, VersionOfTheNTFamily) {
  const TOSVersionInfo version = GetWindowsVersionInfo();
  EXPECT_EQ(version.PlatformId, kPlatformNT);
  EXPECT_GE(version.MajorVersion, 6u);
  EXPECT_EQ(GetPlatformType(), 8);
  EXPECT_TRUE(IsWinNTFamily());
  EXPECT_FALSE(IsWin9xFamily());
  EXPECT_EQ(GetCurrentVersionKey(), "\\Software\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_EQ(FormatWindowsVersion(false).size(), version.MajorVersion >= 10 ? 5u : 4u);
  EXPECT_FALSE(ReadRegistryString(GetCurrentVersionKey(), "ProductName", "", rrLocalMachine).empty());
}

TEST(KemUtilWin, SystemFolderAndPathVariables) {
  const String windows = GetWindowsDir();
  ASSERT_FALSE(windows.empty());
  EXPECT_TRUE(DirectoryExists(windows));
  EXPECT_NE(windows.back(), '\\');
  const String shell32 = ExpandPathVariables("%SystemRoot%\\system32\\shell32.dll");
  EXPECT_EQ(shell32, windows + "\\system32\\shell32.dll");
  EXPECT_TRUE(FileExists(shell32));
  const String programFiles = ExpandPathVariables("%ProgramFiles%\\x");
  EXPECT_EQ(programFiles, GetShellFolder(51, false) + "\\x");
}

TEST(KemUtilWin, ShellFoldersFromRegistryOrShell) {
  EXPECT_FALSE(GetShellFolder(0, false).empty());
  EXPECT_FALSE(GetShellFolder(2, false).empty());
  EXPECT_FALSE(GetShellFolder(11, false).empty());
  EXPECT_FALSE(GetShellFolder(50, false).empty());  // not in the machine's registry: asked of the shell
  const String programFiles = GetShellFolder(51, false);
  EXPECT_EQ(programFiles, ReadRegistryString("\\Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", "-",
                                             rrLocalMachine));
  EXPECT_TRUE(DirectoryExists(programFiles));
  EXPECT_FALSE(GetShellFolder(52, false).empty());
  EXPECT_EQ(GetShellFolder(7, false), "");
  EXPECT_EQ(ReadRegistryString("\\Software\\No Such Key Of Orvanel", "x", "default", rrCurrentUser), "default");
  EXPECT_EQ(ReadRegistryString(GetCurrentVersionKey(), "No such value", "default", rrLocalMachine), "default");
  // A number is no text: the default.
  const String key = "Software\\OrvanelUtilTest-" + std::to_string(GetCurrentProcessId());
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, WidePath(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created,
                            nullptr),
            ERROR_SUCCESS);
  const DWORD number = 7;
  RegSetValueExW(created, L"n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(created);
  EXPECT_EQ(ReadRegistryString("\\" + key, "n", "default", rrCurrentUser), "default");
  RegDeleteTreeW(HKEY_CURRENT_USER, WidePath(key).c_str());
}

TEST(KemUtilWin, DisplayDepthAndWorkgroup) {
  EXPECT_GE(GetColorDepth(), 8);
  EXPECT_EQ(IsHighColor(), GetColorDepth() > 14);
  // Wine's network client names a workgroup.
  EXPECT_FALSE(GetWorkgroupName().empty());
  EXPECT_EQ(GetDataAccessVersion(), PackDottedVersion(ReadRegistryString("\\Software\\Microsoft\\DataAccess",
                                                                         "FullInstallVer", "0.0.0", rrLocalMachine)));
}

TEST(KemUtilWin, DisksAndFileSizes) {
  TempDir dir;
  const String folder = dir.file("");
  EXPECT_GT(GetDiskFree(folder), 0);
  EXPECT_GE(GetDiskSize(folder), GetDiskFree(folder));
  EXPECT_GT(GetDiskFree("C:"), 0);  // a bare drive
  EXPECT_EQ(GetDiskSize("Q:\\no such drive"), 0);

  const String small = dir.file("日本語 ü.bin");
  WriteFileAtomic(small, String(70001, 'x'));
  EXPECT_EQ(GetFileSize64(small), 70001);
  EXPECT_EQ(GetFileSize64(folder), 0);
  EXPECT_EQ(GetFileSize64(dir.file("missing")), 0);

  // Beyond four gigabytes: a file only extended holds no data, which costs
  // nothing on the disks Wine runs on.
  const String large = dir.file("large.bin");
  HANDLE file = CreateFileW(WidePath(large).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = (std::int64_t{5} << 30) + 3;
  const bool sized = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  ASSERT_TRUE(sized);
  EXPECT_EQ(GetFileSize64(large), size.QuadPart);

  TStringList list;
  EXPECT_TRUE(FindFiles(list, folder + "*.bin", false));
  EXPECT_NE(list.IndexOf("日本語 ü.bin"), -1);
}

TEST(KemUtilWin, ShiftStateFromTheThreadsKeys) {
  BYTE saved[256];
  ASSERT_TRUE(GetKeyboardState(saved));
  BYTE keys[256] = {};
  SetKeyboardState(keys);
  EXPECT_EQ(GetShiftStateBits(), 0);
  keys[VK_SHIFT] = 0x80;
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_EQ(GetShiftStateBits(), 1 | 4);
  keys[VK_SHIFT] = 0x01;  // toggled, not down
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  EXPECT_EQ(GetShiftStateBits(), 2 | 4);
  SetKeyboardState(saved);
}

TEST(KemUtilWin, RedrawLockOfAControl) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(0, 0, 120, 80);
  form->Show();
  const HWND window = form->Handle();
  const auto visibleStyle = [window] { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; };
  ASSERT_TRUE(visibleStyle());
  // While locked the window counts as not drawing (the system clears its
  // visible style without hiding it); unlocked it draws again.
  SetRedrawLock(form, true);
  EXPECT_FALSE(visibleStyle());
  SetRedrawLock(form, false);
  EXPECT_TRUE(visibleStyle());
  EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE));  // repaint pending

  auto* loose = new TQuietForm(Application);
  SetRedrawLock(loose, true);  // no window yet: none is made for it
  EXPECT_FALSE(loose->HandleAllocated());
  SetRedrawLock(nullptr, false);
}

TEST(KemUtilWin, ShellWindowsRecordedAtStartUp) {
  InitCommonServices();
  EXPECT_EQ(DesktopWindow(), GetDesktopWindow());
  EXPECT_EQ(TaskbarWindow(), FindWindowW(L"Shell_TrayWnd", nullptr));
  EXPECT_EQ(ProgmanWindow(), FindWindowW(L"ProgMan", nullptr));
  PushDecimalSeparator(',');
  DoneCommonServices();
  EXPECT_EQ(DesktopWindow(), nullptr);
  EXPECT_EQ(DecimalSeparator(), '.');
}

// ---- The foreground switch

namespace {

const wchar_t* const kTestWindowClass = L"OrvForegroundTest";

void RegisterTestWindowClass() {
  static const bool registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kTestWindowClass;
    return RegisterClassW(&windowClass) != 0;
  }();
  (void)registered;
}

HWND NewTestWindow(int left) {
  RegisterTestWindowClass();
  return CreateWindowExW(0, kTestWindowClass, L"", WS_POPUP | WS_VISIBLE, left, 0, 60, 40, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// A window that belongs to a thread of its own, which serves its messages
// until told to quit; the object waits for the thread.
class TWindowOfAnotherThread {
 public:
  TWindowOfAnotherThread()
      : FWorker([this] {
          FThreadId = GetCurrentThreadId();
          FWindow = NewTestWindow(100);
          FReady = true;
          MSG msg;
          while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
          DestroyWindow(FWindow);
        }) {
    FWorker.Start();
    testproc::WaitUntil([this] { return FReady.load(); });
  }
  ~TWindowOfAnotherThread() { Quit(); }
  void Quit() {
    if (FQuitPosted) return;
    FQuitPosted = true;
    testproc::WaitUntil([this] { return FReady && PostThreadMessageW(FThreadId, WM_QUIT, 0, 0); });
  }
  // None when the thread did not make its window in time.
  HWND Window() const { return FReady ? FWindow : nullptr; }
  DWORD ThreadId() const { return FThreadId; }

 private:
  std::atomic<bool> FReady{false};
  bool FQuitPosted = false;
  DWORD FThreadId = 0;
  HWND FWindow = nullptr;
  testsupport::TWorker FWorker;
};

}  // namespace

TEST(KemUtilWin, ForceForegroundWindowOfAnotherThread) {
  const HWND own = NewTestWindow(0);
  ASSERT_NE(own, nullptr);
  SetForegroundWindow(own);
  Pump();
  {
    TWindowOfAnotherThread other;
    ASSERT_NE(other.Window(), nullptr);
    EXPECT_NE(other.ThreadId(), GetCurrentThreadId());
    EXPECT_TRUE(ForceForegroundWindow(other.Window()));
    EXPECT_EQ(GetForegroundWindow(), other.Window());
    EXPECT_TRUE(ForceForegroundWindow(other.Window()));  // already there

    // A minimised window comes back first.
    EXPECT_TRUE(ForceForegroundWindow(own));
    ShowWindow(other.Window(), SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(other.Window()));
    EXPECT_TRUE(ForceForegroundWindow(other.Window()));
    EXPECT_FALSE(IsIconic(other.Window()));
    EXPECT_EQ(GetForegroundWindow(), other.Window());
    EXPECT_FALSE(ForceForegroundWindow(nullptr));
    // Under Wine without a window manager, destroying a window that was
    // active waits for the manager a while: both windows go at the same time.
    other.Quit();
    DestroyWindow(own);
    EXPECT_FALSE(ForceForegroundWindow(own));
  }
  Pump();
}
