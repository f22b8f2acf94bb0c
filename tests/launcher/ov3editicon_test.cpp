// The icon editor's fields: what reading and writing an icon element keeps
// and changes, the program file that the folder and icon file follow, the
// icon index against the previews, and the previews of each kind of file.
#include "launcher/ov3editicon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "kem3/pictures/pngimage.h"
#include "launcher/ov3contents.h"
#include "platform/files.h"
#include "platform/sysutils.h"
#include "support/temp_dir.h"
#include "tools/common/iconwriter.h"

namespace {

// Two groups: Main with the program icons Editor (id 7) and Mail (no id) and
// a batch; Tools with Shell (id 12).
std::unique_ptr<TKemXml> Document() {
  auto doc = std::make_unique<TKemXml>();
  CreateDefaultContents(*doc);
  TKemXmlTag* groups = ContentsGroups(*doc);
  TKemXmlTag* main = ListGroups(groups)[0];
  TKemXmlTag* icons = GroupIcons(main, true);
  icons->AddTag("icon", "title=Editor;id=7;type=program");
  icons->AddTag("icon", "title=Mail");
  icons->AddTag("icon", "title=Both;type=batch");
  TKemXmlTag* tools = groups->AddTag("group", "title=Tools");
  GroupIcons(tools, true)->AddTag("icon", "title=Shell;id=12");
  return doc;
}

TKemXmlTag* Icon(TKemXml& Doc, int Group, int Index) {
  return ListIcons(ListGroups(ContentsGroups(Doc))[static_cast<size_t>(Group)])[static_cast<size_t>(Index)];
}

}  // namespace

