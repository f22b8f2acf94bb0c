// The skinned popup menu's window: showing over a copy of the screen, the hook
// areas of entries and ancestors, painting with and without a skin, the hook's
// mouse events (or the menu's own mouse messages without the hook) and the keys.
#include "kem3/controls/kemmenu_win.h"

#include <windowsx.h>

#include <algorithm>

#include "kem3/framework/kemhi_win.h"
#include "kem3/graphics/vosskin.h"
#include "kem3/graphics/vosskinpixels.h"
#include "kem3/pictures/kemimage.h"
#include "kem3/unicode/ucmenus_win.h"
#include "platform/application_win.h"
#include "platform/canvas_win.h"
#include "platform/dc_win.h"
#include "platform/keys.h"
#include "platform/unicode_convert.h"

namespace {

// Posted to the top menu once the menus have hidden: the chosen action runs
// when the hook handler that chose it has returned.
constexpr UINT kRunChosenAction = WM_APP + 0x132;
// Looks, once the activation has settled, whether a window outside the menus took it.
constexpr UINT kCheckActivation = WM_APP + 0x133;

TKemMenu* GActivePopup = nullptr;

// How far the frame of the menu's own background reaches around a
// highlighted item's picture.
constexpr int kIconFrame = 2;

TRect ClientBounds(const TControl& C) { return Bounds(0, 0, C.Width(), C.Height()); }

// The monitor that holds the point, as a rectangle.
TRect MonitorRectAt(TPoint P) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  HMONITOR m = MonitorFromPoint(POINT{P.X, P.Y}, MONITOR_DEFAULTTONEAREST);
  if (!m || !GetMonitorInfoW(m, &info)) return Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return Rect(info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom);
}

void SetHookRect(HWND Window, int Area, int Index, int Count, const TRect& R) {
  mhSetArea(Window, Area, Index, Count, R.Left, R.Top, R.Right, R.Bottom);
}

void Fill(TCanvas& C, const TRect& R, TColor Color) {
  C.Brush()->SetStyle(bsSolid);
  C.Brush()->SetColor(Color);
  C.FillRect(R);
}

void Line(TCanvas& C, int X1, int Y1, int X2, int Y2, TColor Color) {
  C.Pen()->SetColor(Color);
  C.MoveTo(X1, Y1);
  C.LineTo(X2, Y2);
}

}  // namespace

// ---- Entries ---------------------------------------------------------------------------

WideString TKemMenuEntry::Caption() const {
  if (FAction && !FAction->Caption().empty()) return FAction->Caption();
  return FCaption;
}

bool TKemMenuEntry::Checked() const {
  const auto* action = dynamic_cast<const TCustomAction*>(FAction);
  return action && action->Checked();
}

WideString TKemMenuEntry::ShortCutText() const {
  const auto* action = dynamic_cast<const TCustomAction*>(FAction);
  if (!action || action->ShortCut() == scNone) return {};
  return ShortCutToWideText(action->ShortCut());
}

void TKemMenuEntry::SetIcon(std::unique_ptr<TBitmap> Value) {
  FIcon = std::move(Value);
  FMenu.Invalidate();
}

void TKemMenuItem::Highlight() {
  TKemMenu& menu = Menu();
  FHighlighted = true;
  for (auto& entry : menu.FEntries) {
    auto* item = dynamic_cast<TKemMenuItem*>(entry.get());
    if (!item || item == this || !item->FSubmenu || !item->FSubmenu->Visible()) continue;
    item->FSubmenu->Hide();
    item->FHighlighted = false;
  }
  menu.Invalidate();
  if (!Enabled() || !FSubmenu || FSubmenu->Visible()) return;
  FSubmenu->FParentItem = this;
  const TRect& b = BoundsRect();
  FSubmenu->SetPopupPos(menu.Left() + b.Right - 8, menu.Top() + b.Top);
  FSubmenu->BeforeShow();
  FSubmenu->Show();
}

