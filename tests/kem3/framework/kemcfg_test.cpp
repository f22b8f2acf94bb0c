// The configuration database: registration, the settings file's forms, units,
// change delivery, the deferred save on a fake clock, ad-hoc keys and the
// placement arithmetic.
#include "kem3/framework/kemcfg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "kem3/framework/kemexe.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/timer.h"
#include "support/temp_dir.h"

namespace {

constexpr TUnit umm = 1, um = 2, uinch = 5, ums = 31, us = 32;

class Cfg : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramFileName(Dir.file("prog.exe"));
    cfgInit();
  }
  void TearDown() override {
    cfgDone();
    SetProgramFileName("");
  }

  String IniName() const { return Dir.file("prog.ini"); }
  // The file as it is on disk, read by an INI object of its own.
  String OnDisk(const String& Section, const String& Key) const {
    TIniFile ini(IniName());
    return ini.ReadString(Section, Key, "<missing>");
  }
  // Puts text into the file and opens it anew, as a start of the program would.
  void WriteFile(const String& Text) {
    FreeIniFile();
    WriteFileAtomic(IniName(), Text);
  }

  TempDir Dir;
  TFakeTimerService Timers;  // before cfgInit, so the save's timer runs on it
};

// ---- Registration and access

TEST_F(Cfg, RegistrationKeepsOrderAndFields) {
  TcfgDbGroup* group = cfgAddGroup(7, 148, "144", 200, 1, 10);
  TcfgDbItem* item = cfgAddItem(10, cfgtFloat, 2000, "S", "K", "Caption", ums, 7, 25, 75, 21)
                         ->SetLimits(100, 50000, 100, 1000)
                         ->SetLegend(2.0, 0.5);
  ASSERT_EQ(cfgEntries().size(), 2u);
  EXPECT_EQ(cfgEntries()[0].get(), group);
  EXPECT_EQ(cfgEntries()[1].get(), item);
  EXPECT_EQ(group->CaptionTextName, "144");
  EXPECT_EQ(group->CheckItemId, 10);
  EXPECT_EQ(item->Value, Variant(2000));
  EXPECT_EQ(item->Default, Variant(2000));
  EXPECT_EQ(item->UnitCategory, ucTime);
  EXPECT_EQ(item->BaseUnit, ums);
  EXPECT_EQ(item->ValueUnit, ums);
  EXPECT_EQ(item->DisplayUnit, ums);
  EXPECT_EQ(item->MaxValue, Variant(50000));
  EXPECT_EQ(item->BigStep, Variant(1000));
  EXPECT_EQ(item->LegendScale, 2.0);
  EXPECT_EQ(item->LabelPercent + item->ControlPercent, 100);
  // Groups are skipped by id lookups, and the first item of an id wins.
  cfgAddItem(7, cfgtInteger, 1, "S", "A", "", unNone, -1, 0, 0, 21);
  cfgAddItem(7, cfgtInteger, 2, "S", "B", "", unNone, -1, 0, 0, 21);
  ASSERT_NE(cfgFindItem(7), nullptr);
  EXPECT_EQ(cfgFindItem(7)->Key, "A");
  EXPECT_EQ(cfgFindItem(99), nullptr);
  // A bad unit index is "no unit".
  EXPECT_EQ(cfgAddItem(8, cfgtFloat, 1.0, "S", "C", "", 120, -1, 0, 0, 21)->UnitCategory, ucNone);
}

TEST_F(Cfg, UnknownIdsAreIgnored) {
  cfgAddItem(1, cfgtInteger, 5, "S", "K", "", unNone, -1, 0, 0, 21);
  Variant out = "untouched";
  cfgGetValue(2, out);
  cfgGetValueInUnit(2, umm, out);
  EXPECT_EQ(out, Variant("untouched"));
  cfgSetValue(2, 9);
  cfgSetValueNotify(2, 9);
  cfgClearChanged({2, 3});
  EXPECT_EQ(cfgGetInt(2, -7), -7);
  EXPECT_EQ(cfgGetStr(2, "d"), "d");
  cfgGetValue(1, out);
  EXPECT_EQ(out, Variant(5));
}

TEST_F(Cfg, TypedReadsFallBackWhereAValueDoesNotConvert) {
  cfgAddItem(1, cfgtValueList, "2", "S", "A", "", unNone, -1, 0, 0, 21);
  cfgAddItem(2, cfgtValueList, "garbage", "S", "B", "", unNone, -1, 0, 0, 21);
  cfgAddItem(3, cfgtBoolean, true, "S", "C", "", unNone, -1, 0, 0, 21);
  cfgAddItem(4, cfgtFloat, 1.5, "S", "D", "", us, -1, 0, 0, 21);
  EXPECT_EQ(cfgGetInt(1), 2);
  EXPECT_EQ(cfgGetInt(2), 0);
  EXPECT_TRUE(cfgGetBool(3));
  EXPECT_FALSE(cfgGetBool(2));
  EXPECT_EQ(cfgGetStr(1), "2");
  EXPECT_DOUBLE_EQ(cfgGetFloatInUnit(4, ums), 1500.0);
  EXPECT_DOUBLE_EQ(cfgGetFloatInUnit(4, us), 1.5);
  EXPECT_DOUBLE_EQ(cfgGetFloatInUnit(2, ums, 3.0), 3.0);
}

