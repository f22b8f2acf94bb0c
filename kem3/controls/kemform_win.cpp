// The form base: construction, language, actions and their keys, settings.
#include "kem3/controls/kemform_win.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "kem3/controls/kembase_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/pictures/kemimage_win.h"
#include "platform/screen_win.h"
#include "platform/unicode_convert.h"

namespace {

// Where the next FindAction of any form starts.
int ActionSearchStart = 0;

HMODULE ResourceLibrary = nullptr;

HINSTANCE OwnResourceLibrary() { return ResourceLibrary ? ResourceLibrary : GetModuleHandleW(L"kem3.dll"); }

// The form classes' own name ("TfMain"), as the language files name their texts.
String ClassNameOf(const TObject& Object) {
  const char* mangled = typeid(Object).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                    &std::free);
  String name = status == 0 && plain ? String(plain.get()) : String(mangled);
  const size_t scope = name.rfind("::");
  return scope == String::npos ? name : name.substr(scope + 2);
}

void InstallActionFinder() {
  // Role buttons take their form's action of an id, made on first request.
  SetFormActionFinder([](TCustomForm* Form, int Id) -> TBasicAction* {
    auto* form = dynamic_cast<TKemForm*>(Form);
    if (!form) return nullptr;
    if (TKemAction* action = form->FindAction(Id)) return action;
    return form->AddAction(Id, -1, -1, scNone);
  });
}

}  // namespace

// ---- TKemAction ---------------------------------------------------------------------

void TKemAction::SetLsiCaption(int Value) {
  FLsiCaption = Value;
  if (Value >= 0) SetCaption(TranslateIndex(Value, Caption()));
}

void TKemAction::SetLsiHint(int Value) {
  FLsiHint = Value;
  if (Value >= 0) SetHint(TranslateIndex(Value, Hint()));
}

void TKemAction::UpdateLanguage() {
  if (FLsiCaption >= 0) SetCaption(TranslateIndex(FLsiCaption, Caption()));
  if (FLsiHint >= 0) SetHint(TranslateIndex(FLsiHint, Hint()));
}

// ---- Construction -------------------------------------------------------------------

TKemForm::TKemForm(TComponent* AOwner) : TUcForm(AOwner), FDesigned(true), FActionImagesDeferred(true) {
  InitFields();
  SetKeyPreview(true);
}

TKemForm::TKemForm(TComponent* AOwner, TCreateNew) : TUcForm(AOwner) {
  SetKeyPreview(true);
  InitFields();
}

void TKemForm::InitFields() {
  FFormName.clear();
  FCaptionIndex = -2;
  InstallActionFinder();
}

TKemForm::~TKemForm() {
  if (FLanguageListener >= 0) UnregisterLanguageListener(FLanguageListener);
  FActions.Clear();
}

void TKemForm::AfterConstruction() {
  // A failure here reaches the code that made the form.
  if (FDesigned && !FLoaded) Loaded();
  TUcForm::AfterConstruction();
}

void TKemForm::Loaded() {
  TUcForm::Loaded();
  FDesignFontSize = Font()->Size();
  Font()->SetStyle({});
  if (FLanguageListener < 0) FLanguageListener = RegisterLanguageListener([this] { LanguageSwitched(); });
  // The language chosen at start-up was selected before any form existed:
  // the screen's fonts take it with the first form.
  LanguageSwitched();
  FLoaded = true;
}

void TKemForm::LanguageSwitched() {
  ApplyLanguageScreenFonts();
  UpdateLanguage();
  LanguageUpdated();
}

// ---- Language -------------------------------------------------------------------------

void TKemForm::UpdateLanguage() {
  if (CurrentLanguageIndex() < 0) {
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
  } else {
    Font()->SetName(CurrentLanguageFontName(0));
    // Halves go to even: a design size of 8 at scale 1.3125 is 10.
    Font()->SetSize(ScaleLanguageFontSize(FDesignFontSize));
  }
  if (FCaptionIndex < -1) FCaptionIndex = FindTextIndex(GetFormName() + "_Caption");
  UpdateCaption();
  for (int i = 0; i < FActions.Count(); ++i) FActions[i]->UpdateLanguage();
  UpdateChildLanguage(this);
  if (OnLanguageChange) OnLanguageChange(this);
}

void TKemForm::UpdateCaption() {
  if (FCaptionIndex >= 0) SetCaption(TranslateIndex(FCaptionIndex, Caption()));
}

String TKemForm::GetFormName() const { return FFormName.empty() ? ClassNameOf(*this) : FFormName; }

void ApplyLanguageScreenFonts() {
  if (!Screen) return;
  for (TFont* font : {Screen->MenuFont(), Screen->HintFont()}) {
    font->SetName(CurrentLanguageFontName(0));
    font->SetSize(CurrentLanguageFontSize(0));
    font->SetCharset(fcDefaultCharset);
  }
}

