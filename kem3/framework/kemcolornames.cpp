// The colour name table and its refresh from a language.
#include "kem3/framework/kemcolornames.h"

#include <string_view>

namespace {

using TNames = std::array<WideString, kColorNameCount>;

TNames MakeDefaults() {
  TNames names;
  int i = 0;
  for (const char16_t* name :
       {u"Black",    u"Maroon",   u"Green",    u"Olive",    u"Navy",     u"Purple",   u"Teal",     u"Gray",
        u"Silver",   u"Red",      u"Lime",     u"Yellow",   u"Blue",     u"Fuchsia",  u"Aqua",     u"White",
        u"Gray 80%", u"Gray 70%", u"Gray 60%", u"Gray 40%", u"Gray 30%", u"Gray 20%", u"Gray 10%", u"Blue gray"})
    names[i++] = name;
  // Four groups of eight shades numbered 1 to 8.
  for (const char16_t* family : {u"Red", u"Magenta", u"Blue", u"Turquoise", u"Green", u"Yellow"})
    for (char16_t n = u'1'; n <= u'8'; ++n) names[i++] = WideString(family) + u' ' + n;
  for (const char16_t* family : {u"Brown", u"Orange"})
    for (char16_t n = u'1'; n <= u'4'; ++n) names[i++] = WideString(family) + u' ' + n;
  for (const char16_t* name : {u"Violet", u"Bordeaux", u"Pale red", u"Pale green", u"Pale yellow", u"Pale blue",
                               u"Pale fuchsia", u"Pale aqua"})
    names[i++] = name;
  return names;
}

TNames& Table() {
  static TNames table = DefaultColorNames();
  return table;
}

}  // namespace

const std::array<WideString, kColorNameCount>& DefaultColorNames() {
  static const TNames defaults = MakeDefaults();
  return defaults;
}

const std::array<WideString, kColorNameCount>& ColorNameTable() { return Table(); }

WideString ColorName(int Index) {
  if (Index < 0 || Index >= kColorNameCount) return {};
  return Table()[Index];
}

void ResetColorNames() { Table() = DefaultColorNames(); }

void RefreshColorNames(const TColorTextLookup& Lookup) {
  if (!Lookup) return;
  TNames& table = Table();
  for (const TColorNameGroup& group : kColorNameGroups) {
    std::optional<WideString> text = Lookup(group.TextName);
    if (!text || text->empty()) continue;
    std::u16string_view rest = *text;
    // Names past the group's count are dropped; missing ones keep their names.
    for (int k = 0; k < group.Count; ++k) {
      const size_t bar = rest.find(u'|');
      const std::u16string_view name = rest.substr(0, bar);
      if (!name.empty()) table[group.First + k] = WideString(name);
      if (bar == std::u16string_view::npos) break;
      rest.remove_prefix(bar + 1);
    }
  }
}
