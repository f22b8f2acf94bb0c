// Drop targets and the IDropTarget object OLE calls.
#include "kem3/dragdrop/droptarget_win.h"

#include <algorithm>

#include "kem3/dragdrop/dragdropfeedback.h"
#include "kem3/dragdrop/dragdroptext.h"
#include "platform/win_util_win.h"

// The IDropTarget handed to OLE. It counts its own references: OLE may hold it
// after the component is gone, so the component detaches it when freed and
// every later call answers E_UNEXPECTED. No exception leaves a method.
class TDropTargetInterface : public IDropTarget {
 public:
  explicit TDropTargetInterface(TCustomDropTarget* Owner) : FOwner(Owner) {}
  virtual ~TDropTargetInterface() = default;
  void Detach() { FOwner = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override {
    if (!Object) return E_POINTER;
    if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IDropTarget)) {
      *Object = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&FRefCount); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG count = InterlockedDecrement(&FRefCount);
    if (count == 0) delete this;  // the reference count owns the object
    return count;
  }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* DataObject, DWORD KeyState, POINTL Point, DWORD* Effect) override {
    return Guard(Effect, [&](TCustomDropTarget* t) { return t->DragEnter(DataObject, KeyState, Point, Effect); });
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD KeyState, POINTL Point, DWORD* Effect) override {
    return Guard(Effect, [&](TCustomDropTarget* t) { return t->DragOver(KeyState, Point, Effect); });
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    return Guard(nullptr, [&](TCustomDropTarget* t) { return t->DragLeave(); });
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* DataObject, DWORD KeyState, POINTL Point, DWORD* Effect) override {
    return Guard(Effect, [&](TCustomDropTarget* t) { return t->Drop(DataObject, KeyState, Point, Effect); });
  }

 private:
  template <class F>
  HRESULT Guard(DWORD* Effect, F Call) {
    TCustomDropTarget* target = FOwner;
    if (!target) {
      if (Effect) *Effect = DROPEFFECT_NONE;
      return E_UNEXPECTED;
    }
    try {
      return Call(target);
    } catch (...) {
      if (Effect) *Effect = DROPEFFECT_NONE;
      try {
        if (FOwner) FOwner->AbortDrag();
      } catch (...) {
      }
      return E_UNEXPECTED;
    }
  }

  LONG FRefCount = 1;
  TCustomDropTarget* FOwner;
};

namespace {

constexpr unsigned kScrollStartDelay = 50;
constexpr unsigned kScrollRepeatInterval = 50;

bool Contains(const TRect& Rect, TPoint Point) {
  return Point.X >= Rect.Left && Point.X < Rect.Right && Point.Y >= Rect.Top && Point.Y < Rect.Bottom;
}

}  // namespace

// ---- TWinControlProxy -------------------------------------------------------------

TWinControlProxy::TWinControlProxy(TCustomDropTarget* AOwner, TWinControl* AParent)
    : TWinControl(AOwner), FDropTarget(AOwner), FRegistered(AParent) {
  SetBounds(0, 0, 0, 0);
  SetParent(AParent);
}

TWinControlProxy::~TWinControlProxy() {
  // Revoke here, while this class's DestroyWnd is still the one that runs.
  DestroyHandle();
}

void TWinControlProxy::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style &= ~WS_VISIBLE;  // never seen, but made with its parent every time
}

void TWinControlProxy::CreateWnd() {
  TWinControl::CreateWnd();
  HWND window = Parent()->Handle();
  const HRESULT hr = RegisterDragDrop(window, FDropTarget->DropTargetInterface());
  if (FAILED(hr)) throw EOSError("Could not register a drop target: " + SysErrorMessage(static_cast<DWORD>(hr)));
  FRegisteredWindow = window;
}

void TWinControlProxy::DestroyWnd() {
  if (FRegisteredWindow && IsWindow(FRegisteredWindow)) RevokeDragDrop(FRegisteredWindow);
  FRegisteredWindow = nullptr;
  TWinControl::DestroyWnd();
}

