// The preferences dialog: its form built in code, its pages built from the
// model, tree navigation, the buttons' actions and Execute.
#include "kem3/dialogs/kemcfgex_win.h"

#include <algorithm>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/dialogs/kemcfgpage_win.h"
#include "kem3/dialogs/kemcustompage_win.h"
#include "kem3/dialogs/kemlancb_win.h"
#include "kem3/dialogs/kemskincb_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil_win.h"
#include "kem3/graphics/vosskinlist.h"
#include "kem3/unicode/ucaccel.h"
#include "kem3/unicode/uccomctrls_win.h"
#include "platform/application_win.h"
#include "platform/mathutils.h"
#include "platform/unicode_convert.h"

TdPreferences* dPreferences = nullptr;

namespace {

constexpr int kClientWidth = 750;
constexpr int kClientHeight = 500;
// Room below the tree and the notebook for the buttons' row.
constexpr int kButtonRowSpace = 49;
constexpr int kButtonRowTop = kClientHeight - 33;

constexpr TColor kHeaderFront = 0x808080;
constexpr TColor kHeaderHighlight = 0xA0A0A0;

TKemConfigDlgPage* PageOf(TTreeNode* Node) { return Node ? static_cast<TKemConfigDlgPage*>(Node->Data()) : nullptr; }

// A label at the row's left (LabelPercent of the page's width) and the
// selector beside it, filled and showing the item Selected.
template <class T>
T* PlaceSelector(TWinControl* Parent, T* Selector, const String& LanId, int LabelPercent, int Top, int Selected) {
  const int left = LabelPercent * Parent->Width() / 100;
  auto* label = new TKemLabel(Parent);
  label->SetParent(Parent);
  label->SetBounds(0, Top + 4, left, label->Height());
  label->SetLanId(LanId);
  label->UpdateLanguage();
  Selector->SetParent(Parent);
  Selector->SetBounds(left, Top, Parent->Width() - left, Selector->Height());
  Selector->FillItems();
  Selector->SetItemIndex(Selected);
  return Selector;
}

// Takes the form apart after a run, whatever happened during it.
void EndDialog(TdPreferences* Form) {
  dPreferences = nullptr;
  struct TFree {
    TdPreferences* Form;
    ~TFree() { Form->Free(); }
  } free{Form};
  Form->TearDown();
}

}  // namespace

TdPreferences::TdPreferences(TComponent* AOwner, TKemConfigDlg& Model) : TKemForm(AOwner), FRun(Model, *this) {
  SetFormName(Model.Name);
  Font()->SetName("Tahoma");
  Font()->SetSize(8);
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientSize(kClientWidth, kClientHeight);

  tvPages = new TUcTreeView(this);
  tvPages->SetParent(this);
  tvPages->SetBounds(8, 8, 200, kClientHeight - kButtonRowSpace);
  tvPages->SetReadOnly(true);
  tvPages->OnChanging = [this](TObject*, TTreeNode* Node, bool& Allow) { TreeChanging(Node, Allow); };
  tvPages->OnChange = [this](TObject*, TTreeNode* Node) { TreeChange(Node); };

  nbPages = new TKemNotebook(this);
  nbPages->SetParent(this);
  const int left = tvPages->Width() + 16;
  nbPages->SetBounds(left, 8, kClientWidth - left - 8, kClientHeight - kButtonRowSpace);

  const struct {
    TKemButton*& Button;
    TActionType Type;
  } buttons[] = {{btOk, atOk}, {btCancel, atCancel}, {btApply, atApply}};
  for (const auto& b : buttons) {
    b.Button = new TKemButton(this);
    b.Button->SetParent(this);
    b.Button->SetTabStop(true);
    b.Button->SetActionType(b.Type);
  }
  PlaceButtons();

  OnShow = [this](TObject*) { FormShow(); };
  OnLanguageChange = [this](TObject*) { FormLanguageChange(); };
  OnActionExecute = [this](TKemAction* Action) { FormActionExecute(Action); };
}

