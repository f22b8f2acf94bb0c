// TCustomEdit: the settings put on the system field, its change
// notification and selection.
#include "platform/edit_win.h"

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  // The system field captures the mouse itself.
  SetControlStyle(ControlStyle() - csCaptureMouse + csClickEvents + csDoubleClicks);
  SetColor(clWindow);
  SetTabStop(true);
  SetCursor(crIBeam);
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, u"EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_LEFT;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (FPasswordChar) Params.Style |= ES_PASSWORD;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  SendMessageW(Handle(), EM_SETPASSWORDCHAR, FPasswordChar, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, Value, 0);
}

void TCustomEdit::SetMaxLength(int Value) {
  if (Value < 0) Value = 0;
  if (FMaxLength == Value) return;
  FMaxLength = Value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

void TCustomEdit::SetPasswordChar(WideChar Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  if (!HandleAllocated()) return;
  SendMessageW(Handle(), EM_SETPASSWORDCHAR, Value, 0);
  InvalidateRect(ClientRect());
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

int TCustomEdit::SelStart() {
  DWORD start = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelection(int Start, int End) { SendMessageW(Handle(), EM_SETSEL, Start, End); }

void TCustomEdit::ColorChanged() {
  TWinControl::ColorChanged();
  if (HandleAllocated()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE) Change();
      break;
    case WM_SETFOCUS:
      TWinControl::WndProc(Message);
      // Entered by Tab or by the program, not by a click into the text.
      if (FAutoSelect && !(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
      return;
  }
  TWinControl::WndProc(Message);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}
