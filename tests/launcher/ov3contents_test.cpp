// The contents document: the exact default file, completing a user's file at
// every start, icon ids and lookups, safe group indexes, and files set aside.
#include "launcher/ov3contents.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocation interface (g++ ships no header for it).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                              void (*free_hook)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* p);
}
#endif

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

const char* const kDefaultFile =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\r\n"
    "\r\n"
    "<!-- Orvanel Version 3.3\r\n"
    "     Launcher Contents Definition\r\n"
    "     Copyright (c) 2003-2026 The Orvanel developers -->\r\n"
    "\r\n"
    "<ov3contents>\r\n"
    "  <groups>\r\n"
    "    <group title=\"Main\">\r\n"
    "      <icons/>\r\n"
    "    </group>\r\n"
    "  </groups>\r\n"
    "\r\n"
    "  <modules>\r\n"
    "    <analogclock title=\"AnalogClock\" active=\"yes\">\r\n"
    "      <image filename=\"ovi.dll\" index=\"0\"/>\r\n"
    "      <parameters>\r\n"
    "        <images title=\"Images\" type=\"resource\" list=\"ovanalogclock\" value=\"clkdashlight.drl\"/>\r\n"
    "        <secondhand title=\"SecondHand\" type=\"boolean\" value=\"No\"/>\r\n"
    "        <width title=\"Width\" type=\"integer\" value=\"72\"/>\r\n"
    "      </parameters>\r\n"
    "    </analogclock>\r\n"
    "\r\n"
    "    <calendar title=\"Calendar\" active=\"yes\">\r\n"
    "      <image filename=\"ovi.dll\" index=\"1\"/>\r\n"
    "      <parameters>\r\n"
    "        <images title=\"Images\" type=\"resource\" list=\"ovcalendar\" value=\"caldeskred.drl\"/>\r\n"
    "        <width title=\"Width\" type=\"integer\" value=\"72\"/>\r\n"
    "      </parameters>\r\n"
    "    </calendar>\r\n"
    "\r\n"
    "    <icons title=\"Icons\" active=\"yes\">\r\n"
    "      <parameters/>\r\n"
    "    </icons>\r\n"
    "\r\n"
    "    <recyclebin title=\"RecycleBin\" active=\"yes\">\r\n"
    "      <image filename=\"ovi.dll\" index=\"2\"/>\r\n"
    "      <parameters>\r\n"
    "        <images title=\"Images\" type=\"resource\" list=\"ovrecyclebin\" value=\"binclear.drl\"/>\r\n"
    "        <width title=\"Width\" type=\"integer\" value=\"72\"/>\r\n"
    "      </parameters>\r\n"
    "    </recyclebin>\r\n"
    "\r\n"
    "    <battery title=\"Battery\" active=\"yes\">\r\n"
    "      <image filename=\"ovi.dll\" index=\"4\"/>\r\n"
    "      <parameters>\r\n"
    "        <images title=\"Images\" type=\"resource\" list=\"ovpower\" value=\"battery.drl\"/>\r\n"
    "        <width title=\"Width\" type=\"integer\" value=\"72\"/>\r\n"
    "      </parameters>\r\n"
    "    </battery>\r\n"
    "  </modules>\r\n"
    "</ov3contents>\r\n";

// What the main window does at every start, up to its first save.
String StartAndSave(const String& fileName) {
  auto doc = OpenContentsDocument(fileName);
  CreateDefaultContents(*doc);
  SaveContents(*doc, fileName);
  return ReadFileBytes(fileName);
}

std::unique_ptr<TKemXml> Parse(const String& bytes) {
  auto doc = std::make_unique<TKemXml>();
  doc->LoadFromString(bytes);
  return doc;
}