TEST_F(Cfg, ValueListsFromTheLanguageOrTheirOwnText) {
  TcfgDbItem* item =
      cfgAddItem(1, cfgtValueList, "0", "S", "K", "", unNone, -1, 0, 0, 21)->SetValueList("0|1|2", "Names");
  ASSERT_EQ(item->Values.Count(), 3);
  EXPECT_EQ(item->Values[2], "2");
  EXPECT_EQ(item->DisplayTexts, (std::vector<WideString>{u"0", u"1", u"2"}));

  std::vector<String> asked;
  cfgTranslateHook = [&](const String& name) -> WideString {
    asked.push_back(name);
    return name == "Names" ? u"Off|Slow|Fast" : u"";
  };
  cfgRefreshValueLists();
  EXPECT_EQ(asked, std::vector<String>{"Names"});  // items without a list name are not asked about
  EXPECT_EQ(item->DisplayTexts, (std::vector<WideString>{u"Off", u"Slow", u"Fast"}));
  EXPECT_EQ(item->Values.Count(), 3);

  item->SetValueList("a|b", "Unknown");
  EXPECT_EQ(item->DisplayTexts, (std::vector<WideString>{u"a", u"b"}));
  item->SetValueList("", "");
  EXPECT_EQ(item->Values.Count(), 0);
  EXPECT_TRUE(item->DisplayTexts.empty());
}

// ---- The settings file

TEST_F(Cfg, EveryTypeIsWrittenInTheFilesForm) {
  cfgAddItem(1, cfgtInteger, 5.0, "T", "Int", "", unNone, -1, 0, 0, 21);  // a spin edit's 5.0
  cfgAddItem(2, cfgtFloat, 2.5, "T", "Float", "", umm, -1, 0, 0, 21);
  cfgAddItem(3, cfgtBoolean, true, "T", "Yes", "", unNone, -1, 0, 0, 21);
  cfgAddItem(4, cfgtBoolean, false, "T", "No", "", unNone, -1, 0, 0, 21);
  cfgAddItem(5, cfgtTracker, -3, "T", "Tracker", "", unNone, -1, 0, 0, 21);
  cfgAddItem(6, cfgtString, "text, with = sign", "T", "Str", "", unNone, -1, 0, 0, 21);
  cfgAddItem(7, cfgtColor, 0xFF00AA, "T", "Color", "", unNone, -1, 0, 0, 21);
  cfgAddItem(8, cfgtColor, 0x0000AA, "T", "Blue", "", unNone, -1, 0, 0, 21);
  cfgAddItem(9, cfgtValueList, "1", "T", "List", "", unNone, -1, 0, 0, 21);
  cfgAddItem(10, cfgtCheckList, "a=1;b=0", "T", "Checks", "", unNone, -1, 0, 0, 21);
  cfgAddItem(11, cfgtBrowse2, "c:\\", "T", "Folder", "", unNone, -1, 0, 0, 21);
  cfgAddItem(12, cfgtSpacer, 0, "T", "Spacer", "", unNone, -1, 0, 0, 21);
  cfgAddItem(13, cfgtFloat, 0.1, "T", "Small", "", unNone, -1, 0, 0, 21);
  cfgAddItem(14, cfgtInteger, 1, "", "NoSection", "", unNone, -1, 0, 0, 21);
  cfgWriteAll();

  EXPECT_EQ(OnDisk("T", "Int"), "5");
  EXPECT_EQ(OnDisk("T", "Float"), "2.5");
  EXPECT_EQ(OnDisk("T", "Float (Unit)"), "mm");
  EXPECT_EQ(OnDisk("T", "Yes"), "yes");
  EXPECT_EQ(OnDisk("T", "No"), "no");
  EXPECT_EQ(OnDisk("T", "Tracker"), "-3");
  EXPECT_EQ(OnDisk("T", "Str"), "text, with = sign");
  EXPECT_EQ(OnDisk("T", "Color"), "FF00AA");
  EXPECT_EQ(OnDisk("T", "Blue"), "0000AA");
  EXPECT_EQ(OnDisk("T", "List"), "1");
  EXPECT_EQ(OnDisk("T", "Checks"), "a=1;b=0");
  EXPECT_EQ(OnDisk("T", "Folder"), "c:\\");
  EXPECT_EQ(OnDisk("T", "Spacer"), "<missing>");
  EXPECT_EQ(OnDisk("T", "Small"), "0.1");
  EXPECT_EQ(OnDisk("T", "Small (Unit)"), "<missing>");  // no unit, no unit key
  EXPECT_EQ(OnDisk("", "NoSection"), "<missing>");
}

