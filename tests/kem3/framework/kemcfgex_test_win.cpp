// The preferences dialog on real windows: where its rows land, what the main
// form hears from its buttons, a page without items in the tree, a language
// switched by Apply, a whole modal run, and the selectors' items as their
// work bitmaps hold them.
#include "kem3/framework/kemcfgex_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemcustompage_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemlancb_win.h"
#include "kem3/framework/kemskincb_win.h"
#include "kem3/graphics/vosskin_fixture.h"
#include "kem3/graphics/vosskinlist.h"
#include "kem3/unicode/uccomctrls_win.h"
#include "kemlan_test_support.h"
#include "platform/app_scope_win.h"
#include "platform/extctrls_win.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"

namespace {

using Log = std::vector<std::string>;

// Places one panel where it is told and stores setting 5 on Apply.
class TFakePage : public TKemCustomDlgPage {
 public:
  explicit TFakePage(Log& L) : FLog(L) {}
  void CreateControls(TWinControl* Parent, int Top) override {
    Panel = new TPanel(Parent);
    Panel->SetParent(Parent);
    Panel->SetBounds(0, Top, 50, 100);
  }
  int GetHeight() override { return 100; }
  int GetTopOffset() override { return 12; }
  void Apply() override {
    FLog.push_back("apply");
    cfgSetValueNotify(5, cfgGetInt(5) + 1);
  }
  void Close() override { FLog.push_back("close"); }
  TPanel* Panel = nullptr;

 private:
  Log& FLog;
};

// The application's main form: it hears what the dialog delivers.
class TMainProbe : public TKemForm {
 public:
  TMainProbe(TComponent* AOwner, Log& L) : TKemForm(AOwner, TCreateNew{}) {
    SetBorderStyle(bsNone);
    OnConfigUpdate = [&L](int Id, const Variant& Value) { L.push_back(std::to_string(Id) + " " + Value.AsString()); };
  }
};

class PreferencesWin : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(Dir.path() / "Language");
    SetProgramFileName(Dir.file("ov3.exe"));
    cfgInit();
    cfgAddItem(5, cfgtInteger, 0, "S", "Five", "", unNone, -1, 0, 0, 21);
    Application->CreateForm<TMainProbe>(Heard);
  }
  void TearDown() override {
    FreeSkinList();
    DoneLanguages(false);
    cfgDone();
    SetProgramFileName("");
  }
  void AddLanguage(const String& File, const String& Code, const String& Name, const String& Entries,
                   const TBitmap* Flag = nullptr) {
    lantest::WriteFile(Dir.file("Language/" + File),
                       lantest::Lan2Bytes(lantest::Catalogue(Code, Name, Entries), 0, Flag, Flag));
  }
  // A dialog as Execute builds it, without showing it modally.
  TdPreferences* Open(TKemConfigDlg& Model) {
    auto* form = NewForm<TdPreferences>(Application, Model);
    form->BuildPages();
    return form;
  }

  TempDir Dir;
  TFakeTimerService Timers;
  TAppScope App;
  Log Heard, Pages;
};

const char* kUs =
    "10 - = General\n11 - = Empty\n400 Button_Ok = OK\n402 Button_Apply = Apply\n"
    "640 TdPreferences_Language = Language\n";
const char* kDe =
    "10 - = Allgemein\n11 - = Leer\n400 Button_Ok = OK\n402 Button_Apply = Anwenden\n"
    "640 TdPreferences_Language = Sprache\n";

