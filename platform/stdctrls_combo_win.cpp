// TCustomComboBox: the "COMBOBOX" window, its edit part's keys, selection
// changes, and the text kept across re-creation.
#include <algorithm>

#include "platform/application_win.h"
#include "platform/forms_win.h"
#include "platform/geometry_win.h"
#include "platform/stdctrls_win.h"

namespace {

const TListMessages kComboBoxMessages{
    CB_GETLBTEXTLEN, CB_GETLBTEXT,   CB_ADDSTRING,       CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
    CB_GETITEMDATA,  CB_SETITEMDATA, CB_FINDSTRINGEXACT, CB_FINDSTRING,   CB_GETCURSEL,    CB_SETCURSEL};

// The edit part's own procedure, kept on the edit window itself: it is needed
// until the edit's last message, when the combo box may be gone already.
constexpr wchar_t kEditProcProperty[] = L"OrvComboEditProc";

WNDPROC SavedEditProc(HWND Edit) { return reinterpret_cast<WNDPROC>(GetPropW(Edit, kEditProcProperty)); }

}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TCustomListControl(AOwner, kComboBoxMessages) {
  SetBounds(0, 0, 145, 21);
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TCustomListControl::CreateParams(Params);
  CreateSubClass(Params, u"COMBOBOX");
  Params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  switch (FStyle) {
    case csDropDown:
      Params.Style |= CBS_DROPDOWN;
      break;
    case csSimple:
      Params.Style |= CBS_SIMPLE;
      break;
    case csDropDownList:
      Params.Style |= CBS_DROPDOWNLIST;
      break;
    case csOwnerDrawFixed:
      Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED;
      break;
    case csOwnerDrawVariable:
      Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE;
      break;
  }
  if (FSorted) Params.Style |= CBS_SORT;
  // The window's height is that of the open list; the closed box takes its own.
  if (FStyle != csSimple) Params.Height = std::max(Params.Height, 1) + ItemHeightGuess() * FDropDownCount;
}

int TCustomComboBox::ItemHeightGuess() const { return FItemHeight > 0 ? FItemHeight : 16; }

void TCustomComboBox::CreateWnd() {
  // The text the window had, or was given before it existed.
  const WideString text = Caption();
  TCustomListControl::CreateWnd();
  if (FItemHeight > 0) Send(CB_SETITEMHEIGHT, 0, FItemHeight);
  if (FMaxLength > 0) Send(CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength));
  FEditHandle = nullptr;
  if (HasEditPart()) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(Handle(), &info) && info.hwndItem && info.hwndItem != Handle()) {
      FEditHandle = info.hwndItem;
      SetPropW(FEditHandle, kEditProcProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(FEditHandle, GWLP_WNDPROC)));
      SetWindowLongPtrW(FEditHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc));
    }
    if (!text.empty()) SetWindowTextW(Handle(), WideCStr(text));
  }
}

void TCustomComboBox::DestroyWnd() {
  FEditHandle = nullptr;
  TCustomListControl::DestroyWnd();
}

LRESULT CALLBACK TCustomComboBox::EditProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  WNDPROC previous = SavedEditProc(Window);
  if (!previous) return DefWindowProcW(Window, Msg, WParam, LParam);
  auto* combo = dynamic_cast<TCustomComboBox*>(FindControl(GetParent(Window)));
  if (Msg == WM_NCDESTROY || !combo || combo->FEditHandle != Window) {
    if (Msg == WM_NCDESTROY) {
      SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      RemovePropW(Window, kEditProcProperty);
    }
    return CallWindowProcW(previous, Window, Msg, WParam, LParam);
  }
  TMessage message{Msg, WParam, LParam, 0};
  TMessageHandlerScope scope;
  try {
    combo->EditWndProc(message);
  } catch (...) {
    if (Application) Application->HandleException(combo);
  }
  return message.Result;
}

