// The launcher's blank and program handlers: the types they offer, the type
// each starts with (kept in its setting across a restart; one the list lacks
// gives the first) and the initial folder and name from the caller's text.
#include "launcher/ov3brws.h"

#include <gtest/gtest.h>

#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "launcher/ov3cfg.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/timer.h"
#include "support/temp_dir.h"

namespace {

class OvBrws : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramFileName(Dir.file("ov3.exe"));
    Start("[Version]\r\nCurrent=" + String(OvSettingsVersion) + "\r\n[Browser]\r\nFlt programs=1\r\nFlt icons=7\r\n");
  }
  void TearDown() override {
    cfgDone();
    FreeIniFile();
    SetProgramFileName("");
  }
  // The program starts on a settings file with this text (none: as the last run left it).
  void Start(const String& Text = String()) {
    if (!Text.empty()) WriteFileAtomic(Dir.file("ov3.ini"), Text);
    cfgInit();
    CheckSettingsVersion();
    DefineSettings([this] { SaveSettingsValues(MainForm); });
    LoadSettingsValues();
  }
  void Restart() {
    cfgSaveAtShutDown();
    cfgDone();
    FreeIniFile();
    Start();
  }
  static std::vector<WideString> Texts(const TBrowserFileTypes& Types) {
    std::vector<WideString> texts;
    for (int i = 0; i < Types.Count(); ++i) texts.push_back(Types.Text(i));
    return texts;
  }

  TempDir Dir;
  TFakeTimerService Timers;
  TcfgWindowPlacement MainForm{Bounds(100, 900, 640, 80), bsNone, poDesigned, wsNormal};
};

}  // namespace

TEST_F(OvBrws, TypesAndTheTypeEachHandlerStartsWith) {
  TBPBlank blank;
  TBPPrograms programs;
  TBPFiles icons(kPreviewIcons);
  const struct {
    TBrowserPreview* Handler;
    int Preview;
    int Chosen;
  } cases[] = {
      {&blank, kPreviewBlank, 0},
      {&programs, kPreviewPrograms, 1},
      {&icons, kPreviewIcons, 0},  // 7 is no type of the two
  };
  for (const auto& c : cases) {
    TBrowserFileTypes types;
    c.Handler->FillFileTypes(types);
    std::vector<WideString> expected;
    for (const TOvFileType& type : BrowseFileTypes(c.Preview)) expected.push_back(type.Text);
    EXPECT_EQ(Texts(types), expected) << c.Preview;
    EXPECT_EQ(types.ItemIndex(), c.Chosen) << c.Preview;
  }
}

TEST_F(OvBrws, TheChosenTypeSurvivesARestart) {
  TBPPrograms programs;
  TBPFiles icons(kPreviewIcons);
  TBPBlank blank;
  for (TBrowserPreview* handler : {static_cast<TBrowserPreview*>(&programs), static_cast<TBrowserPreview*>(&icons),
                                   static_cast<TBrowserPreview*>(&blank)}) {
    TBrowserFileTypes types;
    handler->FillFileTypes(types);
    types.SetItemIndex(types.Count() - 1 - types.ItemIndex());
    handler->FileTypeChanged(types);
  }
  Restart();
  EXPECT_EQ(cfgGetInt(ovsBrowserFltPrograms), 0);
  EXPECT_EQ(cfgGetInt(ovsBrowserFltIcons), 1);
  TBrowserFileTypes types;
  icons.FillFileTypes(types);
  EXPECT_EQ(types.ItemIndex(), 1);
}

TEST_F(OvBrws, InitialFolderAndNameFromTheCallersText) {
  TBPBlank blank;
  TBPPrograms programs;
  const struct {
    TBrowserPreview* Handler;
    String Text, Folder, Name;
  } cases[] = {
      {&programs, "C:\\Tools\\a.exe", "C:\\Tools", "a.exe"},
      {&programs, "C:\\a.exe", "C:\\", "a.exe"},
      {&programs, "", "", ""},
      {&blank, "C:\\Tools\\a.exe", "", ""},
  };
  for (const auto& c : cases) {
    c.Handler->Text = c.Text;
    EXPECT_EQ(c.Handler->GetInitialFolder(), c.Folder) << c.Text;
    EXPECT_EQ(c.Handler->GetInitialFileName(), c.Name) << c.Text;
  }
}
