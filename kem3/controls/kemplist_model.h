// The panel list's items and the rules that act on them without any window:
// the flat display order with its tree (parents, levels, expansion), the
// selection and its rules, the multiple selection, moving items (with their
// subtrees), keyboard moves, accelerators and the selection a mouse press
// makes. TKemPanelList (kemplist_win.h) adds the window; the hooks below are
// where it paints, lays out and scrolls.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "kem3/controls/kemaccel.h"
#include "platform/bitmap.h"
#include "platform/controls_types.h"
#include "platform/geometry.h"
#include "platform/graphics.h"
#include "platform/set.h"
#include "platform/variant.h"

class TKemPanelListModel;
class TStrings;

enum TKemPanelListStyle { plsListbox, plsListview, plsTreeview };
enum TKemPanelListBorder { plbNone, plbLowered, plbLoweredDeep, plbRaised, plbRaisedHigh };
enum TSelectMarking { smFullbar, smRaised, smLowered };

// The option flags; stored as one 32-bit word, bit n = flag n (see PanelListOptionsToWord).
enum TKemPanelListOption {
  ploHotTracking,
  ploDisableMouseSel,
  ploDisableKeyboard,
  ploDisableWordwrap,
  ploNoFocusRect,
  ploDisallowNoSelection,
  ploDisallowEmptySelection,
  ploListviewArrangeVert,
  ploListviewScrollVert,
  ploListviewIconLeft,
  ploListviewHideText,
  ploListviewVcenterText,
  ploListviewItemHeights,
  ploTreeviewDoubleClick,
  ploTreeviewCheckSmall,
  ploTreeviewCheckSelects,
  ploTreeviewDrawLines,
  ploDoubleClicks,
  ploRightClicks,
  ploButtonItems,
  ploDragReorder,
  ploTabbedItems,
  ploCenterImage,
  ploClearSelection,
  ploChecklist,
  ploBitmapOwner,
  ploNoWheelScrollBars,
  ploMultiSelect,
  ploMultiSelectMarker,
  ploIndividualWidths,
  ploShortenTexts,
  ploFullSelectRepaint,
};
using TKemPanelListOptions = Set<TKemPanelListOption>;

inline std::uint32_t PanelListOptionsToWord(TKemPanelListOptions Options) {
  return static_cast<std::uint32_t>(Options.ToMask());
}
inline TKemPanelListOptions PanelListOptionsFromWord(std::uint32_t Word) {
  return TKemPanelListOptions::FromMask(Word);
}

// Item colours use clNone ($1FFFFFFF) for "not set": the control's colour then applies.

// An object an item may stand for (its Link): while it is disabled the item
// cannot be selected, and a click on the selected item runs its click instead
// of the control's.
class TKemPanelListLink {
 public:
  virtual ~TKemPanelListLink() = default;
  virtual bool LinkEnabled() const = 0;
  virtual void LinkClick() = 0;
};

using TPanelListReorderEvent = std::function<void(TObject* Sender, int CurIdx, int NewIdx)>;
using TPanelListCanReorderEvent = std::function<void(TObject* Sender, int CurIdx, int NewIdx, bool& CanReorder)>;
using TPanelListCanDropIconEvent = std::function<void(TObject* Sender, int Idx, int ButIdx, bool& CanDrop)>;
using TPanelListDropIconEvent = std::function<void(TObject* Sender, int Idx, int ButIdx)>;
using TPanelListAcceleratorEvent = std::function<void(TObject* Sender, int Index, int Count)>;

// One item. The list makes, orders and frees items; a tree is expressed by
// each item's parent and level, its subtree following it in the flat order.
class TKemPanelListItem : public TObject {
 public:
  TKemPanelListItem(TKemPanelListModel* AList, const WideString& ACaption);
  // With ploBitmapOwner frees the three bitmaps; leaves its parent; its
  // children become roots (level 0).
  ~TKemPanelListItem() override;

  TKemPanelListModel* List() const { return FList; }
  TKemPanelListItem* Parent() const { return FParent; }
  // Leaves the old parent's children and joins the new one's at the end; Level follows.
  void SetParent(TKemPanelListItem* NewParent);
  int Level() const { return FLevel; }
  // Direct children in the order they were given this parent (not owned).
  const std::vector<TKemPanelListItem*>& Children() const { return FChildren; }

  const WideString& Caption() const { return FCaption; }
  // A different text clears Measured and recomputes AccelChar.
  void SetCaption(const WideString& Value);
  // The character after the first single "&" of the caption, upper-cased; 0 without one.
  WideChar AccelChar() const { return FAccelChar; }

  // A child appended at the END of the list (build trees parent first, depth-first).
  virtual TKemPanelListItem* AddChild(const WideString& ACaption);
  virtual TKemPanelListItem* AddChildItem(const WideString& ACaption, const Variant& AData, TBitmap* ABitmap);