void TCustomComboBox::EditDefault(TMessage& Message) {
  WNDPROC previous = FEditHandle ? SavedEditProc(FEditHandle) : nullptr;
  if (previous) Message.Result = CallWindowProcW(previous, FEditHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TCustomComboBox::EditWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      auto key = static_cast<std::uint16_t>(Message.WParam);
      KeyDown(key, KeyDataToShiftState(Message.LParam));
      if (key == 0) return;
      Message.WParam = key;
      if ((key == VK_RETURN || key == VK_ESCAPE) && DroppedDown()) {
        SetDroppedDown(false);
        return;
      }
      // With the list closed they are the form's default and cancel buttons'.
      if (HandDialogKeyToForm(Message)) {
        Message.Result = 0;
        return;
      }
      if (key == VK_TAB) {
        if (TCustomForm* form = GetParentForm(this)) {
          form->SelectNext(this, GetKeyState(VK_SHIFT) >= 0, true);
          return;
        }
      }
      break;
    }
    case WM_SYSCHAR:
      // Accelerators of the form: the combo box's own handling offers them round.
      Message.Result = Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      auto key = static_cast<std::uint16_t>(Message.WParam);
      KeyUp(key, KeyDataToShiftState(Message.LParam));
      if (key == 0) return;
      Message.WParam = key;
      break;
    }
    case WM_CHAR: {
      auto key = static_cast<WideChar>(Message.WParam);
      KeyPress(key);
      if (key == 0) return;
      Message.WParam = key;
      // Enter, Escape and Tab do nothing in the edit but beep.
      if (key == u'\r' || key == 27 || key == u'\t') return;
      if (EditKeyPress(key)) {
        Message.Result = 0;
        return;
      }
      break;
    }
    default:
      break;
  }
  EditDefault(Message);
}

HWND TCustomComboBox::EditHandle() {
  HandleNeeded();
  return FEditHandle;
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomComboBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int Value) {
  FMaxLength = std::max(Value, 0);
  if (HandleAllocated()) Send(CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength));
}

int TCustomComboBox::ItemHeight() {
  if (HandleAllocated()) return static_cast<int>(Send(CB_GETITEMHEIGHT, 0));
  return ItemHeightGuess();
}

void TCustomComboBox::SetItemHeight(int Value) {
  if (Value <= 0) return;
  FItemHeight = Value;
  if (HandleAllocated()) Send(CB_SETITEMHEIGHT, 0, Value);
}

bool TCustomComboBox::DroppedDown() { return HandleAllocated() && Send(CB_GETDROPPEDSTATE) != 0; }

void TCustomComboBox::SetDroppedDown(bool Value) { Send(CB_SHOWDROPDOWN, Value ? TRUE : FALSE); }

int TCustomComboBox::SelStart() {
  DWORD start = 0;
  Send(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

int TCustomComboBox::SelLength() {
  DWORD start = 0, end = 0;
  Send(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomComboBox::Select(int Start, int Length) { Send(CB_SETEDITSEL, 0, MAKELPARAM(Start, Start + Length)); }

void TCustomComboBox::SetSelStart(int Value) { Select(Value, 0); }

void TCustomComboBox::SetSelLength(int Value) { Select(SelStart(), Value); }

WideString TCustomComboBox::SelText() {
  const WideString text = Text();
  const int start = std::clamp(SelStart(), 0, static_cast<int>(text.size()));
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(std::max(SelLength(), 0)));
}

void TCustomComboBox::SetItemIndex(int Value) {
  if (ItemIndex() == Value) return;
  Send(CB_SETCURSEL, static_cast<WPARAM>(Value));
}

void TCustomComboBox::CopySelection(TCustomListControl* Destination) {
  const int index = ItemIndex();
  if (Destination && index >= 0) Destination->AddItem(ItemText(index), ItemObject(index));
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::DoSelect() {
  if (OnSelect) OnSelect(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::DispatchDefault(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    // Enter and Escape close an open list; with it closed they are the form's.
    TCustomListControl::DispatchDefault(Message);
    if (DroppedDown()) Message.Result |= DLGC_WANTALLKEYS;
    return;
  }
  if (Message.Msg != CN_COMMAND) {
    TCustomListControl::DispatchDefault(Message);
    return;
  }
  Message.Result = 0;
  switch (HIWORD(Message.WParam)) {
    case CBN_SELCHANGE: {
      // The edit shows the new item only after this notification: the text is set now.
      const int index = ItemIndex();
      if (index >= 0 && HasEditPart()) SetText(ItemText(index));
      Click();
      DoSelect();
      Change();
      break;
    }
    case CBN_EDITCHANGE:
      Change();
      break;
    case CBN_DROPDOWN:
      DropDown();
      break;
    case CBN_CLOSEUP:
      CloseUp();
      break;
    default:
      break;
  }
}

void TCustomComboBox::DefaultDrawItem(int Index, const TRect& Rect, TOwnerDrawState /*State*/) {
  TCanvas* canvas = Canvas();
  canvas->FillRect(Rect);
  if (Index >= ItemCount()) return;
  const WideString text = ItemText(Index);
  SetBkMode(canvas->Handle(), TRANSPARENT);
  ExtTextOutW(canvas->Handle(), Rect.Left + 2, Rect.Top, 0, nullptr, WideCStr(text), static_cast<UINT>(text.size()),
              nullptr);
}