// Groups "A" (icons 3, "abc", 7) and "&B" (an icon without id, 12, a batch, an untitled one).
std::unique_ptr<TKemXml> IconsDocument() {
  auto doc = Parse(
      "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>"
      "<ov3contents><groups>"
      "<group title=\"A\"><icons>"
      "<icon title=\"Save &amp;&amp; &amp;Exit\" id=\"3\"/>"
      "<icon title=\"Bad\" id=\"abc\" type=\"PROGRAM\"/>"
      "<icon title=\"Seven\" id=\" 7\"/>"
      "</icons></group>"
      "<group title=\"&#38;B\"><icons>"
      "<icon title=\"NoId\"/>"
      "<icon title=\"Twelve\" id=\"12\" type=\"program\"/>"
      "<icon title=\"Batch\" id=\"13\" type=\"batch\"/>"
      "<icon id=\"14\"/>"
      "<icon title=\"Second seven\" id=\"7\"/>"
      "</icons></group>"
      "</groups></ov3contents>");
  // The reader knows no named entities: give the first title its marks directly.
  doc->FindPath("ov3contents.groups.group.icons.icon")->WriteAttr("title", "Save && &Exit");
  return doc;
}

}  // namespace

TEST(Ov3Contents, DefaultFileOfAMissingOrEmptyFile) {
  TempDir dir;
  const String name = dir.file("ov3.xml");
  EXPECT_EQ(StartAndSave(name), kDefaultFile);
  EXPECT_EQ(StartAndSave(name), kDefaultFile) << "the next start reads it back and changes nothing";
  WriteFileAtomic(name, "");
  EXPECT_EQ(StartAndSave(name), kDefaultFile);
  EXPECT_FALSE(FileExists(name + ".bad")) << "an empty file holds nothing to keep";
}

TEST(Ov3Contents, CompletingKeepsTheUsersChoicesAndResetsTitles) {
  TempDir dir;
  const String name = dir.file("ov3.xml");
  auto doc = OpenContentsDocument(name);
  CreateDefaultContents(*doc);
  TKemXmlTag* modules = doc->FindPath("ov3contents.modules");
  TKemXmlTag* clock = modules->FindPath("analogclock");
  clock->WriteAttr("title", "My clock");
  clock->WriteAttr("active", "no");
  clock->FindPath("image")->WriteAttr("filename", "mine.dll");
  clock->FindPath("parameters.secondhand")->WriteAttr("value", "Yes");
  clock->FindPath("parameters.width")->WriteAttr("value", "");  // removed: comes back as the default
  clock->FindPath("parameters.images")->WriteAttr("list", "other");
  clock->FindPath("parameters")->AddTag("foreign", "title=Foreign");
  modules->FindPath("icons.parameters")->AddTag("stray");
  modules->MoveChild(4, 0);  // the battery first
  modules->DeleteChild(modules->FindPath("calendar")->GetIndex());
  doc->FindPath("ov3contents.groups.group")->WriteAttr("title", "Mine");

  for (int start = 0; start < 2; ++start) {
    CreateDefaultContents(*doc);
    EXPECT_EQ(clock->ReadAttr("title"), "AnalogClock");
    EXPECT_EQ(clock->ReadAttr("active"), "no");
    EXPECT_EQ(clock->ReadPathAttr("image", "filename"), "mine.dll");
    EXPECT_EQ(clock->ReadPathAttr("parameters.secondhand", "value"), "Yes");
    EXPECT_EQ(clock->ReadPathAttr("parameters.width", "value"), "72");
    EXPECT_EQ(clock->ReadPathAttr("parameters.images", "list"), "ovanalogclock");
    EXPECT_EQ(clock->FindPath("parameters.foreign"), nullptr);
    EXPECT_EQ(modules->FindPath("icons.parameters")->GetChildCount(), 0);
    String order;
    for (int i = 0; i < modules->GetChildCount(); ++i) order += modules->GetChild(i)->Name + " ";
    EXPECT_EQ(order, "battery analogclock icons recyclebin calendar ") << "a missing module is appended";
    EXPECT_EQ(doc->FindPath("ov3contents.groups")->GetChildCount(), 1);
    EXPECT_EQ(doc->FindPath("ov3contents.groups.group")->ReadAttr("title"), "Mine");
  }
  String once = doc->SaveToString();
  CreateDefaultContents(*doc);
  EXPECT_EQ(doc->SaveToString(), once);
}

TEST(Ov3Contents, GroupsWithoutAGroupGetMain) {
  auto doc = Parse("<?xml version=\"1.0\"?><ov3contents><groups/></ov3contents>");
  CreateDefaultContents(*doc);
  auto groups = ListGroups(ContentsGroups(*doc));
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0]->ReadAttr("title"), "Main");
  EXPECT_NE(GroupIcons(groups[0]), nullptr);
  EXPECT_EQ(doc->Root()->FindAll("!--").size(), 0u) << "an existing document gets no second comment";
}

