// The notebook on real windows: exactly the page at PageIndex shows after
// every change, switching moves the focus into the new page (the first
// control in tab order), Tab follows that order, pages let the
// mouse through.
#include "kem3/controls/kemnote_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"
#include "support/keys_win.h"

namespace {

// Which pages show, as a string of 0 and 1.
std::string Shown(TKemNotebook* n) {
  std::string s;
  for (int i = 0; i < n->PageCount(); ++i) s += n->GetPage(i)->Visible() ? '1' : '0';
  return s;
}

class TFocusable : public TCustomControl {
 public:
  explicit TFocusable(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
};

}  // namespace

TEST(KemNotebookWin, ExactlyThePageAtPageIndexShows) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  auto* n = new TKemNotebook(form);
  n->SetParent(form);
  EXPECT_EQ(n->PageCount(), 1);
  EXPECT_EQ(n->ActivePage(), "Default");
  EXPECT_EQ(n->PageIndex(), 0);
  EXPECT_EQ(n->GetPage(0)->Align(), alClient);
  int changed = 0;
  n->OnPageChanged = [&](TObject*) { ++changed; };
  n->AddPage("b");
  n->AddPage("c");
  EXPECT_EQ(Shown(n), "001");
  EXPECT_EQ(changed, 2);
  n->InsertPage(2, "x");  // at the current index
  EXPECT_EQ(n->PageIndex(), 2);
  EXPECT_EQ(Shown(n), "0010");
  n->MovePage(2, 0);  // swapped: "Default" comes to the current index
  EXPECT_EQ(n->ActivePage(), "Default");
  EXPECT_EQ(Shown(n), "0010");
  n->SetPageIndex(4);
  n->SetPageIndex(-1);
  n->SetActivePage("none");
  EXPECT_EQ(n->PageIndex(), 2);
  n->SetActivePage("b");
  EXPECT_EQ(Shown(n), "0100");
  n->DeletePage(0);  // page 0 shows
  EXPECT_EQ(n->PageIndex(), 0);
  EXPECT_EQ(Shown(n), "100");
  n->DeletePage(0);
  EXPECT_EQ(n->ActivePage(), "Default");
  EXPECT_EQ(Shown(n), "10");
  n->GetPage(0)->Free();  // freed by someone else: the next page shows
  EXPECT_EQ(Shown(n), "1");
  n->SetPages({"one", "two"});
  EXPECT_EQ(n->PageCaption(0), "one");
  EXPECT_EQ(n->ActivePage(), "two");
  n->ClearPages();
  EXPECT_EQ(n->PageIndex(), -1);
  EXPECT_EQ(n->ActivePage(), "");
}

TEST(KemNotebookWin, SwitchingMovesTheFocusIntoTheNewPage) {
  TAppScope app;
  TForm* form = NewForm<TForm>(Application);
  form->SetBounds(10, 10, 300, 300);
  auto* n = new TKemNotebook(form);
  n->SetParent(form);
  TKemNote* second = n->AddPage("second");
  n->SetPageIndex(0);
  auto* first = new TFocusable(form);
  first->SetParent(n->GetPage(0));
  auto* target = new TFocusable(form);
  target->SetParent(second);
  auto* other = new TFocusable(form);
  other->SetParent(second);
  // Brought to the front it is last in child order, still first in tab order.
  target->BringToFront();
  ASSERT_EQ(second->Controls(0), other);
  form->Show();
  first->SetFocus();
  ASSERT_EQ(form->ActiveControl(), first);
  n->SetPageIndex(1);
  EXPECT_EQ(form->ActiveControl(), target);
  EXPECT_FALSE(n->GetPage(0)->Visible());
  // Tab walks the same order; a control moved to the front of it comes first.
  PressFocused(VK_TAB);
  EXPECT_EQ(form->ActiveControl(), other);
  PressFocused(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(form->ActiveControl(), target);
  other->SetTabOrder(0);
  EXPECT_EQ(target->TabOrder(), 1);
  n->SetPageIndex(0);
  first->SetFocus();
  n->SetPageIndex(1);
  EXPECT_EQ(form->ActiveControl(), other);
  EXPECT_EQ(SendMessageW(second->Handle(), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_NE(GetWindowLongW(n->Handle(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
  form->Hide();
}
