// The layer's combo box, list box and label on real windows, driven by
// messages: re-creation keeps items, selection and text; auto-complete;
// the list box's item moves; the virtual list box; the label's accelerator.
#include "kem3/unicode/ucstdctrls_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/app_scope_win.h"
#include "platform/clock.h"

namespace {

std::vector<WideString> ItemsOf(TUcStrings* items) {
  std::vector<WideString> out;
  for (int i = 0; i < items->Count(); ++i) out.push_back(items->Strings(i));
  return out;
}

TForm* ShownForm() {
  auto* form = Application->CreateForm<TQuietForm>();
  form->SetBounds(30, 30, 400, 300);
  form->Show();
  return form;
}

// Puts a fake clock in place for the length of a test.
class TClockScope {
 public:
  TClockScope() : FPrevious(SetClock(&Clock)) {}
  ~TClockScope() { SetClock(FPrevious); }
  TFakeClock Clock{100000};

 private:
  TClock* FPrevious;
};

TObject* Tag(int n) { return reinterpret_cast<TObject*>(static_cast<intptr_t>(n)); }

}  // namespace

TEST(UcStdCtrlsWin, ComboBoxKeepsItemsSelectionAndTextAcrossEveryStyle) {
  TAppScope app;
  TForm* form = ShownForm();
  auto* combo = new TUcComboBox(form);
  combo->SetParent(form);
  const std::vector<WideString> items{u"Αθήνα", u"Москва", u"Berlin"};
  for (size_t i = 0; i < items.size(); ++i) combo->Items()->AddObject(items[i], Tag(static_cast<int>(i) + 1));
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), u"Москва");
  for (TComboBoxStyle style : {csSimple, csDropDownList, csOwnerDrawFixed, csDropDown}) {
    HWND before = combo->Handle();
    combo->SetStyle(style);
    EXPECT_NE(combo->Handle(), before) << style;
    EXPECT_EQ(ItemsOf(combo->Items()), items) << style;
    EXPECT_EQ(combo->Items()->Objects(2), Tag(3)) << style;
    EXPECT_EQ(combo->ItemIndex(), 1) << style;
    EXPECT_EQ(combo->Text(), u"Москва") << style;
  }
  // A typed text that is no item survives too; clearing the items keeps it.
  combo->SetText(u"Ωmega");
  combo->SetSorted(true);
  EXPECT_EQ(combo->Text(), u"Ωmega");
  EXPECT_EQ(combo->Items()->Strings(0), u"Berlin");
  combo->Items()->Clear();
  EXPECT_EQ(combo->Items()->Count(), 0);
  EXPECT_EQ(combo->Text(), u"Ωmega");
  EXPECT_EQ(combo->Items()->Strings(5), u"");
  EXPECT_TRUE(app.Errors.empty());
}

TEST(UcStdCtrlsWin, ComboBoxCompletesTypedTextAndSelectsTheRest) {
  TAppScope app;
  TForm* form = ShownForm();
  auto* combo = new TUcComboBox(form);
  combo->SetParent(form);
  for (const char16_t* s : {u"Berlin", u"Bern", u"Жёлтый"}) combo->Items()->Add(s);
  int selects = 0;
  combo->OnSelect = [&](TObject*) { ++selects; };
  HWND edit = combo->EditHandle();
  ASSERT_NE(edit, nullptr);
  SendMessageW(edit, WM_CHAR, u'b', 1);
  SendMessageW(edit, WM_CHAR, u'e', 1);
  EXPECT_EQ(combo->Text(), u"berlin");
  EXPECT_EQ(combo->SelStart(), 2);
  EXPECT_EQ(combo->SelLength(), 4);
  EXPECT_EQ(combo->SelText(), u"rlin");
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(selects, 1);
  // No item goes on: the edit takes the character over the selection.
  SendMessageW(edit, WM_CHAR, u'x', 1);
  EXPECT_EQ(combo->Text(), u"bex");
  // Above U+00FF, whole.
  combo->SetText(u"");
  SendMessageW(edit, WM_CHAR, u'ж', 1);
  EXPECT_EQ(combo->Text(), u"жёлтый");
  EXPECT_EQ(combo->ItemIndex(), 2);
  // Picked in the list: the text is the item's at once, then the events.
  int changes = 0;
  combo->OnChange = [&](TObject*) { changes += combo->Text() == u"Bern" ? 1 : 100; };
  SendMessageW(combo->Handle(), CB_SETCURSEL, 1, 0);
  SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo->Handle()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo->Handle()));
  EXPECT_EQ(combo->Text(), u"Bern");
  EXPECT_EQ(selects, 3);  // "b", "ж", and this one
  EXPECT_EQ(changes, 1);
  combo->OnChange = nullptr;
  combo->AutoComplete = false;
  combo->SetText(u"");
  SendMessageW(edit, WM_CHAR, u'b', 1);
  EXPECT_EQ(combo->Text(), u"b");
}

