// The language manager: finds the language files beside the program, selects
// one, holds its texts by index and binds text names to indexes, and tells
// whoever registered (forms, controls, the launcher) when the language changed.
//
// TLanguageManager is the whole logic; the program uses one process-wide
// instance through the free functions below (InitLanguages … DoneLanguages),
// which also puts the lookups in place for the controls (kemlantext.h) and the
// configuration database (kemcfg.h). GUI thread only.
#pragma once
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "kem3/framework/kemlanfile.h"
#include "kem3/unicode/unicode_lists.h"
#include "platform/types.h"

class TBitmap;

class TLanguageManager {
 public:
  using TListener = std::function<void()>;

  TLanguageManager();
  ~TLanguageManager();
  TLanguageManager(const TLanguageManager&) = delete;
  TLanguageManager& operator=(const TLanguageManager&) = delete;

  // Adds every valid language file named Prefix + "*.lan" in Folder (files of
  // neither format and damaged ones are skipped) and sorts the list by
  // display name without regard to case.
  void Scan(const String& Folder, const String& Prefix);
  // Adds one language (read from a stream, say) and sorts the list again. The
  // selection follows its language.
  void AddLanguage(std::unique_ptr<TLanguage> Language);
  // Frees languages, texts and bindings; nothing is selected afterwards.
  void Clear();

  int LanguageCount() const { return static_cast<int>(FLanguages.size()); }
  // nullptr out of range.
  TLanguage* Language(int Index) const;
  int CurrentLanguageIndex() const { return FCurrent; }
  TLanguage* CurrentLanguage() const { return Language(FCurrent); }
  // The first language whose display name (code) equals the text without
  // regard to case; -1 when none.
  int IndexOfName(const WideString& DisplayName) const;
  int IndexOfCode(const String& Code) const;

  // Reads the texts of the language at Index (Module "": its first module)
  // and makes it the selected one. An index out of range selects "English"
  // instead. Selecting the selected language again without a module does
  // nothing. False when nothing was loaded. A language whose texts cannot be
  // read is selected with no texts: every text is then its default.
  bool SelectLanguage(int Index, const String& Module = String());
  bool SelectLanguageByName(const WideString& DisplayName, const String& Module = String());
  bool SelectLanguageByCode(const String& Code, const String& Module = String());

  // The text at Index when there is one, else Default.
  WideString TranslateIndex(int Index, const WideString& Default) const;
  WideString Translate(const String& Name, const WideString& Default) const;
  // -2 when no language was found at all; the index bound to the name
  // (without regard to case; the first of equal names); else -1.
  int FindTextIndex(const String& Name) const;
  int TextCount() const { return FTexts.GetCount(); }

  // Font K of a language: name ("Tahoma" when the language or the font is
  // missing) and size (8 then); the selected language's, and its scale (1.0
  // with no language).
  String FontName(int Index, int K) const;
  int FontSize(int Index, int K) const;
  String CurrentFontName(int K) const { return FontName(FCurrent, K); }
  int CurrentFontSize(int K) const { return FontSize(FCurrent, K); }
  double CurrentFontScale() const;
  // A design size in points in the selected language: size x scale, rounded
  // to the nearest with halves to even (8 at 1.25 is 10, at 1.3125 also 10).
  int ScaleFontSize(int DesignSize) const;

  // Called in registration order after every change of language. An
  // exception in one does not keep the others from their turn; it goes to the
  // application's exception handler (without one, the first is raised again
  // once all have run). A listener may unregister itself or others.
  int RegisterListener(TListener Listener);
  void UnregisterListener(int Id);

  // Runs after each selection, before the listeners (the process-wide
  // instance puts its lookups in place here).
  std::function<void()> OnSelected;

 private:
  void Sort();
  void Notify();

  std::vector<std::unique_ptr<TLanguage>> FLanguages;
  // The selected language's texts by index.
  unicode::TWideStringList FTexts;
  // Upper-cased name -> the index it is bound to.
  std::unordered_map<String, int> FBindings;
  int FCurrent = -1;
  std::vector<std::pair<int, TListener>> FListeners;
  int FNextListenerId = 1;
};

// ---- The process-wide manager

// Start-up: scans the folder "Language" beside the program for files named
// like the program (base name + "*.lan"), selects "English" (or the first
// language), then the one stored under [Language] Current of the settings
// file. Puts the text lookups in place for the controls and the configuration
// database, and the saver of the selection for the settings save.
void InitLanguages();
// Shut-down: with SaveSelection, stores the selected code under [Language]
// Current; then frees everything and takes the lookups away.
void DoneLanguages(bool SaveSelection);
TLanguageManager& LanguageManager();

bool SelectLanguage(int Index, const String& Module = String());
bool SelectLanguageByName(const WideString& DisplayName, const String& Module = String());
bool SelectLanguageByCode(const String& Code, const String& Module = String());
int CurrentLanguageIndex();
int LanguageCount();
// Empty when the index names no language.
WideString LanguageDisplayName(int Index);
WideString LanguageCredits(int Index);
String LanguageCode(int Index);
// The flag on the window colour or on the highlight colour; nullptr out of range.
TBitmap* LanguageFlag(int Index);
TBitmap* LanguageFlagSelected(int Index);
// Font K of a language: "Tahoma" and 8 when the language or the font is missing.
String LanguageFontName(int Index, int K);
int LanguageFontSize(int Index, int K);
String CurrentLanguageFontName(int K);
int CurrentLanguageFontSize(int K);
double CurrentLanguageFontScale();
int ScaleLanguageFontSize(int DesignSize);

WideString TranslateIndex(int Index, const WideString& Default);
WideString Translate(const String& Name, const WideString& Default);
int FindTextIndex(const String& Name);

// Forms (and anything else) that re-read their texts when the language
// changes. The id unregisters.
int RegisterLanguageListener(std::function<void()> Listener);
void UnregisterLanguageListener(int Id);

// The code stored in the settings file (default "US") selected by code; does
// nothing without languages or when the settings file cannot be read.
void LoadLanguageSelection(const String& Section, const String& Key);
// Writes the selected code; errors of the write are ignored.
void SaveLanguageSelection(const String& Section, const String& Key);
