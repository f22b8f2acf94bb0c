// A drop target registered on a test window and driven through its
// IDropTarget with data objects of our own: files, a shortcut made with
// IShellLinkW, an internet shortcut, a web address and a malformed CF_HDROP.
#include "kem3/dragdrop/droptarget_win.h"

#include <gtest/gtest.h>
#include <shobjidl.h>

#include <filesystem>

#include "kem3/dragdrop/dataformatadapter.h"
#include "kem3/dragdrop/dragdropfile.h"
#include "kem3/dragdrop/dragdropinternet.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "support/data_object_win.h"
#include "support/temp_dir.h"
#include "support/wait_win.h"

namespace {

// A list with a vertical scroll bar that counts the lines it is scrolled.
class ScrollList : public TWinControl {
 public:
  using TWinControl::TWinControl;
  int LinesDown = 0;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.Style |= WS_VSCROLL;
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_VSCROLL && LOWORD(Message.WParam) == SB_LINEDOWN) ++LinesDown;
    TWinControl::WndProc(Message);
  }
};

void PumpFor(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  }
}

class DropTargetTest : public testing::Test {
 protected:
  void SetUp() override {
    form = new TQuietForm(nullptr);
    form->SetBounds(120, 120, 320, 200);
    form->Show();
    target = new TDropTextTarget(form);
    for (const char* name : {"TFileDataFormat", "TURLDataFormat"}) {
      auto* adapter = new TDataFormatAdapter(form);
      adapter->SetDragDropComponent(target);
      adapter->SetDataFormatName(name);
      adapter->SetEnabled(true);
      (std::string(name) == "TFileDataFormat" ? files : url) = adapter;
    }
    target->OnDrop = [this](TObject*, TShiftState, TPoint, std::uint32_t&) {
      ++drops;
      dropped = static_cast<TFileDataFormat*>(files->DataFormat())->Files();
      droppedUrl = static_cast<TURLDataFormat*>(url->DataFormat())->URL;
      if (throwOnDrop) throw Exception("handler failed");
    };
    target->OnLeave = [this](TObject*) { ++leaves; };
    target->Register(form);
  }
  void TearDown() override { form->Free(); }

  POINTL Inside() {
    const TPoint p = form->ClientToScreen({40, 40});
    return POINTL{p.X, p.Y};
  }
  // A whole drag: enter, one move, drop. The effect the drop reported.
  DWORD Drag(testdnd::DataObject& data, DWORD keys = MK_LBUTTON,
             DWORD offered = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK) {
    IDropTarget* drop = target->DropTargetInterface();
    DWORD effect = offered;
    EXPECT_EQ(drop->DragEnter(&data, keys, Inside(), &effect), S_OK);
    effect = offered;
    drop->DragOver(keys, Inside(), &effect);
    effect = offered;
    dropResult = drop->Drop(&data, keys, Inside(), &effect);
    return effect;
  }

  TAppScope app;
  TQuietForm* form = nullptr;
  TDropTextTarget* target = nullptr;
  TDataFormatAdapter* files = nullptr;
  TDataFormatAdapter* url = nullptr;
  int drops = 0;
  int leaves = 0;
  std::vector<WideString> dropped;
  String droppedUrl;
  bool throwOnDrop = false;
  HRESULT dropResult = S_OK;
};

