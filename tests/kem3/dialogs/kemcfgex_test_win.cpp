// The preferences dialog on real windows: where its rows land, a page
// without items in the tree, a language switched by Apply, a whole modal run,
// and the selectors' items as their work bitmaps hold them.
#include "kem3/dialogs/kemcfgex_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/dialogs/kemcustompage_win.h"
#include "kem3/dialogs/kemlancb_win.h"
#include "kem3/dialogs/kemskincb_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemlan_test_support.h"
#include "kem3/graphics/vosskin_fixture.h"
#include "kem3/graphics/vosskinlist.h"
#include "kem3/unicode/uccomctrls_win.h"
#include "platform/app_scope_win.h"
#include "platform/extctrls_win.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"

namespace {

using Log = std::vector<std::string>;

// A panel where it is told; Apply counts setting 5 up.
class TFakePage : public TKemCustomDlgPage {
 public:
  void CreateControls(TWinControl* Parent, int Top) override {
    Panel = new TPanel(Parent);
    Panel->SetParent(Parent);
    Panel->SetBounds(0, Top, 50, 100);
  }
  int GetHeight() override { return 100; }
  int GetTopOffset() override { return 12; }
  void Apply() override { cfgSetValueNotify(5, cfgGetInt(5) + 1); }
  TPanel* Panel = nullptr;
};

class PreferencesWin : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(Dir.path() / "Language");
    SetProgramFileName(Dir.file("ov3.exe"));
    cfgInit();
    cfgAddItem(5, cfgtInteger, 0, "S", "Five", "", unNone, -1, 0, 0, 21);
    auto* main = Application->CreateForm<TKemForm>(TKemForm::TCreateNew{});  // hears what the dialog delivers
    main->OnConfigUpdate = [this](int Id, const Variant& V) {
      Heard.push_back(std::to_string(Id) + " " + V.AsString());
    };
  }
  void TearDown() override {
    FreeSkinList();
    DoneLanguages(false);
    cfgDone();
    SetProgramFileName("");
  }
  void AddLanguage(const char* File, const char* Code, const char* Entries, const TBitmap* Flag = nullptr) {
    lantest::WriteFile(Dir.file(String("Language/") + File),
                       lantest::Lan2Bytes(lantest::Catalogue(Code, Code, Entries), 0, Flag, Flag));
  }
  TempDir Dir;
  TFakeTimerService Timers;
  TAppScope App;
  Log Heard;
};

TEST_F(PreferencesWin, RowsStackAnEmptyPageIsNotSelectedAndApplyRetranslatesTheDialog) {
  AddLanguage("ov3a.lan", "US",
              "10 - = General\n11 - = Empty\n402 Button_Apply = Apply\n640 TdPreferences_Language = Language\n");
  AddLanguage("ov3b.lan", "DE",
              "10 - = Allgemein\n11 - = Leer\n402 Button_Apply = Übernehmen\n640 TdPreferences_Language = Sprache\n");
  InitLanguages();
  SelectLanguageByCode("US");
  TKemConfigDlg model;
  TKemConfigDlgPage* general = model.AddPage(10);
  general->AddLanguageSelector(25);
  general->AddSkinSelector(25);
  general->AddCustomPage([] { return std::make_unique<TFakePage>(); }, 0);
  TKemConfigDlgPage* empty = model.AddPage(11);
  auto* form = NewForm<TdPreferences>(Application, model);
  form->BuildPages();
  auto* item = static_cast<TKemConfigItemCustomPage*>(general->Items[2].get());
  EXPECT_EQ(static_cast<TFakePage*>(item->Instance)->Panel->Top(), 172);
  EXPECT_EQ(general->Header->BoundsRect(), TRect(0, 0, form->nbPages->Width(), 24));
  EXPECT_EQ(general->Header->Font()->Size(), 10);

  TUcTreeNodes* nodes = form->tvPages->Items();
  form->tvPages->HandleNeeded();
  form->tvPages->SetSelected(nodes->TopItem(0));
  EXPECT_EQ(form->nbPages->PageIndex(), 0);
  form->tvPages->SetSelected(nodes->TopItem(1));
  EXPECT_EQ(form->tvPages->Selected(), nodes->TopItem(0)) << "the page has no items";

  auto* label = dynamic_cast<TKemLabel*>(form->NotePage(*general)->Controls(1));  // after the header
  ASSERT_NE(label, nullptr);
  const auto texts = [&] {
    return Log{WideToUtf8(nodes->TopItem(1)->Text()), WideToUtf8(general->Header->Caption()),
               WideToUtf8(empty->Header->Caption()), WideToUtf8(form->btApply->Caption()),
               WideToUtf8(label->Caption())};
  };
  EXPECT_EQ(texts(), (Log{"Empty", "  General", "  Empty", "Apply", "Language"}));
  form->LanSelector->SetItemIndex(LanguageManager().IndexOfCode("DE"));
  form->Font()->SetSize(10);  // German's dialog font, a quarter larger
  form->btApply->Click();
  EXPECT_EQ(texts(), (Log{"Leer", "  Allgemein", "  Leer", "Übernehmen", "Sprache"}));
  // The buttons grow from the right edge to show their captions whole.
  int right = form->ClientWidth() - 8;
  for (TKemButton* b : {form->btApply, form->btCancel, form->btOk}) {
    TFontTextMeasure measure(*b->Font());
    EXPECT_GE(b->Width(), measure.TextExtent(b->Caption()).cx + 8) << WideToUtf8(b->Caption());
    EXPECT_LE(b->BoundsRect().Right, right);
    right = b->Left();
  }
  EXPECT_EQ(Heard, (Log{"-10 2", "5 1", "-11 2"}));
  form->TearDown();
  form->Free();
}

