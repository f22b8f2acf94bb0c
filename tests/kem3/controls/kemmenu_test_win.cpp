// The popup menu on real windows: driven by posted hook messages and keys,
// the chosen action after the menus hid, the plain check mark and submenu
// triangle, the monitor's edge, a button's drop-down, and once by the real
// hook library.
#include "kem3/controls/kemmenu_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "kem3/controls/kembut_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/graphics/vosskinlist.h"
#include "platform/app_scope_win.h"
#include "platform/keys.h"
#include "platform/sysutils.h"
#include "support/process_win.h"

namespace {

// Handles what is queued. A menu's own work comes by posted messages, ours
// or those the hook library posts from the driver before it ends, and no
// timer: one round handles it all, with nothing to wait for.
void Pump() { Application->ProcessMessages(); }

void Hook(TKemMenu* Menu, int Kind, int Area) {
  PostMessageW(Menu->Handle(), WM_MOUSEHOOK, static_cast<WPARAM>(Kind), static_cast<LPARAM>(Area));
  Pump();
}

void Key(TKemMenu* Menu, WORD VirtualKey) {
  SendMessageW(Menu->Handle(), WM_KEYDOWN, VirtualKey, 0);
  Pump();
}

bool Highlighted(TKemMenu* Menu, int Index) {
  auto* item = dynamic_cast<TKemMenuItem*>(Menu->GetEntry(Index));
  return item && item->Highlighted();
}

// Main: "Open" (checked, Ctrl+O), separator, "More" (submenu), "Off" (disabled).
// Sub: "Alpha", "Beta".
struct TMenus {
  TAppScope app;
  TCustomAction* open = new TCustomAction(Application);
  TCustomAction* off = new TCustomAction(Application);
  TCustomAction* alpha = new TCustomAction(Application);
  TCustomAction* beta = new TCustomAction(Application);
  TKemMenu* sub = CreateSkinnedMenu(Application, "sub", nullptr);
  TKemMenu* main = CreateSkinnedMenu(Application, "main", nullptr);
  std::vector<std::string> ran;
  bool visibleWhenRun = true;

  TMenus() {
    auto named = [this](TCustomAction* a, const char16_t* caption, const char* name) {
      a->SetCaption(caption);
      a->OnExecute = [this, name](TObject*) {
        ran.push_back(name);
        visibleWhenRun = main->Visible() || sub->Visible();
      };
    };
    named(open, u"Open", "open");
    named(off, u"Off", "off");
    named(alpha, u"Alpha", "alpha");
    named(beta, u"Beta", "beta");
    open->SetChecked(true);
    open->SetShortCut(TextToShortCut("Ctrl+O"));
    off->SetEnabled(false);
    main->AddAction(open);
    main->AddSeparator();
    main->AddEntry(u"More", nullptr, sub);
    main->AddAction(off);
    sub->AddAction(alpha);
    sub->AddAction(beta);
  }
  void Open(int X = 100, int Y = 100) {
    main->PopupAt(Point(X, Y));
    Pump();
  }
};

}  // namespace

TEST(KemMenu, HookEventsHighlightOpenSubmenusAndChooseAfterHiding) {
  TMenus m;
  m.Open();
  ASSERT_TRUE(m.main->Visible());
  EXPECT_EQ(ActivePopupMenu(), m.main);
  Hook(m.main, hekEnter, 3);
  EXPECT_TRUE(Highlighted(m.main, 2));
  ASSERT_TRUE(m.sub->Visible());
  EXPECT_EQ(m.sub->ParentItem(), m.main->GetEntry(2));
  EXPECT_GE(m.sub->Left(), m.main->Left() + m.main->GetEntry(2)->BoundsRect().Right - 8);
  Hook(m.main, hekLeftDown, 0);  // on the frame: stays
  EXPECT_TRUE(m.main->Visible());
  Hook(m.main, hekLeftUp, 3);  // an item with a submenu is not chosen
  EXPECT_TRUE(m.sub->Visible());
  Hook(m.sub, hekEnter, 2);
  PostMessageW(m.sub->Handle(), WM_MOUSEHOOK, hekLeftUp, 2);
  // Only once the hook handler has returned does the action run.
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, m.sub->Handle(), WM_MOUSEHOOK, WM_MOUSEHOOK, PM_REMOVE));
  DispatchMessageW(&msg);
  EXPECT_TRUE(m.ran.empty());
  EXPECT_FALSE(m.main->Visible());
  EXPECT_FALSE(m.sub->Visible());
  Pump();
  EXPECT_EQ(m.ran, std::vector<std::string>{"beta"});
  EXPECT_FALSE(m.visibleWhenRun);
  EXPECT_EQ(ActivePopupMenu(), nullptr);
}

