// What the presses of the library's controls share. A press (a held button,
// a drag, an auto-repeat) lives while its control holds the mouse capture.
// The system can take the capture away with no button released: an error
// message or a dialog comes up (WM_CANCELMODE), another window takes the
// mouse. What the press began must end then, or plain moves with no button
// down would go on dragging or repeating.
#pragma once
#include <functional>

#include "platform/controls_win.h"

class TTimer;

class TCaptureWatch {
 public:
  // Passes Message on to Inherited (the control's inherited window
  // procedure) and tells whether the control has lost the capture against
  // its will: on WM_CANCELMODE, or when the capture went elsewhere. While the
  // control handles one of its mouse messages it releases and re-takes the
  // capture itself, and its handlers may show a message: what happens then
  // is judged once that message is done, by whether the control still holds
  // the capture. The control's answer must do nothing when no press runs.
  template <class TInherited>
  bool Pass(const TControl& Control, TMessage& Message, TInherited&& Inherited) {
    const bool mouse = Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST;
    if (Message.Msg == WM_CANCELMODE) FCancelled = true;
    if (Message.Msg == WM_CAPTURECHANGED) FChanged = true;
    {
      TInside inside(FDepth, mouse);
      Inherited(Message);
    }
    if (FDepth > 0) return false;
    const bool lost = FCancelled || (FChanged && !Control.MouseCapture());
    FCancelled = FChanged = false;
    return lost;
  }

 private:
  class TInside {
   public:
    TInside(int& Depth, bool On) : FDepth(Depth), FOn(On) {
      if (FOn) ++FDepth;
    }
    ~TInside() {
      if (FOn) --FDepth;
    }
    TInside(const TInside&) = delete;
    TInside& operator=(const TInside&) = delete;

   private:
    int& FDepth;
    bool FOn;
  };

  int FDepth = 0;  // mouse messages of the control under way
  bool FCancelled = false;
  bool FChanged = false;
};

// The auto-repeat of a held press: Step after the first pause, then at every
// following pause, while Holder holds the mouse capture. The first step that
// finds the capture gone ends the repeat and runs Lost instead, so a control
// without a window of its own learns of the loss there too. A step that fails
// ends the repeat and passes the error on.
class TPressRepeat {
 public:
  // Holder owns the timer, made on first use.
  explicit TPressRepeat(TControl* Holder) : FHolder(Holder) {}
  void Start(int FirstPause, int NextPause, std::function<void()> Step, std::function<void()> Lost);
  void Stop();
  bool Running() const;

 private:
  void Tick();

  TControl* FHolder;
  TTimer* FTimer = nullptr;
  int FNextPause = 0;
  std::function<void()> FStep;
  std::function<void()> FLost;
};
