// The push button on real windows: press, move and release, repetition on the
// fake timer service, roles with Enter and Escape, the default look, language
// captions, actions, accelerators and the plain painting's edges.
#include "kem3/controls/kembut_win.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "kem3/framework/kemlantext.h"
#include "platform/app_scope_win.h"
#include "platform/keys.h"

namespace {

TForm* QuietForm() {
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(40, 40, 300, 200);
  form->Show();
  return form;
}

// A form that can take the focus (shown and activated).
TForm* FocusForm() {
  auto* form = Application->CreateForm<TForm>();
  form->SetBorderStyle(bsNone);
  form->SetBounds(40, 40, 300, 200);
  form->Show();
  return form;
}

TKemButton* NewButton(TWinControl* parent, int left = 10, int top = 10) {
  auto* b = new TKemButton(parent);
  b->SetParent(parent);
  b->SetBounds(left, top, 75, 25);
  return b;
}

// Counts the clicks of a button.
struct TClicks {
  int count = 0;
  void Attach(TKemCustomButton* b) {
    b->OnClick = [this](TObject*) { ++count; };
  }
};

constexpr TColor kHighlight = 0x00FF00, kShadow = 0x0000FF, kFrame = 0xFF0000, kSpark = 0x00FFFF, kFace = 0x808080;

void DistinctColors(TKemCustomButton* b) {
  b->SetColorHighlight(kHighlight);
  b->SetColorShadow(kShadow);
  b->SetColorFrame(kFrame);
  b->SetColorSpark(kSpark);
  b->SetColor(kFace);
}

TColor PixelAt(TKemCustomButton* b, int x, int y) {
  b->Repaint();
  return b->PaintBuffer()->PixelColor(x, y);
}

}  // namespace

