// The shortcut rows and the module hints page, and how the dialog makes the
// launcher's pages.
#include "launcher/ov3cfgpages_win.h"

#include "kem3/controls/kemchklb_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kempicture_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "kem3/framework/kemxml.h"
#include "kem3/pictures/kemimage_win.h"
#include "launcher/ov3modrules.h"
#include "launcher/ov3module.h"
#include "platform/extctrls_win.h"
#include "platform/unicode_convert.h"

namespace {

std::vector<WideString> SplitChoices(const WideString& Text) {
  std::vector<WideString> Pieces;
  size_t Start = 0;
  for (;;) {
    const size_t Bar = Text.find(u'|', Start);
    Pieces.push_back(Text.substr(Start, Bar == WideString::npos ? WideString::npos : Bar - Start));
    if (Bar == WideString::npos) break;
    Start = Bar + 1;
  }
  return Pieces;
}

// The English texts, until a language gives its own.
constexpr std::array<const char16_t*, 4> kModifierDefaults = {
    u"No Ctrl|Ctrl|Left Ctrl|Right Ctrl", u"No Alt|Alt|Left Alt|Right Alt", u"No Shift|Shift|Left Shift|Right Shift",
    u"No Windows|Windows|Left Windows|Right Windows"};

void FitLabelCaption(TKemLabel* Label, const WideString& Caption) {
  // A translation longer than the label's room gets a smaller font (down to
  // 6 points) rather than running into the control beside it.
  constexpr int kSmallest = 6;
  Label->SetParentFont(true);
  Label->SetCaption(Caption);
  TBitmap Scratch;
  TCanvas* Canvas = Scratch.Canvas();
  Canvas->Font()->Assign(*Label->Font());
  int Size = Canvas->Font()->Size();
  while (Size > kSmallest && Canvas->TextWidth(Caption) > Label->Width()) Canvas->Font()->SetSize(--Size);
  if (Size != Label->Font()->Size()) Label->Font()->SetSize(Size);
}

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
  FCaption = PlaceLabel(Parent, 0, Top + 4, 128, 17);
  // The box in the window colour that holds the row's frame.
  auto* Box = Place<TPanel>(Parent, 131, Top, Parent->ClientWidth() - 131, 65);
  Box->SetBevelOuter(bvNone);
  Box->SetColor(clWindow);
  auto* Pane = Place<TPanel>(Box, 0, 0, Box->Width(), 61);
  Pane->SetBevelOuter(bvNone);
  Pane->SetParentColor(true);
  auto* Frame = Place<TKemFrame>(Pane, 4, 4, Pane->Width() - 8, 61 - 8);
  // The fill shows as it is where the picture is missing.
  Frame->SetColor(static_cast<TColor>(0xE0E0E0));
  Frame->SetFillColor(static_cast<TColor>(0xE0E0E0));
  Frame->SetSizes({6, 6, 6, 6});
  TBitmap Picture;
  if (LoadPagePicture(Picture, "PANEFRAME")) Frame->SetImage(Picture);
  // Inside the frame's border, clear of the lists at 60.
  FKeyLabel = PlaceLabel(Frame, 6, 7, 52, 17);
  FModifiersLabel = PlaceLabel(Frame, 6, 31, 52, 17);
  KeyList = Place<TKemDropDownList>(Frame, 60, 4, Kind.Global ? 316 : 317, 21);
  KeyList->SetFlat(true);
  const int Lists = Kind.Global ? 4 : 3;
  for (int i = 0; i < Lists; ++i) {
    auto* List = Kind.Global ? Place<TKemDropDownList>(Frame, 60 + i * 80, 28, 76, 21)
                             : Place<TKemDropDownList>(Frame, 60 + i * 107, 28, 103, 21);
    List->SetFlat(true);
    ModifierLists.push_back(List);
  }
  FRow = HotkeyRowFromText(cfgGetStr(Kind.Setting), Kind.Global);
  UpdateLanguage();
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
    std::vector<WideString> Choices = SplitChoices(TranslateIndex(283 + static_cast<int>(i), kModifierDefaults[i]));
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
  FitLabelCaption(FKeyLabel, Translate("Key", u"Key"));
  FitLabelCaption(FModifiersLabel, Translate("Modifiers", u"Modifiers"));
  FillLists();
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
  FCaption = PlaceLabel(Parent, 0, Top + 4, 128, 17);
  Modules = Place<TKemCheckListBox>(Parent, 131, Top, Parent->ClientWidth() - 131, 80);
  for (size_t i = 0; i < kModuleNames.size(); ++i) Modules->Items()->Add(WideString());
  // Four rows and a margin.
  Modules->SetBounds(131, Top, Parent->ClientWidth() - 131, Modules->ItemHeight() * 4 + 8);
  for (size_t i = 0; i < kModuleNames.size(); ++i) Modules->SetChecked(static_cast<int>(i), ModuleHints[i]);
  UpdateLanguage();
}

int TOvCfgHints::GetHeight() { return Modules ? Modules->Height() + 4 : 0; }

void TOvCfgHints::FillTitles() {
  TKemXmlTag* Elements = FHost.ModulesElement ? FHost.ModulesElement() : nullptr;
  for (size_t i = 0; i < kModuleNames.size(); ++i) {
    TKemXmlTag* Element = Elements ? Elements->FindPath(kModuleNames[i]) : nullptr;
    const String Title = Element ? Element->ReadAttr("title", kModuleNames[i]) : String(kModuleNames[i]);
    Modules->Items()->Put(static_cast<int>(i), ModuleText(String(), Title));
  }
}

void TOvCfgHints::UpdateLanguage() {
  if (!FCaption) return;
  FCaption->SetCaption(Translate("ShowHints", u"Show hints of"));
  FillTitles();
}

void TOvCfgHints::Apply() {
  if (!Modules) return;
  String Text;
  for (size_t i = 0; i < kModuleNames.size(); ++i) {
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
