// Drop targets: make windowed controls accept OLE drag and drop, choose the
// drop effect, show the drag image, scroll the control under a resting
// pointer, and hand the dropped data object to their data formats.
#pragma once
#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "kem3/dragdrop/dragdrop.h"
#include "kem3/dragdrop/dragdropole_win.h"
#include "kem3/dragdrop/dropeffect.h"
#include "platform/comptr_win.h"
#include "platform/controls_win.h"
#include "platform/timer.h"

class TCustomDropTarget;
class TDropTargetInterface;
class TTextDataFormat;

// Effect: in/out, the drop effect. APoint: client coordinates of the target control.
using TDropTargetEvent =
    std::function<void(TObject* Sender, TShiftState ShiftState, TPoint APoint, std::uint32_t& Effect)>;
enum TScrolDirection { sdUp, sdDown, sdLeft, sdRight };
using TScrolDirections = Set<TScrolDirection>;
using TDropTargetScrollEvent =
    std::function<void(TObject* Sender, TPoint Point, TScrolDirections& Scroll, unsigned& Interval)>;
using TAcceptFormatEvent = std::function<void(TObject* Sender, TCustomDataFormat* DataFormat, bool& Accept)>;

// An invisible child that ties the OLE registration to its parent's window:
// registered when its window is made, revoked when it goes (while the parent's
// window still exists), so a re-created parent stays a drop target.
class TWinControlProxy : public TWinControl {
 public:
  TWinControlProxy(TCustomDropTarget* AOwner, TWinControl* AParent);
  ~TWinControlProxy() override;
  TWinControl* Registered() const { return FRegistered; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  TCustomDropTarget* FDropTarget;
  TWinControl* FRegistered;
  HWND FRegisteredWindow = nullptr;
};

class TCustomDropTarget : public TDragDropComponent {
 public:
  explicit TCustomDropTarget(TComponent* AOwner);
  ~TCustomDropTarget() override;

  void Register(TWinControl* Control);
  // nil: every control, last first.
  void Unregister(TWinControl* Control = nullptr);
  // The control under the current drag, else the first registered one.
  TWinControl* Target() const;
  void SetTarget(TWinControl* Value);
  const std::vector<TWinControl*>& Targets() const { return FControls; }

  // The drop target's IDropTarget, for OLE and for tests that drive it.
  IDropTarget* DropTargetInterface() const;
  // Reads the clipboard's data object as a paste; the effect performed.
  std::uint32_t PasteFromClipboard();

  TDragTypes DragTypes;
  bool GetDataOnEnter = false;
  bool MultiTarget = false;
  bool AutoScroll = true;
  bool OptimizedMove = false;
  bool AllowAsyncTransfer = false;  // data are always read on the GUI thread
  bool ShowImage() const { return FShowImage; }
  void SetShowImage(bool Value);

  TDropTargetEvent OnEnter, OnDragOver, OnDrop, OnGetDropEffect;
  // The drag left, was cancelled or ended with a drop (after OnDrop, also when
  // the drop was refused).
  TNotifyEvent OnLeave;
  TDropTargetScrollEvent OnScroll;

  // The OLE entry points; the interface object calls them.
  HRESULT DragEnter(IDataObject* DataObject, DWORD KeyState, POINTL Point, DWORD* Effect);
  HRESULT DragOver(DWORD KeyState, POINTL Point, DWORD* Effect);
  HRESULT DragLeave();
  HRESULT Drop(IDataObject* DataObject, DWORD KeyState, POINTL Point, DWORD* Effect);
  // After an exception inside an entry point: lets go of everything the drag
  // held and ends it for the handlers as a leave does.
  void AbortDrag();

 protected:
  virtual void DoEnter(TShiftState Shift, TPoint Point, std::uint32_t& Effect);
  virtual void DoDragOver(TShiftState Shift, TPoint Point, std::uint32_t& Effect);
  virtual void DoDrop(TShiftState Shift, TPoint Point, std::uint32_t& Effect);
  virtual void DoLeave();
  virtual void DoPasteDrop(std::uint32_t& Effect);
  virtual void DoScroll(TPoint Point, TScrolDirections& Scroll, unsigned& Interval);
  virtual bool GetData(std::uint32_t Effect);
  virtual bool DoGetData() = 0;
  virtual void ClearData() = 0;
  virtual std::uint32_t GetValidDropEffect(TShiftState Shift, TPoint Point, std::uint32_t Effect);
  virtual TWinControl* FindTarget(TPoint ScreenPoint);
  virtual bool HasValidFormats(TDropDataObject& DataObject) = 0;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The data object of the current drag or paste; nil at rest.
  TDropDataObject* DataObject() const { return FDataObject.get(); }

 private:
  friend class TWinControlProxy;
  void ReleaseDataObject() { FDataObject.reset(); }
  void ReleaseHelper() { FHelper.Reset(); }
  void StopScrolling() { FScrollTimer->SetEnabled(false); }
  void ScrollTimerTick(TObject* Sender);
  void FindScrollZone();
  void ProxyGone(TWinControlProxy* Proxy);

  std::vector<TWinControl*> FControls;
  std::vector<TWinControlProxy*> FProxies;
  TComPtr<TDropTargetInterface> FInterface;
  std::unique_ptr<TOleDataObject> FDataObject;
  TComPtr<IDropTargetHelper> FHelper;
  TWinControl* FTarget = nullptr;  // the control under the drag
  TPoint FLastPoint;
  bool FShowImage = true;
  bool FDragAutoOff = false;  // this drag found no control: image and scrolling are off for it
  TTimer* FScrollTimer;
  int FScrollFlags = 0;  // 1: a horizontal scroll bar, 2: a vertical one
  TRect FInnerScrollRect;
};

class TCustomDropMultiTarget : public TCustomDropTarget {
 public:
  explicit TCustomDropMultiTarget(TComponent* AOwner);
  bool TakesDataFormats() const override { return true; }
  TAcceptFormatEvent OnAcceptFormat;

 protected:
  bool DoGetData() override;
  void ClearData() override;
  bool HasValidFormats(TDropDataObject& DataObject) override;
  virtual void DoAcceptFormat(TCustomDataFormat* DataFormat, bool& Accept);
};

// A multi target that reads text from the start.
class TDropTextTarget : public TCustomDropMultiTarget {
 public:
  explicit TDropTextTarget(TComponent* AOwner);
  const String& Text() const;

 private:
  TTextDataFormat* FTextFormat;
};
