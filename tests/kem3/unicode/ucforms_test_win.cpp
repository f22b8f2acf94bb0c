// The layer's form and hints on real windows: captions across re-creation,
// the application's hint from the control under the mouse and from the menu,
// actions updated while idle, the hint window's rectangle and text.
#include "kem3/unicode/ucforms_win.h"

#include "kem3/unicode/ucactions_win.h"
#include "kem3/unicode/ucmenus_win.h"
#include "kem3/unicode/ucstdctrls_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"
#include "platform/extctrls_win.h"
#include "platform/geometry_win.h"
#include "support/wait_win.h"

namespace {

class TCountingForm : public TUcForm {
 public:
  using TUcForm::TUcForm;
  int Changes = 0;

 protected:
  void TextChanged() override {
    ++Changes;
    TUcForm::TextChanged();
  }
};

WideString WindowText(HWND window) {
  wchar_t buffer[64] = {};
  GetWindowTextW(window, buffer, 64);
  return WideString(reinterpret_cast<const char16_t*>(buffer));
}

}  // namespace

TEST(UcFormsWin, CaptionSetBeforeTheWindowShowsAfterCreationAndRecreationAndEveryChangeNotifies) {
  TAppScope app;
  auto* form = NewForm<TCountingForm>(Application);
  form->SetCaption(u"Ω");
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_EQ(WindowText(form->Handle()), u"Ω");
  HWND first = form->Handle();
  form->SetBorderStyle(bsToolWindow);
  EXPECT_NE(form->Handle(), first);
  EXPECT_EQ(WindowText(form->Handle()), u"Ω");
  // Both would be "?" in an 8-bit code page: still a change.
  form->SetCaption(u"Ж");
  form->SetCaption(u"Ж");
  EXPECT_EQ(form->Changes, 2);
  EXPECT_EQ(WindowText(form->Handle()), u"Ж");
  EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(UcFormsWin, HintOfTheControlUnderTheMouseAndTheHintWindow) {
  TAppScope app;
  auto* form = NewForm<TUcForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(100, 100, 300, 200);
  ShowWindow(form->Handle(), SW_SHOWNA);
  auto* panel = new TPanel(form);
  panel->SetBounds(0, 0, 150, 200);
  panel->SetParent(form);
  panel->SetHint(u"Σύντομο|Μακρύ κείμενο");
  panel->SetShowHint(true);
  auto* bare = new TPanel(form);
  bare->SetBounds(150, 0, 150, 200);
  bare->SetParent(form);
  int hints = 0;
  Application->OnHint = [&](TObject*) { ++hints; };

  SetCursorPos(130, 130);
  Application->DoMouseIdle();
  EXPECT_EQ(Application->HintControl(), panel);
  EXPECT_EQ(Application->Hint(), u"Μακρύ κείμενο");
  EXPECT_EQ(hints, 1);
  Application->ActivateHint(Point(130, 130));
  THintWindow* window = Application->HintWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_NE(dynamic_cast<TUcCustomHintWindow*>(window), nullptr);
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  EXPECT_EQ(WindowText(window->Handle()), u"Σύντομο");
  EXPECT_EQ(window->Width(), window->CalcHintRect(300, u"Σύντομο", nullptr).Width());

  SetCursorPos(330, 230);
  Application->DoMouseIdle();
  EXPECT_EQ(Application->HintControl(), bare);
  EXPECT_EQ(Application->Hint(), u"");
  EXPECT_FALSE(window->HandleAllocated() && IsWindowVisible(window->Handle()));

  // Over a combo box's edit part, the combo box's hint.
  auto* combo = new TUcComboBox(form);
  combo->SetBounds(10, 10, 120, 24);
  combo->SetParent(bare);
  combo->SetHint(u"Город");
  SetCursorPos(100 + 150 + 20, 100 + 15);
  Application->DoMouseIdle();
  EXPECT_EQ(Application->HintControl(), combo);
  EXPECT_EQ(Application->Hint(), u"Город");
}

TEST(UcFormsWin, HintRectangleIsTheWrappedTextPlusItsMargins) {
  TAppScope app;
  TUcCustomHintWindow window(nullptr);
  const WideString text = u"Ελληνικά και кириллица в одной подсказке";
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, window.Font()->Handle());
  for (int maxWidth : {400, 80}) {
    RECT expected{0, 0, maxWidth, 0};
    DrawTextW(dc, WideCStr(text), -1, &expected, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    const TRect r = window.CalcHintRect(maxWidth, text, nullptr);
    EXPECT_EQ(r, Rect(0, 0, expected.right + 6, expected.bottom + 2)) << maxWidth;
  }
  DeleteDC(dc);
  EXPECT_GT(window.CalcHintRect(80, text, nullptr).Height(), 2 * window.CalcHintRect(400, text, nullptr).Height() - 2);
}

TEST(UcFormsWin, MenuSelectionAndIdleActionsGiveTheApplicationsHintAndTheHintItsShortCut) {
  TAppScope app;
  auto* form = NewForm<TUcForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(100, 100, 300, 200);
  auto* action = new TUcAction(form);
  action->SetHint(u"Открыть|Открывает файл");
  action->SetShortCut(scCtrl | 'O');
  int updates = 0;
  action->OnUpdate = [&](TObject*) {
    if (++updates > 1) action->SetHint(u"Άνοιγμα|Ανοίγει ένα αρχείο");  // the second update changes the hint
  };
  auto* menu = new TMainMenu(form);
  auto* file = new TUcMenuItem(form);
  file->SetHint(u"Файл|Работа с файлами");
  menu->Items()->Add(file);
  auto* open = new TUcMenuItem(form);
  open->SetAction(action);
  file->Add(open);
  form->SetMenu(menu);
  HWND h = form->Handle();
  auto select = [&](UINT Id, UINT Flags, HMENU Menu) {
    SendMessageW(h, WM_MENUSELECT, MAKEWPARAM(Id, Flags), reinterpret_cast<LPARAM>(Menu));
    return Application->Hint();
  };
  EXPECT_EQ(select(0, MF_POPUP, menu->Handle()), u"Работа с файлами");  // a sub-menu by its position
  EXPECT_EQ(select(open->Command(), 0, file->Handle()), u"Открывает файл");
  EXPECT_EQ(select(0, 0xFFFF, nullptr), u"");  // closed

  auto* panel = new TPanel(form);
  panel->SetBounds(0, 0, 300, 200);
  panel->SetParent(form);
  panel->SetShowHint(true);
  panel->SetAction(action);
  ShowWindow(h, SW_SHOWNA);
  SetCursorPos(150, 150);
  Application->OnIdle = [](TObject*, bool& Done) { Done = false; };
  // The first idle update.
  testproc::WaitUntil([&] { return updates != 0; }, 15000, [] { Application->HandleMessage(); });
  // The action changes the hint of the control under the mouse: the form's update passes it on at once.
  form->UpdateActions();
  EXPECT_EQ(Application->Hint(), u"Ανοίγει ένα αρχείο");
  for (bool shortCuts : {true, false}) {
    Application->HintShortCuts = shortCuts;
    Application->ActivateHint(Point(150, 150));
    THintWindow* window = Application->HintWindow();
    const WideString shown = WindowText(window->Handle());
    EXPECT_EQ(shown, shortCuts ? u"Άνοιγμα (" + ShortCutToWideText(scCtrl | 'O') + u")" : u"Άνοιγμα");
    // Inside the border the text starts 2 pixels down and has 2 under it.
    const TRect text = window->THintWindow::CalcHintRect(300, shown, nullptr);
    RECT client{};
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.bottom, text.Height() + 2);
  }
}