TEST_F(Cfg, ValuesThatDoNotFitTheirTypeAreWrittenAsTheDefault) {
  cfgAddItem(1, cfgtInteger, 7, "T", "Int", "", unNone, -1, 0, 0, 21);
  cfgAddItem(2, cfgtBoolean, true, "T", "Bool", "", unNone, -1, 0, 0, 21);
  cfgAddItem(3, cfgtInteger, 7, "T", "Rounded", "", unNone, -1, 0, 0, 21);
  cfgSetValue(1, "abc");
  cfgSetValue(2, "maybe");
  cfgSetValue(3, 2.5);  // halves to even, as the class library rounds
  cfgWriteAll();
  EXPECT_EQ(OnDisk("T", "Int"), "7");
  EXPECT_EQ(OnDisk("T", "Bool"), "yes");
  EXPECT_EQ(OnDisk("T", "Rounded"), "2");
}

TEST_F(Cfg, ReadingGivesTheValueOrTheDefault) {
  WriteFile(
      "[T]\r\nInt=42\r\nIntBad=4x\r\nFloat=1.25\r\nFloatBad=1,5\r\nBoolYes=YES\r\nBoolNo=No\r\nBoolBad=1\r\n"
      "Color=FF0000\r\nColorBad=GG\r\nStr=\r\nList=2\r\nMissingMarker=_\r\n");
  cfgAddItem(1, cfgtInteger, 5, "T", "Int", "", unNone, -1, 0, 0, 21);
  cfgAddItem(2, cfgtInteger, 5, "T", "IntBad", "", unNone, -1, 0, 0, 21);
  cfgAddItem(3, cfgtInteger, 5, "T", "IntMissing", "", unNone, -1, 0, 0, 21);
  cfgAddItem(4, cfgtFloat, 9.5, "T", "Float", "", unNone, -1, 0, 0, 21);
  cfgAddItem(5, cfgtFloat, 9.5, "T", "FloatBad", "", unNone, -1, 0, 0, 21);
  cfgAddItem(6, cfgtBoolean, false, "T", "BoolYes", "", unNone, -1, 0, 0, 21);
  cfgAddItem(7, cfgtBoolean, true, "T", "BoolNo", "", unNone, -1, 0, 0, 21);
  cfgAddItem(8, cfgtBoolean, true, "T", "BoolBad", "", unNone, -1, 0, 0, 21);
  cfgAddItem(9, cfgtColor, 0x123456, "T", "Color", "", unNone, -1, 0, 0, 21);
  cfgAddItem(10, cfgtColor, 0x123456, "T", "ColorBad", "", unNone, -1, 0, 0, 21);
  cfgAddItem(11, cfgtString, "def", "T", "Str", "", unNone, -1, 0, 0, 21);
  cfgAddItem(12, cfgtString, "def", "T", "StrMissing", "", unNone, -1, 0, 0, 21);
  cfgAddItem(13, cfgtValueList, "0", "T", "List", "", unNone, -1, 0, 0, 21);
  cfgAddItem(14, cfgtTracker, 3, "T", "MissingMarker", "", unNone, -1, 0, 0, 21);
  cfgAddItem(15, cfgtInteger, 3, "", "Int", "", unNone, -1, 0, 0, 21);
  cfgReadAll();

  auto value = [](int id) {
    Variant v;
    cfgGetValue(id, v);
    return v;
  };
  EXPECT_EQ(value(1), Variant(42));
  EXPECT_EQ(value(2), Variant(5));
  EXPECT_EQ(value(3), Variant(5));
  EXPECT_EQ(value(4), Variant(1.25));
  EXPECT_EQ(value(5), Variant(9.5));  // "," is no decimal separator in the file
  EXPECT_EQ(value(6), Variant(true));
  EXPECT_EQ(value(7), Variant(false));
  EXPECT_EQ(value(8), Variant(true));
  EXPECT_EQ(value(9), Variant(16711680));
  EXPECT_EQ(value(10), Variant(0x123456));
  EXPECT_EQ(value(11), Variant(""));  // present but empty: the empty text
  EXPECT_EQ(value(12), Variant("def"));
  EXPECT_EQ(value(13), Variant("2"));
  EXPECT_EQ(value(14), Variant(3));
  EXPECT_EQ(value(15), Variant(3));  // no section: not read
}