  // Data as a pointer-sized integer: the program keeps object references there.
  std::intptr_t GetDataAsInteger() const;
  // A root follows its own Visible; a child is visible when its parent is
  // expanded and visible (its own flag plays no part).
  bool IsVisible() const;
  int VisibleChildCount() const;
  // Ch (upper-cased) is this item's accelerator and the list shows accelerators.
  bool MatchesAccel(WideChar Ch) const;
  // Enabled, not a separator, and its link (when set) enabled.
  bool IsSelectable() const;
  // Flips Expanded, selects the nearest visible item at or above the selection, rebuilds.
  void ToggleExpanded();

  Variant Data = 0;
  bool Measured = false;  // Rect is valid
  bool Enabled = true;
  bool IsSeparator = false;
  bool Visible = true;
  TKemPanelListLink* Link = nullptr;
  bool Expanded = true;
  std::vector<TBitmap*> Images;  // list and tree: drawn before the caption; never owned
  TPoint Position;               // list view cell origin (list and tree: the item's top), from the layout
  TRect Rect;                    // measured rectangle, relative to Position
  TBitmap* Bitmap = nullptr;     // list view image
  TBitmap* BitmapSelected = nullptr;
  TBitmap* BitmapMask = nullptr;
  bool AlphaChannel = false;
  bool Opaque = false;
  TColor TextColor = clNone;  // separators: the line colour
  TColor TextColorSel = clNone;
  TFontStyles FontStyle;
  TColor LineColor = clNone;
  bool Checked = false;
  bool HasCheckbox = true;
  bool Draggable = true;
  bool CheckEnabled = true;
  bool MultiSelected = false;
  // For the program's own use; nothing in the list reads them.
  std::int32_t Tag = 0;
  bool Flag = true;

 private:
  void UpdateLevel(int Level);

  TKemPanelListModel* FList;
  TKemPanelListItem* FParent = nullptr;
  WideString FCaption;
  WideChar FAccelChar = 0;
  int FLevel = 0;
  std::vector<TKemPanelListItem*> FChildren;
};

// The three numbers keyboard moves need from the layout: a page of rows, and
// the list view grid.
struct TPanelListGrid {
  int Page = 1;
  int Rows = 1;
  int Columns = 1;
};

class TKemPanelListModel {
 public:
  TKemPanelListModel();
  virtual ~TKemPanelListModel();
  TKemPanelListModel(const TKemPanelListModel&) = delete;
  TKemPanelListModel& operator=(const TKemPanelListModel&) = delete;

  // ---- Settings the rules depend on.
  TKemPanelListStyle Style() const { return FStyle; }
  virtual void SetStyle(TKemPanelListStyle Value);
  TKemPanelListOptions Options() const { return FOptions; }
  virtual void SetOptions(TKemPanelListOptions Value);
  bool HasOption(TKemPanelListOption Option) const { return FOptions.Contains(Option); }
  bool ShowAccelChar() const { return FShowAccelChar; }
  virtual void SetShowAccelChar(bool Value);
  TKemAccelAction AccelAction() const { return FAccelAction; }
  void SetAccelAction(TKemAccelAction Value) { FAccelAction = Value; }
  TKemAccelModifier AccelModifier() const { return FAccelModifier; }
  void SetAccelModifier(TKemAccelModifier Value) { FAccelModifier = Value; }
  // The font style new items start with (the control's font style).
  TFontStyles DefaultFontStyle() const { return FDefaultFontStyle; }
  void SetDefaultFontStyle(TFontStyles Value) { FDefaultFontStyle = Value; }

  // ---- Items, in display order.
  int Count() const { return static_cast<int>(FItems.size()); }
  // EListError "List index out of bounds (N)" outside 0..Count-1.
  TKemPanelListItem* Items(int Index) const;
  TKemPanelListItem* SelectedItem() const;
  // The display index of Item, -1 when it is not in this list.
  int IndexOfItem(const TKemPanelListItem* Item) const;
  // The first item whose caption equals Caption ignoring case, else -1.
  int IndexOf(const WideString& Caption) const;

  // Insert at Count.
  TKemPanelListItem* Add(const WideString& Caption);
  // Inserts, lays out and repaints.
  virtual TKemPanelListItem* Insert(int Index, const WideString& Caption);
  TKemPanelListItem* AddItem(const WideString& Caption, const Variant& Data, TBitmap* Bitmap, TBitmap* Mask,
                             bool Alpha);
  // Inserts without laying out or repainting: callers adding many items Rebuild once.
  virtual TKemPanelListItem* InsertItem(int Index, const WideString& Caption, const Variant& Data, TBitmap* Bitmap,
                                        TBitmap* Mask, bool Alpha);
  // Each string as an item with an empty string as Data, then Rebuild.
  void AddStrings(const std::vector<WideString>& Strings);
  void AssignCaptions(const TStrings& Source);
  void GetCaptions(TStrings& Target) const;
  // Captions with their values (as Data), then Rebuild; a missing value is "".
  void AssignCaptionsAndValues(const TStrings& Captions, const TStrings& Values);
  void GetCaptionsAndValues(TStrings& Captions, TStrings& Values) const;
  // Deletes one item (WithChildren: its whole subtree first); an item before
  // the selected one shifts the selection down with it, the selected item
  // itself leaves no selection (no OnChange unless the list became empty).
  virtual void Delete(int Index, bool WithChildren = false);
  // Frees every item; then, unless the list is going away, no selection.
  virtual void Clear();
  void ClearAndRebuild();
  // Clears the multiple selection (without painting), lays out and repaints.
  void Rebuild();
  // Moves an item (in tree style with its subtree) to NewIndex, which then
  // holds the item's new display index. Unless NoRebuild, Rebuild.
  void MoveItem(int Index, int& NewIndex, bool NoRebuild = false);

