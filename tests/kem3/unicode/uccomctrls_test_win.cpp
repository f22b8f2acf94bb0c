// List view and tree view on real windows: columns, items and nodes kept
// across re-creation, header tracking reaching column resizing, in-place
// editing of a node's label, the window's text requests, and the tree nodes'
// stream and copy.
#include "kem3/unicode/uccomctrls_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"
#include "platform/exceptions.h"

namespace {

const WideString kAthens = u"\u0391\u03b8\u03ae\u03bd\u03b1";         // Αθήνα
const WideString kMoscow = u"\u041c\u043e\u0441\u043a\u0432\u0430";   // Москва
const WideString kCity = u"\u03a0\u03cc\u03bb\u03b7";                 // Πόλη
const WideString kCountry = u"\u0421\u0442\u0440\u0430\u043d\u0430";  // Страна

WideString FromBuffer(const wchar_t* Text) { return WideString(reinterpret_cast<const char16_t*>(Text)); }

WideString ItemText(HWND Window, int Item, int Column) {
  wchar_t text[128] = {};
  LVITEMW item{};
  item.iSubItem = Column;
  item.pszText = text;
  item.cchTextMax = 128;
  SendMessageW(Window, LVM_GETITEMTEXTW, static_cast<WPARAM>(Item), reinterpret_cast<LPARAM>(&item));
  return FromBuffer(text);
}

WideString ColumnText(HWND Window, int Column) {
  wchar_t text[128] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = text;
  column.cchTextMax = 128;
  SendMessageW(Window, LVM_GETCOLUMNW, static_cast<WPARAM>(Column), reinterpret_cast<LPARAM>(&column));
  return FromBuffer(text);
}

WideString NodeText(HWND Window, HTREEITEM Item) {
  wchar_t text[128] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = Item;
  item.pszText = text;
  item.cchTextMax = 128;
  SendMessageW(Window, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return FromBuffer(text);
}

}  // namespace

TEST(UcListViewWin, ColumnsItemsAndSelectionSurviveReCreation) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(10, 10, 400, 300);
  auto* list = new TUcListView(form);
  list->SetParent(form);
  list->SetBounds(0, 0, 380, 250);
  list->AddColumn()->SetCaption(kCity);  // set before the window exists
  list->Columns(0)->SetWidth(120);
  list->AddColumn()->SetCaption(kCountry);
  int tag = 7;
  list->AddWideItem(kMoscow, &tag)->SetSubItems({u"\u0420\u043e\u0441\u0441\u0438\u044f"});
  list->AddWideItem(kAthens, nullptr)->SetSubItems({u"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1"});
  list->AddWideItem(u"Bern", nullptr);
  form->Show();
  list->Items(1)->SetSelected(true);
  std::vector<TListColumn*> resized;
  list->OnColumnResize = [&](TObject*, TListColumn* Column) { resized.push_back(Column); };
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    HWND h = list->Handle();
    EXPECT_EQ(ColumnText(h, 0), kCity);
    EXPECT_EQ(ColumnText(h, 1), kCountry);
    ASSERT_EQ(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(ItemText(h, 0, 0), kMoscow);
    EXPECT_EQ(ItemText(h, 0, 1), u"\u0420\u043e\u0441\u0441\u0438\u044f");
    EXPECT_EQ(ItemText(h, 2, 1), u"");
    EXPECT_EQ(SendMessageW(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
    EXPECT_EQ(list->Selected(), list->Items(1));
    list->RecreateWnd();
  }
  // Dragging the divider in the header resizes the column.
  HWND header = reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_GETHEADER, 0, 0));
  RECT r{};
  SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  const int y = (r.top + r.bottom) / 2;
  SendMouse(header, WM_LBUTTONDOWN, r.right - 1, y, MK_LBUTTON);
  SendMouse(header, WM_MOUSEMOVE, r.right + 40, y, MK_LBUTTON);
  SendMouse(header, WM_LBUTTONUP, r.right + 40, y);
  ASSERT_EQ(resized.size(), 1u);
  EXPECT_EQ(resized[0], list->Columns(0));
  EXPECT_EQ(list->Columns(0)->Width(), SendMessageW(list->Handle(), LVM_GETCOLUMNWIDTH, 0, 0));
  EXPECT_GT(list->Columns(0)->Width(), 140);
  const int dragged = list->Columns(0)->Width();
  list->RecreateWnd();
  EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETCOLUMNWIDTH, 0, 0), dragged);
  // In-place editing of a caption: the editor's wide text becomes the item's.
  list->OnEdited = [](TObject*, TListItem*, WideString& S) { S += u"!"; };
  list->SetFocus();
  list->Items(1)->EditCaption();
  ASSERT_TRUE(list->IsEditing());
  SetWindowTextW(list->EditHandle(), L"\u03a3\u03c0\u03ac\u03c1\u03c4\u03b7");
  SendMessageW(list->EditHandle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_FALSE(list->IsEditing());
  EXPECT_EQ(list->Items(1)->Caption(), u"\u03a3\u03c0\u03ac\u03c1\u03c4\u03b7!");
  EXPECT_EQ(ItemText(list->Handle(), 1, 0), list->Items(1)->Caption());
  list->Items(1)->SetCaption(kAthens);
  list->SetReadOnly(true);
  list->Items(1)->EditCaption();
  EXPECT_FALSE(list->IsEditing());
  // Sorting by the captions (lstrcmpW), or by OnCompare.
  list->AlphaSort();
  EXPECT_EQ(ItemText(list->Handle(), 0, 0), u"Bern");
  EXPECT_EQ(ItemText(list->Handle(), 2, 0), kMoscow);
  list->OnCompare = [](TObject*, TListItem* A, TListItem* B, int, int& Compare) {
    Compare = static_cast<int>(B->Caption().size()) - static_cast<int>(A->Caption().size());
  };
  list->AlphaSort();
  EXPECT_EQ(ItemText(list->Handle(), 0, 0), kMoscow);
  EXPECT_EQ(list->Items(0)->Data(), &tag);
  form->Free();
}

