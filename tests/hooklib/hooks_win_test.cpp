// kem3.dll at work across processes: this test installs the hooks for a window
// of its own, and a second process (hookdriver) moves the pointer, clicks and
// types over its window. The notifications posted to our window and the input
// that reached the driver's window are compared with what the hooks promise.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "hooklib/kemhk.h"
#include "kem3/framework/kemhi_win.h"
#include "support/process_win.h"

namespace {

struct TNote {
  unsigned Message;
  std::uint32_t WParam;
  std::int32_t LParam;
  bool operator==(const TNote&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TNote& n) {
  return out << "{" << std::hex << n.Message << ", " << n.WParam << ", " << std::dec << n.LParam << "}";
}

TNote Mouse(std::uint32_t wparam, std::int32_t lparam) { return {WM_MOUSEHOOK, wparam, lparam}; }
TNote Keyboard(std::uint32_t wparam, std::int32_t lparam) { return {WM_KEYBOARDHOOK, wparam, lparam}; }
std::uint32_t Packed(std::uint32_t event, int x, int y) {
  return static_cast<std::uint32_t>(x) << 4 | static_cast<std::uint32_t>(y) << 18 | event;
}

// A hidden window that writes down the hook notifications it receives.
class TClientWindow {
 public:
  TClientWindow() {
    static const ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"HookTestClient";
      return RegisterClassW(&wc);
    }();
    Handle = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(atom)), L"", WS_POPUP, 0, 0, 1, 1,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(Handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TClientWindow() {
    if (IsWindow(Handle)) DestroyWindow(Handle);
  }
  std::vector<TNote> Take() {
    testproc::PumpMessages();
    return std::exchange(Notes, {});
  }
  HWND Handle;
  std::vector<TNote> Notes;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_MOUSEHOOK || message == WM_KEYBOARDHOOK) {
      auto* self = reinterpret_cast<TClientWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
      if (self != nullptr)
        self->Notes.push_back({message, static_cast<std::uint32_t>(wparam), static_cast<std::int32_t>(lparam)});
      return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }
};

// The driver's window covers (100, 100)-(499, 399), its scroll bar on the right.
// Every script ends at the home point, which lies in no area.
constexpr wchar_t DriverWindow[] = L"100 100 400 300";
constexpr wchar_t Home[] = L" move 110 110";
constexpr int VkF1 = 0x70, VkF2 = 0x71, VkF3 = 0x72;

// A view of a global section, to check what the exports and hooks left there.
template <class T>
class TSectionPeek {
 public:
  explicit TSectionPeek(const char* name) {
    mapping_ = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (mapping_ != nullptr) view_ = static_cast<const T*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(T)));
  }
  ~TSectionPeek() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }
  const T* operator->() const { return view_; }
  explicit operator bool() const { return view_ != nullptr; }

 private:
  HANDLE mapping_ = nullptr;
  const T* view_ = nullptr;
};

#pragma pack(push, 1)
struct TMouseShared {
  std::uint32_t Hook;
  std::uint8_t OverScrollBar, Unused[3];
  struct {
    std::uint32_t Window;
    std::uint8_t Used, Unused[3];
  } Clients[26];
};
#pragma pack(pop)

std::uint32_t Low32(HWND window) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)); }

class HookLibrary : public testing::Test {
 protected:
  static void SetUpTestSuite() { BindHookLibrary(); }
  static void TearDownTestSuite() { FreeHookLibrary(); }
  void SetUp() override { ASSERT_TRUE(HookLibraryLoaded()); }

  // Runs the driver with a script and gives the lines of its input log.
  std::vector<std::string> Drive(const std::wstring& script) {
    const std::wstring folder = testproc::ProgramFolder();
    wchar_t logFile[MAX_PATH];
    GetTempFileNameW(folder.c_str(), L"hkd", 0, logFile);
    const int rc = testproc::RunProgram(folder + L"hookdriver.exe",
                                        L"\"" + std::wstring(logFile) + L"\" " + DriverWindow + L" " + script + Home);
    EXPECT_EQ(rc, 0) << "driver failed";
    auto lines = testproc::ReadLines(logFile);
    DeleteFileW(logFile);
    return lines;
  }
  static bool Has(const std::vector<std::string>& lines, const std::string& line) {
    for (const auto& l : lines)
      if (l == line) return true;
    return false;
  }
  static int Count(const std::vector<std::string>& lines, const std::string& line) {
    int n = 0;
    for (const auto& l : lines) n += l == line;
    return n;
  }

