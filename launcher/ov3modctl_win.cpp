// The bar module control.
#include "launcher/ov3modctl_win.h"

#include <algorithm>

TOvModuleControl::TOvModuleControl(TComponent* AOwner, std::unique_ptr<TOvModule> Module)
    : TVosImage(AOwner), FModule(std::move(Module)) {
  SetName("mod" + FModule->GetModuleName());
}

TOvModuleControl::~TOvModuleControl() = default;

void TOvModuleControl::RefreshPicture() {
  const TRect changed = FModule->TakeChangedPicture(*Image());
  // Only what changed is painted again: each second the clock's hand is a
  // small part of its face.
  if (IsRectEmpty(changed) || !HandleAllocated()) {
    Invalidate();
    return;
  }
  const TPoint at = ImagePosition();
  const RECT r{changed.Left + at.X, changed.Top + at.Y, changed.Right + at.X, changed.Bottom + at.Y};
  ::InvalidateRect(Handle(), &r, FALSE);
}

void TOvModuleControl::LayoutPicture(bool Vertical, int Margin, int Indent) {
  const int width = FModule->Width();
  // Across a bar too narrow for the offset and the picture, the picture moves
  // towards the middle rather than being cut at the bar's edge.
  const int fit = std::max(0, ((Vertical ? Width() : Height()) - width) / 2);
  if (Vertical) {
    SetImagePosition({std::min(Indent, fit), Margin});
    SetBounds(Left(), Top(), Width(), 2 * Margin + width);
  } else {
    SetImagePosition({Margin, std::min(Margin, fit)});
    SetBounds(Left(), Top(), 2 * Margin + width, Height());
  }
}

std::vector<TOvModuleMenuEntry> TOvModuleControl::GetMenuAt(int X, int Y) const {
  const TPoint at = ImagePosition();
  if (!FModule->HitTest(X - at.X, Y - at.Y)) return {};
  std::vector<TOvModuleMenuEntry> entries = FModule->BuildMenu();
  if (entries.size() <= 2) entries.clear();
  return entries;
}