TEST_F(Cfg, AFloatIsReadInTheUnitItsUnitKeyNames) {
  WriteFile(
      "[L]\r\nMetres=1.5\r\nMetres (Unit)=m\r\nOnlyUnit (Unit)=m\r\nUnknown=3\r\nUnknown (Unit)=cm\r\n"
      "Foreign=4\r\nForeign (Unit)=kg\r\nInches (Unit)=INCH\r\n");
  TcfgDbItem* metres = cfgAddItem(1, cfgtFloat, 2000, "L", "Metres", "", umm, -1, 0, 0, 21);
  TcfgDbItem* onlyUnit = cfgAddItem(2, cfgtFloat, 2000, "L", "OnlyUnit", "", umm, -1, 0, 0, 21);
  TcfgDbItem* unknown = cfgAddItem(3, cfgtFloat, 2000, "L", "Unknown", "", umm, -1, 0, 0, 21);
  TcfgDbItem* foreign = cfgAddItem(4, cfgtFloat, 2000, "L", "Foreign", "", umm, -1, 0, 0, 21);
  TcfgDbItem* inches = cfgAddItem(5, cfgtFloat, 25.4, "L", "Inches", "", umm, -1, 0, 0, 21);
  TcfgDbItem* plain = cfgAddItem(6, cfgtFloat, 7, "L", "Plain", "", umm, -1, 0, 0, 21);
  cfgReadAll();

  EXPECT_EQ(metres->ValueUnit, um);
  EXPECT_EQ(metres->DisplayUnit, um);
  EXPECT_EQ(metres->Value, Variant(1.5));
  EXPECT_DOUBLE_EQ(cfgGetFloatInUnit(1, umm), 1500.0);
  // No number: the default, converted into the file's unit.
  EXPECT_EQ(onlyUnit->ValueUnit, um);
  EXPECT_DOUBLE_EQ(onlyUnit->Value.AsDouble(), 2.0);
  // "cm" is no unit of the table and "kg" none of lengths: the number is kept as it is.
  EXPECT_EQ(unknown->ValueUnit, unNone);
  EXPECT_EQ(unknown->Value, Variant(3.0));
  EXPECT_DOUBLE_EQ(cfgGetFloatInUnit(3, umm), 3.0);
  EXPECT_EQ(foreign->ValueUnit, unNone);
  EXPECT_DOUBLE_EQ(cfgGetFloatInUnit(4, umm), 4.0);
  EXPECT_EQ(inches->ValueUnit, uinch);
  EXPECT_DOUBLE_EQ(inches->Value.AsDouble(), 1.0);
  EXPECT_EQ(plain->ValueUnit, umm);
  EXPECT_EQ(plain->Value, Variant(7));
}

TEST_F(Cfg, WritingStoresTheNumberInTheUnitTheFileNames) {
  TcfgDbItem* item = cfgAddItem(1, cfgtFloat, 2500, "T", "Delay", "", ums, -1, 0, 0, 21);
  cfgWriteAll();
  EXPECT_EQ(OnDisk("T", "Delay"), "2500");
  EXPECT_EQ(OnDisk("T", "Delay (Unit)"), "ms");
  // The page chose seconds, but the value was not read back yet.
  item->DisplayUnit = us;
  cfgWriteAll();
  EXPECT_EQ(item->ValueUnit, us);
  EXPECT_DOUBLE_EQ(item->Value.AsDouble(), 2.5);
  EXPECT_EQ(OnDisk("T", "Delay"), "2.5");
  EXPECT_EQ(OnDisk("T", "Delay (Unit)"), "s");

  // And reading it back in the next run gives the same milliseconds.
  cfgFreeAll();
  FreeIniFile();
  cfgAddItem(1, cfgtFloat, 2000, "T", "Delay", "", ums, -1, 0, 0, 21);
  cfgReadAll();
  EXPECT_DOUBLE_EQ(cfgGetFloatInUnit(1, ums), 2500.0);
}

TEST_F(Cfg, AWriteReplacesTheFileWhole) {
  WriteFile("; kept\r\n[Other]\r\nx=1\r\n");
  for (int i = 0; i < 40; ++i) {
    cfgAddItem(i, cfgtInteger, i, "Many", "Key" + std::to_string(i), "", unNone, -1, 0, 0, 21);
  }
  cfgWriteAll();
  TIniFile ini(IniName());
  for (int i = 0; i < 40; ++i) EXPECT_EQ(ini.ReadInteger("Many", "Key" + std::to_string(i), -1), i);
  EXPECT_EQ(ini.ReadString("Other", "x", ""), "1");
  const std::string bytes = ReadFileBytes(IniName());
  EXPECT_EQ(bytes.rfind("; kept\r\n", 0), 0u);
  // Nothing but the file itself is left in the folder.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(Dir.path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(Cfg, AdHocKeys) {
  cfgWriteFloat("A", "F", 0.25);
  cfgWriteInt("A", "I", -12);
  cfgWriteBool("A", "B", true);
  cfgWriteString("A", "S", "text");
  EXPECT_EQ(OnDisk("A", "F"), "0.25");
  EXPECT_EQ(OnDisk("A", "B"), "yes");
  EXPECT_DOUBLE_EQ(cfgReadFloat("A", "F", 9), 0.25);
  EXPECT_EQ(cfgReadInt("A", "I", 9), -12);
  EXPECT_TRUE(cfgReadBool("A", "B", false));
  EXPECT_EQ(cfgReadStr("A", "S"), "text");
  EXPECT_EQ(cfgReadString("A", "S", "d"), "text");
  // Missing keys and bad text give the default.
  EXPECT_DOUBLE_EQ(cfgReadFloat("A", "none", 9), 9.0);
  EXPECT_DOUBLE_EQ(cfgReadFloat("A", "S", 9), 9.0);
  EXPECT_EQ(cfgReadInt("A", "S", 9), 9);
  EXPECT_FALSE(cfgReadBool("A", "I", false));
  EXPECT_TRUE(cfgReadBool("A", "none", true));
  EXPECT_EQ(cfgReadStr("A", "none"), "");
  EXPECT_EQ(cfgReadString("A", "none", "d"), "d");
  cfgWriteBool("A", "B", false);
  EXPECT_FALSE(cfgReadBool("A", "B", true));
}

