// The system queries answered by Windows: version, folders, registry, colour
// depth and workgroup, and the disk and file calls.
#include "platform/dc_win.h"
#include "platform/winapi_win.h"

#include <lmcons.h>
#include <lmwksta.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

#include "kem3/framework/kemreg_win.h"
#include "kem3/framework/kemsysinfo.h"
#include "platform/files.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/win_util_win.h"

namespace {

String Utf8Of(const wchar_t* text, size_t length) {
  return WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

String Utf8Of(const wchar_t* text) { return Utf8Of(text, std::wcslen(text)); }

HKEY RootKeyOf(TRegistryRoot root) {
  switch (root) {
    case rrClassesRoot:
      return HKEY_CLASSES_ROOT;
    case rrCurrentUser:
      return HKEY_CURRENT_USER;
    case rrLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case rrUsers:
      return HKEY_USERS;
    case rrCurrentConfig:
      return HKEY_CURRENT_CONFIG;
  }
  return HKEY_CURRENT_USER;
}

// The folders of GetShellFolder's kinds as the shell names them.
int FolderIdOf(int kind) {
  switch (kind) {
    case 0:
      return CSIDL_DESKTOPDIRECTORY;
    case 1:
      return CSIDL_PROGRAMS;
    case 2:
      return CSIDL_STARTMENU;
    case 3:
      return CSIDL_STARTUP;
    case 10:
      return CSIDL_COMMON_DESKTOPDIRECTORY;
    case 11:
      return CSIDL_COMMON_PROGRAMS;
    case 12:
      return CSIDL_COMMON_STARTMENU;
    case 13:
      return CSIDL_COMMON_STARTUP;
    case 50:
      return CSIDL_PERSONAL;
    case 51:
      return CSIDL_PROGRAM_FILES;
    case 52:
      return CSIDL_PROGRAM_FILES_COMMON;
    default:
      return -1;
  }
}

template <class Function>
Function LoadedFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  // GetProcAddress hands every export back under one generic type.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

class TWindowsSystemQueries : public TSystemQueries {
 public:
  TOSVersionInfo VersionInfo() override {
    // GetVersionEx tells programs without a compatibility manifest that they
    // run on Windows 8; the kernel's own record tells the truth.
    using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW raw{};
    raw.dwOSVersionInfoSize = sizeof raw;
    const auto rtlGetVersion = LoadedFunction<TRtlGetVersion>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
    if (rtlGetVersion == nullptr || rtlGetVersion(&raw) != 0) {
      raw = OSVERSIONINFOW{};
      raw.dwOSVersionInfoSize = sizeof raw;
      if (!GetVersionExW(&raw)) return TOSVersionInfo();
    }
    TOSVersionInfo info;
    info.MajorVersion = raw.dwMajorVersion;
    info.MinorVersion = raw.dwMinorVersion;
    info.BuildNumber = raw.dwBuildNumber;
    info.PlatformId = raw.dwPlatformId;
    raw.szCSDVersion[std::size(raw.szCSDVersion) - 1] = L'\0';
    info.CSDVersion = Utf8Of(raw.szCSDVersion);
    return info;
  }

  String WindowsDir() override {
    // The shared system folder, also for a terminal-server user with a private one.
    std::wstring buffer(MAX_PATH, L'\0');
    UINT length = GetSystemWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
      buffer.resize(length + 1);
      length = GetSystemWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size()) return String();
    return Utf8Of(buffer.data(), length);
  }

  std::optional<String> RegistryString(TRegistryRoot root, const String& key, const String& name) override {
    try {
      TKemRegistry registry;
      registry.SetRootKey(RootKeyOf(root));
      if (!registry.OpenKey(key) || !registry.ValueExists(name)) return std::nullopt;
      return registry.ReadString(name);
    } catch (const ERegistryException&) {
      return std::nullopt;
    }
  }

  std::optional<std::uint32_t> RegistryInteger(TRegistryRoot root, const String& key, const String& name) override {
    try {
      TKemRegistry registry;
      registry.SetRootKey(RootKeyOf(root));
      if (!registry.OpenKey(key) || !registry.ValueExists(name)) return std::nullopt;
      return static_cast<std::uint32_t>(registry.ReadInteger(name));
    } catch (const ERegistryException&) {
      return std::nullopt;
    }
  }

  int DeviceColorDepth() override {
    TScreenDC screen;
    return screen.Handle() ? GetDeviceCaps(screen.Handle(), BITSPIXEL) : 0;
  }

  String StandardFolder(int kind) override {
    const int id = FolderIdOf(kind);
    if (id < 0) return String();
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) return String();
    path[MAX_PATH - 1] = L'\0';
    return Utf8Of(path);
  }

