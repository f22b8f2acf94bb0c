// The language manager: the list of languages, the selected one's texts and
// name bindings, and the listeners told of a change.
#include "kem3/framework/kemlan.h"

#include <algorithm>
#include <exception>
#include <limits>

#include "kem3/framework/kemcolornames.h"
#include "kem3/framework/kemsysinfo.h"
#include "platform/exception_handler.h"
#include "platform/mathutils.h"
#include "platform/sysutils.h"

namespace {

constexpr const char* kDefaultFontName = "Tahoma";
constexpr int kDefaultFontSize = 8;

}  // namespace

TLanguageManager::TLanguageManager() = default;
TLanguageManager::~TLanguageManager() = default;

void TLanguageManager::Scan(const String& Folder, const String& Prefix) {
  const String folder = Folder.empty() ? Folder : IncludeTrailingPathDelimiter(Folder);
  std::vector<String> names;
  EnumFolderEntries(folder, Prefix + "*.lan", [&names](const String& name, bool isFolder) {
    if (!isFolder) names.push_back(name);
    return true;
  });
  // Listings come in the system's order; sorted first, languages with equal
  // display names keep one order everywhere.
  std::sort(names.begin(), names.end(), [](const String& a, const String& b) { return CompareText(a, b) < 0; });
  for (const String& name : names)
    if (auto language = OpenLanguageFile(folder + name)) FLanguages.push_back(std::move(language));
  Sort();
}

void TLanguageManager::AddLanguage(std::unique_ptr<TLanguage> Language) {
  if (!Language) return;
  FLanguages.push_back(std::move(Language));
  Sort();
}

void TLanguageManager::Sort() {
  TLanguage* current = CurrentLanguage();
  std::stable_sort(FLanguages.begin(), FLanguages.end(),
                   [](const auto& a, const auto& b) { return WideCompareText(a->DisplayName, b->DisplayName) < 0; });
  FCurrent = -1;
  for (int i = 0; i < LanguageCount(); ++i)
    if (FLanguages[i].get() == current) FCurrent = i;
}

void TLanguageManager::Clear() {
  FLanguages.clear();
  FTexts.Clear();
  FBindings.clear();
  FCurrent = -1;
}

TLanguage* TLanguageManager::Language(int Index) const {
  return Index >= 0 && Index < LanguageCount() ? FLanguages[Index].get() : nullptr;
}

int TLanguageManager::IndexOfName(const WideString& DisplayName) const {
  for (int i = 0; i < LanguageCount(); ++i)
    if (WideSameText(FLanguages[i]->DisplayName, DisplayName)) return i;
  return -1;
}

int TLanguageManager::IndexOfCode(const String& Code) const {
  for (int i = 0; i < LanguageCount(); ++i)
    if (AnsiSameText(FLanguages[i]->Code, Code)) return i;
  return -1;
}

bool TLanguageManager::SelectLanguage(int Index, const String& Module) {
  if (!Language(Index)) {
    const int english = IndexOfName(u"English");
    if (english < 0) return false;
    Index = english;
  }
  if (Index == FCurrent && Module.empty()) return false;

  TLanguageTexts texts;
  try {
    FLanguages[Index]->LoadTexts(Module, texts);
  } catch (const Exception&) {
    // A file damaged or gone since the scan: its texts are the defaults.
    texts = {};
  }
  FTexts.Clear();
  FTexts.SetCapacity(static_cast<int>(texts.Texts.size()));
  for (const WideString& text : texts.Texts) FTexts.Add(text);
  FBindings.clear();
  for (size_t i = 0; i < texts.Names.size(); ++i) {
    const String& name = texts.Names[i];
    // Names with ";" mark comment lines of the language's authors.
    if (name.empty() || name.find(';') != String::npos) continue;
    FBindings.try_emplace(AnsiUpperCase(name), static_cast<int>(i));
  }
  FCurrent = Index;

  RefreshColorNames([this](const String& name) -> std::optional<WideString> {
    const int index = FindTextIndex(name);
    if (index < 0 || index >= TextCount()) return std::nullopt;
    return FTexts.Get(index);
  });
  if (OnSelected) OnSelected();
  Notify();
  return true;
}

bool TLanguageManager::SelectLanguageByName(const WideString& DisplayName, const String& Module) {
  const int index = IndexOfName(DisplayName);
  return index >= 0 && SelectLanguage(index, Module);
}

bool TLanguageManager::SelectLanguageByCode(const String& Code, const String& Module) {
  const int index = IndexOfCode(Code);
  return index >= 0 && SelectLanguage(index, Module);
}

WideString TLanguageManager::TranslateIndex(int Index, const WideString& Default) const {
  return Index >= 0 && Index < TextCount() ? FTexts.Get(Index) : Default;
}

WideString TLanguageManager::Translate(const String& Name, const WideString& Default) const {
  return TranslateIndex(FindTextIndex(Name), Default);
}

int TLanguageManager::FindTextIndex(const String& Name) const {
  if (FLanguages.empty()) return -2;
  const auto found = FBindings.find(AnsiUpperCase(Name));
  return found == FBindings.end() ? -1 : found->second;
}

String TLanguageManager::FontName(int Index, int K) const {
  const TLanguage* language = Language(Index);
  if (!language || K < 0 || K >= static_cast<int>(language->FontNames.size())) return kDefaultFontName;
  return language->FontNames[K];
}

int TLanguageManager::FontSize(int Index, int K) const {
  const TLanguage* language = Language(Index);
  if (!language || K < 0 || K >= static_cast<int>(language->FontSizes.size())) return kDefaultFontSize;
  return language->FontSizes[K];
}

double TLanguageManager::CurrentFontScale() const {
  const TLanguage* language = CurrentLanguage();
  return language ? language->FontScale : 1.0;
}

int TLanguageManager::ScaleFontSize(int DesignSize) const {
  const std::int64_t size = Round(DesignSize * CurrentFontScale());
  return static_cast<int>(
      std::clamp<std::int64_t>(size, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int TLanguageManager::RegisterListener(TListener Listener) {
  const int id = FNextListenerId++;
  FListeners.emplace_back(id, std::move(Listener));
  return id;
}

void TLanguageManager::UnregisterListener(int Id) {
  std::erase_if(FListeners, [Id](const auto& entry) { return entry.first == Id; });
}

void TLanguageManager::Notify() {
  // A copy: listeners may come and go while they are told.
  const auto listeners = FListeners;
  std::exception_ptr first;
  for (const auto& told : listeners) {
    const int id = told.first;
    const bool stillThere =
        std::any_of(FListeners.begin(), FListeners.end(), [id](const auto& entry) { return entry.first == id; });
    if (!stillThere || !told.second) continue;
    try {
      told.second();
    } catch (...) {
      try {
        HandleEventException(nullptr, std::current_exception());
      } catch (...) {
        if (!first) first = std::current_exception();
      }
    }
  }
  if (first) std::rethrow_exception(first);
}
