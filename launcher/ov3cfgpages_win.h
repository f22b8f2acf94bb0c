// The launcher's own preference pages: shortcut rows, the screen areas with
// their monitor picture, the module hints and the modules with their
// parameters. The dialog makes them through OvPageFactories.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "kem3/controls/kembase_win.h"
#include "kem3/dialogs/kemcustompage_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3cfgpages.h"
#include "platform/bitmap.h"
#include "platform/controls_win.h"

class TfMain;
class TKemButton;
class TKemCheckbox;
class TKemCheckListBox;
class TKemComboBox;
class TKemDropDownList;
class TKemFrame;
class TKemLabel;
class TKemLayout;
class TKemPanelList;
class TKemSpinEdit;
class TKemXmlTag;
class TPanel;

// What the pages need of the bar.
struct TOvPagesHost {
  // The areas of the bar's present hide edge.
  std::function<TOvAreaFlags()> AutomaticAreas;
  // The "modules" element of the contents (may be nil).
  std::function<TKemXmlTag*()> ModulesElement;
  // The modules page wrote the document: reload, rearrange, save.
  std::function<void(const TOvModulesApply&)> ModulesApplied;
};
TOvPageFactories OvPageFactories(TOvPagesHost Host);
TOvPagesHost BarPagesHost(TfMain& Bar);

// A picture of the program (or, failing that, of the resource library) by
// name; false, Bitmap unchanged, when neither has it.
bool LoadPagePicture(TBitmap& Bitmap, const String& Name);

// A caption on whatever its parent shows behind it.
TKemLabel* PlaceLabel(TWinControl* Parent, int Left, int Top, int Width, int Height);

// One shortcut row; the parameter is its kind (0-3).
class TOvCfgHotkey : public TKemCustomDlgPage {
 public:
  void CreateControls(TWinControl* Parent, int Top) override;
  // Taller when the modifier lists need more than one line.
  int GetHeight() override;
  void Apply() override;
  void UpdateLanguage() override;
  int FieldColumn() override;
  void SetFieldColumn(int Column) override;

  TKemDropDownList* KeyList = nullptr;
  std::vector<TKemDropDownList*> ModifierLists;

 private:
  void FillLists();
  // Columns from the texts in the language shown; the lists share the rest,
  // in as many lines as their texts need.
  void Arrange();
  int FColumn = 0;  // the page's field column
  int FLines = 1;   // lines of modifier lists
  TPanel* FBox = nullptr;
  TPanel* FPane = nullptr;
  TKemFrame* FFrame = nullptr;
  TKemLabel* FCaption = nullptr;
  TKemLabel* FKeyLabel = nullptr;
  TKemLabel* FModifiersLabel = nullptr;
  TOvHotkeyRow FRow;
};

// The monitor the area picture sits in, drawn from four pictures and kept.
class TOvScreenFrame : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override;

 private:
  TBitmap FCache;
};

// The eight clickable areas of the screen.
class TOvScreenArea : public TCustomControl {
 public:
  explicit TOvScreenArea(TComponent* AOwner);
  TOvAreaView View;
  int EdgeSize = 3;
  int CornerSize = 5;
  void SetSizes(int Edge, int Corner);
  void SetCustomEnabled(bool Value);

 protected:
  // A window class of its own, so the picture is found among the page's windows.
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  // The area under the point, as the picture draws them (the hit map).
  int HitAt(int X, int Y) const;
};

class TOvCfgScreenArea : public TKemCustomDlgPage {
 public:
  explicit TOvCfgScreenArea(TOvPagesHost Host) : FHost(std::move(Host)) {}
  void CreateControls(TWinControl* Parent, int Top) override;
  int GetHeight() override { return 160; }
  int GetTopOffset() override { return 12; }
  void Apply() override;
  void UpdateLanguage() override;
  int FieldColumn() override;
  void SetFieldColumn(int Column) override;

  TKemComboBox* AreaSet = nullptr;
  TOvScreenArea* Areas = nullptr;
  TKemSpinEdit* EdgeSize = nullptr;
  TKemSpinEdit* CornerSize = nullptr;

 private:
  void FillAreaSet();
  TOvPagesHost FHost;
  TPanel* FPanel = nullptr;
  TKemLabel* FCaption = nullptr;
  TKemLabel* FEdgeLabel = nullptr;
  TKemLabel* FCornerLabel = nullptr;
};

class TOvCfgHints : public TKemCustomDlgPage {
 public:
  explicit TOvCfgHints(TOvPagesHost Host) : FHost(std::move(Host)) {}
  void CreateControls(TWinControl* Parent, int Top) override;
  int GetHeight() override;
  void Apply() override;
  void UpdateLanguage() override;
  int FieldColumn() override;
  void SetFieldColumn(int Column) override;

  TKemCheckListBox* Modules = nullptr;

 private:
  void FillTitles();
  // At the field column, as tall as its items.
  void Arrange();
  TOvPagesHost FHost;
  TKemLabel* FCaption = nullptr;
  int FColumn = 0;
};

class TOvCfgModules : public TKemCustomDlgPage {
 public:
  explicit TOvCfgModules(TOvPagesHost Host);
  ~TOvCfgModules() override;
  void CreateControls(TWinControl* Parent, int Top) override;
  int GetHeight() override { return 300; }
  void Close() override;
  void Apply() override;
  void UpdateLanguage() override;

  TKemPanelList* List = nullptr;
  TKemButton* ActivateButton = nullptr;
  std::unique_ptr<TOvModulesModel> Model;
  // Flips the selected module (the page's activate command).
  void ToggleSelected();

 private:
  struct TEditor {
    TKemLabel* Label = nullptr;
    TKemSpinEdit* Spin = nullptr;
    TKemCheckbox* Check = nullptr;
    TKemDropDownList* Choice = nullptr;
  };
  void ShowParameters(int Record);
  void StoreShown();
  void RefreshItems();
  int SelectedRecord() const;
  TOvPagesHost FHost;
  TWinControl* FParent = nullptr;
  TPanel* FParams = nullptr;
  TKemLayout* FHelp = nullptr;
  std::vector<TEditor> FEditors;
  int FShown = -1;
  TBitmap FActiveMark, FInactiveMark;
};
