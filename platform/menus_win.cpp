// Menu items, their system menus and command numbers; main and popup menus.
#include "platform/menus_win.h"
#include "platform/dc_win.h"

#include <algorithm>

#include "platform/application_win.h"
#include "platform/geometry_win.h"
#include "platform/unicode_convert.h"
#include "platform/win_util_win.h"

namespace {

// Command numbers are 16 bits in WM_COMMAND; each item holds one until freed.
class TCommandPool {
 public:
  UINT Take() {
    for (size_t n = 0; n < FUsed.size(); ++n) {
      const UINT id = FNext;
      FNext = FNext % 0xFFFF + 1;
      if (!FUsed[id]) {
        FUsed[id] = true;
        return id;
      }
    }
    throw EMenuError("Too many menu items");
  }
  void Give(UINT Id) { FUsed[Id] = false; }

 private:
  std::vector<bool> FUsed = std::vector<bool>(0x10000, false);
  UINT FNext = 1;
};

TCommandPool& Commands() {
  static TCommandPool pool;
  return pool;
}

// The popup menus alive now: the hidden window hands them its messages.
std::vector<TPopupMenu*>& PopupMenus() {
  static std::vector<TPopupMenu*> list;
  return list;
}

HWND gPopupWindow = nullptr;

LRESULT CALLBACK PopupListProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage message{Msg, WParam, LParam, 0};
  try {
    const std::vector<TPopupMenu*> menus = PopupMenus();
    for (TPopupMenu* menu : menus) {
      if (DispatchMenuMessage(menu, message)) return message.Result;
    }
  } catch (...) {
    if (Application) Application->HandleException(nullptr, std::current_exception());
    return 0;
  }
  return DefWindowProcW(Window, Msg, WParam, LParam);
}

// The menu font of the system, for measuring and drawing owner-drawn entries.
void UseMenuFont(TCanvas* Canvas) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
  const LOGFONTW& lf = metrics.lfMenuFont;
  Canvas->Font()->SetName(WideToUtf8(reinterpret_cast<const char16_t*>(lf.lfFaceName)));
  Canvas->Font()->SetHeight(lf.lfHeight);
}

// A canvas on a DC it does not own, for the length of one measure or draw.
class TBorrowedCanvas : public TCanvas {
 public:
  explicit TBorrowedCanvas(HDC DC) { SetHandle(DC); }
  ~TBorrowedCanvas() override { SetHandle(nullptr); }
};

constexpr int kCheckWidth = 16;  // the check mark's column without images
constexpr int kShortCutGap = 10;

}  // namespace

// ---- TMenuHandle --------------------------------------------------------------

void TMenuHandle::RemoveEntries() {
  if (!FMenu) return;
  while (GetMenuItemCount(FMenu) > 0) {
    if (!RemoveMenu(FMenu, 0, MF_BYPOSITION)) break;
  }
}

void TMenuHandle::Reset(HMENU Menu) {
  if (FMenu) {
    RemoveEntries();
    DestroyMenu(FMenu);
  }
  FMenu = Menu;
}

// ---- TMenuItem ----------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(Commands().Take()) {}

