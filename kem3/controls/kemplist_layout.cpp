// The panel list's measuring and arrangement: rows, columns, cell origins and
// the scroller they need.
#include "kem3/controls/kemplist_layout.h"

#include <algorithm>
#include <cstdint>

#include "kem3/unicode/ucsystem.h"

namespace {

int CeilDiv(int a, int b) { return b > 0 ? (a + b - 1) / b : a; }

}  // namespace

int PanelListBorderWidth(TKemPanelListBorder Border) {
  switch (Border) {
    case plbNone:
      return 0;
    case plbLowered:
    case plbRaised:
      return 1;
    case plbLoweredDeep:
    case plbRaisedHigh:
      return 2;
  }
  return 0;
}

TScrollerDirection PanelListScrollDirection(TKemPanelListStyle Style, TKemPanelListOptions Options) {
  if (Style == plsListview && !Options.Contains(ploListviewScrollVert)) return sdHorizontal;
  return sdVertical;
}

WideString PanelListShownText(const WideString& Text, int Width, int Height, int LineHeight) {
  const std::int64_t lines = std::max(0, Height) / std::max(1, LineHeight) + 1;
  const std::int64_t perLine = std::max(1, Width) + 2;  // "\r\n" ends a line
  auto length = static_cast<size_t>(std::min<std::int64_t>(lines * perLine, static_cast<std::int64_t>(Text.size())));
  if (length == Text.size()) return Text;
  return Text.substr(0, WholeCharsLength(Text, length));
}

// ---- Measuring -----------------------------------------------------------------------

int TKemPanelListLayout::AvailableWidth(const TKemPanelListModel& List) const {
  if (List.Style() != plsListview || ItemWidth <= 0 || List.HasOption(ploListviewItemHeights)) {
    return FClientWidth - FReserveWidth;
  }
  return ItemWidth;
}

int TKemPanelListLayout::CellWidth(const TKemPanelListModel& List) const { return std::max(1, AvailableWidth(List)); }

TRect TKemPanelListLayout::MeasureItem(const TKemPanelListModel& List, const TKemPanelListItem& Item,
                                       IPanelListMeasure& Measure) const {
  const int avail = AvailableWidth(List);
  if (List.Style() != plsListview) {
    if (Item.IsSeparator) return Rect(0, 0, avail, 3);
    if (ItemHeight > 0) return Rect(0, 0, avail, ItemHeight);
    const int text = Measure.TextHeight(u"W" + Item.Caption());
    const int height = Item.Images.empty() || !Item.Images.front() ? text + Spaces.Vert
                                                                   : std::max(text, Item.Images.front()->Height());
    return Rect(0, 0, avail, height + Spaces.Vert);
  }
  if (ItemHeight > 0) return Rect(0, 0, avail, ItemHeight);

  const bool wrap = !List.HasOption(ploDisableWordwrap), prefix = List.ShowAccelChar();
  const bool hideText = List.HasOption(ploListviewHideText);
  // No cell shows more text than the view is high.
  auto textHeight = [&](int box) {
    const WideString shown = PanelListShownText(Item.Caption(), box, ViewHeight(), Measure.TextHeight(u"W"));
    return Measure.TextBoxExtent(shown, box, wrap, prefix).cy;
  };
  const int imageWidth = Item.Bitmap ? Item.Bitmap->Width() : 0;
  const int imageHeight = Item.Bitmap ? Item.Bitmap->Height() : 0;
  int height;
  if (List.HasOption(ploListviewIconLeft)) {
    int box = avail;
    if (ItemWidth > 0 && Item.Bitmap) box -= Spaces.Horz + imageWidth;
    box -= Spaces.Left + Spaces.Right;
    if (List.HasOption(ploChecklist) && Item.HasCheckbox) box -= Spaces.Horz + PanelListCheckSize;
    const int text = hideText ? 0 : textHeight(std::max(box, 1));
    height = std::max(text, imageHeight);
  } else {
    height = hideText ? 0 : textHeight(std::max(avail, 1));
    if (Item.Bitmap) {
      height += imageHeight;
      if (!hideText) height += Spaces.Vert;
    }
  }
  height += Spaces.Top + Spaces.Bottom;
  if (List.HasOption(ploIndividualWidths)) return Rect(0, 0, Spaces.Left + imageWidth + Spaces.Right, height);
  return Rect(0, 0, avail, height);
}

void TKemPanelListLayout::MeasureAll(TKemPanelListModel& List, const TMeasureItem& Measure) {
  FRowHeight = 1;
  FSummedWidth = 0;
  FSummedHeight = 0;
  for (int i = 0; i < List.Count(); ++i) {
    TKemPanelListItem* item = List.Items(i);
    TRect r;
    if (item->IsVisible()) Measure(i, r);
    item->Rect = r;
    item->Measured = true;
    FSummedWidth += r.Width();
    FSummedHeight += r.Height();
    FRowHeight = std::max(FRowHeight, r.Height());
  }
}

