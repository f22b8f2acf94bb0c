// The launcher's settings table as it registers it, in the settings file: every
// key with its default, read back, garbage, limits; the version check, "Show hints", the
// time settings and the folder setting's paths.
#include "launcher/ov3cfg.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "kem3/framework/kemexe.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/sysutils.h"
#include "platform/timer.h"
#include "support/temp_dir.h"

namespace {

// Names that settings files already hold: they never change. The rest of the
// table is checked as the program registers it.
struct TStoredName {
  int Id;
  const char* Section;
  const char* Key;
};

const TStoredName kStoredNames[] = {
    {ovsFocusShortcut, "General", "Focus shortcut"}, {ovsAutoHide, "Window", "Auto hide"},  {ovsAutoHideHideDelay, "Window", "Auto hide hidedelay"},
    {ovsScreenAreas, "Window", "Screen areas"},    {ovsShowHints, "Hints", "Show hints"},  {ovsIconsSize, "Icons", "Size"},
    {ovsIconsOverrideSkin, "Icons", "OverrideSkin"},     {ovsNextGroup, "Groups", "Next group"}, {ovsBrowserFltIcons, "Browser", "Flt icons"},
};

// The registered items in registration order.
std::vector<const TcfgDbItem*> Registered() {
  std::vector<const TcfgDbItem*> items;
  for (const auto& entry : cfgEntries()) {
    if (auto* item = dynamic_cast<const TcfgDbItem*>(entry.get())) items.push_back(item);
  }
  return items;
}

// An item's default as the settings file holds it.
String StoredDefault(const TcfgDbItem& Item) {
  if (Item.Type == cfgtBoolean) return Item.Default.AsBoolean() ? "yes" : "no";
  return VarToStr(Item.Default);
}

// Another valid value of an item, as the settings file holds it: the other
// truth, the last choice, a number one step on inside the limits, a longer text.
String OtherValue(const TcfgDbItem& Item) {
  switch (Item.Type) {
    case cfgtBoolean:
      return Item.Default.AsBoolean() ? "no" : "yes";
    case cfgtValueList:
      return Item.Values[Item.Values.Count() - 1];
    case cfgtInteger:
    case cfgtFloat:
    case cfgtTracker: {
      const std::int64_t value = Item.Default.AsInt64(), step = Item.Step.AsInt64();
      const bool atMax = Item.MaxValue.AsInt64() != -1 && value + step > Item.MaxValue.AsInt64();
      return IntToStr(atMax ? value - step : value + step);
    }
    default:
      return Item.Id == ovsShowHints ? String("1100") : VarToStr(Item.Default) + "x";
  }
}

const int kTimeIds[] = {ovsAutoHideHideDelay, ovsAutoHideShowDelay, ovsAutoHideSpeed, ovsHintShowDelay,
                        ovsHintHideDelay};

// A settings file of this version holding Value(item) for every registered item.
template <class F>
String FileOf(F Value) {
  DefineSettings(nullptr);
  String text = "[Version]\r\nCurrent=3.3.9\r\n";
  String section;
  for (const TcfgDbItem* item : Registered()) {
    if (section != item->Section) text += "[" + item->Section + "]\r\n";
    section = item->Section;
    text += item->Key + "=" + Value(*item) + "\r\n";
  }
  cfgDone();
  cfgInit();
  return text;
}

class OvCfg : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramFileName(Dir.file("ov3.exe"));
    ModuleHints = DefaultModuleHints();
    cfgInit();
  }
  void TearDown() override {
    cfgDone();
    SetProgramFileName("");
  }

  void Start() {
    CheckSettingsVersion();
    DefineSettings([this] { SaveSettingsValues(MainForm); });
    LoadSettingsValues();
  }
  // The program ends (one full save) and starts again on the same file.
  void Restart() {
    cfgSaveAtShutDown();
    cfgDone();
    FreeIniFile();
    cfgInit();
    Start();
  }
  void WriteFile(const String& Text) {
    FreeIniFile();
    WriteFileAtomic(Dir.file("ov3.ini"), Text);
  }
  String OnDisk(const String& Section, const String& Key) const {
    TIniFile ini(Dir.file("ov3.ini"));
    return ini.ReadString(Section, Key, "<missing>");
  }

  TempDir Dir;
  TFakeTimerService Timers;
  TcfgWindowPlacement MainForm{Bounds(100, 900, 640, 80), bsNone, poDesigned, wsNormal};
};

