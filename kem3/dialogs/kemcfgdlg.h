// The preferences dialog's model: pages declared by the program, each a list
// of items (generated rows of a settings page, the language and skin
// selectors, or a page of the program's own). The model outlives every run of
// the dialog; the dialog itself (kemcfgex_win.h) is built fresh by Execute.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/object.h"
#include "platform/types.h"
#include "platform/variant.h"

class TKemCustomDlgPage;
class TKemPanel;

// Makes a page of the program's own; called each time the dialog is built.
using TKemCustomPageFactory = std::function<std::unique_ptr<TKemCustomDlgPage>()>;

enum TKemConfigItemKind : std::uint8_t {
  kciPart = 1,
  kciLanguage = 2,
  kciSkin = 3,
  kciCustomPage = 6,
};

// The caption bar above every page's items.
inline constexpr int KemConfigHeaderHeight = 24;

class TKemConfigDlgItem : public TObject {
 public:
  explicit TKemConfigDlgItem(std::uint8_t Kind) : Kind(Kind) {}
  std::uint8_t Kind;
};

// The generated controls of one settings page.
class TKemConfigItemPart : public TKemConfigDlgItem {
 public:
  TKemConfigItemPart(int PageId, int Top, int Columns, int LeftPercent, int WidthPercent)
      : TKemConfigDlgItem(kciPart),
        PageId(PageId),
        Top(Top),
        Columns(Columns),
        LeftPercent(LeftPercent),
        WidthPercent(WidthPercent) {}
  int PageId;
  int Top;  // given top + the caption bar
  int Columns, LeftPercent, WidthPercent;
};

class TKemConfigItemLan : public TKemConfigDlgItem {
 public:
  explicit TKemConfigItemLan(int LabelPercent) : TKemConfigDlgItem(kciLanguage), LabelPercent(LabelPercent) {}
  int Top = 32;
  int LabelPercent;
};

class TKemConfigItemSkin : public TKemConfigDlgItem {
 public:
  explicit TKemConfigItemSkin(int LabelPercent) : TKemConfigDlgItem(kciSkin), LabelPercent(LabelPercent) {}
  int Top = 32;
  int LabelPercent;
};

class TKemConfigItemCustomPage : public TKemConfigDlgItem {
 public:
  TKemConfigItemCustomPage(TKemCustomPageFactory PageClass, int Param)
      : TKemConfigDlgItem(kciCustomPage), PageClass(std::move(PageClass)), Param(Param) {}
  int Top = 32;
  TKemCustomPageFactory PageClass;
  TKemCustomDlgPage* Instance = nullptr;  // owned by the running dialog; null outside it
  int Param;
};

// One tree node and one notebook page.
class TKemConfigDlgPage : public TObject {
 public:
  explicit TKemConfigDlgPage(int CaptionIndex) : CaptionIndex(CaptionIndex) {}
  std::vector<std::unique_ptr<TKemConfigDlgItem>> Items;
  WideString Caption;
  int CaptionIndex;
  int NotebookIndex = -1;
  TKemPanel* Header = nullptr;  // owned by its notebook page while the dialog runs

  void AddPart(int PageId, int Top, int Columns, int LeftPercent, int WidthPercent);
  void AddLanguageSelector(int LabelPercent);
  void AddSkinSelector(int LabelPercent);
  void AddCustomPage(TKemCustomPageFactory PageClass, int Param);
  // The caption, read again from the language when CaptionIndex is 0 or more.
  const WideString& GetCaption();
};

class TKemConfigDlg : public TObject {
 public:
  explicit TKemConfigDlg(const String& Name = String()) : Name(Name) {}
  std::vector<std::unique_ptr<TKemConfigDlgPage>> Pages;
  String Name;  // the dialog form's name; empty means "TdPreferences"
  int RunningPage = 0;

  TKemConfigDlgPage* AddPage(int CaptionIndex);
  // Builds, shows modally and tears the dialog down (Windows only).
  void Execute();
  // Notebook pages the dialog needs: one per page, but two for a lone page.
  int NotebookPageCount() const;
};

// The selector rows: a label, and the selector beside it; the skin's layout
// list lies below its selector.
inline constexpr int KemSelectorRowHeight = 64;
inline constexpr int KemLayoutRowHeight = 24;

// What a run of the dialog does outside the model: the Windows dialog makes
// controls and talks to the main form, the tests record the calls. The run
// (below) keeps the order of the steps and the arithmetic of the pages.
class TKemConfigDlgHost {
 public:
  virtual ~TKemConfigDlgHost() = default;

