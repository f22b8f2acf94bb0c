// The hook-library binding as the program sees it: a probe program copied into
// a folder of its own binds the library from there, and tells what it found.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/process_win.h"
#include "kem3/framework/kemhi.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr int AllFunctions = 0x7FFF, Loaded = 1 << 16, RealLibrary = 1 << 17, WrappersNeutral = 1 << 18,
              FoundByBareName = 1 << 19;

class HookBinding : public testing::Test {
 protected:
  // Copies the probe into the folder, with `library` (if any) beside it as kem3.dll.
  fs::path Prepare(const fs::path& folder, const wchar_t* library) {
    const fs::path bin = testproc::ProgramFolder();
    fs::copy_file(bin / L"kemhiprobe.exe", folder / L"kemhiprobe.exe");
    if (library != nullptr) fs::copy_file(bin / library, folder / L"kem3.dll");
    return folder / L"kemhiprobe.exe";
  }
  int Run(const fs::path& probe) { return testproc::RunProgram(probe.wstring(), L""); }
  TempDir dir;
};

}  // namespace

TEST_F(HookBinding, LibraryBesideTheProgramBindsAllFunctions) {
  const int rc = Run(Prepare(dir.path(), L"kem3.dll"));
  ASSERT_GE(rc, 0);
  EXPECT_EQ(rc & AllFunctions, AllFunctions);
  EXPECT_TRUE(rc & Loaded);
  EXPECT_TRUE(rc & RealLibrary);
  EXPECT_TRUE(rc & WrappersNeutral);
}

TEST_F(HookBinding, MissingLibraryLeavesEveryWrapperQuiet) {
  const int rc = Run(Prepare(dir.path(), nullptr));
  EXPECT_EQ(rc & (AllFunctions | Loaded | RealLibrary), 0) << std::hex << rc;
  EXPECT_TRUE(rc & WrappersNeutral) << std::hex << rc;
}

TEST_F(HookBinding, LibraryLackingOneFunctionLeavesOnlyThatOneUnbound) {
  const int rc = Run(Prepare(dir.path(), L"kem3stub.dll"));
  EXPECT_EQ(rc & AllFunctions, AllFunctions & ~(1 << hfMenuScroll)) << std::hex << rc;
  EXPECT_TRUE(rc & Loaded);
  EXPECT_FALSE(rc & RealLibrary);
  EXPECT_TRUE(rc & WrappersNeutral);
}

TEST_F(HookBinding, LibraryPlantedOnTheSearchPathIsNotLoaded) {
  const fs::path programFolder = dir.path() / L"program";
  const fs::path plantFolder = dir.path() / L"elsewhere";
  fs::create_directories(programFolder);
  fs::create_directories(plantFolder);
  const fs::path probe = Prepare(programFolder, nullptr);
  fs::copy_file(fs::path(testproc::ProgramFolder()) / L"kem3.dll", plantFolder / L"kem3.dll");

  wchar_t oldPath[32767];
  const DWORD length = GetEnvironmentVariableW(L"PATH", oldPath, 32767);
  const std::wstring kept(oldPath, length);
  SetEnvironmentVariableW(L"PATH", (plantFolder.wstring() + L";" + kept).c_str());
  const int rc = Run(probe);
  SetEnvironmentVariableW(L"PATH", kept.c_str());

  EXPECT_EQ(rc & (AllFunctions | Loaded), 0) << std::hex << rc;
  // The planted file was there to be found by a bare-name load.
  EXPECT_TRUE(rc & FoundByBareName) << std::hex << rc;
}