void TKemMenuItem::Unhighlight() {
  FHighlighted = false;
  if (FSubmenu && FSubmenu->Visible()) FSubmenu->Hide();
  Menu().Invalidate();
}

void TKemMenuItem::Execute() {
  if (!FHighlighted || !Enabled() || FSubmenu) return;
  TKemMenu* top = &Menu();
  while (top->FParentItem) top = &top->FParentItem->Menu();
  TBasicAction* action = Action();
  Menu().HideChain();
  if (action) top->RunLater(action);
}

// ---- The menu --------------------------------------------------------------------------

TKemMenu* CreateSkinnedMenu(TComponent* Owner, const String& Name, TVosSkin* Skin) {
  auto* menu = NewForm<TKemMenu>(Owner);
  menu->SetMenuName(Name);
  menu->SetSkin(Skin);
  return menu;
}

void ShowPopupMenu(TKemMenu* Menu) {
  if (GActivePopup && GActivePopup != Menu) GActivePopup->Hide();
  GActivePopup = Menu;
  if (!Menu) return;
  if (Menu->Visible()) Menu->Hide();
  GActivePopup = Menu;
  Menu->BeforeShow();
  Menu->Show();
}

TKemMenu* ActivePopupMenu() { return GActivePopup; }

TKemMenu::TKemMenu(TComponent* AOwner) : TCustomForm(AOwner) {
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
  SetBounds(10, 10, 40, 20);
  FScreenCopy = std::make_unique<TBitmap>();
  FComposed = std::make_unique<TBitmap>();
  FScreenCopy->SetPixelFormat(pf32bit);
  FComposed->SetPixelFormat(pf32bit);
}

TKemMenu::~TKemMenu() {
  if (GActivePopup == this) GActivePopup = nullptr;
  if (FHookInstalled && HandleAllocated()) mhRemoveHook(Handle());
}

void TKemMenu::SetSkin(TVosSkin* Value) {
  FSkin = Value;
  FCacheSlot = FSkin ? FSkin->AddCacheSlot() : -1;
}

void TKemMenu::CreateParams(TCreateParams& Params) {
  TCustomForm::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WinClassName = u"TKemMenu";
}

template <class T>
T* TKemMenu::Add(std::unique_ptr<T> Entry, const WideString& Caption, TBasicAction* Action) {
  T* e = Entry.get();
  e->FCaption = Caption;
  e->FAction = Action;
  if (Action) Action->FreeNotification(this);
  FEntries.push_back(std::move(Entry));
  e->FArea = GetEntryCount();
  return e;
}

TKemMenuItem* TKemMenu::AddAction(TBasicAction* Action, const WideString& Caption) {
  return AddEntry(Caption, Action, nullptr);
}

TKemMenuItem* TKemMenu::AddActionWithSubmenu(TBasicAction* Action, TKemMenu* Submenu, const WideString& Caption) {
  return AddEntry(Caption, Action, Submenu);
}

TKemMenuItem* TKemMenu::AddEntry(const WideString& Caption, TBasicAction* Action, TKemMenu* Submenu) {
  TKemMenuItem* item = Add(std::make_unique<TKemMenuItem>(*this), Caption, Action);
  item->FSubmenu = Submenu;
  if (Submenu) Submenu->FreeNotification(this);
  return item;
}

TKemMenuEntry* TKemMenu::AddTextEntry(const WideString& Caption, TBasicAction* Action) {
  return Add(std::make_unique<TKemMenuEntry>(*this, mekText), Caption, Action);
}

TKemMenuEntry* TKemMenu::AddSeparator() {
  return Add(std::make_unique<TKemMenuEntry>(*this, mekSeparator), {}, nullptr);
}

void TKemMenu::Clear() {
  if (Visible()) Hide();
  FKeyIndex = -1;
  FEntries.clear();
}

void TKemMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomForm::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPending) FPending = nullptr;
  for (auto& entry : FEntries) {
    if (entry->FAction == AComponent) entry->FAction = nullptr;
    if (auto* item = dynamic_cast<TKemMenuItem*>(entry.get()); item && item->FSubmenu == AComponent)
      item->FSubmenu = nullptr;
  }
}

void TKemMenu::SetPopupPos(int X, int Y) {
  FMetrics = Metrics();
  FRequested = Point(X - FMetrics.Outer.Left, Y - FMetrics.Outer.Top);
}

void TKemMenu::PopupAt(TPoint ScreenPos) {
  SetPopupPos(ScreenPos.X, ScreenPos.Y);
  ShowPopupMenu(this);
}

TKemMenuMetrics TKemMenu::Metrics() const { return FSkin ? SkinMenuMetrics(*FSkin, FMenuName) : PlainMenuMetrics(); }

void TKemMenu::ApplyFont() {
  if (FSkin) {
    const TVosSkinFont& f = FSkin->Menu().Font;
    Font()->SetName(f.Name);
    Font()->SetSize(f.Size);
    Font()->SetStyle(f.Style);
  } else if (Application && Application->MainForm() && Application->MainForm() != this) {
    const TFont& f = *Application->MainForm()->Font();
    Font()->SetName(f.Name());
    Font()->SetSize(f.Size());
    Font()->SetStyle(f.Style());
  }
}