TMenuItem::~TMenuItem() {
  FHandle.RemoveEntries();
  while (!FItems.empty()) {
    TMenuItem* child = FItems.back();
    FItems.pop_back();
    child->FParent = nullptr;
    child->Free();
  }
  if (FParent) {
    // Nothing may leave a destructor: should the system refuse to write the
    // parent's menu now, it is written anew at its next change.
    try {
      FParent->Remove(this);
    } catch (...) {
    }
  }
  FActionLink.reset();
  Commands().Give(FCommand);
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError("Menu index out of range");
  return FItems[static_cast<size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EMenuError("Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EMenuError("Menu index out of range");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
  const int at = IndexOf(Item);
  if (at < 0) throw EMenuError("Sub-menu is not in menu");
  FItems.erase(FItems.begin() + at);
  Item->FParent = nullptr;
  Changed();
}

void TMenuItem::Delete(int Index) { Items(Index)->Free(); }

void TMenuItem::Clear() {
  while (!FItems.empty()) FItems.back()->Free();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

bool TMenuItem::IsTopLevel() const {
  return FParent && FParent->FMenu && dynamic_cast<TMainMenu*>(FParent->FMenu) != nullptr;
}

HMENU TMenuItem::Handle() {
  if (!FHandle.Get()) {
    HMENU menu = FMenu ? FMenu->CreateMenuHandle() : CreatePopupMenu();
    if (!menu) throw EMenuError("Could not create a menu: " + LastErrorText());
    FHandle.Reset(menu);
    RebuildHandle();
  }
  return FHandle.Get();
}

void TMenuItem::RebuildHandle() {
  if (!FHandle.Get() || ComponentState().Contains(csDestroying)) return;
  FHandle.RemoveEntries();
  for (TMenuItem* item : FItems) {
    if (item->FVisible) item->AppendTo(FHandle.Get());
  }
  if (FMenu) FMenu->RootChanged();
}

void TMenuItem::AppendTo(HMENU Menu) {
  const WideString text = EntryText();
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
  TMenu* menu = GetParentMenu();
  if (IsLine()) {
    info.fType = MFT_SEPARATOR;
  } else {
    info.fMask |= MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(WideCStr(text));
    if (FRadioItem) info.fType |= MFT_RADIOCHECK;
    if (menu && menu->OwnerDraw() && !IsTopLevel()) info.fType |= MFT_OWNERDRAW;
  }
  if (FChecked) info.fState |= MFS_CHECKED;
  if (!FEnabled) info.fState |= MFS_DISABLED;
  if (FDefault) info.fState |= MFS_DEFAULT;
  info.wID = FCommand;
  info.hSubMenu = FItems.empty() ? nullptr : Handle();
  info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  if (!InsertMenuItemW(Menu, static_cast<UINT>(GetMenuItemCount(Menu)), TRUE, &info)) {
    throw EOSError("Could not add a menu entry: " + LastErrorText());
  }
}

WideString TMenuItem::EntryText() const {
  WideString text = FCaption;
  if (FShortCut != scNone && FItems.empty() && !IsTopLevel()) text += u"\t" + ShortCutText();
  return text;
}

WideString TMenuItem::ShortCutText() const { return Utf8ToWide(ShortCutToText(FShortCut)); }

void TMenuItem::UpdateEntryText() {
  if (!FParent || !FParent->FHandle.Get() || !FVisible || IsLine()) return;
  HMENU menu = FParent->FHandle.Get();
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  if (!GetMenuItemInfoW(menu, FCommand, FALSE, &info)) return;
  if (info.fType & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR)) return;
  const WideString text = EntryText();
  wchar_t shown[1024] = {};
  const int length = GetMenuStringW(menu, FCommand, shown, 1024, MF_BYCOMMAND);
  if (text == std::u16string_view(reinterpret_cast<const char16_t*>(shown), static_cast<size_t>(std::max(length, 0)))) {
    return;
  }
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(WideCStr(text));
  if (!SetMenuItemInfoW(menu, FCommand, FALSE, &info)) {
    throw EOSError("Could not set a menu entry's text: " + LastErrorText());
  }
  if (IsTopLevel()) FParent->FMenu->RootChanged();
}

void TMenuItem::Changed() {
  RebuildHandle();
  MenuChanged();
}

void TMenuItem::MenuChanged() {
  if (FParent) FParent->RebuildHandle();
}

void TMenuItem::SetCaption(const WideString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  MenuChanged();
}

void TMenuItem::SetHint(const WideString& Value) { FHint = Value; }

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  MenuChanged();
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem && FParent) {
    for (TMenuItem* other : FParent->FItems) {
      if (other != this && other->FRadioItem && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
    }
  }
  MenuChanged();
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  MenuChanged();
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  MenuChanged();
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  if (Value && FParent) {
    for (TMenuItem* other : FParent->FItems) {
      if (other != this) other->FDefault = false;
    }
  }
  FDefault = Value;
  MenuChanged();
}

void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  MenuChanged();
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck && !(FActionLink && FActionLink->IsCheckedLinked())) SetChecked(!FChecked);
  if (OnClick) {
    OnClick(this);
  } else if (FActionLink) {
    FActionLink->Execute();
  }
}

void TMenuItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TMenuItem::SetAction(TBasicAction* Value) {
  SetLinkedAction(
      FActionLink, Value, [this] { return CreateActionLink(); },
      [this](TBasicAction* Action, bool CheckDefaults) { ActionChange(Action, CheckDefaults); });
}

std::unique_ptr<TBasicActionLink> TMenuItem::CreateActionLink() { return std::make_unique<TMenuActionLink>(this); }

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TBasicAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || FCaption.empty()) SetCaption(action->Caption());
  if (!CheckDefaults || FEnabled) SetEnabled(action->Enabled());
  auto* custom = dynamic_cast<TCustomAction*>(action);
  if (!custom) return;
  if (!CheckDefaults || !FChecked) SetChecked(custom->Checked());
  if (!CheckDefaults || FHint.empty()) SetHint(custom->Hint());
  if (!CheckDefaults || FShortCut == scNone) SetShortCut(custom->ShortCut());
  if (!CheckDefaults || FVisible) SetVisible(custom->Visible());
  if (!CheckDefaults || FGroupIndex == 0) FGroupIndex = custom->GroupIndex();
  if (!CheckDefaults || !FAutoCheck) FAutoCheck = custom->AutoCheck();
}

// ---- Owner drawing ------------------------------------------------------------

void TMenuItem::MeasureItem(TCanvas* ACanvas, int& Width, int& Height) {
  if (IsLine()) {
    Height = 8;
  } else {
    if (FDefault) ACanvas->Font()->SetStyle(ACanvas->Font()->Style() + fsBold);
    // An empty caption (or a lone "&") still takes a line's height.
    const WideString caption = FCaption.empty() || FCaption == u"&" ? FCaption + u" " : FCaption;
    TRect r = Rect(0, 0, 0, 0);
    ACanvas->DrawText(caption, r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    Width = kCheckWidth + r.Width() + 2 * kShortCutGap;
    Height = std::max(r.Height() + 4, GetSystemMetrics(SM_CYMENUSIZE) - 2);
    if (FShortCut != scNone && FItems.empty()) Width += ACanvas->TextWidth(ShortCutText()) + kShortCutGap;
  }
  if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel) {
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, ACanvas, ARect, State);
    return;
  }
  const bool selected = State.Contains(odSelected);
  ACanvas->Brush()->SetColor(selected ? clHighlight : clMenu);
  ACanvas->FillRect(ARect);
  if (IsLine()) {
    TRect line = ARect;
    line.Top += ARect.Height() / 2 - 1;
    line.Bottom = line.Top + 2;
    DrawEdge(ACanvas->Handle(), reinterpret_cast<RECT*>(&line), EDGE_ETCHED, BF_TOP);
    return;
  }
  if (FDefault) ACanvas->Font()->SetStyle(ACanvas->Font()->Style() + fsBold);
  ACanvas->Brush()->SetStyle(bsClear);
  TRect text = ARect;
  text.Left += TopLevel ? 6 : kCheckWidth + (FChecked ? 1 : 0) + 2;
  text.Right -= kShortCutGap;
  if (FChecked && !TopLevel) {
    TRect mark = Rect(ARect.Left, ARect.Top, ARect.Left + kCheckWidth, ARect.Bottom);
    ACanvas->Font()->SetColor(selected ? clHighlightText : clMenuText);
    ACanvas->DrawText(FRadioItem ? u"\u25CF" : u"\u2713", mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  UINT flags = DT_LEFT | DT_EXPANDTABS | DT_SINGLELINE;
  if (State.Contains(odNoAccel)) flags |= DT_HIDEPREFIX;
  const WideString caption = FCaption.empty() || FCaption == u"&" ? FCaption + u" " : FCaption;
  TRect measured = text;
  ACanvas->DrawText(caption, measured, flags | DT_CALCRECT);
  OffsetRect(text, 0, (text.Height() - measured.Height()) / 2);
  text.Bottom = text.Top + measured.Height();
  const WideString shortcut = FShortCut != scNone && FItems.empty() && !TopLevel ? ShortCutText() : WideString();
  auto drawTexts = [&](const TRect& at, TColor color) {
    ACanvas->Font()->SetColor(color);
    TRect r = at;
    ACanvas->DrawText(caption, r, flags);
    if (!shortcut.empty()) {
      r = at;
      ACanvas->DrawText(shortcut, r, DT_RIGHT | DT_SINGLELINE);
    }
  };
  if (!FEnabled) {
    // Engraved, as the system draws disabled entries: highlight below right, grey on top.
    const TColor grey = selected && ColorToRGB(clHighlight) == ColorToRGB(clGrayText) ? clHighlight : clGrayText;
    if (!selected) {
      TRect shadow = text;
      OffsetRect(shadow, 1, 1);
      drawTexts(shadow, clBtnHighlight);
    }
    drawTexts(text, grey);
  } else {
    drawTexts(text, selected ? clHighlightText : clMenuText);
  }
}

// ---- TMenuActionLink ----------------------------------------------------------

bool TMenuActionLink::IsCaptionLinked() const {
  return TBasicActionLink::IsCaptionLinked() && FClient->Caption() == Action()->Caption();
}
bool TMenuActionLink::IsCheckedLinked() const {
  return TBasicActionLink::IsCheckedLinked() && FClient->Checked() == CustomAction()->Checked();
}
bool TMenuActionLink::IsEnabledLinked() const {
  return TBasicActionLink::IsEnabledLinked() && FClient->Enabled() == Action()->Enabled();
}
bool TMenuActionLink::IsHintLinked() const {
  return TBasicActionLink::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}
bool TMenuActionLink::IsShortCutLinked() const {
  return TBasicActionLink::IsShortCutLinked() && FClient->ShortCut() == CustomAction()->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() const {
  return TBasicActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}
void TMenuActionLink::SetCaption(const WideString& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}
void TMenuActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetChecked(Value);
}
void TMenuActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}
void TMenuActionLink::SetHint(const WideString& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}
void TMenuActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) FClient->SetShortCut(Value);
}
void TMenuActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

