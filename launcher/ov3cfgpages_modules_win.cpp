// The modules page: the bar's modules in their order, dragged to reorder,
// switched on and off, and their parameters edited.
#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemchkbx_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemlout_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/controls/kemsedit_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "kem3/framework/kemxml.h"
#include "launcher/ov3cfgpages_win.h"
#include "launcher/ov3module.h"
#include "platform/extctrls_win.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

constexpr int kListWidth = 180;
constexpr int kListHeight = 200;
constexpr int kRowHeight = 26;
constexpr TColor kInactiveText = static_cast<TColor>(0x909090);
constexpr TColor kRuleColor = static_cast<TColor>(0x909090);  // as the help's mark-up fills the rule

// The help's styles, shared by every layout of the process: the language's
// own font (its script) for the text, a thin grey rule above it.
void RegisterHelpStyles() {
  if (!FindTextStyle("hinttext")) AddTextStyle("hinttext", "kemlanfont:0", 8, clBtnText, kaLeft, TRect{0, 0, 0, 2});
  if (!FindTextStyle("hintline"))
    AddTextStyle("hintline", "kemlanfont:0", 1, clBtnText, kaLeft, TRect{0, 0, 0, 4})->AddTab(0);
}

String ResourceDir() {
  const String Dir = GetExeDir();
  return Dir + "Resources" + String(1, Dir.empty() ? '\\' : Dir.back());
}

}  // namespace

TOvCfgModules::TOvCfgModules(TOvPagesHost Host) : FHost(std::move(Host)) {
  LoadPagePicture(FActiveMark, "MODULEACTIVE");
  LoadPagePicture(FInactiveMark, "MODULEINACTIVE");
}

TOvCfgModules::~TOvCfgModules() = default;

void TOvCfgModules::CreateControls(TWinControl* Parent, int Top) {
  FParent = Parent;
  Model = std::make_unique<TOvModulesModel>(FHost.ModulesElement ? FHost.ModulesElement() : nullptr,
                                            ReadPackageList(ResourceDir()));
  List = Place<TKemPanelList>(Parent, 0, Top, kListWidth, kListHeight);
  List->SetStyle(plsListbox);
  TKemPanelListOptions Options = List->Options();
  Options.Include(ploDragReorder);
  List->SetOptions(Options);
  for (int Record : Model->Order) List->Add(WideString())->Data = Record;

  const int Right = kListWidth + 10;
  ActivateButton = Place<TKemButton>(Parent, Right, Top, 140, 25);
  ActivateButton->OnClick = [this](TObject*) { ToggleSelected(); };
  FParams = Place<TPanel>(Parent, Right, Top + 34, Parent->ClientWidth() - Right, kListHeight - 34);
  FParams->SetBevelOuter(bvNone);
  RegisterHelpStyles();
  FHelp = Place<TKemLayout>(Parent, 0, Top + kListHeight + 8, Parent->ClientWidth(), 48);
  FHelp->SetColor(Parent->Color());
  auto RuleEnd = std::make_unique<TBitmap>();
  RuleEnd->SetSize(1, 1);
  RuleEnd->Canvas()->SetPixels(0, 0, kRuleColor);
  FHelp->AddPicture(std::move(RuleEnd));
  FHelp->SetVisible(cfgGetBool(ovsShowDragHint));

  List->OnChange = [this](TObject*) {
    StoreShown();
    ShowParameters(SelectedRecord());
  };
  List->OnReorder = [this](TObject*, int From, int To) {
    Model->Move(From, To);
    // The hint has done its work: it is not shown again.
    if (cfgGetBool(ovsShowDragHint)) cfgSetValue(ovsShowDragHint, false);
    FHelp->SetVisible(false);
  };
  UpdateLanguage();
  if (!Model->Order.empty()) List->SetItemIndex(0);
  ShowParameters(SelectedRecord());
}

void TOvCfgModules::Close() {
  // The marks are the page's; the list may outlive it for a moment.
  if (!List) return;
  for (int i = 0; i < List->Count(); ++i) List->Items(i)->Images.clear();
  List = nullptr;
}

int TOvCfgModules::SelectedRecord() const {
  TKemPanelListItem* Item = List ? List->SelectedItem() : nullptr;
  return Item ? Item->Data.AsInteger() : -1;
}

