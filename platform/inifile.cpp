// TIniFile: parsing, lookups and saving of the settings file.
#include "platform/inifile.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/updatescope.h"

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view TrimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// A line break inside a name or value would end the line early and turn the
// rest into a line of its own.
String OneLine(const String& s) {
  String out = s;
  std::replace(out.begin(), out.end(), '\r', ' ');
  std::replace(out.begin(), out.end(), '\n', ' ');
  return out;
}

std::string_view Unquoted(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

}  // namespace

TIniFile::TIniFile(const String& FileName) : FFileName(FileName) {
  if (FileExists(FFileName)) Parse(ReadFileBytes(FFileName));
}

TIniFile::~TIniFile() {
  if (!FModified) return;
  try {
    Save();
  } catch (...) {
  }
}

void TIniFile::Parse(std::string_view bytes) {
  const TTextMark mark = TextMarkOf(bytes);
  bytes.remove_prefix(TextMarkLength(mark));
  FHasBom = mark != tmNone;
  // A file saved as UTF-16 (Notepad's "Unicode") is read as the UTF-8 it
  // holds; it is written back as UTF-8 with that mark, as every other file.
  std::string utf8;
  if (mark == tmUtf16LE || mark == tmUtf16BE) {
    utf8 = WideToUtf8(Utf16BytesToWide(bytes, mark == tmUtf16BE));
    bytes = utf8;
  }
  size_t p = 0;
  while (p < bytes.size()) {
    size_t start = p;
    while (p < bytes.size() && bytes[p] != '\r' && bytes[p] != '\n') ++p;
    std::string_view raw = bytes.substr(start, p - start);
    if (p < bytes.size() && bytes[p] == '\r') ++p;
    if (p < bytes.size() && bytes[p] == '\n') ++p;

    std::string_view t = TrimView(raw);
    size_t close = t.find(']');
    if (!t.empty() && t[0] == '[' && close != std::string_view::npos) {
      TIniSection section;
      section.HeaderRaw = raw;
      section.Name = Trim(TextToUtf8(t.substr(1, close - 1)));
      FSections.push_back(std::move(section));
      continue;
    }
    if (FSections.empty()) {
      FPreamble.emplace_back(raw);
      continue;
    }
    TIniLine line;
    line.Raw = raw;
    if (!t.empty() && t[0] != ';') {
      size_t eq = t.find('=');
      line.KeyRaw = TrimView(t.substr(0, eq));
      if (eq != std::string_view::npos) line.ValueRaw = TrimView(t.substr(eq + 1));
      line.Key = Trim(TextToUtf8(line.KeyRaw));
      line.IsKey = !line.Key.empty();
    }
    FSections.back().Lines.push_back(std::move(line));
  }
}

int TIniFile::FindSection(const String& Section) const {
  String name = Trim(Section);
  for (size_t i = 0; i < FSections.size(); ++i) {
    if (SameText(FSections[i].Name, name)) return static_cast<int>(i);
  }
  return -1;
}

int TIniFile::FindKey(const TIniSection& Section, const String& Ident) {
  String key = Trim(Ident);
  for (size_t i = 0; i < Section.Lines.size(); ++i) {
    const TIniLine& line = Section.Lines[i];
    if (line.IsKey && SameText(line.Key, key)) return static_cast<int>(i);
  }
  return -1;
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) const {
  int s = FindSection(Section);
  if (s < 0) return Default;
  const TIniSection& section = FSections[static_cast<size_t>(s)];
  int k = FindKey(section, Ident);
  if (k < 0) return Default;
  return TextToUtf8(Unquoted(section.Lines[static_cast<size_t>(k)].ValueRaw));
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  String ident = Trim(OneLine(Ident));
  if (ident.empty()) return;
  String value = OneLine(Value);
  int s = FindSection(Section);
  if (s < 0) {
    TIniSection section;
    section.Name = Trim(OneLine(Section));
    section.HeaderRaw = "[" + section.Name + "]";
    FSections.push_back(std::move(section));
    s = static_cast<int>(FSections.size()) - 1;
  }
  TIniSection& section = FSections[static_cast<size_t>(s)];
  int k = FindKey(section, ident);
  if (k >= 0) {
    TIniLine& line = section.Lines[static_cast<size_t>(k)];
    if (line.ValueRaw == TrimView(value)) return;  // reads the same: no save
    line.ValueRaw = TrimView(value);
    line.Raw = line.KeyRaw + "=" + value;
  } else {
    TIniLine line;
    line.IsKey = true;
    line.Key = ident;
    line.KeyRaw = ident;
    line.ValueRaw = TrimView(value);
    line.Raw = ident + "=" + value;
    // After the section's last non-blank line, so blank lines that separate it
    // from the next section stay after it.
    auto last = std::find_if(section.Lines.rbegin(), section.Lines.rend(),
                             [](const TIniLine& l) { return !TrimView(l.Raw).empty(); });
    section.Lines.insert(last.base(), std::move(line));
  }
  Changed();
}

