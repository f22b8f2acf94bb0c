// The browser's list view on a real window, with crafted header notifications
// in both the wide and the 8-bit codes.
#include "kem3/controls/kemlview_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"

namespace {

// Three columns: Name (120, kept within 60..200), Size, and a hidden Type.
TKemListView* Make() {
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(0, 0, 400, 300);
  auto* list = new TKemListView(form);
  list->SetParent(form);
  for (const char16_t* caption : {u"Name", u"Size", u"Type"}) list->AddColumn()->SetCaption(caption);
  list->Columns(0)->SetWidth(120);
  list->Columns(0)->SetMinWidth(60);
  list->Columns(0)->SetMaxWidth(200);
  list->Columns(2)->SetWidth(0);
  form->Show();
  return list;
}

HDITEMW Item(UINT mask, int width, int order = 0) {
  HDITEMW item{};
  item.mask = mask;
  item.cxy = width;
  item.iOrder = order;
  return item;
}

// Sends code for Column to the list as its header does; returns the result and the item as the list left it.
LRESULT Notify(TKemListView* list, UINT code, int column, HDITEMW& item) {
  NMHEADERW n{{list->HeaderHandle(), 0, code}, column, 0, &item};
  return SendMessageW(list->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

}  // namespace

TEST(KemListViewWin, ColumnWidthsStayWithinTheirLimits) {
  TAppScope app;
  TKemListView* list = Make();
  std::vector<std::pair<int, int>> sized;
  list->OnColumnSized = [&](TObject* sender, int column, int width) {
    EXPECT_EQ(sender, list);
    sized.emplace_back(column, width);
  };
  struct Row {
    UINT code;
    int column, width, kept;
  } rows[] = {
      {HDN_TRACKW, 0, 10, 60},          {HDN_TRACKA, 0, 500, 200},      {HDN_ITEMCHANGINGW, 0, 20, 60},
      {HDN_ITEMCHANGINGA, 0, 300, 200}, {HDN_ITEMCHANGINGW, 0, 90, 90}, {HDN_TRACKW, 1, 5, 5},  // no limits
  };
  for (const Row& r : rows) {
    HDITEMW item = Item(HDI_WIDTH, r.width);
    Notify(list, r.code, r.column, item);
    EXPECT_EQ(item.cxy, r.kept) << r.code << " " << r.width;
  }
  HDITEMW end = Item(HDI_WIDTH, 150);
  Notify(list, HDN_ENDTRACKW, 0, end);
  end.cxy = 70;
  Notify(list, HDN_ENDTRACKA, 1, end);
  end.cxy = 20;  // let go below the limit: the column keeps, and reports, 60
  Notify(list, HDN_ENDTRACKW, 0, end);
  EXPECT_EQ(sized, (std::vector<std::pair<int, int>>{{0, 150}, {1, 70}, {0, 60}}));

  // A hidden column cannot be pulled open.
  HDITEMW none = Item(0, 0);
  EXPECT_NE(Notify(list, HDN_BEGINTRACKW, 2, none), 0);
  EXPECT_NE(Notify(list, HDN_BEGINTRACKA, 2, none), 0);
  EXPECT_EQ(Notify(list, HDN_BEGINTRACKW, 1, none), 0);
}

TEST(KemListViewWin, ColumnDragsAndOrder) {
  TAppScope app;
  TKemListView* list = Make();
  EXPECT_EQ(list->GetColumnOrder(), (std::vector<int>{0, 1, 2}));
  list->SetColumnOrder({2, 0, 1});
  EXPECT_EQ(list->GetColumnOrder(), (std::vector<int>{2, 0, 1}));

  // Without a handler a dropped column returns to its place.
  HDITEMW item = Item(HDI_ORDER, 0, 2);
  Notify(list, HDN_ENDDRAG, 0, item);
  EXPECT_EQ(item.iOrder, 0);

  bool allow = false, finish = false;
  std::vector<int> seen;
  list->OnColumnDragBegin = [&](TObject*, int column, bool& a) {
    seen.push_back(column);
    a = allow;
  };
  list->OnColumnDragEnd = [&](TObject*, int column, int order, bool& f) {
    seen.push_back(column * 10 + order);
    f = finish;
  };
  allow = true;
  EXPECT_EQ(Notify(list, HDN_BEGINDRAG, 1, item), 0);
  item.iOrder = 2;
  Notify(list, HDN_ENDDRAG, 1, item);
  EXPECT_EQ(item.iOrder, 1) << "not finished: back to its own place";
  finish = true;
  item.iOrder = 2;
  EXPECT_EQ(Notify(list, HDN_ENDDRAG, 1, item), 0);
  EXPECT_EQ(item.iOrder, 2);
  EXPECT_EQ(seen, (std::vector<int>{1, 12, 12}));
}