TdPreferences::~TdPreferences() = default;

void TdPreferences::CreateParams(TCreateParams& Params) {
  TKemForm::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_SYSMENU);
}

// ---- Building -------------------------------------------------------------------------

void TdPreferences::BuildPages() {
  nbPages->ClearPages();
  for (int i = 0; i < Model().NotebookPageCount(); ++i) nbPages->AddPage(String());
  FRun.BuildPages();
}

TKemNote* TdPreferences::NotePage(const TKemConfigDlgPage& Page) const {
  const int index = Page.NotebookIndex;
  return index >= 0 && index < nbPages->PageCount() ? nbPages->GetPage(index) : nullptr;
}

void TdPreferences::BuildPageFrame(TKemConfigDlgPage& Page) {
  tvPages->Items()->AddChildObject(nullptr, Page.GetCaption(), &Page);
  TKemNote* note = NotePage(Page);
  auto* header = new TKemPanel(note);
  header->SetParent(note);
  header->SetBounds(0, 0, nbPages->Width(), KemConfigHeaderHeight);
  header->SetBevelInner(bvNone);
  header->SetBevelOuter(bvNone);
  header->SetAlignment(taLeftJustify);
  header->SetFillStyle(fsGradHorz);
  header->SetColorFront(kHeaderFront);
  header->SetColorBack(Color());
  header->SetColorHighlight(kHeaderHighlight);
  header->SetColorShadow(clBlack);
  header->SetTextStyle(tsRaised);
  StyleHeader(*header, Page.Caption);
  Page.Header = header;
}

void TdPreferences::StyleHeader(TKemPanel& Header, const WideString& Caption) {
  Header.SetParentFont(true);
  TFont* font = Header.Font();
  font->SetSize(static_cast<int>(Round(font->Size() * 1.25)));
  font->SetColor(clWhite);
  font->SetStyle({fsBold});
  Header.SetCaption(u"  " + Caption);
}

int TdPreferences::BuildPart(TKemConfigDlgPage& Page, const TKemConfigItemPart& Item, int Top) {
  return cfgBuildPage(NotePage(Page), Item.PageId, Top, Item.Columns, Item.LeftPercent, Item.WidthPercent, 0, 0, 0);
}

void TdPreferences::BuildLanguageSelector(TKemConfigDlgPage& Page, const TKemConfigItemLan& Item, int Top) {
  TKemNote* note = NotePage(Page);
  LanSelector =
      PlaceSelector(note, new TKemLanSelector(note), "Language", Item.LabelPercent, Top, CurrentLanguageIndex());
}

void TdPreferences::BuildSkinSelector(TKemConfigDlgPage& Page, const TKemConfigItemSkin& Item, int Top, int LayoutTop) {
  TKemNote* note = NotePage(Page);
  SkinSelector =
      PlaceSelector(note, new TKemSkinSelector(note), "Skin", Item.LabelPercent, Top, GetSelectedSkinIndex());
  SkinSelector->OnChange = [this](TObject*) { FillSkinLayouts(); };
  cbLayouts = new TKemComboBox(note);
  cbLayouts->SetParent(note);
  cbLayouts->SetStyle(csDropDownList);
  cbLayouts->SetBounds(SkinSelector->Left(), LayoutTop, SkinSelector->Width(), cbLayouts->Height());
  FillSkinLayouts();
}

void TdPreferences::PlaceCustomPage(TKemConfigDlgPage& Page, TKemCustomDlgPage& Instance, int Top) {
  Instance.CreateControls(NotePage(Page), Top);
}

