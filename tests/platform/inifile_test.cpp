#include "platform/inifile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>

#include "platform/files.h"
#include "platform/stringlist.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

std::vector<String> Lines(const TStrings& s) {
  std::vector<String> out;
  for (int i = 0; i < s.Count(); ++i) out.push_back(s[i]);
  return out;
}

const char kSample[] =
    "; written by hand\r\n"
    "loose=1\r\n"
    "[Main]\r\n"
    "  Key1 = value one  \r\n"
    "key2=a=b\r\n"
    ";comment=x\r\n"
    "Quoted=\"  padded  \"\r\n"
    "single='x'\r\n"
    "mismatch=\"x'\r\n"
    "novalue\r\n"
    "\r\n"
    " [ main ] \r\n"
    "key1=dup\r\n"
    "dupOnly=1\r\n"
    "[Other]\n"
    "lf=1\r"
    "cr=2";  // no final line break

}  // namespace

TEST(IniFile, MissingFileIsEmptyAndReadsCreateNothing) {
  TempDir dir;
  String name = dir.file("settings.ini");
  TIniFile ini(name);
  EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("S", "k", 7), 7);
  EXPECT_FALSE(ini.SectionExists("S"));
  TStringList list;
  list.Add("stale");
  ini.ReadSections(list);
  EXPECT_EQ(list.Count(), 0);
  ini.UpdateFile();
  EXPECT_FALSE(FileExists(name));
  ini.WriteString("S", "k", "v");
  EXPECT_EQ(ReadFileBytes(name), "[S]\r\nk=v\r\n");
}

TEST(IniFile, ReadsLikeWindows) {
  TempDir dir;
  String name = dir.file("a.ini");
  WriteFileAtomic(name, kSample);
  TIniFile ini(name);
  EXPECT_EQ(ini.ReadString("MAIN", "KEY1", "?"), "value one");
  EXPECT_EQ(ini.ReadString("Main", "key2", "?"), "a=b");
  EXPECT_EQ(ini.ReadString("Main", ";comment", "?"), "?");
  EXPECT_EQ(ini.ReadString("Main", "Quoted", "?"), "  padded  ");
  EXPECT_EQ(ini.ReadString("Main", "single", "?"), "x");
  EXPECT_EQ(ini.ReadString("Main", "mismatch", "?"), "\"x'");
  EXPECT_EQ(ini.ReadString("Main", "novalue", "?"), "");
  EXPECT_TRUE(ini.ValueExists("main", "NOVALUE"));
  EXPECT_EQ(ini.ReadString("Main", "dupOnly", "?"), "?");  // the second [main] is hidden
  EXPECT_EQ(ini.ReadString("", "loose", "?"), "?");        // lines before any section are no keys
  EXPECT_EQ(ini.ReadString("Other", "lf", "?"), "1");
  EXPECT_EQ(ini.ReadString("other", "cr", "?"), "2");
  EXPECT_EQ(ini.ReadString(" Other ", " cr ", "?"), "2");

  TStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(Lines(list), (std::vector<String>{"Main", "Other"}));
  ini.ReadSection("main", list);
  EXPECT_EQ(Lines(list), (std::vector<String>{"Key1", "key2", "Quoted", "single", "mismatch", "novalue"}));
  ini.ReadSectionValues("Other", list);
  EXPECT_EQ(Lines(list), (std::vector<String>{"lf=1", "cr=2"}));
  EXPECT_TRUE(ini.SectionExists("OTHER"));
  EXPECT_FALSE(ini.SectionExists("Nope"));
}