void TOvCfgModules::RefreshItems() {
  for (int i = 0; i < List->Count(); ++i) {
    TKemPanelListItem* Item = List->Items(i);
    const TOvModuleRecord& R = Model->Records.at(static_cast<size_t>(Item->Data.AsInteger()));
    Item->SetCaption(ModuleText(String(), R.Element->ReadAttr("title", R.Element->Name)));
    Item->TextColor = R.Active ? clNone : kInactiveText;
    Item->Images.clear();
    TBitmap& Mark = R.Active ? FActiveMark : FInactiveMark;
    if (!Mark.Empty()) Item->Images.push_back(&Mark);
  }
  List->Rebuild();
  const int Record = SelectedRecord();
  const bool Active = Record < 0 || Model->Records[static_cast<size_t>(Record)].Active;
  ActivateButton->SetCaption(Active ? Translate("Deactivate", u"Deactivate") : Translate("Activate", u"Activate"));
  ActivateButton->SetEnabled(Record >= 0 && Model->CanDeactivate(Record));
}

void TOvCfgModules::ToggleSelected() {
  const int Record = SelectedRecord();
  if (Record < 0 || !Model->CanDeactivate(Record)) return;
  Model->Toggle(Record);
  RefreshItems();
}

void TOvCfgModules::ShowParameters(int Record) {
  for (TEditor& E : FEditors)
    for (TControl* C : std::initializer_list<TControl*>{E.Label, E.Spin, E.Check, E.Choice})
      if (C) C->Free();
  FEditors.clear();
  FShown = Record;
  RefreshItems();
  if (Record < 0) return;
  const TOvModuleRecord& R = Model->Records[static_cast<size_t>(Record)];
  const int EditLeft = 112;
  const int EditWidth = std::max(FParams->ClientWidth() - EditLeft - 8, 80);
  int Y = 0;
  for (const TOvModuleParam& P : R.Params) {
    TEditor E;
    const WideString Caption = ModuleText(R.Element->Name, P.Title);
    switch (P.Type) {
      case optInteger:
        E.Label = PlaceLabel(FParams, 0, Y + 4, EditLeft - 4, 17);
        E.Spin = Place<TKemSpinEdit>(FParams, EditLeft, Y, 80, 21);
        // No limits of its own: the module keeps its picture sensible.
        E.Spin->SetMinValue(-1e9);
        E.Spin->SetMaxValue(1e9);
        E.Spin->SetValue(StrToIntDef(P.Value, 0));
        break;
      case optBoolean:
        E.Check = Place<TKemCheckbox>(FParams, 0, Y + 2, EditLeft + EditWidth, 17);
        E.Check->SetParentColor(true);
        E.Check->SetCaption(Caption);
        E.Check->SetChecked(YesNoToBool(P.Value, false));
        break;
      case optResource: {
        E.Label = PlaceLabel(FParams, 0, Y + 4, EditLeft - 4, 17);
        E.Choice = Place<TKemDropDownList>(FParams, EditLeft, Y, EditWidth, 21);
        for (const String& Name : Model->ResourceNames(P.List)) E.Choice->Items()->Add(Utf8ToWide(Name));
        if (E.Choice->Items()->Count() > 0) E.Choice->SetItemIndex(Model->ResourceIndex(P.List, P.Value));
        break;
      }
      case optOther:
        break;
    }
    if (E.Label) E.Label->SetCaption(Caption);
    FEditors.push_back(E);
    if (P.Type != optOther) Y += kRowHeight;
  }
}

void TOvCfgModules::StoreShown() {
  if (FShown < 0 || !Model) return;
  const TOvModuleRecord& R = Model->Records[static_cast<size_t>(FShown)];
  std::vector<String> Values;
  for (size_t i = 0; i < R.Params.size() && i < FEditors.size(); ++i) {
    const TEditor& E = FEditors[i];
    const TOvModuleParam& P = R.Params[i];
    if (E.Spin)
      Values.push_back(IntToStr(E.Spin->Value()));
    else if (E.Check)
      Values.push_back(BoolToYesNo(E.Check->Checked()));
    else if (E.Choice)
      Values.push_back(Model->ResourceValue(P.List, E.Choice->ItemIndex(), P.Value));
    else
      Values.push_back(P.Value);
  }
  Model->StoreShown(FShown, Values);
}

void TOvCfgModules::UpdateLanguage() {
  if (!List) return;
  FHelp->Clear(false);
  for (const WideString& Paragraph :
       ModulesHelpMarkup(Translate("Hint_DragModules", u"Drag the modules to change their order."),
                         Translate("Hint_Deactivate", u"A module that is not active is not shown on the bar.")))
    FHelp->AddParagraph(Paragraph);
  FHelp->Invalidate();
  StoreShown();
  ShowParameters(FShown);
}

void TOvCfgModules::Apply() {
  if (!Model || !List) return;
  StoreShown();
  const TOvModulesApply Applied = Model->Apply();
  if (FHost.ModulesApplied) FHost.ModulesApplied(Applied);
  RefreshItems();
}