TEST(Ov3Contents, CommentsAreNeitherGroupsNorIcons) {
  // The inside of "groups", and the groups then the first group's icons the next start lists.
  const std::vector<std::pair<String, String>> cases = {
      {"<!-- only a note -->", "Main/"},
      {"<!-- a --><group title=\"A\"><icons><!-- b --><icon title=\"1\"/><!-- c --><icon title=\"2\"/>"
       "</icons></group><!-- d -->",
       "A/1 2 "},
  };
  for (const auto& [inside, listed] : cases) {
    auto doc = Parse("<?xml version=\"1.0\"?><ov3contents><groups>" + inside + "</groups></ov3contents>");
    CreateDefaultContents(*doc);
    doc = Parse(doc->SaveToString());
    String titles;
    for (const TKemXmlTag* group : ListGroups(ContentsGroups(*doc))) titles += group->ReadAttr("title");
    titles += "/";
    for (const TKemXmlTag* icon : ListIcons(ListGroups(ContentsGroups(*doc)).at(0)))
      titles += icon->ReadAttr("title") + " ";
    EXPECT_EQ(titles, listed) << inside;
  }
}

TEST(Ov3Contents, AwkwardTitlesSurviveEveryStart) {
  TempDir dir;
  const String name = dir.file("ov3.xml");
  const String title =
      "<Games> & \xc3\x9cn\xc3\xaf"
      "c\xc3\xb8"
      "d\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac \"\\' \xf0\x9f\x8e\xae";
  {
    auto doc = OpenContentsDocument(name);
    CreateDefaultContents(*doc);
    doc->FindPath("ov3contents.groups.group")->WriteAttr("title", title);
    GroupIcons(doc->FindPath("ov3contents.groups.group"))->AddTag("icon")->AddAttr("title", title);
    SaveContents(*doc, name);
  }
  String first = ReadFileBytes(name);
  for (int start = 0; start < 5; ++start) EXPECT_EQ(StartAndSave(name), first);
  auto doc = OpenContentsDocument(name);
  EXPECT_EQ(doc->FindPath("ov3contents.groups.group")->ReadAttr("title"), title);
  EXPECT_EQ(doc->FindPath("ov3contents.groups.group.icons.icon")->ReadAttr("title"), title);
  EXPECT_FALSE(FileExists(name + ".bad"));
}

TEST(Ov3Contents, IconIds) {
  auto doc = IconsDocument();
  TKemXmlTag* groups = ContentsGroups(*doc);
  TOvIconIds ids;
  ids.InitNextIconId(groups);
  EXPECT_EQ(ids.NextIconId(), 15);

  int saves = 0;
  ids.OnSaveContents = [&] { ++saves; };
  TKemXmlTag* bad = ListIcons(ListGroups(groups)[0])[1];
  EXPECT_EQ(IconIdOf(bad), -1) << "\"abc\" is no id";
  EXPECT_EQ(ids.GetIconId(bad), 15);
  EXPECT_EQ(bad->ReadAttr("id"), "15");
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(ids.GetIconId(bad), 15);
  EXPECT_EQ(ids.GetIconId(ListIcons(ListGroups(groups)[0])[0]), 3);
  EXPECT_EQ(saves, 1) << "an icon that has its id saves nothing";
  EXPECT_EQ(ids.NextIconId(), 16);

  TKemXml empty;
  ids.InitNextIconId(ContentsGroups(empty));
  EXPECT_EQ(ids.NextIconId(), 1);
  ids.InitNextIconId(nullptr);
  EXPECT_EQ(ids.NextIconId(), 1);
  GroupIcons(ContentsGroups(empty)->AddTag("group"), true)->AddTag("icon", "id=1");
  ids.InitNextIconId(ContentsGroups(empty));
  EXPECT_EQ(ids.NextIconId(), 2) << "above the highest id, 1";

  TKemXmlTag icon(nullptr, "icon");
  for (const char* text : {"-1", "1.5", "0x10", "$10", "99999999999999999999", "9223372036854775807", ""}) {
    icon.WriteAttr("id", text);
    EXPECT_EQ(IconIdOf(&icon), -1) << text;
  }
  icon.WriteAttr("id", "0");
  EXPECT_EQ(IconIdOf(&icon), 0);
}

