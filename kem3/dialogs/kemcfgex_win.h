// TdPreferences: the preferences dialog the model (kemcfgdlg.h) runs. A tree
// of page captions on the left, a notebook with one page per tree node on
// the right, OK, Cancel and Apply below; every page is built before the
// dialog shows, and OK and Apply hand the changes to the main form.
// Its parts lie beside it in kem3/dialogs/: the generated settings pages
// (kemcfgpage_win.h, laid out by kemcfglayout.h), the program's own pages
// (kemcustompage.h) and the language and skin selectors.
#pragma once
#include <vector>

#include "kem3/controls/kemform_win.h"
#include "kem3/dialogs/kemcfgdlg.h"

class TKemButton;
class TKemComboBox;
class TKemLanSelector;
class TKemNote;
class TKemNotebook;
class TKemPanel;
class TKemSkinSelector;
class TTreeNode;
class TUcTreeView;

class TdPreferences : public TKemForm, private TKemConfigDlgHost {
 public:
  // Controls in code; the form is named by the model (SetFormName) before
  // AfterConstruction loads it.
  TdPreferences(TComponent* AOwner, TKemConfigDlg& Model);
  ~TdPreferences() override;

  TUcTreeView* tvPages = nullptr;
  TKemNotebook* nbPages = nullptr;
  // Only while a page has a language or skin item.
  TKemLanSelector* LanSelector = nullptr;
  TKemSkinSelector* SkinSelector = nullptr;
  TKemComboBox* cbLayouts = nullptr;
  TKemButton* btOk = nullptr;
  TKemButton* btCancel = nullptr;
  TKemButton* btApply = nullptr;

  TKemConfigDlg& Model() const { return FRun.Model(); }
  TKemConfigDlgRun& Run() { return FRun; }
  // The notebook's pages anew, then every page of the model.
  void BuildPages();
  // The generated rows of every page cleared, then the custom pages closed and freed.
  void TearDown();
  // The layouts of the skin in the selector; the position kept when the skin has that many.
  void FillSkinLayouts();
  // The notebook page a dialog page was built on.
  TKemNote* NotePage(const TKemConfigDlgPage& Page) const;

 protected:
  // No border icons: Escape and Cancel close the dialog.
  void CreateParams(TCreateParams& Params) override;

 private:
  void FormShow();
  void TreeChanging(TTreeNode* Node, bool& AllowChange);
  void TreeChange(TTreeNode* Node);
  void FormActionExecute(TKemAction* Action);
  void FormLanguageChange();
  // OK, Cancel and Apply from the right, each as wide as its caption needs in
  // the language shown (at least the usual 75 pixels).
  void PlaceButtons();
  // Font from the form again, a quarter larger, white and bold; caption after two blanks.
  void StyleHeader(TKemPanel& Header, const WideString& Caption);
  // ---- TKemConfigDlgHost
  void BuildPageFrame(TKemConfigDlgPage& Page) override;
  int BuildPart(TKemConfigDlgPage& Page, const TKemConfigItemPart& Item, int Top) override;
  void BuildLanguageSelector(TKemConfigDlgPage& Page, const TKemConfigItemLan& Item, int Top) override;
  void BuildSkinSelector(TKemConfigDlgPage& Page, const TKemConfigItemSkin& Item, int Top, int LayoutTop) override;
  void PlaceCustomPage(TKemConfigDlgPage& Page, TKemCustomDlgPage& Instance, int Top) override;
  bool NotifyMainForm(int Id, const Variant& Value) override;
  void LockRedraw(bool Lock) override;
  void ReadGeneratedRows() override;
  int ChosenLanguage() override;
  int ChosenSkin() override;
  int ChosenLayout() override;
  bool SelectLanguage(int Index) override;
  bool SelectSkin(int Skin, int Layout) override;
  void RelabelPage(TKemConfigDlgPage& Page) override;
  int ControlMark(TKemConfigDlgPage& Page) override;
  void ShiftControls(TKemConfigDlgPage& Page, int Mark, int Dy) override;
  int FieldColumn(TKemConfigDlgPage& Page) override;
  void SetFieldColumn(TKemConfigDlgPage& Page, int Column) override;
  void FitPagesHeight(int Bottom) override;
  // The tree, the notebook and the buttons for pages this tall.
  void PlacePages(int NotebookHeight);

  // A selector's row: its caption, the selector (and the skin's layout list
  // below it) and where the selector starts without a wider caption.
  struct TSelectorRow {
    TKemNote* Page;
    TControl* Caption;
    TControl* Selector;
    TControl* Below;
    int UsualLeft;
  };
  std::vector<TSelectorRow> FSelectorRows;
  TKemConfigDlgRun FRun;
};

// The dialog while TKemConfigDlg::Execute runs; nullptr otherwise.
extern TdPreferences* dPreferences;
