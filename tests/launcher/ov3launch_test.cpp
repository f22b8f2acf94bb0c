// Launching icons and batches against a fake shell, and the panel's launch rules.
#include "launcher/ov3launch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3contents.h"

namespace {

struct TOpenCall {
  String FileName, Parameters, Folder;
  bool operator==(const TOpenCall&) const = default;
};

class TFakeShell : public IShellLauncher {
 public:
  void Open(const String& FileName, const String& Parameters, const String& Folder) override {
    Calls.push_back({FileName, Parameters, Folder});
  }
  std::vector<String> Files() const {
    std::vector<String> files;
    for (const TOpenCall& call : Calls) files.push_back(call.FileName);
    return files;
  }
  std::vector<TOpenCall> Calls;
};

class LaunchIconTest : public testing::Test {
 protected:
  LaunchIconTest() : Groups(ContentsGroups(Doc)) { First = Groups->AddTag("group"); }

  TKemXmlTag* AddIcon(TKemXmlTag* group, const String& id, const String& type = String()) {
    TKemXmlTag* icon = GroupIcons(group, true)->AddTag("icon");
    icon->WriteAttr("id", id);
    icon->WriteAttr("type", type);
    return icon;
  }
  // A program icon whose file name tells which icon started.
  TKemXmlTag* AddProgram(TKemXmlTag* group, const String& id) {
    TKemXmlTag* icon = AddIcon(group, id);
    icon->AddTag("application")->WriteAttr("filename", "prog" + id + ".exe");
    return icon;
  }
  TKemXmlTag* AddBatch(TKemXmlTag* group, const String& id, const String& ids) {
    TKemXmlTag* icon = AddIcon(group, id, "batch");
    icon->AddTag("application")->AddAttr("ids", ids);
    return icon;
  }
  std::vector<String> Launch(const TKemXmlTag* icon, bool nested = false) {
    Shell.Calls.clear();
    LaunchIcon(icon, nested, Groups, Shell);
    return Shell.Files();
  }