  // ---- Selection.
  int ItemIndex() const { return FItemIndex; }
  // Applies the selection rules (see the cpp), scrolls the item into view,
  // paints and fires OnChange.
  void SetItemIndex(int Value);
  void SelectRange(int A, int B);
  void AddRange(int A, int B);
  // With ploMultiSelect and an anchor: clears the anchor and every mark.
  void ClearMultiSelection(bool Repaint = true);
  int MultiSelectAnchor() const { return FAnchor; }
  // Selects Index, runs the control's click (or double click), then selects nothing.
  void ClickItem(int Index);
  void DblClickItem(int Index);
  int LastVisibleIndex() const;
  // The smallest level among the items A..B (either order).
  int MinLevel(int A, int B) const;
  // The items of Index's subtree: itself and the following deeper items.
  int SubtreeLength(int Index) const;

  // ---- Input rules (the control's handlers call them).
  // Space, PgUp, PgDn, End, Home and the arrows; true when the key was one of them.
  bool NavigateKey(std::uint16_t Key, TShiftState Shift, const TPanelListGrid& Grid);
  // A move of the selection (or, with exactly Ctrl, ploDragReorder and a
  // draggable selected item, of the item itself) to Target; Step walks on
  // past items that cannot be selected.
  void MoveOrReorder(int Target, int Step, TShiftState Shift);
  void MoveTo(int Target, int Step, TShiftState Shift);
  // The selection a press on Pressed (-1: empty space in the items area)
  // makes, multiple selection included.
  void PressSelect(int Pressed, bool RightButton, TShiftState Shift);
  // The live move of a drag over item Target; true when the item moved.
  bool DragMoveTo(int Target);
  // An accelerator character with the modifiers held; true when an item matched.
  bool Accelerator(WideChar Key, TShiftState Shift);
  // Toggles the selected item's check box when it has an enabled one; true when it did.
  bool ToggleSelectedCheck();

  // ---- Events (Sender is EventSender()).
  TNotifyEvent OnChange;
  TNotifyEvent OnCheckChange;
  TNotifyEvent OnHotTrack;
  TPanelListReorderEvent OnReorder;
  TPanelListCanReorderEvent OnCanReorder;
  TPanelListCanDropIconEvent OnCanDropIcon;
  TPanelListDropIconEvent OnDropIcon;
  TPanelListAcceleratorEvent OnAccelerator;

 protected:
  // ---- Hooks of the control.
  // Re-run the layout and invalidate.
  virtual void LayoutChanged() {}
  // Bring Index into view when the scroller shows; true when the view scrolled.
  virtual bool ScrollIntoView(int /*Index*/) { return false; }
  // Paint at once after the selection moved from Previous to Current (Full: everything).
  virtual void PaintSelection(int /*Previous*/, int /*Current*/, bool /*Full*/) {}
  // Repaint the items (marks, checks, expansion).
  virtual void PaintItems() {}
  // The control's click and double-click handling (ClickItem, DblClickItem).
  virtual void ItemClick() {}
  virtual void ItemDblClick() {}
  virtual TObject* EventSender() { return nullptr; }
  // True while the list is being destroyed: Clear then skips the selection.
  virtual bool ListDestroying() const { return FDestroying; }

  // Stores the selection without rules, painting or events.
  void SetItemIndexDirect(int Value) { FItemIndex = Value; }
  // Frees the items without events (for destructors).
  void DestroyItems();
  void SetDestroying() { FDestroying = true; }

 private:
  friend class TKemPanelListItem;
  TKemPanelListItem* NewItem(int Index, const WideString& Caption);
  void DeleteSubtree(int Index);
  void ShiftAfterRemoval(int Index);
  void FireChange();
  void MarkRange(int A, int B, bool ClearOthers);
  int NearestSelectable(int From, int Step) const;
  bool TreeReorderTarget(int& Target) const;
  bool GridTarget(std::uint16_t Key, const TPanelListGrid& Grid, int& Target, int& Step) const;
  bool ListTarget(std::uint16_t Key, const TPanelListGrid& Grid, int& Target, int& Step);

  std::vector<TKemPanelListItem*> FItems;
  int FItemIndex = -1;
  int FAnchor = -1;
  TKemPanelListStyle FStyle = plsListbox;
  TKemPanelListOptions FOptions;
  bool FShowAccelChar = true;
  TKemAccelAction FAccelAction = aaSelect;
  TKemAccelModifier FAccelModifier = amAlt;
  TFontStyles FDefaultFontStyle;
  bool FDestroying = false;
};