TEST(KemButtonWin, ClicksOnlyWhenReleasedOverTheButton) {
  TAppScope app;
  TForm* form = QuietForm();
  TKemButton* b = NewButton(form);
  b->SetFocusOnPress(false);
  TClicks clicks;
  clicks.Attach(b);
  int presses = 0;
  b->OnPress = [&](TObject*) { ++presses; };
  HWND h = b->Handle();

  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_TRUE(b->Tracking());
  EXPECT_TRUE(b->Pressed());
  EXPECT_EQ(GetCapture(), h);
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(clicks.count, 0);
  SendMouse(h, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(clicks.count, 1);
  EXPECT_FALSE(b->Tracking());
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(GetCapture(), nullptr);

  // Off the button the pressed look goes, back on it returns; released off: no click.
  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  SendMouse(h, WM_MOUSEMOVE, 90, 5, MK_LBUTTON);
  EXPECT_TRUE(b->Tracking());
  EXPECT_FALSE(b->Pressed());
  SendMouse(h, WM_MOUSEMOVE, 74, 24, MK_LBUTTON);
  EXPECT_TRUE(b->Pressed());
  SendMouse(h, WM_MOUSEMOVE, 75, 5, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 75, 5);
  EXPECT_EQ(clicks.count, 1);
  EXPECT_FALSE(b->Tracking());

  // A double click is a second press, with a click of its own.
  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 5, 5);
  SendMouse(h, WM_LBUTTONDBLCLK, 5, 5, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(clicks.count, 3);
  EXPECT_EQ(presses, 4);
}

TEST(KemButtonWin, TheRightButtonFiresOnClickRightAndNeverClicks) {
  TAppScope app;
  TForm* form = QuietForm();
  TKemButton* b = NewButton(form);
  b->SetFocusOnPress(false);
  TClicks clicks;
  clicks.Attach(b);
  int right = 0, downs = 0;
  b->OnClickRight = [&](TObject*) { ++right; };
  b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  HWND h = b->Handle();
  SendMouse(h, WM_RBUTTONDOWN, 5, 5, MK_RBUTTON);
  SendMouse(h, WM_RBUTTONUP, 5, 5);
  EXPECT_EQ(right, 1);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(clicks.count, 0);
  EXPECT_FALSE(b->Tracking());
  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);  // the left press reaches OnMouseDown too
  SendMouse(h, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(right, 1);
}

TEST(KemButtonWin, ADisabledButtonNeverClicksAndDisablingEndsAPress) {
  TAppScope app;
  TForm* form = QuietForm();
  TKemButton* b = NewButton(form);
  b->SetFocusOnPress(false);
  TClicks clicks;
  clicks.Attach(b);
  HWND h = b->Handle();
  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  b->SetEnabled(false);
  EXPECT_FALSE(b->Tracking());
  EXPECT_FALSE(b->Pressed());
  SendMouse(h, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(clicks.count, 0);
  // Keys and accelerators leave it alone as well.
  b->SetCaption(u"&Go");
  b->SetCancel(true);
  EXPECT_FALSE(b->DialogChar(u'g', {}));
  EXPECT_FALSE(b->DialogKey(VK_ESCAPE, {}));
  EXPECT_EQ(clicks.count, 0);
}

TEST(KemButtonWin, AHeldRepeatButtonClicksAfterTheInitialPauseThenAtTheRepeatPause) {
  TAppScope app;
  TFakeTimerService timers;
  TForm* form = QuietForm();
  TKemButton* b = NewButton(form);
  b->SetFocusOnPress(false);
  b->SetTimerState({tsAllowTimer});
  TClicks clicks;
  clicks.Attach(b);
  HWND h = b->Handle();

  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  timers.Advance(399);
  EXPECT_EQ(clicks.count, 0);
  timers.Advance(1);
  EXPECT_EQ(clicks.count, 1);
  timers.Advance(100);
  EXPECT_EQ(clicks.count, 2);
  SendMouse(h, WM_MOUSEMOVE, 200, 5, MK_LBUTTON);  // off the button the clicks pause
  timers.Advance(300);
  EXPECT_EQ(clicks.count, 2);
  SendMouse(h, WM_MOUSEMOVE, 5, 5, MK_LBUTTON);
  timers.Advance(100);
  EXPECT_EQ(clicks.count, 3);
  SendMouse(h, WM_LBUTTONUP, 5, 5);  // the release clicks once more, then all is quiet
  EXPECT_EQ(clicks.count, 4);
  timers.Advance(1000);
  EXPECT_EQ(clicks.count, 4);

  // Without tsAllowTimer a held button never repeats.
  b->SetTimerState({});
  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  timers.Advance(1000);
  SendMouse(h, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(clicks.count, 5);
}

TEST(KemButtonWin, AnErrorInARepeatedClickStopsTheRepetition) {
  TAppScope app;
  TFakeTimerService timers;
  TForm* form = QuietForm();
  TKemButton* b = NewButton(form);
  b->SetFocusOnPress(false);
  b->SetTimerState({tsAllowTimer});
  b->SetInitPause(50);
  b->SetRepeatPause(20);
  int calls = 0;
  b->OnClick = [&](TObject*) {
    ++calls;
    throw Exception("click failed");
  };
  SendMouse(b->Handle(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  timers.Advance(50);
  EXPECT_EQ(calls, 1);
  ASSERT_EQ(app.Errors.size(), 1u);
  EXPECT_EQ(app.Errors[0], "click failed");
  timers.Advance(500);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(timers.RunningCount(), 0);
}

TEST(KemButtonWin, EnterClicksTheDefaultButtonAndEscapeTheCancelButton) {
  TAppScope app;
  TForm* form = FocusForm();
  TKemButton* ok = NewButton(form, 10, 10);
  TKemButton* cancel = NewButton(form, 100, 10);
  TKemButton* other = NewButton(form, 190, 10);
  ok->SetActionType(atOk);
  cancel->SetActionType(atCancel);
  TClicks okClicks, cancelClicks, otherClicks;
  okClicks.Attach(ok);
  cancelClicks.Attach(cancel);
  otherClicks.Attach(other);
  EXPECT_TRUE(ok->Default());
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_TRUE(ok->DefaultLook());
  EXPECT_EQ(GetWindowLongPtrW(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(ok->Perform(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON);

  EXPECT_TRUE(BroadcastDialogKey(form, VK_RETURN, {}));
  EXPECT_EQ(okClicks.count, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);  // the click hands the form its result
  EXPECT_TRUE(BroadcastDialogKey(form, VK_ESCAPE, {}));
  EXPECT_EQ(cancelClicks.count, 1);
  EXPECT_EQ(form->ModalResult(), mrCancel);
  // With a modifier the keys are not the dialog's.
  EXPECT_FALSE(BroadcastDialogKey(form, VK_RETURN, {ssShift}));
  EXPECT_FALSE(BroadcastDialogKey(form, VK_ESCAPE, {ssCtrl}));
  EXPECT_FALSE(BroadcastDialogKey(form, VK_SPACE, {}));

  // A focused button takes the default look; Enter then clicks it.
  other->SetFocus();
  EXPECT_TRUE(other->DefaultLook());
  EXPECT_FALSE(ok->DefaultLook());
  EXPECT_EQ(GetWindowLongPtrW(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_TRUE(BroadcastDialogKey(form, VK_RETURN, {}));
  EXPECT_EQ(otherClicks.count, 1);
  EXPECT_EQ(okClicks.count, 1);

  // The focus on a control that is no button gives the default button its look back.
  auto* box = new TCustomControl(form);
  box->SetParent(form);
  box->SetBounds(10, 100, 40, 40);
  box->SetTabStop(true);
  box->SetFocus();
  EXPECT_TRUE(ok->DefaultLook());
  EXPECT_FALSE(other->DefaultLook());

  // A focused button without framing never takes the look from the default one.
  other->SetNoFraming(true);
  other->SetFocus();
  EXPECT_TRUE(ok->DefaultLook());
  EXPECT_FALSE(other->DefaultLook());
}

TEST(KemButtonWin, SettingTheRoleItHasChangesNothing) {
  TAppScope app;
  TForm* form = QuietForm();
  TKemButton* b = NewButton(form);
  b->SetActionType(atOk);
  b->SetDefault(false);
  b->SetModalResult(mrAbort);
  b->SetActionType(atOk);
  EXPECT_FALSE(b->Default());
  EXPECT_EQ(b->ModalResult(), mrAbort);
  // atCustom keeps result, Default and Cancel as they are.
  b->SetCancel(true);
  b->SetActionType(atCustom);
  EXPECT_EQ(b->ModalResult(), mrAbort);
  EXPECT_TRUE(b->Cancel());
  b->SetActionType(atNone);
  EXPECT_EQ(b->ModalResult(), mrNone);
  EXPECT_FALSE(b->Cancel());
}

TEST(KemButtonWin, TheCaptionComesFromTheLanguageByTheRolesName) {
  TAppScope app;
  TForm* form = QuietForm();
  TKemButton* b = NewButton(form);
  b->SetCaption(u"Designed");
  b->SetActionType(atCancel);  // no language yet: the caption stays
  EXPECT_EQ(b->Caption(), u"Designed");

  int lookups = 0;
  TLanguageTextHooks hooks;
  hooks.FindIndex = [&](const String& Name) {
    ++lookups;
    if (Name == "Button_Cancel") return 3;
    if (Name == "Button_Import") return 4;
    return -1;
  };
  hooks.Text = [](int Index, const WideString& Default) {
    return Index == 3 ? WideString(u"Abbrechen") : Index == 4 ? WideString(u"Importieren") : Default;
  };
  SetLanguageTextHooks(hooks);
  b->UpdateLanguage();  // the lookup is made again once a language is there
  EXPECT_EQ(b->Caption(), u"Abbrechen");
  b->UpdateLanguage();  // and only once
  EXPECT_EQ(lookups, 1);

  b->SetActionType(atCustom);
  b->SetLanId("Import");
  EXPECT_EQ(b->Caption(), u"Importieren");
  b->SetLanId("Unknown");  // a name the language lacks leaves the caption
  EXPECT_EQ(b->Caption(), u"Importieren");
  SetLanguageTextHooks({});
}

TEST(KemButtonWin, ARoleTakesTheFormsActionWhichAClickExecutes) {
  TAppScope app;
  TForm* form = QuietForm();
  auto* okAction = new TBasicAction(nullptr);
  okAction->SetCaption(u"Fine");
  int executed = 0;
  okAction->OnExecute = [&](TObject*) { ++executed; };
  SetFormActionFinder([&](TCustomForm* f, int id) { return f == form && id == 0 ? okAction : nullptr; });

  TKemButton* b = NewButton(form);
  b->SetFocusOnPress(false);
  b->SetActionType(atOk);
  EXPECT_EQ(b->Action(), okAction);
  EXPECT_EQ(b->Caption(), u"Fine");
  SendMouse(b->Handle(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  SendMouse(b->Handle(), WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(executed, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
  int own = 0;  // OnClick, when set, runs instead of the action
  b->OnClick = [&](TObject*) { ++own; };
  b->Click();
  EXPECT_EQ(own, 1);
  EXPECT_EQ(executed, 1);

  TKemButton* cancel = NewButton(form, 100, 10);
  cancel->SetActionType(atCancel);  // the form has no action 1: none, the rest of the role still holds
  EXPECT_EQ(cancel->Action(), nullptr);
  EXPECT_TRUE(cancel->Cancel());

  okAction->Free();  // the button forgets an action that goes
  EXPECT_EQ(b->Action(), nullptr);
  SetFormActionFinder({});
}

TEST(KemButtonWin, AnAcceleratorClicksTheButtonThatCarriesIt) {
  TAppScope app;
  TForm* form = QuietForm();
  TKemButton* save = NewButton(form, 10, 10);
  TKemButton* quit = NewButton(form, 100, 10);
  save->SetCaption(u"&Save");
  quit->SetCaption(u"Quit");
  TClicks saves, quits;
  saves.Attach(save);
  quits.Attach(quit);
  EXPECT_TRUE(BroadcastDialogChar(form, u's', {ssAlt}));
  EXPECT_TRUE(BroadcastDialogChar(form, u'S', {}));
  EXPECT_FALSE(BroadcastDialogChar(form, u'q', {ssAlt}));
  EXPECT_EQ(saves.count, 2);
  EXPECT_EQ(quits.count, 0);
}

TEST(KemButtonWin, PlainEdgesFollowTheColours) {
  TAppScope app;
  TForm* form = QuietForm();
  TKemButton* b = NewButton(form);
  b->SetFocusOnPress(false);
  DistinctColors(b);
  const int midY = 12;
  // Raised: outer light and inner spark on the left, outer frame and inner shadow on the right.
  EXPECT_EQ(PixelAt(b, 0, midY), kHighlight);
  EXPECT_EQ(PixelAt(b, 1, midY), kSpark);
  EXPECT_EQ(PixelAt(b, 74, midY), kFrame);
  EXPECT_EQ(PixelAt(b, 73, midY), kShadow);
  EXPECT_EQ(PixelAt(b, 30, 0), kHighlight);
  EXPECT_EQ(PixelAt(b, 30, 24), kFrame);
  EXPECT_EQ(PixelAt(b, 2, 3), kFace);

  // Pressed: one shadow rectangle.
  SendMouse(b->Handle(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_EQ(PixelAt(b, 0, midY), kShadow);
  EXPECT_EQ(PixelAt(b, 74, midY), kShadow);
  EXPECT_EQ(PixelAt(b, 1, midY), kFace);
  SendMouse(b->Handle(), WM_LBUTTONUP, 200, 5);

  // The default look adds an outer frame.
  b->SetDefault(true);
  EXPECT_TRUE(b->DefaultLook());
  EXPECT_EQ(PixelAt(b, 0, midY), kFrame);
  EXPECT_EQ(PixelAt(b, 1, midY), kHighlight);
  EXPECT_EQ(PixelAt(b, 2, midY), kSpark);
  b->SetNoFraming(true);  // unless the button has no framing
  EXPECT_EQ(PixelAt(b, 0, midY), kHighlight);
  b->SetNoFraming(false);

  // Flat: a shadow frame, also with the default look; flat and raised: light and shadow.
  b->SetFlat(true);
  EXPECT_EQ(PixelAt(b, 0, midY), kShadow);
  EXPECT_EQ(PixelAt(b, 74, midY), kShadow);
  EXPECT_EQ(PixelAt(b, 1, midY), kFace);
  b->SetFlatRaised(true);
  EXPECT_EQ(PixelAt(b, 0, midY), kHighlight);
  EXPECT_EQ(PixelAt(b, 74, midY), kShadow);
  SendMouse(b->Handle(), WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_EQ(PixelAt(b, 0, midY), kShadow);
  SendMouse(b->Handle(), WM_LBUTTONUP, 200, 5);
}

TEST(KemButtonWin, AButtonWithAGlyphDrawsNoCaption) {
  TAppScope app;
  TForm* form = QuietForm();
  TKemButton* b = NewButton(form);
  DistinctColors(b);
  b->SetCaption(u"WWWWWWWW");
  // A glyph entirely of its transparent colour: nothing of it shows, and no caption either.
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) glyph.SetPixelColor(x, y, clFuchsia);
  b->SetGlyph(glyph);
  b->Repaint();
  TBitmap* picture = b->PaintBuffer();
  for (int y = 2; y < 23; ++y) {
    for (int x = 2; x < 73; ++x) ASSERT_EQ(picture->PixelColor(x, y), kFace) << x << "," << y;
  }
}