// ---- Changes and their delivery

TEST_F(Cfg, OnlyADifferentValueCountsAsAChange) {
  cfgAddItem(1, cfgtInteger, 5, "S", "K", "", unNone, -1, 0, 0, 21);
  TTimerController* timer = cfgTimer();
  ASSERT_NE(timer, nullptr);
  timer->SaveNow();  // the start-up save out of the way
  EXPECT_EQ(timer->Changes(), 0);
  cfgSetValue(1, 5.0);  // a spin edit's 5.0 is the stored 5
  EXPECT_EQ(timer->Changes(), 0);
  EXPECT_FALSE(timer->Armed());
  cfgSetValue(1, "5");  // text is another kind of value
  EXPECT_EQ(timer->Changes(), 1);
  EXPECT_TRUE(timer->Armed());
  cfgSetValueNotify(1, "5");
  EXPECT_FALSE(cfgFindItem(1)->Changed);
  cfgSetValueNotify(1, 6);
  EXPECT_TRUE(cfgFindItem(1)->Changed);
  EXPECT_EQ(timer->Changes(), 2);
}

TEST_F(Cfg, ChangesAreDeliveredInOrderUntilOneIsNotTaken) {
  for (int id = 1; id <= 4; ++id)
    cfgAddItem(id, cfgtInteger, id * 10, "S", "K" + std::to_string(id), "", unNone, -1, 0, 0, 21);
  cfgAddGroup(50, 100, "", -1, 1, -1);
  std::vector<std::pair<int, int>> got;

  // Without a handler nothing is delivered and every flag stays set.
  cfgApplyAll(nullptr);
  for (int id = 1; id <= 4; ++id) EXPECT_TRUE(cfgFindItem(id)->Changed);

  cfgApplyChanges([&](int id, const Variant& v) {
    got.emplace_back(id, v.AsInteger());
    return id != 3;
  });
  EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{1, 10}, {2, 20}, {3, 30}}));
  EXPECT_FALSE(cfgFindItem(1)->Changed);
  EXPECT_FALSE(cfgFindItem(2)->Changed);
  EXPECT_TRUE(cfgFindItem(3)->Changed);
  EXPECT_TRUE(cfgFindItem(4)->Changed);

  cfgClearChanged({3});
  got.clear();
  cfgApplyChanges([&](int id, const Variant& v) {
    got.emplace_back(id, v.AsInteger());
    return true;
  });
  EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{4, 40}}));

  // A handler may change other settings while it runs.
  got.clear();
  cfgApplyAll([&](int id, const Variant& v) {
    got.emplace_back(id, v.AsInteger());
    if (id == 1) cfgSetValueNotify(4, 99);
    return true;
  });
  EXPECT_EQ(got.back(), std::make_pair(4, 99));
  EXPECT_FALSE(cfgFindItem(4)->Changed);
}

TEST_F(Cfg, NumbersReadAreHeldToTheirRegisteredLimits) {
  WriteFile("[S]\r\nSteps=0\r\nPosition=999\r\nDelay=0.05\r\nDelay (Unit)=s\r\nNoLow=-100\r\nNoHigh=10\r\n");
  cfgAddItem(1, cfgtInteger, 10, "S", "Steps", "", unNone, -1, 0, 0, 21)->SetLimits(1, 20, 1, 2);
  cfgAddItem(2, cfgtTracker, 100, "S", "Position", "", unNone, -1, 0, 0, 21)->SetLimits(0, 150, 1, 10);
  cfgAddItem(3, cfgtFloat, 2000, "S", "Delay", "", ums, -1, 0, 0, 21)->SetLimits(100, 50000, 100, 1000);
  cfgAddItem(4, cfgtInteger, 5, "S", "NoLow", "", unNone, -1, 0, 0, 21)->SetLimits(-1, 9, 1, 1);
  cfgAddItem(5, cfgtInteger, 5, "S", "NoHigh", "", unNone, -1, 0, 0, 21)->SetLimits(0, -1, 1, 1);
  cfgReadAll();
  // The delay's 100 ms in the seconds the file names.
  const double held[] = {1, 150, 0.1, -100, 10};
  for (int id = 1; id <= 5; ++id) EXPECT_DOUBLE_EQ(cfgFindItem(id)->Value.AsDouble(), held[id - 1]) << id;
}

