// The launcher's own preference pages on a real form: each page builds, a
// click switches a custom screen area, a shortcut row and the hints reach
// their settings as changes, and a module switched off is written so.
// ORV_PAGES_SHOT=PREFIX saves a picture of each page as PREFIX<n>.png.
#include "launcher/ov3cfgpages_win.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemchklb_win.h"
#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/controls/kemsedit_win.h"
#include "kem3/dialogs/kemcfgex_win.h"
#include "kem3/dialogs/kemcfglayout.h"
#include "kem3/dialogs/kemlancb_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemxml.h"
#include "kem3/pictures/pngimage.h"
#include "kem3/unicode/uccomctrls_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3contents.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/timer.h"
#include "support/key_walk_win.h"
#include "support/temp_dir.h"
#include "support/text_fit_win.h"
#include "window_shot_win.h"

namespace {

class CfgPagesWin : public testing::Test {
 protected:
  void SetUp() override {
    // The packages the build drew, in the program folder of the test.
    const String Built = GetExeDir() + "Resources\\";
    ForceDirectories(Dir.file("Resources"));
    for (const char* Name : {"clkdashlight.drl", "caldeskred.drl"})
      CopyFileTo(Built + Name, Dir.file("Resources\\") + Name);
    ForceDirectories(Dir.file("Language"));
    for (const char* Name : {"ov3english.lan", "ov3german.lan"})
      CopyFileTo(GetExeDir() + "Language\\" + Name, Dir.file("Language\\") + Name);
    SetProgramFileName(Dir.file("ov3.exe"));
    cfgInit();
    DefineSettings(nullptr);
    ReadKeyNames(kDefaultKeyNamesText);
    CreateDefaultContents(Doc);
    Host.AutomaticAreas = [] { return AreasFromText("1,6,7"); };
    Host.ModulesElement = [this] { return Doc.FindPath("ov3contents.modules"); };
    Host.ModulesApplied = [this](const TOvModulesApply& A) { Applied.push_back(A); };
    Form = NewForm<TQuietForm>(Application);
    Form->SetBounds(0, 0, 526, 400);
    Form->SetColor(clBtnFace);
    Form->Show();
  }
  void TearDown() override {
    Form->Free();
    cfgDone();
    SetProgramFileName("");
  }

  template <class T>
  std::unique_ptr<T> Make(TKemCustomPageFactory TOvPageFactories::*Which, int Param) {
    std::unique_ptr<TKemCustomDlgPage> Page = (OvPageFactories(Host).*Which)();
    Page->SetParam(Param);
    Page->CreateControls(Form, 8 + Page->GetTopOffset());
    Application->ProcessMessages();
    return std::unique_ptr<T>(dynamic_cast<T*>(Page.release()));
  }

  void Shot(int Number) {
    const char* Prefix = std::getenv("ORV_PAGES_SHOT");
    if (!Prefix) return;
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    TBitmap Picture;
    Picture.SetPixelFormat(pf24bit);
    Picture.SetSize(Form->Width(), Form->Height());
    HDC Window = GetDC(Form->Handle());
    BitBlt(Picture.Canvas()->Handle(), 0, 0, Form->Width(), Form->Height(), Window, 0, 0, SRCCOPY);
    ReleaseDC(Form->Handle(), Window);
    TPNGImage Png;
    Png.Assign(Picture);
    Png.SaveToFile(String(Prefix) + std::to_string(Number) + ".png");
  }

