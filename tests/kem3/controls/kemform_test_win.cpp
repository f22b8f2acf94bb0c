// The form base on real windows: construction order, a held shortcut and its
// repeat count, Alt+F4, the language switch (font, caption, actions, screen
// fonts, control text names), the form-action finder, Enter and Escape in a
// small dialog, Alt+letter accelerators, and the resource library's own reference.
#include "kem3/controls/kemform_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembut_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemlan_test_support.h"
#include "platform/app_scope_win.h"
#include "platform/edit_win.h"
#include "platform/sysutils.h"
#include "support/temp_dir.h"

namespace {

using Log = std::vector<std::string>;

class TProbeForm : public TKemForm {
 public:
  TProbeForm(TComponent* AOwner, Log& L) : TKemForm(AOwner), FLog(L) { Init(); }
  TProbeForm(TComponent* AOwner, Log& L, TCreateNew) : TKemForm(AOwner, TCreateNew{}), FLog(L) { Init(); }
  void Loaded() override {
    FLog.push_back("loaded");
    TKemForm::Loaded();
  }
  void LanguageUpdated() override { FLog.push_back("updated"); }

 private:
  void Init() {
    SetBorderStyle(bsNone);
    OnCreate = [this](TObject*) { FLog.push_back("create"); };
    OnLanguageChange = [this](TObject*) { FLog.push_back("language"); };
  }
  Log& FLog;
};

// A small dialog with an edit field, the focus's place when it shows.
TEdit* DialogWithEdit(TForm& Dialog) {
  Dialog.SetBounds(40, 40, 300, 120);
  auto* edit = new TEdit(&Dialog);
  edit->SetParent(&Dialog);
  edit->SetBounds(10, 10, 200, 22);
  return edit;
}

LPARAM KeyData(bool Repeat, bool Up = false) { return 1 | (Repeat ? 0x40000000 : 0) | (Up ? 0xC0000000 : 0); }

}  // namespace

TEST(KemFormWin, DesignedFormsAreLoadedBeforeOnCreateAndBareFormsNever) {
  TAppScope app;
  Log designed, bare;
  NewForm<TProbeForm>(Application, designed);
  NewForm<TProbeForm>(Application, bare, TKemForm::TCreateNew{});
  EXPECT_EQ(designed, (Log{"loaded", "language", "updated", "create"}));
  EXPECT_EQ(bare, Log{"create"});
}

