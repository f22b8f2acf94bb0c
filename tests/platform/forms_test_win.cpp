// Forms on real windows: border styles and ownership, creation and showing
// events, closing, deferred release and modal showing.
#include "platform/forms_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_scope_win.h"

namespace {

using Log = std::vector<std::string>;

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }
LONG_PTR ExStyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_EXSTYLE); }

// A form class as the program writes them: its handlers bound in its constructor.
class TLoggingForm : public TForm {
 public:
  TLoggingForm(TComponent* AOwner, Log& log) : TForm(AOwner), FLog(log) {
    OnCreate = [this](TObject*) {
      FLog.push_back(std::string("create") + (Application->MainForm() ? " (main known)" : ""));
      Ready = true;
    };
    OnShow = [this](TObject*) { FLog.push_back(IsWindowVisible(Handle()) ? "show (visible)" : "show"); };
    OnHide = [this](TObject*) { FLog.push_back("hide"); };
    OnDestroy = [this](TObject*) { FLog.push_back(Ready ? "destroy (whole)" : "destroy"); };
  }
  ~TLoggingForm() override { FLog.push_back("freed"); }
  bool Ready = false;

 private:
  Log& FLog;
};

class TToolForm : public TForm {
 public:
  using TForm::TForm;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TForm::CreateParams(Params);
    Params.ExStyle |= WS_EX_TOOLWINDOW;
  }
};

}  // namespace

TEST(FormsWin, BorderlessFormHasNoFrameAndNoTaskbarButton) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(10, 10, 200, 50);
  form->Show();
  HWND h = form->Handle();
  const LONG_PTR style = StyleOf(h);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME | WS_SYSMENU));
  EXPECT_FALSE(ExStyleOf(h) & WS_EX_APPWINDOW);
  // Owned by the application's window, which is never shown.
  EXPECT_EQ(GetWindow(h, GW_OWNER), Application->Handle());
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(form->ClientRect(), Rect(0, 0, 200, 50));

  form->SetBorderStyle(bsSizeable);  // made anew, still shown
  EXPECT_NE(form->Handle(), nullptr);
  EXPECT_TRUE(StyleOf(form->Handle()) & WS_CAPTION);
  EXPECT_TRUE(StyleOf(form->Handle()) & WS_THICKFRAME);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_LT(form->ClientWidth(), form->Width());

  form->SetFormStyle(fsStayOnTop);
  EXPECT_TRUE(ExStyleOf(form->Handle()) & WS_EX_TOPMOST);

  auto* tool = NewForm<TToolForm>(Application);
  tool->SetBorderStyle(bsNone);
  EXPECT_TRUE(ExStyleOf(tool->Handle()) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindow(tool->Handle(), GW_OWNER), Application->Handle());
}

TEST(FormsWin, CreationShowingAndDestructionEvents) {
  TAppScope app;
  Log log;
  auto* main = Application->CreateForm<TLoggingForm>(log);
  auto* second = Application->CreateForm<TLoggingForm>(log);
  EXPECT_EQ(Application->MainForm(), main);  // the first one, known after its OnCreate
  second->Show();
  second->Hide();
  EXPECT_FALSE(IsWindowVisible(second->Handle()));
  second->Free();
  EXPECT_EQ(log, (Log{"create", "create (main known)", "show", "hide", "destroy (whole)", "freed"}));
  log.clear();
  DoneApplication();  // frees the remaining forms
  EXPECT_EQ(log, (Log{"destroy (whole)", "freed"}));
  InitApplication();  // for TAppScope's end
}

TEST(FormsWin, ExceptionInOnCreateIsShownAndTheFormLives) {
  TAppScope app;
  auto* form = new TForm(Application);
  form->OnCreate = [](TObject*) { throw Exception("no good"); };
  form->AfterConstruction();
  EXPECT_EQ(app.Errors, (std::vector<std::string>{"no good"}));
  EXPECT_EQ(Application->ComponentCount(), 1);
}

TEST(FormsWin, CloseAsksOnCloseQueryAndDoesWhatOnCloseChooses) {
  TAppScope app;
  Log log;
  Application->CreateForm<TForm>();  // the main form
  auto* form = Application->CreateForm<TLoggingForm>(log);
  form->Show();
  bool allow = false;
  TCloseAction choice = caHide;
  form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
  form->OnClose = [&](TObject*, TCloseAction& action) {
    EXPECT_EQ(action, caHide);
    action = choice;
  };
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(form->Visible());
  allow = true;
  choice = caNone;
  form->Close();
  EXPECT_TRUE(form->Visible());
  choice = caHide;
  form->Close();
  EXPECT_FALSE(form->Visible());
  form->Show();
  choice = caFree;
  log.clear();
  form->Close();
  EXPECT_TRUE(log.empty());  // freed later, by the loop
  Application->ProcessMessages();
  EXPECT_EQ(log, (Log{"destroy (whole)", "freed"}));
  EXPECT_FALSE(Application->Terminated());
  Application->MainForm()->Close();  // the main form ends the program
  EXPECT_TRUE(Application->Terminated());
}