// ---- TMenu --------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) { FItems->SetMenu(this); }

// The root is among the owned components and goes with them, after this
// object's menu kind is gone: it must not call back.
TMenu::~TMenu() { FItems->SetMenu(nullptr); }

void TMenu::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  // Every sub-menu is written anew with the new entry type.
  std::vector<TMenuItem*> pending{FItems};
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    item->RebuildHandle();
    pending.insert(pending.end(), item->FItems.begin(), item->FItems.end());
  }
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) const {
  std::vector<TMenuItem*> pending{FItems};
  while (!pending.empty()) {
    TMenuItem* item = pending.back();
    pending.pop_back();
    if (item != FItems || Kind == fkHandle) {
      const UINT_PTR key = Kind == fkCommand  ? item->FCommand
                           : Kind == fkHandle ? reinterpret_cast<UINT_PTR>(item->FHandle.Get())
                                              : reinterpret_cast<UINT_PTR>(item);
      if (key == Value) return item;
    }
    pending.insert(pending.end(), item->FItems.begin(), item->FItems.end());
  }
  return nullptr;
}

bool TMenu::DispatchCommand(UINT Command) {
  TMenuItem* item = FindItem(Command, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU Menu) {
  TMenuItem* item = FindItem(reinterpret_cast<UINT_PTR>(Menu), fkHandle);
  if (!item) return false;
  const std::vector<TMenuItem*> items = item->FItems;
  for (TMenuItem* child : items) child->InitiateAction();
  return true;
}

// An entry that opens a sub-menu may come with the sub-menu as its number;
// its item data (the item, checked against the menu's items) tells it then.
TMenuItem* TMenu::EntryItem(UINT Id, ULONG_PTR Data) const {
  TMenuItem* item = FindItem(Id, fkCommand);
  return item ? item : FindItem(Data, fkItem);
}

bool TMenu::MeasureEntry(MEASUREITEMSTRUCT& Measure) {
  TMenuItem* item = EntryItem(Measure.itemID, Measure.itemData);
  if (!item) return false;
  TScreenDC screen;
  TBorrowedCanvas canvas(screen.Handle());
  UseMenuFont(&canvas);
  int width = static_cast<int>(Measure.itemWidth), height = static_cast<int>(Measure.itemHeight);
  item->MeasureItem(&canvas, width, height);
  Measure.itemWidth = static_cast<UINT>(std::max(width, 0));
  Measure.itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

bool TMenu::DrawEntry(const DRAWITEMSTRUCT& Draw) {
  TMenuItem* item = EntryItem(Draw.itemID, Draw.itemData);
  if (!item) return false;
  const TOwnerDrawState state = OwnerDrawStateOf(Draw.itemState);
  const int saved = SaveDC(Draw.hDC);
  {
    TBorrowedCanvas canvas(Draw.hDC);
    UseMenuFont(&canvas);
    item->AdvancedDrawItem(&canvas, FromRECT(Draw.rcItem), state, item->IsTopLevel());
  }
  RestoreDC(Draw.hDC, saved);
  return true;
}

bool DispatchMenuMessage(TMenu* Menu, TMessage& Message) {
  if (!Menu) return false;
  switch (Message.Msg) {
    case WM_COMMAND:
      // From a menu: no control window, notification code 0.
      if (Message.LParam != 0 || HIWORD(Message.WParam) != 0) return false;
      if (!Menu->DispatchCommand(LOWORD(Message.WParam))) return false;
      Message.Result = 0;
      return true;
    case WM_INITMENU: {
      if (reinterpret_cast<HMENU>(Message.WParam) != Menu->Items()->Handle()) return false;
      const TMenuItem* root = Menu->Items();
      for (int i = 0; i < root->Count(); ++i) root->Items(i)->InitiateAction();
      Message.Result = 0;
      return true;
    }
    case WM_INITMENUPOPUP:
      if (!Menu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam))) return false;
      Message.Result = 0;
      return true;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
      if (!measure || measure->CtlType != ODT_MENU || !Menu->MeasureEntry(*measure)) return false;
      Message.Result = 1;
      return true;
    }
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      if (!draw || draw->CtlType != ODT_MENU || !Menu->DrawEntry(*draw)) return false;
      Message.Result = 1;
      return true;
    }
    default:
      return false;
  }
}