TEST(KemFormWin, AHeldShortcutRepeatsItsActionUntilTheKeyGoesUp) {
  TAppScope app;
  Log log;
  auto* form = NewForm<TProbeForm>(Application, log);
  std::vector<int> executed;
  form->OnActionExecute = [&](TKemAction* Action) { executed.push_back(Action->RepeatCount()); };
  int reachedOnKeyDown = 0;
  form->OnKeyDown = [&](TObject*, std::uint16_t&, TShiftState) { ++reachedOnKeyDown; };
  TKemAction* refresh = form->AddAction(7, -1, -1, VK_F5);
  form->AddActionText(8, -1, -1, "Alt+Enter");
  EXPECT_EQ(form->FindAction(8)->ShortCut(), scAlt | VK_RETURN);
  EXPECT_EQ(form->FindAction(9), nullptr);

  const HWND window = form->Handle();
  for (int press = 0; press < 3; ++press) SendMessageW(window, WM_KEYDOWN, VK_F5, KeyData(press > 0));
  EXPECT_EQ(executed, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(reachedOnKeyDown, 0) << "the action took the key";
  SendMessageW(window, WM_KEYUP, VK_F5, KeyData(false, true));
  EXPECT_EQ(refresh->RepeatCount(), 0);
  SendMessageW(window, WM_KEYDOWN, VK_F5, KeyData(false));
  EXPECT_EQ(executed.back(), 1);

  refresh->SetEnabled(false);  // a disabled action still takes its key, and does nothing
  SendMessageW(window, WM_KEYDOWN, VK_F5, KeyData(false));
  EXPECT_EQ(executed.size(), 4u);
  SendMessageW(window, WM_KEYDOWN, VK_F6, KeyData(false));
  EXPECT_EQ(reachedOnKeyDown, 1);

  bool closed = false;
  form->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
  SendMessageW(window, WM_SYSKEYDOWN, VK_F4, KeyData(false) | 0x20000000);
  EXPECT_TRUE(closed);
  EXPECT_EQ(reachedOnKeyDown, 1);
}

TEST(KemFormWin, ALanguageSwitchReachesFontCaptionActionsAndScreenFonts) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "Language");
  SetProgramFileName(dir.file("ov3.exe"));
  const auto add = [&](const String& File, const String& Code, const String& Name, const String& Entries,
                       double Scale) {
    TLanCatalogue catalogue = lantest::Catalogue(Code, Name, Entries);
    catalogue.Scale = Scale;
    lantest::WriteFile(dir.file("Language/" + File), lantest::Lan3Bytes(catalogue));
  };
  add("ov3a.lan", "US", "English", "0 TProbeForm_Caption = Probe\n1 Act = Open\n2 dPrefs_Box = Box\n", 1.0);
  add("ov3b.lan", "DE", "Deutsch", "@font Verdana 9\n0 TProbeForm_Caption = Sonde\n1 Act = Öffnen\n", 1.3125);
  TAppScope app;
  InitLanguages();
  Log log, bareLog;
  auto* form = NewForm<TProbeForm>(Application, log);
  auto* bare = NewForm<TProbeForm>(Application, bareLog, TKemForm::TCreateNew{});
  TKemAction* open = form->AddAction(1, 1, -1, scNone);
  EXPECT_EQ(form->Caption(), u"Probe");
  EXPECT_EQ(open->Caption(), u"Open");
  EXPECT_EQ(open->CaptionIndex(), 1);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  EXPECT_EQ(ControlTextName(edit, "Box"), "TProbeForm_Box");
  form->SetFormName("dPrefs");
  EXPECT_EQ(ControlTextName(edit, "Box"), "dPrefs_Box");

  ASSERT_TRUE(SelectLanguageByName(u"Deutsch"));
  EXPECT_EQ(form->Font()->Name(), "Verdana");
  EXPECT_EQ(form->Font()->Size(), 10) << "8 x 1.3125 = 10.5 goes to the even 10";
  EXPECT_EQ(form->Caption(), u"Sonde");
  EXPECT_EQ(open->Caption(), u"Öffnen");
  EXPECT_EQ(Screen->MenuFont()->Name() + IntToStr(Screen->HintFont()->Size()), "Verdana9");
  EXPECT_EQ(log.back(), "updated");
  EXPECT_EQ(bareLog, Log{"create"}) << "a bare form does not follow the language";
  EXPECT_EQ(bare->Caption(), u"");
  form->Free();
  DoneLanguages(false);
  SetProgramFileName("");
}

TEST(KemFormWin, RoleButtonsFindOrMakeTheFormsActions) {
  TAppScope app;
  Log log;
  auto* form = NewForm<TProbeForm>(Application, log);
  TBasicAction* made = FindFormAction(form, 5);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(FindFormAction(form, 5), made);
  EXPECT_EQ(form->ActionCount(), 1);
  EXPECT_EQ(FindFormAction(NewForm<TQuietForm>(Application), 5), nullptr) << "plain forms keep no actions";
}