TEST(Ov3EditIcon, FieldsWrittenBackKeepWhatThePageDoesNotShow) {
  struct Case {
    const char* Name;
    const char* Icon;         // attributes of the icon
    const char* Application;  // attributes of its "application"
    std::vector<const char*> Shortcuts;
    // After reading and writing back unchanged:
    const char* Ids;       // "ids" of "application"
    const char* FileName;  // "filename" of "application"
    std::vector<const char*> Keys;
    const char* Index;  // "index" of "image"
  };
  const Case cases[] = {
      {"a program keeps its ids",
       "type=program",
       "filename=c:\\a.exe;ids=7,12",
       {"f2,ctrl"},
       "7,12",
       "c:\\a.exe",
       {"f2,ctrl"},
       "3"},
      {"a batch keeps its filename", "type=Batch", "filename=c:\\a.exe;ids=12,7", {}, "12,7", "c:\\a.exe", {}, "3"},
      // Mend: an id that no program icon has stays as it was, not the first icon's.
      {"unmatched ids are kept", "type=batch", "ids=99, 12,,x", {}, "99,12,x", "", {}, "3"},
      {"a key the table lacks is not written",
       "type=program",
       "filename=p",
       {"nosuchkey,ctrl", "a,apps"},
       "",
       "p",
       {"A,apps"},
       "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto doc = Document();
    TKemXmlTag* icon = GroupIcons(ListGroups(ContentsGroups(*doc))[0])->AddTag("icon", c.Icon);
    icon->AddTag("application", c.Application);
    icon->AddTag("image", "filename=pic.ico;index=3");
    for (const char* key : c.Shortcuts) icon->AddTag("shortcut", String("key=") + key);
    const TOvProgramIcons programs = ProgramIconsOf(ContentsGroups(*doc));
    const TOvIconFields fields = ReadIconFields(*icon, programs);
    WriteIconFields(*icon, fields, programs, [](TKemXmlTag* i) { return IconIdOf(i); });
    EXPECT_EQ(icon->ReadPathAttr("application", "ids"), c.Ids);
    EXPECT_EQ(icon->ReadPathAttr("application", "filename"), c.FileName);
    EXPECT_EQ(icon->ReadPathAttr("image", "index"), c.Index);
    std::vector<String> keys;
    for (const TKemXmlTag* s : icon->FindAll("shortcut")) keys.push_back(s->ReadAttr("key"));
    EXPECT_EQ(keys, std::vector<String>(c.Keys.begin(), c.Keys.end()));
  }
}

TEST(Ov3EditIcon, BatchRowsChooseProgramIconsAndGiveThemIds) {
  auto doc = Document();
  TKemXmlTag* batch = Icon(*doc, 0, 2);
  batch->AddTag("application", "ids=12,5");
  const TOvProgramIcons programs = ProgramIconsOf(ContentsGroups(*doc));
  ASSERT_EQ(programs.Texts, (std::vector<String>{"Editor (Main)", "Mail (Main)", "Shell (Tools)"}));
  TOvIconFields f = ReadIconFields(*batch, programs);
  ASSERT_EQ(f.Programs.size(), 2u);
  EXPECT_EQ(f.Programs[0].Entry, 2);
  EXPECT_EQ(f.Programs[1].Entry, -1);
  EXPECT_EQ(f.Programs[1].OwnId, "5");
  // Rows chosen anew: Mail has no id and gets one; a row without a choice is left out.
  f.Programs.push_back({1, ""});
  f.Programs.push_back({-1, ""});
  std::int64_t next = 40;
  WriteIconFields(*batch, f, programs, [&](TKemXmlTag* i) {
    if (IconIdOf(i) < 0) i->WriteAttr("id", IntToStr(next++));
    return IconIdOf(i);
  });
  EXPECT_EQ(batch->ReadPathAttr("application", "ids"), "12,5,40");
  EXPECT_EQ(Icon(*doc, 0, 1)->ReadAttr("id"), "40");
}

TEST(Ov3EditIcon, ReadingChangesNothingButMissingChildren) {
  auto doc = Document();
  TKemXmlTag* icon = Icon(*doc, 0, 0);
  icon->AddTag("image", "filename=x.ico;index=abc");
  const TOvIconFields f = ReadIconFields(*icon, ProgramIconsOf(ContentsGroups(*doc)));
  EXPECT_EQ(f.IconIndex, 0);
  // A cancelled dialog leaves the element as read: only "application" was made.
  EXPECT_EQ(icon->GetChildCount(), 2);
  EXPECT_EQ(icon->ReadPathAttr("image", "index"), "abc");
  EXPECT_EQ(icon->FindAll("application").size(), 1u);
}

TEST(Ov3EditIcon, FolderAndIconFollowTheProgramFile) {
  struct Case {
    const char *File, *Folder, *IconFile, *NewFile;
    bool FolderFollows, IconFollows;
    const char *FolderAfter, *IconAfter;
  };
  const Case cases[] = {
      {"C:\\Tools\\a.exe", "c:\\tools", "c:\\TOOLS\\A.EXE", "D:\\Apps\\b.exe", true, true, "D:\\Apps",
       "D:\\Apps\\b.exe"},
      {"C:\\Tools\\a.exe", "C:\\Other", "a.ico", "D:\\b.exe", false, false, "C:\\Other", "a.ico"},
      // The folder must be the file's folder or above, not a name that begins alike.
      {"C:\\Toolsx\\a.exe", "C:\\Tools", "", "D:\\b.exe", false, false, "C:\\Tools", ""},
      {"C:\\a.exe", "C:", "", "E:\\b.exe", true, false, "E:", ""},
      // A new program icon: the empty icon file is the empty program file and
      // follows; an empty folder holds no file and stays.
      {"", "", "", "D:\\Apps\\b.exe", false, true, "", "D:\\Apps\\b.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    TOvFollowFlags flags = FollowFlags(c.File, c.Folder, c.IconFile);
    EXPECT_EQ(flags.Folder, c.FolderFollows);
    EXPECT_EQ(flags.Icon, c.IconFollows);
    String folder = c.Folder, icon = c.IconFile;
    FollowFileName(flags, c.NewFile, folder, icon);
    EXPECT_EQ(folder, c.FolderAfter);
    EXPECT_EQ(icon, c.IconAfter);
    EXPECT_FALSE(flags.Folder || flags.Icon);
    FollowFileName(flags, "Z:\\z.exe", folder, icon);  // used once: a second change moves nothing
    EXPECT_EQ(folder, c.FolderAfter);
  }
}

TEST(Ov3EditIcon, IconIndexOutsideThePreviewsBecomesZero) {
  const int cases[][3] = {{3, 5, 3}, {5, 5, 0}, {-1, 5, 0}, {7, 0, 7}, {0, 1, 0}};
  for (const auto& c : cases) EXPECT_EQ(PreviewIconIndex(c[0], c[1]), c[2]) << c[0] << " of " << c[1];
}

TEST(Ov3EditIcon, PreviewsOfPicturesLibrariesAndUnreadableFiles) {
  using namespace iconwriter;
  TempDir dir;
  WriteFileAtomic(dir.file("two.icl"),
                  NeLibrary({{{SolidIcoEntry(32, 0xFF0000FFu)}}, {{SolidIcoEntry(128, 0xFFFF0000u)}}}, {"A", "B"}));
  TPNGImage png;
  png.SetPixelFormat(pf24bit);
  png.SetSize(100, 50);
  png.SaveToFile(dir.file("wide.PNG"));
  WriteFileAtomic(dir.file("bad.jpg"), "not a picture");
  WriteFileAtomic(dir.file("text.dll"), "MZ but nothing more");
  const struct {
    const char* File;
    size_t Count;
  } cases[] = {{"two.icl", 2}, {"wide.PNG", 1}, {"bad.jpg", 0}, {"text.dll", 0}, {"missing.ico", 0}, {"", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    const auto previews = MakeImagePreviews(*c.File ? dir.file(c.File) : String());
    ASSERT_EQ(previews.size(), c.Count);
    for (const auto& p : previews) EXPECT_EQ(p->Width() * p->Height(), kPreviewSize * kPreviewSize);
  }
  // The 128 pixel image is shrunk to fill the picture; the 32 pixel one sits in its middle.
  const auto previews = MakeImagePreviews(dir.file("two.icl"));
  EXPECT_EQ(previews[1]->PixelColor(2, 2), TColor(0x0000FF));
  EXPECT_EQ(previews[0]->PixelColor(32, 32), TColor(0xFF0000));
}

// A picture keeps its proportions in its preview: scaled to fit, centred, the
// rest clear; a circle in it stays round.
TEST(Ov3EditIcon, APicturesPreviewKeepsItsProportions) {
  TempDir dir;
  const struct {
    int Width, Height;
    TRect Drawn;  // what of the preview the picture covers
  } cases[] = {{200, 100, Rect(0, 16, 64, 48)}, {100, 200, Rect(16, 0, 48, 64)}, {90, 90, Rect(0, 0, 64, 64)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height));
    // White, with a black circle in the middle whose diameter is the short side's.
    TPNGImage png;
    png.SetPixelFormat(pf24bit);
    png.SetSize(c.Width, c.Height);
    const double cx = c.Width / 2.0, cy = c.Height / 2.0, r = std::min(c.Width, c.Height) / 2.0 - 0.5;
    for (int y = 0; y < c.Height; ++y)
      for (int x = 0; x < c.Width; ++x)
        png.SetPixelColor(x, y, std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r ? clBlack : clWhite);
    png.SaveToFile(dir.file("picture.png"));
    const auto previews = MakeImagePreviews(dir.file("picture.png"));
    ASSERT_EQ(previews.size(), 1u);
    const TBitmap& p = *previews[0];
    ASSERT_EQ(p.PixelFormat(), pf32bit);
    TRect drawn = Rect(kPreviewSize, kPreviewSize, 0, 0), ink = drawn;
    for (int y = 0; y < kPreviewSize; ++y)
      for (int x = 0; x < kPreviewSize; ++x) {
        const TRGBQuad q = static_cast<const TRGBQuad*>(p.ScanLine(y))[x];
        auto grow = [x, y](TRect& R) {
          R = Rect(std::min(R.Left, x), std::min(R.Top, y), std::max(R.Right, x + 1), std::max(R.Bottom, y + 1));
        };
        if (q.rgbReserved > 128) grow(drawn);
        if (q.rgbReserved > 128 && q.rgbRed < 128) grow(ink);
      }
    EXPECT_EQ(drawn, c.Drawn);
    // The circle: as wide as tall, the drawn part's height across, in its middle.
    EXPECT_NEAR(ink.Width(), ink.Height(), 1);
    EXPECT_NEAR(ink.Height(), std::min(c.Drawn.Width(), c.Drawn.Height()), 2);
    EXPECT_NEAR(ink.Left + ink.Right, 64, 1);
    EXPECT_NEAR(ink.Top + ink.Bottom, 64, 1);
  }
}