// ---- The deferred save

class CfgSave : public Cfg {
 protected:
  void SetUp() override {
    Cfg::SetUp();
    cfgAddItem(1, cfgtInteger, 5, "S", "K", "", unNone, -1, 0, 0, 21);
    cfgSaveHandler = [this] {
      Saves.push_back(Timers.Milliseconds());
      cfgWriteAll();
    };
  }
  std::vector<std::uint64_t> Saves;
};

TEST_F(CfgSave, OneSaveFollowsStartUp) {
  Timers.Advance(2499);
  EXPECT_TRUE(Saves.empty());
  Timers.Advance(1);
  EXPECT_EQ(Saves, std::vector<std::uint64_t>{2500});
  Timers.Advance(60000);
  EXPECT_EQ(Saves.size(), 1u);
  EXPECT_EQ(OnDisk("S", "K"), "5");
}

TEST_F(CfgSave, TwoChangesGiveOneSaveAfterTheSecond) {
  Timers.Advance(3000);
  Saves.clear();
  cfgSetValue(1, 6);  // at 3000
  Timers.Advance(2000);
  cfgSetValue(1, 7);  // at 5000
  Timers.Advance(2499);
  EXPECT_TRUE(Saves.empty());
  Timers.Advance(1);
  EXPECT_EQ(Saves, std::vector<std::uint64_t>{7500});
  EXPECT_EQ(OnDisk("S", "K"), "7");
  Timers.Advance(10000);
  EXPECT_EQ(Saves.size(), 1u);
}

TEST_F(CfgSave, ASetterThatChangesNothingDoesNotCancelTheStartUpSave) {
  Timers.Advance(1000);
  cfgSetValue(1, 5);
  cfgSetValue(1234, 5);
  Timers.Advance(10000);
  EXPECT_EQ(Saves, std::vector<std::uint64_t>{3500});
}

TEST_F(CfgSave, RequestedSavesAndTheSelectionSavers) {
  std::vector<String> savers;
  cfgLanguageSaver = [&](const String& section, const String& key) { savers.push_back(section + "/" + key); };
  cfgSkinSaver = [&](const String& section, const String& skin, const String& layout) {
    savers.push_back(section + "/" + skin + "/" + layout);
  };
  Timers.Advance(2500);
  EXPECT_EQ(savers, (std::vector<String>{"Language/Current", "Skin/Current/Layout"}));
  cfgRequestSave();
  Timers.Advance(2500);
  EXPECT_EQ(Saves, (std::vector<std::uint64_t>{2500, 5000}));
  EXPECT_EQ(savers.size(), 4u);
}

TEST_F(CfgSave, WithoutAHandlerTheSaveWritesEverySetting) {
  cfgSaveHandler = nullptr;
  cfgSetValue(1, 8);
  Timers.Advance(2500);
  EXPECT_EQ(OnDisk("S", "K"), "8");
}

TEST_F(CfgSave, TheSaveAtShutDownRunsOnceAndLosesNothing) {
  Timers.Advance(2500);
  cfgSetValue(1, 9);  // less than 2,500 ms before the end
  Timers.Advance(100);
  EXPECT_TRUE(cfgSaveAtShutDown());
  EXPECT_EQ(Saves, (std::vector<std::uint64_t>{2500, 2600}));
  EXPECT_EQ(OnDisk("S", "K"), "9");
  // Nothing arms the timer again, and a second call writes nothing.
  cfgSetValue(1, 10);
  cfgRequestSave();
  cfgSaveAtShutDown();
  Timers.Advance(10000);
  EXPECT_EQ(Saves.size(), 2u);
  EXPECT_FALSE(cfgTimer()->Armed());
}

// The file's name taken by a folder: no save can put a file there.
TEST_F(CfgSave, AFileThatCannotBeWrittenKeepsTheValuesTellsOnceAndIsWrittenWhenItCanBe) {
  std::vector<String> told;
  cfgSaveFailureHandler = [&](std::exception_ptr failure) {
    try {
      std::rethrow_exception(failure);
    } catch (const Exception& e) {
      told.push_back(e.Message);
    }
  };
  ASSERT_TRUE(std::filesystem::create_directory(IniName()));
  cfgSetValue(1, 6);
  Timers.Advance(2500);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find(IniName()), String::npos) << told[0];
  cfgBatchWrites([] { cfgWriteString("A", "B", "kept"); });
  cfgSetValue(1, 7);
  Timers.Advance(2500);
  EXPECT_FALSE(cfgSaveAtShutDown()) << "the last save says it could not write";
  EXPECT_EQ(told.size(), 1u) << "once a run";
  EXPECT_EQ(Saves.size(), 3u);

  std::filesystem::remove(IniName());
  cfgBatchWrites([] { cfgWriteString("A", "C", "now"); });
  EXPECT_EQ(OnDisk("S", "K"), "7");
  EXPECT_EQ(OnDisk("A", "B"), "kept");
  EXPECT_EQ(OnDisk("A", "C"), "now");
  EXPECT_EQ(told.size(), 1u);
}