  TKemXml Doc;
  TKemXmlTag* Groups;
  TKemXmlTag* First;
  TFakeShell Shell;
};

using Files = std::vector<String>;

TEST_F(LaunchIconTest, ProgramIconOpensItsApplication) {
  TKemXmlTag* icon = AddIcon(First, "1");
  TKemXmlTag* application = icon->AddTag("application");
  application->WriteAttr("filename", "C:\\Program Files\\Äpp\\run.exe");
  application->WriteAttr("parameters", "\"two words\" 日本 -x");
  application->WriteAttr("folder", "C:\\Users\\Zoë");
  LaunchIcon(icon, false, Groups, Shell);
  ASSERT_EQ(Shell.Calls.size(), 1u);
  EXPECT_EQ(Shell.Calls[0], (TOpenCall{"C:\\Program Files\\Äpp\\run.exe", "\"two words\" 日本 -x", "C:\\Users\\Zoë"}));

  // A program icon starts as well when nested in a batch.
  EXPECT_EQ(Launch(icon, true), Files{"C:\\Program Files\\Äpp\\run.exe"});
}

TEST_F(LaunchIconTest, MissingPartsGiveEmptyTextsOrNothing) {
  TKemXmlTag* bare = AddIcon(First, "1");
  bare->AddTag("application");
  LaunchIcon(bare, false, Groups, Shell);
  ASSERT_EQ(Shell.Calls.size(), 1u);
  EXPECT_EQ(Shell.Calls[0], (TOpenCall{"", "", ""})) << "missing attributes are empty texts";

  EXPECT_EQ(Launch(AddIcon(First, "2")), Files{}) << "a program icon without an application starts nothing";
  EXPECT_EQ(Launch(AddIcon(First, "3", "batch")), Files{}) << "nor does a batch without one";
  EXPECT_EQ(Launch(nullptr), Files{});

  // Without the groups to look in, a batch finds nothing.
  TKemXmlTag* batch = AddBatch(First, "4", "5");
  AddProgram(First, "5");
  Shell.Calls.clear();
  LaunchIcon(batch, false, nullptr, Shell);
  EXPECT_TRUE(Shell.Calls.empty());
}

TEST_F(LaunchIconTest, TypeIsComparedWithoutCase) {
  AddProgram(First, "7");
  for (const char* type : {"batch", "BATCH", "Batch"}) {
    TKemXmlTag* icon = AddBatch(First, "", "7");
    icon->WriteAttr("type", type);
    EXPECT_EQ(Launch(icon), Files{"prog7.exe"}) << type;
  }
  // Anything else, or nothing, is a program.
  for (const char* type : {"", "program", "PROGRAM", "batches", "other"}) {
    TKemXmlTag* icon = AddIcon(First, "", type);
    icon->AddTag("application")->WriteAttr("filename", "self.exe");
    EXPECT_EQ(Launch(icon), Files{"self.exe"}) << type;
  }
  // An empty but present type is not "batch" either.
  TKemXmlTag* empty = AddIcon(First, "");
  empty->AddAttr("type", "");
  empty->AddTag("application")->AddAttr("ids", "7");
  EXPECT_EQ(Launch(empty), Files{""});
}

TEST_F(LaunchIconTest, BatchStartsItsIconsLeftToRight) {
  AddProgram(First, "3");
  AddProgram(First, "5");
  TKemXmlTag* second = Groups->AddTag("group");
  AddProgram(second, "7");

  EXPECT_EQ(Launch(AddBatch(First, "10", "3,x,7")), (Files{"prog3.exe", "prog7.exe"}))
      << "a piece that is no number matches nothing";
  EXPECT_EQ(Launch(AddBatch(First, "11", " 3 , 7 ")), (Files{"prog3.exe", "prog7.exe"})) << "pieces are trimmed";
  EXPECT_EQ(Launch(AddBatch(First, "12", "7,3,7")), (Files{"prog7.exe", "prog3.exe", "prog7.exe"}))
      << "the list's order, not the document's; repeats start again";
  EXPECT_EQ(Launch(AddBatch(First, "13", ",,99,-1,3,")), (Files{"prog3.exe"}))
      << "empty pieces and ids no icon carries are skipped";
  EXPECT_EQ(Launch(AddBatch(First, "14", "")), Files{});
  EXPECT_EQ(Launch(AddBatch(First, "15", "3 7")), Files{}) << "only commas separate";
}

TEST_F(LaunchIconTest, BatchesDoNotNest) {
  AddProgram(First, "3");
  AddProgram(First, "7");
  AddBatch(First, "11", "3");
  TKemXmlTag* outer = AddBatch(First, "10", "3,11,7");
  EXPECT_EQ(Launch(outer), (Files{"prog3.exe", "prog7.exe"})) << "a batch inside a batch is skipped";
  EXPECT_EQ(Launch(outer, true), Files{}) << "a nested batch starts nothing";

  TKemXmlTag* self = AddBatch(First, "12", "12,3,12");
  EXPECT_EQ(Launch(self), Files{"prog3.exe"}) << "a batch listing itself does not loop";
}

TEST(IconPanelSteps, ClicksFollowTheSingleClickSetting) {
  // (double click, single-click setting, item selected) -> starts
  EXPECT_EQ(IconClickStep(false, true, true).Command, ipcLaunch);
  EXPECT_TRUE(IconClickStep(false, true, true).CloseHint);
  EXPECT_EQ(IconClickStep(true, false, true).Command, ipcLaunch);
  EXPECT_EQ(IconClickStep(false, false, true).Command, ipcNone) << "single click off: a click only selects";
  EXPECT_EQ(IconClickStep(true, true, true).Command, ipcNone) << "single click on: a double click starts nothing";
  EXPECT_EQ(IconClickStep(false, true, false).Command, ipcNone);
  EXPECT_EQ(IconClickStep(true, false, false).Command, ipcNone);
  EXPECT_FALSE(IconClickStep(false, false, true).CloseHint);
}

TEST(IconPanelSteps, ReturnAndEscapeWithoutModifiers) {
  const TIconPanelStep enter = IconKeyPressStep(13, {}, true);
  EXPECT_EQ(enter.Command, ipcLaunch);
  EXPECT_TRUE(enter.ConsumeKey);
  EXPECT_FALSE(enter.CloseHint);
  const TIconPanelStep enterNone = IconKeyPressStep(13, {}, false);
  EXPECT_EQ(enterNone.Command, ipcNone);
  EXPECT_TRUE(enterNone.ConsumeKey) << "Return is consumed even with nothing selected";
  EXPECT_EQ(IconKeyPressStep(27, {}, true).Command, ipcClearSelection);
  EXPECT_EQ(IconKeyPressStep(27, {}, false).Command, ipcClearSelection);
  EXPECT_EQ(IconKeyPressStep(u'a', {}, true).Command, ipcNone);
  EXPECT_FALSE(IconKeyPressStep(u'a', {}, true).ConsumeKey);

  for (TShiftStateItem modifier : {ssShift, ssAlt, ssCtrl}) {
    for (WideChar key : {u'\r', u'\x1b'}) {
      const TIconPanelStep step = IconKeyPressStep(key, modifier, true);
      EXPECT_EQ(step.Command, ipcNone) << "modifier " << modifier;
      EXPECT_FALSE(step.ConsumeKey);
    }
  }
  // Mouse buttons held are no modifiers.
  EXPECT_EQ(IconKeyPressStep(13, TShiftState{ssLeft, ssDouble}, true).Command, ipcLaunch);
}

TEST(IconPanelSteps, AcceleratorStartsOnlyTheOneMatch) {
  EXPECT_EQ(IconAcceleratorStep(1).Command, ipcLaunch);
  EXPECT_EQ(IconAcceleratorStep(2).Command, ipcSelect);
  EXPECT_EQ(IconAcceleratorStep(5).Command, ipcSelect);
}

}  // namespace