  TClientWindow client;
};

}  // namespace

TEST_F(HookLibrary, IdentifiesItself) {
  EXPECT_EQ(hlGetTitle(), "Windows Hook Library");
  EXPECT_FALSE(hlGetCopyright().empty());
  EXPECT_EQ(hlGetVersion(), 0x020C0008u);
}

TEST_F(HookLibrary, AreasAreStoredPerWindowAndCheckedOnTheWay) {
  mhInstallHook(client.Handle);
  mhSetArea(client.Handle, 100, 5, 6, 1, 2, 3, 4);
  RECT r = mhGetArea(client.Handle, 100, 5);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.bottom, 4);
  mhSetArea(client.Handle, 101, 0, 1, 1, 2, 3, 4);
  mhSetArea(client.Handle, 3, 6, 1, 1, 2, 3, 4);
  for (auto [area, index] : {std::pair{101, 0}, {-1, 0}, {3, 6}, {3, -1}}) {
    r = mhGetArea(client.Handle, area, index);
    EXPECT_TRUE(r.left == 0 && r.top == 0 && r.right == -1 && r.bottom == -1) << area << " " << index;
  }
  // A second install resets the window's areas.
  mhInstallHook(client.Handle);
  r = mhGetArea(client.Handle, 100, 0);
  EXPECT_TRUE(r.left == 0 && r.top == 0 && r.right == -1 && r.bottom == -1);
  mhRemoveHook(client.Handle);
}

TEST_F(HookLibrary, MouseAreasReportEntriesExitsAndClicksFromAnotherProcess) {
  mhInstallHook(client.Handle);
  mhSetArea(client.Handle, 5, 0, 1, 150, 150, 200, 200);
  mhSetArea(client.Handle, 7, 0, 1, 180, 180, 250, 250);
  const auto input = Drive(
      L"move 120 120 move 160 160 ldown lup move 190 190 rdown rup move 200 200 move 201 201 "
      L"move 300 300 ldown lup");
  mhRemoveHook(client.Handle);
  const std::vector<TNote> expected = {
      Mouse(1, 5),
      Mouse(Packed(3, 160, 160), 5),
      Mouse(Packed(6, 160, 160), 5),
      Mouse(1, 7),
      Mouse(Packed(4, 190, 190), 5),
      Mouse(Packed(4, 190, 190), 7),
      Mouse(Packed(7, 190, 190), 5),
      Mouse(Packed(7, 190, 190), 7),
      Mouse(2, 5),
      Mouse(2, 7),
      Mouse(Packed(3, 300, 300), -1),
      Mouse(Packed(6, 300, 300), -1),
  };
  EXPECT_EQ(client.Take(), expected);
  EXPECT_TRUE(Has(input, "button 201"));  // the driver's window saw its clicks
}

TEST_F(HookLibrary, MoveEventsReportMovesAndLeftReleasesAnywhere) {
  mhInstallHook(client.Handle);
  mhMoveEvents(client.Handle, true);
  Drive(L"move 300 300 ldown lup move 310 320");
  mhRemoveHook(client.Handle);
  std::vector<TNote> notes = client.Take();
  // Where the pointer was before the script does not matter: start at its first move.
  while (!notes.empty() && notes.front() != Mouse(Packed(9, 300, 300), -1)) notes.erase(notes.begin());
  const std::vector<TNote> expected = {
      Mouse(Packed(9, 300, 300), -1), Mouse(Packed(3, 300, 300), -1), Mouse(Packed(6, 300, 300), -1),
      Mouse(Packed(6, 300, 300), -1), Mouse(Packed(9, 310, 320), -1), Mouse(Packed(9, 110, 110), -1),
  };
  EXPECT_EQ(notes, expected);
}

