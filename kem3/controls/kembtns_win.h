// The button set: a bar of flat page buttons laid out horizontally or
// vertically. The launcher uses it as its row of group buttons: a click
// selects a page (a group), the buttons can be reordered by dragging, the
// panel list drops icons on them, and accelerator characters pick pages.
#pragma once
#include <functional>
#include <vector>

#include "kem3/controls/kemaccel.h"
#include "kem3/controls/kembordercolors.h"
#include "kem3/controls/kembtns_layout.h"
#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemskinref.h"
#include "platform/stringlist.h"

class TKemButtonSet;

// CurIdx is the dragged page, NewIdx the one it would swap places with.
using TKemReorderEvent = std::function<void(TObject* Sender, int CurIdx, int NewIdx, bool& CanReorder)>;
// Index is the page an accelerator chose among Count pages that carry it.
using TKemAcceleratorEvent = std::function<void(TObject* Sender, int Index, int Count)>;

// One page button, made and owned by its set. Its Tag is its page index. It
// clicks when pressed (a page is chosen at once) and, after a drag, again on
// release; one with a blank caption clicks on release only, as any button.
// A drag swaps it with the buttons it passes over.
class TKemButtonSetButton : public TKemButton {
 public:
  explicit TKemButtonSetButton(TKemButtonSet* ASet);

  TKemButtonSet* ButtonSet() const { return FSet; }
  // The page is the current one.
  bool Selected() const { return FSelected; }
  void SetSelected(bool Value);
  // The button is the target of a drop.
  bool DropHighlight() const { return FDropHighlight; }
  void SetDropHighlight(bool Value);
  // From the page: pixels left free before the button, placed at the far end.
  int Gap() const { return FGap; }
  bool FarEnd() const { return FFarEnd; }
  // A drag of this button is under way.
  bool Dragging() const { return FDragging; }

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  TColor FaceColor() override;
  TColor CaptionColor() override;
  bool CaptionPrefix() override;
  void ReleaseClick() override;
  void PressLost() override;
  void PaintSkin(TVosSkin& Skin) override;

 private:
  friend class TKemButtonSet;
  bool ClicksOnPress() const;
  void EndDrag();

  TKemButtonSet* FSet;
  bool FSelected = false;
  bool FDropHighlight = false;
  int FGap = 0;
  bool FFarEnd = false;
  TPoint FDragPoint;
  bool FDragging = false;
};

class TKemButtonSet : public TKemCustomControl, public TKemBorderColored {
 public:
  explicit TKemButtonSet(TComponent* AOwner);
  ~TKemButtonSet() override;

  // ---- Pages. SetPages reads page lines (caption, ",gap" or ":1" for the far
  // end); SetPageCaptions takes captions verbatim, so a title holding "," or
  // ":1" shows whole; SetPageList takes pages as they are. Each copies the
  // pages, updates the buttons, selects PageIndex again and realigns.
  void SetPages(const TStrings& Lines);
  void SetPageCaptions(const std::vector<WideString>& Captions);
  void SetPageList(const std::vector<TKemPage>& Pages);
  const std::vector<TKemPage>& Pages() const { return FPages; }
  int PageCount() const { return static_cast<int>(FPages.size()); }

  // The current page, -1 for none; an index outside the pages becomes -1.
  // A change marks the page's button Selected and fires OnChange.
  int PageIndex() const { return FPageIndex; }
  void SetPageIndex(int Value);
  // The page last chosen by a click, a right click or PageIndex.
  int SelectIndex() const { return FSelectIndex; }

  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TKemButtonSetButton* Buttons(int Index) const;