TEST(KemFormWin, CreateActionsMakesTheGroupsMissingActionsFromTheRegister) {
  TAppScope app;
  Log log;
  RegisterActionInfos(10, 5, {1, "Cut", "Cut it", -1, "Ctrl+X", 2, "Copy", "", -1, ""});
  RegisterActionInfos(20, 5, {3, "Other", "", -1, ""});
  ActionInfos(0).ImageIndex = 4;
  ActionInfos(1).ImageIndex = 5;
  ActionInfos(2).ImageIndex = 6;
  auto* form = NewForm<TProbeForm>(Application, log);
  TKemAction* copy = form->AddAction(2, -1, -1, scNone);
  EXPECT_EQ(copy->ImageIndex(), -1) << "a designed form takes pictures once its actions are made";
  form->CreateActions(10);
  ASSERT_EQ(form->ActionCount(), 2) << "the form had action 2 already";
  TKemAction* cut = form->FindAction(1);
  EXPECT_EQ(cut->Caption() + u"|" + cut->Hint(), u"Cut|Cut it");
  EXPECT_EQ(cut->ShortCut(), scCtrl | 'X');
  EXPECT_EQ(cut->ImageIndex(), 4);
  EXPECT_EQ(cut->ToolAction(), 0);
  EXPECT_EQ(form->FindAction(3), nullptr);
  EXPECT_EQ(form->AddAction(3, -1, -1, scNone)->ImageIndex(), 6);
  FreeActionInfos();
}

TEST(KemFormWin, EnterAndEscapeInAnEditReachTheDialogsDefaultAndCancelButtons) {
  TAppScope app;
  Log log;
  auto* dialog = NewForm<TProbeForm>(Application, log);
  TEdit* edit = DialogWithEdit(*dialog);
  auto* ok = new TKemButton(dialog);
  ok->SetParent(dialog);
  ok->SetBounds(10, 50, 75, 25);
  ok->SetActionType(atOk);
  auto* cancel = new TKemButton(dialog);
  cancel->SetParent(dialog);
  cancel->SetBounds(100, 50, 75, 25);
  cancel->SetActionType(atCancel);
  dialog->SetActiveControl(edit);
  // Should the key go astray, a message behind it ends the dialog all the same.
  constexpr UINT kGiveUp = WM_APP + 7;
  WPARAM round = 0;
  dialog->SetMessageHandler(kGiveUp, [&](TMessage& M) {
    if (M.WParam == round) dialog->SetModalResult(mrAbort);
  });
  for (auto [key, result] : {std::pair{VK_RETURN, mrOk}, std::pair{VK_ESCAPE, mrCancel}}) {
    ++round;
    PostMessageW(edit->Handle(), WM_KEYDOWN, key, KeyData(false));
    PostMessageW(dialog->Handle(), kGiveUp, round, 0);
    EXPECT_EQ(dialog->ShowModal(), result) << key;
  }
}

TEST(KemFormWin, AltAndALetterInAnEditClicksTheButtonThatCarriesIt) {
  TAppScope app;
  Log log;
  auto* dialog = NewForm<TProbeForm>(Application, log);
  TEdit* edit = DialogWithEdit(*dialog);
  auto* add = new TKemButton(dialog);
  add->SetParent(dialog);
  add->SetBounds(10, 50, 75, 25);
  add->SetCaption(u"A&dd");
  add->OnClick = [&](TObject*) { dialog->SetModalResult(mrYes); };
  dialog->SetActiveControl(edit);
  constexpr UINT kGiveUp = WM_APP + 7;
  dialog->SetMessageHandler(kGiveUp, [&](TMessage&) { dialog->SetModalResult(mrAbort); });
  // As TranslateMessage hands on Alt+D: the character with the context bit.
  PostMessageW(edit->Handle(), WM_SYSCHAR, 'd', 0x20000001);
  PostMessageW(dialog->Handle(), kGiveUp, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrYes);
}

TEST(KemFormWin, FreeingTheResourceLibraryKeepsTheHookLibraryLoaded) {
  BindHookLibrary();
  ASSERT_TRUE(HookLibraryLoaded()) << "kem3.dll lies beside the tests";
  ASSERT_NE(LoadResourceLibrary(), nullptr);
  FreeResourceLibrary();
  EXPECT_NE(GetModuleHandleW(L"kem3.dll"), nullptr);  // calling into it would crash otherwise
  FreeHookLibrary();
}
