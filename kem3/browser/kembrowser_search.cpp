// The search page's criteria text and the handler's fields for the searcher.
#include "kem3/browser/kembrowser_search.h"

#include "kem3/unicode/ucwidestrings.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {
const char16_t* const kComparisons[bcCount] = {u"=", u"==", u"!=", u"<", u"<=", u">", u">="};

// The searcher splits tokens at ";" and finds the first operator anywhere in
// a token: none of these may stand in a key or value.
bool Plain(std::u16string_view Text) { return Text.find_first_of(u";<>=") == std::u16string_view::npos; }

// Keys compare as the searcher has them: upper case.
String KeyOf(const String& Key) { return WideToUtf8(WideUpperCase(Utf8ToWide(Trim(Key)))); }
}  // namespace

WideString BrowserCriteriaText(const std::vector<TBrowserCriterionRow>& Rows) {
  WideString text;
  for (const TBrowserCriterionRow& row : Rows) {
    const WideString key = Utf8ToWide(Trim(row.Key));
    const WideString value = Trim(row.Value);
    if (key.empty() || value.empty() || row.Comparison < 0 || row.Comparison >= bcCount) continue;
    if (!Plain(key) || !Plain(value) || key.find(u'!') != WideString::npos) continue;
    if (!text.empty()) text += u';';
    text += key + kComparisons[row.Comparison] + value;
  }
  return text;
}

TBrowserHandlerFields::TBrowserHandlerFields(std::vector<String> Keys, TValues Values)
    : FKeys(std::move(Keys)), FValues(std::move(Values)) {
  for (String& key : FKeys) key = KeyOf(key);
}

TBrowserHandlerFields::~TBrowserHandlerFields() = default;

bool TBrowserHandlerFields::Open(const WideString& Path) {
  FOpen.clear();
  TUcStringList values;
  try {
    if (FValues) FValues(WideToUtf8(Path), values);
  } catch (...) {
    return false;
  }
  for (int i = 0; i < values.Count(); ++i) FOpen.push_back(values.Strings(i));
  return true;
}

WideString TBrowserHandlerFields::Field(const String& Key) {
  const String key = KeyOf(Key);
  for (size_t i = 0; i < FKeys.size() && i < FOpen.size(); ++i)
    if (FKeys[i] == key) return FOpen[i];
  return WideString();
}

void TBrowserHandlerFields::Close() { FOpen.clear(); }