TEST_F(CfgSave, TheEndWritesNothingAndForgetsTheHooks) {
  cfgSetValue(1, 11);
  cfgSaveFailureHandler = [](std::exception_ptr) {};
  cfgDone();
  EXPECT_EQ(cfgTimer(), nullptr);
  EXPECT_TRUE(cfgEntries().empty());
  EXPECT_FALSE(static_cast<bool>(cfgSaveHandler));
  EXPECT_FALSE(static_cast<bool>(cfgSaveFailureHandler));
  Timers.Advance(10000);
  EXPECT_TRUE(Saves.empty());
  EXPECT_EQ(OnDisk("S", "K"), "<missing>");
  EXPECT_EQ(Timers.RunningCount(), 0);
}

// ---- Placement arithmetic

constexpr TRect kScreen{0, 0, 1920, 1080};
constexpr TRect kLeftTaskbar{40, 0, 1920, 1080};
constexpr TRect kTopTaskbar{0, 30, 1920, 1080};
constexpr TRect kSecond{1920, 0, 3200, 1024};

TEST(CfgPlacement, TheWorkAreasEdgesNotItsExtentBound) {
  // Taskbar on the left: a bar saved at 0 comes out beside it.
  EXPECT_EQ(cfgFitPlacement(Bounds(0, 100, 600, 80), kLeftTaskbar, bsNone, poDesigned, true), Bounds(40, 100, 600, 80));
  // Taskbar at the top.
  EXPECT_EQ(cfgFitPlacement(Bounds(10, 5, 600, 80), kTopTaskbar, bsNone, poDesigned, true), Bounds(10, 30, 600, 80));
  // Beyond the right edge: back at it.
  EXPECT_EQ(cfgFitPlacement(Bounds(5000, 100, 600, 80), kScreen, bsNone, poDesigned, true), Bounds(1320, 100, 600, 80));
  EXPECT_EQ(cfgFitPlacement(Bounds(100, 4000, 600, 80), kScreen, bsSingle, poDesigned, false),
            Bounds(100, 1000, 600, 80));
  // On a second monitor the window stays there.
  EXPECT_EQ(cfgFitPlacement(Bounds(2000, 50, 600, 80), kSecond, bsNone, poDesigned, true), Bounds(2000, 50, 600, 80));
  EXPECT_EQ(cfgFitPlacement(Bounds(3100, 1000, 600, 80), kSecond, bsNone, poDesigned, true),
            Bounds(2600, 944, 600, 80));
}

TEST(CfgPlacement, AWindowPartlyOffScreenIsMovedInAndOnlyWhatIsTooLargeShrinks) {
  const TRect off = Bounds(1700, 1050, 600, 80);
  // A window that keeps its size, or cannot be sized, is moved in.
  EXPECT_EQ(cfgFitPlacement(off, kScreen, bsSizeable, poDesigned, true), Bounds(1320, 1000, 600, 80));
  EXPECT_EQ(cfgFitPlacement(off, kScreen, bsDialog, poDesigned, false), Bounds(1320, 1000, 600, 80));
  // So is a sizeable one: cut down at the edge it could not be seen or grabbed.
  EXPECT_EQ(cfgFitPlacement(off, kScreen, bsSizeable, poDesigned, false), Bounds(1320, 1000, 600, 80));
  EXPECT_EQ(cfgFitPlacement(off, kScreen, bsNone, poDefault, false), Bounds(1320, 1000, 600, 80));
  // Larger than the work area: as large as it, never below the minimum, and
  // no rectangle overflows the arithmetic.
  EXPECT_EQ(cfgFitPlacement(Bounds(500, 10, 5000, 2000), kLeftTaskbar, bsNone, poDesigned, false), kLeftTaskbar);
  EXPECT_EQ(cfgFitPlacement(off, Rect(100, 50, 130, 70), bsNone, poDesigned, false, {64, 48}), Bounds(100, 50, 64, 48));
  EXPECT_EQ(cfgFitPlacement(Rect(-2147483647, 0, 2147483647, 9), kScreen, bsNone, poDesigned, false),
            Rect(0, 0, 1920, 9));
  // Wider than the work area: its left part stays on screen.
  EXPECT_EQ(cfgFitPlacement(Bounds(100, 0, 3000, 80), kLeftTaskbar, bsDialog, poDesigned, false),
            Bounds(40, 0, 3000, 80));
  // Centred windows place themselves.
  EXPECT_EQ(cfgFitPlacement(off, kScreen, bsSizeable, poScreenCenter, false), off);
  // Inside: unchanged.
  EXPECT_EQ(cfgFitPlacement(Bounds(10, 10, 100, 100), kScreen, bsSizeable, poDesigned, false),
            Bounds(10, 10, 100, 100));
}