TEST(UcStdCtrlsWin, DropDownListSelectsByCharactersTypedInQuickSuccession) {
  TAppScope app;
  TClockScope clock;
  TForm* form = ShownForm();
  auto* combo = new TUcComboBox(form);
  combo->SetStyle(csDropDownList);
  combo->SetParent(form);
  for (const char16_t* s : {u"Berlin", u"Bern", u"Bonn", u"Брест"}) combo->Items()->Add(s);
  struct Step {
    std::uint64_t after;
    WideChar key;
    int index;
  };
  const Step steps[] = {{0, u'b', 0},  {300, u'o', 2}, {1250, u'b', 0}, {10, u'e', 0},
                        {10, u'r', 0}, {10, u'n', 1},  {5000, u'б', 3}};
  for (const Step& s : steps) {
    clock.Clock.Advance(s.after);
    SendMessageW(combo->Handle(), WM_CHAR, s.key, 1);
    EXPECT_EQ(combo->ItemIndex(), s.index) << static_cast<int>(s.key);
  }
  EXPECT_EQ(combo->Text(), u"Брест");
}

TEST(UcStdCtrlsWin, ListBoxKeepsItemsSelectionAndTopAndMovesItemsWithTheirData) {
  TAppScope app;
  TForm* form = ShownForm();
  auto* list = new TUcListBox(form);
  list->SetBounds(10, 10, 150, 60);
  list->SetParent(form);
  std::vector<WideString> items;
  for (int i = 0; i < 20; ++i) {
    items.push_back(u"Στοιχείο " + WideString(1, static_cast<char16_t>(u'А' + i)));
    list->Items()->AddObject(items.back(), Tag(i + 1));
  }
  list->SetItemIndex(12);
  list->SetTopIndex(10);
  list->SetBorderStyle(lbsNone);
  EXPECT_FALSE(GetWindowLongPtrW(list->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(ItemsOf(list->Items()), items);
  EXPECT_EQ(list->ItemIndex(), 12);
  EXPECT_EQ(list->TopIndex(), 10);
  EXPECT_EQ(list->Items()->Objects(19), Tag(20));

  // The selection follows its item; texts and data change places.
  list->Items()->Exchange(12, 3);
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_EQ(list->Items()->Strings(3), items[12]);
  EXPECT_EQ(list->Items()->Objects(3), Tag(13));
  EXPECT_EQ(list->Items()->Objects(12), Tag(4));
  list->Items()->Put(3, u"Новый");
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_EQ(list->Items()->Objects(3), Tag(13));
  list->Items()->Move(3, 0);
  EXPECT_EQ(list->Items()->Strings(0), u"Новый");
  EXPECT_EQ(list->Items()->Objects(0), Tag(13));
  EXPECT_THROW(list->Items()->Strings(99), EStringListError);

  // Copying the selection adds wide text and object, cut at a NUL.
  auto* other = new TUcListBox(form);
  other->SetParent(form);
  list->SetItemIndex(0);
  list->CopySelection(other);
  other->AddWideItem(WideString(u"До\0после", 8), nullptr);
  EXPECT_EQ(ItemsOf(other->Items()), (std::vector<WideString>{u"Новый", u"До"}));
  EXPECT_EQ(other->Items()->Objects(0), Tag(13));
}

TEST(UcStdCtrlsWin, VirtualListBoxAsksOnDataAndAnswersMinusOneWithout) {
  TAppScope app;
  TForm* form = ShownForm();
  auto* list = new TUcListBox(form);
  list->SetStyle(lbVirtual);
  list->SetParent(form);
  list->SetCount(3);
  HWND h = list->Handle();
  EXPECT_EQ(SendMessageW(h, LB_GETTEXTLEN, 0, 0), LB_ERR);
  list->OnData = [](TWinControl*, int index, WideString& data) { data = u"Ряд " + WideString(1, u'0' + index); };
  wchar_t buffer[16] = {};
  EXPECT_EQ(SendMessageW(h, LB_GETTEXTLEN, 2, 0), 5);
  EXPECT_EQ(SendMessageW(h, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 5);
  EXPECT_EQ(WideString(reinterpret_cast<char16_t*>(buffer)), u"Ряд 2");
  EXPECT_EQ(SendMessageW(h, LB_GETTEXTLEN, 3, 0), LB_ERR);
  EXPECT_EQ(SendMessageW(h, LB_GETTEXTLEN, static_cast<WPARAM>(-1), 0), LB_ERR);
  list->SetItemIndex(1);
  list->SetStyle(lbVirtualOwnerDraw);
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(list->ItemIndex(), 1);
  list->SetParent(nullptr);  // no window now: the number is kept
  EXPECT_EQ(list->Count(), 3);
}

TEST(UcStdCtrlsWin, LabelAcceleratorFocusesItsControl) {
  TAppScope app;
  TForm* form = ShownForm();
  auto* list = new TUcListBox(form);
  list->SetBounds(10, 40, 100, 80);
  list->SetParent(form);
  auto* combo = new TUcComboBox(form);
  combo->SetBounds(150, 40, 100, 80);
  combo->SetParent(form);
  // A label sizes itself without making its form's window.
  auto* hidden = NewForm<TQuietForm>(Application);
  auto* sized = new TUcLabel(hidden);
  sized->SetParent(hidden);
  sized->SetCaption(u"Ширина");
  EXPECT_GT(sized->Width(), 10);
  EXPECT_FALSE(hidden->HandleAllocated());

  auto* label = new TUcLabel(form);
  label->SetParent(form);
  label->SetCaption(u"&Код и &Имя");  // the last mark is the accelerator
  label->SetFocusControl(list);
  combo->SetFocus();
  const LPARAM alt = 1 << 29;
  label->SetShowAccelChar(false);
  SendMessageW(GetFocus(), WM_SYSCHAR, u'и', alt);
  EXPECT_FALSE(list->Focused());
  label->SetShowAccelChar(true);
  SendMessageW(GetFocus(), WM_SYSCHAR, u'N', alt);  // not its character
  EXPECT_FALSE(list->Focused());
  SendMessageW(GetFocus(), WM_SYSCHAR, u'И', alt);
  EXPECT_TRUE(list->Focused());
  list->Free();
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST(UcStdCtrlsWin, DisabledLabelIsEmbossed) {
  TAppScope app;
  TForm* form = ShownForm();
  form->SetColor(clBtnFace);
  auto* label = new TUcLabel(form);
  label->SetParent(form);
  label->SetBounds(10, 10, 10, 10);
  label->SetCaption(u"Ζώνη Жж");
  auto count = [&](TColor color) {
    form->Repaint();
    int n = 0;
    for (int y = label->Top(); y < label->Top() + label->Height(); ++y) {
      for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
        n += form->PaintBuffer()->PixelColor(x, y) == ColorToRGB(color);
      }
    }
    return n;
  };
  EXPECT_GT(count(clWindowText), 0);
  EXPECT_EQ(count(clBtnHighlight), 0);
  label->SetEnabled(false);
  EXPECT_GT(count(clBtnHighlight), 0);
  EXPECT_GT(count(clBtnShadow), 0);
  EXPECT_EQ(count(clWindowText), 0);
}
