// Copies of the system's window classes with our window procedure, and the
// lookup of the child a parent's notification concerns.
#include "platform/syswindow_win.h"

#include <commctrl.h>

#include <map>
#include <mutex>

#include "platform/controls_win.h"
#include "platform/exceptions.h"
#include "platform/unicode_convert.h"
#include "platform/win_util_win.h"

namespace {

// Our class atoms and the system procedures behind them. Window classes belong
// to the process; they are registered on the main thread only.
std::map<ATOM, WNDPROC>& ClassProcs() {
  static std::map<ATOM, WNDPROC> procs;
  return procs;
}

std::map<WideString, WNDPROC>& ProcsByName() {
  static std::map<WideString, WNDPROC> procs;
  return procs;
}

// The common controls' classes exist once the library has registered them.
void EnsureCommonControls() {
  static std::once_flag once;
  std::call_once(once, [] {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  });
}

}  // namespace

WNDPROC RegisterSubClass(const TCreateParams& Params) {
  auto found = ProcsByName().find(Params.WinClassName);
  if (found != ProcsByName().end()) return found->second;
  EnsureCommonControls();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(nullptr, WideCStr(Params.SysClassName), &wc) &&
      !GetClassInfoExW(GetModuleHandleW(L"comctl32.dll"), WideCStr(Params.SysClassName), &wc)) {
    throw EOSError("Unknown window class '" + WideToUtf8(Params.SysClassName) + "': " + LastErrorText());
  }
  const WNDPROC systemProc = wc.lpfnWndProc;
  wc.lpfnWndProc = OrvWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = WideCStr(Params.WinClassName);
  wc.lpszMenuName = nullptr;
  // Ours, for this program only; a parent DC would ignore the clipping of our windows.
  wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS | CS_PARENTDC);
  const ATOM atom = RegisterClassExW(&wc);
  if (!atom) throw EOSError("Could not register the window class: " + LastErrorText());
  ClassProcs()[atom] = systemProc;
  ProcsByName()[Params.WinClassName] = systemProc;
  return systemProc;
}

WNDPROC ClassDefaultProc(HWND Window) {
  const auto atom = static_cast<ATOM>(GetClassLongPtrW(Window, GCW_ATOM));
  auto found = ClassProcs().find(atom);
  return found != ClassProcs().end() ? found->second : DefWindowProcW;
}

HWND NotifyingChild(HWND Parent, const TMessage& Message) {
  switch (Message.Msg) {
    case WM_COMMAND:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
      return reinterpret_cast<HWND>(Message.LParam);
    case WM_NOTIFY:
      return Message.LParam ? reinterpret_cast<const NMHDR*>(Message.LParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
      const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
      return item && item->CtlType != ODT_MENU ? GetDlgItem(Parent, static_cast<int>(item->CtlID)) : nullptr;
    }
    case WM_COMPAREITEM:
      return Message.LParam ? reinterpret_cast<const COMPAREITEMSTRUCT*>(Message.LParam)->hwndItem : nullptr;
    case WM_DELETEITEM:
      return Message.LParam ? reinterpret_cast<const DELETEITEMSTRUCT*>(Message.LParam)->hwndItem : nullptr;
    default:
      return nullptr;
  }
}

UINT NextChildWindowId() {
  // Identifiers of one parent's children only need to differ among themselves;
  // 0 and the dialog box's IDOK/IDCANCEL range are left out.
  static UINT next = 0x100;
  const UINT id = next;
  next = next >= 0xFFFF ? 0x100 : next + 1;
  return id;
}