TEST(KemMenu, OutsidePressClosesUnlessIgnoredAndDisabledItemsStay) {
  TMenus m;
  int closed = 0;
  m.main->OnMenuClose = [&](TObject*) { ++closed; };
  m.Open();
  Hook(m.main, hekEnter, 4);
  Hook(m.main, hekLeftUp, 4);  // disabled
  EXPECT_TRUE(m.main->Visible());
  m.main->IgnoreNextOutsideClick = true;
  Hook(m.main, hekRightDown, -1);
  EXPECT_TRUE(m.main->Visible());
  Hook(m.main, hekLeftDown, -1);
  EXPECT_FALSE(m.main->Visible());
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(m.ran.empty());
}

TEST(KemMenu, KeysMoveEnterAndEscapeClosesTheChain) {
  TMenus m;
  m.Open();
  Key(m.main, VK_DOWN);  // the first clickable item
  EXPECT_EQ(m.main->KeyIndex(), 0);
  Key(m.main, VK_UP);  // wraps, skipping the separator... to "Off"
  EXPECT_EQ(m.main->KeyIndex(), 3);
  Key(m.main, VK_RETURN);  // disabled: nothing
  EXPECT_TRUE(m.main->Visible());
  Key(m.main, VK_UP);
  EXPECT_EQ(m.main->KeyIndex(), 2);
  EXPECT_TRUE(m.sub->Visible());
  Key(m.main, VK_RIGHT);
  EXPECT_EQ(m.sub->KeyIndex(), 0);
  EXPECT_TRUE(Highlighted(m.sub, 0));
  Key(m.sub, VK_ESCAPE);
  EXPECT_FALSE(m.sub->Visible());
  EXPECT_FALSE(m.main->Visible());
  EXPECT_TRUE(m.ran.empty());

  m.Open();
  Key(m.main, VK_DOWN);
  Key(m.main, VK_RETURN);
  EXPECT_EQ(m.ran, std::vector<std::string>{"open"});
  EXPECT_FALSE(m.main->Visible());
}

TEST(KemMenu, PlainDrawingShowsCheckMarkAndSubmenuTriangle) {
  TMenus m;
  m.Open();
  Hook(m.main, hekEnter, 3);
  m.main->Repaint();
  const TBitmap& pic = m.main->Composed();
  const TColor text = ColorToRGB(clMenuText), hiText = ColorToRGB(clHighlightText);
  // "Open": the check mark's rows 3 and 5 at text left − 14 = entry left + 20 − 14.
  const TRect open = m.main->GetEntry(0)->BoundsRect();
  const int mx = open.Left + 6, my = open.Top + (open.Height() - 9) / 2;
  for (int x = 0; x < 9; ++x) {
    EXPECT_EQ(pic.PixelColor(mx + x, my + 5) == text, MenuCheckMarkPixel(x, 5)) << x;
    EXPECT_EQ(pic.PixelColor(mx + x, my + 3) == text, MenuCheckMarkPixel(x, 3)) << x;
  }
  // "More" is highlighted: its triangle's tip and base in the highlighted text colour.
  const TRect more = m.main->GetEntry(2)->BoundsRect();
  const int mid = more.Top + more.Height() / 2;
  EXPECT_EQ(pic.PixelColor(more.Right - 16, mid), hiText);
  EXPECT_EQ(pic.PixelColor(more.Right - 17, mid - 3), hiText);
  EXPECT_EQ(pic.PixelColor(more.Right - 10, mid), ColorToRGB(clHighlight));
}