int TIniFile::ReadInteger(const String& Section, const String& Ident, int Default) const {
  return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TIniFile::ReadBool(const String& Section, const String& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

double TIniFile::ReadFloat(const String& Section, const String& Ident, double Default) const {
  return StrToFloatDef(ReadString(Section, Ident, String()), Default);
}

void TIniFile::WriteFloat(const String& Section, const String& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

std::vector<String> TIniFile::KeyNames(const String& Section) const {
  std::vector<String> names;
  int s = FindSection(Section);
  if (s < 0) return names;
  for (const TIniLine& line : FSections[static_cast<size_t>(s)].Lines) {
    if (!line.IsKey) continue;
    bool seen = std::any_of(names.begin(), names.end(), [&](const String& n) { return SameText(n, line.Key); });
    if (!seen) names.push_back(line.Key);
  }
  return names;
}

void TIniFile::ReadSection(const String& Section, TStrings& Strings) const {
  TUpdateScope<TStrings> update(Strings);
  Strings.Clear();
  for (const String& name : KeyNames(Section)) Strings.Add(name);
}

void TIniFile::ReadSections(TStrings& Strings) const {
  TUpdateScope<TStrings> update(Strings);
  Strings.Clear();
  for (size_t i = 0; i < FSections.size(); ++i) {
    if (FindSection(FSections[i].Name) == static_cast<int>(i)) Strings.Add(FSections[i].Name);
  }
}

void TIniFile::ReadSectionValues(const String& Section, TStrings& Strings) const {
  TUpdateScope<TStrings> update(Strings);
  Strings.Clear();
  for (const String& name : KeyNames(Section)) Strings.Add(name + "=" + ReadString(Section, name, String()));
}

void TIniFile::EraseSection(const String& Section) {
  String name = Trim(Section);
  auto gone =
      std::remove_if(FSections.begin(), FSections.end(), [&](const TIniSection& s) { return SameText(s.Name, name); });
  if (gone == FSections.end()) return;
  FSections.erase(gone, FSections.end());
  Changed();
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  String name = Trim(Section), key = Trim(Ident);
  bool changed = false;
  for (TIniSection& s : FSections) {
    if (!SameText(s.Name, name)) continue;
    auto gone = std::remove_if(s.Lines.begin(), s.Lines.end(),
                               [&](const TIniLine& l) { return l.IsKey && SameText(l.Key, key); });
    if (gone == s.Lines.end()) continue;
    s.Lines.erase(gone, s.Lines.end());
    changed = true;
  }
  if (changed) Changed();
}

bool TIniFile::SectionExists(const String& Section) const { return !KeyNames(Section).empty(); }

bool TIniFile::ValueExists(const String& Section, const String& Ident) const {
  int s = FindSection(Section);
  return s >= 0 && FindKey(FSections[static_cast<size_t>(s)], Ident) >= 0;
}

void TIniFile::Changed() {
  FModified = true;
  if (FUpdateCount == 0) Save();
}

void TIniFile::UpdateFile() {
  if (FModified) Save();
}

void TIniFile::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FModified) Save();
}

void TIniFile::Save() {
  std::string out;
  if (FHasBom) out += kBom;
  auto line = [&](const std::string& raw) {
    out += raw;
    out += "\r\n";
  };
  for (const std::string& raw : FPreamble) line(raw);
  for (const TIniSection& s : FSections) {
    line(s.HeaderRaw);
    for (const TIniLine& l : s.Lines) line(l.Raw);
  }
  try {
    WriteFileAtomic(FFileName, out);
  } catch (const Exception&) {
    throw EIniFileException("Unable to write to " + FFileName);
  }
  FModified = false;
}
