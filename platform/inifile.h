// TIniFile: the program's settings file, read and written by one portable
// implementation in every build, so the native tests see what Windows sees.
//
// Reading: the whole file is read once by the constructor (a missing file is an
// empty INI). Any bytes load: a UTF-8 byte order mark is skipped, a UTF-16 one
// (either order; Notepad's "Unicode") makes the file read as UTF-16, lines end
// at CR LF, LF or CR, and names and values that are not valid UTF-8 are read as
// the ANSI code page. Sections and keys compare case-insensitively (ASCII) and
// the first match wins where a file repeats one. Keys and values are trimmed, a
// value ends at the line's end (it may contain '='), and, as with the Windows
// profile functions, one pair of matching quotes around a value is dropped.
// Lines before the first section, comment lines (';') and blank lines are kept.
//
// Writing: every change goes to the file at once (as the Windows INI object
// does), through a temporary file and one replace, so a crash during a save
// leaves the old file or the new one, never a part. Between BeginUpdate and the
// last EndUpdate changes collect in memory and go out in one save. A change whose
// save failed stays in memory and goes out with the next save (the next change,
// UpdateFile, EndUpdate or the destructor). Unchanged lines keep their bytes;
// changed and new lines are UTF-8; lines end with CR LF. A file read with a
// byte order mark is written with the UTF-8 one: a UTF-16 file comes back as
// UTF-8, the one encoding the program writes, with every value it held.
#pragma once
#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "platform/object.h"
#include "platform/types.h"

class TStrings;

ORV_EXCEPTION(EIniFileException, Exception)

class TIniFile : public TObject {
 public:
  // EFOpenError/EReadError when the file exists but cannot be read: carrying on
  // with an empty INI would overwrite the settings at the first write.
  explicit TIniFile(const String& FileName);
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;
  // Saves what is still unsaved; a failure there is swallowed (nowhere to report it).
  ~TIniFile() override;

  const String& FileName() const { return FFileName; }

  // The Write functions raise EIniFileException "Unable to write to <file>" when
  // the save fails. Line breaks inside a name or value would break the file and
  // become blanks; an empty key name is not written.
  String ReadString(const String& Section, const String& Ident, const String& Default) const;
  void WriteString(const String& Section, const String& Ident, const String& Value);
  // Decimal or hexadecimal ("$1F", "0x1F"); anything else gives Default.
  int ReadInteger(const String& Section, const String& Ident, int Default) const;
  void WriteInteger(const String& Section, const String& Ident, int Value);
  // Read as an integer, non-zero is true; written as "1" or "0".
  bool ReadBool(const String& Section, const String& Ident, bool Default) const;
  void WriteBool(const String& Section, const String& Ident, bool Value);
  // "." is the decimal separator both ways.
  double ReadFloat(const String& Section, const String& Ident, double Default) const;
  void WriteFloat(const String& Section, const String& Ident, double Value);

  // Each fills (after clearing) Strings: the key names of a section, the
  // section names (each once), or "name=value" lines of a section.
  void ReadSection(const String& Section, TStrings& Strings) const;
  void ReadSections(TStrings& Strings) const;
  void ReadSectionValues(const String& Section, TStrings& Strings) const;
  // Removes every section of that name / every line of that key in them.
  void EraseSection(const String& Section);
  void DeleteKey(const String& Section, const String& Ident);
  // As the class library answers it: a section counts when it has a key.
  bool SectionExists(const String& Section) const;
  bool ValueExists(const String& Section, const String& Ident) const;

  // Saves now if anything is unsaved.
  void UpdateFile();
  // Writes the whole file now even when nothing changed in memory: for a save
  // after which the file must exist (someone may have removed it meanwhile).
  void WriteFile() { Save(); }
  // Batches writes: the file is saved once, at the last EndUpdate.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  bool Modified() const { return FModified; }

 private:
  struct TIniLine {
    std::string Raw;  // the line's bytes, without its line break
    bool IsKey = false;
    String Key;            // UTF-8, trimmed
    std::string KeyRaw;    // the key's bytes as the file spells it
    std::string ValueRaw;  // the value's bytes, trimmed
  };
  struct TIniSection {
    std::string HeaderRaw;
    String Name;  // UTF-8, trimmed
    std::vector<TIniLine> Lines;
  };

  void Parse(std::string_view bytes);
  int FindSection(const String& Section) const;
  static int FindKey(const TIniSection& Section, const String& Ident);
  std::vector<String> KeyNames(const String& Section) const;
  void Changed();
  void Save();

  String FFileName;
  bool FHasBom = false;
  std::vector<std::string> FPreamble;  // lines before the first section
  std::vector<TIniSection> FSections;
  int FUpdateCount = 0;
  bool FModified = false;
};
