// The process-wide language manager and the lookups it puts in place for the
// controls and the configuration database.
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemlantext.h"
#include "kem3/framework/kemutil.h"
#include "platform/inifile.h"
#include "platform/sysutils.h"

namespace {

TLanguageManager& Manager() {
  static TLanguageManager manager;
  return manager;
}

// Names made of digits stand for text indexes in the settings table.
WideString TranslateSettingName(const String& Name) {
  if (IsDigits(Name)) return Manager().TranslateIndex(StrToIntDef(Name, -1), WideString());
  return Manager().Translate(Name, WideString());
}

void InstallLookups() {
  SetLanguageTextHooks({
      [](int Index, const WideString& Default) { return Manager().TranslateIndex(Index, Default); },
      [](const String& Name) { return Manager().FindTextIndex(Name); },
  });
  cfgTranslateHook = TranslateSettingName;
  // The value lists' display texts come from the language.
  cfgRefreshValueLists();
  // Text styles on language fonts take the new language's face and scale.
  LanguageFontsChanged();
}

}  // namespace

TLanguageManager& LanguageManager() { return Manager(); }

void InitLanguages() {
  TLanguageManager& manager = Manager();
  manager.Clear();
  manager.OnSelected = InstallLookups;
  manager.Scan(GetExeDir() + "Language" + PathDelim, GetExeBaseName());
  if (!manager.SelectLanguageByName(u"English")) manager.SelectLanguage(0);
  LoadLanguageSelection("Language", "Current");
  cfgLanguageSaver = SaveLanguageSelection;
}

void DoneLanguages(bool SaveSelection) {
  if (SaveSelection) SaveLanguageSelection("Language", "Current");
  Manager().Clear();
  Manager().OnSelected = nullptr;
  SetLanguageTextHooks({});
  cfgTranslateHook = nullptr;
  cfgLanguageSaver = nullptr;
}

bool SelectLanguage(int Index, const String& Module) { return Manager().SelectLanguage(Index, Module); }
bool SelectLanguageByName(const WideString& DisplayName, const String& Module) {
  return Manager().SelectLanguageByName(DisplayName, Module);
}
bool SelectLanguageByCode(const String& Code, const String& Module) {
  return Manager().SelectLanguageByCode(Code, Module);
}
int CurrentLanguageIndex() { return Manager().CurrentLanguageIndex(); }
int LanguageCount() { return Manager().LanguageCount(); }

WideString LanguageDisplayName(int Index) {
  const TLanguage* language = Manager().Language(Index);
  return language ? language->DisplayName : WideString();
}
WideString LanguageCredits(int Index) {
  const TLanguage* language = Manager().Language(Index);
  return language ? language->Credits : WideString();
}
String LanguageCode(int Index) {
  const TLanguage* language = Manager().Language(Index);
  return language ? language->Code : String();
}
TBitmap* LanguageFlag(int Index) {
  TLanguage* language = Manager().Language(Index);
  return language ? &language->Flag : nullptr;
}
TBitmap* LanguageFlagSelected(int Index) {
  TLanguage* language = Manager().Language(Index);
  return language ? &language->FlagSelected : nullptr;
}

String LanguageFontName(int Index, int K) { return Manager().FontName(Index, K); }
int LanguageFontSize(int Index, int K) { return Manager().FontSize(Index, K); }
String CurrentLanguageFontName(int K) { return Manager().CurrentFontName(K); }
int CurrentLanguageFontSize(int K) { return Manager().CurrentFontSize(K); }
double CurrentLanguageFontScale() { return Manager().CurrentFontScale(); }
int ScaleLanguageFontSize(int DesignSize) { return Manager().ScaleFontSize(DesignSize); }

WideString TranslateIndex(int Index, const WideString& Default) { return Manager().TranslateIndex(Index, Default); }
WideString Translate(const String& Name, const WideString& Default) { return Manager().Translate(Name, Default); }
int FindTextIndex(const String& Name) { return Manager().FindTextIndex(Name); }

int RegisterLanguageListener(std::function<void()> Listener) { return Manager().RegisterListener(std::move(Listener)); }
void UnregisterLanguageListener(int Id) { Manager().UnregisterListener(Id); }

void LoadLanguageSelection(const String& Section, const String& Key) {
  if (Manager().LanguageCount() == 0) return;
  String code;
  try {
    code = GetIniFile()->ReadString(Section, Key, "US");
  } catch (const Exception&) {
    return;
  }
  Manager().SelectLanguageByCode(code);
}

void SaveLanguageSelection(const String& Section, const String& Key) {
  const TLanguage* language = Manager().CurrentLanguage();
  if (!language) return;
  try {
    GetIniFile()->WriteString(Section, Key, language->Code);
  } catch (const Exception&) {
  }
}