// ---- TCustomDropTarget: registration -------------------------------------------

TCustomDropTarget::TCustomDropTarget(TComponent* AOwner)
    : TDragDropComponent(AOwner), FInterface(new TDropTargetInterface(this)), FScrollTimer(new TTimer(this)) {
  InitDragDrop();
  FScrollTimer->SetEnabled(false);
  FScrollTimer->OnTimer = [this](TObject* Sender) { ScrollTimerTick(Sender); };
}

TCustomDropTarget::~TCustomDropTarget() {
  Unregister(nullptr);
  FInterface->Detach();
  FDataObject.reset();
  FHelper.Reset();
}

IDropTarget* TCustomDropTarget::DropTargetInterface() const { return FInterface.Get(); }

void TCustomDropTarget::Register(TWinControl* Control) {
  if (!Control || std::find(FControls.begin(), FControls.end(), Control) != FControls.end()) return;
  if (!MultiTarget && !ComponentState().Contains(csLoading)) Unregister(nullptr);
  // Right after its nearest registered ancestor, so the pointer over a child finds the child.
  auto at = FControls.end();
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    if ((*it)->ContainsControl(Control)) {
      at = it.base();
      break;
    }
  }
  FControls.insert(at, Control);
  Control->FreeNotification(this);
  FProxies.push_back(new TWinControlProxy(this, Control));
}

void TCustomDropTarget::Unregister(TWinControl* Control) {
  if (!Control) {
    while (!FControls.empty()) Unregister(FControls.back());
    return;
  }
  auto it = std::find(FControls.begin(), FControls.end(), Control);
  if (it == FControls.end()) return;
  if (FTarget == Control) FTarget = nullptr;
  FControls.erase(it);
  Control->RemoveFreeNotification(this);
  for (TWinControlProxy* proxy : FProxies) {
    if (proxy->Registered() != Control) continue;
    std::erase(FProxies, proxy);
    proxy->SetParent(nullptr);
    proxy->Free();
    break;
  }
}

TWinControl* TCustomDropTarget::Target() const {
  if (FTarget) return FTarget;
  return FControls.empty() ? nullptr : FControls.front();
}

void TCustomDropTarget::SetTarget(TWinControl* Value) {
  if (Value == Target() && Value) return;
  if (MultiTarget && !ComponentState().Contains(csLoading)) Unregister(nullptr);
  if (Value) {
    Register(Value);
  } else {
    Unregister(nullptr);
  }
}

void TCustomDropTarget::Notification(TComponent* AComponent, TOperation Operation) {
  TDragDropComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // Compared as components: a control being freed is no longer a TWinControl here.
  std::erase_if(FProxies, [&](TWinControlProxy* p) { return static_cast<TComponent*>(p) == AComponent; });
  for (TWinControl* control : FControls) {
    if (static_cast<TComponent*>(control) == AComponent) {
      Unregister(control);
      break;
    }
  }
}

void TCustomDropTarget::SetShowImage(bool Value) {
  FShowImage = Value;
  if (FHelper) FHelper->Show(Value);
}

// ---- TCustomDropTarget: the drag ------------------------------------------------

TWinControl* TCustomDropTarget::FindTarget(TPoint ScreenPoint) {
  for (HWND window = WindowFromPoint(POINT{ScreenPoint.X, ScreenPoint.Y}); window; window = GetParent(window)) {
    TWinControl* control = FindControl(window);
    if (control && std::find(FControls.begin(), FControls.end(), control) != FControls.end()) return control;
  }
  return nullptr;
}

void TCustomDropTarget::FindScrollZone() {
  FScrollFlags = 0;
  const LONG_PTR style = GetWindowLongPtrW(FTarget->Handle(), GWL_STYLE);
  if (style & WS_VSCROLL) FScrollFlags |= 2;
  if (style & WS_HSCROLL) FScrollFlags |= 1;
  if (!FScrollFlags) return;
  FInnerScrollRect = FTarget->ClientRect();
  if (FScrollFlags & 2) {
    const int margin = GetSystemMetrics(SM_CYHSCROLL);
    FInnerScrollRect.Top += margin;
    FInnerScrollRect.Bottom -= margin;
  }
  if (FScrollFlags & 1) {
    const int margin = GetSystemMetrics(SM_CXHSCROLL);
    FInnerScrollRect.Left += margin;
    FInnerScrollRect.Right -= margin;
  }
}