TEST(KemMenu, OurSkinsShowRowsInTheMenuColourAndCheckMarksInsideTheItem) {
  TAppScope app;
  ScanSkinsIn(GetExeDir() + "Skins");
  const struct {
    const char* title;
    const char* layout;
  } skins[] = {{"Slate", "default"}, {"Slate", "glacier"}, {"Column", "default"}};
  for (const auto& s : skins) {
    SCOPED_TRACE(std::string(s.title) + "/" + s.layout);
    ASSERT_TRUE(SelectSkinByName(s.title, s.layout));
    TVosSkin& skin = *CurrentSkin();
    auto* snap = new TCustomAction(Application);
    snap->SetCaption(u"Snap to screen edges");
    snap->SetChecked(true);
    auto* top = new TCustomAction(Application);
    top->SetCaption(u"Top");
    TKemMenu* menu = CreateSkinnedMenu(Application, "align", &skin);
    menu->AddAction(snap);
    menu->AddSeparator();
    menu->AddAction(top);
    menu->PopupAt(Point(100, 100));
    Pump();
    menu->Repaint();
    const TBitmap& pic = menu->Composed();
    const TColor back = skin.Texture(skin.Menu().Texture)->Color;
    const TRect checked = menu->GetEntry(0)->BoundsRect(), plain = menu->GetEntry(2)->BoundsRect();
    const TVosMenuLook& look = skin.Menu();
    // Left of the text, inside the item: where the mark goes. A row without
    // it shows the menu's colour there, and at its right end.
    const int markLeft = checked.Left + look.ItemIndent.Left, markRight = markLeft + look.TextIndent.Left;
    const int plainMid = plain.Top + plain.Height() / 2;
    EXPECT_EQ(pic.PixelColor(markLeft + 2, plainMid), back);
    EXPECT_EQ(pic.PixelColor(plain.Right - 3, plainMid), back);
    int mark = 0, stray = 0;
    for (int y = 0; y < checked.Height(); ++y)
      for (int x = markLeft; x < markRight; ++x) {
        stray += pic.PixelColor(x, plain.Top + std::min(y, plain.Height() - 1)) != back;
        mark += pic.PixelColor(x, checked.Top + y) != back;
      }
    EXPECT_EQ(stray, 0);
    EXPECT_GE(mark, 12);
    menu->Hide();
    menu->Free();
  }
  FreeSkinList();
}

