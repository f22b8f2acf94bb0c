// The browser's file type filter.
#include "kem3/browser/kembrowsefilter.h"

#include "kem3/framework/kemutil.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {
std::u16string_view TrimBlanks(std::u16string_view s) {
  while (!s.empty() && s.front() == u' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
  return s;
}
}  // namespace

bool BrowseFilterMatches(std::u16string_view Name, std::u16string_view Filter) {
  // An extensionless name ends in "." here, which "*." and only such names match.
  String name = WideToUtf8(WideUpperCase(Name));
  if (Name.find(u'.') == std::u16string_view::npos) name += '.';
  while (!Filter.empty()) {
    const size_t cut = Filter.find(u';');
    const std::u16string_view token = TrimBlanks(Filter.substr(0, cut));
    Filter = cut == std::u16string_view::npos ? std::u16string_view() : Filter.substr(cut + 1);
    if (token.empty()) continue;
    if (token == u"*.*" || token == u"*") return true;
    if (MatchWildcard(name, WideToUtf8(WideUpperCase(token)))) return true;
  }
  return false;
}