TEST(IniFile, WritesKeepCommentsAndOrder) {
  TempDir dir;
  String name = dir.file("a.ini");
  WriteFileAtomic(name, kSample);
  {
    TIniFile ini(name);
    ini.WriteString("main", "KEY2", "new");   // in place, the file's spelling of the key kept
    ini.WriteString("Main", "added", "1");    // at the end of its section, before the blank line
    ini.WriteString("Other", "more", "x y");  // section that ends the file
    ini.WriteInteger("Fresh", "n", -3);       // new section at the end
  }
  EXPECT_EQ(ReadFileBytes(name),
            "; written by hand\r\n"
            "loose=1\r\n"
            "[Main]\r\n"
            "  Key1 = value one  \r\n"
            "key2=new\r\n"
            ";comment=x\r\n"
            "Quoted=\"  padded  \"\r\n"
            "single='x'\r\n"
            "mismatch=\"x'\r\n"
            "novalue\r\n"
            "added=1\r\n"
            "\r\n"
            " [ main ] \r\n"
            "key1=dup\r\n"
            "dupOnly=1\r\n"
            "[Other]\r\n"
            "lf=1\r\n"
            "cr=2\r\n"
            "more=x y\r\n"
            "[Fresh]\r\n"
            "n=-3\r\n");
}

TEST(IniFile, TypedValues) {
  TempDir dir;
  String name = dir.file("t.ini");
  WriteFileAtomic(name,
                  "[N]\nhex1=$1F\nhex2=0x10\nneg=-5\nspaced=  7  \njunk=12abc\nhuge=99999999999\nempty=\n"
                  "two=2\nzero=0\nword=yes\nf=2.25\nfe=1E3\nfcomma=2,5\n");
  TIniFile ini(name);
  EXPECT_EQ(ini.ReadInteger("N", "hex1", 0), 31);
  EXPECT_EQ(ini.ReadInteger("N", "hex2", 0), 16);
  EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -5);
  EXPECT_EQ(ini.ReadInteger("N", "spaced", 0), 7);
  EXPECT_EQ(ini.ReadInteger("N", "junk", 42), 42);
  EXPECT_EQ(ini.ReadInteger("N", "huge", 42), 42);
  EXPECT_EQ(ini.ReadInteger("N", "empty", 42), 42);
  EXPECT_TRUE(ini.ReadBool("N", "two", false));
  EXPECT_FALSE(ini.ReadBool("N", "zero", true));
  EXPECT_TRUE(ini.ReadBool("N", "word", true));
  EXPECT_FALSE(ini.ReadBool("N", "missing", false));
  EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "f", 0), 2.25);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "fe", 0), 1000.0);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "fcomma", -1), -1);

  ini.WriteBool("W", "on", true);
  ini.WriteBool("W", "off", false);
  ini.WriteFloat("W", "f", 1.5);
  ini.WriteFloat("W", "big", 1e20);
  ini.WriteInteger("W", "i", -2147483647 - 1);
  EXPECT_EQ(ini.ReadString("W", "on", ""), "1");
  EXPECT_EQ(ini.ReadString("W", "off", ""), "0");
  EXPECT_EQ(ini.ReadString("W", "f", ""), "1.5");
  EXPECT_EQ(ini.ReadString("W", "big", ""), "1E20");
  EXPECT_EQ(ini.ReadInteger("W", "i", 0), -2147483647 - 1);
}

TEST(IniFile, EraseAndDelete) {
  TempDir dir;
  String name = dir.file("e.ini");
  WriteFileAtomic(name, "[A]\nk=1\nk=2\nother=3\n[B]\n;only a comment\n[a]\nk=4\n[C]\nx=1\n");
  TIniFile ini(name);
  EXPECT_FALSE(ini.SectionExists("B"));  // no keys: the class library says it is not there
  ini.DeleteKey("a", "K");
  EXPECT_FALSE(ini.ValueExists("A", "k"));
  EXPECT_EQ(ini.ReadString("A", "other", ""), "3");
  EXPECT_EQ(ReadFileBytes(name), "[A]\r\nother=3\r\n[B]\r\n;only a comment\r\n[a]\r\n[C]\r\nx=1\r\n");
  ini.EraseSection("A");
  EXPECT_EQ(ReadFileBytes(name), "[B]\r\n;only a comment\r\n[C]\r\nx=1\r\n");
  ini.DeleteKey("Nope", "x");
  ini.EraseSection("Nope");
  EXPECT_FALSE(ini.Modified());
}

