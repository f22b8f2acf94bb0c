// Wide menus on real windows: entry texts with shortcuts as the system menu
// holds them, commands reaching items, actions' captions reaching linked
// items and buttons, and a popup menu at a point.
#include "kem3/unicode/ucmenus_win.h"

#include <gtest/gtest.h>

#include "kem3/unicode/ucactions_win.h"
#include "platform/app_scope_win.h"
#include "platform/toolbutton_win.h"

namespace {

WideString EntryText(HMENU Menu, UINT Command) {
  wchar_t text[256] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
  info.dwTypeData = text;
  info.cch = 256;
  if (!GetMenuItemInfoW(Menu, Command, FALSE, &info)) return u"<none>";
  return WideString(reinterpret_cast<const char16_t*>(text), info.cch);
}

UINT EntryState(HMENU Menu, UINT Command) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_FTYPE;
  GetMenuItemInfoW(Menu, Command, FALSE, &info);
  return info.fState | info.fType;
}

TUcMenuItem* NewItem(TComponent* Owner, TMenuItem* Parent, const WideString& Caption, TShortCut Key = scNone) {
  auto* item = new TUcMenuItem(Owner);
  item->SetCaption(Caption);
  item->SetShortCut(Key);
  Parent->Add(item);
  return item;
}

const WideString kFile = u"&\u0424\u0430\u0439\u043b";                    // Файл
const WideString kOpen = u"&\u0386\u03bd\u03bf\u03b9\u03b3\u03bc\u03b1";  // Άνοιγμα

}  // namespace

TEST(UcMenusWin, EntriesShowCaptionAndShortcutAndCommandsReachTheItems) {
  TAppScope app;
  auto* form = NewForm<TForm>(Application);
  auto* menu = new TMainMenu(form);
  TUcMenuItem* file = NewItem(form, menu->Items(), kFile, scCtrl | 'F');
  TUcMenuItem* open = NewItem(form, file, kOpen, scCtrl | 'O');
  TUcMenuItem* line = NewItem(form, file, u"-");
  TUcMenuItem* quit = NewItem(form, file, u"\u0388\u03be\u03bf\u03b4\u03bf\u03c2", VK_F4 | scAlt);
  int clicks = 0;
  open->OnClick = [&](TObject* Sender) {
    EXPECT_EQ(Sender, open);
    ++clicks;
  };
  form->SetMenu(menu);
  HWND window = form->Handle();
  ASSERT_EQ(GetMenu(window), menu->Handle());
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    HMENU bar = GetMenu(window);
    ASSERT_EQ(bar, menu->Handle());
    // On the bar the shortcut is not shown; in the sub-menu after a tab.
    EXPECT_EQ(EntryText(bar, file->Command()), kFile);
    EXPECT_EQ(EntryText(file->Handle(), open->Command()), kOpen + u"\tCtrl+O");
    EXPECT_EQ(EntryText(file->Handle(), quit->Command()), u"\u0388\u03be\u03bf\u03b4\u03bf\u03c2\tAlt+F4");
    EXPECT_TRUE(EntryState(file->Handle(), line->Command()) & MFT_SEPARATOR);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(open->Command(), 0), 0);
    EXPECT_EQ(clicks, pass + 1);
    // Taking the window down and making it again keeps the menu.
    form->RecreateWnd();
    window = form->Handle();
  }
  // Opening the sub-menu rewrites an entry whose text no longer matches (as
  // after a change of the keyboard layout), once per layout.
  auto overwrite = [&] {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(L"stale");
    SetMenuItemInfoW(file->Handle(), open->Command(), FALSE, &info);
  };
  overwrite();
  SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->Handle()), 0);
  EXPECT_EQ(EntryText(file->Handle(), open->Command()), kOpen + u"\tCtrl+O");
  overwrite();
  SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->Handle()), 0);
  EXPECT_EQ(EntryText(file->Handle(), open->Command()), u"stale");
  // State changes rewrite the entry.
  open->SetRadioItem(true);
  open->SetChecked(true);
  open->SetDefault(true);
  quit->SetEnabled(false);
  EXPECT_EQ(EntryState(file->Handle(), open->Command()) & (MFS_CHECKED | MFT_RADIOCHECK | MFS_DEFAULT),
            static_cast<UINT>(MFS_CHECKED | MFT_RADIOCHECK | MFS_DEFAULT));
  EXPECT_TRUE(EntryState(file->Handle(), quit->Command()) & MFS_DISABLED);
  quit->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(file->Handle()), 2);
  // A disabled item does not click; a freed item leaves its sub-menu.
  open->SetEnabled(false);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(open->Command(), 0), 0);
  EXPECT_EQ(clicks, 2);
  open->Free();
  EXPECT_EQ(GetMenuItemCount(file->Handle()), 1);
  form->Free();
}

