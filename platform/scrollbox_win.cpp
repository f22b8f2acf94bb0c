// The scroll box: its range from the children, scrolling by moving them.
#include "platform/scrollbox_win.h"

#include <algorithm>

TScrollBox::TScrollBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
  SetTabStop(false);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= WS_VSCROLL | WS_CLIPCHILDREN;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WinClassName = u"TOrvScrollBox";
}

void TScrollBox::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateRange();
}

void TScrollBox::UpdateRange() {
  // In unscrolled coordinates: the children stand FPosition higher now.
  int bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* child = Controls(i);
    if (child->Visible()) bottom = std::max(bottom, child->Top() + child->Height() + FPosition);
  }
  FRange = bottom;
  // Contents that shrank, or a box that grew, leave no gap below them.
  SetVertPosition(FPosition);
  UpdateBar();
}

void TScrollBox::UpdateBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(FRange - 1, 0);
  info.nPage = static_cast<UINT>(std::max(ClientHeight(), 0));
  info.nPos = FPosition;
  SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
}

void TScrollBox::SetVertPosition(int Value) {
  Value = std::clamp(Value, 0, std::max(FRange - ClientHeight(), 0));
  if (Value == FPosition) return;
  const int by = FPosition - Value;
  FPosition = Value;
  FMoving = true;
  DisableAlign();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    child->SetBounds(child->Left(), child->Top() + by, child->Width(), child->Height());
  }
  EnableAlign();
  FMoving = false;
  UpdateBar();
  Invalidate();
}

void TScrollBox::ScrollInView(TControl* Control) {
  if (!Control || !ContainsControl(Control) || Control == this) return;
  int top = Control->Top();
  for (const TWinControl* p = Control->Parent(); p && p != this; p = p->Parent()) top += p->Top();
  const int bottom = top + Control->Height();
  const int height = ClientHeight();
  if (bottom > height)
    SetVertPosition(FPosition + std::min(bottom - height, top));
  else if (top < 0)
    SetVertPosition(FPosition + top);
}

void TScrollBox::Scroll(int Code) {
  switch (Code) {
    case SB_LINEUP:
      SetVertPosition(FPosition - LineStep);
      break;
    case SB_LINEDOWN:
      SetVertPosition(FPosition + LineStep);
      break;
    case SB_PAGEUP:
      SetVertPosition(FPosition - ClientHeight());
      break;
    case SB_PAGEDOWN:
      SetVertPosition(FPosition + ClientHeight());
      break;
    case SB_TOP:
      SetVertPosition(0);
      break;
    case SB_BOTTOM:
      SetVertPosition(FRange);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(Handle(), SB_VERT, &info)) SetVertPosition(info.nTrackPos);
      break;
    }
    default:
      break;
  }
}

void TScrollBox::WndProc(TMessage& Message) {
  if (Message.Msg == WM_VSCROLL) {
    Scroll(LOWORD(Message.WParam));
    Message.Result = 0;
    return;
  }
  TWinControl::WndProc(Message);
}

bool TScrollBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (FRange <= ClientHeight()) return false;
  SetVertPosition(FPosition - WheelDelta * 3 * LineStep / WHEEL_DELTA);
  return true;
}

void TScrollBox::BoundsChanged(const TRect& OldBounds) {
  TWinControl::BoundsChanged(OldBounds);
  UpdateRange();
}

void TScrollBox::ControlChanged(TControl* Control) {
  TWinControl::ControlChanged(Control);
  if (!FMoving && !ComponentState().Contains(csDestroying)) UpdateRange();
}
