// The rules of the system queries: platform types, colour depth, shell
// folders, workgroup, processor identification and the file search.
#include "kem3/framework/kemsysinfo.h"

#include <mutex>

#include "kem3/framework/kemutil.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {

struct TRecorded {
  TSystemQueries* Queries = nullptr;  // nullptr: the platform's
  bool VersionKnown = false;
  TOSVersionInfo Version;
  bool ProcessorKnown = false;
  TProcessorInfo Processor;
};

// The worker threads of the file browser ask too, so the record is guarded.
std::mutex RecordLock;

TRecorded& Recorded() {
  static TRecorded recorded;
  return recorded;
}

const char* const kShellFoldersKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kCurrentVersionKey = "\\Software\\Microsoft\\Windows\\CurrentVersion";

struct TShellFolderName {
  int Kind;
  const char* ValueName;
  TRegistryRoot Root;
};

constexpr TShellFolderName kShellFolders[] = {
    {0, "Desktop", rrCurrentUser},
    {1, "Programs", rrCurrentUser},
    {2, "Start Menu", rrCurrentUser},
    {3, "Startup", rrCurrentUser},
    {10, "Common Desktop", rrLocalMachine},
    {11, "Common Programs", rrLocalMachine},
    {12, "Common Start Menu", rrLocalMachine},
    {13, "Common Startup", rrLocalMachine},
    {50, "Personal", rrLocalMachine},
    {51, "ProgramFilesDir", rrLocalMachine},
    {52, "CommonFilesDir", rrLocalMachine},
};

// The colour depth of the old NT systems: the display driver's service key,
// named by the video device map, holds the depth in the current hardware
// profile's copy of it.
std::optional<std::uint32_t> DriverColorDepth(TSystemQueries& queries) {
  const String map =
      queries.RegistryString(rrLocalMachine, "\\HARDWARE\\DEVICEMAP\\VIDEO", "\\Device\\Video0").value_or(String());
  const int at = Pos("\\SERVICES\\", UpperCase(map));
  if (at == 0) return std::nullopt;
  const String key = "\\System\\CurrentControlSet" + map.substr(static_cast<size_t>(at - 1));
  return queries.RegistryInteger(rrCurrentConfig, key, "DefaultSettings.BitsPerPel");
}

bool SearchFolder(TStrings& list, const String& folder, const String& pattern, bool recurse,
                  const TFindFilesFilter& filter, const String& prefix) {
  bool stopped = false;
  EnumFolderEntries(folder, pattern, [&](const String& name, bool) {
    if (filter && filter(folder, name)) {
      stopped = true;
      return false;
    }
    list.Add(prefix + name);
    return true;
  });
  if (stopped) return false;
  if (!recurse) return true;
  // The sub-folders are listed apart: the mask need not match their names.
  TStringList subFolders;
  ListSubFolders(subFolders, folder);
  for (int i = 0; i < subFolders.Count(); ++i) {
    const String name = subFolders[i];
    if (!SearchFolder(list, folder + name + PathDelim, pattern, true, filter, prefix + name + PathDelim)) return false;
  }
  return true;
}

}  // namespace

int PlatformTypeOf(const TOSVersionInfo& info) {
  if (info.PlatformId == kPlatformWindows) {
    if (info.MajorVersion >= 5) return 3;
    return info.MinorVersion == 0 ? 1 : 2;
  }
  if (info.PlatformId == kPlatformNT) {
    if (info.MajorVersion < 4) return 4;
    if (info.MajorVersion == 4) return 5;
    if (info.MajorVersion == 5) return info.MinorVersion == 0 ? 6 : 7;
    return 8;
  }
  return 0;
}

String CurrentVersionKeyOf(int platformType) {
  if (platformType >= 1 && platformType <= 3) return kCurrentVersionKey;
  if (platformType >= 4 && platformType <= 8) return "\\Software\\Microsoft\\Windows NT\\CurrentVersion";
  return String();
}

bool HasForegroundLock(const TOSVersionInfo& info) {
  if (info.PlatformId == kPlatformNT) return info.MajorVersion >= 5;
  if (info.PlatformId == kPlatformWindows)
    return info.MajorVersion > 4 || (info.MajorVersion == 4 && info.MinorVersion >= 10);
  return false;
}

TSystemQueries& SystemQueries() {
  std::lock_guard<std::mutex> guard(RecordLock);
  TSystemQueries* queries = Recorded().Queries;
  return queries != nullptr ? *queries : SystemQueriesOfPlatform();
}

TSystemQueries* SetSystemQueries(TSystemQueries* queries) {
  std::lock_guard<std::mutex> guard(RecordLock);
  TRecorded& recorded = Recorded();
  TSystemQueries* previous = recorded.Queries;
  recorded.Queries = queries;
  recorded.VersionKnown = false;
  return previous;
}

void InitSystemInfo() {
  GetWindowsVersionInfo();
  GetProcessorInfo();
}

void DoneSystemInfo() {
  std::lock_guard<std::mutex> guard(RecordLock);
  TRecorded& recorded = Recorded();
  recorded.VersionKnown = false;
  recorded.Version = TOSVersionInfo();
  recorded.ProcessorKnown = false;
  recorded.Processor = TProcessorInfo();
}

