// TCustomEdit on the system field: its settings reach every window it makes,
// the change event fires for typed and set text, selection and auto-select.
#include "platform/edit_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"

namespace {

class TProbeEdit : public TEdit {
 public:
  using TEdit::RecreateWnd;
  using TEdit::TEdit;
};

}  // namespace

TEST(EditWin, SettingsSurviveRecreationAndChangesAreReported) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(20, 20, 300, 100);
  auto* e = new TProbeEdit(form);
  e->SetReadOnly(true);
  e->SetMaxLength(4);
  e->SetPasswordChar(u'*');
  e->SetParent(form);
  e->SetBounds(10, 10, 120, 21);
  form->Show();
  int changes = 0;
  e->OnChange = [&](TObject*) { ++changes; };
  for (int round = 0; round < 2; ++round) {
    HWND h = e->Handle();
    EXPECT_NE(GetWindowLongW(h, GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(SendMessageW(h, EM_GETLIMITTEXT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(h, EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_NE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    e->RecreateWnd();
  }
  e->SetBorderStyle(bsNone);
  EXPECT_EQ(GetWindowLongW(e->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_NE(GetWindowLongW(e->Handle(), GWL_STYLE) & ES_READONLY, 0);
  e->SetReadOnly(false);
  e->SetPasswordChar(0);
  changes = 0;
  e->SetText(u"Αβ");
  EXPECT_EQ(changes, 1);
  SendMessageW(e->Handle(), EM_SETSEL, 2, 2);
  for (wchar_t ch : {L'γ', L'δ'}) SendMessageW(e->Handle(), WM_CHAR, ch, 0);
  EXPECT_EQ(changes, 3);
  SendMessageW(e->Handle(), WM_CHAR, L'ε', 0);
  EXPECT_EQ(e->Text(), u"Αβγδ");  // four at most
  e->SelectAll();
  EXPECT_EQ(e->SelStart(), 0);
  EXPECT_EQ(e->SelLength(), 4);
  e->SetSelection(1, 3);
  EXPECT_EQ(e->SelLength(), 2);
}
