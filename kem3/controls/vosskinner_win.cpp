// The form skinner, its container and the textured controls.
#include "kem3/controls/vosskinner_win.h"

#include <algorithm>

#include "kem3/controls/kemmenu_win.h"
#include "kem3/framework/kemres.h"
#include "kem3/graphics/vosskingeom.h"
#include "kem3/pictures/kemimage.h"
#include "platform/geometry_win.h"
#include "platform/screen_win.h"
#include "platform/sysutils.h"

namespace {

// A slot's place in a window of W x H.
TRect PlaceSlot(const TVosSlot& S, int W, int H) {
  return VosSlotRect({S.Left, S.Top, S.Right, S.Bottom, S.CenterX, S.CenterY, S.Width, S.Height}, W, H);
}

}  // namespace

TPoint VosFormOffset(const TControl* Control) {
  TPoint offset;
  const TCustomForm* form = GetParentForm(Control);
  if (!form) return offset;
  for (const TControl* c = Control; c && c != form; c = c->Parent()) offset = offset + Point(c->Left(), c->Top());
  return offset;
}

TVosSkin* VosSelectSkinFor(const TControl* Control) {
  for (const TControl* c = Control; c; c = c->Parent()) {
    if (const auto* skinner = dynamic_cast<const TVosFormSkinner*>(c)) {
      skinner->SelectInSkin();
      return skinner->Skin();
    }
  }
  return nullptr;
}

HRGN VosRegionHandle(const TVosRegion& Region) {
  const std::vector<TRect> rects = Region.Rects();
  if (rects.empty()) return CreateRectRgn(0, 0, 0, 0);
  const size_t bytes = sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT);
  std::vector<std::uint8_t> data(bytes);
  auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(rects.size());
  header->nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  header->rcBound = ToRECT(Region.BoundingBox());
  auto* out = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
  for (size_t i = 0; i < rects.size(); ++i) out[i] = ToRECT(rects[i]);
  return ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), reinterpret_cast<const RGNDATA*>(data.data()));
}

// ---- TVosFormSkinnerBase, TVosContainer ---------------------------------------------------

void TVosFormSkinnerBase::SetSkin(TVosSkin* Value) {
  FSkin = Value;
  SkinChanged();
}

TVosContainer::TVosContainer(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + csAcceptsControls + csOpaque);
}

void TVosContainer::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (ControlCount() > 0) Controls(0)->SetBounds(0, 0, AWidth, AHeight);
}