TEST(IniFile, AnyBytesLoadWithoutHarm) {
  TempDir dir;
  String name = dir.file("g.ini");
  // BOM, NUL bytes, a value in the ANSI code page, a 1 MB line, CR-only breaks.
  std::string big(1 << 20, 'v');
  std::string bytes =
      "\xEF\xBB\xBF[S]\rnul=a" + std::string(1, '\0') + "b\rcafe=caf\xE9\rlong=" + big + "\r[T]\x01\xFF";
  WriteFileAtomic(name, bytes);
  {
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadString("S", "nul", ""), std::string("a\0b", 3));
    EXPECT_EQ(ini.ReadString("S", "cafe", ""), AnsiToUtf8("caf\xE9"));
    EXPECT_TRUE(IsValidUtf8(ini.ReadString("S", "cafe", "")));
    EXPECT_EQ(ini.ReadString("S", "long", "").size(), big.size());
    EXPECT_TRUE(ini.SectionExists("S"));
    ini.WriteString("S", "new", "1");
  }
  std::string saved = ReadFileBytes(name);
  EXPECT_EQ(saved.substr(0, 6), "\xEF\xBB\xBF[S]");              // the byte order mark stays
  EXPECT_NE(saved.find("cafe=caf\xE9\r\n"), std::string::npos);  // untouched lines keep their bytes
  EXPECT_NE(saved.find("[T]\x01\xFF\r\n"), std::string::npos);

  // Random bytes: whatever comes out is valid UTF-8, and writing still works.
  std::mt19937 rng(77);
  const char fragments[] = {'[', ']', '=', ';', '\r', '\n', ' ', '\0', 'a', 'B', '\x80', '\xC3', '\xFF', '"'};
  for (int round = 0; round < 50; ++round) {
    std::string junk;
    int len = static_cast<int>(rng() % 300);
    for (int i = 0; i < len; ++i) {
      junk += (rng() % 4 == 0) ? static_cast<char>(rng()) : fragments[rng() % sizeof fragments];
    }
    WriteFileAtomic(name, junk);
    TIniFile ini(name);
    TStringList sections, values;
    ini.ReadSections(sections);
    for (int i = 0; i < sections.Count(); ++i) {
      ASSERT_TRUE(IsValidUtf8(sections[i]));
      ini.ReadSectionValues(sections[i], values);
      for (int k = 0; k < values.Count(); ++k) ASSERT_TRUE(IsValidUtf8(values[k]));
    }
    ini.WriteString("Check", "key", "value");
    TIniFile again(name);
    ASSERT_EQ(again.ReadString("Check", "key", ""), "value");
  }
}

// As Notepad saves it as "Unicode" (and in the other byte order): read whole,
// written back as UTF-8 with its mark, every value kept.
TEST(IniFile, AUtf16FileReadsByItsMarkAndComesBackAsUtf8) {
  TempDir dir;
  const String name = dir.file("u.ini");
  const String text =
      "; mine\r\n[MainForm]\r\nWidth=400\r\n[Language]\r\nCurrent=DE\r\nName=Gr\xC3\xBC\xC3\x9F \xE6\x97\xA5\r\n";
  for (const bool big : {false, true}) {
    SCOPED_TRACE(big);
    WideString wide = Utf8ToWide(text);
    std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : wide) {
      const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
      bytes += big ? String{hi, lo} : String{lo, hi};
    }
    WriteFileAtomic(name, bytes);
    {
      TIniFile ini(name);
      EXPECT_EQ(ini.ReadInteger("MainForm", "Width", 0), 400);
      EXPECT_EQ(ini.ReadString("Language", "Current", ""), "DE");
      EXPECT_EQ(ini.ReadString("Language", "Name", ""), "Gr\xC3\xBC\xC3\x9F \xE6\x97\xA5");
      ini.WriteInteger("MainForm", "Height", 80);
    }
    EXPECT_EQ(ReadFileBytes(name),
              "\xEF\xBB\xBF; mine\r\n[MainForm]\r\nWidth=400\r\nHeight=80\r\n[Language]\r\n"
              "Current=DE\r\nName=Gr\xC3\xBC\xC3\x9F \xE6\x97\xA5\r\n");
  }
}

