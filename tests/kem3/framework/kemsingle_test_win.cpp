// The single-instance control across two processes: this test process is the
// running instance (a real top-level window whose procedure passes every
// message through HandleInstanceMessage), instanceprobe.exe the second start.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "kem3/framework/kemsingle_win.h"
#include "platform/files.h"
#include "platform/win_util_win.h"
#include "support/process_win.h"
#include "support/temp_dir.h"

namespace {

// What the running instance's window saw.
struct TSeen {
  int WakeUps = 0;
  int CopyDataCount = 0;
  ULONG_PTR CopyDataTag = 99;
  std::string CopyData;  // every byte handed over, terminator included
};
TSeen Seen;

LRESULT CALLBACK InstanceWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  if (HandleInstanceMessage(message)) {
    ++Seen.WakeUps;
    return message.Result;
  }
  if (msg == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    ++Seen.CopyDataCount;
    Seen.CopyDataTag = data->dwData;
    Seen.CopyData.assign(static_cast<const char*>(data->lpData), data->cbData);
    return TRUE;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

std::wstring Wide(const std::string& utf8) { return WidePath(utf8); }

class SingleInstanceTest : public testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    Name = "OrvInstanceTest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
    HandleFile = Dir.file("ov3.hnd");
    Seen = TSeen();
  }
  void TearDown() override {
    DoneSingleInstance();
    if (Window != nullptr) DestroyWindow(Window);
    testproc::PumpMessages();
  }

  // The running instance: the name taken and a main window that answers.
  void StartRunningInstance() {
    ASSERT_FALSE(InitSingleInstance(Name, HandleFile));
    static const ATOM windowClass = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = InstanceWindowProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"OrvInstanceTestWindow";
      return RegisterClassExW(&wc);
    }();
    ASSERT_NE(windowClass, 0);
    Window = CreateWindowExW(0, L"OrvInstanceTestWindow", L"running instance", WS_OVERLAPPEDWINDOW, 50, 50, 200, 100,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(Window, nullptr);
    SetInstanceMainWindow(Window);
  }

  int Probe(const wchar_t* mode, const std::string& name) {
    return testproc::RunProgram(testproc::ProgramFolder() + L"instanceprobe.exe",
                                std::wstring(mode) + L" " + Wide(name) + L" \"" + Wide(HandleFile) + L"\"");
  }

  std::string HandleFileBytes() { return FileExists(HandleFile) ? ReadFileBytes(HandleFile) : std::string("absent"); }

  static std::string FourBytes(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
  }
  std::string OwnHandleBytes() {
    return FourBytes(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Window)));
  }

  TempDir Dir;
  std::string Name;
  std::string HandleFile;
  HWND Window = nullptr;
};

TEST_F(SingleInstanceTest, FirstHolderThenSecondHolderOfTheName) {
  EXPECT_FALSE(InitSingleInstance(Name, HandleFile));
  EXPECT_NE(InstanceActivateMessage(), 0u);
  EXPECT_EQ(InstanceHandleFile(), HandleFile);
  EXPECT_FALSE(FileExists(HandleFile)) << "nothing is written before a second start";

  EXPECT_EQ(Probe(L"init", Name), 10) << "a second process finds the name held";
  EXPECT_EQ(Probe(L"init", Name + "-other"), 11) << "another name is free";

  DoneSingleInstance();
  EXPECT_EQ(Probe(L"init", Name), 11) << "the name is given up at the exit path";
}

TEST_F(SingleInstanceTest, DefaultHandleFileLiesBesideTheProgram) {
  EXPECT_FALSE(InitSingleInstance(Name));
  const std::string file = InstanceHandleFile();
  ASSERT_GE(file.size(), 4u);
  EXPECT_EQ(file.substr(file.size() - 4), ".hnd");
  EXPECT_EQ(Wide(file), testproc::ProgramFolder() + L"orv_tests_win.hnd");
}

