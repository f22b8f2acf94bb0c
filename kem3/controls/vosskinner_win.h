// The form skinner and the textured controls. TVosFormSkinner sits directly
// on a form and makes it a borderless, shaped, skinned window: it paints the
// form frame and texture of one window record of the skin, sets the window's
// region from the frame's corner masks, offers eight resize grips and moving
// by dragging (snapping to the work area's edges), and lays child controls out
// in the skin's named container slots. Textured controls paint the skin's
// texture aligned with their form so they blend into it.
#pragma once
#include <array>
#include <vector>

#include "kem3/graphics/vosskin.h"
#include "platform/controls_win.h"
#include "platform/forms_win.h"

class TKemMenu;
class TVosTexturedControl;

// Where a control lies within its form (0,0 without a form): the offset the
// skin's textures are drawn with, negated.
TPoint VosFormOffset(const TControl* Control);
// The skin of the form skinner Control lies on (its nearest one up the parent
// chain), with the skinner's window record and cache slot selected; nullptr
// when there is no skinner or it has no skin.
TVosSkin* VosSelectSkinFor(const TControl* Control);
// A region handle made from a skin region (the caller owns it).
HRGN VosRegionHandle(const TVosRegion& Region);

class TVosFormSkinnerBase : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  TVosSkin* Skin() const { return FSkin; }
  // Stores the skin and calls SkinChanged.
  void SetSkin(TVosSkin* Value);
  int CacheSlot() const { return FCacheSlot; }
  void SetCacheSlot(int Value) { FCacheSlot = Value; }

 protected:
  virtual void SkinChanged() {}

 private:
  TVosSkin* FSkin = nullptr;
  int FCacheSlot = -1;
};

// A plain holder of a slot: its first child fills it; what the child leaves
// free shows the form's texture.
class TVosContainer : public TCustomControl {
 public:
  explicit TVosContainer(TComponent* AOwner);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Paint() override;
};

class TVosFormSkinner : public TVosFormSkinnerBase {
 public:
  // EInvalidOperation unless the owner is a form.
  explicit TVosFormSkinner(TComponent* AOwner);
  ~TVosFormSkinner() override;

  // The window record of the skin this form shows, and the container group giving its slots.
  int WindowIndex() const { return FWindowIndex; }
  void SetWindowIndex(int Value) { FWindowIndex = Value; }
  int ContainerGroup() const { return FContainerGroup; }
  void SetContainerGroup(int Value) { FContainerGroup = Value; }
  // Selects this form's window record and cache slot in the skin (before drawing or reading metrics).
  void SelectInSkin() const;

  bool Resizable() const { return FResizable; }
  void SetResizable(bool Value) { FResizable = Value; }
  bool Movable() const { return FMovable; }
  void SetMovable(bool Value) { FMovable = Value; }
  // While dragged, the window snaps to the work area's edges within SnapBuffer pixels.
  bool ScreenSnap() const { return FScreenSnap; }
  void SetScreenSnap(bool Value) { FScreenSnap = Value; }
  int SnapBuffer() const { return FSnapBuffer; }
  void SetSnapBuffer(int Value) { FSnapBuffer = Value; }
  bool Dragging() const { return FDragging; }
  bool Sizing() const { return FSizing; }
  // The grip under the pointer at the last move (0 none, 1-8).
  int GripAt(TPoint P) const;

  // Puts Control into the first slot of that id (case-insensitive) and parents
  // it to the skinner; an unknown id takes the control's parent away.
  void AttachControl(const String& SlotId, TControl* Control, bool Fill = true);
  // A container parented to the skinner, attached to the slot.
  TVosContainer* CreateContainer(const String& SlotId);
  // Grows a slot with margins on all four sides to hold Width x Height and sizes the form to it.
  void FitFormToSlot(const String& SlotId, int Width, int Height);
  // The slot's rectangle for a window of the skinner's size; empty for an unknown id.
  TRect SlotRect(const String& SlotId) const;
  // Region, slot placement, texture cache and grips for a window of Width x Height.
  void UpdateLayout(int Width, int Height);

