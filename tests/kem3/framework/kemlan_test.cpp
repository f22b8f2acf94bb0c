// The language manager: scanning and sorting, selection (and what it does not
// reload), lookups by index and name, fonts, listeners, and the process-wide
// manager with its settings and the lookups it gives the controls.
#include "kem3/framework/kemlan.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "kem3/controls/kemlout.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemcolornames.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlantext.h"
#include "kemlan_test_support.h"
#include "platform/exception_handler.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "support/temp_dir.h"

namespace {

using namespace lantest;

class LanguageManagerTest : public testing::Test {
 protected:
  void SetUp() override { ResetColorNames(); }
  void TearDown() override { ResetColorNames(); }

  // Writes a tagged-block language file into the folder.
  void Add(const String& File, const String& Code, const String& Name, const String& Entries, double Scale = 1.0) {
    TLanCatalogue catalogue = Catalogue(Code, Name, Entries);
    catalogue.Scale = Scale;
    WriteFile(Dir.file(File), Lan3Bytes(catalogue));
  }
  void Scan() { Manager.Scan(Dir.path().string(), "ov3"); }
  std::vector<WideString> Names() const {
    std::vector<WideString> names;
    for (int i = 0; i < Manager.LanguageCount(); ++i) names.push_back(Manager.Language(i)->DisplayName);
    return names;
  }