TOSVersionInfo GetWindowsVersionInfo() {
  {
    std::lock_guard<std::mutex> guard(RecordLock);
    if (Recorded().VersionKnown) return Recorded().Version;
  }
  // Asked outside the lock: the queries may use other services of this unit.
  TOSVersionInfo version = SystemQueries().VersionInfo();
  std::lock_guard<std::mutex> guard(RecordLock);
  Recorded().Version = version;
  Recorded().VersionKnown = true;
  return version;
}

int GetPlatformType() { return PlatformTypeOf(GetWindowsVersionInfo()); }

String GetCurrentVersionKey() { return CurrentVersionKeyOf(GetPlatformType()); }

bool IsWin9xFamily() {
  const int type = GetPlatformType();
  return type >= 1 && type <= 3;
}

bool IsWinNTFamily() {
  const int type = GetPlatformType();
  return type >= 4 && type <= 8;
}

String FormatWindowsVersion(const TOSVersionInfo& info, bool withBuild) {
  String text = Format("%d.%.2d", {info.MajorVersion, info.MinorVersion});
  if (withBuild) text += Format(" build %d", {info.BuildNumber & 0xFFFF});
  return text;
}

String FormatWindowsVersion(bool withBuild) { return FormatWindowsVersion(GetWindowsVersionInfo(), withBuild); }

TProcessorInfo DetectProcessor() {
  TProcessorInfo info;
#if defined(__i386__) || defined(__x86_64__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  // __get_cpuid checks that the instruction exists (the ID flag on 32-bit
  // processors) and that the leaf is there.
  info.CpuidAvailable = __get_cpuid(0, &eax, &ebx, &ecx, &edx) != 0;
  if (info.CpuidAvailable && __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0) {
    info.Signature = eax;
    if (((eax >> 8) & 0xF) >= 5) {
      info.Features = edx;
      info.MMX = (edx & (1u << 23)) != 0;
    }
  }
#endif
  return info;
}

TProcessorInfo GetProcessorInfo() {
  std::lock_guard<std::mutex> guard(RecordLock);
  TRecorded& recorded = Recorded();
  if (!recorded.ProcessorKnown) {
    recorded.Processor = DetectProcessor();
    recorded.ProcessorKnown = true;
  }
  return recorded.Processor;
}

String GetWindowsDir() { return SystemQueries().WindowsDir(); }

String FindOnSystemPath(const String& fileName) {
  if (fileName.empty() || fileName.find_first_of("\\/:") != String::npos) return fileName;
  for (const String& folder : SystemQueries().ProgramSearchFolders()) {
    if (folder.empty()) continue;
    const String candidate = IncludeTrailingPathDelimiter(folder) + fileName;
    if (FileExists(candidate)) return candidate;
  }
  return fileName;
}

std::uint32_t GetDataAccessVersion() {
  return PackDottedVersion(
      ReadRegistryString("\\Software\\Microsoft\\DataAccess", "FullInstallVer", "0.0.0", rrLocalMachine));
}

int GetColorDepth() {
  TSystemQueries& queries = SystemQueries();
  switch (GetPlatformType()) {
    case 0:
      return 8;
    case 1:
    case 2:
      return StrToIntDef(
          queries.RegistryString(rrCurrentConfig, "\\Display\\Settings", "BitsPerPixel").value_or(String()), 8);
    case 4:
    case 5:
    case 6: {
      const std::optional<std::uint32_t> driver = DriverColorDepth(queries);
      return driver ? static_cast<int>(*driver) : queries.DeviceColorDepth();
    }
    case 7:
    case 8:
      return queries.DeviceColorDepth();
    default:
      return 0;
  }
}

bool IsHighColor() { return GetColorDepth() > 14; }

String GetShellFolder(int kind, bool create) {
  for (const TShellFolderName& folder : kShellFolders) {
    if (folder.Kind != kind) continue;
    TSystemQueries& queries = SystemQueries();
    String path =
        queries.RegistryString(folder.Root, kind <= 50 ? kShellFoldersKey : kCurrentVersionKey, folder.ValueName)
            .value_or(String());
    if (path.empty()) path = queries.StandardFolder(kind);
    if (create && !path.empty()) queries.CreateFolder(path);
    return path;
  }
  return String();
}

String ReadRegistryString(const String& key, const String& name, const String& def, TRegistryRoot root) {
  return SystemQueries().RegistryString(root, key, name).value_or(def);
}

String GetWorkgroupName() {
  if (IsWinNTFamily()) return SystemQueries().NetWorkgroup().value_or(String());
  if (IsWin9xFamily())
    return ReadRegistryString("System\\CurrentControlSet\\Services\\VxD\\VNETSUP", "Workgroup", String(),
                              rrLocalMachine);
  return String();
}

bool FindFiles(TStrings& list, const String& pathMask, bool recurse, const TFindFilesFilter& filter,
               const String& prefix) {
  return SearchFolder(list, ExtractFilePath(pathMask), ExtractFileName(pathMask), recurse, filter, prefix);
}

void ListSubFolders(TStrings& list, const String& folder) {
  EnumFolderEntries(folder.empty() ? folder : IncludeTrailingPathDelimiter(folder), "*",
                    [&list](const String& name, bool isFolder) {
                      if (isFolder) list.Add(name);
                      return true;
                    });
}
