// The preferences dialog: its form built in code, its pages built from the
// model, tree navigation, the buttons' actions and Execute.
#include "kem3/dialogs/kemcfgex_win.h"

#include <algorithm>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/dialogs/kemcfglayout.h"
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
constexpr int kButtonRowBelow = 33;  // from the buttons' top to the client's bottom

constexpr TColor kHeaderFront = 0x808080;
constexpr TColor kHeaderHighlight = 0xA0A0A0;

TKemConfigDlgPage* PageOf(TTreeNode* Node) { return Node ? static_cast<TKemConfigDlgPage*>(Node->Data()) : nullptr; }

// A label at the row's left (LabelPercent of the page's width) and the
// selector beside it, filled and showing the item Selected.
template <class T>
T* PlaceSelector(TWinControl* Parent, T* Selector, const String& LanId, int LabelPercent, int Top, int Selected,
                 TKemLabel*& Label) {
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
  Label = label;
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
  TKemLabel* label = nullptr;
  LanSelector =
      PlaceSelector(note, new TKemLanSelector(note), "Language", Item.LabelPercent, Top, CurrentLanguageIndex(), label);
  FSelectorRows.push_back({note, label, LanSelector, nullptr, LanSelector->Left()});
}

void TdPreferences::BuildSkinSelector(TKemConfigDlgPage& Page, const TKemConfigItemSkin& Item, int Top, int LayoutTop) {
  TKemNote* note = NotePage(Page);
  TKemLabel* label = nullptr;
  SkinSelector =
      PlaceSelector(note, new TKemSkinSelector(note), "Skin", Item.LabelPercent, Top, GetSelectedSkinIndex(), label);
  SkinSelector->OnChange = [this](TObject*) { FillSkinLayouts(); };
  cbLayouts = new TKemComboBox(note);
  cbLayouts->SetParent(note);
  cbLayouts->SetStyle(csDropDownList);
  cbLayouts->SetBounds(SkinSelector->Left(), LayoutTop, SkinSelector->Width(), cbLayouts->Height());
  FillSkinLayouts();
  FSelectorRows.push_back({note, label, SkinSelector, cbLayouts, SkinSelector->Left()});
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
  // The generated rows' captions first: the pages line up by their new texts.
  cfgRelabel();
  FRun.LanguageChanged();
  PlaceButtons();
}

void TdPreferences::PlaceButtons() {
  constexpr int kUsualWidth = 75, kGap = 13, kPadding = 16;
  int right = kClientWidth - 8;
  for (TKemButton* button : {btApply, btCancel, btOk}) {
    const int width = std::max(kUsualWidth, CaptionWidth(button, StripWideHotKey(button->Caption())) + kPadding);
    button->SetBounds(right - width, ClientHeight() - kButtonRowBelow, width, button->Height());
    right -= width + kGap;
  }
}

void TdPreferences::PlacePages(int NotebookHeight) {
  SetClientHeight(NotebookHeight + kButtonRowSpace);
  tvPages->SetHeight(NotebookHeight);
  nbPages->SetHeight(NotebookHeight);
  PlaceButtons();
}

// ---- Lining the pages up ---------------------------------------------------------------

int TdPreferences::ControlMark(TKemConfigDlgPage& Page) {
  TKemNote* note = NotePage(Page);
  return note ? note->ControlCount() : 0;
}

void TdPreferences::ShiftControls(TKemConfigDlgPage& Page, int Mark, int Dy) {
  TKemNote* note = NotePage(Page);
  if (!note) return;
  for (int i = Mark; i < note->ControlCount(); ++i) {
    TControl* control = note->Controls(i);
    control->SetTop(control->Top() + Dy);
  }
}

int TdPreferences::FieldColumn(TKemConfigDlgPage& Page) {
  TKemNote* note = NotePage(Page);
  if (!note) return 0;
  int column = cfgFieldColumn(note);
  for (const TSelectorRow& row : FSelectorRows) {
    if (row.Page != note) continue;
    const int reach = row.Caption->Left() + CaptionWidth(row.Caption, row.Caption->Caption()) + cfgCaptionGap;
    column = std::max({column, row.UsualLeft, reach});
  }
  return column;
}

void TdPreferences::SetFieldColumn(TKemConfigDlgPage& Page, int Column) {
  TKemNote* note = NotePage(Page);
  if (!note) return;
  cfgSetFieldColumn(note, Column);
  for (const TSelectorRow& row : FSelectorRows) {
    if (row.Page != note) continue;
    const int left = Column;
    row.Caption->SetWidth(left - row.Caption->Left());
    for (TControl* field : {row.Selector, row.Below}) {
      if (field) field->SetBounds(left, field->Top(), note->Width() - left, field->Height());
    }
  }
}

void TdPreferences::FitPagesHeight(int Bottom) {
  // A page whose rows need more lines in the language shown makes the
  // dialog taller, never shorter than it is made.
  constexpr int kBottomSpace = 4;
  PlacePages(std::max(kClientHeight - kButtonRowSpace, Bottom + kBottomSpace));
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

bool TdPreferences::SelectLanguage(int Index) { return ::SelectLanguage(Index, String()); }

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