  TempDir Dir;
  TLanguageManager Manager;
};

TEST_F(LanguageManagerTest, ScanKeepsValidFilesOfTheProgramSortedByDisplayName) {
  Add("ov3english.lan", "GB", "English", "0 A = a\n");
  Add("ov3deutsch.lan", "DE", "deutsch", "0 A = b\n");
  Add("ov3zulu.lan", "ZU", "Afrikaans", "0 A = c\n");
  Add("other.lan", "XX", "Another program's", "");
  // Damaged past a valid magic: the header promises blocks the file lacks.
  WriteFile(Dir.file("ov3broken.lan"), Lan3Bytes(Catalogue("XX", "Broken", "")).substr(0, 40));
  WriteFile(Dir.file("ov3notes.lan"), "just text");
  Scan();
  EXPECT_EQ(Names(), (std::vector<WideString>{u"Afrikaans", u"deutsch", u"English"}));
  EXPECT_EQ(Manager.CurrentLanguageIndex(), -1);
  EXPECT_EQ(Manager.IndexOfCode("de"), 1);
  EXPECT_EQ(Manager.IndexOfName(u"ENGLISH"), 2);
}

TEST_F(LanguageManagerTest, SelectionLoadsTextsAndBindsNames) {
  Add("ov3a.lan", "US", "English", "0 Ok = OK\n1 ;note = comment\n2 Cancel = Cancel\n4 ok2 = x\n");
  Scan();
  EXPECT_EQ(Manager.FindTextIndex("Ok"), -1);  // nothing selected yet
  ASSERT_TRUE(Manager.SelectLanguage(0));
  EXPECT_EQ(Manager.CurrentLanguageIndex(), 0);
  EXPECT_EQ(Manager.TextCount(), 5);
  EXPECT_EQ(Manager.FindTextIndex("ok"), 0);
  EXPECT_EQ(Manager.FindTextIndex("CANCEL"), 2);
  EXPECT_EQ(Manager.FindTextIndex(";note"), -1);
  EXPECT_EQ(Manager.FindTextIndex("Missing"), -1);
  EXPECT_EQ(Manager.Translate("cancel", u"?"), u"Cancel");
  EXPECT_EQ(Manager.Translate("Missing", u"?"), u"?");
  EXPECT_EQ(Manager.TranslateIndex(1, u"?"), u"comment");
  EXPECT_EQ(Manager.TranslateIndex(3, u"?"), u"");
  EXPECT_EQ(Manager.TranslateIndex(5, u"?"), u"?");
  EXPECT_EQ(Manager.TranslateIndex(-1, u"?"), u"?");
}

TEST_F(LanguageManagerTest, WithoutAnyLanguageNamesAreNotFoundAtAll) {
  Scan();
  EXPECT_EQ(Manager.FindTextIndex("Ok"), -2);
  EXPECT_EQ(Manager.Translate("Ok", u"default"), u"default");
  EXPECT_FALSE(Manager.SelectLanguage(0));
}

TEST_F(LanguageManagerTest, TheFirstOfTwoEqualNamesIsBound) {
  TLanCatalogue catalogue = Catalogue("US", "English", "0 - = first\n1 - = second\n");
  catalogue.Modules[0].Names = {"Same", "SAME"};
  Manager.AddLanguage(Open(Lan3Bytes(catalogue)));
  ASSERT_TRUE(Manager.SelectLanguage(0));
  EXPECT_EQ(Manager.FindTextIndex("same"), 0);
}

TEST_F(LanguageManagerTest, SelectingTheSelectedLanguageAgainDoesNotReload) {
  Add("ov3a.lan", "US", "English", "0 A = old\n@module Clock\n0 A = clock\n");
  Scan();
  ASSERT_TRUE(Manager.SelectLanguage(0));
  Add("ov3a.lan", "US", "English", "0 A = new\n@module Clock\n0 A = new clock\n");
  EXPECT_FALSE(Manager.SelectLanguage(0));
  EXPECT_EQ(Manager.TranslateIndex(0, u""), u"old");
  // With a module name it reads again.
  EXPECT_TRUE(Manager.SelectLanguage(0, "Clock"));
  EXPECT_EQ(Manager.TranslateIndex(0, u""), u"new clock");
}

TEST_F(LanguageManagerTest, AnIndexOutOfRangeSelectsEnglish) {
  Add("ov3a.lan", "DE", "Deutsch", "0 A = Hallo\n");
  Add("ov3b.lan", "GB", "English", "0 A = Hello\n");
  Scan();
  ASSERT_TRUE(Manager.SelectLanguage(0));
  EXPECT_TRUE(Manager.SelectLanguage(7));
  EXPECT_EQ(Manager.CurrentLanguageIndex(), 1);
  EXPECT_TRUE(Manager.SelectLanguageByCode("de"));
  EXPECT_TRUE(Manager.SelectLanguage(-1));
  EXPECT_EQ(Manager.TranslateIndex(0, u""), u"Hello");
  EXPECT_FALSE(Manager.SelectLanguageByCode("FR"));
  EXPECT_FALSE(Manager.SelectLanguageByName(u"Fran\u00e7ais"));
}

TEST_F(LanguageManagerTest, AFileGoneSinceTheScanGivesDefaultTexts) {
  Add("ov3a.lan", "US", "English", "0 A = a\n");
  Scan();
  std::filesystem::remove(Dir.path() / "ov3a.lan");
  EXPECT_TRUE(Manager.SelectLanguage(0));
  EXPECT_EQ(Manager.Translate("A", u"default"), u"default");
}

TEST_F(LanguageManagerTest, FontsAndTheScaleOfTheSelectedLanguage) {
  EXPECT_EQ(Manager.CurrentFontName(0), "Tahoma");
  EXPECT_EQ(Manager.CurrentFontSize(0), 8);
  EXPECT_EQ(Manager.ScaleFontSize(8), 8);
  Add("ov3a.lan", "DE", "Deutsch", "@font Arial 9\n", 1.25);
  Add("ov3b.lan", "XX", "Other", "", 1.3125);
  Scan();
  ASSERT_TRUE(Manager.SelectLanguage(0));
  EXPECT_EQ(Manager.CurrentFontScale(), 1.25);
  EXPECT_EQ(Manager.CurrentFontName(0), "Arial");
  EXPECT_EQ(Manager.CurrentFontSize(0), 9);
  EXPECT_EQ(Manager.CurrentFontName(1), "Tahoma");
  EXPECT_EQ(Manager.CurrentFontSize(1), 8);
  EXPECT_EQ(Manager.ScaleFontSize(8), 10);
  EXPECT_EQ(Manager.ScaleFontSize(10), 12);  // 12.5: halves go to the even neighbour
  ASSERT_TRUE(Manager.SelectLanguage(1));
  EXPECT_EQ(Manager.ScaleFontSize(8), 10);  // 10.5
  EXPECT_EQ(Manager.FontName(5, 0), "Tahoma");
  EXPECT_EQ(Manager.FontSize(5, 0), 8);
}

TEST_F(LanguageManagerTest, ColourNamesFollowTheSelectedLanguage) {
  Add("ov3a.lan", "DE", "Deutsch",
      "0 ColorNames = Schwarz|Kastanie\n1 ColorNamesExt1 = ||Grau 60%\n2 ColorNamesExt5 = Braun 1\n");
  Scan();
  ASSERT_TRUE(Manager.SelectLanguage(0));
  EXPECT_EQ(ColorName(0), u"Schwarz");
  EXPECT_EQ(ColorName(1), u"Kastanie");
  EXPECT_EQ(ColorName(2), u"Green");
  EXPECT_EQ(ColorName(18), u"Grau 60%");
  EXPECT_EQ(ColorName(40), u"Blue 1");  // no ColorNamesExt3: the names stay
  EXPECT_EQ(ColorName(72), u"Braun 1");
}

TEST_F(LanguageManagerTest, ListenersHearEveryChangeInOrderEvenWhenOneFails) {
  Add("ov3a.lan", "DE", "Deutsch", "");
  Add("ov3b.lan", "US", "English", "");
  Scan();
  std::vector<String> heard;
  int second = 0;
  Manager.RegisterListener([&] { heard.push_back("first"); });
  second = Manager.RegisterListener([&] {
    heard.push_back("second");
    throw Exception("broken form");
  });
  const int third = Manager.RegisterListener([&] { heard.push_back("third"); });

  std::vector<String> reported;
  TExceptionHandler previous = SetExceptionHandler([&](TObject*, std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const Exception& e) {
      reported.push_back(e.Message);
    }
  });
  EXPECT_TRUE(Manager.SelectLanguage(0));
  SetExceptionHandler(previous);
  EXPECT_EQ(heard, (std::vector<String>{"first", "second", "third"}));
  EXPECT_EQ(reported, std::vector<String>{"broken form"});

