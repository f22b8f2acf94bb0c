// The launcher's settings table in the settings file: every key with its
// default, read back, garbage, limits; the version check, "Show hints", the
// time settings and the folder setting's paths.
#include "launcher/ov3cfg.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "kem3/framework/kemexe.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/timer.h"
#include "support/temp_dir.h"

namespace {

// Every key of the table with its default as the settings file holds it, and
// another valid value.
struct TKey {
  int Id;
  const char* Section;
  const char* Key;
  const char* Stored;
  const char* Other;
};

const TKey kTable[] = {
    {ovsFocusShortcut, "General", "Focus shortcut", "f10,ctrl", "f9,alt"},
    {ovsAutohideShortcut, "General", "Autohide shortcut", "f12,none", "f11,ctrl"},
    {ovsIconLibFolder, "General", "Icon lib folder", "c:\\", "Icons"},
    {ovsAutoHide, "Window", "Auto hide", "no", "yes"},
    {ovsAutoHideMethod, "Window", "Auto hide method", "0", "1"},
    {ovsAutoHideHideDelay, "Window", "Auto hide hidedelay", "2000", "3000"},
    {ovsAutoHideShowDelay, "Window", "Auto hide showdelay", "500", "750"},
    {ovsAutoHideSteps, "Window", "Auto hide steps", "10", "4"},
    {ovsAutoHideSpeed, "Window", "Auto hide speed", "10", "20"},
    {ovsScreenArea, "Window", "Screen area", "0", "1"},
    {ovsScreenAreas, "Window", "Screen areas", "0,4,5", "2,3"},
    {ovsScreenEdgeSize, "Window", "Screen edge size", "3", "6"},
    {ovsScreenCornerSize, "Window", "Screen corner size", "5", "8"},
    {ovsScreenSnap, "Window", "Screen snap", "yes", "no"},
    {ovsIconDragging, "Window", "Icon dragging", "yes", "no"},
    {ovsGroupDragging, "Window", "Group dragging", "yes", "no"},
    {ovsWindowMove, "Window", "Window move", "no", "yes"},
    {ovsWindowSize, "Window", "Window size", "no", "yes"},
    {ovsHintShowDelay, "Hints", "Hint show delay", "500", "250"},
    {ovsHintHideDelay, "Hints", "Hint hide delay", "1000", "2000"},
    {ovsShowHints, "Hints", "Show hints", "", "1100"},
    {ovsHintPosition, "Hints", "Position", "100", "50"},
    {ovsFadeHints, "Hints", "Fade hints", "yes", "no"},
    {ovsWheelScroll, "Wheel", "Scroll", "0", "2"},
    {ovsWheelToggle, "Wheel", "Toggle", "0", "3"},
    {ovsWheelWrapGroups, "Wheel", "Wrap groups", "no", "yes"},
    {ovsWheelWrapIcons, "Wheel", "Wrap icons", "no", "yes"},
    {ovsIconsSize, "Icons", "Size", "32", "48"},
    {ovsIconsStretch, "Icons", "Stretch", "0", "1"},
    {ovsIconsTitle, "Icons", "Title", "0", "2"},
    {ovsIconsComment, "Icons", "Comment", "0", "1"},
    {ovsIconsOverrideSkin, "Icons", "OverrideSkin", "no", "yes"},
    {ovsIconsSpaceLeft, "Icons", "SpaceLeft", "24", "1"},
    {ovsIconsSpaceRight, "Icons", "SpaceRight", "24", "2"},
    {ovsIconsSpaceTop, "Icons", "SpaceTop", "4", "3"},
    {ovsIconsSpaceBottom, "Icons", "SpaceBottom", "4", "5"},
    {ovsIconsSpaceVert, "Icons", "SpaceVert", "4", "6"},
    {ovsIconsFadeWidth, "Icons", "FadeWidth", "12", "7"},
    {ovsShowDropDialog, "Icons", "Show drop dialog", "yes", "no"},
    {ovsSingleClick, "Icons", "Single click", "no", "yes"},
    {ovsIconsAutoAccel, "Icons", "Auto accel", "yes", "no"},
    {ovsPreviousGroup, "Groups", "Previous group", "tabulator,ctrl", "f1,none"},
    {ovsNextGroup, "Groups", "Next group", "tabulator,ctrl+shift", "f2,none"},
    {ovsGroupsAutoAccel, "Groups", "Auto accel", "yes", "no"},
    {ovsShowDragHint, "Misc", "Show drag hint", "yes", "no"},
    {ovsBrowserFltPrograms, "Browser", "Flt programs", "0", "3"},
    {ovsBrowserFltIcons, "Browser", "Flt icons", "0", "4"},
};

const int kTimeIds[] = {ovsAutoHideHideDelay, ovsAutoHideShowDelay, ovsAutoHideSpeed, ovsHintShowDelay,
                        ovsHintHideDelay};

// A settings file of this version holding Value(key) for every key of the table.
template <class F>
String FileOf(F Value) {
  String text = "[Version]\r\nCurrent=3.3.9\r\n";
  String section;
  for (const TKey& key : kTable) {
    if (section != key.Section) text += String("[") + key.Section + "]\r\n";
    section = key.Section;
    text += String(key.Key) + "=" + Value(key) + "\r\n";
  }
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

TEST_F(OvCfg, TheTableInOrderWithItsGroups) {
  DefineSettings(nullptr);
  std::vector<int> ids;
  std::vector<int> groups;
  for (const auto& entry : cfgEntries()) {
    if (auto* group = dynamic_cast<TcfgDbGroup*>(entry.get())) {
      groups.push_back(group->Id);
    } else {
      ids.push_back(entry->Id);
    }
  }
  std::vector<int> expected;
  for (const TKey& key : kTable) expected.push_back(key.Id);
  EXPECT_EQ(ids, expected);
  EXPECT_EQ(groups, (std::vector<int>{ovgAutoHide, ovgIconSpaces}));

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
  for (const TKey& key : kTable) {
    const TcfgDbItem* item = cfgFindItem(key.Id);
    ASSERT_NE(item, nullptr) << key.Id;
    EXPECT_EQ(item->Height, 21);
    EXPECT_EQ(item->TextName.empty(), noCaption.count(key.Id) == 1) << key.Id;
    if (item->TextName.empty()) {
      EXPECT_EQ(item->Page, -1) << key.Id;
      EXPECT_EQ(item->LabelPercent, 30);
      EXPECT_EQ(item->ControlPercent, 30);
    }
    const bool timed = std::find(std::begin(kTimeIds), std::end(kTimeIds), key.Id) != std::end(kTimeIds);
    EXPECT_EQ(item->BaseUnit, timed ? unMillisecond : unNone) << key.Id;
    EXPECT_EQ(item->Type == cfgtFloat, timed) << key.Id;
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
  for (const TKey& key : kTable) {
    const String stored = key.Id == ovsShowHints ? "0011" : key.Stored;
    EXPECT_EQ(OnDisk(key.Section, key.Key), stored) << key.Key;
  }
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
  WriteFile(FileOf([](const TKey& key) { return String(key.Other); }));
  Start();
  EXPECT_TRUE(cfgGetBool(ovsAutoHide));
  EXPECT_EQ(cfgGetInt(ovsAutoHideMethod), 1);
  EXPECT_EQ(SettingMs(ovsAutoHideHideDelay), 3000);
  EXPECT_EQ(SettingMs(ovsHintShowDelay), 250);
  EXPECT_EQ(cfgGetInt(ovsIconsSize), 48);
  EXPECT_EQ(cfgGetStr(ovsScreenAreas), "2,3");
  EXPECT_FALSE(cfgGetBool(ovsScreenSnap, true));
  EXPECT_EQ(ModuleHints, (TPerModule<bool>{true, true, false, false}));
  // Written back as they were read.
  Restart();
  for (const TKey& key : kTable) EXPECT_EQ(OnDisk(key.Section, key.Key), key.Other) << key.Key;
}

TEST_F(OvCfg, GarbageReadsAsTheDefault) {
  WriteFile(FileOf([](const TKey&) { return String("4x?"); }));
  Start();
  Restart();
  for (const TKey& key : kTable) {
    const std::uint8_t type = cfgFindItem(key.Id)->Type;
    if (type == cfgtString || type == cfgtBrowse2) continue;  // any text is a valid text
    EXPECT_EQ(OnDisk(key.Section, key.Key), key.Stored) << key.Key;
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
  for (const TKey& key : kTable) EXPECT_TRUE(ini.ValueExists(key.Section, key.Key)) << key.Key;
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
