// The rules of the system queries over a fake system, and the file search over
// real folders.
#include "kem3/framework/kemsysinfo.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "kem3/framework/kemutil.h"
#include "platform/files.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"
#include "support/temp_dir.h"

namespace {

class TFakeSystemQueries : public TSystemQueries {
 public:
  using TValueKey = std::tuple<TRegistryRoot, String, String>;

  TOSVersionInfo Version;
  String WindowsFolder = "C:\\WINDOWS";
  std::map<TValueKey, String> Strings;
  std::map<TValueKey, std::uint32_t> Integers;
  int DeviceDepth = 32;
  std::map<int, String> Standard;
  std::vector<String> Created;
  std::optional<String> Workgroup;
  int VersionQueries = 0;

  TOSVersionInfo VersionInfo() override {
    ++VersionQueries;
    return Version;
  }
  String WindowsDir() override { return WindowsFolder; }
  std::optional<String> RegistryString(TRegistryRoot root, const String& key, const String& name) override {
    auto it = Strings.find({root, key, name});
    if (it == Strings.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::uint32_t> RegistryInteger(TRegistryRoot root, const String& key, const String& name) override {
    auto it = Integers.find({root, key, name});
    if (it == Integers.end()) return std::nullopt;
    return it->second;
  }
  int DeviceColorDepth() override { return DeviceDepth; }
  String StandardFolder(int kind) override {
    auto it = Standard.find(kind);
    return it == Standard.end() ? String() : it->second;
  }
  bool CreateFolder(const String& path) override {
    Created.push_back(path);
    return true;
  }
  std::optional<String> NetWorkgroup() override { return Workgroup; }
  std::vector<String> SearchFolders;
  std::vector<String> ProgramSearchFolders() override { return SearchFolders; }

  void SetVersion(std::uint32_t platform, std::uint32_t major, std::uint32_t minor, std::uint32_t build = 0) {
    Version = TOSVersionInfo{major, minor, build, platform, String()};
  }
};

const String kShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const String kCurrentVersion = "\\Software\\Microsoft\\Windows\\CurrentVersion";

class KemSysInfo : public testing::Test {
 protected:
  void SetUp() override {
    FPrevious = SetSystemQueries(&Fake);
    Fake.SetVersion(kPlatformNT, 6, 1, 7601);
  }
  void TearDown() override {
    SetSystemQueries(FPrevious);
    DoneSystemInfo();
  }
  // A new version takes effect when the queries are put in place again.
  void Reinstall() { SetSystemQueries(&Fake); }

  TFakeSystemQueries Fake;

 private:
  TSystemQueries* FPrevious = nullptr;
};

}  // namespace

TEST(KemSysInfoRules, PlatformTypesOfTheVersionRecord) {
  const auto type = [](std::uint32_t platform, std::uint32_t major, std::uint32_t minor) {
    return PlatformTypeOf(TOSVersionInfo{major, minor, 0, platform, String()});
  };
  EXPECT_EQ(type(kPlatformWin32s, 3, 10), 0);
  EXPECT_EQ(type(7, 6, 0), 0);  // unknown platform
  EXPECT_EQ(type(kPlatformWindows, 4, 0), 1);
  EXPECT_EQ(type(kPlatformWindows, 4, 10), 2);
  EXPECT_EQ(type(kPlatformWindows, 4, 90), 2);
  EXPECT_EQ(type(kPlatformWindows, 5, 0), 3);
  EXPECT_EQ(type(kPlatformNT, 3, 51), 4);
  EXPECT_EQ(type(kPlatformNT, 4, 0), 5);
  EXPECT_EQ(type(kPlatformNT, 5, 0), 6);
  EXPECT_EQ(type(kPlatformNT, 5, 1), 7);
  EXPECT_EQ(type(kPlatformNT, 6, 0), 8);
  EXPECT_EQ(type(kPlatformNT, 10, 0), 8);
  EXPECT_EQ(CurrentVersionKeyOf(0), "");
  EXPECT_EQ(CurrentVersionKeyOf(2), "\\Software\\Microsoft\\Windows\\CurrentVersion");
  EXPECT_EQ(CurrentVersionKeyOf(5), "\\Software\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_EQ(CurrentVersionKeyOf(9), "");
}

TEST(KemSysInfoRules, ForegroundLockFromNT5And9xVersion410) {
  const auto lock = [](std::uint32_t platform, std::uint32_t major, std::uint32_t minor) {
    return HasForegroundLock(TOSVersionInfo{major, minor, 0, platform, String()});
  };
  EXPECT_FALSE(lock(kPlatformNT, 4, 0));
  EXPECT_TRUE(lock(kPlatformNT, 5, 0));
  EXPECT_TRUE(lock(kPlatformNT, 10, 0));
  EXPECT_FALSE(lock(kPlatformWindows, 4, 0));
  EXPECT_TRUE(lock(kPlatformWindows, 4, 10));
  EXPECT_TRUE(lock(kPlatformWindows, 4, 90));
  EXPECT_FALSE(lock(kPlatformWin32s, 6, 0));
}

TEST(KemSysInfoRules, FormatWindowsVersionTwoDigitMinorAndLowBuildWord) {
  EXPECT_EQ(FormatWindowsVersion(TOSVersionInfo{5, 1, 2600, kPlatformNT, String()}, true), "5.01 build 2600");
  EXPECT_EQ(FormatWindowsVersion(TOSVersionInfo{10, 0, 19045, kPlatformNT, String()}, false), "10.00");
  // The 9x family keeps the version in the high word of the build number.
  EXPECT_EQ(FormatWindowsVersion(TOSVersionInfo{4, 10, 0x040A08AE, kPlatformWindows, String()}, true),
            "4.10 build 2222");
}

TEST_F(KemSysInfo, VersionIsRecordedOnceAndGivesTheFamilies) {
  EXPECT_EQ(GetPlatformType(), 8);
  EXPECT_TRUE(IsWinNTFamily());
  EXPECT_FALSE(IsWin9xFamily());
  EXPECT_EQ(GetCurrentVersionKey(), "\\Software\\Microsoft\\Windows NT\\CurrentVersion");
  EXPECT_EQ(FormatWindowsVersion(true), "6.01 build 7601");
  EXPECT_EQ(Fake.VersionQueries, 1);
  Fake.SetVersion(kPlatformWindows, 4, 90);
  EXPECT_EQ(GetPlatformType(), 8);  // still the recorded one
  Reinstall();
  EXPECT_EQ(GetPlatformType(), 2);
  EXPECT_TRUE(IsWin9xFamily());
  EXPECT_FALSE(IsWinNTFamily());
  Fake.SetVersion(kPlatformWin32s, 3, 1);
  Reinstall();
  EXPECT_FALSE(IsWin9xFamily());
  EXPECT_FALSE(IsWinNTFamily());
}

TEST_F(KemSysInfo, ColorDepthByPlatformType) {
  Fake.DeviceDepth = 24;
  EXPECT_EQ(GetColorDepth(), 24);  // 6.1: the device
  EXPECT_TRUE(IsHighColor());
  Fake.DeviceDepth = 8;
  EXPECT_FALSE(IsHighColor());

  Fake.SetVersion(kPlatformWin32s, 3, 1);
  Reinstall();
  EXPECT_EQ(GetColorDepth(), 8);

  Fake.SetVersion(kPlatformWindows, 4, 0);
  Reinstall();
  EXPECT_EQ(GetColorDepth(), 8);  // no value: 8
  Fake.Strings[{rrCurrentConfig, "\\Display\\Settings", "BitsPerPixel"}] = "16";
  EXPECT_EQ(GetColorDepth(), 16);
  Fake.Strings[{rrCurrentConfig, "\\Display\\Settings", "BitsPerPixel"}] = "many";
  EXPECT_EQ(GetColorDepth(), 8);

  Fake.SetVersion(kPlatformWindows, 5, 0);
  Reinstall();
  EXPECT_EQ(GetColorDepth(), 0);

  // Old NT: the display driver's own setting wins over the device.
  Fake.SetVersion(kPlatformNT, 4, 0);
  Reinstall();
  Fake.DeviceDepth = 8;
  EXPECT_EQ(GetColorDepth(), 8);
  Fake.Strings[{rrLocalMachine, "\\HARDWARE\\DEVICEMAP\\VIDEO", "\\Device\\Video0"}] =
      "\\REGISTRY\\Machine\\System\\ControlSet001\\Services\\mga64\\Device0";
  EXPECT_EQ(GetColorDepth(), 8);  // the driver names no depth
  Fake.Integers[{rrCurrentConfig, "\\System\\CurrentControlSet\\Services\\mga64\\Device0",
                 "DefaultSettings.BitsPerPel"}] = 16;
  EXPECT_EQ(GetColorDepth(), 16);
  Fake.SetVersion(kPlatformNT, 5, 1);
  Reinstall();
  EXPECT_EQ(GetColorDepth(), 8);  // from 5.1 on the device alone
}

TEST_F(KemSysInfo, ShellFoldersFromTheRegistryElseFromTheShell) {
  Fake.Strings[{rrCurrentUser, kShellFolders, "Desktop"}] = "C:\\Users\\me\\Desktop";
  Fake.Strings[{rrLocalMachine, kShellFolders, "Common Startup"}] = "C:\\ProgramData\\Startup";
  Fake.Strings[{rrLocalMachine, kCurrentVersion, "ProgramFilesDir"}] = "C:\\Program Files";
  Fake.Standard[50] = "C:\\Users\\me\\Documents";
  Fake.Standard[0] = "not asked";
  EXPECT_EQ(GetShellFolder(0, false), "C:\\Users\\me\\Desktop");
  EXPECT_EQ(GetShellFolder(13, false), "C:\\ProgramData\\Startup");
  EXPECT_EQ(GetShellFolder(51, false), "C:\\Program Files");
  EXPECT_EQ(GetShellFolder(50, false), "C:\\Users\\me\\Documents");
  EXPECT_EQ(GetShellFolder(52, false), "");
  EXPECT_EQ(GetShellFolder(4, false), "");
  EXPECT_EQ(GetShellFolder(-1, false), "");
  EXPECT_TRUE(Fake.Created.empty());
  EXPECT_EQ(GetShellFolder(51, true), "C:\\Program Files");
  EXPECT_EQ(GetShellFolder(52, true), "");  // nothing to create
  EXPECT_EQ(Fake.Created, std::vector<String>{"C:\\Program Files"});
}

TEST_F(KemSysInfo, ExpandPathVariablesOfStoredFileNames) {
  Fake.Strings[{rrLocalMachine, kCurrentVersion, "ProgramFilesDir"}] = "C:\\Program Files";
  EXPECT_EQ(ExpandPathVariables("%SystemRoot%\\system32\\shell32.dll"), "C:\\WINDOWS\\system32\\shell32.dll");
  EXPECT_EQ(ExpandPathVariables("%systemroot%system32"), "C:\\WINDOWS\\system32");
  EXPECT_EQ(ExpandPathVariables("%SystemRoot%\\\\x"), "C:\\WINDOWS\\\\x");  // one backslash only
  EXPECT_EQ(ExpandPathVariables("%PROGRAMFILES%\\App\\app.exe"), "C:\\Program Files\\App\\app.exe");
  EXPECT_EQ(Fake.Created, std::vector<String>{"C:\\Program Files"});  // created when missing
  EXPECT_EQ(ExpandPathVariables("%Unknown%\\dir\\f.txt"), "dir\\f.txt");
  EXPECT_EQ(ExpandPathVariables("%%\\f"), "f");
  EXPECT_EQ(ExpandPathVariables("%SystemRoot"), "%SystemRoot");
  EXPECT_EQ(ExpandPathVariables("C:\\%SystemRoot%\\x"), "C:\\%SystemRoot%\\x");
  EXPECT_EQ(ExpandPathVariables(""), "");
}

TEST_F(KemSysInfo, RegistryTextsAndDataAccessVersion) {
  EXPECT_EQ(ReadRegistryString("\\Missing", "Value", "fallback", rrCurrentUser), "fallback");
  Fake.Strings[{rrCurrentUser, "\\Key", "Value"}] = "";
  EXPECT_EQ(ReadRegistryString("\\Key", "Value", "fallback", rrCurrentUser), "");  // present, if empty
  EXPECT_EQ(ReadRegistryString("\\Key", "Value", "fallback", rrLocalMachine), "fallback");
  EXPECT_EQ(GetDataAccessVersion(), 0u);
  Fake.Strings[{rrLocalMachine, "\\Software\\Microsoft\\DataAccess", "FullInstallVer"}] = "2.81.1117.0";
  EXPECT_EQ(GetDataAccessVersion(), (2u << 24) | (81u << 16) | 1117u);
  EXPECT_EQ(FormatVersion(GetDataAccessVersion(), "."), "2.81.1117");
}

TEST_F(KemSysInfo, WorkgroupByFamily) {
  EXPECT_EQ(GetWorkgroupName(), "");  // the network client could not say
  Fake.Workgroup = "OFFICE";
  EXPECT_EQ(GetWorkgroupName(), "OFFICE");
  Fake.SetVersion(kPlatformWindows, 4, 10);
  Reinstall();
  EXPECT_EQ(GetWorkgroupName(), "");
  Fake.Strings[{rrLocalMachine, "System\\CurrentControlSet\\Services\\VxD\\VNETSUP", "Workgroup"}] = "HOME";
  EXPECT_EQ(GetWorkgroupName(), "HOME");
  Fake.SetVersion(kPlatformWin32s, 3, 1);
  Reinstall();
  EXPECT_EQ(GetWorkgroupName(), "");
}

TEST(KemSysInfoProcessor, IdentificationOfThisProcessor) {
  const TProcessorInfo info = GetProcessorInfo();
#if defined(__x86_64__)
  // Every 64-bit x86 processor has the instruction, a family of 6 or more
  // (or the extended family field) and MMX.
  EXPECT_TRUE(info.CpuidAvailable);
  EXPECT_GE((info.Signature >> 8) & 0xF, 5u);
  EXPECT_TRUE(info.MMX);
  EXPECT_NE(info.Features & (1u << 23), 0u);
#elif !defined(__i386__)
  EXPECT_FALSE(info.CpuidAvailable);
  EXPECT_EQ(info.Signature, 0u);
#endif
  const TProcessorInfo again = DetectProcessor();
  EXPECT_EQ(again.Signature, info.Signature);
  EXPECT_EQ(again.Features, info.Features);
}

// ---- Files and disks

namespace {

void WriteBytes(const String& fileName, size_t count) { WriteFileAtomic(fileName, String(count, 'x')); }

std::set<String> Lines(const TStrings& list) {
  std::set<String> lines;
  for (int i = 0; i < list.Count(); ++i) lines.insert(list[i]);
  return lines;
}

// root: a.txt b.dat sub/ (c.txt deeper/ (d.txt)) other/ (e.txt)
class KemSysInfoFiles : public testing::Test {
 protected:
  void SetUp() override {
    Root = IncludeTrailingPathDelimiter(Dir.file(""));
    WriteBytes(Root + "a.txt", 10);
    WriteBytes(Root + "b.dat", 20);
    ForceDirectories(Root + "sub" + PathDelim + "deeper");
    ForceDirectories(Root + "other");
    WriteBytes(Root + "sub" + PathDelim + "c.txt", 30);
    WriteBytes(Root + "sub" + PathDelim + "deeper" + PathDelim + "d.txt", 40);
    WriteBytes(Root + "other" + PathDelim + "e.txt", 50);
  }
  String Rel(std::initializer_list<const char*> parts) {
    String path;
    for (const char* part : parts) path += (path.empty() ? "" : String(1, PathDelim)) + part;
    return path;
  }

  TempDir Dir;
  String Root;
};

}  // namespace

TEST_F(KemSysInfoFiles, FindFilesInOneFolder) {
  TStringList list;
  EXPECT_TRUE(FindFiles(list, Root + "*.txt", false));
  EXPECT_EQ(Lines(list), (std::set<String>{"a.txt"}));
  list.Clear();
  EXPECT_TRUE(FindFiles(list, Root + "*", false, {}, "pre:"));
  EXPECT_EQ(Lines(list), (std::set<String>{"pre:a.txt", "pre:b.dat", "pre:sub", "pre:other"}));  // folders too
  list.Clear();
  EXPECT_TRUE(FindFiles(list, Root + "missing" + PathDelim + "*", true));
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(KemSysInfoFiles, FindFilesRecursesWithTheFolderAsPrefix) {
  TStringList list;
  EXPECT_TRUE(FindFiles(list, Root + "*.txt", true));
  EXPECT_EQ(Lines(list), (std::set<String>{"a.txt", Rel({"sub", "c.txt"}), Rel({"sub", "deeper", "d.txt"}),
                                           Rel({"other", "e.txt"})}));
}

TEST_F(KemSysInfoFiles, FilterEndsTheWholeSearch) {
  TStringList list;
  std::vector<String> seen;
  const bool finished = FindFiles(list, Root + "*.txt", true, [&](const String& folder, const String& name) {
    seen.push_back(folder + name);
    return name == "d.txt";
  });
  EXPECT_FALSE(finished);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), Root + Rel({"sub", "deeper", "d.txt"}));
  EXPECT_EQ(list.IndexOf(Rel({"sub", "deeper", "d.txt"})), -1);  // the stopping entry is not added
  EXPECT_EQ(list.Count(), static_cast<int>(seen.size()) - 1);
  // Nothing after it was visited: at most the other folder came before it.
  EXPECT_LE(seen.size(), 4u);
}

TEST_F(KemSysInfoFiles, ListSubFoldersNamesOnlyFolders) {
  TStringList list;
  ListSubFolders(list, Root);
  EXPECT_EQ(Lines(list), (std::set<String>{"sub", "other"}));
  list.Clear();
  ListSubFolders(list, ExcludeTrailingPathDelimiter(Root + "sub"));
  EXPECT_EQ(Lines(list), (std::set<String>{"deeper"}));
}

TEST_F(KemSysInfoFiles, SizesOfFilesAndDisks) {
  EXPECT_EQ(GetFileSize64(Root + "b.dat"), 20);
  EXPECT_EQ(GetFileSize64(Root + "sub"), 0);
  EXPECT_EQ(GetFileSize64(Root + "missing.bin"), 0);
  EXPECT_GT(GetDiskFree(Root), 0);
  EXPECT_GE(GetDiskSize(Root), GetDiskFree(Root));
  EXPECT_EQ(GetDiskFree(Root + "missing" + PathDelim + "folder"), 0);
}

TEST_F(KemSysInfo, BareNamesAreFoundOnTheProgramSearchPath) {
  TempDir first, second;
  WriteFileAtomic(second.file("url.dll"), "library");
  Fake.SearchFolders = {first.path().string() + "/missing", String(), first.path().string(), second.path().string()};
  const struct {
    String Name, Found;
  } cases[] = {
      {"url.dll", IncludeTrailingPathDelimiter(second.path().string()) + "url.dll"},
      {"nowhere.dll", "nowhere.dll"},
      {"C:\\Windows\\url.dll", "C:\\Windows\\url.dll"},  // a name with a folder stays as it is
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FindOnSystemPath(c.Name), c.Found) << c.Name;
}
