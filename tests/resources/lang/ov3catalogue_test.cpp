// Our shipped language files (made by the build from resources/lang/): they
// read, they hold every text the program asks for, and the translations keep
// the indexes, names, choice counts and patterns of the English texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "kem3/controls/kembut_roles.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemcolornames.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "launcher/ov3actions.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3hotkeytext.h"
#include "platform/format.h"
#include "platform/sysutils.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

int Choices(const WideString& Text) { return static_cast<int>(std::count(Text.begin(), Text.end(), u'|')) + 1; }

// The format specifiers of a text in order ("%s", "%d"…), without "%%".
String Specifiers(const WideString& Text) {
  String result;
  for (size_t i = 0; i + 1 < Text.size(); ++i) {
    if (Text[i] != u'%') continue;
    if (Text[i + 1] == u'%') {
      ++i;
      continue;
    }
    result += static_cast<char>(Text[i + 1]);
  }
  return result;
}

class ShippedLanguages : public testing::Test {
 protected:
  void SetUp() override {
    // The files beside the test program, found before the program's name is
    // moved into the temporary folder for the settings.
    Languages.Scan(GetExeDir() + "Language", "ov3");
    SetProgramFileName(Dir.file("ov3.exe"));
    cfgInit();
    DefineSettings(nullptr);
  }
  void TearDown() override {
    cfgDone();
    SetProgramFileName("");
    ResetColorNames();
  }

  // Every text name the program looks up, with the number of "|"-separated
  // choices it expects (0: any).
  std::vector<std::pair<String, int>> AskedNames() const {
    std::vector<std::pair<String, int>> names;
    for (const auto& entry : cfgEntries()) {
      if (const auto* item = dynamic_cast<const TcfgDbItem*>(entry.get())) {
        if (!item->TextName.empty()) names.emplace_back(item->TextName, 0);
        if (!item->ValueListTextName.empty()) names.emplace_back(item->ValueListTextName, item->Values.Count());
      }
    }
    for (int type = atOk; type < atCustom; ++type)
      names.emplace_back(ButtonTextName(static_cast<TActionType>(type), ""), 0);
    for (const TColorNameGroup& group : kColorNameGroups) names.emplace_back(group.TextName, group.Count);
    return names;
  }
  // Every text index the program looks up, with the number of choices (0: any).
  std::vector<std::pair<int, int>> AskedIds() const {
    std::vector<std::pair<int, int>> ids{{kKeyNamesTextId, Choices(Utf8ToWide(kDefaultKeyNamesText))}};
    for (const TOvActionInfo& action : kBarActions) ids.emplace_back(action.LanId, 0);
    for (const auto& entry : cfgEntries())
      if (const auto* group = dynamic_cast<const TcfgDbGroup*>(entry.get()))
        if (IsDigits(group->CaptionTextName)) ids.emplace_back(StrToInt(group->CaptionTextName), 0);
    return ids;
  }

  TLanguageManager Languages;
  TempDir Dir;
  TFakeTimerService Timers;
};

TEST_F(ShippedLanguages, EnglishAndGermanAreFoundWithTheirHeaders) {
  ASSERT_EQ(Languages.LanguageCount(), 2);
  const TLanguage* german = Languages.Language(0);
  const TLanguage* english = Languages.Language(1);
  EXPECT_EQ(german->DisplayName, u"Deutsch");
  EXPECT_EQ(german->Code, "DE");
  EXPECT_EQ(german->FontScale, 1.25);
  EXPECT_EQ(english->DisplayName, u"English");
  EXPECT_EQ(english->Code, "US");
  EXPECT_EQ(english->FontScale, 1.0);
  for (const TLanguage* language : {german, english}) {
    EXPECT_FALSE(language->Credits.empty());
    EXPECT_EQ(language->FontNames, (std::vector<String>{"Tahoma", "Verdana"}));
    EXPECT_EQ(language->Flag.Width(), 20);
    EXPECT_EQ(language->Flag.Height(), 13);
    EXPECT_EQ(language->FlagSelected.Width(), 20);
  }
  ASSERT_TRUE(Languages.SelectLanguageByCode("de"));
  EXPECT_EQ(Languages.ScaleFontSize(8), 10);
}

TEST_F(ShippedLanguages, EveryTextTheProgramAsksForIsThere) {
  for (int index = 0; index < Languages.LanguageCount(); ++index) {
    ASSERT_TRUE(Languages.SelectLanguage(index));
    const String language = WideToUtf8(Languages.Language(index)->DisplayName);
    for (const auto& [name, choices] : AskedNames()) {
      const int at = Languages.FindTextIndex(name);
      ASSERT_GE(at, 0) << language << " lacks the text named " << name;
      const WideString text = Languages.TranslateIndex(at, u"");
      EXPECT_FALSE(text.empty()) << language << ": " << name;
      if (choices) {
        EXPECT_EQ(Choices(text), choices) << language << ": " << name;
      }
    }
    for (const auto& [id, choices] : AskedIds()) {
      const WideString text = Languages.TranslateIndex(id, u"");
      EXPECT_NE(text, u"") << language << " lacks text " << id;
      if (choices) {
        EXPECT_EQ(Choices(text), choices) << language << ": " << id;
      }
    }
  }
}