// What the modal dialog showed when the timer found it, before it pressed OK.
int ShownPage, NotebookPages;
TKemConfigItemCustomPage* Watched;
bool TreeFocused;

void CALLBACK PressOkOnceShown(HWND, UINT, UINT_PTR, DWORD) {
  if (!dPreferences || !dPreferences->Visible() || ShownPage != -2) return;
  ShownPage = dPreferences->nbPages->PageIndex();
  NotebookPages = dPreferences->nbPages->PageCount();
  TreeFocused = GetFocus() == dPreferences->tvPages->Handle();
  dPreferences->btOk->Click();
}

TEST_F(PreferencesWin, ExecuteShowsTheFirstPageAndLeavesNothingBehind) {
  TKemConfigDlg model;
  model.AddPage(-1)->AddCustomPage([] { return std::make_unique<TFakePage>(); }, 0);
  Watched = static_cast<TKemConfigItemCustomPage*>(model.Pages[0]->Items[0].get());
  ShownPage = -2;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, PressOkOnceShown);
  model.Execute();
  KillTimer(nullptr, timer);
  EXPECT_EQ(NotebookPages, 2) << "a lone page gets a second notebook page";
  EXPECT_EQ(ShownPage, 0) << "built last, selected at the show";
  EXPECT_TRUE(TreeFocused);
  EXPECT_EQ(dPreferences, nullptr);
  EXPECT_EQ(Watched->Instance, nullptr);
  EXPECT_EQ(Heard, (Log{"-10 0", "5 1", "-11 0"}));
}

// ---- The selectors' items

// The first column from X on with a pixel other than the item's background.
int FirstInk(const TBitmap& Item, int X) {
  const TColor back = Item.PixelColor(Item.Width() - 1, 0);
  for (; X < Item.Width(); ++X)
    for (int y = 0; y < Item.Height(); ++y)
      if (Item.PixelColor(X, y) != back) return X;
  return -1;
}

// The selector's item Index drawn in its closed box.
TBitmap& ItemPicture(TKemPictureSelector* Selector, int Index) {
  Selector->SetItemIndex(Index);
  RedrawWindow(Selector->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  return *Selector->Picture();
}

TEST_F(PreferencesWin, SelectorItemsShowFlagsAndPreviewsBesideTheirTexts) {
  TBitmap flag;
  flag.SetSize(30, 54);
  flag.Canvas()->Brush()->SetColor(clRed);
  flag.Canvas()->FillRect(TRect(0, 0, 30, 54));
  AddLanguage("ov3a.lan", "AA", "", &flag);
  AddLanguage("ov3b.lan", "BB", "");
  InitLanguages();
  const auto skins = Dir.path() / "Skins";
  for (const char* name : {"a", "b"}) {
    std::filesystem::create_directories(skins / name);
    vosskintest::WriteText((skins / name / "skin.xml").string(),
                           std::string("<?xml version=\"1.0\"?><vosskindefinition title=\"") + name +
                               "\"><layouts><l id=\"x\" title=\"X\"/></layouts><layout/></vosskindefinition>");
  }
  vosskintest::WritePicture((skins / "a" / "skin.png").string(), 20, 40, true, [](int, int) { return 0x80FF0000u; });
  ScanSkinsIn(skins.string());
  auto* form = NewForm<TQuietForm>(Application);
  const auto place = [form](TKemPictureSelector* Selector, int Top) {
    Selector->SetParent(form);
    Selector->SetBounds(0, Top, 300, 60);
    Selector->FillItems();
    return Selector;
  };
  form->Show();
  TKemPictureSelector* languages = place(new TKemLanSelector(form), 0);
  TKemPictureSelector* looks = place(new TKemSkinSelector(form), 80);

  TBitmap& flagged = ItemPicture(languages, LanguageManager().IndexOfCode("AA"));
  EXPECT_EQ(flagged.Height(), 54) << "the closed box as tall as the list's items";
  EXPECT_EQ(flagged.PixelColor(0, 0), clRed);
  EXPECT_GE(FirstInk(flagged, 30), 36) << "the name 6 pixels right of the flag";
  const int withPreview = GetSkinTitle(0) == "a" ? 0 : 1;
  const TColor blended = ItemPicture(looks, withPreview).PixelColor(0, 0);
  EXPECT_NEAR(blended & 0xFF, 0xFF, 2);
  EXPECT_NEAR((blended >> 8) & 0xFF, 0x7F, 4) << "half-transparent red blended onto white";
  EXPECT_GE(FirstInk(*looks->Picture(), 20), 26);
  for (TBitmap* plain :
       {&ItemPicture(languages, LanguageManager().IndexOfCode("BB")), &ItemPicture(looks, 1 - withPreview)}) {
    const int ink = FirstInk(*plain, 0);
    EXPECT_TRUE(ink >= 6 && ink <= 8) << ink << ": without a picture the text starts 6 pixels in";
  }
  // A language change brings its own font size: box and items stay as tall.
  const LRESULT box = SendMessageW(languages->Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  EXPECT_GE(box, 54);
  for (int size : {10, 8}) {
    form->Font()->SetSize(size);
    for (TKemPictureSelector* selector : {languages, looks}) {
      EXPECT_EQ(SendMessageW(selector->Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), box) << size;
      EXPECT_EQ(SendMessageW(selector->Handle(), CB_GETITEMHEIGHT, 0, 0), 54) << size;
      EXPECT_EQ(ItemPicture(selector, 0).Height(), 54) << size;
    }
  }
}

}  // namespace