// ---- TMainMenu ----------------------------------------------------------------

TMainMenu::~TMainMenu() {
  if (WindowHandle() && Items()->HandleAllocated() && GetMenu(WindowHandle()) == Items()->Handle())
    ::SetMenu(WindowHandle(), nullptr);
}

void TMainMenu::RootChanged() {
  if (WindowHandle()) DrawMenuBar(WindowHandle());
}

// ---- TPopupMenu ---------------------------------------------------------------

HWND PopupListWindow() {
  if (gPopupWindow) return gPopupWindow;
  WNDCLASSW wc{};
  wc.lpfnWndProc = PopupListProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TOrvPopupList";
  RegisterClassW(&wc);
  gPopupWindow = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 wc.hInstance, nullptr);
  if (!gPopupWindow) throw EOSError("Could not create the popup menus' window: " + LastErrorText());
  return gPopupWindow;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) { PopupMenus().push_back(this); }

TPopupMenu::~TPopupMenu() {
  auto& menus = PopupMenus();
  menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
  if (menus.empty() && gPopupWindow) {
    DestroyWindow(gPopupWindow);
    gPopupWindow = nullptr;
  }
}

void TPopupMenu::Popup(int X, int Y) {
  if (OnPopup) OnPopup(this);
  const TMenuItem* root = Items();
  for (int i = 0; i < root->Count(); ++i) root->Items(i)->InitiateAction();
  HWND window = PopupListWindow();
  SetWindowHandle(window);
  // The system wants the owner in front, or the menu does not close when the user clicks elsewhere.
  SetForegroundWindow(window);
  TrackPopupMenuEx(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, X, Y, window, nullptr);
  PostMessageW(window, WM_NULL, 0, 0);
}
