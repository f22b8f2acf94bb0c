// TToolBar: a row of tool buttons from the left, in the order they were put
// on it, drawing their pictures from the toolbar's image list.
#pragma once
#include "platform/controls_win.h"
#include "platform/imglist.h"
#include "platform/toolbutton_win.h"

class TToolBar : public TCustomControl {
 public:
  explicit TToolBar(TComponent* AOwner);

  // Not owned; forgotten when it goes.
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* Value);
  // The width every button gets (0: each keeps its own) and their height
  // (0: the toolbar's client height).
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  int ButtonHeight() const { return FButtonHeight; }
  void SetButtonHeight(int Value);
  // The tool buttons on the toolbar, in order.
  int ButtonCount() const;
  TToolButton* Buttons(int Index) const;
  // Puts the buttons side by side from the left edge.
  void ArrangeButtons();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void Resize() override;

 private:
  TImageList* FImages = nullptr;
  int FButtonWidth = 0, FButtonHeight = 0;
};
