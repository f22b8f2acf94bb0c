// Forms: top-level windows owned by the application's hidden window (so they
// have no taskbar button), with border styles, key preview, showing, closing,
// modal showing and deferred freeing.
//
// Creation: C++ runs no override of a class before its constructor has
// finished, so OnCreate cannot fire from the base constructor as the class
// library does. It fires from AfterConstruction, once the whole form exists:
// Application->CreateForm<T>(…) and NewForm<T>(…) call it; code that creates a
// form with new calls it itself. A form class sets OnCreate (for example to its
// FormCreate) in its constructor. OnDestroy fires from BeforeDestruction, while
// the form is still whole, so free forms with Free() (owners, FreeAndNil and
// Release do).
#pragma once
#include <utility>

#include "platform/controls_win.h"

class TMainMenu;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // OnCreate. An exception of the handler goes to the application's exception
  // display and the form lives on. Form bases that finish their set-up before
  // OnCreate do it in an override and then call this.
  virtual void AfterConstruction();
  void BeforeDestruction() override;

  // ---- Window kind. Changing BorderStyle makes the window anew.
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  // Where the form goes each time it is shown (poDesigned: where its bounds say).
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);

  // ---- Keys: with KeyPreview the form's KeyDown, KeyUp and KeyPress (and so its
  // OnKeyDown…) see every key before the focused control; setting Key to 0 there
  // consumes it.
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  // The control that has (or gets, when the form is next active) the focus.
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  // Focus to the next (or previous) control of the form in tab order.
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  bool Active() const { return FActive; }
  void SetFocus() override;
  bool CanFocus() const override;

  // ---- Showing and closing.
  // Visible and in front of the other windows.
  void Show() override;
  // OnCloseQuery may refuse; then OnClose picks what happens (caHide by default;
  // the main form ends the application instead). A modal form just gets
  // ModalResult mrCancel.
  void Close();
  virtual bool CloseQuery();
  // Shows the form and runs messages until ModalResult is set (by the form's
  // own code or Close), with the application's other windows disabled meanwhile.
  // EInvalidOperation for a form that is visible already.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Modal() const { return FModal; }
  // Frees the form once the handler that calls this has returned.
  void Release();

  TCanvas* Canvas() const { return FCanvas.get(); }
  TRect ClientRect() override;

  // The menu bar (not owned: a component of the form, as the form's other
  // parts). Kept across re-creation of the window.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);

  // While the program idles (shown forms only): the actions of the menu bar's
  // entries and of the visible controls update their state (OnUpdate).
  virtual void UpdateActions();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  // The session ends (log off, shut down): the system may end the process as
  // soon as the message is answered, before any form is destroyed, so what
  // must be kept is saved here. Runs once per program (TApplication::EndSession).
  TNotifyEvent OnEndSession;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DispatchDefault(TMessage& Message) override;
  void VisibleChanged() override;
  void PaintWindow(HDC DC) override;
  void MouseWheelHandler(TMessage& Message) override;

  // A character that no focused control took (and every Alt+character):
  // forms that host accelerators answer it; true when taken. Here each control
  // of the form in turn is asked with CM_DIALOGCHAR (BroadcastDialogCharMessage).
  virtual bool FormDialogChar(WideChar Key, TShiftState Shift);
  // Enter or Escape that the focused control (or the form itself) did not
  // take: forms whose buttons play default and cancel roles answer it; true
  // when taken. Here nothing takes it.
  virtual bool FormDialogKey(std::uint16_t Key, TShiftState Shift);

  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();

 private:
  friend class TWinControl;
  void FocusChanged(TWinControl* Control);
  void ControlRemoved(TControl* Control);
  void CloseModal();
  void PlaceForShow();
  // Runs an event handler and hands its exception to the application.
  template <class F>
  void Guarded(F&& f);

  TFormBorderStyle FBorderStyle = bsSizeable;
  TFormStyle FFormStyle = fsNormal;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  bool FKeyPreview = false;
  bool FActive = false;
  bool FModal = false;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;  // the last control that had the focus, for OnEnter/OnExit
  std::unique_ptr<TControlCanvas> FCanvas;
  TMainMenu* FMenu = nullptr;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};

// Performs CM_DIALOGCHAR on each control below Root, depth first in child
// order, until one answers 1; true then.
bool BroadcastDialogCharMessage(TWinControl* Root, WideChar Key, TShiftState Shift);

// Creates a form and runs its OnCreate: NewForm<TdAbout>(owner).
template <class T, class... Args>
T* NewForm(Args&&... args) {
  T* form = new T(std::forward<Args>(args)...);
  form->AfterConstruction();
  return form;
}
