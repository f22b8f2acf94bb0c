// The browser workers' system on Windows, through the wide calls. The network
// library is loaded when first needed, so a program that never lists the
// network does not bind it.
#include <shlobj.h>
#include <windows.h>

#include "kem3/browser/kembrwork.h"
#include "kem3/dialogs/kemmsg_win.h"
#include "platform/unicode_convert.h"

namespace {

LPCWSTR W(const WideString& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }
WideString FromWide(const wchar_t* text) {
  return text ? WideString(reinterpret_cast<const WideChar*>(text)) : WideString();
}

double LocalDate(const FILETIME& time) {
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &st)) return 0.0;
  // 100 ns units since 1601-01-01, as days since 1899-12-30.
  const ULONGLONG ticks = (static_cast<ULONGLONG>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
  return static_cast<double>(ticks) / 864000000000.0 - 109205.0;
}

struct TMpr {
  using TOpenEnum = DWORD(WINAPI*)(DWORD, DWORD, DWORD, LPNETRESOURCEW, LPHANDLE);
  using TEnumResource = DWORD(WINAPI*)(HANDLE, LPDWORD, LPVOID, LPDWORD);
  using TCloseEnum = DWORD(WINAPI*)(HANDLE);
  using TAddConnection3 = DWORD(WINAPI*)(HWND, LPNETRESOURCEW, LPCWSTR, LPCWSTR, DWORD);
  TOpenEnum OpenEnum = nullptr;
  TEnumResource EnumResource = nullptr;
  TCloseEnum CloseEnum = nullptr;
  TAddConnection3 AddConnection3 = nullptr;
  bool Ready() const { return OpenEnum && EnumResource && CloseEnum && AddConnection3; }
};

const TMpr& Mpr() {
  static const TMpr mpr = [] {
    TMpr m;
    if (HMODULE lib = LoadLibraryW(L"mpr.dll")) {
      auto get = [lib](const char* name) { return reinterpret_cast<void*>(GetProcAddress(lib, name)); };
      m.OpenEnum = reinterpret_cast<TMpr::TOpenEnum>(get("WNetOpenEnumW"));
      m.EnumResource = reinterpret_cast<TMpr::TEnumResource>(get("WNetEnumResourceW"));
      m.CloseEnum = reinterpret_cast<TMpr::TCloseEnum>(get("WNetCloseEnum"));
      m.AddConnection3 = reinterpret_cast<TMpr::TAddConnection3>(get("WNetAddConnection3W"));
    }
    return m;
  }();
  return mpr;
}

TNetKind KindOf(DWORD displayType) {
  switch (displayType) {
    case RESOURCEDISPLAYTYPE_DOMAIN:
      return nkDomain;
    case RESOURCEDISPLAYTYPE_SERVER:
      return nkServer;
    case RESOURCEDISPLAYTYPE_SHARE:
      return nkShare;
    case RESOURCEDISPLAYTYPE_NETWORK:
      return nkNetwork;
    case RESOURCEDISPLAYTYPE_GENERIC:
      return nkGeneric;
    default:
      return nkContainer;
  }
}

// One open WNet enumeration, read in blocks of 32768 bytes.
class TWinNetEnum : public TNetEnum {
 public:
  explicit TWinNetEnum(HANDLE handle) : FHandle(handle) {}
  ~TWinNetEnum() override { Mpr().CloseEnum(FHandle); }
  bool Next(std::vector<TNetNode>& Block) override {
    alignas(NETRESOURCEW) BYTE buffer[32768];
    DWORD count = static_cast<DWORD>(-1), size = sizeof buffer;
    if (Mpr().EnumResource(FHandle, &count, buffer, &size) != NO_ERROR) return false;
    const auto* items = reinterpret_cast<const NETRESOURCEW*>(buffer);
    for (DWORD i = 0; i < count; ++i) {
      const NETRESOURCEW& r = items[i];
      TNetNode node;
      node.Name = FromWide(r.lpRemoteName);
      node.Provider = FromWide(r.lpProvider);
      node.Comment = FromWide(r.lpComment);
      node.Kind = KindOf(r.dwDisplayType);
      node.Container = (r.dwUsage & RESOURCEUSAGE_CONTAINER) != 0;
      node.Disk = r.dwType == RESOURCETYPE_DISK;
      Block.push_back(std::move(node));
    }
    return true;
  }

 private:
  HANDLE FHandle;
};

std::unique_ptr<TNetEnum> OpenEnum(DWORD scope, DWORD type, DWORD usage, NETRESOURCEW* parent) {
  if (!Mpr().Ready()) return nullptr;
  HANDLE handle = nullptr;
  if (Mpr().OpenEnum(scope, type, usage, parent, &handle) != NO_ERROR) return nullptr;
  return std::make_unique<TWinNetEnum>(handle);
}