  // ---- Building, on the notebook page Page.NotebookIndex.
  // The tree node and the caption bar of the page.
  virtual void BuildPageFrame(TKemConfigDlgPage& Page) = 0;
  // The generated rows from Top down; the height they use.
  virtual int BuildPart(TKemConfigDlgPage& Page, const TKemConfigItemPart& Item, int Top) = 0;
  virtual void BuildLanguageSelector(TKemConfigDlgPage& Page, const TKemConfigItemLan& Item, int Top) = 0;
  virtual void BuildSkinSelector(TKemConfigDlgPage& Page, const TKemConfigItemSkin& Item, int Top, int LayoutTop) = 0;
  // Lets the page make its controls at Top on the notebook page.
  virtual void PlaceCustomPage(TKemConfigDlgPage& Page, TKemCustomDlgPage& Instance, int Top) = 0;

  // ---- OK and Apply.
  // The main form's configuration handler; false when it has none.
  virtual bool NotifyMainForm(int Id, const Variant& Value) = 0;
  virtual void LockRedraw(bool Lock) = 0;
  // Every generated row back into its setting.
  virtual void ReadGeneratedRows() = 0;
  // The selectors' choices: -1 without a selector or without a selection.
  virtual int ChosenLanguage() = 0;
  virtual int ChosenSkin() = 0;
  virtual int ChosenLayout() = 0;
  // True when another language, or another skin or layout, was loaded.
  virtual bool SelectLanguage(int Index) = 0;
  virtual bool SelectSkin(int Skin, int Layout) = 0;

  // ---- The language changed: the page's caption was read again.
  virtual void RelabelPage(TKemConfigDlgPage& Page) = 0;

  // ---- Lining a built page up: every field of a page starts in one column.
  // How many controls the page holds now: marks where an item's controls end.
  virtual int ControlMark(TKemConfigDlgPage& Page) {
    (void)Page;
    return 0;
  }
  // The page's controls from Mark on move Dy down: an item above them grew.
  virtual void ShiftControls(TKemConfigDlgPage& Page, int Mark, int Dy) { (void)Page, (void)Mark, (void)Dy; }
  // Where the fields of the page's generated rows and selectors would start:
  // their usual place, or further right where a caption needs it.
  virtual int FieldColumn(TKemConfigDlgPage& Page) {
    (void)Page;
    return 0;
  }
  // Their fields start at Column.
  virtual void SetFieldColumn(TKemConfigDlgPage& Page, int Column) { (void)Page, (void)Column; }
  // The items of the tallest page reach down to Bottom: the pages make room.
  virtual void FitPagesHeight(int Bottom) { (void)Bottom; }
};

// Action ids of the dialog's buttons.
enum TKemConfigDlgAction { kcaOk = 0, kcaCancel = 1, kcaApply = 2 };
// What the main form hears around OK and Apply, and at Cancel; -2 after a skin change.
inline constexpr int KemConfigBeforeApply = -10;
inline constexpr int KemConfigAfterApply = -11;
inline constexpr int KemConfigCancelled = -20;
inline constexpr int KemConfigSkinChanged = -2;

// One run of the dialog: the pages built in order, the custom pages made for
// it (owned here, in creation order), and OK, Apply and Cancel step by step.
// Finish (or the destructor) closes and frees the custom pages and clears
// every reference the model had to the run.
class TKemConfigDlgRun {
 public:
  TKemConfigDlgRun(TKemConfigDlg& Model, TKemConfigDlgHost& Host);
  ~TKemConfigDlgRun();
  TKemConfigDlgRun(const TKemConfigDlgRun&) = delete;
  TKemConfigDlgRun& operator=(const TKemConfigDlgRun&) = delete;

  // Every page in list order, on notebook pages 0, 1, ...
  void BuildPages();
  // One page on the next notebook page; the height its items use.
  int BuildPage(TKemConfigDlgPage& Page);
  // A button's action (TKemConfigDlgAction); other ids do nothing.
  void ActionExecute(int Id);
  // Captions of every page again, then each custom page's language; the
  // pages lined up again for the texts of the new language.
  void LanguageChanged();
  // One field column for every row of every page, from the widest caption of
  // each; items below one that grew move down, and the pages make room.
  void AlignPages();
  void Finish();

  TKemConfigDlg& Model() const { return FModel; }
  const std::vector<std::unique_ptr<TKemCustomDlgPage>>& CustomPages() const { return FCustomPages; }

 private:
  void Confirm(int Id);
  // The page lined up; the bottom of its lowest item.
  int AlignPage(TKemConfigDlgPage& Page);

  // Where a built item stands: its height as it was counted and the mark at
  // the end of its controls.
  struct TItemPlace {
    const TKemConfigDlgItem* Item;
    int Top, Height, EndMark;
  };
  TKemConfigDlg& FModel;
  TKemConfigDlgHost& FHost;
  std::vector<std::unique_ptr<TKemCustomDlgPage>> FCustomPages;
  std::map<const TKemConfigDlgPage*, std::vector<TItemPlace>> FPlaces;
};
