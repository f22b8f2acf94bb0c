// What the common services ask the system: its version and family, folders,
// registry values, colour depth, workgroup, processor, disks and files. The
// rules live here, free of the operating system; the questions themselves go
// through TSystemQueries, which the Windows build answers for real
// (kemsysinfo_win.cpp) and tests fake.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/types.h"

class TStrings;

// The system's version record.
struct TOSVersionInfo {
  std::uint32_t MajorVersion = 0;
  std::uint32_t MinorVersion = 0;
  std::uint32_t BuildNumber = 0;
  std::uint32_t PlatformId = 0;  // one of the kPlatform values
  String CSDVersion;             // the service pack, UTF-8
};

inline constexpr std::uint32_t kPlatformWin32s = 0;
inline constexpr std::uint32_t kPlatformWindows = 1;  // the 9x family
inline constexpr std::uint32_t kPlatformNT = 2;

// Platform types: 0 Win32s or unknown; 1 to 3 the 9x family (below 5 with minor
// version 0, below 5 with another minor version, 5 and above); 4 to 8 the NT
// family (below 4, 4, 5.0, 5.x, 6 and above).
int PlatformTypeOf(const TOSVersionInfo& info);
// The current-version key of a platform type ("\Software\Microsoft\Windows
// NT\CurrentVersion" on the NT family, "...\Windows\CurrentVersion" on 9x, else "").
String CurrentVersionKeyOf(int platformType);
// Whether the foreground lock applies: NT from 5, 9x from 4.10.
bool HasForegroundLock(const TOSVersionInfo& info);

enum TRegistryRoot { rrClassesRoot, rrCurrentUser, rrLocalMachine, rrUsers, rrCurrentConfig };

// The questions the services ask the system. Registry key paths are as
// TKemRegistry opens them (a leading "\" makes them absolute); texts are UTF-8.
class TSystemQueries {
 public:
  virtual ~TSystemQueries() = default;
  virtual TOSVersionInfo VersionInfo() = 0;
  // The system folder, without a trailing delimiter.
  virtual String WindowsDir() = 0;
  // A string value (REG_SZ or REG_EXPAND_SZ, not expanded); nothing when the
  // key or value is missing or of another type.
  virtual std::optional<String> RegistryString(TRegistryRoot root, const String& key, const String& name) = 0;
  // A REG_DWORD value; nothing when missing or of another type or size.
  virtual std::optional<std::uint32_t> RegistryInteger(TRegistryRoot root, const String& key, const String& name) = 0;
  // Bits per pixel of the display device.
  virtual int DeviceColorDepth() = 0;
  // A shell folder of GetShellFolder's kinds asked of the shell itself: the
  // stand-in where the registry holds no value for it; "" when unknown.
  virtual String StandardFolder(int kind) = 0;
  // Creates the folder with its parents; true when it exists afterwards.
  virtual bool CreateFolder(const String& path) = 0;
  // The workgroup the network client reports; nothing when it cannot say.
  virtual std::optional<String> NetWorkgroup() = 0;
  // The folders the system looks up a bare program or library name in, in
  // order: the system folder, the Windows folder, then those of PATH.
  virtual std::vector<String> ProgramSearchFolders() { return {}; }
};

// The queries in use: the system's unless a test has put others in place.
TSystemQueries& SystemQueries();
// Puts queries in place (nullptr: the system's) and returns the ones it
// replaces; the caller keeps ownership. Forgets the recorded version.
TSystemQueries* SetSystemQueries(TSystemQueries* queries);
// The system's own answers (the Windows calls; natively: nothing known).
TSystemQueries& SystemQueriesOfPlatform();

// ---- Process-wide values, recorded once at start-up (or on first use)

// Records the version record and the processor; forgets them again.
void InitSystemInfo();
void DoneSystemInfo();

TOSVersionInfo GetWindowsVersionInfo();
int GetPlatformType();
// The registry path of the system's current-version key.
String GetCurrentVersionKey();
bool IsWin9xFamily();  // platform types 1 to 3
bool IsWinNTFamily();  // platform types 4 to 8
// FormatWindowsVersion of the recorded version.
String FormatWindowsVersion(bool withBuild);

// Processor identification: whether the instruction exists; when it does, the
// signature, and from family 5 on the feature word and whether MMX is there.
struct TProcessorInfo {
  bool CpuidAvailable = false;
  std::uint32_t Signature = 0;
  std::uint32_t Features = 0;
  bool MMX = false;
};
TProcessorInfo GetProcessorInfo();
// Asks the processor now (the recorded value is this, taken once).
TProcessorInfo DetectProcessor();

// ---- System queries

String GetWindowsDir();
// "FullInstallVer" of the data access components, packed as PackDottedVersion
// does ("0.0.0" when missing).
std::uint32_t GetDataAccessVersion();
// Bits per pixel of the display, by the rules of each platform type.
int GetColorDepth();
// More than 14 bits per pixel.
bool IsHighColor();
// A shell folder by kind: 0 desktop, 1 programs, 2 start menu, 3 startup;
// 10 to 13 the same for all users; 50 documents; 51 program files, 52 common
// files; "" for any other kind. The registry names it; where it does not, the
// shell is asked. With create a found folder is created with its parents.
String GetShellFolder(int kind, bool create);
// A registry text; def when the key or value is missing or holds no text.
String ReadRegistryString(const String& key, const String& name, const String& def, TRegistryRoot root);
// The workgroup of the computer; "" when unknown.
String GetWorkgroupName();

// ---- Disks and files (names UTF-8; never raise)

// Bytes free to the caller and total bytes of the volume holding path; 0 on failure.
std::int64_t GetDiskFree(const String& path);
std::int64_t GetDiskSize(const String& path);
// The size of a file; 0 for a folder or a missing file.
std::int64_t GetFileSize64(const String& fileName);
// A bare file name ("url.dll", as registered icon locations name system
// libraries) with the first of the program search folders that holds it;
// a name with a folder, or one found nowhere, comes back as it is.
String FindOnSystemPath(const String& fileName);

// Called for every matching entry with its folder (trailing delimiter
// included) and name; true ends the whole search, that entry not added.
using TFindFilesFilter = std::function<bool(const String& folder, const String& name)>;
// Adds prefix + name of every file and folder matching the mask's name part in
// the mask's folder ("." and ".." never); with recurse, then searches every
// sub-folder in turn with the prefix extended by its name and the path
// delimiter. Returns
// false when the filter ended the search.
bool FindFiles(TStrings& list, const String& pathMask, bool recurse, const TFindFilesFilter& filter = {},
               const String& prefix = String());
// Adds the names of the sub-folders of folder ("." and ".." never).
void ListSubFolders(TStrings& list, const String& folder);

// The system's listing of a folder, for the two above: calls each for every
// entry whose name matches pattern (the system's own wildcard rules) until it
// returns false; "." and ".." are not reported. Returns false when stopped.
bool EnumFolderEntries(const String& folder, const String& pattern,
                       const std::function<bool(const String& name, bool isFolder)>& each);