TEST(KemMenu, OurSkinsShowTheWholeLogoShortcutsApartAndPicturesOnTheHighlight) {
  TAppScope app;
  ScanSkinsIn(GetExeDir() + "Skins");
  for (const char* layout : {"default", "glacier"}) {
    SCOPED_TRACE(layout);
    ASSERT_TRUE(SelectSkinByName("Slate", layout));
    TVosSkin& skin = *CurrentSkin();
    const TVosMenuLook& look = skin.Menu();
    auto* del = new TCustomAction(Application);
    del->SetCaption(u"Delete group");
    del->SetShortCut(TextToShortCut("Shift+Del"));
    auto* info = new TCustomAction(Application);
    info->SetCaption(u"Information");
    // A short menu with the tall logo, as a module's.
    TKemMenu* menu = CreateSkinnedMenu(Application, "module", &skin);
    menu->AddAction(del);
    TKemMenuEntry* item = menu->AddAction(info);
    auto picture = std::make_unique<TBitmap>();
    picture->SetPixelFormat(pf32bit);
    picture->SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) static_cast<TRGBQuad*>(picture->ScanLine(y))[x] = {255, 0, 0, 255};
    picture->SetAlphaFormat(afDefined);
    item->SetIcon(std::move(picture));
    menu->PopupAt(Point(100, 100));
    Pump();
    Hook(menu, hekEnter, 2);
    menu->Repaint();
    const TBitmap& pic = menu->Composed();
    const TColor back = skin.Texture(look.Texture)->Color;

    // Every row of the logo's picture with strong ink shows inside the frame.
    const TKemMenuMetrics m = SkinMenuMetrics(skin, "module");
    ASSERT_GT(m.LogoHeight, 40);
    const auto logo = std::find_if(look.Logos.begin(), look.Logos.end(),
                                   [](const TVosMenuLogo& l) { return SameText(l.Name, "module"); });
    ASSERT_NE(logo, look.Logos.end());
    const TBitmap& glyph = *skin.Glyph(logo->Glyph)->Image;
    int glyphRows = 0;
    for (int y = 0; y < glyph.Height(); ++y) {
      bool ink = false;
      for (int x = 0; x < glyph.Width(); ++x)
        ink |= static_cast<const TRGBQuad*>(glyph.ScanLine(y))[x].rgbReserved >= 128;
      glyphRows += ink;
    }
    // The logo writes white: a pixel at least half way from the strip's red to white is strong ink.
    const int half = (GetRValue(ColorToRGB(skin.Texture(logo->Texture)->Color)) + 255) / 2 + 1;
    const int stripLeft = m.Outer.Left + m.Frame.Left;
    int shownRows = 0;
    for (int y = 0; y < menu->Height(); ++y) {
      bool ink = false;
      for (int x = stripLeft; x < stripLeft + m.LogoWidth; ++x) ink |= GetRValue(pic.PixelColor(x, y)) >= half;
      shownRows += ink;
    }
    EXPECT_GE(shownRows, glyphRows - 1);

    // The caption and the shortcut keep the shortcut space between them.
    const TRect d = menu->GetEntry(0)->BoundsRect();
    int gap = 0, widest = 0;
    bool seenInk = false;
    for (int x = d.Left + menu->IconColumn() + look.ItemIndent.Left + look.TextIndent.Left; x < d.Right; ++x) {
      bool ink = false;
      for (int y = d.Top + d.Height() / 2 - 2; y <= d.Top + d.Height() / 2 + 2; ++y)
        ink |= pic.PixelColor(x, y) != back;
      if (ink) {
        if (seenInk) widest = std::max(widest, gap);
        seenInk = true;
        gap = 0;
      } else {
        ++gap;
      }
    }
    EXPECT_GE(widest, look.SpaceShortcut);

    // The highlighted item's blue picture stands in a frame of the menu's own colour.
    const TRect h = menu->GetEntry(1)->BoundsRect();
    const int mid = h.Top + h.Height() / 2;
    const int iconLeft = h.Left + look.ItemIndent.Left + look.IconIndent.Left;
    EXPECT_NE(pic.PixelColor(h.Right - look.ItemIndent.Right - 4, mid), back);  // the highlight
    EXPECT_EQ(pic.PixelColor(iconLeft - 1, mid), back);
    EXPECT_GE(GetBValue(pic.PixelColor(iconLeft + 8, mid)), 0xF0);
    menu->Hide();
    menu->Free();
  }
  FreeSkinList();
}

TEST(KemMenu, StaysInsideTheMonitorAndSubmenusOpenLeftAtTheEdge) {
  TMenus m;
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  m.Open(w - 5, h - 5);
  EXPECT_EQ(m.main->Left() + m.main->Width(), w);
  EXPECT_EQ(m.main->Top() + m.main->Height(), h);
  Hook(m.main, hekEnter, 3);
  ASSERT_TRUE(m.sub->Visible());
  EXPECT_EQ(m.sub->Left(), m.main->Left() - m.sub->Width());
}

TEST(KemMenu, RealHookLibraryReportsThePointerOnEntries) {
  TMenus m;
  BindHookLibrary();
  ASSERT_TRUE(HookLibraryLoaded());
  m.Open(200, 200);
  ASSERT_TRUE(m.main->HookInstalled());
  const TRect open = m.main->GetEntry(0)->BoundsRect();
  const int x = m.main->Left() + open.Left + 10, y = m.main->Top() + open.Top + open.Height() / 2;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  // The driver's window lies under the pointer it moves, over the whole screen.
  const std::wstring corner = L"0 0 " + std::to_wstring(sw) + L" " + std::to_wstring(sh) + L" ";
  const std::wstring script = L"move " + std::to_wstring(x) + L" " + std::to_wstring(y) + L" ldown lup";
  EXPECT_EQ(testproc::RunProgram(testproc::ProgramFolder() + L"hookdriver.exe",
                                 L"\"" + testproc::ProgramFolder() + L"kemmenu_driver.log\" " + corner + script),
            0);
  Pump();
  EXPECT_EQ(m.ran, std::vector<std::string>{"open"});
  EXPECT_FALSE(m.main->Visible());
  // A press outside every area closes the menu.
  m.Open(200, 200);
  EXPECT_EQ(testproc::RunProgram(
                testproc::ProgramFolder() + L"hookdriver.exe",
                L"\"" + testproc::ProgramFolder() + L"kemmenu_driver.log\" " + corner + L"move 20 20 ldown lup"),
            0);
  Pump();
  EXPECT_FALSE(m.main->Visible());
  // With the library's areas in place, Escape in a submenu still closes the chain.
  m.Open(200, 200);
  Hook(m.main, hekEnter, 3);
  ASSERT_TRUE(m.sub->Visible());
  Key(m.sub, VK_RIGHT);
  Key(m.sub, VK_ESCAPE);
  EXPECT_FALSE(m.sub->Visible());
  EXPECT_FALSE(m.main->Visible());
  EXPECT_TRUE(m.app.Errors.empty()) << m.app.Errors.front();
  FreeHookLibrary();
}