TEST(Ov3Contents, SeveralHundredIconsThroughLoadAndSave) {
  TempDir dir;
  const String name = dir.file("ov3.xml");
  auto doc = OpenContentsDocument(name);
  CreateDefaultContents(*doc);
  for (int g = 1; g <= 4; ++g) {
    TKemXmlTag* icons = GroupIcons(ContentsGroups(*doc)->AddTag("group", "title=G" + std::to_string(g)), true);
    for (int i = 1; i <= 100; ++i) {
      TKemXmlTag* icon = icons->AddTag("icon", "id=" + std::to_string(g * 100 + i));
      icon->WriteAttr("title", "Icon <" + std::to_string(i) + "> & \xc3\xa9");
      icon->AddTag("application")->WriteAttr("filename", "C:\\Apps\\app" + std::to_string(i) + ".exe");
    }
  }
  SaveContents(*doc, name);
  const String saved = ReadFileBytes(name);
  EXPECT_EQ(StartAndSave(name), saved) << "a start reads every icon and changes nothing";
  doc = OpenContentsDocument(name);
  const std::vector<TKemXmlTag*> groups = ListGroups(ContentsGroups(*doc));
  ASSERT_EQ(groups.size(), 5u);
  EXPECT_EQ(ListIcons(groups[4]).size(), 100u);
}

TEST(Ov3Contents, FindIconById) {
  auto doc = IconsDocument();
  TKemXmlTag* groups = ContentsGroups(*doc);
  EXPECT_EQ(FindIconById(groups, 12)->ReadAttr("title"), "Twelve");
  EXPECT_EQ(FindIconById(groups, 7)->ReadAttr("title"), "Seven") << "the first of equal ids, in group order";
  EXPECT_EQ(FindIconById(groups, 3)->ReadAttr("id"), "3");
  EXPECT_EQ(FindIconById(groups, 4), nullptr);
  EXPECT_EQ(FindIconById(groups, -1), nullptr);
  EXPECT_EQ(FindIconById(nullptr, 3), nullptr);
}

TEST(Ov3Contents, ListProgramIcons) {
  auto doc = IconsDocument();
  TStringList list;
  list.Add("kept");
  ListProgramIcons(ContentsGroups(*doc), list);
  EXPECT_EQ(list.Text(),
            "kept\r\nSave & Exit (A)\r\nBad (A)\r\nSeven (A)\r\nNoId (B)\r\nTwelve (B)\r\nSecond seven (B)\r\n");
  EXPECT_EQ(list.Objects(2), ListIcons(ListGroups(ContentsGroups(*doc))[0])[1]);
}

TEST(Ov3Contents, SafeGroupIndexes) {
  EXPECT_EQ(WrapGroupIndex(0, 0), -1);
  EXPECT_EQ(WrapGroupIndex(-1, 0), -1);
  EXPECT_EQ(WrapGroupIndex(3, 3), 0);
  EXPECT_EQ(WrapGroupIndex(5, 3), 2);
  EXPECT_EQ(WrapGroupIndex(-1, 3), 2);
  EXPECT_EQ(WrapGroupIndex(-4, 3), 2);
  TKemXml doc;
  std::vector<TKemXmlTag*> groups = {doc.Root()->AddTag("group")};
  EXPECT_EQ(GroupAt(groups, 0), groups[0]);
  EXPECT_EQ(GroupAt(groups, 1), nullptr);
  EXPECT_EQ(GroupAt(groups, -1), nullptr);
  EXPECT_EQ(GroupAt({}, 0), nullptr);
  EXPECT_EQ(GroupIcons(nullptr, true), nullptr);
  EXPECT_EQ(GroupIcons(groups[0]), nullptr);
  EXPECT_NE(GroupIcons(groups[0], true), nullptr);
  EXPECT_TRUE(ListIcons(nullptr).empty());
}