TEST_F(PreferencesWin, RowsStackAndTheButtonsReachTheMainFormInOrder) {
  AddLanguage("ov3a.lan", "US", "English", kUs);
  InitLanguages();
  TKemConfigDlg model;
  TKemConfigDlgPage* page = model.AddPage(10);
  page->AddLanguageSelector(25);
  page->AddSkinSelector(25);
  TFakePage* fake = nullptr;
  page->AddCustomPage(
      [&]() -> std::unique_ptr<TKemCustomDlgPage> {
        auto made = std::make_unique<TFakePage>(Pages);
        fake = made.get();
        return made;
      },
      0);
  TdPreferences* form = Open(model);
  EXPECT_EQ(form->nbPages->PageCount(), 2) << "a lone page gets a second notebook page";
  const int width = form->nbPages->Width();
  EXPECT_EQ(form->LanSelector->Top(), 32);
  EXPECT_EQ(form->LanSelector->Left(), width / 4);
  EXPECT_EQ(form->LanSelector->Width(), width - width / 4);
  EXPECT_EQ(form->SkinSelector->Top(), 96);
  EXPECT_EQ(form->cbLayouts->Top(), 160);
  ASSERT_NE(fake, nullptr);
  EXPECT_EQ(fake->Panel->Top(), 172);
  EXPECT_EQ(fake->Panel->Parent(), form->NotePage(*page));
  TKemPanel* header = page->Header;
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->Caption(), u"  General");
  EXPECT_EQ(header->BoundsRect(), TRect(0, 0, width, 24));
  EXPECT_EQ(header->Font()->Size(), 10);
  EXPECT_TRUE(header->Font()->Style().Contains(fsBold));

  Heard.clear();
  form->btApply->Click();
  form->btOk->Click();
  form->btCancel->Click();
  EXPECT_EQ(Heard, (Log{"-10 2", "5 1", "-11 2", "-10 0", "5 2", "-11 0", "-20 1"}));
  EXPECT_EQ(Pages, (Log{"apply", "apply"}));
  form->TearDown();
  EXPECT_EQ(Pages.back(), "close");
  EXPECT_EQ(static_cast<TKemConfigItemCustomPage*>(page->Items[2].get())->Instance, nullptr);
  EXPECT_EQ(page->Header, nullptr);
  form->Free();
}

TEST_F(PreferencesWin, APageWithoutItemsCannotBeSelectedAndApplyRetranslatesTheDialog) {
  AddLanguage("ov3a.lan", "US", "English", kUs);
  AddLanguage("ov3b.lan", "DE", "Deutsch", kDe);
  InitLanguages();
  SelectLanguageByCode("US");
  TKemConfigDlg model;
  TKemConfigDlgPage* general = model.AddPage(10);
  general->AddLanguageSelector(30);
  TKemConfigDlgPage* empty = model.AddPage(11);
  TdPreferences* form = Open(model);
  TUcTreeNodes* nodes = form->tvPages->Items();
  form->tvPages->HandleNeeded();
  form->tvPages->SetSelected(nodes->TopItem(0));
  EXPECT_EQ(form->nbPages->PageIndex(), 0);
  form->tvPages->SetSelected(nodes->TopItem(1));
  EXPECT_EQ(form->tvPages->Selected(), nodes->TopItem(0)) << "the page has no items";
  EXPECT_EQ(form->nbPages->PageIndex(), 0);

  const auto texts = [&] {
    TKemLabel* label = nullptr;
    TKemNote* note = form->NotePage(*general);
    for (int i = 0; i < note->ControlCount(); ++i) {
      if (auto* l = dynamic_cast<TKemLabel*>(note->Controls(i))) label = l;
    }
    return Log{WideToUtf8(nodes->TopItem(0)->Text()),  WideToUtf8(nodes->TopItem(1)->Text()),
               WideToUtf8(general->Header->Caption()), WideToUtf8(empty->Header->Caption()),
               WideToUtf8(form->btApply->Caption()),   WideToUtf8(label->Caption())};
  };
  EXPECT_EQ(texts(), (Log{"General", "Empty", "  General", "  Empty", "Apply", "Language"}));
  form->LanSelector->SetItemIndex(LanguageManager().IndexOfCode("DE"));
  form->btApply->Click();
  EXPECT_EQ(LanguageCode(CurrentLanguageIndex()), "DE");
  EXPECT_EQ(texts(), (Log{"Allgemein", "Leer", "  Allgemein", "  Leer", "Anwenden", "Sprache"}));
  form->TearDown();
  form->Free();
}

// What the modal dialog showed when the timer found it, before it pressed OK.
int ShownPage;
TKemCustomDlgPage* LiveInstance;
TKemConfigItemCustomPage* Watched;
HWND Focused, TreeHandle;

void CALLBACK PressOkOnceShown(HWND, UINT, UINT_PTR, DWORD) {
  if (!dPreferences || !dPreferences->Visible() || ShownPage != -2) return;
  ShownPage = dPreferences->nbPages->PageIndex();
  LiveInstance = Watched->Instance;
  Focused = GetFocus();
  TreeHandle = dPreferences->tvPages->Handle();
  dPreferences->btOk->Click();
}