  // The drag handlers; the owner also calls them from its own controls.
  void DragMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void DragMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void DragMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  static void AttachFormDragHandlers(TVosFormSkinner* Skinner, TControl* Control);

  void RegisterTextured(TVosTexturedControl* Control);
  void UnregisterTextured(TVosTexturedControl* Control);

  TNotifyEvent OnDragStart;
  TNotifyEvent OnDragMove;
  TNotifyEvent OnDragEnd;

 protected:
  void SkinChanged() override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void BoundsChanged(const TRect& OldBounds) override;

 private:
  struct TSlotControl {
    TControl* Control = nullptr;
    bool Fill = true;
  };
  TSize MinimumSize() const;
  void SizeTo(const TRect& Bounds);
  void RemoveControl(TControl* Control);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TCustomForm* FForm;
  int FWindowIndex = 0;
  int FContainerGroup = 0;
  bool FResizable = true;
  bool FMovable = true;
  bool FScreenSnap = false;
  int FSnapBuffer = 10;
  int FGrip = 0;
  bool FSizing = false;
  bool FDragging = false;
  TPoint FPressPoint;  // screen
  TRect FPressBounds;  // the form's
  TControl* FCaptureControl = nullptr;
  std::array<TVosRegion, 8> FGrips;
  TVosContainerGroup FSlots;            // the skin's slots of the container group
  std::vector<TSlotControl> FControls;  // what each of them holds, index for index
  std::vector<TVosTexturedControl*> FTextured;
  int FLayoutWidth = -1;
  int FLayoutHeight = -1;
  bool FInLayout = false;
};

// A control that paints the skin's texture aligned with its form.
class TVosTexturedControl : public TCustomControl {
 public:
  explicit TVosTexturedControl(TComponent* AOwner);
  ~TVosTexturedControl() override;

  TVosFormSkinner* Skinner() const { return FSkinner; }
  TVosSkin* Skin() const { return FSkinner ? FSkinner->Skin() : nullptr; }
  // Where the control lies within its form.
  TPoint Offset() const { return FOffset; }
  virtual void UpdateTextureOffset();
  virtual void SkinNotify() {}

  void SetParent(TWinControl* AParent) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Popped up at the pointer by a right button release (not owned; nil: none).
  TKemMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TKemMenu* Value) { FPopupMenu = Value; }
  // Just before the popup menu opens (its owner brings its entries up to date).
  TNotifyEvent OnPopup;

 protected:
  // Selects the skinner's record and slot; false without a skin.
  bool PrepareSkin() const;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Shows the popup menu at a screen point unless it is open already.
  void PopupMenuAt(TPoint ScreenPos);

 private:
  friend class TVosFormSkinner;
  TVosFormSkinner* FSkinner = nullptr;
  TPoint FOffset;
  TKemMenu* FPopupMenu = nullptr;
};

// The program's icon on the form's icon texture; a left press pops its menu
// 2 pixels below its lower left corner.
class TVosFormIcon : public TVosTexturedControl {
 public:
  explicit TVosFormIcon(TComponent* AOwner);

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// The form's caption in the skin's caption texture, border and text.
class TVosFormCaption : public TVosTexturedControl {
 public:
  explicit TVosFormCaption(TComponent* AOwner);

 protected:
  void Paint() override;
  void TextChanged() override;
};

// A picture blended over the form texture: the base of the bar's modules.
class TVosImage : public TVosTexturedControl {
 public:
  explicit TVosImage(TComponent* AOwner);
  TBitmap* Image() const { return FImage.get(); }
  // The picture (bitmap, JPEG or PNG) of an entry of a resource package; false
  // (Bitmap unchanged) when the package has no such picture.
  static bool LoadBitmapFromResourceFile(const String& ResourceFile, const String& EntryName, TBitmap& Bitmap);
  TPoint ImagePosition() const { return FImagePosition; }
  void SetImagePosition(TPoint Value);

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TBitmap> FImage;
  TPoint FImagePosition;
};