// ---- Actions --------------------------------------------------------------------------

TKemAction* TKemForm::NewAction(int Id) {
  auto* action = new TKemAction(nullptr);
  FActions.Add(action);
  action->SetId(Id);
  action->OnExecute = [this](TObject* Sender) {
    if (OnActionExecute) OnActionExecute(static_cast<TKemAction*>(Sender));
  };
  return action;
}

TKemAction* TKemForm::AddAction(int Id, int CaptionIndex, int HintIndex, TShortCut ShortCut) {
  TKemAction* action = NewAction(Id);
  action->SetLsiCaption(CaptionIndex);
  action->SetLsiHint(HintIndex);
  action->SetShortCut(ShortCut);
  if (!FActionImagesDeferred)
    if (const TActionInfo* info = FindActionInfo(Id)) action->SetImageIndex(info->ImageIndex);
  return action;
}

TKemAction* TKemForm::AddActionText(int Id, int CaptionIndex, int HintIndex, const String& ShortCutText) {
  return AddAction(Id, CaptionIndex, HintIndex, ShortCutText.empty() ? scNone : TextToShortCut(ShortCutText));
}

void TKemForm::CreateActions(int Group) {
  FActionImagesDeferred = true;
  for (int i = 0; i < ActionInfoCount(); ++i) {
    const TActionInfo& info = ActionInfos(i);
    if (info.Group != Group || FindAction(info.Id)) continue;
    TKemAction* action = NewAction(info.Id);
    action->SetCaption(info.CaptionText);
    action->SetHint(info.HintText);
    action->SetLsiCaption(info.CaptionIndex);
    action->SetLsiHint(info.HintIndex);
    action->SetShortCut(info.ShortCut);
    action->SetImageIndex(info.ImageIndex);
    action->SetToolAction(i);
  }
  FActionImagesDeferred = false;
}

TKemAction* TKemForm::FindAction(int Id) const {
  const int count = FActions.Count();
  if (count == 0) return nullptr;
  if (ActionSearchStart >= count) ActionSearchStart = 0;
  for (int step = 0; step < count; ++step) {
    const int i = (ActionSearchStart + step) % count;
    if (FActions[i]->Id() == Id) {
      ActionSearchStart = (i + 1) % count;
      return FActions[i];
    }
  }
  return nullptr;
}

TKemAction* TKemForm::ActionOfShortCut(TShortCut Code) const {
  for (int i = 0; i < FActions.Count(); ++i)
    if (FActions[i]->ShortCut() == Code) return FActions[i];
  return nullptr;
}

// ---- Keys -------------------------------------------------------------------------------

void TKemForm::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  const TShortCut code = ShortCut(Key, Shift);
  if (code == (scAlt | VK_F4)) {
    Key = 0;
    Close();
    return;
  }
  if (TKemAction* action = code != scNone ? ActionOfShortCut(code) : nullptr) {
    Key = 0;
    action->Execute();
    return;
  }
  TUcForm::KeyDown(Key, Shift);
}

void TKemForm::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  const TShortCut code = ShortCut(Key, Shift);
  if (TKemAction* action = code != scNone ? ActionOfShortCut(code) : nullptr) {
    action->SetRepeatCount(0);
    Key = 0;
    return;
  }
  TUcForm::KeyUp(Key, Shift);
}

bool TKemForm::FormDialogKey(std::uint16_t Key, TShiftState Shift) { return BroadcastDialogKey(this, Key, Shift); }

bool TKemForm::FormDialogChar(WideChar Key, TShiftState Shift) { return BroadcastDialogChar(this, Key, Shift); }

// ---- Settings ----------------------------------------------------------------------------

bool TKemForm::DoConfigUpdate(int Id, const Variant& Value) {
  if (!OnConfigUpdate) return false;
  OnConfigUpdate(Id, Value);
  return true;
}

void cfgApplyChanges(TKemForm& Form) {
  cfgApplyChanges([&Form](int Id, const Variant& Value) { return Form.DoConfigUpdate(Id, Value); });
}

void cfgApplyAll(TKemForm& Form) {
  cfgApplyAll([&Form](int Id, const Variant& Value) { return Form.DoConfigUpdate(Id, Value); });
}

// ---- The resource library -------------------------------------------------------------

HMODULE LoadResourceLibrary() {
  if (!ResourceLibrary) {
    ResourceLibrary = LoadKemLibrary();
    SetResourceLibraryFunction(OwnResourceLibrary);
  }
  return ResourceLibrary;
}

void FreeResourceLibrary() {
  if (ResourceLibrary && ResourceLibrary != GetModuleHandleW(nullptr)) FreeLibrary(ResourceLibrary);
  ResourceLibrary = nullptr;
}