TEST_F(Cfg, PlacementIsStoredAndRestoredOnTheNearestMonitor) {
  TcfgWindowPlacement window;
  window.Bounds = Bounds(2100, 200, 640, 90);
  window.BorderStyle = bsNone;
  window.State = wsMaximized;
  cfgSavePlacement("Win", window, false);
  EXPECT_EQ(OnDisk("Win", "Left"), "2100");
  EXPECT_EQ(OnDisk("Win", "Width"), "640");
  EXPECT_EQ(OnDisk("Win", "State"), "1");

  std::vector<TRect> asked;
  auto monitors = [&](const TRect& r) {
    asked.push_back(r);
    return r.Left >= 1920 ? kSecond : kLeftTaskbar;
  };
  TcfgWindowPlacement fresh;
  fresh.Bounds = Bounds(0, 0, 300, 50);
  fresh.BorderStyle = bsNone;
  TcfgPlacementResult loaded = cfgLoadPlacement("Win", fresh, false, nullptr, wsNormal, monitors);
  EXPECT_EQ(loaded.Bounds, Bounds(2100, 200, 640, 90));
  EXPECT_EQ(asked, std::vector<TRect>{Bounds(2100, 200, 640, 90)});
  EXPECT_TRUE(loaded.SetState);
  EXPECT_EQ(loaded.State, wsMaximized);

  // Keep size: the form's own size, the file's position, fitted.
  loaded = cfgLoadPlacement("Win", fresh, true, nullptr, wsNormal, monitors);
  EXPECT_EQ(loaded.Bounds, Bounds(2100, 200, 300, 50));
  // A fixed border keeps its size too; given bounds come first.
  fresh.BorderStyle = bsDialog;
  const TRect given = Bounds(5, 6, 70, 80);
  loaded = cfgLoadPlacement("Win", fresh, false, &given, wsNormal, monitors);
  EXPECT_EQ(loaded.Bounds, Bounds(2100, 200, 70, 80));
  // A centred form keeps its position and is not fitted.
  fresh.Position = poScreenCenter;
  loaded = cfgLoadPlacement("Win", fresh, false, nullptr, wsNormal, monitors);
  EXPECT_EQ(loaded.Bounds, Bounds(0, 0, 300, 50));
}

TEST_F(Cfg, PlacementStateAndBadSizes) {
  TcfgWindowPlacement window;
  window.Bounds = Bounds(10, 20, 300, 200);
  window.Position = poScreenCenter;
  window.State = wsMinimized;
  cfgSavePlacement("W", window, false);
  EXPECT_EQ(OnDisk("W", "Left"), "<missing>");  // centred: no position
  EXPECT_EQ(OnDisk("W", "Height"), "200");
  EXPECT_EQ(OnDisk("W", "State"), "0");  // minimised comes back normal
  cfgSavePlacement("K", window, true);
  EXPECT_EQ(OnDisk("K", "Width"), "<missing>");

  auto screen = [](const TRect&) { return kScreen; };
  TcfgWindowPlacement fresh;
  fresh.Bounds = Bounds(0, 0, 300, 50);
  // No key: the default state decides.
  TcfgPlacementResult loaded = cfgLoadPlacement("None", fresh, false, nullptr, wsMaximized, screen);
  EXPECT_EQ(loaded.State, wsMaximized);
  loaded = cfgLoadPlacement("None", fresh, false, nullptr, wsNormal, screen);
  EXPECT_TRUE(loaded.SetState);
  EXPECT_EQ(loaded.State, wsNormal);
  cfgWriteString("Odd", "State", "2");
  cfgWriteString("Odd", "Width", "-40");
  cfgWriteString("Odd", "Height", "x");
  loaded = cfgLoadPlacement("Odd", fresh, false, nullptr, wsNormal, screen);
  EXPECT_FALSE(loaded.SetState);
  EXPECT_EQ(loaded.Bounds, Bounds(0, 0, 300, 50));
  // Beyond what a window can be: held as read, then fitted.
  WriteFile("[Big]\r\nLeft=360\r\nTop=-2147483648\r\nWidth=2147483647\r\nHeight=1\r\n");
  fresh.MinSize = {64, 48};
  EXPECT_EQ(cfgLoadPlacement("Big", fresh, false, nullptr, wsNormal, screen).Bounds, Bounds(0, 0, 1920, 48));
}

}  // namespace
