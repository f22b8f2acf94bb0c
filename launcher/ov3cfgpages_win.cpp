// The shortcut rows and the module hints page, and how the dialog makes the
// launcher's pages.
#include "launcher/ov3cfgpages_win.h"

#include <algorithm>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kemchklb_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kempicture_win.h"
#include "kem3/dialogs/kemcfglayout.h"
#include "kem3/dialogs/kemcfgrows_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "kem3/framework/kemxml.h"
#include "kem3/pictures/kemimage_win.h"
#include "launcher/ov3hotkeytext.h"
#include "launcher/ov3modrules.h"
#include "launcher/ov3module.h"
#include "platform/extctrls_win.h"
#include "platform/unicode_convert.h"

namespace {

// The rows' captions' usual column (their fields start 3 further right) and
// the shortcut row's frame: its labels' column.
constexpr int kRowLabelWidth = 128, kUsualField = kRowLabelWidth + 3, kFrameLabelWidth = 52;

}  // namespace

TKemLabel* PlaceLabel(TWinControl* Parent, int Left, int Top, int Width, int Height) {
  auto* Label = Place<TKemLabel>(Parent, Left, Top, Width, Height);
  Label->SetParentColor(true);
  Label->SetTransparent(true);
  return Label;
}

bool LoadPagePicture(TBitmap& Bitmap, const String& Name) {
  for (HINSTANCE Module : {static_cast<HINSTANCE>(nullptr), ResourceLibraryModule()}) {
    try {
      TBitmap Picture;
      LoadBitmapResource(Picture, Name, Module);
      if (Picture.Empty()) continue;
      Bitmap.Assign(Picture);
      return true;
    } catch (const Exception&) {
      // A damaged picture is one we do not have.
    }
  }
  return false;
}

// ---- Shortcut rows

void TOvCfgHotkey::CreateControls(TWinControl* Parent, int Top) {
  const TOvHotkeyKind& Kind = HotkeyKind(Param);
  FCaption = PlaceLabel(Parent, 0, Top + 4, kRowLabelWidth, 17);
  FCaption->SetAutoSize(false);
  FCaption->SetWordWrap(true);
  // The box in the window colour that holds the row's frame.
  FBox = Place<TPanel>(Parent, kUsualField, Top, Parent->ClientWidth() - kUsualField, 65);
  FBox->SetBevelOuter(bvNone);
  FBox->SetColor(clWindow);
  FPane = Place<TPanel>(FBox, 0, 0, FBox->Width(), 61);
  FPane->SetBevelOuter(bvNone);
  FPane->SetParentColor(true);
  FFrame = Place<TKemFrame>(FPane, 4, 4, FPane->Width() - 8, 61 - 8);
  // The fill shows as it is where the picture is missing.
  FFrame->SetColor(static_cast<TColor>(0xE0E0E0));
  FFrame->SetFillColor(static_cast<TColor>(0xE0E0E0));
  FFrame->SetSizes({6, 6, 6, 6});
  TBitmap Picture;
  if (LoadPagePicture(Picture, "PANEFRAME")) FFrame->SetImage(Picture);
  FKeyLabel = PlaceLabel(FFrame, 6, 7, kFrameLabelWidth, 17);
  FKeyLabel->SetAutoSize(false);
  FModifiersLabel = PlaceLabel(FFrame, 6, 31, kFrameLabelWidth, 17);
  FModifiersLabel->SetAutoSize(false);
  KeyList = Place<TKemDropDownList>(FFrame, 60, 4, 316, 21);
  KeyList->SetFlat(true);
  const int Lists = Kind.Global ? 4 : 3;
  for (int i = 0; i < Lists; ++i) {
    auto* List = Place<TKemDropDownList>(FFrame, 60, 28, 76, 21);
    List->SetFlat(true);
    ModifierLists.push_back(List);
  }
  FRow = HotkeyRowFromText(cfgGetStr(Kind.Setting), Kind.Global);
  UpdateLanguage();
}