  // Without a handler the first error comes out once everyone was told.
  heard.clear();
  EXPECT_THROW(Manager.SelectLanguage(1), Exception);
  EXPECT_EQ(heard, (std::vector<String>{"first", "second", "third"}));

  Manager.UnregisterListener(second);
  Manager.UnregisterListener(third);
  heard.clear();
  EXPECT_TRUE(Manager.SelectLanguage(0));
  EXPECT_EQ(heard, std::vector<String>{"first"});
}

TEST_F(LanguageManagerTest, AListenerMayUnregisterAnotherThatIsStillToCome) {
  Add("ov3a.lan", "US", "English", "");
  Scan();
  int later = 0;
  bool laterCalled = false;
  Manager.RegisterListener([&] { Manager.UnregisterListener(later); });
  later = Manager.RegisterListener([&] { laterCalled = true; });
  EXPECT_TRUE(Manager.SelectLanguage(0));
  EXPECT_FALSE(laterCalled);
}

TEST_F(LanguageManagerTest, OldFormatFilesTakePartLikeTheOthers) {
  WriteFile(Dir.file("ov3old.lan"),
            Lan2Bytes(Catalogue("NL", "Nederlands", "0 Yes = Ja\n"), lan2::kNamesLzss | lan2::kTextsXor));
  Add("ov3b.lan", "US", "English", "0 Yes = Yes\n");
  Scan();
  ASSERT_TRUE(Manager.SelectLanguageByCode("NL"));
  EXPECT_EQ(Manager.Translate("yes", u""), u"Ja");
}

// ---- The process-wide manager, with its folder beside the program

class ProcessLanguages : public testing::Test {
 protected:
  void SetUp() override {
    ResetColorNames();
    std::filesystem::create_directories(Dir.path() / "Language");
    SetProgramFileName(Dir.file("ov3.exe"));
  }
  void TearDown() override {
    DoneLanguages(false);
    SetProgramFileName("");
    ResetColorNames();
  }
  void Add(const String& File, const String& Code, const String& Name, const String& Entries) {
    WriteFile(Dir.file("Language/" + File), Lan3Bytes(Catalogue(Code, Name, Entries)));
  }
  String Ini(const String& Section, const String& Key) {
    FreeIniFile();
    TIniFile ini(Dir.file("ov3.ini"));
    return ini.ReadString(Section, Key, "<missing>");
  }

  TempDir Dir;
};