TEST_F(PreferencesWin, ExecuteShowsTheFirstPageAndLeavesNothingBehind) {
  TKemConfigDlg model;
  model.AddPage(-1)->AddCustomPage([&] { return std::make_unique<TFakePage>(Pages); }, 0);
  model.AddPage(-1)->AddCustomPage([&] { return std::make_unique<TFakePage>(Pages); }, 0);
  auto* item = static_cast<TKemConfigItemCustomPage*>(model.Pages[0]->Items[0].get());
  Watched = item;
  ShownPage = -2;
  LiveInstance = nullptr;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, PressOkOnceShown);
  model.Execute();
  KillTimer(nullptr, timer);
  EXPECT_EQ(ShownPage, 0);
  EXPECT_EQ(Focused, TreeHandle) << "keys reach the tree at once";
  EXPECT_NE(LiveInstance, nullptr);
  EXPECT_EQ(dPreferences, nullptr);
  EXPECT_EQ(item->Instance, nullptr);
  EXPECT_EQ(Pages, (Log{"apply", "apply", "close", "close"}));
  EXPECT_EQ(Heard.front(), "-10 0");
  EXPECT_EQ(Heard.back(), "-11 0");
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

// Draws the selector's item Index in its closed box and gives the picture.
TBitmap& ItemPicture(TKemPictureSelector* Selector, int Index) {
  Selector->SetItemIndex(Index);
  RedrawWindow(Selector->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  return *Selector->Picture();
}

TEST_F(PreferencesWin, SelectorItemsShowFlagsAndPreviewsBesideTheirTexts) {
  TBitmap flag;
  flag.SetPixelFormat(pf24bit);
  flag.SetSize(30, 54);
  for (int y = 0; y < 54; ++y)
    for (int x = 0; x < 30; ++x) flag.SetPixelColor(x, y, clRed);
  AddLanguage("ov3a.lan", "AA", "Alpha", "", &flag);
  AddLanguage("ov3b.lan", "BB", "Beta", "");
  InitLanguages();
  const auto skins = Dir.path() / "Skins";
  for (const char* name : {"a", "b"}) {
    std::filesystem::create_directories(skins / name);
    vosskintest::WriteText((skins / name / "skin.xml").string(),
                           std::string("<?xml version=\"1.0\"?><vosskindefinition title=\"") + name +
                               "\"><layouts><l id=\"x\" title=\"X\"/></layouts><layout/></vosskindefinition>");
  }
  // Half-transparent red: blended onto the item's background.
  vosskintest::WritePicture((skins / "a" / "skin.png").string(), 20, 40, true, [](int, int) { return 0x80FF0000u; });
  ScanSkinsIn(skins.string());
  ASSERT_EQ(GetSkinCount(), 2);

  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(0, 0, 400, 200);
  auto* languages = new TKemLanSelector(form);
  languages->SetParent(form);
  languages->SetBounds(0, 0, 300, 60);
  auto* looks = new TKemSkinSelector(form);
  looks->SetParent(form);
  looks->SetBounds(0, 80, 300, 60);
  form->Show();
  languages->FillItems();
  looks->FillItems();
  EXPECT_EQ(languages->Items()->Get(1), u"Beta");
  EXPECT_EQ(looks->Items()->Get(0), GetSkinTitle(0) == "a" ? u"a" : u"b");
  EXPECT_EQ(languages->ItemHeight(), 54);

  TBitmap& alpha = ItemPicture(languages, LanguageManager().IndexOfCode("AA"));
  EXPECT_EQ(alpha.PixelColor(0, 0), clRed) << "the flag at the left";
  EXPECT_GE(FirstInk(alpha, 30), 36) << "the name 6 pixels right of the flag";
  TBitmap& beta = ItemPicture(languages, LanguageManager().IndexOfCode("BB"));
  const int betaInk = FirstInk(beta, 0);
  EXPECT_GE(betaInk, 6);
  EXPECT_LE(betaInk, 8) << "no flag: the name 6 pixels from the edge";

  const int withPreview = GetSkinTitle(0) == "a" ? 0 : 1;
  TBitmap& preview = ItemPicture(looks, withPreview);
  const TColor blended = preview.PixelColor(0, 0);
  EXPECT_NEAR(blended & 0xFF, 0xFF, 2);
  EXPECT_NEAR((blended >> 8) & 0xFF, 0x7F, 4) << "blended by its alpha, not copied";
  EXPECT_GE(FirstInk(preview, 20), 26);
  TBitmap& plain = ItemPicture(looks, 1 - withPreview);
  const int plainInk = FirstInk(plain, 0);
  EXPECT_GE(plainInk, 6);
  EXPECT_LE(plainInk, 8);
}

}  // namespace
