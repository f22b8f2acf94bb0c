// The panel list's layout arithmetic, free of any window: measuring items
// through a text-measure interface, rows and columns of the list view grid
// (uniform cells, per-item heights or individual widths), the scroller's
// length and step, item rectangles in client coordinates, hit testing and the
// scroll position that brings an item into view.
#pragma once
#include <functional>

#include "kem3/controls/kemplist_model.h"
#include "kem3/controls/kemscroll_geometry.h"
#include "kem3/controls/kemtextmeasure.h"
#include "platform/geometry.h"

// Measures captions for the layout: one line (TextExtent) and a caption
// broken into lines in a box, as the control draws it.
struct IPanelListMeasure : ITextMeasure {
  // The extent of Text drawn centred in a box Width wide: DT_CALCRECT and
  // DT_CENTER, with DT_WORDBREAK when WordWrap, DT_NOPREFIX unless Prefix.
  virtual TSize TextBoxExtent(const WideString& Text, int Width, bool WordWrap, bool Prefix) = 0;
};

struct TKemPanelListSpaces {
  int Top = 2;
  int Bottom = 2;
  int Left = 2;
  int Right = 2;
  int Vert = 2;
  int Horz = 2;
};

// Pixels the unskinned border takes on every side.
int PanelListBorderWidth(TKemPanelListBorder Border);
// Vertical for list box and tree view, and for the list view with
// ploListviewScrollVert; horizontal otherwise.
TScrollerDirection PanelListScrollDirection(TKemPanelListStyle Style, TKemPanelListOptions Options);

// The start of Text that a box Width pixels wide and Height high can show in
// lines LineHeight high: no more lines than fit, and the one cut through, each
// of at most one character per pixel and a line break; never half of a
// surrogate pair. Measuring, wrapping and drawing what a cell shows then cost
// no more than the cell holds, whatever the length of its caption.
WideString PanelListShownText(const WideString& Text, int Width, int Height, int LineHeight);

// Size of a check box and the width of an expand box's column in the tree.
inline constexpr int PanelListCheckSize = 9;
inline constexpr int PanelListExpandBoxWidth = 10;

class TKemPanelListLayout {
 public:
  // ---- Settings (the control's properties).
  TKemPanelListSpaces Spaces;
  int ItemWidth = 76;  // list view cell width; 0 or less: the client width
  int ItemHeight = 0;  // 0: measured per item

  // Measures item Index into Rect (the control's virtual MeasureItem).
  using TMeasureItem = std::function<void(int Index, TRect& Rect)>;

  // Lays the items out in ItemsArea (the client area less the border),
  // measuring them through Measure; ClientWidth is the control's, Thickness
  // the scroller's width (vertical) or height (horizontal) when it shows.
  void Run(TKemPanelListModel& List, const TRect& ItemsArea, int ClientWidth, int Thickness,
           const TMeasureItem& Measure);
  // Places the items again from their measured rectangles (after a move).
  void Arrange(TKemPanelListModel& List);
  // What the control measures for an item unless it measures otherwise.
  TRect MeasureItem(const TKemPanelListModel& List, const TKemPanelListItem& Item, IPanelListMeasure& Measure) const;
  // The width items are measured in: the client width less the scroller's
  // reserve when ItemWidth is 0 or less or with per-item heights (and always
  // for list box and tree), else ItemWidth.
  int AvailableWidth(const TKemPanelListModel& List) const;

  // ---- Results of the last run.
  const TRect& ItemsArea() const { return FArea; }
  int ViewWidth() const { return FArea.Width(); }
  int ViewHeight() const { return FArea.Height(); }
  int RowHeight() const { return FRowHeight; }
  int Rows() const { return FRows; }
  int Columns() const { return FColumns; }
  int ContentWidth() const { return FContentWidth; }
  int SummedHeight() const { return FSummedHeight; }
  bool ScrollerVisible() const { return FScrollerVisible; }
  // Only meaningful while the scroller shows.
  int ScrollLength() const { return FScrollLength; }
  int ScrollStep() const { return FScrollStep; }
  int ReserveWidth() const { return FReserveWidth; }
  int ReserveHeight() const { return FReserveHeight; }
  TScrollerDirection Direction() const { return FDirection; }

  // ---- Geometry at scroll position Position.
  // How far the content is moved: along y when scrolling vertically, else x.
  TPoint ScrollOffset(int Position) const;
  // Item Index's rectangle in client coordinates.
  TRect ItemClientRect(const TKemPanelListModel& List, int Index, int Position) const;
  bool InItemsArea(const TPoint& P) const { return PtInRect(FArea, P); }
  // The first item (display order) whose rectangle holds P; list box and tree
  // skip invisible items. ExpandBoxHit (when given) tells whether P lies on the
  // item's expand box (tree style, items with children).
  int ItemAtPos(const TKemPanelListModel& List, const TPoint& P, int Position, bool* ExpandBoxHit = nullptr) const;
  // The scroll position that shows item Index whole along the scroll
  // direction, moving as little as possible from Position.
  int MakeVisiblePosition(const TKemPanelListModel& List, int Index, int Position) const;
  // A page of rows for a control ControlHeight high, and the grid.
  TPanelListGrid Grid(int ControlHeight) const;

  // ---- Tree geometry, relative to the item's rectangle.
  // Where the content (images, check box, text) of an item at Level starts:
  // after the space, in tree style after one expand-box column per level.
  int ContentLeft(TKemPanelListStyle Style, int Level) const;
  // The expand box of an item at Level: the 10 px column's hit rectangle, or
  // the smaller box drawn and hit with ploTreeviewCheckSmall.
  TRect ExpandBoxRect(const TRect& ItemRect, int Level, bool Small) const;

 private:
  void MeasureAll(TKemPanelListModel& List, const TMeasureItem& Measure);
  // Individual widths: places the items in rows no wider than Limit (when
  // Place), returns the number of rows and the widest row.
  int Flow(TKemPanelListModel& List, int Limit, bool Place, int* Widest) const;
  int CellWidth(const TKemPanelListModel& List) const;

  TRect FArea;
  int FClientWidth = 0;
  int FThickness = 0;
  TScrollerDirection FDirection = sdVertical;
  int FRowHeight = 1;
  int FRows = 1;
  int FColumns = 1;
  int FContentWidth = 0;
  int FSummedWidth = 0;
  int FSummedHeight = 0;
  int FFlowLimit = 0;
  bool FScrollerVisible = false;
  int FScrollLength = 2;
  int FScrollStep = 1;
  int FReserveWidth = 0;
  int FReserveHeight = 0;
};