TEST_F(OvCfg, TheTableKeepsItsStoredNamesWithItsGroups) {
  DefineSettings(nullptr);
  std::vector<int> groups;
  for (const auto& entry : cfgEntries()) {
    if (auto* group = dynamic_cast<TcfgDbGroup*>(entry.get())) groups.push_back(group->Id);
  }
  EXPECT_EQ(groups, (std::vector<int>{ovgAutoHide, ovgIconSpaces}));
  for (const TStoredName& name : kStoredNames) {
    const TcfgDbItem* item = cfgFindItem(name.Id);
    ASSERT_NE(item, nullptr) << name.Id;
    EXPECT_EQ(item->Section, name.Section) << name.Id;
    EXPECT_EQ(item->Key, name.Key) << name.Id;
  }
  // One place in the file each, and one item an id.
  std::set<int> ids;
  std::set<String> places;
  for (const TcfgDbItem* item : Registered()) {
    EXPECT_TRUE(ids.insert(item->Id).second) << item->Id;
    EXPECT_TRUE(places.insert(UpperCase(item->Section + "\n" + item->Key)).second) << item->Key;
  }
  EXPECT_EQ(ids.size(), 47u);

  const auto* autoHide = dynamic_cast<const TcfgDbGroup*>(cfgEntries()[4].get());
  ASSERT_NE(autoHide, nullptr);
  EXPECT_EQ(autoHide->Id, ovgAutoHide);
  EXPECT_EQ(autoHide->Page, ovgWindow);
  EXPECT_EQ(autoHide->Columns, 1);
  EXPECT_EQ(autoHide->CheckItemId, ovsAutoHide);
  EXPECT_EQ(autoHide->CaptionTextName, "144");
  for (const auto& entry : cfgEntries()) {
    auto* group = dynamic_cast<TcfgDbGroup*>(entry.get());
    if (group && group->Id == ovgIconSpaces) {
      EXPECT_EQ(group->Page, ovgIcons);
      EXPECT_EQ(group->CheckItemId, ovsIconsOverrideSkin);
      EXPECT_EQ(group->CaptionTextName, "168");
    }
  }
}

TEST_F(OvCfg, RowsLayoutsAndUnits) {
  DefineSettings(nullptr);
  const std::set<int> noCaption{ovsFocusShortcut,  ovsAutohideShortcut, ovsScreenArea,         ovsScreenAreas,
                                ovsScreenEdgeSize, ovsScreenCornerSize, ovsShowHints,          ovsPreviousGroup,
                                ovsNextGroup,      ovsShowDragHint,     ovsBrowserFltPrograms, ovsBrowserFltIcons};
  for (const TcfgDbItem* item : Registered()) {
    EXPECT_EQ(item->Height, 21);
    EXPECT_EQ(item->TextName.empty(), noCaption.count(item->Id) == 1) << item->Id;
    if (item->TextName.empty()) {
      EXPECT_EQ(item->Page, -1) << item->Id;
      EXPECT_EQ(item->LabelPercent, 30);
      EXPECT_EQ(item->ControlPercent, 30);
    }
    const bool timed = std::find(std::begin(kTimeIds), std::end(kTimeIds), item->Id) != std::end(kTimeIds);
    EXPECT_EQ(item->BaseUnit, timed ? unMillisecond : unNone) << item->Id;
    EXPECT_EQ(item->Type == cfgtFloat, timed) << item->Id;
  }
  EXPECT_EQ(cfgFindItem(ovsIconLibFolder)->Type, cfgtBrowse2);
  EXPECT_EQ(cfgFindItem(ovsIconLibFolder)->Page, ovgGeneral);
  EXPECT_EQ(cfgFindItem(ovsIconLibFolder)->ControlPercent, 75);
  EXPECT_EQ(cfgFindItem(ovsAutoHideMethod)->Page, ovgAutoHide);
  EXPECT_EQ(cfgFindItem(ovsIconsSpaceVert)->Page, ovgIconSpaces);
  EXPECT_EQ(cfgFindItem(ovsHintPosition)->Type, cfgtTracker);
  EXPECT_EQ(cfgFindItem(ovsHintPosition)->LegendScale, 1.0);
  EXPECT_EQ(cfgFindItem(ovsIconsSize)->LegendOffset, 0.0);
  EXPECT_TRUE(static_cast<bool>(cfgBrowseHandler2));
}

