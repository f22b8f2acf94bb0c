// Single-instance control: named mutex, registered wake-up message, handle file.
#include "kem3/framework/kemsingle_win.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemutil_win.h"
#include "platform/files.h"
#include "platform/streams.h"
#include "platform/sysutils.h"
#include "platform/win_util_win.h"

namespace {

// Each window of the broadcast gets this long to answer. A hung window (one
// that has stopped reading its messages) is skipped at once; a window that is
// merely slow costs at most this much, so a second start cannot hang on it.
constexpr UINT kAnswerTimeout = 1000;

struct TCloseHandle {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using THandleHolder = std::unique_ptr<std::remove_pointer_t<HANDLE>, TCloseHandle>;

struct TInstanceState {
  UINT ActivateMessage = 0;
  String Name;
  String HandleFile;
  THandleHolder Mutex;
  bool HoldsName = false;  // this process is the running instance
  HWND MainWindow = nullptr;
};
TInstanceState Instance;

// Window handles carry 32 significant bits; wider builds sign-extend them,
// as the system does when it hands a handle between 32- and 64-bit programs.
std::uint32_t HandleValue(HWND window) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)); }
HWND HandleFromValue(std::uint32_t value) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

void SendAndWait(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerTimeout, &answer);
}

}  // namespace

bool InitSingleInstance(const String& name) {
  return InitSingleInstance(name, ChangeFileExt(ProgramFileName(), ".hnd"));
}

bool InitSingleInstance(const String& name, const String& handleFile) {
  Instance.Mutex.reset();
  Instance.HoldsName = false;
  const std::wstring wideName = WidePath(name);
  Instance.ActivateMessage = RegisterWindowMessageW(wideName.c_str());
  Instance.Name = name;
  Instance.HandleFile = handleFile;
  SetLastError(ERROR_SUCCESS);
  Instance.Mutex.reset(CreateMutexW(nullptr, FALSE, wideName.c_str()));
  const bool another = GetLastError() == ERROR_ALREADY_EXISTS;
  Instance.HoldsName = Instance.Mutex != nullptr && !another;
  return another;
}

void SetInstanceMainWindow(HWND window) { Instance.MainWindow = window; }

void ActivatePreviousInstance() {
  ForwardToPreviousInstance();
  std::exit(0);
}

void ForwardToPreviousInstance() {
  if (Instance.ActivateMessage == 0) return;
  // This process was just started by the user and may take the foreground;
  // it passes that right on, so the running instance may come to the front.
  AllowSetForegroundWindow(ASFW_ANY);
  // Every top-level window has answered when this returns (or been given up
  // on), so the running instance has published its handle by then.
  SendAndWait(HWND_BROADCAST, Instance.ActivateMessage, 0, 0);
  HWND running = ReadInstanceHandle();
  if (running == nullptr) return;
  std::string commandLine = GetCommandLineA();
  COPYDATASTRUCT data{};
  data.dwData = 0;
  data.cbData = static_cast<DWORD>(commandLine.size() + 1);
  data.lpData = commandLine.data();
  SendAndWait(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

bool HandleInstanceMessage(TMessage& Message) {
  if (Message.Msg == 0 || Message.Msg != Instance.ActivateMessage) return false;
  WriteInstanceHandle();
  ForceForegroundWindow(Instance.MainWindow);
  Message.Result = 0;
  return true;
}

HWND ReadInstanceHandle() {
  try {
    if (Instance.HandleFile.empty() || !FileExists(Instance.HandleFile)) return nullptr;
    TFileStream file(Instance.HandleFile, fmOpenRead | fmShareDenyNone);
    return HandleFromValue(file.ReadLE<std::uint32_t>());
  } catch (...) {
    return nullptr;
  }
}

void WriteInstanceHandle() {
  if (Instance.MainWindow == nullptr || Instance.HandleFile.empty()) return;
  if (HandleValue(ReadInstanceHandle()) == HandleValue(Instance.MainWindow)) return;
  try {
    TMemoryStream bytes;
    bytes.WriteLE(HandleValue(Instance.MainWindow));
    WriteFileAtomic(Instance.HandleFile,
                    std::string_view(static_cast<const char*>(bytes.Memory()), static_cast<size_t>(bytes.Size())));
  } catch (...) {
    // Without the file a second start still wakes us; it only cannot hand
    // over its command line, which is not used.
  }
}

void DoneSingleInstance() {
  Instance.MainWindow = nullptr;
  if (!Instance.HoldsName) return;
  if (!Instance.HandleFile.empty()) DeleteFile(Instance.HandleFile);
  Instance.Mutex.reset();
  Instance.HoldsName = false;
}

UINT InstanceActivateMessage() { return Instance.ActivateMessage; }

const String& InstanceHandleFile() { return Instance.HandleFile; }