void TVosContainer::Paint() {
  if (TVosSkin* skin = PaintBuffer() ? VosSelectSkinFor(this) : nullptr) {
    const TPoint at = VosFormOffset(this);
    skin->DrawTexture(skin->Window().FormTexture, *PaintBuffer(), -at.Y, -at.X, ClientRect());
    return;
  }
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

// ---- TVosFormSkinner ------------------------------------------------------------------------

TVosFormSkinner::TVosFormSkinner(TComponent* AOwner)
    : TVosFormSkinnerBase(AOwner), FForm(dynamic_cast<TCustomForm*>(AOwner)) {
  if (!FForm) throw EInvalidOperation("TVosFormSkinner can only be placed directly on a TForm component");
  FForm->SetBorderStyle(bsNone);
  SetControlStyle(ControlStyle() + csAcceptsControls + csOpaque);
  SetBounds(0, 0, FForm->ClientWidth(), FForm->ClientHeight());
}

TVosFormSkinner::~TVosFormSkinner() {
  for (TVosTexturedControl* c : FTextured) c->FSkinner = nullptr;
}

void TVosFormSkinner::CreateParams(TCreateParams& Params) {
  TVosFormSkinnerBase::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TVosFormSkinner::SelectInSkin() const {
  if (TVosSkin* skin = Skin()) {
    skin->SelectWindow(FWindowIndex);
    skin->SelectCacheSlot(CacheSlot());
  }
}

void TVosFormSkinner::SkinChanged() {
  // The slots come anew from the skin: every control must be attached again.
  for (const TSlotControl& e : FControls)
    if (e.Control) e.Control->RemoveFreeNotification(this);
  FSlots.clear();
  FControls.clear();
  FLayoutWidth = FLayoutHeight = -1;
  TVosSkin* skin = Skin();
  if (!skin) return;
  const auto& groups = skin->Containers();
  if (FContainerGroup < 0 || FContainerGroup >= static_cast<int>(groups.size())) return;
  FSlots = groups[static_cast<size_t>(FContainerGroup)];
  FControls.resize(FSlots.size());
  for (TVosTexturedControl* c : FTextured) c->SkinNotify();
}

void TVosFormSkinner::AttachControl(const String& SlotId, TControl* Control, bool Fill) {
  if (!Control) return;
  RemoveControl(Control);
  const int slot = IndexOfSlot(FSlots, SlotId);
  if (slot < 0) {
    // A slot the skin does not have: the control is not shown.
    Control->SetParent(nullptr);
    return;
  }
  FControls[static_cast<size_t>(slot)] = {Control, Fill};
  Control->FreeNotification(this);
  Control->SetAlign(alNone);
  Control->SetParent(this);
  if (FLayoutWidth >= 0) Control->SetBoundsRect(SlotRect(SlotId));
}

void TVosFormSkinner::RemoveControl(TControl* Control) {
  for (TSlotControl& e : FControls)
    if (e.Control == Control) e.Control = nullptr;
}

void TVosFormSkinner::Notification(TComponent* AComponent, TOperation Operation) {
  TVosFormSkinnerBase::Notification(AComponent, Operation);
  if (Operation == opRemove) RemoveControl(dynamic_cast<TControl*>(AComponent));
}

TVosContainer* TVosFormSkinner::CreateContainer(const String& SlotId) {
  auto* container = new TVosContainer(this);
  container->SetParent(this);
  AttachControl(SlotId, container, true);
  return container;
}

void TVosFormSkinner::FitFormToSlot(const String& SlotId, int Width, int Height) {
  const int slot = IndexOfSlot(FSlots, SlotId);
  if (slot < 0) return;
  const TVosSlot& s = FSlots[static_cast<size_t>(slot)];
  if (s.Left < 0 || s.Top < 0 || s.Right < 0 || s.Bottom < 0) return;
  const int w = s.Left + Width + s.Right, h = s.Top + Height + s.Bottom;
  FForm->SetClientSize(w, h);
  SetBounds(0, 0, w, h);
}

TRect TVosFormSkinner::SlotRect(const String& SlotId) const {
  const int slot = IndexOfSlot(FSlots, SlotId);
  return slot < 0 ? TRect() : PlaceSlot(FSlots[static_cast<size_t>(slot)], Width(), Height());
}

void TVosFormSkinner::UpdateLayout(int W, int H) {
  TVosSkin* skin = Skin();
  if (!skin || FInLayout) return;
  FInLayout = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } done{FInLayout};
  FLayoutWidth = W;
  FLayoutHeight = H;
  SelectInSkin();
  const int frame = skin->Window().FormFrame;
  // The system owns the region from here on.
  SetWindowRgn(FForm->Handle(), VosRegionHandle(skin->GetWindowRegion(frame, W, H)), TRUE);
  std::vector<TWinControl*> locked;
  for (size_t i = 0; i < FSlots.size(); ++i) {
    TControl* control = FControls[i].Control;
    if (!control) continue;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && windowed->HandleAllocated()) {
      SendMessageW(windowed->Handle(), WM_SETREDRAW, FALSE, 0);
      locked.push_back(windowed);
    }
    control->SetBoundsRect(PlaceSlot(FSlots[i], W, H));
  }
  SelectInSkin();
  skin->ResizeTextures(W, H);
  for (int i = 0; i < 8; ++i) FGrips[static_cast<size_t>(i)] = skin->GetGripRegion(frame, i + 1, W, H);
  for (TVosTexturedControl* c : FTextured) c->UpdateTextureOffset();
  for (TWinControl* c : locked) {
    SendMessageW(c->Handle(), WM_SETREDRAW, TRUE, 0);
    c->Invalidate();
  }
  Invalidate();
}

