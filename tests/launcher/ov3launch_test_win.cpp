// Launching through the real shell: recorder.exe writes what it was started
// with (working folder, then each argument) to a log that the tests poll.
#include "launcher/ov3launch_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3contents.h"
#include "platform/unicode_convert.h"
#include "platform/win_util_win.h"
#include "support/process_win.h"
#include "support/temp_dir.h"

namespace {

String Utf8(const std::wstring& wide) {
  return WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

class ShellLaunchTest : public testing::Test {
 protected:
  void SetUp() override {
    Log = Dir.file("recorder.log");
    SetEnvironmentVariableW(L"ORV_RECORDER_LOG", WidePath(Log).c_str());
    Recorder = Utf8(testproc::ProgramFolder() + L"recorder.exe");
  }
  void TearDown() override { SetEnvironmentVariableW(L"ORV_RECORDER_LOG", nullptr); }

  // The log's lines once it holds count of them; what it holds after 30 s otherwise.
  std::vector<std::string> WaitForLines(size_t count) {
    const ULONGLONG deadline = GetTickCount64() + 30000;
    std::vector<std::string> lines;
    for (;;) {
      lines.clear();
      std::ifstream in{std::filesystem::u8path(Log)};
      for (std::string line; std::getline(in, line);) lines.push_back(line);
      if (lines.size() >= count || GetTickCount64() > deadline) return lines;
      Sleep(20);
    }
  }

  TempDir Dir;
  String Log;
  String Recorder;
};

TEST_F(ShellLaunchTest, OpensTheProgramWithItsParametersInItsFolder) {
  const String folder = Dir.file("w\xc3\xb6rk \xe6\x97\xa5");  // "wörk 日"
  ASSERT_TRUE(std::filesystem::create_directory(std::filesystem::u8path(folder)));
  TShellLauncherWin shell;
  shell.Open(Recorder, "\"two words\" Zo\xc3\xab \xe6\x97\xa5\xe6\x9c\xac plain", folder);
  const std::vector<std::string> lines = WaitForLines(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], folder + "\ttwo words\tZo\xc3\xab\t\xe6\x97\xa5\xe6\x9c\xac\tplain");
}

TEST_F(ShellLaunchTest, NoFolderAndNoParameters) {
  TShellLauncherWin shell;
  shell.Open(Recorder, "", "");
  const std::vector<std::string> lines = WaitForLines(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].find('\t'), std::string::npos) << "no arguments: " << lines[0];
  EXPECT_FALSE(lines[0].empty()) << "some working folder";
}

TEST_F(ShellLaunchTest, AFailedStartStaysSilent) {
  TShellLauncherWin shell;
  shell.Open(Dir.file("missing.exe"), "x", Dir.file("nowhere"));
  shell.Open("", "", "");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(Log)));
}

TEST_F(ShellLaunchTest, BatchStartsTheProgramsItLists) {
  TKemXml doc;
  TKemXmlTag* groups = ContentsGroups(doc);
  TKemXmlTag* icons = GroupIcons(groups->AddTag("group"), true);
  auto addIcon = [&](const String& id, const String& type, const String& attr, const String& value) {
    TKemXmlTag* icon = icons->AddTag("icon");
    icon->WriteAttr("id", id);
    icon->WriteAttr("type", type);
    TKemXmlTag* application = icon->AddTag("application");
    application->WriteAttr(attr, value);
    if (attr == "parameters") application->WriteAttr("filename", Recorder);
    return icon;
  };
  addIcon("3", "", "parameters", "icon3");
  addIcon("5", "", "parameters", "icon5");
  addIcon("7", "program", "parameters", "icon7");
  addIcon("9", "", "parameters", "after");
  addIcon("11", "batch", "ids", "5");
  TKemXmlTag* batch = addIcon("10", "Batch", "ids", "3,x,11,7");

  TShellLauncherWin shell;
  LaunchIcon(batch, false, groups, shell);
  ASSERT_EQ(WaitForLines(2).size(), 2u);
  // Started after the batch: once its line is in, a start the batch should
  // not have made (the nested batch's icon 5) would have logged as well.
  LaunchIcon(FindIconById(groups, 9), false, groups, shell);
  std::vector<std::string> lines = WaitForLines(3);
  std::multiset<std::string> arguments;
  for (const std::string& line : lines) arguments.insert(line.substr(line.find('\t') + 1));
  EXPECT_EQ(arguments, (std::multiset<std::string>{"icon3", "icon7", "after"}));
}

}  // namespace