TEST_F(OvCfg, LimitsAndValueLists) {
  DefineSettings(nullptr);
  struct TLimits {
    int Id, Min, Max, Step, BigStep;
  };
  const TLimits limits[] = {{ovsAutoHideHideDelay, 100, 50000, 100, 1000},
                            {ovsAutoHideShowDelay, 100, 50000, 100, 1000},
                            {ovsAutoHideSteps, 1, 20, 1, 2},
                            {ovsAutoHideSpeed, 1, 100, 1, 10},
                            {ovsHintShowDelay, 0, 1000, 10, 100},
                            {ovsHintHideDelay, 100, 5000, 10, 100},
                            {ovsHintPosition, 0, 150, 1, 10},
                            {ovsIconsSize, 16, 128, 1, 4},
                            {ovsIconsSpaceLeft, 0, 100, 1, 2},
                            {ovsIconsFadeWidth, 0, 100, 1, 2},
                            {ovsScreenEdgeSize, 0, 20, 1, 2},
                            {ovsScreenCornerSize, 0, 30, 1, 2}};
  for (const TLimits& l : limits) {
    const TcfgDbItem* item = cfgFindItem(l.Id);
    EXPECT_EQ(item->MinValue, Variant(l.Min)) << l.Id;
    EXPECT_EQ(item->MaxValue, Variant(l.Max)) << l.Id;
    EXPECT_EQ(item->Step, Variant(l.Step)) << l.Id;
    EXPECT_EQ(item->BigStep, Variant(l.BigStep)) << l.Id;
  }

  struct TList {
    int Id;
    int Count;
    const char* Name;
  };
  const TList lists[] = {
      {ovsAutoHideMethod, 2, "TdPreferences_AutoHideMethods"}, {ovsWheelScroll, 3, "TdPreferences_WheelScrolls"},
      {ovsWheelToggle, 4, "TdPreferences_WheelToggles"},       {ovsIconsStretch, 3, "TdPreferences_IconStretchs"},
      {ovsIconsTitle, 3, "TdPreferences_IconsTitles"},         {ovsIconsComment, 2, "TdPreferences_IconsComments"}};
  for (const TList& l : lists) {
    const TcfgDbItem* item = cfgFindItem(l.Id);
    EXPECT_EQ(item->Type, cfgtValueList);
    EXPECT_EQ(item->ValueListTextName, l.Name);
    ASSERT_EQ(item->Values.Count(), l.Count) << l.Id;
    for (int i = 0; i < l.Count; ++i) EXPECT_EQ(item->Values[i], std::to_string(i));
    EXPECT_EQ(static_cast<int>(item->DisplayTexts.size()), l.Count);  // no language yet: the values themselves
  }
}

TEST_F(OvCfg, AFirstStartWritesEveryKeyWithItsDefault) {
  Start();
  Timers.Advance(2500);  // the save after start-up
  for (const TcfgDbItem* item : Registered()) {
    const String stored = item->Id == ovsShowHints ? "0011" : StoredDefault(*item);
    EXPECT_EQ(OnDisk(item->Section, item->Key), stored) << item->Key;
  }
  for (const TStoredName& name : kStoredNames) EXPECT_NE(OnDisk(name.Section, name.Key), "<missing>") << name.Key;
  for (int id : kTimeIds) {
    const TcfgDbItem* item = cfgFindItem(id);
    EXPECT_EQ(OnDisk(item->Section, item->Key + " (Unit)"), "ms") << id;
  }
  EXPECT_EQ(OnDisk("Version", "Current"), "3.3.9");
  EXPECT_EQ(OnDisk("MainForm", "Left"), "100");
  EXPECT_EQ(OnDisk("MainForm", "Top"), "900");
  EXPECT_EQ(OnDisk("MainForm", "Width"), "640");
  EXPECT_EQ(OnDisk("MainForm", "Height"), "80");
  EXPECT_EQ(OnDisk("MainForm", "State"), "0");
}

