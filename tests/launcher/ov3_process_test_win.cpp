// ov3.exe as a user starts it: in a folder of its own, once and twice, with
// contents files old and new.
#include <gtest/gtest.h>

#include <filesystem>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3_folder_win.h"
#include "launcher/ov3contents.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"

using namespace ov3test;

namespace fs = std::filesystem;

namespace {

String DefaultContentsText() {
  TKemXml doc("", 0, false, kContentsBufferSize);
  CreateDefaultContents(doc);
  return doc.SaveToString();
}

}  // namespace

TEST(Ov3Process, FirstStartShowsABorderlessBarAndWritesTheDefaultContents) {
  Ov3Folder folder;
  testproc::ChildProcess bar(folder.Exe(), L"", folder.Folder());
  ASSERT_TRUE(bar.Started());
  // The splash shows while the bar is made; the bar's first show ends it.
  HWND splash = nullptr;
  testproc::WaitUntil([&] { return (splash = FindWindowW(L"TOrvSplash", nullptr)) || bar.WaitForWindow(0); });
  HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  EXPECT_NE(splash, nullptr) << "seen during start-up";
  EXPECT_FALSE(IsWindow(splash) && IsWindowVisible(splash)) << "gone once the bar shows";

  LONG style = GetWindowLongW(window, GWL_STYLE);
  LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_EQ(exStyle & WS_EX_APPWINDOW, 0);
  // Owned by the application's hidden window: no taskbar button of its own.
  HWND owner = GetWindow(window, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));

  ASSERT_TRUE(FileExists(folder.File("ov3.xml")));
  EXPECT_EQ(ReadFileBytes(folder.File("ov3.xml")), DefaultContentsText());
  EXPECT_EQ(CloseBar(bar, window), 0);
}

TEST(Ov3Process, ASecondStartHandsOverToTheFirstAndEndsWithCodeZero) {
  Ov3Folder folder;
  RunningBar first(folder);
  HWND window = first.Window();
  ASSERT_NE(window, nullptr);

  testproc::ChildProcess second(folder.Exe(), L"some arguments", folder.Folder());
  ASSERT_TRUE(second.Started());
  EXPECT_EQ(second.Wait(15000), 0);
  // The first instance comes to the front as it answers.
  testproc::WaitUntil([&] { return GetForegroundWindow() == window; });

  // The first instance answered the wake-up: it wrote its own window handle.
  String handle = ReadFileBytes(folder.File("ov3.hnd"));
  ASSERT_EQ(handle.size(), 4u);
  auto value = static_cast<std::uint32_t>(
      static_cast<unsigned char>(handle[0]) | static_cast<unsigned char>(handle[1]) << 8 |
      static_cast<unsigned char>(handle[2]) << 16 | static_cast<unsigned char>(handle[3]) << 24);
  EXPECT_EQ(value, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)));
  EXPECT_EQ(GetForegroundWindow(), window);

  EXPECT_EQ(CloseBar(first, window), 0);
  // The handle file goes with the instance that wrote it.
  EXPECT_FALSE(FileExists(folder.File("ov3.hnd")));
}

TEST(Ov3Process, OddTitlesSurviveEveryStartInBothEncodings) {
  const String title = "<Games> & \"Ünïcødé\" 日本 \\ 🎮";
  for (const char* encoding : {"iso-8859-1", "utf-8"}) {
    Ov3Folder folder;
    {
      TKemXml doc("", 0, false, kContentsBufferSize);
      doc.LoadFromString(String("<?xml version=\"1.0\" encoding=\"") + encoding + "\" ?>\r\n");
      CreateDefaultContents(doc);
      TKemXmlTag* group = ListGroups(ContentsGroups(doc)).at(0);
      group->WriteAttr("title", title);
      TKemXmlTag* icon = GroupIcons(group, true)->AddTag("icon", "");
      icon->WriteAttr("title", title);
      icon->WriteAttr("id", "1");
      SaveContents(doc, folder.File("ov3.xml"));
    }
    for (int start = 0; start < 3; ++start) {
      RunningBar bar(folder);
      HWND window = bar.Window();
      ASSERT_NE(window, nullptr);
      ASSERT_EQ(CloseBar(bar, window), 0);
    }
    std::unique_ptr<TKemXml> doc = OpenContentsDocument(folder.File("ov3.xml"));
    TKemXmlTag* group = ListGroups(ContentsGroups(*doc)).at(0);
    EXPECT_EQ(group->ReadAttr("title"), title) << encoding;
    EXPECT_EQ(ListIcons(group).at(0)->ReadAttr("title"), title) << encoding;
    EXPECT_FALSE(FileExists(folder.File("ov3.xml.bad"))) << encoding;
  }
}

TEST(Ov3Process, StartsAndRunsWithoutTheHookLibrary) {
  Ov3Folder folder;
  fs::remove(fs::path(folder.Folder()) / L"kem3.dll");
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(FileExists(folder.File("ov3.xml")));
  EXPECT_EQ(CloseBar(bar, window), 0);
}

// A hand-edited contents file with one "<" in a title: the bar shows the
// icons before it and tells which file it set aside, where its copy is, and
// the line to mend.
TEST(Ov3Process, AContentsFileSetAsideIsToldWithItsLine) {
  Ov3Folder folder;
  String contents = "<?xml version=\"1.0\"?>\n<ov3contents><groups><group title=\"Main\"><icons>\n";
  for (int i = 1; i <= 23; ++i)
    contents += "<icon title=\"" + String(i == 2 ? "Mail <work" : "Icon") + "\" id=\"" + std::to_string(i) + "\"/>\n";
  contents += "</icons></group></groups></ov3contents>\n";
  WriteFileAtomic(folder.File("ov3.xml"), contents);
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  HWND box = nullptr;
  testproc::WaitUntil([&] { return (box = FindWindowW(L"#32770", L"Orvanel")) != nullptr; });
  ASSERT_NE(box, nullptr) << "the file set aside is told";
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  const std::wstring told(text);
  const std::wstring file = (fs::path(folder.Folder()) / L"ov3.xml").wstring();
  const auto utf8 = [&] { return WideToUtf8(std::u16string(told.begin(), told.end())); };
  EXPECT_NE(told.find(file + L" could not be read"), std::wstring::npos) << utf8();
  EXPECT_NE(told.find(L"line 4"), std::wstring::npos) << utf8();
  EXPECT_NE(told.find(file + L".bad"), std::wstring::npos) << utf8();
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(testproc::WaitUntil([] { return !FindWindowW(L"#32770", L"Orvanel"); }));
  EXPECT_EQ(CloseBar(bar, window), 0);
  EXPECT_EQ(ReadFileBytes(folder.File("ov3.xml.bad")), contents);
}