TEST_F(DropTargetTest, FilesShortcutsAndWebAddressesReachTheHandler) {
  TempDir dir;
  WriteFileAtomic(dir.file("Site.url"), "[InternetShortcut]\r\nURL=https://example.org/a\r\n");
  const std::wstring urlFile = (dir.path() / L"Site.url").wstring();
  // A shell link of our own making.
  const std::wstring link = std::filesystem::path(dir.path() / L"Tool.lnk").wstring();
  {
    IShellLinkW* shellLink = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&shellLink)),
              S_OK);
    shellLink->SetPath(L"C:\\windows\\notepad.exe");
    IPersistFile* file = nullptr;
    ASSERT_EQ(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
    EXPECT_EQ(file->Save(link.c_str(), TRUE), S_OK);
    file->Release();
    shellLink->Release();
  }
  const std::wstring odd = L"C:\\t\u00e4st\\\u4e2d\u6587.exe";
  struct Case {
    const char* what;
    testdnd::DataObject data;
    std::vector<std::wstring> files;
    String url;
  } cases[] = {
      {"files, names outside the code page",
       testdnd::DataObject().Offer(CF_HDROP, testdnd::DropFiles({odd, L"C:\\b.txt"})),
       {odd, L"C:\\b.txt"},
       ""},
      {"a shell link", testdnd::DataObject().Offer(CF_HDROP, testdnd::DropFiles({link})), {link}, ""},
      {"an internet shortcut",
       testdnd::DataObject().Offer(CF_HDROP, testdnd::DropFiles({urlFile})),
       {urlFile},
       "https://example.org/a"},
      {"a web address",
       testdnd::DataObject().Offer("UniformResourceLocator", "https://host/x").Offer(CF_TEXT, "https://host/x"),
       {},
       "https://host/x"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    drops = 0;
    EXPECT_EQ(Drag(c.data), static_cast<DWORD>(DROPEFFECT_COPY));  // copy and link only; no key: copy
    EXPECT_EQ(dropResult, S_OK);
    EXPECT_EQ(drops, 1);
    std::vector<WideString> expected;
    for (const std::wstring& f : c.files) expected.emplace_back(reinterpret_cast<const char16_t*>(f.c_str()));
    EXPECT_EQ(dropped, expected);
    EXPECT_EQ(droppedUrl, c.url);
    EXPECT_EQ(c.data.Written("Performed DropEffect"), DROPEFFECT_COPY);
    EXPECT_EQ(c.data.References(), 1);  // every reference given back
  }
}