void TVosFormSkinner::BoundsChanged(const TRect& OldBounds) {
  TVosFormSkinnerBase::BoundsChanged(OldBounds);
  if ((Width() != FLayoutWidth || Height() != FLayoutHeight) && FLayoutWidth >= 0) UpdateLayout(Width(), Height());
}

void TVosFormSkinner::Paint() {
  TVosSkin* skin = Skin();
  TBitmap* target = PaintBuffer();
  if (!skin || !target) {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
    return;
  }
  SelectInSkin();
  std::vector<TRect> children;
  for (const TSlotControl& e : FControls)
    if (e.Control && e.Control->Visible() && e.Control->Parent() == this) children.push_back(e.Control->BoundsRect());
  skin->DrawWindowFrame(*target, ClientRect(), false, children, skin->Window().FormFrame);
}

int TVosFormSkinner::GripAt(TPoint P) const { return FResizable ? VosGripAt(FGrips, P) : 0; }

TSize TVosFormSkinner::MinimumSize() const {
  TSize size{1, 1};
  const TVosSkin* skin = Skin();
  const TVosFrame* frame = skin ? skin->FormFrame(skin->Window().FormFrame) : nullptr;
  if (!frame) return size;
  const auto& f = *frame;
  size.cx = std::max({size.cx, f[0].Width + f[1].Width, f[2].Width + f[3].Width});
  size.cy = std::max({size.cy, f[0].Height + f[2].Height, f[1].Height + f[3].Height});
  return size;
}

void TVosFormSkinner::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TVosFormSkinnerBase::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const int grip = GripAt(Point(X, Y));
  if (grip == 0) {
    DragMouseDown(this, Button, Shift, X, Y);
    return;
  }
  FGrip = grip;
  FSizing = true;
  SetMouseCapture(true);
  POINT p;
  GetCursorPos(&p);
  FPressPoint = FromPOINT(p);
  FPressBounds = FForm->BoundsRect();
}

void TVosFormSkinner::SizeTo(const TRect& Bounds) {
  if (Bounds.Width() == FForm->Width() && Bounds.Height() == FForm->Height()) {
    if (Bounds.TopLeft() != FForm->BoundsRect().TopLeft()) FForm->SetBoundsRect(Bounds);
    return;
  }
  FLayoutWidth = FLayoutHeight = -1;
  UpdateLayout(Bounds.Width(), Bounds.Height());
  SetBounds(0, 0, Bounds.Width(), Bounds.Height());
  FForm->SetBoundsRect(Bounds);
  // The whole form, its controls included, is drawn anew for the new size:
  // the area it grew by holds nothing yet, and every control may have moved.
  RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TVosFormSkinner::MouseMove(TShiftState Shift, int X, int Y) {
  TVosFormSkinnerBase::MouseMove(Shift, X, Y);
  if (FDragging) {
    DragMouseMove(this, Shift, X, Y);
    return;
  }
  if (FSizing) {
    POINT p;
    GetCursorPos(&p);
    TVosSizeLimits limits;
    if (const TVosSkin* skin = Skin()) {
      SelectInSkin();
      const TVosWindowRecord& w = skin->Window();
      limits = {w.MinWidth, w.MinHeight, w.MaxWidth, w.MaxHeight};
    }
    SizeTo(VosSizingBounds(FPressBounds, FromPOINT(p) - FPressPoint, FGrip, limits, MinimumSize()));
    return;
  }
  static constexpr TCursor kCursors[5] = {crDefault, crSizeNWSE, crSizeNESW, crSizeNS, crSizeWE};
  SetCursor(kCursors[VosGripCursorKind(GripAt(Point(X, Y)))]);
}

void TVosFormSkinner::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FDragging) DragMouseUp(this, Button, Shift, X, Y);
  if (FSizing && Button == mbLeft) {
    FSizing = false;
    FGrip = 0;
    SetMouseCapture(false);
  }
  TVosFormSkinnerBase::MouseUp(Button, Shift, X, Y);
}