TEST_F(HookLibrary, MenuScrollOffDiscardsRightClicksOnScrollBarsOfOtherPrograms) {
  mhInstallHook(client.Handle);
  auto input = Drive(L"move 492 250 rdown rup move 300 300");
  EXPECT_TRUE(Has(input, "button a4")) << "a right press on the scroll bar arrives while menu scroll is on";

  mhMenuScroll(client.Handle, false);
  client.Take();
  input = Drive(L"move 492 250 rdown rup move 300 300 rdown rup");
  mhRemoveHook(client.Handle);
  EXPECT_FALSE(Has(input, "button a4"));
  EXPECT_TRUE(Has(input, "button 204"));  // away from scroll bars nothing is discarded
  EXPECT_TRUE(Has(input, "button 205"));
  const auto notes = client.Take();
  for (const TNote& note : notes) EXPECT_NE(note, Mouse(Packed(4, 492, 250), -1));
  EXPECT_EQ(notes.back(), Mouse(Packed(7, 300, 300), -1));
}

TEST_F(HookLibrary, HotkeysAreReportedAndSwallowedInAnotherProcess) {
  khInstallHook(client.Handle);
  khSetHotkey(client.Handle, 100, VkF1, 0x0200);  // left Ctrl only
  khSetHotkey(client.Handle, 101, VkF2, 0x0400);  // either Ctrl
  khSetHotkey(client.Handle, 102, VkF3, 0);
  khSetHotkey(client.Handle, 0, VkF3, 0);  // id 0 is ignored
  const auto input = Drive(
      L"kdown 162 kdown 112 kup 112 kup 162 "                    // left Ctrl+F1
      L"kdown 163 kdown 112 kup 112 kdown 113 kup 113 kup 163 "  // right Ctrl+F1, right Ctrl+F2
      L"kdown 114 kdown 114 kup 114 move 130 130");              // F3 held: one repeat
  khRemoveHook(client.Handle);

  const std::vector<TNote> expected = {
      Keyboard(1, 0),     Keyboard(1, 0x600), Keyboard(0, 100),   Keyboard(1, 0x600), Keyboard(1, 0x600),
      Keyboard(1, 0),     Keyboard(1, 0x500), Keyboard(1, 0x500), Keyboard(1, 0x500), Keyboard(0, 101),
      Keyboard(1, 0x500), Keyboard(1, 0x500), Keyboard(1, 0),     Keyboard(0, 102),   Keyboard(1, 0),
  };
  EXPECT_EQ(client.Take(), expected);
  // Swallowed presses never reach the driver's window; their releases and the
  // keys that matched nothing do; the auto-repeat of a swallowed key passes.
  EXPECT_EQ(Count(input, "keydown 112"), 1);
  EXPECT_EQ(Count(input, "keyup 112"), 2);
  EXPECT_EQ(Count(input, "keydown 113"), 0);
  EXPECT_EQ(Count(input, "keyup 113"), 1);
  EXPECT_EQ(Count(input, "keydown 114"), 1);
  EXPECT_EQ(Count(input, "keyup 114"), 1);
}

TEST_F(HookLibrary, EveryKeyboardClientGetsItsOwnMatchAndTheHookStaysForTheLast) {
  TClientWindow second;
  khInstallHook(client.Handle);
  khInstallHook(second.Handle);
  khInstallHook(nullptr);  // refused: no slot, no section
  khSetHotkey(client.Handle, 200, VkF1, 0);
  khSetHotkey(second.Handle, 300, VkF1, 0);
  khSetHotkey(second.Handle, 301, 0, 0);  // any key: matches presses and releases, swallows none
  const std::vector<TNote> firstNotes = {Keyboard(1, 0), Keyboard(0, 200), Keyboard(1, 0), Keyboard(1, 0),
                                         Keyboard(1, 0)};
  const std::vector<TNote> secondNotes = {Keyboard(1, 0), Keyboard(0, 300), Keyboard(1, 0), Keyboard(0, 301),
                                          Keyboard(1, 0), Keyboard(0, 301), Keyboard(1, 0), Keyboard(0, 301)};
  for (bool firstInstalled : {true, false}) {
    if (!firstInstalled) khRemoveHook(client.Handle);  // the second is left alone with the hook
    const auto input = Drive(L"kdown 112 kup 112 kdown 113 kup 113");
    EXPECT_EQ(client.Take(), firstInstalled ? firstNotes : std::vector<TNote>{});
    EXPECT_EQ(second.Take(), secondNotes);
    EXPECT_EQ(Count(input, "keydown 112"), 0);
    EXPECT_EQ(Count(input, "keyup 112"), 1);
    EXPECT_EQ(Count(input, "keydown 113"), 1);
  }
  khRemoveHook(second.Handle);
  EXPECT_FALSE(TSectionPeek<std::uint32_t>("KEM32_KH3_Shared_Data"));
  EXPECT_FALSE(TSectionPeek<std::uint32_t>("KEM32_KH3_Shared_Data_00000000"));
}