  // ---- Look.
  TColor ColorText() const { return FColorText; }
  void SetColorText(TColor Value);
  TColor ColorFill() const { return FColorFill; }
  void SetColorFill(TColor Value);
  TColor ColorTextSel() const { return FColorTextSel; }
  void SetColorTextSel(TColor Value);
  TColor ColorFillSel() const { return FColorFillSel; }
  void SetColorFillSel(TColor Value);
  TBevelCut Border() const { return FBorder; }
  void SetBorder(TBevelCut Value);
  // Accelerators are underlined and answered; off, "&" shows as it is.
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TKemAccelAction AccelAction() const { return FAccelAction; }
  void SetAccelAction(TKemAccelAction Value) { FAccelAction = Value; }
  TKemAccelModifier AccelModifier() const { return FAccelModifier; }
  void SetAccelModifier(TKemAccelModifier Value) { FAccelModifier = Value; }
  int SpaceAbove() const { return FSpaceAbove; }
  void SetSpaceAbove(int Value);
  int SpaceBelow() const { return FSpaceBelow; }
  void SetSpaceBelow(int Value);
  int SpaceInner() const { return FSpaceInner; }
  void SetSpaceInner(int Value);
  // 0 or less: from the caption (length) and the font (thickness).
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  int ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int Value);
  TKemButtonSetOptions Options() const { return FOptions; }
  void SetOptions(TKemButtonSetOptions Value) { FOptions = Value; }
  TKemButtonSetDirection Direction() const { return FDirection; }
  void SetDirection(TKemButtonSetDirection Value);

  // ---- Skin: nil paints the plain bar.
  TVosSkin* Skin() const { return FSkin; }
  void SetSkin(TVosSkin* Value);
  // Keeps the skinner and takes its skin.
  void SetFormSkinner(TVosFormSkinner* Value);
  TVosFormSkinner* FormSkinner() const { return FFormSkinner; }

  // ---- Operations.
  // Makes or frees buttons until there is one per page, then gives each its
  // page's caption, gap and far-end flag, Selected and Tag.
  void UpdateButtons();
  // Sets the bar's thickness across from the font and the spaces.
  void UpdateSize();
  // Places the buttons along the bar.
  void ArrangeButtons();
  // UpdateSize, then ArrangeButtons.
  void RealignButtons();
  // UpdateButtons, PageIndex again, RealignButtons, repaint.
  void Rebuild();
  // The page button whose rectangle holds the point (set coordinates) strictly
  // inside, or -1.
  int ButtonAtPos(int X, int Y);
  // Marks button Index as the target of a drop (-1: none) by underlining its caption.
  void HighlightButton(int Index);
  // The click of page Index: PageIndex := Index, then OnChange.
  void ButtonClick(int Index);
  // Swaps the dragged page with page Target unless OnReorder vetoes; true when swapped.
  bool SwapButtons(int Dragged, int Target);
  // The set's own click and double click (accelerators with aaClick, aaDblClick).
  void Click() override;
  void DblClick() override;

  void Invalidate() override;
  bool DialogChar(WideChar Key, TShiftState Shift) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;  // declared for the form; the set itself does not fire it
  TKemReorderEvent OnReorder;
  TNotifyEvent OnReordered;
  TMouseEvent OnButtonMouseDown;
  TMouseMoveEvent OnButtonMouseMove;
  TMouseEvent OnButtonMouseUp;
  TKemAcceleratorEvent OnAccelerator;

 protected:
  void BorderColorChanged(TColor TBorderColors::*Which) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void BoundsChanged(const TRect& OldBounds) override;
  void FontChanged() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;

 private:
  friend class TKemButtonSetButton;
  void PagesChanged();
  void LookChanged();
  void ApplyColors(TKemButtonSetButton* Button);
  TButtonSetGeometry Geometry();
  void ButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void ButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ButtonsReordered();

  std::vector<TKemPage> FPages;
  std::vector<TKemButtonSetButton*> FButtons;  // owned as components
  int FPageIndex = -1;
  int FSelectIndex = -1;
  TColor FColorText;
  TColor FColorFill;
  TColor FColorTextSel;
  TColor FColorFillSel;
  TBevelCut FBorder = bvNone;
  bool FShowAccelChar = true;
  TKemAccelAction FAccelAction = aaSelect;
  TKemAccelModifier FAccelModifier = amAlt;
  int FSpaceAbove = 0;
  int FSpaceBelow = 0;
  int FSpaceInner = 4;
  int FButtonWidth = 0;
  int FButtonHeight = 0;
  TKemButtonSetOptions FOptions;
  TKemButtonSetDirection FDirection = bsdHorizontal;
  TVosSkin* FSkin = nullptr;
  TVosFormSkinner* FFormSkinner = nullptr;
  bool FSizing = false;
};