// A file set aside is told: which file, its copy, and the line where the
// reading stopped. A hand-edited title with one "<" in it kept 1 of 23 icons
// and went aside without a word.
TEST(Ov3Contents, FilesThatHoldMoreThanTheTreeAreSetAsideAndTold) {
  TempDir dir;
  const String name = dir.file("ov3.xml");
  const String bad = name + ".bad";
  const String full = kDefaultFile;
  String strayBracket = "<?xml version=\"1.0\"?>\n<ov3contents><groups><group title=\"Main\"><icons>\n";
  for (int i = 1; i <= 23; ++i)
    strayBracket += "<icon title=\"" + String(i == 2 ? "Mail <work" : "Icon") + "\" id=\"" + IntToStr(i) +
                    "\"><application filename=\"p.exe\"/></icon>\n";
  strayBracket += "</icons></group></groups></ov3contents>\n";
  String deep = "<?xml version=\"1.0\"?>\n<ov3contents>";
  for (int i = 1; i < kContentsMaxDepth; ++i) deep += "<d>";
  deep += "\n<d/>";
  struct TCase {
    String Bytes;
    bool KeepsGroups;  // the document read still holds the user's groups
    size_t Icons;      // of its first group
    TContentsFaultKind Kind;
    int Line;
  };
  const std::vector<TCase> cases = {
      {"not xml at all", false, 0, cfkCutOff, 1},
      {"<!-- no declaration --><ov3contents/>", false, 0, cfkDeclaration, 1},
      {"\x89PNG\r\n\x1a\n\0\0", false, 0, cfkCutOff, 1},
      {full.substr(0, full.find("<modules>") + 5), true, 0, cfkCutOff, 14},  // cut inside a construct
      {full.substr(0, full.find("</modules>")), true, 0, cfkUnclosed, 14},   // elements left open
      {strayBracket, true, 1, cfkBracket, 4},
      {full.substr(0, full.find("<group ") + 22) + "text never closed", true, 0, cfkUnclosed, 9},
      {deep, false, 0, cfkTooDeep, 3},
      {"<?xml version=\"1.0\"?><other/>", false, 0, cfkNone, 0},  // read whole, but no contents
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Line);
    WriteFileAtomic(bad, "an older copy");
    WriteFileAtomic(name, c.Bytes);
    TContentsSetAside told;
    auto doc = OpenContentsDocument(name, &told);
    EXPECT_EQ(ReadFileBytes(bad), c.Bytes) << "the copy replaces an older one";
    EXPECT_EQ(ReadFileBytes(name), c.Bytes) << "opening never writes";
    EXPECT_EQ(doc->FindPath("ov3contents.groups") != nullptr, c.KeepsGroups);
    EXPECT_EQ(ListIcons(GroupAt(ListGroups(doc->FindPath("ov3contents.groups")), 0)).size(), c.Icons);
    EXPECT_EQ(told.Copy, bad);
    EXPECT_EQ(told.Fault.Kind, c.Kind);
    EXPECT_EQ(told.Fault.Line, c.Line);
    const String text = WideToUtf8(ContentsSetAsideText(name, told));
    EXPECT_NE(text.find(name + " could not be read"), String::npos) << text;
    EXPECT_NE(text.find("kept as " + bad), String::npos) << text;
    if (c.Line > 0) {
      EXPECT_NE(text.find("line " + IntToStr(c.Line)), String::npos) << text;
    }
    ASSERT_NE(doc->FindPath("?xml"), nullptr) << "what is saved next must read back";
    CreateDefaultContents(*doc);
    SaveContents(*doc, name);
    EXPECT_EQ(StartAndSave(name), ReadFileBytes(name));
  }
  std::filesystem::remove(bad);
  WriteFileAtomic(name, full);
  TContentsSetAside told;
  OpenContentsDocument(name, &told);
  EXPECT_FALSE(FileExists(bad)) << "a whole file is not copied";
  EXPECT_EQ(told.Copy, "");
}

// The place is found in one pass: a text as long as a large file, full of
// near misses of the closing construct of an element whose name is long.
TEST(Ov3Contents, TheFaultOfALargeFileIsFoundInOnePass) {
  const String name(20000, 'n');
  String bytes = "<?xml version=\"1.0\"?>\n<" + name + ">t";
  const String nearMiss = "</" + name.substr(1) + "x";
  while (bytes.size() < 8 * 1024 * 1024) bytes += nearMiss;
  const auto start = std::chrono::steady_clock::now();
  TKemXml doc;
  doc.LoadFromString(bytes);
  const TContentsFault fault = ContentsFaultOf(doc);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(fault.Kind, cfkUnclosed);
  EXPECT_EQ(fault.Line, 2);
  EXPECT_LT(ms, 2000);
}