TEST_F(SingleInstanceTest, SecondStartWakesTheRunningInstanceAndHandsOver) {
  StartRunningInstance();
  ShowWindow(Window, SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(IsIconic(Window));

  EXPECT_EQ(Probe(L"activate", Name), 0) << "the second start ends with exit code 0";

  EXPECT_EQ(Seen.WakeUps, 1);
  EXPECT_EQ(HandleFileBytes(), OwnHandleBytes()) << "exactly the window handle, 4 bytes little-endian";
  EXPECT_EQ(ReadInstanceHandle(), Window);
  EXPECT_FALSE(IsIconic(Window)) << "an iconic window is restored";
  EXPECT_EQ(GetForegroundWindow(), Window);

  // The hand-over: the second process's 8-bit command line, zero-terminated.
  EXPECT_EQ(Seen.CopyDataCount, 1);
  EXPECT_EQ(Seen.CopyDataTag, 0u);
  ASSERT_FALSE(Seen.CopyData.empty());
  EXPECT_EQ(Seen.CopyData.back(), '\0');
  EXPECT_EQ(Seen.CopyData.find('\0'), Seen.CopyData.size() - 1);
  EXPECT_NE(Seen.CopyData.find("instanceprobe"), std::string::npos) << Seen.CopyData;
  EXPECT_NE(Seen.CopyData.find("activate " + Name), std::string::npos) << Seen.CopyData;

  // A second wake-up finds the file right and leaves it as it is.
  EXPECT_EQ(Probe(L"activate", Name), 0);
  EXPECT_EQ(Seen.WakeUps, 2);
  EXPECT_EQ(HandleFileBytes(), OwnHandleBytes());

  DestroyWindow(Window);
  Window = nullptr;
  DoneSingleInstance();
  EXPECT_FALSE(FileExists(HandleFile)) << "the running instance removes its handle file at exit";
}

TEST_F(SingleInstanceTest, StaleOrDamagedHandleFileIsRewritten) {
  StartRunningInstance();
  for (const std::string& stale : {FourBytes(0x00ABCDEF), std::string("\x01\x02", 2), std::string("12345678")}) {
    WriteFileAtomic(HandleFile, stale);
    Seen = TSeen();
    EXPECT_EQ(Probe(L"activate", Name), 0);
    EXPECT_EQ(HandleFileBytes(), OwnHandleBytes());
    EXPECT_EQ(Seen.CopyDataCount, 1) << "the command line reaches the running instance, not the stale handle";
  }
}

TEST_F(SingleInstanceTest, HandleFileReadAndWrite) {
  EXPECT_FALSE(InitSingleInstance(Name, HandleFile));
  EXPECT_EQ(ReadInstanceHandle(), nullptr) << "no file";
  WriteInstanceHandle();
  EXPECT_FALSE(FileExists(HandleFile)) << "no main window yet, nothing to publish";

  WriteFileAtomic(HandleFile, FourBytes(0x00012345));
  EXPECT_EQ(ReadInstanceHandle(), reinterpret_cast<HWND>(std::uintptr_t{0x12345}));
  WriteFileAtomic(HandleFile, std::string("\x07", 1));
  EXPECT_EQ(ReadInstanceHandle(), nullptr) << "a short file";

  // An open file that others write does not stop the reader.
  WriteFileAtomic(HandleFile, FourBytes(0x00012345));
  HANDLE open = CreateFileW(Wide(HandleFile).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadInstanceHandle(), reinterpret_cast<HWND>(std::uintptr_t{0x12345}));
  CloseHandle(open);
}

TEST_F(SingleInstanceTest, OnlyTheRegisteredMessageIsHandled) {
  StartRunningInstance();
  for (UINT other : {UINT{WM_NULL}, UINT{WM_USER + 1}, UINT{WM_COPYDATA}}) {
    TMessage message{other, 0, 0, 77};
    EXPECT_FALSE(HandleInstanceMessage(message));
    EXPECT_EQ(message.Result, 77);
  }
  EXPECT_FALSE(FileExists(HandleFile));
  TMessage wakeUp{InstanceActivateMessage(), 0, 0, 77};
  EXPECT_TRUE(HandleInstanceMessage(wakeUp));
  EXPECT_EQ(wakeUp.Result, 0);
  EXPECT_EQ(HandleFileBytes(), OwnHandleBytes());
}

TEST_F(SingleInstanceTest, HungWindowDoesNotHangTheSecondStart) {
  StartRunningInstance();
  // A top-level window whose thread stops reading its messages.
  HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread hung([&] {
    HWND window = CreateWindowExW(0, L"STATIC", L"hung", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetEvent(created);
    WaitForSingleObject(release, INFINITE);
    DestroyWindow(window);
  });
  WaitForSingleObject(created, INFINITE);

  // Without giving up on the hung window the probe would wait until the
  // runner stops it, and report -1.
  const int rc = Probe(L"activate", Name);
  SetEvent(release);
  hung.join();
  CloseHandle(created);
  CloseHandle(release);

  EXPECT_EQ(rc, 0);
  EXPECT_EQ(Seen.WakeUps, 1);
  EXPECT_EQ(HandleFileBytes(), OwnHandleBytes());
}

}  // namespace