// ---- Arrangement ---------------------------------------------------------------------

void TKemPanelListLayout::Run(TKemPanelListModel& List, const TRect& ItemsArea, int ClientWidth, int Thickness,
                              const TMeasureItem& Measure) {
  FArea = ItemsArea;
  FClientWidth = ClientWidth;
  FThickness = Thickness;
  FDirection = PanelListScrollDirection(List.Style(), List.Options());
  FReserveWidth = 0;
  FReserveHeight = 0;
  FContentWidth = 0;
  FRows = 1;
  FColumns = 1;
  FScrollerVisible = false;
  FScrollLength = 2;
  FScrollStep = 1;
  MeasureAll(List, Measure);

  const int count = List.Count(), vw = ViewWidth(), vh = ViewHeight();
  const bool vertical = FDirection == sdVertical;
  if (List.Style() != plsListview) {
    if (FSummedHeight > vh) {
      FScrollerVisible = true;
      FReserveWidth = Thickness;
      MeasureAll(List, Measure);
      FScrollLength = FSummedHeight - vh + 1;
    }
    FScrollStep = FRowHeight;
    FRows = count;
    Arrange(List);
    return;
  }

  if (List.HasOption(ploIndividualWidths)) {
    int widest = 0;
    if (vertical) {
      FFlowLimit = vw - Thickness;
      FRows = Flow(List, FFlowLimit, false, &widest);
      FScrollerVisible = FRows * FRowHeight > vh;
      FScrollLength = FRows * FRowHeight - vh;
      FContentWidth = widest;
    } else {
      FRows = std::max(1, (vh - Thickness) / FRowHeight);
      FFlowLimit = FSummedWidth / FRows;
      // Widen the rows until the items fit in that many of them.
      while (FFlowLimit < FSummedWidth && Flow(List, FFlowLimit, false, nullptr) > FRows) FFlowLimit += 10;
      Flow(List, FFlowLimit, false, &widest);
      FContentWidth = std::max(widest, vw);
      FScrollerVisible = FContentWidth > vw;
      FScrollLength = FContentWidth - vw;
    }
    FScrollStep = FRowHeight;
    FColumns = std::max(1, CeilDiv(count, std::max(1, FRows)));
  } else {
    const bool heights = List.HasOption(ploListviewItemHeights);
    FColumns = ItemWidth < 1 || heights ? 1 : std::max(1, vw / ItemWidth);
    if (heights) {
      FRows = count;
      FScrollerVisible = FSummedHeight >= vh;
    } else {
      FRows = std::max(1, vh / FRowHeight);
      FScrollerVisible = FColumns * FRows < count;
    }
    if (FScrollerVisible) {
      if (vertical) {
        FReserveWidth = Thickness;
      } else {
        FReserveHeight = Thickness;
      }
    }
    // The measured width follows the client width less the reserve.
    if (FReserveWidth > 0 && (ItemWidth <= 0 || heights)) MeasureAll(List, Measure);
    if (FScrollerVisible) {
      if (vertical && heights) {
        FColumns = 1;
        FRows = count;
        FScrollLength = FSummedHeight - vh + 1;
        FScrollStep = FRowHeight;
      } else if (vertical) {
        FColumns = ItemWidth <= 0 ? 1 : std::max(1, (vw - Thickness) / ItemWidth);
        FRows = CeilDiv(count, FColumns);
        FScrollLength = FRows * FRowHeight - vh + 1;
        FScrollStep = FRowHeight;
      } else {
        FRows = std::max(1, (vh - Thickness) / FRowHeight);
        FColumns = CeilDiv(count, FRows);
        FScrollLength = FColumns * CellWidth(List) - vw + 1;
        FScrollStep = CellWidth(List);
      }
    }
    if (!heights) {
      for (int i = 0; i < count; ++i) {
        TKemPanelListItem* item = List.Items(i);
        if (item->IsVisible()) item->Rect.Bottom = item->Rect.Top + FRowHeight;
      }
    }
  }
  Arrange(List);
}

int TKemPanelListLayout::Flow(TKemPanelListModel& List, int Limit, bool Place, int* Widest) const {
  int x = 0, row = 0, widest = 0;
  for (int i = 0; i < List.Count(); ++i) {
    TKemPanelListItem* item = List.Items(i);
    const int w = item->Rect.Width();
    if (x > 0 && x + w > Limit) {
      ++row;
      x = 0;
    }
    if (Place) item->Position = Point(x, row * FRowHeight);
    x += w;
    widest = std::max(widest, x);
  }
  if (Widest) *Widest = widest;
  return List.Count() > 0 ? row + 1 : 0;
}

