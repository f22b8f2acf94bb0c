// Drops from another program onto the real bar: files, a shortcut made with
// IShellLinkW and an internet shortcut dropped on a group button become icons
// of that group; a web address dropped on the icons joins the group on show;
// a malformed CF_HDROP is refused and the bar goes on. Everything reaches ov3.xml.
#include <gtest/gtest.h>
#include <shobjidl.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3_folder_win.h"
#include "launcher/ov3contents.h"
#include "launcher/user_input_win.h"
#include "platform/files.h"
#include "support/data_object_win.h"

using namespace ov3test;

namespace {

struct TextSearch {
  const wchar_t* text;
  HWND found;
};

BOOL CALLBACK MatchText(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TextSearch*>(param);
  wchar_t buffer[64];
  GetWindowTextW(window, buffer, 64);
  std::wstring caption(buffer);
  std::erase(caption, L'&');
  if (caption != search->text) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindChildWithText(HWND parent, const wchar_t* text) {
  TextSearch search{text, nullptr};
  EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

POINT CentreOf(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A drag from this process that ends with a drop at the point; the effect.
DWORD DragTo(POINT point, testdnd::DataObject& data) {
  SetCursorPos(point.x, point.y);
  testdnd::DropSource source;
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
  return effect;
}

void MakeShellLink(const std::wstring& link, const std::wstring& target) {
  IShellLinkW* shellLink = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                             reinterpret_cast<void**>(&shellLink)),
            S_OK);
  shellLink->SetPath(target.c_str());
  IPersistFile* file = nullptr;
  ASSERT_EQ(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  EXPECT_EQ(file->Save(link.c_str(), TRUE), S_OK);
  file->Release();
  shellLink->Release();
}

std::vector<std::vector<String>> IconTitles(const String& contents) {
  TKemXml doc;
  doc.LoadFromFile(contents);
  std::vector<std::vector<String>> groups;
  for (TKemXmlTag* group : ListGroups(ContentsGroups(doc))) {
    groups.emplace_back();
    for (TKemXmlTag* icon : ListIcons(group)) groups.back().push_back(icon->ReadAttr("title"));
  }
  return groups;
}

}  // namespace

TEST(Ov3DropProcess, DroppedFilesShortcutsAndAddressesBecomeIcons) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  Ov3Folder folder;
  const std::filesystem::path dir(folder.Folder());
  const std::wstring tool = (dir / L"my tool.exe").wstring();
  std::filesystem::copy_file(dir / L"ov3.exe", tool);
  const std::wstring link = (dir / L"Editor.lnk").wstring();
  MakeShellLink(link, tool);
  const std::wstring url = (dir / L"Example Site.url").wstring();
  WriteFileAtomic(folder.File("Example Site.url"), "[InternetShortcut]\r\nURL=https://example.org/\r\n");
  const String contents = folder.File("ov3.xml");
  WriteFileAtomic(contents,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups>"
                  "<group title=\"Main\"><icons/></group><group title=\"Web\"><icons/></group>"
                  "</groups></ov3contents>\n");
  // The editor that a single dropped icon opens first is the editors' tests' business.
  WriteFileAtomic(folder.File("ov3.ini"), "[Version]\r\nCurrent=3.3.9\r\n[Icons]\r\nShow drop dialog=no\r\n");

  testproc::ChildProcess bar(folder.Exe(), L"", folder.Folder());
  ASSERT_TRUE(bar.Started());
  HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  (void)bar.Wait(800);
  HWND web = FindChildWithText(window, L"Web");
  ASSERT_NE(web, nullptr);

  testdnd::DataObject files;
  files.Offer(CF_HDROP, testdnd::DropFiles({tool, link, url}));
  EXPECT_EQ(DragTo(CentreOf(web), files), static_cast<DWORD>(DROPEFFECT_COPY));
  (void)bar.Wait(300);

  // A web address on the bar away from the buttons: the group on show. Its
  // host lies outside the code page: the 8-bit forms hold "?" for it.
  const std::wstring wideAddress = L"https://\u043f\u0440\u0438\u043c\u0435\u0440.example/x/y";
  testdnd::DataObject address;
  address.Offer("UniformResourceLocator", "https://??????.example/x/y")
      .Offer(CF_TEXT, "https://??????.example/x/y")
      .Offer("UniformResourceLocatorW",
             std::string(reinterpret_cast<const char*>(wideAddress.c_str()), (wideAddress.size() + 1) * 2));
  HWND main = FindChildWithText(window, L"Main");
  ASSERT_NE(main, nullptr);
  POINT panel = CentreOf(window);
  RECT mainRect;
  GetWindowRect(main, &mainRect);
  if (panel.y >= mainRect.top && panel.y < mainRect.bottom) panel.y = mainRect.bottom + 8;  // below the buttons
  EXPECT_EQ(DragTo(panel, address), static_cast<DWORD>(DROPEFFECT_COPY));
  (void)bar.Wait(300);

  // A malformed drop is refused and nothing the bar holds is lost.
  std::string bad = testdnd::DropFiles({tool});
  bad.replace(0, 4, "\xF0\xFF\xFF\x7F");  // the name list lies far beyond the block
  testdnd::DataObject malformed;
  malformed.Offer(CF_HDROP, bad);
  EXPECT_EQ(DragTo(CentreOf(web), malformed), static_cast<DWORD>(DROPEFFECT_NONE));
  (void)bar.Wait(300);

  EXPECT_EQ(CloseBar(bar, window), 0);
  EXPECT_EQ(IconTitles(contents),
            (std::vector<std::vector<String>>{{"\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.example"},
                                              {"My Tool", "Editor", "Example Site"}}));
  TKemXml doc;
  doc.LoadFromFile(contents);
  const auto web0 = ListIcons(ListGroups(ContentsGroups(doc))[1]);
  ASSERT_EQ(web0.size(), 3u);
  EXPECT_EQ(web0[2]->FindPath("application")->ReadAttr("filename"), "https://example.org/");
  OleUninitialize();
}

// A single dropped file opens the icon editor first (setting 212). The drop is
// still running while it shows, and the keys a user types must reach it: a
// second thread types as the user would, while this one waits in the drag.
TEST(Ov3DropProcess, TheEditorOfASingleDropTakesTheKeys) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  Ov3Folder folder;
  const std::filesystem::path dir(folder.Folder());
  const std::wstring tool = (dir / L"tool.exe").wstring();
  std::filesystem::copy_file(dir / L"ov3.exe", tool);
  const String contents = folder.File("ov3.xml");
  WriteFileAtomic(contents,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups>"
                  "<group title=\"Main\"><icons/></group></groups></ov3contents>\n");
  testproc::ChildProcess bar(folder.Exe(), L"", folder.Folder());
  ASSERT_TRUE(bar.Started());
  HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  (void)bar.Wait(800);
  HWND main = FindChildWithText(window, L"Main");
  ASSERT_NE(main, nullptr);