TEST(UcListViewWin, SelectionsCopyToListControlsWithTheirData) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  auto* list = new TUcListView(form);
  list->SetParent(form);
  auto* combo = new TUcComboBox(form);
  combo->SetParent(form);
  int tag = 3;
  for (const WideString& s : {kMoscow, kAthens, WideString(u"Bern")})
    list->AddWideItem(s, s == kAthens ? &tag : nullptr);
  list->CopySelection(combo);  // nothing selected
  for (int i : {1, 2}) list->Items(i)->SetSelected(true);
  list->CopySelection(combo);
  ASSERT_EQ(combo->Items()->Count(), 2);
  EXPECT_EQ(combo->Items()->Strings(0), kAthens);
  EXPECT_EQ(combo->Items()->Objects(0), reinterpret_cast<TObject*>(&tag));
}

TEST(UcListViewWin, OwnerDataItemsComeFromTheirHandlers) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  auto* list = new TUcListView(form);
  list->SetParent(form);
  list->AddColumn()->SetCaption(kCity);
  list->AddColumn();
  list->SetOwnerData(true);
  list->OnData = [](TObject*, TListItem* Item) {
    Item->SetCaption(kAthens + u" " + WideString(1, static_cast<WideChar>(u'0' + Item->Index() % 10)));
    Item->SetSubItems({kMoscow});
  };
  list->OnDataFind = [](TObject*, const WideString& Text, bool, int Start, int& Index) {
    if (Text == kAthens + u" 7") Index = Start <= 7 ? 7 : 17;
  };
  list->SetItemCount(1000);
  form->Show();
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    HWND h = list->Handle();
    EXPECT_EQ(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0), 1000);
    EXPECT_EQ(ItemText(h, 503, 0), kAthens + u" 3");
    EXPECT_EQ(ItemText(h, 503, 1), kMoscow);
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    const WideString wanted = kAthens + u" 7";
    find.psz = WideCStr(wanted);
    EXPECT_EQ(SendMessageW(h, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 7);
    list->RecreateWnd();
  }
  EXPECT_EQ(list->Items(42)->Caption(), kAthens + u" 2");
  EXPECT_EQ(list->Items(42)->Index(), 42);
  EXPECT_THROW(list->AddItem(), EInvalidOperation);
  EXPECT_THROW(list->Items(1000), EListError);
  form->Free();
}

