// The browser's search page without windows: the criteria text its rows make
// for the file searcher, and the preview handler's fields as the searcher
// reads them.
#pragma once
#include <functional>
#include <vector>

#include "kem3/browser/kembrwork.h"

class TUcStrings;

// The comparisons a criterion row offers, in the order of its list.
enum TBrowserComparison : int { bcMatches, bcEqual, bcNotEqual, bcLess, bcAtMost, bcGreater, bcAtLeast, bcCount };

// One row of the page: the field's key, the comparison and the value typed.
struct TBrowserCriterionRow {
  String Key;
  int Comparison = bcMatches;
  WideString Value;
};

// The searcher's ";"-separated criteria ("KEY<=VALUE"). A row without a key
// or value is left out, and so is one whose key or value holds a character
// the searcher would read as a separator or an operator.
WideString BrowserCriteriaText(const std::vector<TBrowserCriterionRow>& Rows);

// A handler's fields by key: its keys, read on the GUI thread, and its
// values (GetFieldValues), read on the searcher's thread once per file.
class TBrowserHandlerFields : public TBrowseFieldReader {
 public:
  using TValues = std::function<void(const String& FileName, TUcStrings& Values)>;
  TBrowserHandlerFields(std::vector<String> Keys, TValues Values);
  ~TBrowserHandlerFields() override;
  // False when the handler raises.
  bool Open(const WideString& Path) override;
  // The value of the field whose key equals Key, regardless of case; empty
  // for a key the handler does not have or gave no value for.
  WideString Field(const String& Key) override;
  void Close() override;

 private:
  std::vector<String> FKeys;
  TValues FValues;
  std::vector<WideString> FOpen;
};
