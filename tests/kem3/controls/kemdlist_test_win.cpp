// The drop-down list on a real window: its frame, the popup's size, place,
// styles and focus, closing by the hook's press outside (with kem3.dll and
// without), by a release inside, by the control's own press in either order
// with the hook, Tab, Enter and Escape open and closed, the keys, the wheel and the typed search on a fake clock.
#include "kem3/controls/kemdlist_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemform_win.h"
#include "kem3/framework/kemhi_win.h"
#include "platform/app_scope_win.h"
#include "platform/clock.h"
#include "platform/deferred_release.h"
#include "support/keys_win.h"

namespace {

constexpr TColor kHighlight = 0x0000F0, kShadow = 0x00F000, kFrame = 0xF00000, kSpark = 0x00F0F0;

struct TScene {
  TForm* Form = nullptr;
  TKemDropDownList* List = nullptr;
  int Changes = 0;
};

void Make(TScene& s) {
  s.Form = NewForm<TQuietForm>(Application);
  s.Form->SetBounds(20, 10, 200, 60);
  auto* l = new TKemDropDownList(s.Form);
  s.List = l;
  l->SetParent(s.Form);
  l->SetBounds(10, 10, 120, 21);
  for (const char16_t* item : {u"Alpha", u"Beta", u"Bear", u"Berlin", u"Γάμμα", u"Дельта"}) l->Items()->Add(item);
  l->SetColorHighlight(kHighlight);
  l->SetColorShadow(kShadow);
  l->SetColorFrame(kFrame);
  l->SetColorSpark(kSpark);
  l->OnChange = [&s](TObject*) { ++s.Changes; };
  s.Form->Show();
  l->SetFocus();
}

RECT ScreenRect(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

TColor PixelAt(TKemDropDownList* l, int x, int y) {
  l->Repaint();
  return l->PaintBuffer()->PixelColor(x, y);
}

void Key(TKemDropDownList* l, WPARAM key) { SendMessageW(l->Handle(), WM_KEYDOWN, key, 0); }

void HookPress(TKemDropDownList* l) { SendMessageW(l->Handle(), WM_MOUSEHOOK, hekLeftDown, 0); }

}  // namespace

TEST(KemDropDownListWin, FrameAndPopupSizePlaceAndStyles) {
  TAppScope app;
  TScene s;
  Make(s);
  TKemDropDownList* l = s.List;
  EXPECT_EQ(PixelAt(l, 0, 10), kShadow);
  EXPECT_EQ(PixelAt(l, 1, 10), kFrame);
  EXPECT_EQ(PixelAt(l, 119, 10), kHighlight);
  EXPECT_EQ(PixelAt(l, 118, 10), kSpark);
  EXPECT_EQ(PixelAt(l, 10, 10), ColorToRGB(clHighlight));  // focused, closed
  EXPECT_EQ(l->DropButton()->Width(), 17);
  EXPECT_EQ(l->DropButton()->Left(), 120 - 17 - 2);

  l->Items()->Clear();
  for (const char16_t* item : {u"α", u"β", u"γ"}) l->Items()->Add(item);
  l->SetItemIndex(1);
  l->DropDown();
  TPopupListbox* p = l->Popup();
  ASSERT_NE(p, nullptr);
  HWND ph = p->Handle();
  EXPECT_EQ(p->Height(), 3 * p->ItemHeight() + 2);
  const RECT pr = ScreenRect(ph), cr = ScreenRect(l->Handle());
  EXPECT_EQ(pr.left, cr.left);
  EXPECT_EQ(pr.top, cr.bottom - 1);
  EXPECT_EQ(pr.right - pr.left, 120);
  EXPECT_EQ(GetWindowLongW(ph, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongW(ph, GWL_STYLE) & WS_POPUP);
  EXPECT_TRUE(GetWindowLongW(ph, GWL_STYLE) & WS_BORDER);
  EXPECT_EQ(GetParent(ph), nullptr);
  EXPECT_TRUE(IsWindowVisible(ph));
  EXPECT_EQ(p->ItemIndex(), 1);
  // A press in the popup selects without taking the focus.
  RECT item{};
  SendMessageW(ph, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  SendMouse(ph, WM_LBUTTONDOWN, 5, item.top + 2, MK_LBUTTON);
  EXPECT_TRUE(l->Focused());
  EXPECT_EQ(p->ItemIndex(), 2);
  // Released inside: accepted, OnChange; the popup hides at once, goes later.
  SendMouse(ph, WM_LBUTTONUP, 5, item.top + 2);
  EXPECT_FALSE(l->DroppedDown());
  EXPECT_FALSE(IsWindowVisible(ph));
  EXPECT_EQ(l->ItemIndex(), 2);
  EXPECT_EQ(s.Changes, 1);
  ProcessDeferredReleases();
  EXPECT_FALSE(IsWindow(ph));
  // Flat: one frame line, a narrower button, flat scroll bars on the popup.
  l->SetFlat(true);
  EXPECT_EQ(PixelAt(l, 0, 10), kFrame);
  EXPECT_EQ(l->DropButton()->Width(), 15);
  l->DropDown();
  EXPECT_TRUE(IsWindowVisible(l->Popup()->Handle()));
  l->CloseUp(false);
}

TEST(KemDropDownListWin, DrawnArrowAndAPopupWideEnoughForItsLongestEntry) {
  TAppScope app;
  TScene s;
  Make(s);
  TKemDropDownList* l = s.List;
  // The arrow is ours, in the button's text colour: rows 7, 5, 3, 1 wide, then none.
  TKemButton* b = l->DropButton();
  b->Repaint();
  const int top = (b->Height() - 4 + 1) / 2;
  for (int row = 0; row < 5; ++row) {
    int inked = 0;
    for (int x = 0; x < b->Width(); ++x) inked += b->PaintBuffer()->PixelColor(x, top + row) == ColorToRGB(clBtnText);
    EXPECT_EQ(inked, std::max(7 - 2 * row, 0)) << row;
  }
  // A narrow box: its popup opens as wide as the longest entry needs.
  l->SetWidth(60);
  l->Items()->Add(u"A much longer entry than the box");
  TBitmap scratch;
  scratch.Canvas()->Font()->Assign(*l->Font());
  l->DropDown();
  const RECT pr = ScreenRect(l->Popup()->Handle());
  EXPECT_GE(pr.right - pr.left, scratch.Canvas()->TextWidth(u"A much longer entry than the box") + 6);
  EXPECT_EQ(l->OutsideAreas()[3].Left, pr.right);
  l->CloseUp(false);
}

TEST(KemDropDownListWin, PressesOutsideWithAndWithoutTheLibrary) {
  TAppScope app;
  TScene s;
  Make(s);
  TKemDropDownList* l = s.List;
  l->SetItemIndex(1);
  for (bool library : {false, true}) {
    if (library) {
      BindHookLibrary();
      ASSERT_TRUE(HookLibraryLoaded());
    }
    l->DropDown();
    if (library) {
      // Area 0 is the screen less the popup, a pixel short of it.
      const RECT pr = ScreenRect(l->Popup()->Handle());
      const RECT above = mhGetArea(l->Handle(), 0, 0);
      EXPECT_EQ(above.bottom, pr.top - 1);
      const RECT left = mhGetArea(l->Handle(), 0, 2);
      EXPECT_EQ(left.right, pr.left - 1);
    }
    l->Popup()->SetItemIndex(3);
    HookPress(l);  // a press elsewhere: closed, old choice kept
    EXPECT_FALSE(l->DroppedDown());
    EXPECT_EQ(l->ItemIndex(), 1);
    EXPECT_EQ(s.Changes, 0);
  }
  // A press on the control while open closes it for good, whichever comes first.
  POINT centre{30, 10};
  ClientToScreen(l->Handle(), &centre);
  SetCursorPos(centre.x, centre.y);
  for (bool hookFirst : {true, false}) {
    l->DropDown();
    if (hookFirst) HookPress(l);
    SendMouse(l->Handle(), WM_LBUTTONDOWN, 30, 10, MK_LBUTTON);
    if (!hookFirst) HookPress(l);
    SendMouse(l->Handle(), WM_LBUTTONUP, 30, 10);
    EXPECT_FALSE(l->DroppedDown()) << hookFirst;
  }
  // The toggle reopens on the next press.
  SendMouse(l->Handle(), WM_LBUTTONDOWN, 30, 10, MK_LBUTTON);
  EXPECT_TRUE(l->DroppedDown());
  l->CloseUp(false);
  ProcessDeferredReleases();
  FreeHookLibrary();
}

TEST(KemDropDownListWin, KeysWheelAndTypedSearch) {
  TAppScope app;
  TScene s;
  Make(s);
  TKemDropDownList* l = s.List;
  // Tab reaches the list: a dialog works by keys alone.
  auto* before = new TKemButton(s.Form);
  before->SetParent(s.Form);
  before->SetBounds(140, 10, 40, 21);
  before->SetFocus();
  s.Form->SelectNext(before, true, true);
  EXPECT_TRUE(l->Focused());
  TFakeClock clock(1000);
  TClock* old = SetClock(&clock);
  const struct {
    WPARAM Key;
    int Index, Changes;
  } kKeys[] = {{VK_UP, -1, 0},  {VK_DOWN, 0, 1},  {VK_PRIOR, 0, 1}, {VK_END, 5, 1},
               {VK_NEXT, 5, 2}, {VK_RIGHT, 5, 2}, {VK_HOME, 0, 2},  {VK_NEXT, 5, 3}};
  for (const auto& k : kKeys) {
    Key(l, k.Key);
    EXPECT_EQ(l->ItemIndex(), k.Index) << k.Key;
    EXPECT_EQ(s.Changes, k.Changes) << k.Key;
  }
  SendMessageW(l->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(l->ItemIndex(), 4);
  // "b", "e" quickly: the next entry after the selected one beginning with "be".
  l->SetItemIndex(1);
  SendMessageW(l->Handle(), WM_CHAR, u'b', 0);
  clock.Advance(100);
  SendMessageW(l->Handle(), WM_CHAR, u'E', 0);
  EXPECT_EQ(l->ItemIndex(), 3);
  clock.Advance(600);  // a new search
  SendMessageW(l->Handle(), WM_CHAR, u'д', 0);
  EXPECT_EQ(l->ItemIndex(), 5);
  SetClock(old);
  // Alt+Down opens, Enter accepts; Enter while closed is left for the form.
  SendMessageW(l->Handle(), WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
  EXPECT_TRUE(l->DroppedDown());
  Key(l, VK_UP);  // moves the popup too
  EXPECT_EQ(l->Popup()->ItemIndex(), 4);
  Key(l, VK_RETURN);
  EXPECT_FALSE(l->DroppedDown());
  EXPECT_EQ(l->ItemIndex(), 4);
  l->DropDown();
  Key(l, VK_ESCAPE);
  EXPECT_FALSE(l->DroppedDown());
  // Freed with its popup open (the application goes at the end of the test).
  l->DropDown();
  ProcessDeferredReleases();
}

// Closed, the list lets Tab and Shift+Tab move on and hands Enter and Escape
// to the form's default and cancel buttons; open, it keeps them for itself.
// A system combo box beside it does the same with its list open and closed,
// typed into or not.
TEST(KemDropDownListWin, ClosedItLeavesTabEnterAndEscapeToTheForm) {
  TAppScope app;
  auto* form = NewForm<TKemForm>(Application, TKemForm::TCreateNew{});
  form->SetBounds(20, 10, 300, 80);
  const auto button = [form](int Left) {
    auto* b = new TKemButton(form);
    b->SetParent(form);
    b->SetBounds(Left, 40, 60, 23);
    return b;
  };
  auto* first = button(10);
  auto* list = new TKemDropDownList(form);
  list->SetParent(form);
  list->SetBounds(10, 10, 120, 21);
  list->SetTabStop(true);
  for (const char16_t* item : {u"Alpha", u"Beta"}) list->Items()->Add(item);
  auto* combo = new TKemComboBox(form);
  combo->SetParent(form);
  combo->SetStyle(csDropDownList);
  combo->SetBounds(140, 10, 120, 21);
  for (const char16_t* item : {u"One", u"Two"}) combo->Items()->Add(item);
  auto* ok = button(80);
  ok->SetDefault(true);
  auto* cancel = button(150);
  cancel->SetCancel(true);
  int oks = 0, cancels = 0;
  ok->OnClick = [&oks](TObject*) { ++oks; };
  cancel->OnClick = [&cancels](TObject*) { ++cancels; };
  form->Show();
  first->SetFocus();

  PressFocused(VK_TAB);
  EXPECT_TRUE(list->Focused());
  PressFocused(VK_TAB);
  EXPECT_TRUE(combo->Focused());
  PressFocused(VK_TAB, {VK_SHIFT});
  EXPECT_TRUE(list->Focused());
  PressFocused(VK_RETURN);
  PressFocused(VK_ESCAPE);
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(cancels, 1);

  list->DropDown();
  PressFocused(VK_TAB);
  EXPECT_TRUE(list->Focused());
  PressFocused(VK_ESCAPE);
  EXPECT_FALSE(list->DroppedDown());
  list->DropDown();
  PressFocused(VK_RETURN);
  EXPECT_FALSE(list->DroppedDown());
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(cancels, 1);

  combo->SetFocus();
  combo->SetDroppedDown(true);
  PressFocused(VK_RETURN);
  EXPECT_FALSE(combo->DroppedDown());
  combo->SetDroppedDown(true);
  PressFocused(VK_ESCAPE);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(cancels, 1);
  PressFocused(VK_RETURN);
  PressFocused(VK_ESCAPE);
  EXPECT_EQ(oks, 2);
  EXPECT_EQ(cancels, 2);

  // Typed into the edit of a combo box that takes typing: the same.
  combo->SetStyle(csDropDown);
  combo->SetFocus();
  ASSERT_EQ(GetFocus(), combo->EditHandle());
  combo->SetDroppedDown(true);
  PressFocused(VK_ESCAPE);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(cancels, 2);
  PressFocused(VK_RETURN);
  PressFocused(VK_ESCAPE);
  EXPECT_EQ(oks, 3);
  EXPECT_EQ(cancels, 3);
  ProcessDeferredReleases();
}
