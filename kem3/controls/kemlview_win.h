// TKemListView: the file browser's report list. It keeps user-dragged column
// widths within each column's MinWidth and MaxWidth, reports finished sizes
// and column drags, reads and writes the column order, and steps sideways by
// a character of its font.
#pragma once
#include <functional>
#include <vector>

#include "kem3/unicode/uccomctrls_win.h"

using TOnColumnSized = std::function<void(TObject* Sender, int Column, int NewWidth)>;
using TOnColumnDragBegin = std::function<void(TObject* Sender, int Column, bool& AllowDrag)>;
using TOnColumnDragEnd = std::function<void(TObject* Sender, int Column, int NewOrder, bool& FinishDrag)>;

// The gap beside a header item's bitmap.
void SetHeaderBitmapMargin(HWND Header, int Margin);

class TKemListView : public TUcCustomListView {
 public:
  using TUcCustomListView::TUcCustomListView;

  // The columns in their shown order (indexes); both need the window.
  void SetColumnOrder(const std::vector<int>& Order);
  std::vector<int> GetColumnOrder();
  HWND HeaderHandle();
  // The average character width of the font the list draws with.
  int AverageCharWidth();

  // A user finished dragging a divider.
  TOnColumnSized OnColumnSized;
  // A user starts dragging a column; AllowDrag (false at first) lets it go.
  TOnColumnDragBegin OnColumnDragBegin;
  // A user drops a column at NewOrder; unless FinishDrag is set it goes back.
  TOnColumnDragEnd OnColumnDragEnd;

 protected:
  void CreateWnd() override;
  // A click on a horizontal scroll arrow of the report moves a character of
  // the font, where the common control moves a single pixel.
  void DispatchDefault(TMessage& Message) override;
  void HeaderNotify(TMessage& Message) override;
};
