// Reading the text catalogues that language files are made from.
#include "kem3/framework/kemlancatalog.h"

#include <set>

#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

[[noreturn]] void Fail(int Line, const String& What) { throw ELanCatalogueError(IntToStr(Line) + ": " + What); }

String Unescape(std::string_view Text, int Line) {
  String out;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] != '\\') {
      out += Text[i];
      continue;
    }
    if (++i == Text.size()) Fail(Line, "a lone \"\\\" ends the text");
    switch (Text[i]) {
      case 'n':
        out += "\r\n";
        break;
      case 't':
        out += '\t';
        break;
      case 's':
        out += ' ';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        Fail(Line, String("unknown escape \"\\") + Text[i] + "\"");
    }
  }
  return out;
}

// Splits off the first blank-delimited word.
std::string_view Word(std::string_view& Rest) {
  const size_t start = Rest.find_first_not_of(" \t");
  if (start == std::string_view::npos) {
    Rest = {};
    return {};
  }
  Rest.remove_prefix(start);
  const size_t end = Rest.find_first_of(" \t");
  const std::string_view word = Rest.substr(0, end);
  Rest.remove_prefix(end == std::string_view::npos ? Rest.size() : end);
  return word;
}

class TParser {
 public:
  TLanCatalogue Result;

  void Line(std::string_view Text, int Number) {
    FLine = Number;
    if (!Text.empty() && Text.back() == '\r') Text.remove_suffix(1);
    const String trimmed = Trim(Text);
    if (trimmed.empty() || trimmed[0] == '#') return;
    if (trimmed[0] == '@') {
      Directive(trimmed);
    } else {
      Entry(Text);
    }
  }

 private:
  void Directive(std::string_view Text) {
    std::string_view rest = Text.substr(1);
    const String key = LowerCase(Word(rest));
    const String value = Trim(rest);
    if (key == "code") {
      if (value.empty() || value.size() > 8) Fail(FLine, "a code has 1 to 8 characters");
      Result.Code = value;
    } else if (key == "name") {
      Result.DisplayName = Unescape(value, FLine);
    } else if (key == "credits") {
      if (!Result.Credits.empty()) Result.Credits += "\r\n";
      Result.Credits += Unescape(value, FLine);
    } else if (key == "font") {
      const size_t blank = value.find_last_of(" \t");
      int size = 0;
      if (blank == String::npos || !TryStrToInt(value.substr(blank + 1), size) || size <= 0)
        Fail(FLine, "\"@font NAME SIZE\" expected");
      Result.Fonts.emplace_back(TrimRight(value.substr(0, blank)), size);
    } else if (key == "scale") {
      if (!TryStrToFloat(value, Result.Scale) || Result.Scale <= 0) Fail(FLine, "a positive scale expected");
    } else if (key == "flag") {
      Result.Flag = value;
    } else if (key == "module") {
      // Texts before it, if any, made the first module already.
      Result.Modules.emplace_back();
      Result.Modules.back().Name = value;
      FNames.clear();
    } else {
      Fail(FLine, "unknown directive \"@" + key + "\"");
    }
  }

  void Entry(std::string_view Text) {
    std::string_view rest = Text;
    const std::string_view indexText = Word(rest);
    int index = -1;
    if (!TryStrToInt(indexText, index) || index < 0 || index > kLanCatalogueMaxIndex)
      Fail(FLine, "a text index from 0 to " + IntToStr(kLanCatalogueMaxIndex) + " expected");
    String name(Word(rest));
    if (name.empty() || name == "=") Fail(FLine, "a name (\"-\" for none) expected after the index");
    if (name == "-") name.clear();
    const size_t equals = rest.find_first_not_of(" \t");
    if (equals == std::string_view::npos || rest[equals] != '=') Fail(FLine, "\"=\" expected after the name");
    rest.remove_prefix(equals + 1);
    if (!rest.empty() && rest[0] == ' ') rest.remove_prefix(1);
    if (!IsValidUtf8(rest) || !IsValidUtf8(name)) Fail(FLine, "the line is not UTF-8");

    if (Result.Modules.empty()) Result.Modules.emplace_back();
    TLanCatalogueModule& module = Result.Modules.back();
    const auto at = static_cast<size_t>(index);
    if (at >= module.Texts.size()) {
      module.Texts.resize(at + 1);
      module.Names.resize(at + 1);
      module.Defined.resize(at + 1);
    }
    if (module.Defined[at]) Fail(FLine, "text " + IntToStr(index) + " is given twice");
    if (!name.empty() && !FNames.insert(AnsiUpperCase(name)).second)
      Fail(FLine, "the name \"" + name + "\" is given twice");
    module.Defined[at] = true;
    module.Names[at] = name;
    module.Texts[at] = Unescape(rest, FLine);
  }

  int FLine = 0;
  std::set<String> FNames;
};

}  // namespace

TLanCatalogue ParseLanCatalogue(std::string_view Text) {
  if (Text.starts_with("\xEF\xBB\xBF")) Text.remove_prefix(3);
  TParser parser;
  int number = 0;
  while (!Text.empty()) {
    const size_t end = Text.find('\n');
    parser.Line(Text.substr(0, end), ++number);
    Text.remove_prefix(end == std::string_view::npos ? Text.size() : end + 1);
  }
  if (parser.Result.Modules.empty()) parser.Result.Modules.emplace_back();
  return std::move(parser.Result);
}