  bool CreateFolder(const String& path) override { return ForceDirectories(path); }

  std::optional<String> NetWorkgroup() override {
    // Loaded when asked: the network client need not be installed.
    using TNetWkstaGetInfo = DWORD(WINAPI*)(wchar_t*, DWORD, BYTE**);
    using TNetApiBufferFree = DWORD(WINAPI*)(void*);
    HMODULE netapi = LoadLibraryW(L"netapi32.dll");
    if (netapi == nullptr) return std::nullopt;
    std::optional<String> result;
    const auto getInfo = LoadedFunction<TNetWkstaGetInfo>(netapi, "NetWkstaGetInfo");
    const auto bufferFree = LoadedFunction<TNetApiBufferFree>(netapi, "NetApiBufferFree");
    if (getInfo != nullptr && bufferFree != nullptr) {
      BYTE* buffer = nullptr;
      if (getInfo(nullptr, 100, &buffer) == 0 && buffer != nullptr) {
        const auto* info = reinterpret_cast<const WKSTA_INFO_100*>(buffer);
        if (info->wki100_langroup != nullptr) result = Utf8Of(info->wki100_langroup);
      }
      if (buffer != nullptr) bufferFree(buffer);
    }
    FreeLibrary(netapi);
    return result;
  }

  std::vector<String> ProgramSearchFolders() override {
    std::vector<String> folders;
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH) folders.push_back(Utf8Of(system, length));
    folders.push_back(WindowsDir());
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    std::wstring path(size, L'\0');
    if (size == 0 || GetEnvironmentVariableW(L"PATH", path.data(), size) >= size) return folders;
    path.resize(std::wcslen(path.c_str()));
    // The current folder is never searched: it is wherever the bar was started from.
    const String list = Utf8Of(path.c_str(), path.size());
    for (std::size_t start = 0; start <= list.size();) {
      const std::size_t end = std::min(list.find(';', start), list.size());
      const String folder = Trim(StringReplace(list.substr(start, end - start), "\"", "", TReplaceFlags{rfReplaceAll}));
      if (!folder.empty() && folder != ".") folders.push_back(folder);
      start = end + 1;
    }
    return folders;
  }
};

bool DiskSpace(const String& path, ULARGE_INTEGER& available, ULARGE_INTEGER& total) {
  // A root given as "C:" or "\\server\share" needs its trailing backslash.
  const std::wstring folder = WidePath(IncludeTrailingPathDelimiter(path));
  return GetDiskFreeSpaceExW(folder.c_str(), &available, &total, nullptr) != 0;
}

}  // namespace

TSystemQueries& SystemQueriesOfPlatform() {
  static TWindowsSystemQueries queries;
  return queries;
}

std::int64_t GetDiskFree(const String& path) {
  ULARGE_INTEGER available{}, total{};
  return DiskSpace(path, available, total) ? static_cast<std::int64_t>(available.QuadPart) : 0;
}

std::int64_t GetDiskSize(const String& path) {
  ULARGE_INTEGER available{}, total{};
  return DiskSpace(path, available, total) ? static_cast<std::int64_t>(total.QuadPart) : 0;
}

std::int64_t GetFileSize64(const String& fileName) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(WidePath(fileName).c_str(), GetFileExInfoStandard, &data)) return 0;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool EnumFolderEntries(const String& folder, const String& pattern,
                       const std::function<bool(const String& name, bool isFolder)>& each) {
  constexpr DWORD kVolumeLabel = 0x8;  // never a file of its own
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(WidePath(folder + pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return true;
  bool going = true;
  do {
    data.cFileName[MAX_PATH - 1] = L'\0';
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L".." || (data.dwFileAttributes & kVolumeLabel) != 0) continue;
    going = each(Utf8Of(name.data(), name.size()), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (going && FindNextFileW(find, &data));
  FindClose(find);
  return going;
}
