// A fresh Application and Screen for one test. Exceptions that reach the
// application are collected here instead of being shown in a message box.
#pragma once
#include <string>
#include <vector>

#include "platform/application_win.h"
#include "platform/forms_win.h"
#include "platform/screen_win.h"

class TAppScope {
 public:
  TAppScope() {
    DoneApplication();
    InitApplication();
    Application->OnException = [this](TObject* Sender, const Exception& E) {
      Errors.push_back(E.Message);
      Senders.push_back(Sender);
    };
  }
  ~TAppScope() { DoneApplication(); }
  TAppScope(const TAppScope&) = delete;
  TAppScope& operator=(const TAppScope&) = delete;

  std::vector<std::string> Errors;
  std::vector<TObject*> Senders;
};

// A borderless form that shows without becoming active, for tests that need
// neither a caption nor the foreground. (Where Wine manages windows, as in its
// default configuration without a window manager, hiding or destroying a window
// that has a caption or was once active waits two seconds for the manager; the
// tests' own prefix has Wine manage none.)
class TQuietForm : public TForm {
 public:
  explicit TQuietForm(TComponent* AOwner) : TForm(AOwner) { SetBorderStyle(bsNone); }

 protected:
  void VisibleChanged() override {
    if (Visible()) {
      ShowWindow(Handle(), SW_SHOWNA);
    } else if (HandleAllocated()) {
      ShowWindow(Handle(), SW_HIDE);
    }
  }
};

// Sends a mouse message with client coordinates and button flags.
inline LRESULT SendMouse(HWND Window, UINT Msg, int X, int Y, WPARAM Keys = 0) {
  return SendMessageW(Window, Msg, Keys, PointToLParam(X, Y));
}
