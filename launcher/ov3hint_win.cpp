#include "launcher/ov3hint_win.h"

#include "platform/application_win.h"

bool TOvHintWindow::IsHintMsg(const MSG& Msg) const {
  // The class layer's own messages (CM_WAKEUP above all) come while the
  // pointer rests and must leave the hint up.
  return (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) || Msg.message == WM_COMMAND;
}

void InstallBarHintWindow() {
  Application->HintWindowClass = [](TComponent* Owner) -> THintWindow* { return new TOvHintWindow(Owner); };
  RecreateHintWindow();
}
