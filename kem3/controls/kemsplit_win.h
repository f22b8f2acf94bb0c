// TKemSplitter: a bar between an aligned control and the rest of its parent.
// Dragging it resizes that control (its neighbour); in relative mode the
// neighbour keeps its share of the parent when the parent is resized. Bars
// that cross (a horizontal and a vertical one meeting) drag together when the
// press falls on the crossing. The arithmetic is in kemsplit_geometry.h.
#pragma once
#include <memory>
#include <vector>

#include "kem3/controls/kemsplit_geometry.h"
#include "platform/bitmap.h"
#include "platform/controls_win.h"

class TKemSplitter : public TGraphicControl {
 public:
  explicit TKemSplitter(TComponent* AOwner);
  ~TKemSplitter() override;

  TKemSplitMode SplitMode() const { return FSplitMode; }
  void SetSplitMode(TKemSplitMode Value) { FSplitMode = Value; }
  int SplitSize() const { return FSplitSize; }
  void SetSplitSize(int Value);
  // The neighbour's share of the parent kept in relative mode; below 0 until
  // first taken from the neighbour.
  double RelativeRatio() const { return FRelativeRatio; }
  void SetRelativeRatio(double Value) { FRelativeRatio = Value; }
  bool AllowDrag() const { return FAllowDrag; }
  void SetAllowDrag(bool Value) { FAllowDrag = Value; }
  // Resize while dragging; else an inverted line shows where the bar will go.
  bool FullUpdate() const { return FFullUpdate; }
  void SetFullUpdate(bool Value) { FFullUpdate = Value; }
  bool ForcedRepaint() const { return FForcedRepaint; }
  void SetForcedRepaint(bool Value) { FForcedRepaint = Value; }
  // The least the neighbour and the other side keep.
  int MinSize() const { return FMinSize; }
  void SetMinSize(int Value) { FMinSize = Value < 0 ? 0 : Value; }
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  TColor ColorHighlight() const { return FColorHighlight; }
  void SetColorHighlight(TColor Value);
  TColor ColorShadow() const { return FColorShadow; }
  void SetColorShadow(TColor Value);
  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor Value);
  // Changed in place; Invalidate afterwards.
  TBitmap* BodyImage() const { return FBodyImage.get(); }
  TBitmap* GripImage() const { return FGripImage.get(); }
  int GripCount() const { return FGripCount; }
  void SetGripCount(int Value);

  TNotifyEvent OnMoving;
  TNotifyEvent OnMoved;

  // A top or bottom bar is always SplitSize high, a left or right one SplitSize wide.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetParent(TWinControl* AParent) override;
  int GetHeight() const { return Height(); }
  int GetWidth() const { return Width(); }
  // The control the bar resizes (on its aligned side), or nullptr.
  TControl* Neighbour() const;
  // The splitters of the same parent that cross this one.
  std::vector<TKemSplitter*> CrossingSplitters() const;
  bool Dragging() const { return FDragging; }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void ParentResized() override;

 private:
  // Drag steps, in the parent's client coordinates; partners get the same.
  bool StartDrag(TPoint Pos);
  void DragTo(TPoint Pos);
  void EndDrag();
  // Ends this bar's drag and its partners'.
  void EndDrags();
  void ApplySize(int Size);
  void InvertLine();
  void ReleaseLineDC();
  void LeaveDrags();
  // The cursor of a bar moving along its axis (not over a crossing).
  TCursor OwnCursor() const;
  int Extent(const TControl* Control) const;
  int ParentExtent() const;
  void PaintBevel(TRect& R, TBevelCut Cut);
  void PaintBody();

  TKemSplitMode FSplitMode = smAbsolute;
  int FSplitSize = 3;
  double FRelativeRatio = -1;
  bool FAllowDrag = true;
  bool FFullUpdate = false;
  bool FForcedRepaint = false;
  int FMinSize = 30;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvNone;
  TColor FColorHighlight = 0xFFFFFF;
  TColor FColorShadow = 0x808080;
  TColor FBackColor = clBtnFace;
  std::unique_ptr<TBitmap> FBodyImage = std::make_unique<TBitmap>();
  std::unique_ptr<TBitmap> FGripImage = std::make_unique<TBitmap>();
  int FGripCount = 3;

  // The drag: the neighbour, the press point and its size then, the size now.
  bool FDragging = false;
  TControl* FControl = nullptr;
  TPoint FPressPos;
  int FStartSize = 0;
  int FLimit = 0;
  int FSize = 0;
  int FLineOffset = 0;
  bool FLineShown = false;
  HDC FLineDC = nullptr;
  // The crossing splitters that drag with this one (found while hovering).
  std::vector<TKemSplitter*> FPartners;
};