void TVosFormSkinner::DragMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int, int) {
  if (!FMovable || FDragging || Button != mbLeft) return;
  auto* windowed = dynamic_cast<TWinControl*>(Sender);
  FCaptureControl = windowed ? static_cast<TControl*>(windowed) : this;
  FCaptureControl->SetMouseCapture(true);
  POINT p;
  GetCursorPos(&p);
  FPressPoint = FromPOINT(p);
  FPressBounds = FForm->BoundsRect();
  FDragging = true;
  if (OnDragStart) OnDragStart(this);
}

void TVosFormSkinner::DragMouseMove(TObject*, TShiftState, int, int) {
  if (!FDragging) return;
  POINT p;
  GetCursorPos(&p);
  TRect bounds = FPressBounds;
  const TPoint delta = FromPOINT(p) - FPressPoint;
  OffsetRect(bounds, delta.X, delta.Y);
  if (FScreenSnap && Screen) {
    TMonitor* monitor = Screen->MonitorFromWindow(FForm->Handle());
    const TRect work = monitor ? monitor->WorkareaRect() : Screen->WorkAreaRect();
    bounds = VosSnapToArea(bounds, work, FSnapBuffer);
  }
  if (bounds.TopLeft() != FForm->BoundsRect().TopLeft())
    FForm->SetBounds(bounds.Left, bounds.Top, FForm->Width(), FForm->Height());
  if (OnDragMove) OnDragMove(this);
}

void TVosFormSkinner::DragMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (!FDragging || Button != mbLeft) return;
  FDragging = false;
  if (FCaptureControl) FCaptureControl->SetMouseCapture(false);
  FCaptureControl = nullptr;
  if (OnDragEnd) OnDragEnd(this);
}

void TVosFormSkinner::AttachFormDragHandlers(TVosFormSkinner* Skinner, TControl* Control) {
  if (!Skinner || !Control) return;
  Control->OnMouseDown = [Skinner](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    Skinner->DragMouseDown(Sender, Button, Shift, X, Y);
  };
  Control->OnMouseMove = [Skinner](TObject* Sender, TShiftState Shift, int X, int Y) {
    Skinner->DragMouseMove(Sender, Shift, X, Y);
  };
  Control->OnMouseUp = [Skinner](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    Skinner->DragMouseUp(Sender, Button, Shift, X, Y);
  };
}

void TVosFormSkinner::RegisterTextured(TVosTexturedControl* Control) {
  if (std::find(FTextured.begin(), FTextured.end(), Control) == FTextured.end()) FTextured.push_back(Control);
}

void TVosFormSkinner::UnregisterTextured(TVosTexturedControl* Control) {
  FTextured.erase(std::remove(FTextured.begin(), FTextured.end(), Control), FTextured.end());
}

// ---- Textured controls ------------------------------------------------------------------------

TVosTexturedControl::TVosTexturedControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + csOpaque);
}

TVosTexturedControl::~TVosTexturedControl() {
  if (FSkinner) FSkinner->UnregisterTextured(this);
}

void TVosTexturedControl::SetParent(TWinControl* AParent) {
  if (FSkinner) FSkinner->UnregisterTextured(this);
  FSkinner = nullptr;
  TCustomControl::SetParent(AParent);
  for (TWinControl* p = AParent; p; p = p->Parent()) {
    if (auto* skinner = dynamic_cast<TVosFormSkinner*>(p)) {
      FSkinner = skinner;
      skinner->RegisterTextured(this);
      SkinNotify();
      break;
    }
  }
  UpdateTextureOffset();
}

void TVosTexturedControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool moved = ALeft != Left() || ATop != Top();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (moved) UpdateTextureOffset();
}