TEST_F(DropTargetTest, MalformedOrHostileDropsAreRefusedWithoutACrash) {
  std::string bad = testdnd::DropFiles({L"C:\\a"});
  bad[0] = static_cast<char>(0xF0);  // the name list lies beyond the block
  testdnd::DataObject malformed;
  malformed.Offer(CF_HDROP, bad);
  EXPECT_EQ(Drag(malformed), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(drops, 0);
  EXPECT_EQ(malformed.Written("Performed DropEffect"), -1);
  EXPECT_EQ(leaves, 1);  // a refused drop ends the drag for the handlers too

  testdnd::DataObject nothing;
  nothing.Offer("Some Other Format", "x");
  IDropTarget* drop = target->DropTargetInterface();
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(drop->DragEnter(&nothing, MK_LBUTTON, Inside(), &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  effect = DROPEFFECT_COPY;
  drop->DragOver(MK_LBUTTON, Inside(), &effect);  // without data: no effect
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(drop->DragLeave(), S_OK);

  // An exception in a handler leaves no method: E_UNEXPECTED, no effect, nothing held.
  throwOnDrop = true;
  testdnd::DataObject good;
  good.Offer(CF_HDROP, testdnd::DropFiles({L"C:\\a"}));
  EXPECT_EQ(Drag(good), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(dropResult, E_UNEXPECTED);
  EXPECT_EQ(good.References(), 1);
  EXPECT_EQ(leaves, 3);
}

// Hands out First, then a format no data format takes, for ever, counting the calls.
class EndlessFormats : public IEnumFORMATETC {
 public:
  explicit EndlessFormats(CLIPFORMAT First) : first_(First) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumFORMATETC)) {
      *object = static_cast<IEnumFORMATETC*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Next(ULONG, FORMATETC* out, ULONG* fetched) override {
    const CLIPFORMAT other = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Orvanel Test Other"));
    *out = FORMATETC{Nexts++ == 0 && first_ ? first_ : other, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (fetched) *fetched = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC**) override { return E_NOTIMPL; }
  int Nexts = 0;

 private:
  CLIPFORMAT first_;
};

class EndlessDataObject : public testdnd::DataObject {
 public:
  explicit EndlessDataObject(CLIPFORMAT First) : formats(First) {}
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override {
    *out = &formats;
    return S_OK;
  }
  EndlessFormats formats;
};

// Every Next of another program's enumerator is a call across processes: the
// enter stops at the first format the target takes, and a list that never
// ends is followed no further than any data object's list goes.
TEST_F(DropTargetTest, AnEndlessFormatListIsFollowedOnlyAsFarAsNeeded) {
  struct Case {
    const char* what;
    CLIPFORMAT first;
    DWORD effect;
    int nexts;
  } cases[] = {
      {"a file list first", CF_HDROP, DROPEFFECT_COPY, 1},
      {"nothing the target takes", 0, DROPEFFECT_NONE, kMaxOfferedFormats},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EndlessDataObject data(c.first);
    data.Offer(CF_HDROP, testdnd::DropFiles({L"C:\\a"}));
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DropTargetInterface()->DragEnter(&data, MK_LBUTTON, Inside(), &effect), S_OK);
    EXPECT_EQ(effect, c.effect);
    EXPECT_EQ(data.formats.Nexts, c.nexts);
    EXPECT_EQ(target->DropTargetInterface()->DragLeave(), S_OK);
  }
}

TEST_F(DropTargetTest, EffectsFollowTheKeysAndAMoveIsReportedAsCopy) {
  testdnd::DataObject data;
  data.Offer(CF_HDROP, testdnd::DropFiles({L"C:\\a"}));
  EXPECT_EQ(Drag(data, MK_LBUTTON | MK_SHIFT | MK_CONTROL), static_cast<DWORD>(DROPEFFECT_LINK));
  EXPECT_EQ(Drag(data, MK_LBUTTON | MK_CONTROL), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(Drag(data, MK_LBUTTON, DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_NONE));
  target->DragTypes = TDragTypes{dtCopy, dtMove, dtLink};
  target->OptimizedMove = true;
  EXPECT_EQ(Drag(data, MK_LBUTTON, DROPEFFECT_MOVE | DROPEFFECT_COPY), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(data.Written("Performed DropEffect"), DROPEFFECT_COPY);
}

TEST_F(DropTargetTest, AChildFindsItselfAndAPointerInItsMarginScrollsIt) {
  auto* list = new ScrollList(form);
  list->SetBounds(10, 10, 200, 150);
  list->SetParent(form);
  target->MultiTarget = true;
  target->Register(list);
  ASSERT_EQ(target->Targets(), (std::vector<TWinControl*>{form, list}));  // right after its parent
  int scrollCalls = 0;
  bool stop = false;
  target->OnScroll = [&](TObject*, TPoint, TScrolDirections& Scroll, unsigned&) {
    ++scrollCalls;
    if (stop) Scroll = TScrolDirections();
  };
  testdnd::DataObject data;
  data.Offer(CF_HDROP, testdnd::DropFiles({L"C:\\a"}));
  const TPoint p = list->ClientToScreen({100, list->ClientRect().Bottom - 2});
  const POINTL margin{p.X, p.Y};
  IDropTarget* drop = target->DropTargetInterface();
  DWORD effect = DROPEFFECT_COPY;
  ASSERT_EQ(drop->DragEnter(&data, MK_LBUTTON, margin, &effect), S_OK);
  EXPECT_EQ(target->Target(), list);
  EXPECT_EQ(effect, DROPEFFECT_COPY | DROPEFFECT_SCROLL);
  effect = DROPEFFECT_COPY;
  drop->DragOver(MK_LBUTTON, margin, &effect);
  // However many ticks a loaded machine delivers, the scrolling goes on.
  EXPECT_TRUE(testproc::WaitUntil([&] { return list->LinesDown >= 2; }));
  EXPECT_GE(list->LinesDown, 2);
  stop = true;
  const int before = scrollCalls;
  ASSERT_TRUE(testproc::WaitUntil([&] { return scrollCalls > before; }));
  const int lines = list->LinesDown, calls = scrollCalls;
  PumpFor(200);                       // a time in which nothing may happen: several ticks of a running scroll
  EXPECT_EQ(list->LinesDown, lines);  // a handler that clears the directions stops it
  EXPECT_EQ(scrollCalls, calls);
  EXPECT_EQ(drop->DragLeave(), S_OK);
}

TEST_F(DropTargetTest, RegistrationFollowsTheWindowAndEndsWithTheComponent) {
  testdnd::DataObject data;
  data.Offer(CF_HDROP, testdnd::DropFiles({L"C:\\a"}));
  IDropTarget* other = target->DropTargetInterface();
  // Registered: a second registration is refused; re-created: still registered.
  EXPECT_EQ(RegisterDragDrop(form->Handle(), other), DRAGDROP_E_ALREADYREGISTERED);
  form->RecreateWnd();
  EXPECT_EQ(RegisterDragDrop(form->Handle(), other), DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_EQ(Drag(data), static_cast<DWORD>(DROPEFFECT_COPY));
  target->Unregister(form);
  EXPECT_EQ(RegisterDragDrop(form->Handle(), other), S_OK);
  EXPECT_EQ(RevokeDragDrop(form->Handle()), S_OK);

  // OLE may still hold the interface after the component is gone: it answers E_UNEXPECTED.
  IDropTarget* held = target->DropTargetInterface();
  held->AddRef();
  target->Free();
  DWORD effect = DROPEFFECT_COPY;
  EXPECT_EQ(held->DragEnter(&data, MK_LBUTTON, Inside(), &effect), E_UNEXPECTED);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  held->Release();
  EXPECT_EQ(data.References(), 1);
}

}  // namespace