TEST(IniFile, EverySaveLeavesACompleteFile) {
  TempDir dir;
  String name = dir.file("s.ini");
  TIniFile ini(name);
  for (int i = 0; i < 20; ++i) {
    ini.WriteInteger("Numbers", "n" + std::to_string(i), i * i);
    TIniFile reader(name);
    for (int k = 0; k <= i; ++k) ASSERT_EQ(reader.ReadInteger("Numbers", "n" + std::to_string(k), -1), k * k);
  }
  // Nothing but the file itself is left in the folder.
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(dir.path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(IniFile, BatchedWritesSaveOnceAtTheEnd) {
  TempDir dir;
  String name = dir.file("b.ini");
  WriteFileAtomic(name, "[A]\r\nx=0\r\n");
  {
    TIniFile ini(name);
    ini.BeginUpdate();
    ini.BeginUpdate();
    ini.WriteString("A", "x", "1");
    ini.WriteString("A", "y", "2");
    ini.EndUpdate();
    EXPECT_EQ(ReadFileBytes(name), "[A]\r\nx=0\r\n");
    EXPECT_TRUE(ini.Modified());
    ini.EndUpdate();
    EXPECT_EQ(ReadFileBytes(name), "[A]\r\nx=1\r\ny=2\r\n");
    EXPECT_FALSE(ini.Modified());

    // Writing what is already there does not save.
    WriteFileAtomic(name, "[A]\r\nx=1\r\n; changed behind our back\r\n");
    ini.WriteString("A", "x", "1");
    ini.WriteString("A", "x", " 1 ");
    EXPECT_EQ(ReadFileBytes(name), "[A]\r\nx=1\r\n; changed behind our back\r\n");

    // A batch left open is saved by the destructor.
    ini.BeginUpdate();
    ini.WriteString("A", "z", "3");
  }
  EXPECT_EQ(ReadFileBytes(name), "[A]\r\nx=1\r\ny=2\r\nz=3\r\n");
}

TEST(IniFile, FailedSaveKeepsTheChange) {
  TempDir dir;
  String folder = dir.file("later");
  String name = folder + "/f.ini";
  auto ini = std::make_unique<TIniFile>(name);
  EXPECT_THROW(ini->WriteString("A", "k", "v"), EIniFileException);
  EXPECT_TRUE(ini->Modified());
  EXPECT_EQ(ini->ReadString("A", "k", ""), "v");
  ASSERT_TRUE(ForceDirectories(folder));
  ini->UpdateFile();
  EXPECT_FALSE(ini->Modified());
  EXPECT_EQ(ReadFileBytes(name), "[A]\r\nk=v\r\n");
}

TEST(IniFile, LineBreaksInWrittenTextCannotSplitTheFile) {
  TempDir dir;
  String name = dir.file("n.ini");
  TIniFile ini(name);
  ini.WriteString("S", "k", "a\r\nb=[x]");
  ini.WriteString("S", "", "ignored");
  ini.WriteString("S\nT", "k2\r", "v");
  TIniFile reader(name);
  EXPECT_EQ(reader.ReadString("S", "k", ""), "a  b=[x]");
  EXPECT_EQ(reader.ReadString("S T", "k2", ""), "v");
  TStringList keys;
  reader.ReadSection("S", keys);
  EXPECT_EQ(Lines(keys), std::vector<String>{"k"});
}

TEST(IniFile, WriteFileBringsBackARemovedFile) {
  TempDir dir;
  String name = dir.file("gone.ini");
  TIniFile ini(name);
  ini.WriteString("A", "k", "v");
  ASSERT_TRUE(DeleteFile(name));
  ini.UpdateFile();
  EXPECT_FALSE(FileExists(name)) << "nothing was unsaved";
  ini.WriteFile();
  EXPECT_EQ(ReadFileBytes(name), "[A]\r\nk=v\r\n");
}