TEST(FormsWin, ReleaseFromInsideAHandlerFreesTheFormAfterIt) {
  TAppScope app;
  Log log;
  auto* form = Application->CreateForm<TLoggingForm>(log);
  form->SetMessageHandler(WM_USER + 3, [&](TMessage&) {
    form->Release();
    Application->ProcessMessages();  // a nested loop must not free it under us
    log.push_back(form->Ready ? "handler still has its form" : "?");
  });
  PostMessageW(form->Handle(), WM_USER + 3, 0, 0);
  log.clear();
  Application->ProcessMessages();
  EXPECT_EQ(log, (Log{"handler still has its form", "destroy (whole)", "freed"}));
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(FormsWin, ShowModalReturnsTheResultSetByTheFormsCode) {
  TAppScope app;
  auto* main = Application->CreateForm<TQuietForm>();
  main->Show();
  auto* dialog = NewForm<TForm>(Application);
  dialog->SetBorderStyle(bsDialog);
  dialog->SetPosition(poScreenCenter);
  dialog->SetBounds(0, 0, 200, 100);
  bool mainDisabled = false;
  int refusals = 1;
  dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = refusals-- <= 0; };
  dialog->SetMessageHandler(WM_USER + 5, [&](TMessage& m) {
    mainDisabled = !IsWindowEnabled(main->Handle());
    dialog->SetModalResult(static_cast<TModalResult>(m.WParam));
  });
  // Queued before the loop starts: the first answer is refused by OnCloseQuery.
  PostMessageW(dialog->Handle(), WM_USER + 5, mrOk, 0);
  PostMessageW(dialog->Handle(), WM_USER + 5, mrYes, 0);
  EXPECT_EQ(dialog->ShowModal(), mrYes);
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(dialog->Modal());
  const TRect work = Rect(0, 0, Screen->Width(), Screen->Height());
  EXPECT_EQ(dialog->Left(), (work.Width() - 200) / 2);  // placed at the screen's centre

  // Close inside the loop gives mrCancel; a visible form cannot go modal.
  dialog->OnCloseQuery = nullptr;
  dialog->SetMessageHandler(WM_USER + 5, [&](TMessage&) { dialog->Close(); });
  PostMessageW(dialog->Handle(), WM_USER + 5, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_THROW(main->ShowModal(), EInvalidOperation);
}

TEST(FormsWin, ScreenListsTheFormsAndTheActiveOne) {
  TAppScope app;
  auto* a = NewForm<TQuietForm>(Application);
  auto* b = NewForm<TQuietForm>(Application);
  EXPECT_EQ(Screen->FormCount(), 2);
  EXPECT_EQ(Screen->Forms(0), a);
  EXPECT_EQ(Screen->Forms(1), b);
  b->Show();
  SendMessageW(b->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(Screen->ActiveForm(), b);
  EXPECT_TRUE(b->Active());
  b->Free();
  EXPECT_EQ(Screen->FormCount(), 1);
  EXPECT_EQ(Screen->ActiveForm(), nullptr);
}

TEST(FormsWin, FocusMovesInTabOrderWithEnterAndExit) {
  TAppScope app;
  Log log;
  auto* form = Application->CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 200, 100);
  std::vector<TWinControl*> boxes;
  for (int i = 0; i < 3; ++i) {
    auto* box = new TCustomControl(form);
    box->SetParent(form);
    box->SetBounds(i * 50, 0, 40, 40);
    box->SetTabStop(i != 1);
    box->OnEnter = [&log, i](TObject*) { log.push_back("enter " + std::to_string(i)); };
    box->OnExit = [&log, i](TObject*) { log.push_back("exit " + std::to_string(i)); };
    boxes.push_back(box);
  }
  form->Show();
  boxes[0]->SetFocus();
  EXPECT_TRUE(boxes[0]->Focused());
  EXPECT_EQ(form->ActiveControl(), boxes[0]);
  SendMessageW(boxes[0]->Handle(), WM_KEYDOWN, VK_TAB, 1);  // skips the one without TabStop
  EXPECT_TRUE(boxes[2]->Focused());
  SendMessageW(boxes[2]->Handle(), WM_KEYDOWN, VK_TAB, 1);  // wraps around
  EXPECT_TRUE(boxes[0]->Focused());
  EXPECT_EQ(log, (Log{"enter 0", "exit 0", "enter 2", "exit 2", "enter 0"}));
  boxes[1]->SetVisible(false);
  EXPECT_THROW(boxes[1]->SetFocus(), EInvalidOperation);
  boxes[0]->Free();  // the form forgets a control that goes, and so does its tab order
  EXPECT_EQ(form->ActiveControl(), nullptr);
  std::vector<TWinControl*> order;
  form->GetTabOrderList(order);
  EXPECT_EQ(order, (std::vector<TWinControl*>{boxes[1], boxes[2]}));
}

TEST(FormsWin, AFormSetMaximisedBeforeItsFirstShowShowsMaximised) {
  TAppScope app;
  auto* form = new TForm(Application);
  form->HandleNeeded();  // the window exists, hidden, before the state is set
  form->SetWindowState(wsMaximized);
  form->Show();
  EXPECT_TRUE(IsZoomed(form->Handle()));
  EXPECT_EQ(form->WindowState(), wsMaximized);
  form->Free();
}
