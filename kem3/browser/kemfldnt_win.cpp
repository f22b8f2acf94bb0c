// The system's change notifications, through the wide calls.
#include <windows.h>

#include "kem3/browser/kemfldnt.h"

namespace {

LPCWSTR W(const WideString& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

class TWinFolderChangeWatch : public TFolderChangeWatch {
 public:
  explicit TWinFolderChangeWatch(HANDLE Handle) : FHandle(Handle) {}
  ~TWinFolderChangeWatch() override { FindCloseChangeNotification(FHandle); }
  TWinFolderChangeWatch(const TWinFolderChangeWatch&) = delete;
  TWinFolderChangeWatch& operator=(const TWinFolderChangeWatch&) = delete;

  TFolderWaitResult Wait(TEvent& Wake, std::uint32_t& Error) override {
    const HANDLE handles[2] = {FHandle, static_cast<HANDLE>(Wake.Handle())};
    switch (WaitForMultipleObjects(2, handles, FALSE, INFINITE)) {
      case WAIT_OBJECT_0:
        return fwChange;
      case WAIT_OBJECT_0 + 1:
        return fwWake;
      default:
        Error = GetLastError();
        return fwFailed;
    }
  }
  bool Next(std::uint32_t& Error) override {
    if (FindNextChangeNotification(FHandle)) return true;
    Error = GetLastError();
    return false;
  }

 private:
  HANDLE FHandle;
};

class TWinFolderChangeSource : public TFolderChangeSource {
 public:
  bool FolderExists(const WideString& Folder) override {
    if (Folder.empty()) return false;
    const DWORD attributes = GetFileAttributesW(W(Folder));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  std::unique_ptr<TFolderChangeWatch> Open(const WideString& Folder, bool Subtree, std::uint32_t Mask,
                                           std::uint32_t& Error) override {
    const HANDLE handle = FindFirstChangeNotificationW(W(Folder), Subtree ? TRUE : FALSE, Mask);
    if (handle == INVALID_HANDLE_VALUE) {
      Error = GetLastError();
      return nullptr;
    }
    return std::make_unique<TWinFolderChangeWatch>(handle);
  }
};

}  // namespace

TFolderChangeSource& SystemFolderChangeSource() {
  static TWinFolderChangeSource source;
  return source;
}
