// The browser's file search: a folder tree by name patterns and field criteria.
#include "kem3/browser/kembrwork.h"
#include "kem3/framework/kemutil.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {
std::vector<String> SplitTokens(const String& text) {
  std::vector<String> tokens;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t cut = std::min(text.find(';', start), text.size());
    const String token = Trim(std::string_view(text).substr(start, cut - start));
    if (!token.empty()) tokens.push_back(token);
    start = cut + 1;
  }
  return tokens;
}

const char* const kOperators[] = {"==", "!=", "<=", ">=", "<", ">", "="};
enum { opEqual, opNotEqual, opAtMost, opAtLeast, opLess, opGreater, opMatch };
}  // namespace

TtFileSearcher::TtFileSearcher(TReference& Reference, TBrowserListSink& Sink, TBrowserSystem& System,
                               TBrowserSearchSink& SearchSink)
    : TtBackProcess(Reference, Sink, System), FSearchSink(SearchSink) {}

void TtFileSearcher::DoWork() {
  WideString folder = Utf8ToWide(Trim(WideToUtf8(Folder)));
  if (folder.empty()) return;
  if (folder.back() != u'\\') folder += u'\\';
  FPatterns = SplitTokens(WideToUtf8(WideUpperCase(Mask)));
  for (const String& token : SplitTokens(WideToUtf8(WideUpperCase(Criteria)))) {
    for (int op = opEqual; op <= opMatch; ++op) {
      const size_t at = token.find(kOperators[op]);
      if (at == String::npos) continue;
      TCriterion c;
      c.Key = Trim(std::string_view(token).substr(0, at));
      c.Op = op;
      c.Value = Trim(std::string_view(token).substr(at + std::char_traits<char>::length(kOperators[op])));
      if (op != opMatch) c.Number = BrowseCriterionValue(c.Value, DateOrder);
      FCriteria.push_back(c);
      break;
    }
  }
  if (FCriteria.empty() || !Reader) UseCriteria = false;
  Search(folder);
}

void TtFileSearcher::Search(const WideString& Path) {
  if (Cancelled() || Terminated()) return;
  SyncBatched([this, Path, count = static_cast<int>(FFound.size())] {
    FSearchSink.SearchPosition(Path);
    FSearchSink.SearchFound(count);
  });
  std::vector<WideString> folders;
  System.ListFolder(Path, [&](const TBrowseFindData& found) {
    if (Cancelled() || Terminated()) return false;
    if (found.Attributes & kFaDirectory) {
      // A junction or link may lead back up the tree.
      if (Recurse && !(found.Attributes & kFaReparsePoint) && found.Name != u"." && found.Name != u"..")
        folders.push_back(Path + found.Name + u"\\");
      return true;
    }
    if ((found.Attributes & kFaHidden) && !Hidden) return true;
    if ((found.Attributes & kFaReadOnly) && !ReadOnly) return true;
    const String name = WideToUtf8(WideUpperCase(found.Name));
    bool matches = false;
    for (const String& pattern : FPatterns) matches = matches || MatchWildcard(name, pattern);
    if (!matches || (UseCriteria && !Passes(Path + found.Name))) return true;
    FFound.push_back(Path + found.Name);
    SyncBatched([this, count = static_cast<int>(FFound.size())] { FSearchSink.SearchFound(count); });
    return true;
  });
  for (const WideString& folder : folders) Search(folder);
}

bool TtFileSearcher::Passes(const WideString& Path) {
  if (!Reader->Open(Path)) return false;
  bool result = MatchAll;
  for (const TCriterion& c : FCriteria) {
    const String field = WideToUtf8(WideUpperCase(Reader->Field(c.Key)));
    bool holds;
    if (c.Op == opMatch) {
      holds = MatchWildcard(field, c.Value);
    } else {
      const double value = BrowseCriterionValue(field, DateOrder);
      const bool outcomes[] = {value == c.Number, value != c.Number, value <= c.Number, value >= c.Number,
                               value<c.Number, value> c.Number};
      holds = outcomes[c.Op];
    }
    if (holds != MatchAll) {
      result = !MatchAll;
      break;
    }
  }
  Reader->Close();
  return result;
}

void TtFileSearcher::EndWork() {
  FSearchSink.SearchEnded(FFound);
  TtBackProcess::EndWork();
}