void TKemMenu::Layout() {
  TCanvas& measure = *FComposed->Canvas();
  measure.SetFont(*Font());
  std::vector<TKemMenuSlot> slots(FEntries.size());
  for (size_t i = 0; i < FEntries.size(); ++i) {
    TKemMenuEntry& e = *FEntries[i];
    slots[i].Visible = e.FVisible;
    if (!e.FVisible) continue;
    TKemMenuEntryText t;
    if (e.FKind != mekSeparator) {
      const WideString caption = e.Caption();
      const WideString shortcut = e.ShortCutText();
      if (FSkin) {
        const TVosSkinFont& f = FSkin->Menu().Font;
        t.Caption = FSkin->MeasureSkinText(f, caption.empty() ? u" " : caption, vtfSingleLine, 0);
        if (!shortcut.empty()) t.ShortcutWidth = FSkin->MeasureSkinText(f, shortcut, vtfSingleLine | vtfNoPrefix, 0).cx;
      } else {
        RECT r{0, 0, 0, 0};
        const std::wstring text(caption.empty() ? L" " : reinterpret_cast<const wchar_t*>(caption.c_str()));
        DrawTextW(measure.Handle(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
        t.Caption = {r.right - r.left, r.bottom - r.top};
        if (!shortcut.empty()) t.ShortcutWidth = measure.TextWidth(shortcut);
      }
      auto* item = dynamic_cast<TKemMenuItem*>(&e);
      t.Submenu = item && item->FSubmenu;
      if (e.FIcon) t.Icon = {e.FIcon->Width(), e.FIcon->Height()};
    }
    slots[i].Size = MeasureMenuEntry(e.FKind, t, FMetrics);
  }
  const TKemMenuLayout layout = LayoutMenu(slots, FMetrics);
  for (size_t i = 0; i < FEntries.size(); ++i) FEntries[i]->FBounds = slots[i].Bounds;
  FIconColumn = layout.IconColumn;
  SetBounds(Left(), Top(), layout.Width, layout.Height);
}

void TKemMenu::BeforeShow() {
  FMetrics = Metrics();
  ApplyFont();
  FForeground = GetForegroundWindow();
  FHookInstalled = false;
  // The wrappers do nothing without kem3.dll: only a library that has the
  // functions reports the pointer, else the menu's own mouse messages do.
  if (HookFunctionBound(hfMouseInstall) && HookFunctionBound(hfSetArea)) {
    try {
      mhInstallHook(Handle());
      FHookInstalled = true;
    } catch (const EKemHookError&) {
      // A hook that fails to install leaves the menu to its own mouse messages too.
    }
  }
  Layout();
  const TRect monitor = MonitorRectAt(FRequested + Point(FMetrics.Outer.Left, FMetrics.Outer.Top));
  const int parentLeft = FParentItem ? FParentItem->Menu().Left() : 0;
  const TPoint pos = KeepMenuInside(FRequested, {Width(), Height()}, monitor, FParentItem != nullptr, parentLeft,
                                    FMetrics.Outer.Right);
  SetBounds(pos.X, pos.Y, Width(), Height());
  if (FSkin) {
    FSkin->SelectCacheSlot(FCacheSlot);
    FSkin->ResizeTextures(Width(), Height());
  }
  for (auto& e : FEntries) e->ResetHighlight();
  if (FHookInstalled) SetEntryAreas();
  // The screen beneath: the skin's shadow blends over it.
  FScreenCopy->SetSize(Width(), Height());
  {
    TScreenDC screen;
    BitBlt(FScreenCopy->Canvas()->Handle(), 0, 0, Width(), Height(), screen.Handle(), Left(), Top(), SRCCOPY);
  }
  FKeyIndex = -1;
  FPointerArea = 0;
  FShowing = true;
}

void TKemMenu::SetEntryAreas() {
  const HWND h = Handle();
  const TPoint pos{Left(), Top()};
  for (auto& e : FEntries)
    if (e->FVisible && MenuEntryHasHookArea(e->FArea)) SetHookRect(h, e->FArea, 0, 1, MenuEntryArea(pos, e->FBounds));
  SetHookRect(h, 0, 0, 1, MenuFrameArea(pos, {Width(), Height()}, FMetrics.Outer));
  SetAncestorAreas(true);
}

void TKemMenu::SetAncestorAreas(bool Add) {
  const TRect frame = MenuFrameArea({Left(), Top()}, {Width(), Height()}, FMetrics.Outer);
  int depth = 1;
  for (TKemMenuItem* item = FParentItem; item && depth <= kMenuMaxAncestorDepth;
       item = item->Menu().FParentItem, ++depth) {
    TKemMenu& owner = item->Menu();
    if (!owner.FHookInstalled || !owner.HandleAllocated() || !MenuEntryHasHookArea(item->FArea)) continue;
    if (Add) {
      SetHookRect(owner.Handle(), item->FArea, depth, depth + 1, frame);
    } else {
      // Store the rectangle below again with the count it had before.
      const RECT r = mhGetArea(owner.Handle(), item->FArea, depth - 1);
      SetHookRect(owner.Handle(), item->FArea, depth - 1, depth, Rect(r.left, r.top, r.right, r.bottom));
    }
  }
}

void TKemMenu::VisibleChanged() {
  TCustomForm::VisibleChanged();
  if (Visible()) {
    SetForegroundWindow(Handle());
    SetFocus();
    if (OnMenuShow) OnMenuShow(this);
  } else if (FShowing) {
    AfterHide();
  }
}

void TKemMenu::AfterHide() {
  FShowing = false;
  if (FHookInstalled) {
    mhSetArea(Handle(), 0, 0, 0, 0, 0, -1, -1);
    SetAncestorAreas(false);
    mhRemoveHook(Handle());
    FHookInstalled = false;
  }
  if (FParentItem) {
    if (FParentItem->Menu().Visible()) SetForegroundWindow(FParentItem->Menu().Handle());
  } else if (FForeground && FForeground != Handle() && IsWindow(FForeground)) {
    const HWND now = GetForegroundWindow();
    if (!now || now == Handle()) SetForegroundWindow(FForeground);
  }
  CloseSubmenus();
  for (auto& e : FEntries) e->ResetHighlight();
  FKeyIndex = -1;
  if (GActivePopup == this) GActivePopup = nullptr;
  if (OnMenuClose) OnMenuClose(this);
}

void TKemMenu::CloseSubmenus() {
  for (auto& e : FEntries)
    if (auto* item = dynamic_cast<TKemMenuItem*>(e.get()); item && item->FSubmenu && item->FSubmenu->Visible())
      item->FSubmenu->Hide();
}

void TKemMenu::HideChain() {
  TKemMenu* menu = this;
  while (menu) {
    TKemMenu* up = menu->FParentItem ? &menu->FParentItem->Menu() : nullptr;
    if (menu->Visible()) menu->Hide();
    menu = up;
  }
}

void TKemMenu::RunLater(TBasicAction* Action) {
  FPending = Action;
  Action->FreeNotification(this);
  PostMessageW(Handle(), kRunChosenAction, 0, 0);
}

int TKemMenu::HighlightedIndex() const {
  for (int i = GetEntryCount() - 1; i >= 0; --i) {
    const auto* item = dynamic_cast<const TKemMenuItem*>(FEntries[static_cast<size_t>(i)].get());
    if (item && item->FVisible && item->FHighlighted) return i;
  }
  return -1;
}

void TKemMenu::HookEvent(int Kind, int Area) {
  if (Area < 0) {
    if (Kind != hekLeftDown && Kind != hekRightDown && Kind != hekMiddleDown) return;
    if (IgnoreNextOutsideClick)
      IgnoreNextOutsideClick = false;
    else if (Visible())
      Hide();
    return;
  }
  if (Area < 1 || Area > GetEntryCount()) return;
  try {
    if (FKeyIndex >= 0) {
      GetEntry(FKeyIndex)->Unhighlight();
      FKeyIndex = -1;
    }
    TKemMenuEntry& e = *GetEntry(Area - 1);
    switch (Kind) {
      case hekEnter:
        e.Highlight();
        break;
      case hekLeave:
        e.Unhighlight();
        break;
      case hekLeftDown:
        e.Press();
        break;
      case hekLeftUp:
        e.Execute();
        break;
      default:
        break;
    }
  } catch (...) {
    // An entry that fails neither closes nor breaks the menu.
  }
}

void TKemMenu::PointerEvent(unsigned Msg, TPoint Pos) {
  int area = 0;
  if (Msg != WM_MOUSELEAVE)
    for (const auto& e : FEntries)
      if (e->FVisible && PtInRect(e->FBounds, Pos)) area = e->FArea;
  if (area != FPointerArea) {
    // An item whose submenu is open stays highlighted while the pointer goes over to that submenu.
    auto* left = FPointerArea > 0 && FPointerArea <= GetEntryCount()
                     ? dynamic_cast<TKemMenuItem*>(GetEntry(FPointerArea - 1))
                     : nullptr;
    const bool toSubmenu = area == 0 && left && left->FSubmenu && left->FSubmenu->Visible();
    if (FPointerArea > 0 && !toSubmenu) HookEvent(hekLeave, FPointerArea);
    FPointerArea = area;
    if (area > 0) HookEvent(hekEnter, area);
  }
  if (Msg == WM_MOUSEMOVE) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
  } else if (area > 0 && Msg == WM_LBUTTONDOWN) {
    HookEvent(hekLeftDown, area);
  } else if (area > 0 && Msg == WM_LBUTTONUP) {
    HookEvent(hekLeftUp, area);
  }
}

void TKemMenu::CheckActivation() {
  // Another menu of the chain holding the activation (a submenu that opened,
  // a parent again once its submenu closed) keeps the chain open; a window
  // hidden on its way passes it on for a moment, so only where it settled counts.
  const HWND active = GetActiveWindow();
  if (auto* menu = active ? dynamic_cast<TKemMenu*>(FindControl(active)) : nullptr; menu && menu->FShowing) return;
  TKemMenu* root = this;
  while (root->FParentItem) root = &root->FParentItem->Menu();
  if (root->Visible()) root->Hide();
}

void TKemMenu::KeyEvent(std::uint16_t Key) {
  const int highlighted = HighlightedIndex();
  if (highlighted < 0 && FParentItem) {
    FParentItem->Menu().KeyEvent(Key);
    return;
  }
  std::vector<bool> selectable(FEntries.size());
  for (size_t i = 0; i < FEntries.size(); ++i) selectable[i] = FEntries[i]->FVisible && FEntries[i]->FKind == mekItem;
  switch (ClassifyMenuKey(Key)) {
    case mkExecute:
      if (FKeyIndex >= 0) GetEntry(FKeyIndex)->Execute();
      break;
    case mkLeft:
      if (FParentItem && highlighted >= 0) {
        for (auto& e : FEntries)
          if (auto* item = dynamic_cast<TKemMenuItem*>(e.get()); item && item->FVisible && item->FHighlighted)
            item->Unhighlight();
        FKeyIndex = -1;
      }
      break;
    case mkUp:
    case mkDown: {
      const int from = FKeyIndex >= 0 ? FKeyIndex : highlighted;
      const int next = NextMenuKeyIndex(selectable, from, ClassifyMenuKey(Key) == mkDown);
      if (next < 0 || next == from) break;
      if (from >= 0) GetEntry(from)->Unhighlight();
      FKeyIndex = next;
      GetEntry(next)->Highlight();
      break;
    }
    case mkRight: {
      auto* item = highlighted >= 0 ? dynamic_cast<TKemMenuItem*>(GetEntry(highlighted)) : nullptr;
      TKemMenu* sub = item ? item->FSubmenu : nullptr;
      if (!sub || !sub->Visible()) break;
      FKeyIndex = highlighted;
      std::vector<bool> subSelectable(sub->FEntries.size());
      for (size_t i = 0; i < sub->FEntries.size(); ++i)
        subSelectable[i] = sub->FEntries[i]->FVisible && sub->FEntries[i]->FKind == mekItem;
      sub->FKeyIndex = NextMenuKeyIndex(subSelectable, -1, true);
      if (sub->FKeyIndex >= 0) sub->GetEntry(sub->FKeyIndex)->Highlight();
      break;
    }
    case mkClose:
      if (Visible()) Hide();
      if (FParentItem) FParentItem->Menu().KeyEvent(Key);
      break;
  }
}

void TKemMenu::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      KeyEvent(static_cast<std::uint16_t>(Message.WParam));
      Message.Result = 0;
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_MOUSEHOOK:
      HookEvent(HookEventKind(Message.WParam), static_cast<int>(Message.LParam));
      return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSELEAVE:
      if (FShowing && !FHookInstalled)
        PointerEvent(Message.Msg, Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
      TCustomForm::WndProc(Message);
      return;
    case WM_ACTIVATE:
      if (FShowing && !FHookInstalled && LOWORD(Message.WParam) == WA_INACTIVE)
        PostMessageW(Handle(), kCheckActivation, 0, 0);
      TCustomForm::WndProc(Message);
      return;
    case kCheckActivation:
      if (FShowing && !FHookInstalled) CheckActivation();
      return;
    case kRunChosenAction: {
      TBasicAction* action = FPending;
      FPending = nullptr;
      if (action) action->Execute();  // the last thing: the action may free the menu
      return;
    }
    default:
      TCustomForm::WndProc(Message);
  }
}