  for (WORD answer : {VK_RETURN, VK_ESCAPE}) {
    SCOPED_TRACE(answer == VK_RETURN ? "typed and confirmed" : "cancelled");
    std::atomic<bool> foreground{false}, typed{false};
    std::thread user([&] {
      HWND editor = nullptr;
      for (int i = 0; i < 150 && !(editor && IsWindowVisible(editor)); ++i) {
        Sleep(100);
        editor = FindWindowW(L"TOrvForm", L"Edit icon");
      }
      if (!editor) return;
      Sleep(500);  // as long as a user takes to look
      foreground = GetForegroundWindow() == editor;
      Type(L"Dropped");
      Press(answer);
      typed = true;
    });
    testdnd::DataObject file;
    file.Offer(CF_HDROP, testdnd::DropFiles({tool}));
    const DWORD effect = DragTo(CentreOf(main), file);
    user.join();
    ASSERT_TRUE(typed);
    EXPECT_TRUE(foreground);
    EXPECT_EQ(effect, static_cast<DWORD>(answer == VK_RETURN ? DROPEFFECT_COPY : DROPEFFECT_NONE));
    for (int i = 0; i < 40 && FindWindowW(L"TOrvForm", L"Edit icon"); ++i) (void)bar.Wait(100);
  }
  EXPECT_EQ(CloseBar(bar, window), 0);
  EXPECT_EQ(IconTitles(contents), (std::vector<std::vector<String>>{{"Dropped"}}));
  OleUninitialize();
}
