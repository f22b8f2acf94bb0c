// The launcher's own preference pages without windows: the page list of the
// dialog, shortcut rows, screen areas, the package list and the modules page
// with its help.
#include "launcher/ov3cfgpages.h"

#include <gtest/gtest.h>

#include "kem3/controls/kemlout.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemxml.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3contents.h"
#include "platform/files.h"
#include "support/temp_dir.h"

namespace {

TEST(CfgPages, SevenPagesInTheirOrder) {
  const TKemCustomPageFactory Factory;
  TOvPageFactories Pages{Factory, Factory, Factory, Factory};
  auto Dialog = BuildPreferencesModel(Pages);
  // Per page: caption, then each item as kind:part-or-param.
  const std::vector<std::pair<int, std::vector<std::pair<int, int>>>> Expected = {
      {173, {{2, 0}, {3, 0}, {6, 0}, {6, 1}, {1, 100}}},
      {174, {{1, 200}, {6, 0}, {1, 201}}},
      {175, {{1, 300}, {6, 0}, {1, 301}}},
      {176, {{1, 400}}},
      {177, {{1, 500}}},
      {178, {{6, 2}, {6, 3}, {1, 600}}},
      {179, {{6, 0}}},
  };
  ASSERT_EQ(Dialog->Pages.size(), Expected.size());
  for (size_t p = 0; p < Expected.size(); ++p) {
    const TKemConfigDlgPage& Page = *Dialog->Pages[p];
    EXPECT_EQ(Page.CaptionIndex, Expected[p].first);
    ASSERT_EQ(Page.Items.size(), Expected[p].second.size()) << p;
    for (size_t i = 0; i < Page.Items.size(); ++i) {
      const TKemConfigDlgItem* Item = Page.Items[i].get();
      EXPECT_EQ(Item->Kind, Expected[p].second[i].first) << p << "/" << i;
      if (auto* Part = dynamic_cast<const TKemConfigItemPart*>(Item)) {
        EXPECT_EQ(Part->PageId, Expected[p].second[i].second);
        EXPECT_EQ(Part->Top, 32);
        EXPECT_EQ(Part->WidthPercent, 100);
      } else if (auto* Custom = dynamic_cast<const TKemConfigItemCustomPage*>(Item)) {
        EXPECT_EQ(Custom->Param, Expected[p].second[i].second);
      } else if (auto* Lan = dynamic_cast<const TKemConfigItemLan*>(Item)) {
        EXPECT_EQ(Lan->LabelPercent, 25);
      }
    }
  }
}

TEST(CfgPages, HotkeyRowsWriteBackWhatTheyDoNotShow) {
  ReadKeyNames(kDefaultKeyNamesText);
  struct TCase {
    const char* Stored;
    bool Global;
    int Change;  // modifier list to set, -1 none
    int To;
    const char* Written;
  };
  const TCase Cases[] = {
      {"f10,ctrl", true, -1, 0, "f10,ctrl"},
      {"f12,ctrl-left+apps", true, 1, 1, "f12,ctrl-left+alt+apps"},
      {"f12,windows-right", true, 3, 0, "f12,none"},
      // A bar key shows no sides; untouched it keeps them, chosen anew it takes "any".
      {"tabulator,ctrl-left+shift", false, -1, 0, "tabulator,ctrl-left+shift"},
      {"tabulator,ctrl-left+shift", false, 2, 0, "tabulator,ctrl-left"},
      {"tabulator,ctrl+shift", false, 1, 1, "tabulator,ctrl+alt+shift"},
      {"nosuchkey,ctrl", true, -1, 0, "none,none"},
  };
  for (const TCase& C : Cases) {
    TOvHotkeyRow Row = HotkeyRowFromText(C.Stored, C.Global);
    if (C.Change >= 0) Row.Modifiers[C.Change] = C.To;
    EXPECT_EQ(HotkeyRowText(Row, C.Global), C.Written) << C.Stored;
  }
  // The key list's first entry is "no key".
  EXPECT_EQ(HotkeyRowFromText("a,none", true).KeyItem, 1);
  EXPECT_EQ(HotkeyRowFromText("", true).KeyItem, 0);
  EXPECT_EQ(HotkeyRowFromText("f1,ctrl-right", false).Modifiers, (std::array<int, 4>{1, 0, 0, 0}));
}

TEST(CfgPages, AreasAsText) {
  const std::pair<const char*, const char*> Cases[] = {
      {"0,4,5", "0,4,5"}, {"7,0", "0,7"}, {"9,8,3", "3"}, {"", ""}, {"x1y2", "1,2"}};
  for (const auto& [Text, Back] : Cases) EXPECT_EQ(AreasText(AreasFromText(Text)), Back) << Text;
}

TEST(CfgPages, AreaPictureGeometryAndHits) {
  // 100 x 60, edge 3 (bands 8 thick), corner 5 (squares 12 wide).
  const std::tuple<int, int, int> Hits[] = {{50, 2, 0},  {50, 57, 1}, {2, 30, 2},  {97, 30, 3},  {2, 2, 4},
                                            {97, 2, 5},  {2, 57, 6},  {97, 57, 7}, {50, 30, -1}, {12, 12, -1},
                                            {11, 11, 4}, {11, 7, 4},  {12, 7, 0},  {100, 2, -1}};
  for (const auto& [X, Y, Area] : Hits) EXPECT_EQ(AreaAt(X, Y, 100, 60, 3, 5), Area) << X << "," << Y;
  // Sizes of 0 still leave two pixels to click.
  EXPECT_EQ(AreaPictureRect(0, 100, 60, 0, 0), Rect(2, 0, 98, 2));
  EXPECT_EQ(AreaPictureRect(7, 100, 60, 0, 0), Rect(98, 58, 100, 60));
  EXPECT_EQ(AreaAt(50, 2, 100, 60, 0, 0), -1);
  EXPECT_EQ(MonitorPictureWidth(1280, 1024), 129);
  EXPECT_EQ(AreaPictureWidth(1280, 1024), 117);
}

TEST(CfgPages, AutomaticAreasFollowTheHideEdge) {
  const std::tuple<bool, TPoint, const char*> Cases[] = {{true, {10, 300}, "2,4,6"},
                                                         {true, {900, 300}, "3,5,7"},
                                                         {false, {300, 0}, "0,4,5"},
                                                         {false, {300, 700}, "1,6,7"}};
  for (const auto& [Vertical, Pos, Text] : Cases) EXPECT_EQ(AreasText(AutomaticAreas(Vertical, Pos, 1024, 768)), Text);
}

TEST(CfgPages, AreaColours) {
  TOvAreaView View;
  View.Custom = AreasFromText("0");
  View.Automatic = AreasFromText("1");
  EXPECT_EQ(AreaColor(View, 0), 0xC0C0C0);  // automatic set: the custom flag does not show
  EXPECT_EQ(AreaColor(View, 1), 0x8080FF);
  View.Enabled = true;
  EXPECT_EQ(AreaColor(View, 0), 0xE0);
  EXPECT_EQ(AreaColor(View, 1), 0x808080);
  View.Pressed = 0;
  EXPECT_EQ(AreaColor(View, 0), 0xE0);  // pressed, pointer outside
  View.PressedInside = true;
  EXPECT_EQ(AreaColor(View, 0), 0xFF);
  View.Pressed = 1;
  EXPECT_EQ(AreaColor(View, 1), 0xC0C0C0);
}

String ResourceDir() { return GetExeDir() + "Resources" + String(1, GetExeDir().back()); }

TEST(CfgPages, ModulesHelpIsARuleAndTheTextsInTheirStyles) {
  AddTextStyle("hintline", "Arial", 1, clBlack, kaLeft, TRect{});
  AddTextStyle("hinttext", "Arial", 8, clBlack, kaLeft, TRect{});
  const auto Markup = ModulesHelpMarkup(u"Drag {b1}them{b0}.", u"Off: {hidden.");
  ASSERT_EQ(Markup.size(), 3u);
  const struct {
    const char* Style;
    size_t Pieces;
  } kExpected[] = {{"hintline", 1}, {"hinttext", 3}, {"hinttext", 2}};
  for (size_t i = 0; i < Markup.size(); ++i) {
    TKemParagraph Paragraph(Markup[i]);
    EXPECT_EQ(Paragraph.Style().Name, kExpected[i].Style) << i;
    EXPECT_EQ(Paragraph.Pieces().size(), kExpected[i].Pieces) << i;
  }
  // The rule ends in the layout's own picture at the right edge.
  const TKemParagraph Rule(Markup[0]);
  EXPECT_EQ(Rule.Pieces()[0]->LocalIndex, 0);
  EXPECT_EQ(Rule.Pieces()[0]->TabCode, ktRight);
  // A language text keeps its mark-up: the bold word.
  EXPECT_TRUE(TKemParagraph(Markup[1]).Pieces()[1]->Format.Style.Contains(fsBold));
  ClearTextStyles();
}

TEST(CfgPages, PackageListLeavesOutPackagesWithoutLibraryOrUnreadable) {
  TempDir Dir;
  const String Clock = ReadFileBytes(ResourceDir() + "clkdashlight.drl");
  WriteFileAtomic(Dir.file("b.drl"), ReadFileBytes(ResourceDir() + "binclear.drl"));
  WriteFileAtomic(Dir.file("a.drl"), Clock);
  WriteFileAtomic(Dir.file("empty.drl"), std::string(4, '\0'));  // no entries, so no "libid"
  WriteFileAtomic(Dir.file("short.drl"), "xy");
  String Damaged = Clock;
  for (size_t i = 4 + 272 * 2; i < Damaged.size(); ++i) Damaged[i] = static_cast<char>(~Damaged[i]);
  WriteFileAtomic(Dir.file("damaged.drl"), Damaged);
  WriteFileAtomic(Dir.file("other.txt"), Clock);
  const std::vector<String> Expected = {"ovanalogclock=Dash Light;a.drl", "ovrecyclebin=Clear;b.drl"};
  EXPECT_EQ(ReadPackageList(Dir.file("")), Expected);
}

class ModulesModelTest : public ::testing::Test {
 protected:
  ModulesModelTest() { CreateDefaultContents(Doc); }
  TKemXmlTag* Modules() { return Doc.FindPath("ov3contents.modules"); }
  TKemXmlTag* Module(const char* Name) { return Modules()->FindPath(Name); }
  static std::vector<String> Packages() {
    return {"ovanalogclock=Dash Light;clkdashlight.drl", "ovanalogclock=Night;clknight.drl",
            "ovcalendar=Desk Red;caldeskred.drl"};
  }
  TKemXml Doc;
};

TEST_F(ModulesModelTest, ShownValuesMarkAModuleChangedOnlyWhenTheyDiffer) {
  TOvModulesModel Model(Modules(), Packages());
  ASSERT_EQ(Model.Records.size(), 5u);
  ASSERT_EQ(Model.Records[0].Params.size(), 3u);  // images, secondhand, width
  // The clock as stored ("No" reads as "no"): nothing to write.
  Model.StoreShown(0, {"clkdashlight.drl", "no", "72"});
  EXPECT_FALSE(Model.Records[0].Changed);
  Model.StoreShown(0, {Model.ResourceValue("ovanalogclock", 1, "clkdashlight.drl"), "no", "72"});
  EXPECT_TRUE(Model.Records[0].Changed);
  // A library without packages keeps what the element holds.
  EXPECT_EQ(Model.ResourceValue("ovrecyclebin", 0, "binclear.drl"), "binclear.drl");
  Model.StoreShown(3, {Model.ResourceValue("ovrecyclebin", 0, "binclear.drl"), "80"});
  EXPECT_EQ(Model.ResourceNames("ovanalogclock"), (std::vector<String>{"Dash Light", "Night"}));
  EXPECT_EQ(Model.ResourceIndex("ovanalogclock", "CLKNIGHT.drl"), 1);
  EXPECT_EQ(Model.ResourceIndex("ovanalogclock", "gone.drl"), 0);

  const TOvModulesApply Applied = Model.Apply();
  EXPECT_EQ(Applied.Reload, (std::vector<String>{"analogclock", "recyclebin"}));
  EXPECT_FALSE(Applied.Rearrange);
  EXPECT_EQ(Module("analogclock")->ReadPathAttr("parameters.images", "value"), "clknight.drl");
  EXPECT_EQ(Module("recyclebin")->ReadPathAttr("parameters.images", "value"), "binclear.drl");
  EXPECT_EQ(Module("recyclebin")->ReadPathAttr("parameters.width", "value"), "80");
  EXPECT_EQ(Module("calendar")->ReadPathAttr("parameters.width", "value"), "72");
}

TEST_F(ModulesModelTest, DeactivationAndOrderReachTheDocument) {
  TOvModulesModel Model(Modules(), Packages());
  Model.Toggle(2);  // "icons" stays
  EXPECT_TRUE(Model.Records[2].Active);
  EXPECT_FALSE(Model.ActiveChanged);
  Model.Toggle(1);
  Model.Move(0, 4);  // the clock goes last
  const TOvModulesApply Applied = Model.Apply();
  EXPECT_TRUE(Applied.Rearrange);
  EXPECT_TRUE(Applied.Reload.empty());
  EXPECT_EQ(Module("calendar")->ReadAttr("active"), "no");
  std::vector<String> Names;
  for (int i = 0; i < Modules()->GetChildCount(); ++i) Names.push_back(Modules()->GetChild(i)->Name);
  EXPECT_EQ(Names, (std::vector<String>{"calendar", "icons", "recyclebin", "battery", "analogclock"}));
  // Applied once, nothing is left to do.
  EXPECT_FALSE(Model.Apply().Rearrange);
}

}  // namespace
