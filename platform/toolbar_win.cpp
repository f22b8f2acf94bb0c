#include "platform/toolbar_win.h"

#include "platform/lists.h"

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 150, 26);
  SetColor(clBtnFace);
}

void TToolBar::SetImages(TImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  Invalidate();
  for (int I = 0; I < ButtonCount(); ++I) Buttons(I)->Invalidate();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TToolBar::SetButtonWidth(int Value) {
  FButtonWidth = Value;
  ArrangeButtons();
}

void TToolBar::SetButtonHeight(int Value) {
  FButtonHeight = Value;
  ArrangeButtons();
}

int TToolBar::ButtonCount() const {
  int N = 0;
  for (int I = 0; I < ControlCount(); ++I) N += dynamic_cast<TToolButton*>(Controls(I)) != nullptr;
  return N;
}

TToolButton* TToolBar::Buttons(int Index) const {
  for (int I = 0, N = 0; I < ControlCount(); ++I)
    if (auto* B = dynamic_cast<TToolButton*>(Controls(I)); B && N++ == Index) return B;
  ListError("Button index out of bounds", Index);
}

void TToolBar::ArrangeButtons() {
  int X = 0;
  const int H = FButtonHeight > 0 ? FButtonHeight : ClientHeight();
  for (int I = 0; I < ButtonCount(); ++I) {
    TToolButton* B = Buttons(I);
    const bool Gap = B->Style() == tbsSeparator || B->Style() == tbsDivider;
    const int W = FButtonWidth > 0 && !Gap ? FButtonWidth : B->Width();
    B->SetBounds(X, 0, W, H);
    X += W;
  }
}

void TToolBar::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TToolBar::Resize() {
  TCustomControl::Resize();
  ArrangeButtons();
}