// Whether both system hooks are set and both global tables hold each window.
bool HoldAll(const TClientWindow (&windows)[3]) {
  TSectionPeek<TMouseShared> mouse("KEM31_MH3_Shared_Data");
  TSectionPeek<kemhk::TKeyboardHookShared> keyboard("KEM32_KH3_Shared_Data");
  if (!mouse || !keyboard || mouse->Hook == 0 || keyboard->Hook == 0) return false;
  int held = 0;
  for (const TClientWindow& window : windows) {
    for (const auto& slot : mouse->Clients) held += slot.Used && slot.Window == Low32(window.Handle);
    for (const auto& slot : keyboard->Clients) held += slot.Used && slot.Window == Low32(window.Handle);
  }
  return held == 6;
}

// One of the processes of the next test, which starts it; no run of its own.
TEST_F(HookLibrary, DISABLED_InstallsAndRemovesBesideOtherProcesses) {
  HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, "HookChurnReady");
  HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, "HookChurnGo");
  ASSERT_TRUE(ready != nullptr && go != nullptr);
  TClientWindow windows[3];
  ReleaseSemaphore(ready, 1, nullptr);
  ASSERT_EQ(WaitForSingleObject(go, 30000), WAIT_OBJECT_0);
  for (int round = 0; round < 20 && !HasFailure(); ++round) {
    for (const TClientWindow& window : windows) mhInstallHook(window.Handle), khInstallHook(window.Handle);
    EXPECT_TRUE(HoldAll(windows)) << "round " << round;
    for (const TClientWindow& window : windows) mhRemoveHook(window.Handle), khRemoveHook(window.Handle);
  }
}

TEST_F(HookLibrary, ProcessesInstallingAndRemovingAtOnceLoseNoSlotAndNoHook) {
  constexpr int Processes = 6;
  HANDLE ready = CreateSemaphoreA(nullptr, 0, Processes, "HookChurnReady");
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, "HookChurnGo");
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::vector<int> results(Processes, -1);
  std::vector<std::thread> runs;
  for (int i = 0; i < Processes; ++i)
    runs.emplace_back([&, i] {
      results[i] = testproc::RunProgram(
          self, L"--gtest_filter=*.DISABLED_InstallsAndRemovesBesideOtherProcesses --gtest_also_run_disabled_tests");
    });
  int started = 0;  // all start at once
  while (started < Processes && WaitForSingleObject(ready, 30000) == WAIT_OBJECT_0) ++started;
  SetEvent(go);
  for (auto& run : runs) run.join();
  CloseHandle(go);
  CloseHandle(ready);
  EXPECT_EQ(started, Processes);
  EXPECT_EQ(results, std::vector<int>(Processes, 0));
  EXPECT_FALSE(TSectionPeek<TMouseShared>("KEM31_MH3_Shared_Data"));
}