TEST_F(ShippedLanguages, TranslationsKeepIndexesNamesAndPatterns) {
  ASSERT_TRUE(Languages.SelectLanguageByName(u"English"));
  std::vector<WideString> english;
  for (int i = 0; i < Languages.TextCount(); ++i) english.push_back(Languages.TranslateIndex(i, u""));
  std::vector<std::pair<String, int>> names;
  for (const auto& [name, choices] : AskedNames()) names.emplace_back(name, Languages.FindTextIndex(name));

  ASSERT_TRUE(Languages.SelectLanguageByName(u"Deutsch"));
  ASSERT_EQ(Languages.TextCount(), static_cast<int>(english.size()));
  for (size_t i = 0; i < english.size(); ++i) {
    const WideString german = Languages.TranslateIndex(static_cast<int>(i), u"");
    EXPECT_EQ(english[i].empty(), german.empty()) << "text " << i;
    EXPECT_EQ(Specifiers(english[i]), Specifiers(german)) << "text " << i;
    if (english[i].find(u'|') != WideString::npos) {
      EXPECT_EQ(Choices(english[i]), Choices(german)) << "text " << i;
    }
  }
  for (const auto& [name, at] : names) EXPECT_EQ(Languages.FindTextIndex(name), at) << name;
}

// Each choice list reads in the order of its stored values, as the bar acts
// on them: the list shows a setting's value under the text that says what it does.
TEST_F(ShippedLanguages, ChoiceTextsFollowTheirStoredValues) {
  const struct {
    int Id;
    const char16_t* English;
    const char16_t* German;
  } kLists[] = {
      {ovsAutoHideMethod, u"Slide|At once", u"Gleitend|Sofort"},
      {ovsWheelScroll, u"Groups|Icons|Nothing", u"Gruppen|Symbole|Nichts"},
      {ovsWheelToggle, u"Ctrl|Alt|Shift|No key", u"Strg|Alt|Umschalt|Keine Taste"},
      {ovsIconsStretch, u"Always|Only larger pictures|Never", u"Immer|Nur größere Bilder|Nie"},
      {ovsIconsTitle, u"Below the icons|Nowhere|In the hint", u"Unter den Symbolen|Nirgends|Im Hinweis"},
      {ovsIconsComment, u"Nowhere|In the hint", u"Nirgends|Im Hinweis"},
  };
  int lists = 0;
  for (const auto& entry : cfgEntries()) {
    const auto* item = dynamic_cast<const TcfgDbItem*>(entry.get());
    if (!item || item->ValueListTextName.empty()) continue;
    ++lists;
    const auto* list =
        std::find_if(std::begin(kLists), std::end(kLists), [&](const auto& l) { return l.Id == item->Id; });
    ASSERT_NE(list, std::end(kLists)) << "a choice list without its meanings here: " << item->Id;
    for (int value = 0; value < item->Values.Count(); ++value) EXPECT_EQ(item->Values[value], IntToStr(value));
    for (const auto& [language, texts] : {std::pair{u"English", list->English}, std::pair{u"Deutsch", list->German}}) {
      ASSERT_TRUE(Languages.SelectLanguageByName(language));
      EXPECT_EQ(Languages.Translate(item->ValueListTextName, u""), texts) << item->Id;
    }
  }
  EXPECT_EQ(lists, static_cast<int>(std::size(kLists)));
}

TEST_F(ShippedLanguages, PatternsFormatWithWhatTheProgramHandsThem) {
  for (int index = 0; index < Languages.LanguageCount(); ++index) {
    ASSERT_TRUE(Languages.SelectLanguage(index));
    for (int id : {276, 279})
      EXPECT_NE(WideFormatOrError(Languages.TranslateIndex(id, u""), {u"Games"}).find(u"Games"), WideString::npos);
    const WideString items = Languages.Translate("Hint_Mod_RecycleBin_MoreItems", u"");
    EXPECT_NE(WideFormatOrError(items, {static_cast<long long>(12)}).find(u"12"), WideString::npos);
    const WideString on = Languages.Translate("TdBrowser_on", u"");
    EXPECT_NE(WideFormatOrError(on, {u"share", u"server"}).find(u"server"), WideString::npos);
  }
}

}  // namespace