void TKemPanelListLayout::Arrange(TKemPanelListModel& List) {
  const int count = List.Count();
  if (List.Style() == plsListview && List.HasOption(ploIndividualWidths)) {
    Flow(List, FFlowLimit, true, nullptr);
    return;
  }
  if (List.Style() != plsListview || List.HasOption(ploListviewItemHeights)) {
    int y = 0;
    for (int i = 0; i < count; ++i) {
      TKemPanelListItem* item = List.Items(i);
      item->Position = Point(0, y);
      if (item->IsVisible()) y += item->Rect.Height();
    }
    return;
  }
  const bool byColumns = List.HasOption(ploListviewArrangeVert);
  const int rows = std::max(1, FRows), columns = std::max(1, FColumns), cell = CellWidth(List);
  for (int i = 0; i < count; ++i) {
    const int row = byColumns ? i % rows : i / columns;
    const int column = byColumns ? i / rows : i % columns;
    List.Items(i)->Position = Point(column * cell, row * FRowHeight);
  }
}

// ---- Geometry ------------------------------------------------------------------------

TPoint TKemPanelListLayout::ScrollOffset(int Position) const {
  return FDirection == sdVertical ? Point(0, -Position) : Point(-Position, 0);
}

TRect TKemPanelListLayout::ItemClientRect(const TKemPanelListModel& List, int Index, int Position) const {
  const TKemPanelListItem* item = List.Items(Index);
  const TPoint origin = FArea.TopLeft() + item->Position + ScrollOffset(Position);
  TRect r = item->Rect;
  OffsetRect(r, origin.X, origin.Y);
  return r;
}

int TKemPanelListLayout::ItemAtPos(const TKemPanelListModel& List, const TPoint& P, int Position,
                                   bool* ExpandBoxHit) const {
  if (ExpandBoxHit) *ExpandBoxHit = false;
  const bool skipHidden = List.Style() != plsListview;
  for (int i = 0; i < List.Count(); ++i) {
    const TKemPanelListItem* item = List.Items(i);
    if (skipHidden && !item->IsVisible()) continue;
    const TRect r = ItemClientRect(List, i, Position);
    if (!PtInRect(r, P)) continue;
    if (ExpandBoxHit && List.Style() == plsTreeview && !item->Children().empty()) {
      const TRect box = ExpandBoxRect(r, item->Level(), List.HasOption(ploTreeviewCheckSmall));
      *ExpandBoxHit = P.X >= box.Left && P.X < box.Right &&
                      (!List.HasOption(ploTreeviewCheckSmall) || (P.Y >= box.Top && P.Y < box.Bottom));
    }
    return i;
  }
  return -1;
}

int TKemPanelListLayout::MakeVisiblePosition(const TKemPanelListModel& List, int Index, int Position) const {
  if (Index < 0 || Index >= List.Count()) return Position;
  const TKemPanelListItem* item = List.Items(Index);
  TRect r = item->Rect;
  OffsetRect(r, item->Position.X, item->Position.Y);
  const bool vertical = FDirection == sdVertical;
  const int start = vertical ? r.Top : r.Left, end = vertical ? r.Bottom : r.Right;
  const int view = vertical ? ViewHeight() : ViewWidth();
  int pos = Position;
  if (start < pos) {
    pos = start;
  } else if (end > pos + view) {
    pos = end - view;
  }
  return std::clamp(pos, 0, std::max(2, FScrollLength) - 1);
}

TPanelListGrid TKemPanelListLayout::Grid(int ControlHeight) const {
  TPanelListGrid grid;
  grid.Page = std::max(1, ControlHeight / std::max(1, FRowHeight));
  grid.Rows = std::max(1, FRows);
  grid.Columns = std::max(1, FColumns);
  return grid;
}

int TKemPanelListLayout::ContentLeft(TKemPanelListStyle Style, int Level) const {
  if (Style != plsTreeview) return Spaces.Left;
  return Spaces.Left + (Spaces.Horz + 12) * (Level + 1);
}

TRect TKemPanelListLayout::ExpandBoxRect(const TRect& ItemRect, int Level, bool Small) const {
  const int left = ItemRect.Left + Spaces.Left + (Spaces.Horz + 12) * Level + 1;
  if (!Small) return Rect(left, ItemRect.Top, left + PanelListExpandBoxWidth, ItemRect.Bottom);
  // The small box: 7 px square, centred in the column and in the item's height.
  const int size = 7, top = ItemRect.Top + (ItemRect.Height() - size) / 2;
  return Bounds(left + (PanelListExpandBoxWidth - size) / 2, top, size, size);
}