TEST_F(HookLibrary, DestroyedClientLosesItsSlotAndTheLastRemovalUnhooks) {
  TClientWindow doomed;
  mhInstallHook(client.Handle);
  mhInstallHook(doomed.Handle);
  const std::uint32_t doomedValue = Low32(doomed.Handle);
  DestroyWindow(doomed.Handle);
  // While an export holds the lock (this test, here), the hook leaves the slot
  // for a later message.
  HANDLE lock = CreateMutexA(nullptr, FALSE, "KEM3_Hook_Exports_Lock");
  for (bool locked : {true, false}) {
    if (locked) WaitForSingleObject(lock, INFINITE);
    Drive(L"move 140 140");
    if (locked) ReleaseMutex(lock);
    TSectionPeek<TMouseShared> shared("KEM31_MH3_Shared_Data");
    ASSERT_TRUE(shared);
    EXPECT_NE(shared->Hook, 0u);
    bool kept = false;
    for (const auto& slot : shared->Clients) kept |= slot.Used && slot.Window == doomedValue;
    EXPECT_EQ(kept, locked);
  }
  CloseHandle(lock);
  mhRemoveHook(client.Handle);
  {
    // This process still holds the section through the destroyed window's install.
    TSectionPeek<TMouseShared> shared("KEM31_MH3_Shared_Data");
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->Hook, 0u);
    for (const auto& slot : shared->Clients) EXPECT_FALSE(slot.Used);
  }
  mhRemoveHook(doomed.Handle);
  EXPECT_FALSE(TSectionPeek<TMouseShared>("KEM31_MH3_Shared_Data"));
}

TEST_F(HookLibrary, TwentySeventhWindowOfAProcessFindsNoResources) {
  std::vector<std::unique_ptr<TClientWindow>> windows;
  for (int i = 0; i < 27; ++i) windows.push_back(std::make_unique<TClientWindow>());
  for (int i = 0; i < 26; ++i) mhInstallHook(windows[i]->Handle);
  try {
    mhInstallHook(windows[26]->Handle);
    ADD_FAILURE() << "no error";
  } catch (const EKemHookError& e) {
    EXPECT_EQ(e.Message, "No available hook resources.");
  }
  mhInstallHook(windows[0]->Handle);  // installed already: reuses its slot
  mhRemoveHook(windows[3]->Handle);
  mhInstallHook(windows[26]->Handle);
  for (auto& window : windows) mhRemoveHook(window->Handle);
  EXPECT_FALSE(TSectionPeek<TMouseShared>("KEM31_MH3_Shared_Data"));
}

TEST_F(HookLibrary, KeyboardHookInstallsAgainAfterEveryRemoval) {
  for (int i = 0; i < 30; ++i) {
    khInstallHook(client.Handle);
    khSetHotkey(client.Handle, i + 1, VkF1, 0);
    khRemoveHook(client.Handle);
  }
  std::vector<std::unique_ptr<TClientWindow>> windows;
  for (int i = 0; i < 22; ++i) windows.push_back(std::make_unique<TClientWindow>());
  for (int i = 0; i < 21; ++i) khInstallHook(windows[i]->Handle);
  EXPECT_THROW(khInstallHook(windows[21]->Handle), EKemHookError);
  for (auto& window : windows) khRemoveHook(window->Handle);
}

TEST_F(HookLibrary, SectionFailuresRaiseTheLibrarysTexts) {
  // Another object holds the name of a window's section: it cannot be created.
  const HWND blocked = reinterpret_cast<HWND>(std::uintptr_t{0x7ABC0010});
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "KEM31_MH3_Shared_Data_7ABC0010");
  ASSERT_NE(mutex, nullptr);
  try {
    mhSetArea(blocked, 0, 0, 1, 0, 0, 1, 1);
    ADD_FAILURE() << "no error";
  } catch (const EKemHookError& e) {
    EXPECT_EQ(e.Message.rfind("Failed to create file mapping. ", 0), 0u) << e.Message;
    EXPECT_GT(e.Message.size(), 31u);
  }
  CloseHandle(mutex);

  // A section of that name that is too small: it cannot be mapped whole.
  const HWND small = reinterpret_cast<HWND>(std::uintptr_t{0x7ABC0020});
  HANDLE section =
      CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, "KEM32_KH3_Shared_Data_7ABC0020");
  ASSERT_NE(section, nullptr);
  try {
    khSetHotkey(small, 1, VkF1, 0);
    ADD_FAILURE() << "no error";
  } catch (const EKemHookError& e) {
    EXPECT_EQ(e.Message.rfind("Failed to map view of file. ", 0), 0u) << e.Message;
    EXPECT_GT(e.Message.size(), 28u);
  }
  CloseHandle(section);
}