TEST(UcMenusWin, ActionCaptionsReachLinkedItemsAndControls) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  auto* menu = new TMainMenu(form);
  TUcMenuItem* file = NewItem(form, menu->Items(), kFile);
  TUcMenuItem* linked = NewItem(form, file, u"");
  TUcMenuItem* marked = NewItem(form, file, u"");
  TUcMenuItem* own = NewItem(form, file, u"");
  auto* action = new TUcAction(form);
  action->SetCaption(kOpen);
  action->SetShortCut(scCtrl | 'O');
  int runs = 0;
  action->OnExecute = [&](TObject*) { ++runs; };
  auto* button = new TToolButton(form);
  auto* other = new TToolButton(form);
  for (TToolButton* b : {button, other}) {
    b->SetParent(form);
    b->SetAction(action);
  }
  for (TMenuItem* item :
       {static_cast<TMenuItem*>(linked), static_cast<TMenuItem*>(marked), static_cast<TMenuItem*>(own)}) {
    item->SetAction(action);
  }
  form->SetMenu(menu);
  (void)form->Handle();
  EXPECT_EQ(EntryText(file->Handle(), linked->Command()), kOpen + u"\tCtrl+O");
  // The accelerator moved and the case changed: still the action's caption as shown.
  marked->SetCaption(u"\u0386\u039d&\u03bf\u03b9\u03b3\u03bc\u03b1");
  own->SetCaption(u"Mine");
  other->SetCaption(u"Mine");
  const WideString save = u"&\u0391\u03c0\u03bf\u03b8\u03ae\u03ba\u03b5\u03c5\u03c3\u03b7";  // Αποθήκευση
  action->SetCaption(save);
  EXPECT_EQ(linked->Caption(), save);
  EXPECT_EQ(marked->Caption(), save);
  EXPECT_EQ(own->Caption(), u"Mine");
  EXPECT_EQ(button->Caption(), save);
  EXPECT_EQ(other->Caption(), u"Mine");
  EXPECT_EQ(EntryText(file->Handle(), linked->Command()), save + u"\tCtrl+O");
  action->SetEnabled(false);
  EXPECT_TRUE(EntryState(file->Handle(), linked->Command()) & MFS_DISABLED);
  EXPECT_FALSE(button->Enabled());
  action->SetEnabled(true);
  // A click of the item and of the button executes the action.
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(own->Command(), 0), 0);
  button->Click();
  EXPECT_EQ(runs, 2);
  // Assign takes a control's caption and hint.
  TUcAction copy(nullptr);
  other->SetHint(u"\u0394|\u0394\u0394");
  copy.Assign(other);
  EXPECT_EQ(copy.Caption(), u"Mine");
  EXPECT_EQ(copy.Hint(), u"\u0394|\u0394\u0394");
  EXPECT_TRUE(IsWideAction(&copy));
  action->Free();
  EXPECT_EQ(button->Action(), nullptr);
  EXPECT_EQ(linked->Action(), nullptr);
  form->Free();
}

TEST(UcMenusWin, ShortCutsAreNamedByTheKeyboardLayout) {
  struct Case {
    TShortCut key;
    WideString text;
  };
  const Case cases[] = {
      {scCtrl | 'S', u"Ctrl+S"},           {VK_F5, u"F5"},
      {scShift | VK_DELETE, u"Shift+Del"}, {scCtrl | scShift | '1', u"Shift+Ctrl+1"},
      {scAlt | VK_RETURN, u"Alt+Enter"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortCutToWideText(c.key), c.text);
  // A key without a fixed name gets the layout's name for it.
  const WideString oem = ShortCutToWideText(scCtrl | VK_OEM_PLUS);
  EXPECT_EQ(oem.substr(0, 5), u"Ctrl+");
  EXPECT_GT(oem.size(), 5u);
}

namespace {

int gMeasured = 0;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR Timer, DWORD) {
  KillTimer(nullptr, Timer);
  EndMenu();
}

// Runs inside the menu's loop: the menu is open; choose the second entry.
void CALLBACK ChooseSecond(HWND, UINT, UINT_PTR Timer, DWORD) {
  KillTimer(nullptr, Timer);
  HWND owner = PopupListWindow();
  PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(owner, WM_KEYDOWN, VK_RETURN, 0);
  // Should the keys not reach the menu, it still closes (and the test fails, not hangs).
  SetTimer(nullptr, 0, 1500, CloseMenu);
}

}  // namespace

TEST(UcMenusWin, PopupMenuShowsAtAPointAndItsCommandReachesTheItem) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(10, 10, 300, 200);
  form->Show();
  auto* popup = new TPopupMenu(form);
  popup->SetOwnerDraw(true);
  int updates = 0, popups = 0;
  std::vector<int> clicked;
  auto* action = new TUcAction(form);
  action->OnUpdate = [&](TObject*) { ++updates; };
  for (int i = 0; i < 3; ++i) {
    TUcMenuItem* item =
        NewItem(form, popup->Items(), u"\u0395\u03bd\u03c4\u03bf\u03bb\u03ae " + WideString(1, u'1' + i));
    item->OnClick = [&clicked, i](TObject*) { clicked.push_back(i); };
    item->OnMeasureItem = [](TObject*, TCanvas*, int& Width, int&) {
      ++gMeasured;
      EXPECT_GT(Width, 16);
    };
  }
  popup->Items()->Items(0)->SetAction(action);
  popup->Items()->Items(0)->OnClick = nullptr;
  popup->OnPopup = [&](TObject*) { ++popups; };
  // The last entry draws itself; the others are drawn by the items' own drawing.
  int drawn = 0;
  popup->Items()->Items(2)->OnAdvancedDrawItem = [&](TObject*, TCanvas* Canvas, const TRect& Rect, TOwnerDrawState) {
    ++drawn;
    Canvas->FillRect(Rect);
  };
  SetTimer(nullptr, 0, 300, ChooseSecond);
  popup->Popup(50, 50);
  Application->ProcessMessages();
  EXPECT_EQ(popups, 1);
  EXPECT_GE(updates, 1);
  EXPECT_GE(gMeasured, 3);
  EXPECT_GE(drawn, 1);
  // The command the menu posted to its window reached the second item.
  EXPECT_EQ(clicked, std::vector<int>{1});
  form->Free();
}