namespace {

// The pointer moved as a user moves it: the window under it gets the messages.
void MoveTo(TPoint At) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  // In 1/65536 of the screen, rounded up: the pixel reached is At on either rounding.
  input.mi.dx = static_cast<LONG>((static_cast<long long>(At.X) * 65536 + w - 1) / w);
  input.mi.dy = static_cast<LONG>((static_cast<long long>(At.Y) * 65536 + h - 1) / h);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
}

void LeftClick() {
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

TPoint EntryCentre(TKemMenu* Menu, int Index) {
  const TRect b = Menu->GetEntry(Index)->BoundsRect();
  return Point(Menu->Left() + b.Left + b.Width() / 2, Menu->Top() + b.Top + b.Height() / 2);
}

// Pumps until the condition holds, five seconds at most.
bool Within(const std::function<bool()>& Condition) {
  return testproc::WaitUntil(Condition, 5000, [] { Application->ProcessMessages(); });
}

}  // namespace

// Without the hook library the menus' own mouse messages drive them: the
// pointer highlights and opens the submenu, which the item keeps open while
// the pointer is on it, a click chooses, and a window outside the menus
// taking the activation closes them.
TEST(KemMenu, WithoutTheHookLibraryThePointerHighlightsAClickChoosesAndOutsideCloses) {
  TMenus m;
  m.Open(200, 200);
  EXPECT_FALSE(m.main->HookInstalled());
  MoveTo(EntryCentre(m.main, 0));
  EXPECT_TRUE(Within([&] { return Highlighted(m.main, 0); }));
  MoveTo(EntryCentre(m.main, 2));
  EXPECT_TRUE(Within([&] { return m.sub->Visible() && !Highlighted(m.main, 0); }));
  MoveTo(EntryCentre(m.sub, 1));
  EXPECT_TRUE(Within([&] { return Highlighted(m.sub, 1); }));
  EXPECT_TRUE(Highlighted(m.main, 2));
  EXPECT_TRUE(m.sub->Visible());
  LeftClick();
  EXPECT_TRUE(Within([&] { return !m.ran.empty(); }));
  EXPECT_EQ(m.ran, std::vector<std::string>{"beta"});
  EXPECT_FALSE(m.main->Visible());

  m.Open(200, 200);
  MoveTo(EntryCentre(m.main, 0));
  EXPECT_TRUE(Within([&] { return Highlighted(m.main, 0); }));
  auto* other = NewForm<TForm>(Application);
  other->SetBounds(600, 600, 100, 100);
  other->Show();
  SetForegroundWindow(other->Handle());
  EXPECT_TRUE(Within([&] { return !m.main->Visible(); }));
  EXPECT_EQ(m.ran, std::vector<std::string>{"beta"});
  other->Free();
  MoveTo(Point(0, GetSystemMetrics(SM_CYSCREEN) - 1));  // off every later menu
}

TEST(KemMenu, ButtonDropDownOpensBelowOnPressAndItsClosingReleasesTheButton) {
  TMenus m;
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(40, 40, 200, 100);
  form->Show();
  auto* button = new TKemButton(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 75, 25);
  button->SetDropDownMenu(m.main);
  SendMouse(button->Handle(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  Pump();
  ASSERT_TRUE(m.main->Visible());
  EXPECT_EQ(Point(m.main->Left(), m.main->Top()), button->ClientToScreen(Point(0, button->Height())));
  Key(m.main, VK_ESCAPE);
  EXPECT_FALSE(m.main->Visible());
  // Released: the next press opens the menu again instead of ending a press.
  SendMouse(button->Handle(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  Pump();
  EXPECT_TRUE(m.main->Visible());
}
