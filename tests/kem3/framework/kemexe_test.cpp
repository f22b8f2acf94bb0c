// The program's own file name, folder and base name, and the settings file object.
#include "kem3/framework/kemexe.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/sysutils.h"
#include "support/temp_dir.h"

namespace {

class ExeNames : public testing::Test {
 protected:
  void TearDown() override { SetProgramFileName(""); }
};

TEST_F(ExeNames, TheSystemKnowsTheRunningProgram) {
  const String name = ProgramFileName();
  ASSERT_FALSE(name.empty());
  EXPECT_TRUE(FileExists(name));
  EXPECT_EQ(GetExeDir(), ExtractFilePath(name));
  EXPECT_EQ(GetExeBaseName(), "orv_tests");
}

TEST_F(ExeNames, FolderKeepsItsDelimiterAndTheBaseNameEndsAtTheFirstDot) {
  SetProgramFileName("C:\\Apps\\Orv.v3\\ov3.setup.exe");
  EXPECT_EQ(ProgramFileName(), "C:\\Apps\\Orv.v3\\ov3.setup.exe");
  EXPECT_EQ(GetExeDir(), "C:\\Apps\\Orv.v3\\");
  EXPECT_EQ(GetExeBaseName(), "ov3");
  SetProgramFileName("/opt/orv/noext");
  EXPECT_EQ(GetExeDir(), "/opt/orv/");
  EXPECT_EQ(GetExeBaseName(), "noext");
}

TEST_F(ExeNames, OneSettingsFileObjectBesideTheProgram) {
  TempDir dir;
  SetProgramFileName(dir.file("ov3.exe"));
  EXPECT_FALSE(IniFileWasMissing());
  TIniFile* ini = GetIniFile();
  ASSERT_NE(ini, nullptr);
  EXPECT_EQ(ini->FileName(), dir.file("ov3.ini"));
  EXPECT_TRUE(IniFileWasMissing());
  EXPECT_EQ(GetIniFile(), ini);
  ini->WriteString("A", "b", "c");

  // A new object reads what the old one wrote, and the file was there this time.
  FreeIniFile();
  EXPECT_FALSE(IniFileWasMissing());
  EXPECT_EQ(GetIniFile()->ReadString("A", "b", ""), "c");
  EXPECT_FALSE(IniFileWasMissing());
}

TEST_F(ExeNames, FreeingForgetsTheCachedNames) {
  TempDir a, b;
  SetProgramFileName(a.file("one.exe"));
  EXPECT_EQ(GetExeBaseName(), "one");
  GetIniFile()->WriteString("S", "k", "v");
  SetProgramFileName(b.file("two.exe"));  // frees the object, which saved its file
  EXPECT_TRUE(FileExists(a.file("one.ini")));
  EXPECT_EQ(GetExeBaseName(), "two");
  EXPECT_EQ(GetIniFile()->FileName(), b.file("two.ini"));
}

}  // namespace