int TOvCfgHotkey::FieldColumn() {
  if (!FCaption) return 0;
  // A long caption breaks between its words beside the box: only its
  // longest word asks for a wider column.
  int Widest = 0;
  const WideString Text = FCaption->Caption();
  for (size_t Start = 0; Start <= Text.size();) {
    size_t Blank = Text.find(u' ', Start);
    if (Blank == WideString::npos) Blank = Text.size();
    Widest = std::max(Widest, CaptionWidth(FCaption, Text.substr(Start, Blank - Start)));
    Start = Blank + 1;
  }
  return std::max(kUsualField, Widest + cfgCaptionGap);
}

void TOvCfgHotkey::SetFieldColumn(int Column) {
  FColumn = Column;
  Arrange();
}

int TOvCfgHotkey::GetHeight() { return 65 + (FLines - 1) * cfgListPitch + 4; }

void TOvCfgHotkey::Arrange() {
  if (!FCaption) return;
  TWinControl* Parent = FBox->Parent();
  // The frame's label column as wide as its texts need in the language shown;
  // the modifier lists share what is left, on as many lines as they need.
  const int Left = std::max(FColumn, FieldColumn());
  const int FrameWidth = Parent->ClientWidth() - Left - 8;
  const int LabelWidth = std::max({kFrameLabelWidth, CaptionWidth(FKeyLabel, FKeyLabel->Caption()) + 2,
                                   CaptionWidth(FModifiersLabel, FModifiersLabel->Caption()) + 2});
  FKeyLabel->SetWidth(LabelWidth);
  FModifiersLabel->SetWidth(LabelWidth);
  const int ListLeft = 6 + LabelWidth + 2;
  const int ListRight = FrameWidth - 6;
  KeyList->SetBounds(ListLeft, 4, ListRight - ListLeft, 21);
  FLines = cfgFlowListControls(ModifierLists, ListLeft, ListRight, 28);
  const int Height = 65 + (FLines - 1) * cfgListPitch;
  FCaption->SetBounds(0, FCaption->Top(), Left - 3, Height - 4);
  FBox->SetBounds(Left, FBox->Top(), Parent->ClientWidth() - Left, Height);
  FPane->SetBounds(0, 0, FBox->Width(), Height - 4);
  FFrame->SetBounds(4, 4, FrameWidth, Height - 4 - 8);
}

void TOvCfgHotkey::FillLists() {
  const bool Global = HotkeyKind(Param).Global;
  const int Key = KeyList->ItemIndex() >= 0 ? KeyList->ItemIndex() : FRow.KeyItem;
  KeyList->Items()->Clear();
  KeyList->Items()->Add(TranslateIndex(281, u"(no key)"));
  for (const TOvKeyName& Name : KeyNames()) KeyList->Items()->Add(Utf8ToWide(Name.DisplayName));
  KeyList->SetItemIndex(Key);
  for (size_t i = 0; i < ModifierLists.size(); ++i) {
    TKemDropDownList* List = ModifierLists[i];
    const int Shown = List->ItemIndex() >= 0 ? List->ItemIndex() : FRow.Modifiers[i];
    std::vector<WideString> Choices = ModifierChoices(i);
    if (!Global && Choices.size() > 2) Choices.resize(2);
    List->Items()->Clear();
    for (const WideString& Choice : Choices) List->Items()->Add(Choice);
    List->SetItemIndex(Shown < static_cast<int>(Choices.size()) ? Shown : 0);
  }
}

void TOvCfgHotkey::UpdateLanguage() {
  if (!FCaption) return;
  const TOvHotkeyKind& Kind = HotkeyKind(Param);
  FCaption->SetCaption(Translate(Kind.Caption, Utf8ToWide(Kind.Caption)));
  FKeyLabel->SetCaption(Translate("Key", u"Key"));
  FModifiersLabel->SetCaption(Translate("Modifiers", u"Modifiers"));
  FillLists();
  Arrange();
}

