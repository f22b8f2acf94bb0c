// Windows of system classes as controls: the class's procedure does the rest,
// notifications to the parent reach the child concerned, the text and the
// wiring survive re-creation.
#include "platform/syswindow_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "app_scope_win.h"
#include "platform/controls_win.h"

namespace {

// A control on a system class that logs the notifications handed to it.
class TSysProbe : public TWinControl {
 public:
  TSysProbe(TComponent* AOwner, const WideString& ClassName, DWORD Style)
      : TWinControl(AOwner), FClassName(ClassName), FStyle(Style) {
    SetControlStyle(ControlStyle() - csCaptureMouse);
    for (UINT msg : {CN_COMMAND, CN_NOTIFY, CN_DRAWITEM}) {
      SetMessageHandler(msg, [this, msg](TMessage& m) {
        const UINT code = msg == CN_COMMAND  ? HIWORD(m.WParam)
                          : msg == CN_NOTIFY ? reinterpret_cast<NMHDR*>(m.LParam)->code
                                             : reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->itemID;
        Notes.push_back(std::to_string(msg - CN_BASE) + ":" + std::to_string(static_cast<int>(code)));
      });
    }
    SetMessageHandler(CN_MEASUREITEM, [](TMessage& m) {
      reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->itemHeight = 23;
      m.Result = 1;
    });
  }
  std::vector<std::string> Notes;
  using TWinControl::RecreateWnd;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, FClassName);
    Params.Style |= FStyle;
  }

 private:
  WideString FClassName;
  DWORD FStyle;
};

TSysProbe* Probe(TWinControl* parent, const WideString& className, DWORD style) {
  auto* p = new TSysProbe(parent, className, style);
  p->SetBounds(10, 10, 150, 100);
  p->SetParent(parent);
  return p;
}

std::string Note(UINT msg, int code) { return std::to_string(msg) + ":" + std::to_string(code); }

}  // namespace

TEST(SysWindowWin, EditKeepsItsTextAndNotificationsAcrossRecreation) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(20, 20, 300, 200);
  form->Show();
  auto* edit = new TSysProbe(form, u"EDIT", ES_AUTOHSCROLL);
  edit->SetText(u"Αβγ");  // before the window exists
  edit->SetBounds(10, 10, 150, 24);
  edit->SetParent(form);
  HWND first = edit->Handle();
  EXPECT_EQ(FindControl(first), edit);
  EXPECT_EQ(edit->DefWndProc() != nullptr, true);
  wchar_t buffer[32] = {};
  GetWindowTextW(first, buffer, 32);
  EXPECT_EQ(WideString(reinterpret_cast<char16_t*>(buffer)), u"Αβγ");

  for (int round = 0; round < 2; ++round) {
    SendMessageW(edit->Handle(), EM_SETSEL, 3 + round, 3 + round);
    SendMessageW(edit->Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(round ? L"\x0416" : L"\x03B4"));
    EXPECT_EQ(edit->Notes, (std::vector<std::string>{Note(WM_COMMAND, EN_UPDATE), Note(WM_COMMAND, EN_CHANGE)}))
        << "round " << round;
    edit->Notes.clear();
    edit->RecreateWnd();
  }
  EXPECT_NE(edit->Handle(), first);
  EXPECT_EQ(edit->Text(), u"Αβγδ\u0416");
  EXPECT_EQ(FindControl(edit->Handle()), edit);

  // Colours are asked of the control; a change of text always reaches the window.
  edit->SetColor(clRed);
  HDC dc = GetDC(edit->Handle());
  const auto brush = SendMessageW(form->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(edit->Handle()));
  EXPECT_NE(brush, 0);
  EXPECT_EQ(GetBkColor(dc), RGB(255, 0, 0));
  ReleaseDC(edit->Handle(), dc);
  SetWindowTextW(edit->Handle(), L"x");
  edit->SetText(u"Αβγ");
  EXPECT_EQ(edit->Text(), u"Αβγ");
  edit->Free();
}

TEST(SysWindowWin, ListsAndCommonControlsGetTheirNotificationsAndTheParentAnswersWide) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(20, 20, 300, 200);
  form->Show();
  // Measured while being made, by its identifier alone; drawn through the parent.
  auto* list = Probe(form, u"LISTBOX", LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL);
  HWND h = list->Handle();
  EXPECT_EQ(SendMessageW(h, LB_GETITEMHEIGHT, 0, 0), 23);
  for (const wchar_t* s : {L"Один", L"Два"}) SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_NE(std::find(list->Notes.begin(), list->Notes.end(), Note(WM_DRAWITEM, 1)), list->Notes.end());
  list->Notes.clear();
  SendMouse(h, WM_LBUTTONDOWN, 5, 30, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 5, 30);
  EXPECT_EQ(SendMessageW(h, LB_GETCURSEL, 0, 0), 1);
  EXPECT_NE(std::find(list->Notes.begin(), list->Notes.end(), Note(WM_COMMAND, LBN_SELCHANGE)), list->Notes.end());

  auto* view = Probe(form, u"SysListView32", LVS_REPORT);
  HWND v = view->Handle();
  EXPECT_EQ(SendMessageW(form->Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(v), NF_QUERY), NFR_UNICODE);
  NMHDR header{v, 0, static_cast<UINT>(NM_CLICK)};
  SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(view->Notes, (std::vector<std::string>{Note(WM_NOTIFY, NM_CLICK)}));
  view->RecreateWnd();
  EXPECT_EQ(FindControl(view->Handle()), view);
  // A notification from a window that is not ours goes to the default handling.
  NMHDR stranger{form->Handle(), 0, static_cast<UINT>(NM_CLICK)};
  SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&stranger));
  EXPECT_EQ(view->Notes.size(), 1u);
  EXPECT_TRUE(app.Errors.empty());
}