TEST(UcTreeViewWin, NodesSurviveReCreationAndLabelsAreEditedInPlace) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(10, 10, 300, 300);
  auto* tree = new TUcTreeView(form);
  tree->SetParent(form);
  tree->SetBounds(0, 0, 280, 280);
  TUcTreeNodes* nodes = tree->Items();
  TTreeNode* greece = nodes->Add(u"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1");
  TTreeNode* athens = nodes->AddChild(greece, kAthens);
  nodes->AddChild(greece, u"\u03a0\u03ac\u03c4\u03c1\u03b1");
  TTreeNode* russia = nodes->Add(u"\u0420\u043e\u0441\u0441\u0438\u044f");
  form->Show();
  TTreeNode* moscow = nodes->AddChild(russia, kMoscow);  // added while the window exists
  greece->Expand();
  tree->SetSelected(athens);
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    HWND h = tree->Handle();
    EXPECT_EQ(SendMessageW(h, TVM_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(NodeText(h, athens->ItemId()), kAthens);
    EXPECT_EQ(NodeText(h, moscow->ItemId()), kMoscow);
    EXPECT_TRUE(greece->Expanded());
    EXPECT_FALSE(russia->Expanded());
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageW(h, TVM_GETNEXTITEM, TVGN_CARET, 0)), athens->ItemId());
    tree->RecreateWnd();
  }
  // Sorting by the texts (lstrcmpW: Greek before Cyrillic), or by OnCompare; model and window agree.
  auto firstInWindow = [&] {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree->Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
  };
  tree->OnCompare = [](TObject*, TTreeNode* A, TTreeNode* B, int, int& Compare) {
    Compare = B->Text().compare(A->Text());
  };
  tree->AlphaSort();
  EXPECT_EQ(nodes->TopItem(0), russia);
  EXPECT_EQ(greece->Item(1), athens);
  EXPECT_EQ(firstInWindow(), russia->ItemId());
  tree->OnCompare = nullptr;
  tree->AlphaSort();
  EXPECT_EQ(nodes->TopItem(0), greece);
  EXPECT_EQ(greece->Item(0), athens);
  EXPECT_EQ(firstInWindow(), greece->ItemId());
  // In-place editing: the editor's wide text becomes the node's.
  WideString seen;
  tree->OnEdited = [&](TObject*, TTreeNode*, WideString& S) {
    seen = S;
    S += u"!";
  };
  tree->SetFocus();
  athens->EditText();
  ASSERT_TRUE(tree->IsEditing());
  ASSERT_NE(tree->EditHandle(), nullptr);
  SetWindowTextW(tree->EditHandle(), L"\u03a3\u03c0\u03ac\u03c1\u03c4\u03b7");
  SendMessageW(tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
  EXPECT_FALSE(tree->IsEditing());
  EXPECT_EQ(seen, u"\u03a3\u03c0\u03ac\u03c1\u03c4\u03b7");
  EXPECT_EQ(athens->Text(), u"\u03a3\u03c0\u03ac\u03c1\u03c4\u03b7!");
  EXPECT_EQ(NodeText(tree->Handle(), athens->ItemId()), athens->Text());
  // Cancelled, refused by the handler, or read-only: the text stays.
  int cancelled = 0;
  tree->OnCancelEdit = [&](TObject*, TTreeNode*) { ++cancelled; };
  moscow->EditText();
  SendMessageW(tree->Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(moscow->Text(), kMoscow);
  tree->OnEditing = [](TObject*, TTreeNode*, bool& Allow) { Allow = false; };
  moscow->EditText();
  EXPECT_FALSE(tree->IsEditing());
  EXPECT_EQ(moscow->Text(), kMoscow);
  tree->OnEditing = nullptr;
  tree->SetReadOnly(true);
  moscow->EditText();
  EXPECT_FALSE(tree->IsEditing());
  EXPECT_EQ(moscow->Text(), kMoscow);
  form->Free();
}

TEST(UcTreeViewWin, TextRequestsWriteWithinTheBufferOnly) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  auto* tree = new TUcTreeView(form);
  tree->SetParent(form);
  form->Show();
  TTreeNode* node = tree->Items()->Add(kAthens);
  struct Case {
    int size;
    WideString expected;
  };
  for (const Case& c :
       {Case{0, u"xxxx"}, Case{-5, u"xxxx"}, Case{1, u""}, Case{3, u"\u0391\u03b8"}, Case{40, kAthens}}) {
    wchar_t buffer[8] = L"xxxx";
    NMTVDISPINFOW info{};
    info.hdr.hwndFrom = tree->Handle();
    info.hdr.code = TVN_GETDISPINFOW;
    info.item.mask = TVIF_TEXT;
    info.item.hItem = node->ItemId();
    info.item.lParam = reinterpret_cast<LPARAM>(node);
    info.item.pszText = buffer;
    info.item.cchTextMax = c.size;
    SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(FromBuffer(buffer), c.expected.substr(0, 7)) << c.size;
  }
  form->Free();
}

TEST(UcTreeNodesWin, StreamAndAssignKeepTheNodes) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  auto* from = new TUcTreeView(form);
  auto* to = new TUcTreeView(form);
  for (TUcTreeView* t : {from, to}) t->SetParent(form);
  form->Show();
  const WideString longText(300, u'\u03a9');
  int value = 0;
  TTreeNode* top = from->Items()->AddChildObject(nullptr, kCity, &value);
  top->ImageIndex = 3;
  from->Items()->AddChild(top, longText);
  from->Items()->AddChild(from->Items()->Add(kCountry), kMoscow);
  TStringStream stream("");
  from->Items()->SaveToStream(stream);
  stream.SetPosition(0);
  to->Items()->Add(u"old");
  to->Items()->LoadFromStream(stream);
  TUcStringList texts;
  to->Items()->GetNodeTexts(texts);
  ASSERT_EQ(texts.Count(), 4);
  EXPECT_EQ(texts.Strings(0), kCity);
  EXPECT_EQ(texts.Strings(1), longText.substr(0, 126));  // cut to 252 bytes of UTF-8
  EXPECT_EQ(texts.Strings(3), kMoscow);
  EXPECT_EQ(to->Items()->TopItem(0)->ImageIndex, 3);
  EXPECT_EQ(SendMessageW(to->Handle(), TVM_GETCOUNT, 0, 0), 4);
  // A stream cut short leaves the nodes as they were.
  TStringStream broken(stream.DataString().substr(0, 40));
  EXPECT_THROW(to->Items()->LoadFromStream(broken), EReadError);
  EXPECT_EQ(to->Items()->Count(), 4);
  // Assign copies directly: whole texts and whole data.
  to->Items()->Assign(*from->Items());
  to->Items()->GetNodeTexts(texts);
  EXPECT_EQ(texts.Strings(1), longText);
  EXPECT_EQ(to->Items()->TopItem(0)->Data(), &value);
  form->Free();
}