TEST_F(OvCfg, EveryKeyReadsBackWhatWasStored) {
  WriteFile(FileOf(OtherValue));
  Start();
  EXPECT_TRUE(cfgGetBool(ovsAutoHide));
  EXPECT_EQ(cfgGetInt(ovsAutoHideMethod), 1);
  EXPECT_EQ(SettingMs(ovsAutoHideHideDelay), 2100);
  EXPECT_EQ(SettingMs(ovsHintShowDelay), 510);
  EXPECT_EQ(cfgGetInt(ovsIconsSize), 33);
  EXPECT_EQ(cfgGetStr(ovsScreenAreas), "0,4,5x");
  EXPECT_FALSE(cfgGetBool(ovsScreenSnap, true));
  EXPECT_EQ(ModuleHints, (TPerModule<bool>{true, true, false, false}));
  // Written back as they were read.
  Restart();
  for (const TcfgDbItem* item : Registered())
    EXPECT_EQ(OnDisk(item->Section, item->Key), OtherValue(*item)) << item->Key;
}

TEST_F(OvCfg, GarbageReadsAsTheDefault) {
  WriteFile(FileOf([](const TcfgDbItem&) { return String("4x?"); }));
  Start();
  Restart();
  for (const TcfgDbItem* item : Registered()) {
    if (item->Type == cfgtString || item->Type == cfgtBrowse2) continue;  // any text is a valid text
    EXPECT_EQ(OnDisk(item->Section, item->Key), StoredDefault(*item)) << item->Key;
  }
  EXPECT_EQ(cfgGetInt(ovsWheelToggle, -1), 0);  // value lists: the first entry
}

TEST_F(OvCfg, ScreenAreaSizesFromTheFileAreHeldToTheirRanges) {
  // A negative edge would make areas that can never be entered.
  WriteFile("[Version]\r\nCurrent=3.3.9\r\n[Window]\r\nScreen edge size=-4\r\nScreen corner size=99\r\n");
  Start();
  EXPECT_EQ(cfgGetInt(ovsScreenEdgeSize), 0);
  EXPECT_EQ(cfgGetInt(ovsScreenCornerSize), 30);
}

TEST_F(OvCfg, TimeSettingsAreMillisecondsWhateverTheUnitShown) {
  WriteFile(
      "[Version]\r\nCurrent=3.3.9\r\n[Window]\r\nAuto hide speed (Unit)=US\r\nAuto hide speed=15000\r\n"
      "Auto hide hidedelay=3\r\nAuto hide hidedelay (Unit)=s\r\nAuto hide showdelay (Unit)=parsec\r\n"
      "[Hints]\r\nHint hide delay (Unit)=s\r\n");
  Start();
  EXPECT_EQ(SettingMs(ovsAutoHideHideDelay), 3000);
  EXPECT_EQ(SettingMs(ovsAutoHideShowDelay), 500);  // unknown unit: the number as it is
  EXPECT_EQ(SettingMs(ovsAutoHideSpeed), 15);
  EXPECT_EQ(SettingMs(ovsHintHideDelay), 1000);  // the default, converted into seconds and back
  EXPECT_DOUBLE_EQ(cfgFindItem(ovsHintHideDelay)->Value.AsDouble(), 1.0);
  EXPECT_EQ(SettingMs(999), 0);
  // Written back in the units the file names.
  Restart();
  EXPECT_EQ(OnDisk("Window", "Auto hide hidedelay"), "3");
  EXPECT_EQ(OnDisk("Window", "Auto hide hidedelay (Unit)"), "s");
  EXPECT_EQ(OnDisk("Window", "Auto hide speed (Unit)"), "us");
}

