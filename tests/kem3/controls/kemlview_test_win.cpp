// The browser's list view on a real window, with crafted header notifications
// in both the wide and the 8-bit codes; the font list beside it.
#include "kem3/controls/kemlview_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kemfontlist_win.h"
#include "platform/app_scope_win.h"
#include "platform/sysutils.h"

namespace {

struct TScene {
  TForm* Form = nullptr;
  TKemListView* List = nullptr;
};

void Make(TScene& s) {
  s.Form = NewForm<TQuietForm>(Application);
  s.Form->SetBounds(0, 0, 400, 300);
  s.List = new TKemListView(s.Form);
  s.List->SetParent(s.Form);
  s.List->SetAlign(alClient);
  for (const char16_t* caption : {u"Name", u"Size", u"Type"}) s.List->AddColumn()->SetCaption(caption);
  s.List->Columns(0)->SetWidth(120);
  s.List->Columns(0)->SetMinWidth(60);
  s.List->Columns(0)->SetMaxWidth(200);
  s.List->Columns(2)->SetWidth(0);
  s.Form->Show();
}

// Sends code for Column to the list as its header does; returns the result and the item as the list left it.
LRESULT Notify(TKemListView* list, UINT code, int column, HDITEMW& item) {
  NMHEADERW n{};
  n.hdr.hwndFrom = list->HeaderHandle();
  n.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(n.hdr.hwndFrom));
  n.hdr.code = code;
  n.iItem = column;
  n.iButton = 0;
  n.pitem = &item;
  return SendMessageW(list->Handle(), WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
}

}  // namespace

TEST(KemListViewWin, ColumnWidthsStayWithinTheirLimits) {
  TAppScope app;
  TScene s;
  Make(s);
  std::vector<std::pair<int, int>> sized;
  s.List->OnColumnSized = [&](TObject* sender, int column, int width) {
    EXPECT_EQ(sender, s.List);
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
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = r.width;
    Notify(s.List, r.code, r.column, item);
    EXPECT_EQ(item.cxy, r.kept) << r.code << " " << r.width;
  }
  HDITEMW end{};
  end.mask = HDI_WIDTH;
  end.cxy = 150;
  Notify(s.List, HDN_ENDTRACKW, 0, end);
  end.cxy = 70;
  Notify(s.List, HDN_ENDTRACKA, 1, end);
  EXPECT_EQ(sized, (std::vector<std::pair<int, int>>{{0, 150}, {1, 70}}));

  // A hidden column cannot be pulled open.
  HDITEMW none{};
  EXPECT_NE(Notify(s.List, HDN_BEGINTRACKW, 2, none), 0);
  EXPECT_NE(Notify(s.List, HDN_BEGINTRACKA, 2, none), 0);
  EXPECT_EQ(Notify(s.List, HDN_BEGINTRACKW, 1, none), 0);
}

TEST(KemListViewWin, ColumnDragsAndOrder) {
  TAppScope app;
  TScene s;
  Make(s);
  EXPECT_EQ(s.List->GetColumnOrder(), (std::vector<int>{0, 1, 2}));
  s.List->SetColumnOrder({2, 0, 1});
  EXPECT_EQ(s.List->GetColumnOrder(), (std::vector<int>{2, 0, 1}));
  s.List->SetColumnOrder({0, 1, 2});

  // Without a handler a dropped column returns to its place.
  HDITEMW item{};
  item.mask = HDI_ORDER;
  item.iOrder = 2;
  Notify(s.List, HDN_ENDDRAG, 0, item);
  EXPECT_EQ(item.iOrder, 0);

  bool allow = false, finish = false;
  std::vector<int> seen;
  s.List->OnColumnDragBegin = [&](TObject*, int column, bool& a) {
    seen.push_back(column);
    EXPECT_FALSE(a);
    a = allow;
  };
  s.List->OnColumnDragEnd = [&](TObject*, int column, int order, bool& f) {
    seen.push_back(column * 10 + order);
    EXPECT_FALSE(f);
    f = finish;
  };
  allow = true;
  EXPECT_EQ(Notify(s.List, HDN_BEGINDRAG, 1, item), 0);
  item.iOrder = 2;
  Notify(s.List, HDN_ENDDRAG, 1, item);
  EXPECT_EQ(item.iOrder, 1) << "not finished: back to its own place";
  finish = true;
  item.iOrder = 2;
  EXPECT_EQ(Notify(s.List, HDN_ENDDRAG, 1, item), 0);
  EXPECT_EQ(item.iOrder, 2);
  EXPECT_EQ(seen, (std::vector<int>{1, 12, 12}));
  SetHeaderBitmapMargin(s.List->HeaderHandle(), 4);
  EXPECT_EQ(SendMessageW(s.List->HeaderHandle(), HDM_GETBITMAPMARGIN, 0, 0), 4);
}

TEST(FontListWin, NamesOnceAndSorted) {
  const std::vector<WideString>& names = ScreenFontNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(&names, &ScreenFontNames());
  for (size_t i = 1; i < names.size(); ++i) EXPECT_LT(WideCompareText(names[i - 1], names[i]), 0);
  for (const WideString& n : names) EXPECT_NE(n.front(), u'@');
}
