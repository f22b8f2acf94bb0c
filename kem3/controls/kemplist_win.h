// TKemPanelList: the owner-drawn item panel of the library (a list box, a
// list view grid of captioned images or a tree view) on a scrolled panel.
// Items and their rules live in TKemPanelListModel (kemplist_model.h), the
// arithmetic of the layout in TKemPanelListLayout (kemplist_layout.h); this
// class gives them a window: properties, sizing and the scroller, painting
// (kemplist_paint_win.cpp) and input (kemplist_input_win.cpp).
#pragma once
#include <functional>
#include <memory>

#include "kem3/controls/kembordercolors.h"
#include "kem3/controls/kemplist_layout.h"
#include "kem3/controls/kemplist_model.h"
#include "kem3/controls/kempress_win.h"
#include "kem3/controls/kemscroll_win.h"
#include "platform/timer.h"

class TKemButtonSet;

// Before an item's foreground or background is drawn: Drawn = true skips the own drawing.
using TPanelListDrawEvent =
    std::function<void(TObject* Sender, int Index, TCanvas* Canvas, const TRect& Rect, bool& Drawn)>;

class TKemPanelList : public TKemScrolledPanel, public TKemPanelListModel, public TKemBorderColored {
 public:
  explicit TKemPanelList(TComponent* AOwner);
  ~TKemPanelList() override;

  // ---- Colours.
  TColor ColorSelection() const { return FColorSelection; }
  void SetColorSelection(TColor Value);
  TColor ColorHot() const { return FColorHot; }
  void SetColorHot(TColor Value);
  TColor ColorText() const { return FColorText; }
  void SetColorText(TColor Value);
  TColor ColorTextSel() const { return FColorTextSel; }
  void SetColorTextSel(TColor Value);
  TColor ColorTextHot() const { return FColorTextHot; }
  void SetColorTextHot(TColor Value);
  // The scroller's thumb fill and track.
  TColor ColorScrollFill() const { return FColorScrollFill; }
  void SetColorScrollFill(TColor Value);
  TColor ColorScrollBack() const { return FColorScrollBack; }
  void SetColorScrollBack(TColor Value);

  // ---- Look and behaviour.
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  TSelectMarking Marking() const { return FMarking; }
  void SetMarking(TSelectMarking Value);
  TKemPanelListBorder Border() const { return FBorder; }
  void SetBorder(TKemPanelListBorder Value);
  int ItemWidth() const { return FLayout.ItemWidth; }
  void SetItemWidth(int Value);
  int ItemHeight() const { return FLayout.ItemHeight; }
  void SetItemHeight(int Value);
  int SpaceTop() const { return FLayout.Spaces.Top; }
  void SetSpaceTop(int Value);
  int SpaceBottom() const { return FLayout.Spaces.Bottom; }
  void SetSpaceBottom(int Value);
  int SpaceLeft() const { return FLayout.Spaces.Left; }
  void SetSpaceLeft(int Value);
  int SpaceRight() const { return FLayout.Spaces.Right; }
  void SetSpaceRight(int Value);
  int SpaceVert() const { return FLayout.Spaces.Vert; }
  void SetSpaceVert(int Value);
  int SpaceHorz() const { return FLayout.Spaces.Horz; }
  void SetSpaceHorz(int Value);
  int HotTrackTime() const { return FHotTrackTime; }
  void SetHotTrackTime(int Value);
  // Pixels across the scroll direction over which the scrolled ends fade into Color.
  int FadeWidth() const { return FFadeWidth; }
  void SetFadeWidth(int Value);
  // The font of the selected item; with ParentFontSel it follows the control's
  // font (keeping its own style).
  TFont* FontSelected() const { return FFontSelected.get(); }
  void SetFontSelected(const TFont& Value);
  bool ParentFontSel() const { return FParentFontSel; }
  void SetParentFontSel(bool Value);
  // The button set onto whose buttons items may be dropped.
  TKemButtonSet* ButtonSet() const { return FButtonSet; }
  void SetButtonSet(TKemButtonSet* Value);

  // Style sets the scroller's direction; Options also resets the hot item,
  // TabStop (off with ploDisableKeyboard) and double clicks (ploDoubleClicks).
  void SetStyle(TKemPanelListStyle Value) override;
  void SetOptions(TKemPanelListOptions Value) override;
  void SetShowAccelChar(bool Value) override;
  void SetSkin(TVosSkin* Value) override;