TEST_F(OvCfg, AnOlderVersionLosesTheBrowserSectionOnce) {
  WriteFile("[Version]\r\nCurrent=3.2.0\r\n[Browser]\r\nFAVList=C:\\x\r\nFlt icons=7\r\n[Other]\r\nkeep=1\r\n");
  CheckSettingsVersion();
  EXPECT_EQ(OnDisk("Browser", "FAVList"), "<missing>");
  EXPECT_EQ(OnDisk("Other", "keep"), "1");
  EXPECT_EQ(OnDisk("Version", "Current"), "3.3.9");
  // The browser's state written afterwards survives the next start.
  cfgWriteString("Browser", "FAVList", "D:\\y");
  FreeIniFile();
  CheckSettingsVersion();
  EXPECT_EQ(OnDisk("Browser", "FAVList"), "D:\\y");

  // A file without a version counts as an older one.
  WriteFile("[Browser]\r\nFAVList=C:\\x\r\n");
  CheckSettingsVersion();
  EXPECT_EQ(OnDisk("Browser", "FAVList"), "<missing>");
}

TEST_F(OvCfg, ShowHintsIsCompletedFromTheDefaults) {
  TPerModule<bool> flags{};
  EXPECT_EQ(CompleteModuleHints("1", flags), "1011");
  EXPECT_EQ(flags, (TPerModule<bool>{true, false, true, true}));
  EXPECT_EQ(CompleteModuleHints("", flags), "0011");
  EXPECT_EQ(flags, (TPerModule<bool>{false, false, true, true}));
  EXPECT_EQ(CompleteModuleHints("0x1", flags), "0x11");
  EXPECT_EQ(flags, (TPerModule<bool>{false, false, true, true}));
  EXPECT_EQ(CompleteModuleHints("111100", flags), "111100");
  EXPECT_EQ(flags, (TPerModule<bool>{true, true, true, true}));

  WriteFile("[Version]\r\nCurrent=3.3.9\r\n[Hints]\r\nShow hints=1\r\n");
  Start();
  EXPECT_EQ(cfgGetStr(ovsShowHints), "1011");
  EXPECT_EQ(ModuleHints, (TPerModule<bool>{true, false, true, true}));
  Restart();
  EXPECT_EQ(OnDisk("Hints", "Show hints"), "1011");
}

TEST_F(OvCfg, TheBarsSaveIsTheDeferredSaveAndRunsOnceAtTheEnd) {
  Start();
  Timers.Advance(2500);
  MainForm.Bounds = Bounds(300, 40, 500, 60);
  cfgSetValue(ovsIconsSize, 64);
  Timers.Advance(1000);
  cfgSaveAtShutDown();
  EXPECT_EQ(OnDisk("Icons", "Size"), "64");
  EXPECT_EQ(OnDisk("MainForm", "Left"), "300");
  EXPECT_EQ(OnDisk("MainForm", "Width"), "500");
  // The file is whole: every key is there.
  TIniFile ini(Dir.file("ov3.ini"));
  for (const TcfgDbItem* item : Registered()) EXPECT_TRUE(ini.ValueExists(item->Section, item->Key)) << item->Key;
}

TEST_F(OvCfg, ThePlacementIsReadFromMainFormWithItsSize) {
  WriteFile("[MainForm]\r\nLeft=-500\r\nTop=2000\r\nWidth=700\r\nHeight=90\r\nState=0\r\n");
  TcfgWindowPlacement bar{Bounds(0, 0, 400, 60), bsNone, poDesigned, wsNormal};
  const TcfgPlacementResult result =
      cfgLoadPlacement("MainForm", bar, false, nullptr, wsNormal, [](const TRect&) { return Rect(40, 0, 1920, 1050); });
  EXPECT_EQ(result.Bounds, Bounds(40, 960, 700, 90));
}