TEST(Ov3Contents, FileNameIsBesideTheProgramWithItsBaseName) {
  EXPECT_EQ(ContentsFileName("/opt/orvanel/ov3.exe"), "/opt/orvanel/ov3.xml");
  EXPECT_EQ(ContentsFileName("C:\\Program Files\\a.b.exe"), "C:\\Program Files\\a.xml");
}

#if defined(__SANITIZE_ADDRESS__)
namespace {

// The heap in use, counted by the sanitizer's allocation hooks while a test
// asks for it (the hooks cannot be taken out again once installed).
struct THeapCount {
  static inline std::atomic<bool> On{false};
  static inline std::atomic<std::int64_t> Live{0};
  static inline std::atomic<std::int64_t> Peak{0};
  static void Allocated(const volatile void*, size_t size) {
    if (!On) return;
    const std::int64_t now = Live += static_cast<std::int64_t>(size);
    for (std::int64_t peak = Peak; now > peak && !Peak.compare_exchange_weak(peak, now);) {
    }
  }
  static void Freed(const volatile void* block) {
    if (On) Live -= static_cast<std::int64_t>(__sanitizer_get_allocated_size(block));
  }
  // The most the heap held above what it held at the start, while run ran.
  template <class F>
  static std::int64_t PeakOf(F run) {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(Allocated, Freed) != 0;
    EXPECT_TRUE(installed);
    Live = 0;
    Peak = 0;
    On = true;
    run();
    On = false;
    return Peak;
  }
};

}  // namespace
#endif

// A large contents file of long texts (titles, comments, parameters, a few of
// them megabytes long, with characters the file holds as references) costs a
// small multiple of its size to open, complete and save, not one copy per
// step: the file is read into one block that goes once the tree is built, and
// a save is made and compared with the file in blocks.
TEST(Ov3Contents, ALargeFileOpensAndSavesWithinAMemoryBudget) {
#if !defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the heap is counted through the sanitizer's hooks";
#else
  TempDir dir;
  const String name = dir.file("ov3.xml");
  {
    auto doc = std::make_unique<TKemXml>();
    CreateDefaultContents(*doc);
    String text;
    while (text.size() < 6000) text += "Long words caf\xc3\xa9 \"quoted\" C:\\Program Files\\Tool ";
    String huge;
    while (huge.size() < 2 * 1024 * 1024) huge += text;
    TKemXmlTag* icons = GroupIcons(ListGroups(ContentsGroups(*doc))[0]);
    for (int i = 0; i < 1200; ++i) {
      TKemXmlTag* icon = icons->AddTag("icon");
      icon->AddAttr("title", IntToStr(i) + " " + text.substr(0, 1500));
      icon->AddAttr("comment", text.substr(0, 3000));
      icon->AddAttr("id", IntToStr(i + 1));
      icon->AddTag("application")->AddAttr("parameters", i % 400 == 0 ? huge : text);
    }
    SaveContents(*doc, name);
  }
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(name.c_str()));
  ASSERT_GT(size, 20 << 20);
  std::unique_ptr<TKemXml> doc;
  const std::int64_t open = THeapCount::PeakOf([&] {
    doc = OpenContentsDocument(name);
    CreateDefaultContents(*doc);
  });
  // The start's save finds the file as it is; an edit writes it anew.
  const std::int64_t save = THeapCount::PeakOf([&] {
    SaveContents(*doc, name);
    GroupIcons(ListGroups(ContentsGroups(*doc))[0])->GetChild(0)->WriteAttr("title", "Edited");
    SaveContents(*doc, name);
  });
  EXPECT_EQ(ListIcons(ListGroups(ContentsGroups(*doc))[0]).size(), 1200u);
  EXPECT_EQ(OpenContentsDocument(name)->SaveToString(), doc->SaveToString());
  // Opening holds the file's bytes and the tree; saving holds only blocks beside the tree.
  EXPECT_LT(open, size * 2) << "of a file of " << size;
  EXPECT_LT(save, size / 4) << "of a file of " << size;
#endif
}