  // ---- Geometry.
  const TKemPanelListLayout& Layout() const { return FLayout; }
  // The client area less the border: where items show and the pointer counts.
  TRect ItemsArea() const { return FLayout.ItemsArea(); }
  // The first item under the client point, or -1 (records an expand-box hit in tree style).
  int ItemAtPos(int X, int Y);
  // Item Index's rectangle in client coordinates, as it is scrolled now.
  TRect ItemRect(int Index) const;
  // Scrolls item Index into view; true when the view moved.
  bool MakeVisible(int Index);
  // The scroll position (0 while the scroller is hidden).
  int ScrollPosition() const;
  int HotIndex() const { return FHotIndex; }
  bool Dragging() const { return FDragging; }
  int DropButton() const { return FDropButton; }
  // Lays the items out again with the current size and repaints.
  void UpdateSizing();

  // ---- Measuring and drawing of one item (override to draw otherwise).
  // Rect receives the item's measured rectangle.
  virtual void MeasureItem(int Index, TRect& Rect);
  // Draws item Index into Rect of the off-screen view's Canvas.
  virtual void DrawItem(int Index, TCanvas* Canvas, const TRect& Rect);

  bool DialogChar(WideChar Key, TShiftState Shift) override;
  // Both end a running drag first: the items it reorders may go.
  void Delete(int Index, bool WithChildren = false) override;
  void Clear() override;

  TNotifyEvent OnScroll;
  TPanelListDrawEvent OnCustomDraw;
  TPanelListDrawEvent OnCustomDrawBack;
  TNotifyEvent OnBeforeItemPaint;

  // The distance the pointer must move (in x or y, strictly more) before a drag starts.
  static constexpr int DragThreshold = 5;

 protected:
  void BorderColorChanged(TColor TBorderColors::*Which) override;
  // ---- The model's hooks.
  void LayoutChanged() override;
  bool ScrollIntoView(int Index) override;
  void PaintSelection(int Previous, int Current, bool Full) override;
  void PaintItems() override;
  void ItemClick() override;
  void ItemDblClick() override;
  TObject* EventSender() override { return this; }
  bool ListDestroying() const override;

  // ---- The window.
  void Scrolled() override;
  void Paint() override;
  void BoundsChanged(const TRect& OldBounds) override;
  void FontChanged() override;
  void EnabledChanged() override;
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Click() override;
  void DblClick() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;

 private:
  class TCanvasMeasure;
  void RunLayout();
  void PlaceScroller();
  void SyncScroller();
  void RefreshView(bool Full);
  void InvalidateItem(int Index);
  void HotTrackTimer(TObject* Sender);
  void EndDrag();
  // Ends the press (and its drag) without a release: nothing is reported.
  void EndPress();
  // A drag that ends without a release puts its item back where it began, then ends the press.
  void CancelDrag();
  // Moves the dragged item back to the drag origin and selects it there.
  void ReturnDragged();
  void DragOverButtonSet(const TPoint& ScreenPoint);
  void DrawBorder(TCanvas* Canvas);
  void DrawFades(TBitmap& View);
  void DrawListItem(int Index, TCanvas* Canvas, const TRect& Rect, bool Selected);
  void DrawViewItem(int Index, TCanvas* Canvas, const TRect& Rect, bool Selected);
  void DrawItemText(const WideString& Text, TCanvas* Canvas, TRect Rect, UINT Flags);
  void DrawItemImage(TBitmap& Image, TBitmap* Mask, int X, int Y, const TRect& Clip, bool Alpha, bool Opaque,
                     int Strength);
  bool SelectionShows() const;

  TKemPanelListLayout FLayout;
  TColor FColorSelection;
  TColor FColorHot;
  TColor FColorText;
  TColor FColorTextSel;
  TColor FColorTextHot;
  TColor FColorScrollFill;
  TColor FColorScrollBack;
  bool FHideSelection = false;
  TSelectMarking FMarking = smFullbar;
  TKemPanelListBorder FBorder = plbLoweredDeep;
  int FHotTrackTime = 250;
  int FFadeWidth = 0;
  std::unique_ptr<TFont> FFontSelected;
  bool FParentFontSel = true;
  TKemButtonSet* FButtonSet = nullptr;
  TTimer* FHotTimer = nullptr;              // owned as a component
  std::unique_ptr<TBitmap> FView;           // the items area, composed before it goes on the canvas
  std::unique_ptr<TBitmap> FMeasureBitmap;  // its canvas measures text in the control's font
  std::unique_ptr<TCanvasMeasure> FMeasure;
  bool FInLayout = false;
  int FSkinTextState = 0;  // the skin's text drawing of the item being drawn

  // Input state.
  int FPressedIndex = -1;
  bool FExpandHit = false;
  int FHoverIndex = -1;
  int FHotIndex = -1;
  bool FLeftHeld = false;
  TPoint FPressPoint;  // screen
  bool FDragging = false;
  int FDragOrigin = -1;
  int FDropButton = -1;
  bool FAfterDblClick = false;
  TPoint FMousePoint;  // client point of the last mouse message
  TCaptureWatch FCaptureWatch;
};