TEST_F(ProcessLanguages, EnglishIsChosenWhenNoStoredCodeMatches) {
  Add("ov3a.lan", "AA", "Aardvark", "0 Ok = Aa\n");
  Add("ov3b.lan", "GB", "English", "0 Ok = OK\n");
  InitLanguages();
  EXPECT_EQ(LanguageCount(), 2);
  EXPECT_EQ(LanguageDisplayName(0), u"Aardvark");
  EXPECT_EQ(LanguageDisplayName(1), u"English");
  EXPECT_EQ(CurrentLanguageIndex(), 1);
  EXPECT_EQ(LanguageCode(5), "");
  EXPECT_EQ(LanguageFlag(5), nullptr);
  EXPECT_NE(LanguageFlag(0), nullptr);
}

TEST_F(ProcessLanguages, TheStoredCodeIsSelectedAndWrittenBack) {
  WriteFile(Dir.file("ov3.ini"), "[Language]\r\nCurrent=aa\r\n");
  Add("ov3a.lan", "AA", "Aardvark", "0 Ok = Aa\n");
  Add("ov3b.lan", "US", "English", "0 Ok = OK\n");
  InitLanguages();
  EXPECT_EQ(CurrentLanguageIndex(), 0);
  EXPECT_EQ(Translate("ok", u""), u"Aa");
  ASSERT_TRUE(SelectLanguageByName(u"english"));
  SaveLanguageSelection("Language", "Current");
  EXPECT_EQ(Ini("Language", "Current"), "US");
}

TEST_F(ProcessLanguages, ControlsAndSettingsGetTheirTextsFromTheSelectedLanguage) {
  Add("ov3b.lan", "US", "English", "0 Button_Ok = &OK\n1 - = Page\n2 Methods = Slide|Jump\n");
  EXPECT_EQ(LanguageTextIndex("Button_Ok"), -2);
  InitLanguages();
  EXPECT_EQ(LanguageTextIndex("Button_Ok"), 0);
  EXPECT_EQ(LanguageText(0, u"?"), u"&OK");
  EXPECT_EQ(LanguageText(9, u"?"), u"?");
  ASSERT_TRUE(cfgTranslateHook);
  EXPECT_EQ(cfgTranslateHook("1"), u"Page");
  EXPECT_EQ(cfgTranslateHook("methods"), u"Slide|Jump");
  EXPECT_EQ(cfgTranslateHook("Unknown"), u"");
  ASSERT_TRUE(cfgLanguageSaver);

  DoneLanguages(true);
  EXPECT_EQ(LanguageTextIndex("Button_Ok"), -2);
  EXPECT_EQ(LanguageText(0, u"?"), u"?");
  EXPECT_FALSE(cfgTranslateHook);
  EXPECT_EQ(Ini("Language", "Current"), "US");
}

TEST_F(ProcessLanguages, TextStylesOnLanguageFontsFollowTheSelection) {
  Add("ov3a.lan", "AA", "Aardvark", "@font Verdana 9\n@font Courier 10\n");
  Add("ov3b.lan", "US", "English", "@font Tahoma 8\n");
  ClearTextStyles();
  TKemTextStyle* style = AddTextStyle("lan", "kemlanfont:1", 11, clBlack, kaLeft, TRect{});
  InitLanguages();
  EXPECT_EQ(style->Font.Name(), "Tahoma");  // English has no font 1
  ASSERT_TRUE(SelectLanguageByName(u"Aardvark"));
  EXPECT_EQ(style->Font.Name(), "Courier");
  EXPECT_EQ(style->Font.Size(), 11);
  ClearTextStyles();
}

TEST_F(ProcessLanguages, AnEmptyFolderLeavesEveryTextItsDefault) {
  InitLanguages();
  EXPECT_EQ(LanguageCount(), 0);
  EXPECT_EQ(CurrentLanguageIndex(), -1);
  EXPECT_EQ(FindTextIndex("x"), -2);
  EXPECT_EQ(TranslateIndex(0, u"d"), u"d");
  EXPECT_EQ(CurrentLanguageFontScale(), 1.0);
  DoneLanguages(true);
  EXPECT_EQ(Ini("Language", "Current"), "<missing>");
}

}  // namespace