std::uint32_t TCustomDropTarget::GetValidDropEffect(TShiftState Shift, TPoint Point, std::uint32_t Effect) {
  const bool scrolling = AutoScroll && !FDragAutoOff && FScrollFlags != 0;
  std::uint32_t result = ValidDropEffect(Shift, Effect, DragTypes, scrolling, Contains(FInnerScrollRect, Point));
  if (OnGetDropEffect) OnGetDropEffect(this, Shift, Point, result);
  return result;
}

HRESULT TCustomDropTarget::DragEnter(IDataObject* DataObject, DWORD KeyState, POINTL Point, DWORD* Effect) {
  if (!Effect) return E_INVALIDARG;
  ClearData();
  StopScrolling();
  FDataObject.reset(DataObject ? new TOleDataObject(DataObject) : nullptr);
  FScrollFlags = 0;
  const TPoint screen{Point.x, Point.y};
  FTarget = FindTarget(screen);
  // Without a control under the pointer this drag goes without image and scrolling.
  FDragAutoOff = FTarget == nullptr;
  if (FTarget) FLastPoint = FTarget->ScreenToClient(screen);
  if (FDataObject && HasValidFormats(*FDataObject)) {
    if (AutoScroll && FTarget) FindScrollZone();
    if (GetDataOnEnter && !GetData(*Effect)) {
      ReleaseDataObject();
      *Effect = DROPEFFECT_NONE;
      return DV_E_CLIPFORMAT;
    }
    const TShiftState shift = ShiftStateFromKeys(KeyState);
    std::uint32_t effect = GetValidDropEffect(shift, FLastPoint, *Effect);
    DoEnter(shift, FLastPoint, effect);
    *Effect = effect;
    if (effect == DROPEFFECT_NONE) ReleaseDataObject();
  } else {
    ReleaseDataObject();
    *Effect = DROPEFFECT_NONE;
  }
  if (FShowImage && !FDragAutoOff && DataObject) {
    IDropTargetHelper* helper = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                   reinterpret_cast<void**>(&helper))) &&
        helper) {
      FHelper = TComPtr<IDropTargetHelper>(helper);
      POINT point{Point.x, Point.y};
      if (FAILED(FHelper->DragEnter(FTarget->Handle(), DataObject, &point, *Effect))) ReleaseHelper();
    }
  }
  return S_OK;
}

HRESULT TCustomDropTarget::DragOver(DWORD KeyState, POINTL Point, DWORD* Effect) {
  if (!Effect) return E_INVALIDARG;
  if (!FTarget) {
    *Effect = DROPEFFECT_NONE;
    return E_UNEXPECTED;
  }
  const TPoint client = FTarget->ScreenToClient(TPoint{Point.x, Point.y});
  HRESULT result = S_OK;
  if (FDataObject) {
    const TShiftState shift = ShiftStateFromKeys(KeyState);
    std::uint32_t effect = GetValidDropEffect(shift, client, *Effect);
    DoDragOver(shift, client, effect);
    *Effect = effect;
    if ((effect & DROPEFFECT_SCROLL) && !FScrollTimer->Enabled()) {
      FScrollTimer->SetInterval(kScrollStartDelay);
      FScrollTimer->SetEnabled(true);
    }
  } else {
    *Effect = DROPEFFECT_NONE;
    result = DV_E_CLIPFORMAT;
  }
  if (FHelper) {
    POINT point{Point.x, Point.y};
    if (FAILED(FHelper->DragOver(&point, *Effect))) throw Exception("The drag image helper failed");
  }
  FLastPoint = client;
  return result;
}