  TempDir Dir;
  TFakeTimerService Timers;
  TAppScope App;
  TKemXml Doc;
  TOvPagesHost Host;
  std::vector<TOvModulesApply> Applied;
  TForm* Form = nullptr;
};

TEST_F(CfgPagesWin, EachPageBuildsAndMeasuresItself) {
  const std::tuple<TKemCustomPageFactory TOvPageFactories::*, int, int, int> Pages[] = {
      {&TOvPageFactories::Hotkey, 0, 93, 0},       {&TOvPageFactories::Hotkey, 3, 69, 0},
      {&TOvPageFactories::ScreenArea, 0, 160, 12}, {&TOvPageFactories::Hints, 0, -1, 0},
      {&TOvPageFactories::Modules, 0, 300, 0},
  };
  int Number = 0;
  for (const auto& [Which, Param, Height, Offset] : Pages) {
    std::unique_ptr<TKemCustomDlgPage> Page = Make<TKemCustomDlgPage>(Which, Param);
    if (Height >= 0) {
      EXPECT_EQ(Page->GetHeight(), Height) << Number;
    }
    EXPECT_GT(Page->GetHeight(), 40) << Number;
    EXPECT_EQ(Page->GetTopOffset(), Offset) << Number;
    Page->UpdateLanguage();
    Shot(Number++);
    Page->Close();
    Page.reset();
    for (int i = Form->ControlCount() - 1; i >= 0; --i) Form->Controls(i)->Free();
  }
  EXPECT_TRUE(App.Errors.empty());
}

TEST_F(CfgPagesWin, AClickSwitchesACustomAreaOnlyInTheCustomSet) {
  cfgSetValue(ovsScreenArea, 1);
  auto Page = Make<TOvCfgScreenArea>(&TOvPageFactories::ScreenArea, 0);
  TOvScreenArea* Areas = Page->Areas;
  EXPECT_EQ(AreasText(Areas->View.Automatic), "1,6,7");
  const int W = Areas->Width(), H = Areas->Height();
  HWND Handle = Areas->Handle();
  // The bottom band: pressed, out and in again, released inside.
  SendMouse(Handle, WM_LBUTTONDOWN, W / 2, H - 2, MK_LBUTTON);
  EXPECT_EQ(Areas->View.Pressed, 1);
  SendMouse(Handle, WM_MOUSEMOVE, W / 2, H / 2, MK_LBUTTON);
  EXPECT_FALSE(Areas->View.PressedInside);
  Shot(6);
  SendMouse(Handle, WM_MOUSEMOVE, W / 2, H - 1, MK_LBUTTON);
  SendMouse(Handle, WM_LBUTTONUP, W / 2, H - 1);
  // Released outside the pressed area: nothing switches.
  SendMouse(Handle, WM_LBUTTONDOWN, 1, 1, MK_LBUTTON);
  SendMouse(Handle, WM_LBUTTONUP, W / 2, 1);
  Page->EdgeSize->SetValue(0);
  Page->Apply();
  EXPECT_EQ(cfgGetStr(ovsScreenAreas), "0,1,4,5");
  EXPECT_EQ(cfgGetInt(ovsScreenEdgeSize), 0);
  EXPECT_TRUE(cfgFindItem(ovsScreenAreas)->Changed);
  EXPECT_TRUE(cfgFindItem(ovsScreenEdgeSize)->Changed);

  Page->AreaSet->SetItemIndex(0);
  Page->AreaSet->OnChange(Page->AreaSet);
  SendMouse(Handle, WM_LBUTTONDOWN, W / 2, H - 2, MK_LBUTTON);
  SendMouse(Handle, WM_LBUTTONUP, W / 2, H - 2);
  Page->Apply();
  EXPECT_EQ(cfgGetStr(ovsScreenAreas), "0,1,4,5");
  EXPECT_EQ(cfgGetInt(ovsScreenArea), 0);
}

TEST_F(CfgPagesWin, ShortcutRowsAndHintsReachTheirSettingsAsChanges) {
  cfgSetValue(ovsFocusShortcut, String("f10,ctrl+apps"));
  auto Focus = Make<TOvCfgHotkey>(&TOvPageFactories::Hotkey, 0);
  ASSERT_EQ(Focus->ModifierLists.size(), 4u);
  EXPECT_EQ(Focus->KeyList->Items()->Strings(0), u"(no key)");
  Focus->KeyList->SetItemIndex(HotkeyRowFromText("f9,none", true).KeyItem);
  Focus->ModifierLists[1]->SetItemIndex(2);
  Focus->Apply();
  EXPECT_EQ(cfgGetStr(ovsFocusShortcut), "f9,ctrl+alt-left+apps");
  EXPECT_TRUE(cfgFindItem(ovsFocusShortcut)->Changed);

  // The "Modifiers" caption fits its room, clear of the lists.
  for (int i = 0; i < Focus->ModifierLists[0]->Parent()->ControlCount(); ++i) {
    if (auto* Label = dynamic_cast<TKemLabel*>(Focus->ModifierLists[0]->Parent()->Controls(i))) {
      TBitmap Scratch;
      Scratch.Canvas()->Font()->Assign(*Label->Font());
      EXPECT_LE(Scratch.Canvas()->TextWidth(Label->Caption()), Label->Width());
      EXPECT_LT(Label->Left() + Label->Width(), 60);
    }
  }

  auto Next = Make<TOvCfgHotkey>(&TOvPageFactories::Hotkey, 3);
  ASSERT_EQ(Next->ModifierLists.size(), 3u);
  EXPECT_EQ(Next->ModifierLists[0]->Items()->Count(), 2);
  Next->ModifierLists[2]->SetItemIndex(0);
  Next->Apply();
  EXPECT_EQ(cfgGetStr(ovsNextGroup), "tabulator,ctrl");
  EXPECT_TRUE(cfgFindItem(ovsNextGroup)->Changed);

  auto Hints = Make<TOvCfgHints>(&TOvPageFactories::Hints, 0);
  EXPECT_EQ(Hints->Modules->Items()->Count(), 4);
  Hints->Modules->SetChecked(0, true);
  Hints->Apply();
  EXPECT_EQ(cfgGetStr(ovsShowHints), "1011");
}

TEST_F(CfgPagesWin, AModuleSwitchedOffIsWrittenSoAndTheIconsStay) {
  auto Page = Make<TOvCfgModules>(&TOvPageFactories::Modules, 0);
  ASSERT_EQ(Page->List->Count(), 5);
  Page->List->SetItemIndex(2);  // the icons
  EXPECT_FALSE(Page->ActivateButton->Enabled());
  Page->ToggleSelected();
  Page->List->SetItemIndex(1);
  Page->ToggleSelected();
  // The first reorder puts the drag hint away for good; the order waits for Apply.
  Page->List->OnReorder(Page->List, 0, 4);
  EXPECT_FALSE(cfgGetBool(ovsShowDragHint));
  EXPECT_EQ(Doc.FindPath("ov3contents.modules")->GetChild(0)->Name, "analogclock");
  EXPECT_EQ(Page->List->Items(1)->TextColor, static_cast<TColor>(0x909090));
  Shot(5);
  Page->Apply();
  TKemXmlTag* Modules = Doc.FindPath("ov3contents.modules");
  EXPECT_EQ(Modules->FindPath("calendar")->ReadAttr("active"), "no");
  EXPECT_EQ(Modules->FindPath("icons")->ReadAttr("active"), "yes");
  EXPECT_EQ(Modules->GetChild(4)->Name, "analogclock");
  ASSERT_EQ(Applied.size(), 1u);
  EXPECT_TRUE(Applied[0].Rearrange);
  Page->Close();
}

// Every text of every page shows whole in both languages, German's font a
// quarter larger included, and after a switch to the other language while
// the dialog is open: row captions, shortcut rows, modifier lists, check
// boxes, value lists and the buttons.
TEST_F(CfgPagesWin, EveryTextOfEveryPageShowsWholeInBothLanguages) {
  InitLanguages();
  std::unique_ptr<TKemConfigDlg> Model = BuildPreferencesModel(OvPageFactories(Host));
  for (const char* Code : {"US", "DE"}) {
    SelectLanguageByCode(Code);
    ASSERT_EQ(LanguageCode(CurrentLanguageIndex()), Code);
    auto* Dialog = NewForm<TdPreferences>(Application, *Model);
    Dialog->BuildPages();
    EXPECT_EQ(textfit::CutTexts(*Dialog), std::vector<std::string>()) << Code;
    SelectLanguageByCode(std::string(Code) == "US" ? "DE" : "US");
    Application->ProcessMessages();
    EXPECT_EQ(textfit::CutTexts(*Dialog), std::vector<std::string>()) << Code << " switched";
    SelectLanguageByCode(Code);
    Dialog->TearDown();
    Dialog->Free();
  }
  DoneLanguages(false);
  EXPECT_TRUE(App.Errors.empty());
}

namespace {

int PageLeft(const TControl* Control, const TWinControl* Page) {
  int Left = Control->Left();
  for (const TWinControl* P = Control->Parent(); P && P != Page; P = P->Parent()) Left += P->Left();
  return Left;
}

// The widest line of a caption that breaks between its words.
int WrappedWidth(TKemLabel& Label) {
  TBitmap Scratch;
  Scratch.Canvas()->Font()->Assign(*Label.Font());
  RECT R{0, 0, Label.Width(), 0};
  const WideString Text = Label.Caption();
  DrawTextW(Scratch.Canvas()->Handle(), reinterpret_cast<const wchar_t*>(Text.c_str()), static_cast<int>(Text.size()),
            &R, DT_CALCRECT | DT_WORDBREAK);
  return R.right;
}

// Rows of the picture with ink right of X: pixels not of the picture's
// bottom-right colour (the item's background).
int InkRows(const TBitmap& Picture, int X) {
  const TColor Back = Picture.PixelColor(Picture.Width() - 1, Picture.Height() - 1);
  int First = -1, Last = -1;
  for (int Y = 0; Y < Picture.Height(); ++Y)
    for (int I = X; I < Picture.Width(); ++I)
      if (Picture.PixelColor(I, Y) != Back) {
        if (First < 0) First = Y;
        Last = Y;
        break;
      }
  return First < 0 ? 0 : Last - First + 1;
}

}  // namespace

// In German (a font a quarter larger) every page lines its fields up in one
// column, right of its widest caption with the gap kept, and keeps its
// items within the page; the module hints show all four without a scroll
// bar, and the language list names each language as large as the dialog's font.
TEST_F(CfgPagesWin, InGermanEveryPageLinesItsFieldsUpAndShowsItsItemsWhole) {
  InitLanguages();
  std::unique_ptr<TKemConfigDlg> Model = BuildPreferencesModel(OvPageFactories(Host));
  SelectLanguageByCode("DE");
  ASSERT_EQ(CurrentLanguageFontScale(), 1.25);
  auto* Dialog = NewForm<TdPreferences>(Application, *Model);
  Dialog->BuildPages();
  Dialog->Show();
  // The modules page lays its parameters out for itself.
  for (int Index = 0; Index + 1 < static_cast<int>(Model->Pages.size()); ++Index) {
    TKemNote* Page = Dialog->NotePage(*Model->Pages[static_cast<size_t>(Index)]);
    Dialog->nbPages->SetPageIndex(Model->Pages[static_cast<size_t>(Index)]->NotebookIndex);
    RedrawWindow(Dialog->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveShot(Dialog->Handle(), ("prefs-de-" + std::to_string(Index)).c_str());
    std::vector<std::pair<TKemLabel*, TWinControl*>> Rows;
    std::function<void(TWinControl&)> Walk = [&](TWinControl& Parent) {
      for (int i = 0; i < Parent.ControlCount(); ++i) {
        if (auto* W = dynamic_cast<TWinControl*>(Parent.Controls(i))) Walk(*W);
        auto* Label = dynamic_cast<TKemLabel*>(Parent.Controls(i));
        if (!Label || Label->Caption().empty() || PageLeft(Label, Page) > 16) continue;
        // Its field: the nearest window right of it on its line.
        TWinControl* Field = nullptr;
        for (int j = 0; j < Parent.ControlCount(); ++j) {
          auto* W = dynamic_cast<TWinControl*>(Parent.Controls(j));
          if (!W || W->Left() <= Label->Left() || W->Top() > Label->Top() + Label->Height() ||
              W->Top() + W->Height() < Label->Top())
            continue;
          if (!Field || W->Left() < Field->Left()) Field = W;
        }
        if (Field) Rows.emplace_back(Label, Field);
      }
    };
    Walk(*Page);
    ASSERT_FALSE(Rows.empty()) << "page " << Index;
    const int Column = PageLeft(Rows.front().second, Page);
    int Bottom = 0;
    for (int i = 0; i < Page->ControlCount(); ++i)
      Bottom = std::max(Bottom, Page->Controls(i)->Top() + Page->Controls(i)->Height());
    EXPECT_LE(Bottom, Page->ClientHeight()) << "page " << Index;
    for (const auto& [Label, Field] : Rows) {
      const std::string Text = WideToUtf8(Label->Caption());
      EXPECT_EQ(PageLeft(Field, Page), Column) << "page " << Index << ": " << Text;
      const int Words = Label->WordWrap() ? WrappedWidth(*Label) : textfit::TextWidth(*Label, Label->Caption());
      EXPECT_GE(PageLeft(Field, Page) - PageLeft(Label, Page) - Words, cfgCaptionGap) << Text;
    }
  }

  TKemCheckListBox* Hints = nullptr;
  for (const auto& Page : Model->Pages)
    for (const auto& Item : Page->Items)
      if (Item->Kind == kciCustomPage)
        if (auto* P = dynamic_cast<TOvCfgHints*>(static_cast<TKemConfigItemCustomPage&>(*Item).Instance))
          Hints = P->Modules;
  ASSERT_NE(Hints, nullptr);
  EXPECT_EQ(GetWindowLongW(Hints->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_LE(Hints->ItemHeight() * Hints->Items()->Count(), Hints->ClientHeight());

  // The closed language list shows "Deutsch" right of its flag.
  TKemLanSelector* Languages = Dialog->LanSelector;
  RedrawWindow(Languages->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_NE(Languages->Picture(), nullptr);
  TBitmap* Flag = LanguageFlag(CurrentLanguageIndex());
  const int TextLeft = (Flag ? Flag->Width() : 0) + TKemPictureSelector::kTextGap;
  TBitmap Expected;
  Expected.SetPixelFormat(pf24bit);
  Expected.SetSize(200, 40);
  Expected.Canvas()->Brush()->SetColor(clWhite);
  Expected.Canvas()->FillRect(Rect(0, 0, 200, 40));
  Expected.Canvas()->Font()->Assign(*Dialog->Font());
  Expected.Canvas()->Font()->SetColor(clBlack);
  Expected.Canvas()->TextOut(2, 10, u"Deutsch");
  EXPECT_EQ(InkRows(*Languages->Picture(), TextLeft), InkRows(Expected, 0));

  Dialog->Hide();
  Dialog->TearDown();
  Dialog->Free();
  DoneLanguages(false);
  EXPECT_TRUE(App.Errors.empty());
}

// Every page walked by keys alone in both languages: Tab from the page tree
// through every control and back, Shift+Tab the way back, and Enter and
// Escape from each kind of control give OK's and Cancel's results.
TEST_F(CfgPagesWin, EveryPageIsWalkedByKeysAloneInBothLanguages) {
  InitLanguages();
  std::unique_ptr<TKemConfigDlg> Model = BuildPreferencesModel(OvPageFactories(Host));
  for (const char* Code : {"US", "DE"}) {
    SelectLanguageByCode(Code);
    auto* Dialog = NewForm<TdPreferences>(Application, *Model);
    Dialog->BuildPages();
    Dialog->Show();
    std::vector<std::string> Kinds;
    TUcTreeNodes* Nodes = Dialog->tvPages->Items();
    for (int Page = 0; Page < Nodes->TopCount(); ++Page) {
      Dialog->tvPages->SetSelected(Nodes->TopItem(Page));
      Dialog->tvPages->SetFocus();
      EXPECT_EQ(keywalk::WalkFaults(*Dialog), std::vector<std::string>()) << Code << " page " << Page;
      EXPECT_EQ(keywalk::EnterEscapeFaults(*Dialog, mrOk, mrCancel, &Kinds), std::vector<std::string>())
          << Code << " page " << Page;
    }
    for (const char* Kind : {"edit", "check box", "list", "combo box", "button"})
      EXPECT_NE(std::find(Kinds.begin(), Kinds.end(), Kind), Kinds.end()) << Kind;
    Dialog->TearDown();
    Dialog->Free();
  }
  DoneLanguages(false);
  EXPECT_TRUE(App.Errors.empty());
}

}  // namespace