TEST(OvFolder, PathsRelativeToTheProgramFolder) {
  const String dir = "C:\\Apps\\Orv\\";
  EXPECT_EQ(FolderSettingStart("Icons", dir), "C:\\Apps\\Orv\\Icons");
  EXPECT_EQ(FolderSettingStart("", dir), "C:\\Apps\\Orv\\");
  EXPECT_EQ(FolderSettingStart("c:\\", dir), "c:\\");
  EXPECT_EQ(FolderSettingStart("\\\\server\\share", dir), "\\\\server\\share");

  EXPECT_EQ(FolderSettingStored("C:\\Apps\\Orv\\Icons\\Set", dir), "Icons\\Set");
  EXPECT_EQ(FolderSettingStored("c:\\apps\\ORV\\Icons", dir), "Icons");
  // The prefix counts only where the program folder's name ends.
  EXPECT_EQ(FolderSettingStored("C:\\Apps\\Orv2\\x", dir), "C:\\Apps\\Orv2\\x");
  EXPECT_EQ(FolderSettingStored("C:\\Apps\\Orv2\\x", "C:\\Apps\\Orv"), "C:\\Apps\\Orv2\\x");
  EXPECT_EQ(FolderSettingStored("C:\\Apps\\Orv\\x", "C:\\Apps\\Orv"), "x");
  EXPECT_EQ(FolderSettingStored("C:\\Apps\\Orv", dir), "C:\\Apps\\Orv");
  EXPECT_EQ(FolderSettingStored("D:\\Other", dir), "D:\\Other");
  EXPECT_EQ(FolderSettingStored("C:\\Apps", dir), "C:\\Apps");
  EXPECT_EQ(FolderSettingStored("x", ""), "x");
}

TEST_F(OvCfg, TheFolderPickerOpensOnTheAbsoluteFolderAndStoresRelative) {
  DefineSettings(nullptr);
  String text = "Icons";
  EXPECT_FALSE(cfgBrowseHandler2(text));  // no chooser yet
  EXPECT_EQ(text, "Icons");

  String opened;
  OvFolderChooser = [&](const String& start, String& folder) {
    opened = start;
    folder = GetExeDir() + "Lib";
    return true;
  };
  EXPECT_TRUE(cfgBrowseHandler2(text));
  EXPECT_EQ(opened, GetExeDir() + "Icons");
  EXPECT_EQ(text, "Lib");
  OvFolderChooser = [](const String&, String&) { return false; };
  EXPECT_FALSE(cfgBrowseHandler2(text));
  EXPECT_EQ(text, "Lib");
  OvFolderChooser = nullptr;
}

// A bar that would cover the screen gets its thickness back on its thinner
// side; every bar is held to the work area, which need not start at 0.
TEST(OvCfgPlacement, TheBarIsHeldToTheWorkAreaAndNeverCoversIt) {
  const TRect screen = Rect(0, 0, 1280, 800), taskbar = Rect(40, 30, 1280, 800);
  const struct {
    TRect stored, work, held;
  } cases[] = {
      // Width and height of 1e9, held to the work area before they come here.
      {Bounds(0, 0, 1280, 800), screen, Bounds(0, 0, 1280, 96)},
      {Bounds(500, 300, 32767, 32767), taskbar, Bounds(40, 300, 1240, 96)},
      // Taller than wide in its share of the room: a vertical bar.
      {Bounds(0, 0, 700, 800), screen, Bounds(0, 0, 96, 800)},
      // A strip across the whole work area, one way or the other, and a large bar that leaves room.
      {Bounds(0, 0, 1280, 200), screen, Bounds(0, 0, 1280, 200)},
      {Bounds(1180, 0, 100, 800), screen, Bounds(1180, 0, 100, 800)},
      {Bounds(100, 100, 640, 700), screen, Bounds(100, 100, 640, 700)},
      // A bar turned for a vertical skin about its corner reaches below the work area.
      {Bounds(0, 0, 96, 1280), screen, Bounds(0, 0, 96, 800)},
      {Bounds(1200, 700, 560, 96), screen, Bounds(720, 700, 560, 96)},
  };
  for (const auto& c : cases) {
    const TRect held = OvHoldBarToWorkArea(c.stored, c.work);
    EXPECT_EQ(held, c.held) << c.stored.Left << "," << c.stored.Top << " " << c.stored.Width() << "x"
                            << c.stored.Height();
  }
}

}  // namespace