HRESULT TCustomDropTarget::DragLeave() {
  try {
    ClearData();
    StopScrolling();
    ReleaseDataObject();
    if (FHelper) FHelper->DragLeave();
  } catch (...) {
    FTarget = nullptr;
    ReleaseHelper();
    throw;
  }
  FTarget = nullptr;
  ReleaseHelper();
  DoLeave();
  return S_OK;
}

HRESULT TCustomDropTarget::Drop(IDataObject* DataObject, DWORD KeyState, POINTL Point, DWORD* Effect) {
  if (!Effect) return E_INVALIDARG;
  StopScrolling();
  // Whatever happens below, the drag lets go of the data, the helper and the control.
  struct TEndDrop {
    TCustomDropTarget* Self;
    ~TEndDrop() {
      try {
        Self->ClearData();
      } catch (...) {
      }
      Self->ReleaseDataObject();
      Self->ReleaseHelper();
      Self->FTarget = nullptr;
    }
  } endDrop{this};
  if (!FDataObject && DataObject) FDataObject.reset(new TOleDataObject(DataObject));
  HRESULT result = S_OK;
  if (FDataObject) {
    const TShiftState shift = ShiftStateFromKeys(KeyState);
    const TPoint screen{Point.x, Point.y};
    const TPoint point = FTarget ? FTarget->ScreenToClient(screen) : screen;
    std::uint32_t effect = GetValidDropEffect(shift, point, *Effect) & ~DROPEFFECT_SCROLL;
    if (GetDataOnEnter || GetData(effect)) {
      DoDrop(shift, point, effect);
    } else {
      effect = DROPEFFECT_NONE;
    }
    *Effect = effect;
  } else {
    *Effect = DROPEFFECT_NONE;
    result = E_UNEXPECTED;
  }
  if (FHelper) {
    POINT point{Point.x, Point.y};
    FHelper->Drop(DataObject, &point, *Effect);
  }
  // A drop ends the drag as a leave does, whether it was taken or refused:
  // what the handlers showed for the drag goes.
  DoLeave();
  return result;
}

void TCustomDropTarget::AbortDrag() {
  StopScrolling();
  ReleaseDataObject();
  ReleaseHelper();
  FTarget = nullptr;
  ClearData();
  DoLeave();
}

void TCustomDropTarget::DoEnter(TShiftState Shift, TPoint Point, std::uint32_t& Effect) {
  if (OnEnter) OnEnter(this, Shift, Point, Effect);
}

void TCustomDropTarget::DoDragOver(TShiftState Shift, TPoint Point, std::uint32_t& Effect) {
  if (OnDragOver) OnDragOver(this, Shift, Point, Effect);
}

void TCustomDropTarget::DoDrop(TShiftState Shift, TPoint Point, std::uint32_t& Effect) {
  if (OnDrop) OnDrop(this, Shift, Point, Effect);
  Effect &= ~DROPEFFECT_SCROLL;
  if (Effect == DROPEFFECT_NONE || !FDataObject) return;
  if (OptimizedMove && Effect == DROPEFFECT_MOVE) Effect = DROPEFFECT_COPY;
  SetPerformedDropEffect(*FDataObject, Effect);
}

void TCustomDropTarget::DoLeave() {
  if (OnLeave) OnLeave(this);
}

void TCustomDropTarget::DoPasteDrop(std::uint32_t& Effect) {
  DoDrop(TShiftState(), TPoint{0, 0}, Effect);
  if (Effect != DROPEFFECT_NONE && FDataObject) SetPasteSucceeded(*FDataObject, Effect);
}

void TCustomDropTarget::DoScroll(TPoint Point, TScrolDirections& Scroll, unsigned& Interval) {
  if (OnScroll) OnScroll(this, Point, Scroll, Interval);
}

bool TCustomDropTarget::GetData(std::uint32_t) {
  ClearData();
  return DoGetData();
}