// ---- Painting --------------------------------------------------------------------------

void TKemMenu::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  FComposed->Assign(*FScreenCopy);
  FComposed->SetPixelFormat(pf32bit);
  FComposed->SetSize(Width(), Height());
  if (FSkin) {
    FSkin->SelectCacheSlot(FCacheSlot);
    FSkin->DrawMenuBackground(*FComposed, ClientBounds(*this), FMenuName);
  } else {
    PaintPlainFrame(*FComposed);
  }
  for (auto& e : FEntries)
    if (e->FVisible && !IsRectEmpty(e->FBounds)) PaintEntry(*e, *FComposed);
  Canvas()->Draw(0, 0, *FComposed);
}

void TKemMenu::PaintPlainFrame(TBitmap& Target) {
  TCanvas& c = *Target.Canvas();
  const TRect r =
      Rect(FMetrics.Outer.Left, FMetrics.Outer.Top, Width() - FMetrics.Outer.Right, Height() - FMetrics.Outer.Bottom);
  Fill(c, r, clBtnFace);
  RECT outer{r.Left, r.Top, r.Right, r.Bottom};
  DrawEdge(c.Handle(), &outer, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
  RECT inner{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  DrawEdge(c.Handle(), &inner, BDR_RAISEDINNER, BF_RECT);
}

std::unique_ptr<TBitmap> TKemMenu::EntryBackground(const TRect& Bounds, const TBitmap& Composed) {
  // The entry starts from what the menu's background put there: an item that
  // the skin gives no texture of its own shows the menu's.
  std::unique_ptr<TBitmap> back = VosGrab(Composed, Bounds);
  if (back && back->Width() == Bounds.Width() && back->Height() == Bounds.Height()) return back;
  back = std::make_unique<TBitmap>();
  back->SetPixelFormat(pf32bit);
  back->SetSize(Bounds.Width(), Bounds.Height());
  if (FSkin) {
    FSkin->SelectCacheSlot(FCacheSlot);
    // On the grid the menu's background tiles it with.
    FSkin->DrawTexture(FSkin->Menu().Texture, *back, -(Bounds.Top + FMetrics.Outer.Top),
                       -(Bounds.Left + FMetrics.Outer.Left), Rect(0, 0, Bounds.Width(), Bounds.Height()));
  }
  return back;
}

void TKemMenu::PaintEntry(TKemMenuEntry& Entry, TBitmap& Target) {
  const TRect& b = Entry.FBounds;
  const std::unique_ptr<TBitmap> picture = EntryBackground(b, Target);
  TBitmap& tmp = *picture;
  TCanvas& c = *tmp.Canvas();
  const auto* item = dynamic_cast<const TKemMenuItem*>(&Entry);
  const bool over = item && item->FHighlighted;
  const bool enabled = Entry.Enabled();
  TRect r = Bounds(0, 0, b.Width(), b.Height());
  // A highlighted item's picture keeps the menu's own background in a frame
  // around it: a picture in the highlight's colours would vanish on it.
  TRect iconFrame;
  std::unique_ptr<TBitmap> iconBack;
  if (over && Entry.FIcon) {
    const TRect inner = FSkin ? Rect(FMetrics.Item.Left, FMetrics.Item.Top, r.Right - FMetrics.Item.Right,
                                     r.Bottom - FMetrics.Item.Bottom)
                              : r;
    const TBitmap& icon = *Entry.FIcon;
    const int x = inner.Left + FMetrics.Icon.Left;
    const int y =
        inner.Top + FMetrics.Icon.Top + (inner.Height() - FMetrics.Icon.Top - FMetrics.Icon.Bottom - icon.Height()) / 2;
    IntersectRect(iconFrame,
                  Rect(x - kIconFrame, y - kIconFrame, x + icon.Width() + kIconFrame, y + icon.Height() + kIconFrame),
                  r);
    if (FSkin && !IsRectEmpty(iconFrame)) iconBack = VosGrab(tmp, iconFrame);
  }
  if (Entry.FKind == mekSeparator) {
    if (FSkin) {
      FSkin->SelectCacheSlot(FCacheSlot);
      FSkin->DrawMenuItemBackground(tmp, r, 4, b.Top - FMetrics.Outer.Top, b.Left - FMetrics.Outer.Left);
    } else {
      Fill(c, r, clBtnFace);
      Line(c, 2, 1, r.Right, 1, clBtnShadow);
      Line(c, 2, 2, r.Right, 2, clBtnHighlight);
    }
    VosPut(Target, b.Left, b.Top, tmp);
    return;
  }
  if (FSkin) {
    FSkin->SelectCacheSlot(FCacheSlot);
    FSkin->DrawMenuItemBackground(tmp, r, over ? 3 : 0, b.Top - FMetrics.Outer.Top, b.Left - FMetrics.Outer.Left);
    r = Rect(r.Left + FMetrics.Item.Left, r.Top + FMetrics.Item.Top, r.Right - FMetrics.Item.Right,
             r.Bottom - FMetrics.Item.Bottom);
  } else {
    Fill(c, r, over ? clHighlight : clBtnFace);
  }
  if (!IsRectEmpty(iconFrame)) {
    if (iconBack)
      VosPut(tmp, iconFrame.Left, iconFrame.Top, *iconBack);
    else if (!FSkin)
      Fill(c, iconFrame, clBtnFace);
  }
  if (TBitmap* icon = Entry.FIcon.get()) {
    const int y =
        r.Top + FMetrics.Icon.Top + (r.Height() - FMetrics.Icon.Top - FMetrics.Icon.Bottom - icon->Height()) / 2;
    AlphaBlendBitmapOpacity(tmp, r.Left + FMetrics.Icon.Left, y, enabled ? 255 : 96, *icon);
  }
  r.Left += FIconColumn;
  const TKemMenu* sub = item ? item->FSubmenu : nullptr;
  const WideString shortcut = sub ? WideString() : Entry.ShortCutText();
  if (FSkin) {
    // The marks go beside the text, inside the text indents.
    r = Rect(r.Left + FMetrics.Text.Left, r.Top + FMetrics.Text.Top, r.Right - FMetrics.Text.Right,
             r.Bottom - FMetrics.Text.Bottom);
    FSkin->DrawMenuItemText(tmp, r, sub != nullptr, Entry.Checked(), enabled, over ? vpsOver : vpsNormal, shortcut,
                            Entry.Caption());
  } else {
    r.Right -= 10;
    r.Left += 20;  // the check mark's column
    TColor text = over ? clHighlightText : clMenuText;
    c.Font()->Assign(*Font());
    c.Brush()->SetStyle(bsClear);
    const std::wstring caption(reinterpret_cast<const wchar_t*>(Entry.Caption().c_str()));
    const std::wstring keys(reinterpret_cast<const wchar_t*>(shortcut.c_str()));
    auto write = [&](TColor Color, int Shift) {
      SetTextColor(c.Handle(), static_cast<COLORREF>(ColorToRGB(Color)));
      SetBkMode(c.Handle(), TRANSPARENT);
      SelectObject(c.Handle(), c.Font()->Handle());
      RECT t{r.Left + Shift, r.Top + Shift, r.Right + Shift, r.Bottom + Shift};
      DrawTextW(c.Handle(), caption.c_str(), -1, &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
      if (!keys.empty()) DrawTextW(c.Handle(), keys.c_str(), -1, &t, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    };
    if (!enabled && !over) {
      write(clBtnHighlight, 1);
      text = clBtnShadow;
    } else if (!enabled) {
      text = Font()->Color();
    }
    write(text, 0);
    const COLORREF mark = static_cast<COLORREF>(ColorToRGB(text));
    if (Entry.Checked()) {
      const int x0 = r.Left - 14, y0 = (b.Height() - 9) / 2;
      for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
          if (MenuCheckMarkPixel(x, y)) SetPixelV(c.Handle(), x0 + x, y0 + y, mark);
    }
    if (sub) {
      const int mid = b.Height() / 2, right = b.Width();
      c.Pen()->SetColor(text);
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(text);
      c.Polygon({Point(right - 14, mid), Point(right - 17, mid - 3), Point(right - 17, mid + 3)});
    }
  }
  VosPut(Target, b.Left, b.Top, tmp);
}
