// A bar module on the bar: the control that shows a module's picture over the
// skin's texture. The module composes (on its thread too); the control copies
// the finished picture on the GUI thread and paints only its own copy.
#pragma once
#include <memory>
#include <vector>

#include "kem3/controls/vosskinner_win.h"
#include "launcher/ov3module.h"

class TOvModuleControl : public TVosImage {
 public:
  TOvModuleControl(TComponent* AOwner, std::unique_ptr<TOvModule> Module);
  ~TOvModuleControl() override;
  TOvModule* Module() const { return FModule.get(); }
  // The module's current picture, shown (GUI thread).
  void RefreshPicture();
  // The picture Margin from the bar's edge (and Indent across a vertical bar),
  // the control as long as the picture and its margins.
  void LayoutPicture(bool Vertical, int Margin, int Indent);
  // The module's menu entries when (X, Y) hits its picture and it has
  // commands; empty otherwise. Nothing shows them yet.
  std::vector<TOvModuleMenuEntry> GetMenuAt(int X, int Y) const;
  // The module's hint text.
  WideString GetHint() const { return FModule->GetHint(); }

 private:
  std::unique_ptr<TOvModule> FModule;
};