void TVosTexturedControl::UpdateTextureOffset() {
  FOffset = VosFormOffset(this);
  Invalidate();
}

bool TVosTexturedControl::PrepareSkin() const {
  if (!FSkinner || !FSkinner->Skin() || !PaintBuffer()) return false;
  FSkinner->SelectInSkin();
  return true;
}

void TVosTexturedControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbRight) return;
  POINT p{};
  GetCursorPos(&p);
  PopupMenuAt(Point(p.x, p.y));
}

void TVosTexturedControl::PopupMenuAt(TPoint ScreenPos) {
  if (!FPopupMenu || FPopupMenu->Visible()) return;
  if (OnPopup) OnPopup(this);
  FPopupMenu->PopupAt(ScreenPos);
}

TVosFormIcon::TVosFormIcon(TComponent* AOwner) : TVosTexturedControl(AOwner) { SetBounds(0, 0, 16, 16); }

void TVosFormIcon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TVosTexturedControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) PopupMenuAt(ClientToScreen(Point(0, Height() + 2)));
}

namespace {

// The program's own icon at a size, owned for the paint.
struct TIconHandle {
  HICON Handle = nullptr;
  explicit TIconHandle(int Size) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    for (const wchar_t* name : {L"APPLICON", L"MAINICON"}) {
      Handle = static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, Size, Size, LR_DEFAULTCOLOR));
      if (Handle) return;
    }
  }
  ~TIconHandle() {
    if (Handle) DestroyIcon(Handle);
  }
  TIconHandle(const TIconHandle&) = delete;
  TIconHandle& operator=(const TIconHandle&) = delete;
};

}  // namespace

void TVosFormIcon::Paint() {
  if (PrepareSkin()) {
    Skin()->DrawTexture(Skin()->Window().IconTexture, *PaintBuffer(), -Offset().Y, -Offset().X, ClientRect());
  } else {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
  }
  const int size = std::min(Width(), Height());
  if (size <= 0) return;
  TIconHandle icon(size);
  if (icon.Handle) DrawIconEx(Canvas()->Handle(), 0, 0, icon.Handle, size, size, 0, nullptr, DI_NORMAL);
}

TVosFormCaption::TVosFormCaption(TComponent* AOwner) : TVosTexturedControl(AOwner) { SetBounds(0, 0, 120, 16); }

void TVosFormCaption::TextChanged() {
  TVosTexturedControl::TextChanged();
  Invalidate();
}

void TVosFormCaption::Paint() {
  if (!PrepareSkin()) {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
    Canvas()->Brush()->SetStyle(bsClear);
    TRect r = ClientRect();
    Canvas()->DrawText(Caption(), r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    Canvas()->Brush()->SetStyle(bsSolid);
    return;
  }
  Skin()->DrawCaption(*PaintBuffer(), ClientRect(), Caption(), -Offset().Y, -Offset().X);
}

bool TVosImage::LoadBitmapFromResourceFile(const String& ResourceFile, const String& EntryName, TBitmap& Bitmap) {
  TKemResources package(ResourceFile, true);
  package.ReadDirectory();
  return package.GetImage(EntryName, Bitmap);
}

TVosImage::TVosImage(TComponent* AOwner) : TVosTexturedControl(AOwner), FImage(std::make_unique<TBitmap>()) {}

void TVosImage::SetImagePosition(TPoint Value) {
  FImagePosition = Value;
  Invalidate();
}

void TVosImage::Paint() {
  if (PrepareSkin()) {
    Skin()->DrawTexture(Skin()->Window().FormTexture, *PaintBuffer(), -Offset().Y, -Offset().X, ClientRect());
  } else {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
  }
  if (!FImage->Empty() && PaintBuffer()) {
    if (FImage->PixelFormat() == pf32bit) {
      AlphaBlendBitmap(*PaintBuffer(), FImagePosition.X, FImagePosition.Y, *FImage);
    } else {
      Canvas()->Draw(FImagePosition.X, FImagePosition.Y, *FImage);
    }
  }
}