void TOvCfgHotkey::Apply() {
  if (!KeyList) return;
  const TOvHotkeyKind& Kind = HotkeyKind(Param);
  FRow.KeyItem = std::max(KeyList->ItemIndex(), 0);
  for (size_t i = 0; i < ModifierLists.size(); ++i) FRow.Modifiers[i] = std::max(ModifierLists[i]->ItemIndex(), 0);
  const String Text = HotkeyRowText(FRow, Kind.Global);
  // Notified, so OK and Apply rebuild the hotkeys or the group keys at once.
  cfgSetValueNotify(Kind.Setting, Text);
  FRow = HotkeyRowFromText(Text, Kind.Global);
}

// ---- Module hints

void TOvCfgHints::CreateControls(TWinControl* Parent, int Top) {
  FCaption = PlaceLabel(Parent, 0, Top + 4, kRowLabelWidth, 17);
  FCaption->SetAutoSize(false);
  Modules = Place<TKemCheckListBox>(Parent, kUsualField, Top, Parent->ClientWidth() - kUsualField, 80);
  for (size_t i = 0; i < kModules.size(); ++i) Modules->Items()->Add(WideString());
  for (size_t i = 0; i < kModules.size(); ++i) Modules->SetChecked(static_cast<int>(i), ModuleHints[i]);
  UpdateLanguage();
}

int TOvCfgHints::GetHeight() { return Modules ? Modules->Height() + 4 : 0; }

int TOvCfgHints::FieldColumn() {
  return FCaption ? std::max(kUsualField, CaptionWidth(FCaption, FCaption->Caption()) + cfgCaptionGap) : 0;
}

void TOvCfgHints::SetFieldColumn(int Column) {
  FColumn = Column;
  Arrange();
}

void TOvCfgHints::Arrange() {
  const int Left = std::max(FColumn, FieldColumn());
  FCaption->SetWidth(Left - 3);
  // Every module on a row of its own, whatever the font makes of a row, and
  // a margin: no scroll bar.
  const int Frame = Modules->Height() - Modules->ClientHeight();
  const int Height = Modules->ItemHeight() * Modules->Items()->Count() + Frame + 4;
  Modules->SetBounds(Left, Modules->Top(), Modules->Parent()->ClientWidth() - Left, Height);
}

void TOvCfgHints::FillTitles() {
  TKemXmlTag* Elements = FHost.ModulesElement ? FHost.ModulesElement() : nullptr;
  for (size_t i = 0; i < kModules.size(); ++i) {
    TKemXmlTag* Element = Elements ? Elements->FindPath(kModules[i].Name) : nullptr;
    const String Title = Element ? Element->ReadAttr("title", kModules[i].Name) : String(kModules[i].Name);
    Modules->Items()->Put(static_cast<int>(i), ModuleText(String(), Title));
  }
}

void TOvCfgHints::UpdateLanguage() {
  if (!FCaption) return;
  FCaption->SetCaption(Translate("ShowHints", u"Show hints of"));
  FillTitles();
  Arrange();
}

void TOvCfgHints::Apply() {
  if (!Modules) return;
  String Text;
  for (size_t i = 0; i < kModules.size(); ++i) {
    ModuleHints[i] = Modules->Checked(static_cast<int>(i));
    Text += ModuleHints[i] ? '1' : '0';
  }
  cfgSetValueNotify(ovsShowHints, Text);
}

// ---- The dialog's makers

TOvPageFactories OvPageFactories(TOvPagesHost Host) {
  TOvPageFactories Pages;
  Pages.Hotkey = [] { return std::unique_ptr<TKemCustomDlgPage>(new TOvCfgHotkey); };
  Pages.ScreenArea = [Host] { return std::unique_ptr<TKemCustomDlgPage>(new TOvCfgScreenArea(Host)); };
  Pages.Hints = [Host] { return std::unique_ptr<TKemCustomDlgPage>(new TOvCfgHints(Host)); };
  Pages.Modules = [Host] { return std::unique_ptr<TKemCustomDlgPage>(new TOvCfgModules(Host)); };
  return Pages;
}