class TWinBrowserSystem : public TBrowserSystem {
 public:
  unsigned FailCriticalErrors() override { return DriveSystem().FailCriticalErrors(); }
  void RestoreErrorMode(unsigned Mode) override { DriveSystem().RestoreErrorMode(Mode); }
  bool VolumeLabel(const WideString& Root, WideString& Label) override {
    return DriveSystem().VolumeLabel(Root, Label);
  }
  bool RemoteName(const WideString& LocalName, WideString& Remote) override {
    return DriveSystem().RemoteName(LocalName, Remote);
  }

  bool ListFolder(const WideString& Folder, const std::function<bool(const TBrowseFindData&)>& Each) override {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(W(Folder + u"*.*"), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    try {
      do {
        TBrowseFindData found;
        found.Name = FromWide(data.cFileName);
        found.Attributes = data.dwFileAttributes;
        found.Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        found.WriteTime = LocalDate(data.ftLastWriteTime);
        if (!Each(found)) break;
      } while (FindNextFileW(find, &data));
    } catch (...) {
      FindClose(find);
      throw;
    }
    FindClose(find);
    return true;
  }

  bool FileInfo(const WideString& Path, TBrowseFindData& Info) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(W(Path), GetFileExInfoStandard, &data)) return false;
    Info.Attributes = data.dwFileAttributes;
    Info.Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    Info.WriteTime = LocalDate(data.ftLastWriteTime);
    return true;
  }

  std::uint32_t LogicalDrives() override { return GetLogicalDrives(); }
  int DriveType(const WideString& Root) override { return static_cast<int>(GetDriveTypeW(W(Root))); }

  bool VolumeInfo(const WideString& Root, WideString& FileSystem, bool& Compressed) override {
    wchar_t name[MAX_PATH + 1] = {};
    DWORD flags = 0;
    if (!GetVolumeInformationW(W(Root), nullptr, 0, nullptr, nullptr, &flags, name, MAX_PATH + 1)) return false;
    FileSystem = FromWide(name);
    Compressed = (flags & FS_VOL_IS_COMPRESSED) != 0;
    return true;
  }

  bool DiskSizes(const WideString& Path, std::int64_t& Total, std::int64_t& Free) override {
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExW(W(Path), &available, &total, &free)) return false;
    Total = static_cast<std::int64_t>(total.QuadPart);
    Free = static_cast<std::int64_t>(free.QuadPart);
    return true;
  }

  bool SpecialFolder(TBrowseSpecialFolder Which, WideString& Path) override {
    wchar_t path[MAX_PATH + 1] = {};
    const int folder = Which == bsfDesktop ? CSIDL_DESKTOPDIRECTORY : CSIDL_PERSONAL;
    if (!SHGetSpecialFolderPathW(nullptr, path, folder, FALSE)) return false;
    Path = FromWide(path);
    if (!Path.empty() && Path.back() != u'\\') Path += u'\\';
    return true;
  }

  std::unique_ptr<TNetEnum> OpenNetwork(const TNetNode* Parent) override {
    if (!Parent) return OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, nullptr);
    NETRESOURCEW parent = {};
    WideString remote = Parent->Name, provider = Parent->Provider;
    parent.dwScope = RESOURCE_GLOBALNET;
    parent.dwUsage = RESOURCEUSAGE_CONTAINER;
    parent.lpRemoteName = remote.empty() ? nullptr : const_cast<LPWSTR>(W(remote));
    parent.lpProvider = provider.empty() ? nullptr : const_cast<LPWSTR>(W(provider));
    return OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &parent);
  }

  std::uint32_t Connect(const WideString& Remote) override {
    if (!Mpr().Ready()) return ERROR_NO_NETWORK;
    NETRESOURCEW resource = {};
    WideString remote = Remote;
    resource.dwType = RESOURCETYPE_ANY;
    resource.lpRemoteName = const_cast<LPWSTR>(W(remote));
    return Mpr().AddConnection3(nullptr, &resource, nullptr, nullptr, CONNECT_INTERACTIVE);
  }

  std::unique_ptr<TNetEnum> OpenShares(const WideString& Remote) override {
    NETRESOURCEW server = {};
    WideString remote = Remote;
    server.dwScope = RESOURCE_GLOBALNET;
    server.dwUsage = RESOURCEUSAGE_CONTAINER;
    server.lpRemoteName = const_cast<LPWSTR>(W(remote));
    return OpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_DISK, 0, &server);
  }

  String ShortDateOrder() override {
    wchar_t format[80] = {};
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, 80)) return "dd.mm.yyyy";
    return WideToUtf8(FromWide(format));
  }
};

}  // namespace

TBrowserSystem& SystemBrowserSystem() {
  static TWinBrowserSystem system;
  return system;
}

void ShowSystemBrowserMessage(const WideString& Caption, const WideString& Body) { ShowMessageBox(Caption, Body, 0); }
