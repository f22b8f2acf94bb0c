// Drops from another program onto the real bar: files, a shortcut made with
// IShellLinkW and an internet shortcut dropped on a group button become icons
// of that group; a web address dropped on the icons joins the group on show;
// a malformed CF_HDROP is refused and the bar goes on. Everything reaches ov3.xml.
// The bar answers messages while it takes drops of any size.
#include <gtest/gtest.h>
#include <shobjidl.h>

#include <algorithm>
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

// Whether a drop on the window reaches a drop target: one registered on it
// or on a window it lies in.
bool TakesDrops(HWND window) {
  for (HWND w = window; w; w = GetParent(w))
    if (GetPropW(w, L"OleDropTargetInterface")) return true;
  return false;
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

// Contents of the named empty groups, and settings without the drop dialog
// unless the test wants it.
String WriteGroups(Ov3Folder& folder, std::initializer_list<const char*> titles, bool dropDialog = true) {
  std::string groups;
  for (const char* title : titles) groups += std::string("<group title=\"") + title + "\"><icons/></group>";
  const String contents = folder.File("ov3.xml");
  WriteFileAtomic(contents, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups>" + groups +
                                "</groups></ov3contents>\n");
  if (!dropDialog)
    WriteFileAtomic(folder.File("ov3.ini"), "[Version]\r\nCurrent=3.3.9\r\n[Icons]\r\nShow drop dialog=no\r\n");
  return contents;
}

// The bar's group button of that title, once it takes drops.
HWND GroupTakingDrops(HWND window, const wchar_t* title) {
  HWND button = nullptr;
  testproc::WaitUntil([&] { return (button = FindChildWithText(window, title)) && TakesDrops(button); });
  return button;
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
  // The editor that a single dropped icon opens first is the editors' tests' business.
  const String contents = WriteGroups(folder, {"Main", "Web"}, false);

  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  HWND web = GroupTakingDrops(window, L"Web");
  ASSERT_NE(web, nullptr);

  testdnd::DataObject files;
  files.Offer(CF_HDROP, testdnd::DropFiles({tool, link, url}));
  EXPECT_EQ(DragTo(CentreOf(web), files), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_TRUE(bar.Answers());

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
  EXPECT_TRUE(bar.Answers());

  // A malformed drop is refused and nothing the bar holds is lost.
  std::string bad = testdnd::DropFiles({tool});
  bad.replace(0, 4, "\xF0\xFF\xFF\x7F");  // the name list lies far beyond the block
  testdnd::DataObject malformed;
  malformed.Offer(CF_HDROP, bad);
  EXPECT_EQ(DragTo(CentreOf(web), malformed), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_TRUE(bar.Answers());

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

// A single dropped file opens the icon editor first (ovsShowDropDialog), once the
// drop is over: the program the file came from goes on while the editor shows
// (an editor inside the drop held it until it closed). The keys a user types
// reach the editor: a second thread types as the user would.
TEST(Ov3DropProcess, TheEditorOfASingleDropOpensOnceTheDropIsOver) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  Ov3Folder folder;
  const std::filesystem::path dir(folder.Folder());
  const std::wstring tool = (dir / L"tool.exe").wstring();
  std::filesystem::copy_file(dir / L"ov3.exe", tool);
  const String contents = WriteGroups(folder, {"Main"});
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  HWND main = GroupTakingDrops(window, L"Main");
  ASSERT_NE(main, nullptr);

  for (WORD answer : {VK_RETURN, VK_ESCAPE}) {
    SCOPED_TRACE(answer == VK_RETURN ? "typed and confirmed" : "cancelled");
    std::atomic<bool> dropped{false}, droppedWhileShown{false}, foreground{false}, typed{false};
    std::thread user([&] {
      HWND editor = nullptr;
      if (!testproc::WaitUntil(
              [&] { return (editor = FindWindowW(L"TOrvForm", L"Edit icon")) && IsWindowVisible(editor); }))
        return;
      // The drag has returned while the editor still shows; an editor inside
      // the drop is answered all the same, so the drag can end.
      droppedWhileShown = testproc::WaitUntil([&] { return dropped.load(); }, 5000) && IsWindowVisible(editor);
      // The user types once the editor is in front with a control of it focused.
      foreground = testproc::WaitUntil([&] {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        return GetForegroundWindow() == editor &&
               GetGUIThreadInfo(GetWindowThreadProcessId(editor, nullptr), &thread) &&
               IsChild(editor, thread.hwndFocus);
      });
      Type(L"Dropped");
      Press(answer);
      typed = true;
    });
    testdnd::DataObject file;
    file.Offer(CF_HDROP, testdnd::DropFiles({tool}));
    // What the drop will make, told before the editor is answered.
    EXPECT_EQ(DragTo(CentreOf(main), file), static_cast<DWORD>(DROPEFFECT_COPY));
    dropped = true;
    user.join();
    ASSERT_TRUE(typed);
    EXPECT_TRUE(droppedWhileShown);
    EXPECT_TRUE(foreground);
    testproc::WaitUntil([] { return !FindWindowW(L"TOrvForm", L"Edit icon"); });
  }
  EXPECT_EQ(CloseBar(bar, window), 0);
  EXPECT_EQ(IconTitles(contents), (std::vector<std::vector<String>>{{"Dropped"}}));
  OleUninitialize();
}

namespace {

// Another thread asks the bar with WM_NULL, one question after another, and
// keeps the longest wait for an answer.
class Pinger {
 public:
  explicit Pinger(HWND window)
      : thread_([this, window] {
          while (!stop_) {
            const ULONGLONG start = GetTickCount64();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
            longest_ = std::max<ULONGLONG>(longest_, GetTickCount64() - start);
            Sleep(20);
          }
        }) {}
  ULONGLONG Stop() {
    stop_ = true;
    thread_.join();
    return longest_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<ULONGLONG> longest_{0};
  std::thread thread_;
};

}  // namespace

// Whatever a drop holds, the bar answers within a second while it takes it:
// a thousand icons of one drop held it for 2.3 s making their pictures.
TEST(Ov3DropProcess, TheBarAnswersThroughLargeDrops) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  Ov3Folder folder;
  const std::filesystem::path dir(folder.Folder());
  const std::wstring tool = (dir / L"tool.exe").wstring();
  std::filesystem::copy_file(dir / L"ov3.exe", tool);
  const String contents = WriteGroups(folder, {"Main"}, false);
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  HWND main = GroupTakingDrops(window, L"Main");
  ASSERT_NE(main, nullptr);

  const auto wide = [](const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
  };
  const auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  testdnd::DataObject programs, names, idLists, address;
  programs.Offer(CF_HDROP, testdnd::DropFiles(std::vector<std::wstring>(20000, tool)));
  // As many as fit the largest block a drop may hand over.
  std::vector<std::wstring> shortNames;
  for (int i = 0; i < 200000; ++i) shortNames.push_back(L"C:\\x\\" + std::to_wstring(i) + L".txt");
  names.Offer(CF_HDROP, testdnd::DropFiles(shortNames));
  // 8,000 offsets naming one 32 KiB list.
  constexpr std::uint32_t n = 7999;
  std::string block = u32(n);
  for (std::uint32_t i = 0; i <= n; ++i) block += u32(4 + 4 * (n + 1));
  for (int i = 0; i < 100; ++i) block += std::string("\x40\x01", 2) + std::string(318, 'p');
  idLists.Offer("Shell IDList Array", block.append(2, '\0'));
  const std::wstring url = L"https://example.org/" + std::wstring(8 * 1024 * 1024 - 40, L'a');
  address.Offer("UniformResourceLocatorW", wide(url)).Offer(CF_UNICODETEXT, wide(url));

  const std::pair<const char*, testdnd::DataObject*> drops[] = {
      {"20,000 programs", &programs}, {"200,000 names", &names}, {"ID lists", &idLists}, {"address", &address}};
  for (const auto& [what, data] : drops) {
    SCOPED_TRACE(what);
    Pinger pinger(window);
    (void)DragTo(CentreOf(main), *data);
    // Past the drop: its pictures, and the note on a cut drop. A drop that
    // is not cut shows none: then these three seconds are a time in which
    // the bar must go on answering.
    HWND note = nullptr;
    testproc::WaitUntil([&] { return (note = FindWindowW(L"TOrvForm", L"Too many files")) != nullptr; }, 3000);
    EXPECT_LT(pinger.Stop(), 1000u);
    if (!note) continue;
    PostMessageW(note, WM_CLOSE, 0, 0);
    testproc::WaitUntil([] { return !FindWindowW(L"TOrvForm", L"Too many files"); }, 30000);
  }

  // The address was too long for an icon, and a note of its own said so.
  HWND refused = nullptr;
  testproc::WaitUntil([&] { return (refused = FindWindowW(L"TOrvForm", L"Address too long")) != nullptr; });
  ASSERT_NE(refused, nullptr);
  PostMessageW(refused, WM_CLOSE, 0, 0);
  EXPECT_TRUE(testproc::WaitUntil([] { return !FindWindowW(L"TOrvForm", L"Address too long"); }));
  EXPECT_EQ(CloseBar(bar, window), 0);
  // Every icon the drops made got its picture, or was found to have none.
  TKemXml doc;
  doc.LoadFromFile(contents);
  const auto icons = ListIcons(ListGroups(ContentsGroups(doc))[0]);
  EXPECT_EQ(icons.size(), 2000u);
  EXPECT_EQ(
      std::count_if(icons.begin(), icons.end(), [](TKemXmlTag* icon) { return icon->ReadAttr("cacheindex").empty(); }),
      0);
  EXPECT_NE(icons.front()->ReadAttr("cacheindex"), "-1");
  OleUninitialize();
}