std::uint32_t TCustomDropTarget::PasteFromClipboard() {
  TComPtr<IDataObject> clipboard;
  if (FAILED(OleGetClipboard(clipboard.Put())) || !clipboard) throw Exception("Could not read the clipboard");
  FDataObject.reset(new TOleDataObject(clipboard.Get()));
  std::uint32_t effect = GetPreferredDropEffect(*FDataObject);
  if (!GetData(effect)) effect = DROPEFFECT_NONE;
  DoPasteDrop(effect);
  ReleaseDataObject();
  return effect;
}

void TCustomDropTarget::ScrollTimerTick(TObject*) {
  StopScrolling();
  unsigned interval = kScrollRepeatInterval;
  TScrolDirections directions;
  if (!Contains(FInnerScrollRect, FLastPoint)) {
    if (FLastPoint.Y < FInnerScrollRect.Top) {
      directions.Include(sdUp);
    } else if (FLastPoint.Y >= FInnerScrollRect.Bottom) {
      directions.Include(sdDown);
    }
    if (FLastPoint.X < FInnerScrollRect.Left) {
      directions.Include(sdLeft);
    } else if (FLastPoint.X >= FInnerScrollRect.Right) {
      directions.Include(sdRight);
    }
  }
  DoScroll(FLastPoint, directions, interval);
  if (directions.empty() || !FTarget) return;
  HWND window = FTarget->Handle();
  if (directions.Contains(sdUp)) SendMessageW(window, WM_VSCROLL, SB_LINEUP, 0);
  if (directions.Contains(sdDown)) SendMessageW(window, WM_VSCROLL, SB_LINEDOWN, 0);
  if (directions.Contains(sdLeft)) SendMessageW(window, WM_HSCROLL, SB_LINELEFT, 0);
  if (directions.Contains(sdRight)) SendMessageW(window, WM_HSCROLL, SB_LINERIGHT, 0);
  FScrollTimer->SetInterval(interval);
  FScrollTimer->SetEnabled(true);
}

// ---- Multi target -----------------------------------------------------------------

TCustomDropMultiTarget::TCustomDropMultiTarget(TComponent* AOwner) : TCustomDropTarget(AOwner) {
  DragTypes = TDragTypes{dtCopy, dtLink};
}

void TCustomDropMultiTarget::DoAcceptFormat(TCustomDataFormat* DataFormat, bool& Accept) {
  if (OnAcceptFormat) OnAcceptFormat(this, DataFormat, Accept);
}

bool TCustomDropMultiTarget::HasValidFormats(TDropDataObject& Data) {
  const std::vector<TCustomDataFormat*> formats = DataFormats();
  // Whether a data format finds one of its formats in the data object: asked
  // once per data format (-1: not yet), as each question goes to the source.
  std::vector<int> present(formats.size(), -1);
  bool found = false;
  Data.EnumFormats([&](const TFormatEtc& offered) {
    for (std::size_t i = 0; i < formats.size(); ++i) {
      if (!formats[i]->AcceptFormat(offered)) continue;
      if (present[i] < 0) present[i] = formats[i]->HasValidFormats(Data) ? 1 : 0;
      if (!present[i]) continue;
      bool accept = true;
      DoAcceptFormat(formats[i], accept);
      if (accept) {
        found = true;
        return false;  // the first accepted format decides: the rest is not asked for
      }
    }
    return true;
  });
  return found;
}

bool TCustomDropMultiTarget::DoGetData() {
  if (!DataObject()) return false;
  bool result = false;
  const std::vector<TCustomDataFormat*> formats = DataFormats();
  for (TCustomDataFormat* format : formats) {
    if (!format->HasValidFormats(*DataObject())) continue;
    bool accept = true;
    DoAcceptFormat(format, accept);
    if (accept && format->GetData(*DataObject())) result = true;
  }
  return result;
}

void TCustomDropMultiTarget::ClearData() {
  const std::vector<TCustomDataFormat*> formats = DataFormats();
  for (TCustomDataFormat* format : formats) format->Clear();
}

TDropTextTarget::TDropTextTarget(TComponent* AOwner)
    : TCustomDropMultiTarget(AOwner), FTextFormat(new TTextDataFormat(this)) {}

const String& TDropTextTarget::Text() const { return FTextFormat->Text(); }