void TdPreferences::FillSkinLayouts() {
  if (!SkinSelector || !cbLayouts) return;
  int keep = cbLayouts->ItemIndex();
  if (keep < 0) keep = GetSelectedLayoutIndex();
  cbLayouts->Items()->Clear();
  if (const TStringList* layouts = GetSkinLayouts(SkinSelector->ItemIndex())) {
    for (int i = 0; i < layouts->Count(); ++i) {
      const String line = layouts->Get(i);  // "id=title"
      const size_t equals = line.find('=');
      cbLayouts->Items()->Add(Utf8ToWide(equals == String::npos ? line : line.substr(equals + 1)));
    }
  }
  if (keep >= cbLayouts->Items()->Count()) keep = 0;
  cbLayouts->SetItemIndex(keep);
}

void TdPreferences::TearDown() {
  for (const auto& page : Model().Pages) {
    if (TKemNote* note = NotePage(*page)) cfgClearPage(note);
  }
  FRun.Finish();
}

// ---- Navigation -------------------------------------------------------------------------

void TdPreferences::FormShow() {
  if (tvPages->Items()->TopCount() > 0) tvPages->SetSelected(tvPages->Items()->TopItem(0));
  // Keys work at once: the pages are walked with the arrows, Tab goes on to the page.
  SetActiveControl(tvPages);
}

void TdPreferences::TreeChanging(TTreeNode* Node, bool& AllowChange) {
  const TKemConfigDlgPage* page = PageOf(Node);
  AllowChange = page && !page->Items.empty();
}

void TdPreferences::TreeChange(TTreeNode* Node) {
  if (const TKemConfigDlgPage* page = PageOf(Node)) nbPages->SetPageIndex(page->NotebookIndex);
}

// ---- Actions and language ------------------------------------------------------------------

void TdPreferences::FormActionExecute(TKemAction* Action) { FRun.ActionExecute(Action->Id()); }

void TdPreferences::FormLanguageChange() {
  FRun.LanguageChanged();
  PlaceButtons();
}

void TdPreferences::PlaceButtons() {
  constexpr int kUsualWidth = 75, kGap = 13, kPadding = 16;
  int right = kClientWidth - 8;
  for (TKemButton* button : {btApply, btCancel, btOk}) {
    TFontTextMeasure measure(*button->Font());
    const int width = std::max(kUsualWidth, measure.TextExtent(StripWideHotKey(button->Caption())).cx + kPadding);
    button->SetBounds(right - width, kButtonRowTop, width, button->Height());
    right -= width + kGap;
  }
}

void TdPreferences::RelabelPage(TKemConfigDlgPage& Page) {
  TUcTreeNodes* nodes = tvPages->Items();
  for (int i = 0; i < nodes->TopCount(); ++i) {
    if (PageOf(nodes->TopItem(i)) == &Page) nodes->TopItem(i)->SetText(Page.Caption);
  }
  if (Page.Header) StyleHeader(*Page.Header, Page.Caption);
}

bool TdPreferences::NotifyMainForm(int Id, const Variant& Value) {
  auto* main = dynamic_cast<TKemForm*>(Application ? Application->MainForm() : nullptr);
  return main && main->DoConfigUpdate(Id, Value);
}

void TdPreferences::LockRedraw(bool Lock) { SetRedrawLock(this, Lock); }

void TdPreferences::ReadGeneratedRows() { cfgReadPage(); }

int TdPreferences::ChosenLanguage() { return LanSelector ? LanSelector->ItemIndex() : -1; }

int TdPreferences::ChosenSkin() { return SkinSelector ? SkinSelector->ItemIndex() : -1; }

int TdPreferences::ChosenLayout() { return cbLayouts ? cbLayouts->ItemIndex() : -1; }

void TdPreferences::SelectLanguage(int Index) { ::SelectLanguage(Index, String()); }

bool TdPreferences::SelectSkin(int Skin, int Layout) { return ::SelectSkin(Skin, Layout); }

// ---- Execute ---------------------------------------------------------------------------------

void TKemConfigDlg::Execute() {
  auto* form = new TdPreferences(Application, *this);
  dPreferences = form;
  try {
    form->AfterConstruction();
    form->BuildPages();
    form->ShowModal();
  } catch (...) {
    EndDialog(form);
    throw;
  }
  EndDialog(form);
}
