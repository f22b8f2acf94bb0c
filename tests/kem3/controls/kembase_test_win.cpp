// The base classes: language updates walk through plain windowed controls,
// dialog keys and characters go round until one control takes them, and the
// wide text helpers measure and draw; colours come from the parent unless
// a control is made with its own.
#include "kem3/controls/kembase_win.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "kem3/controls/kemcedit_win.h"
#include "kem3/controls/kemchkbx_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemsedit_win.h"
#include "platform/app_scope_win.h"
#include "platform/extctrls_win.h"

namespace {

using Log = std::vector<std::string>;

class TLabelProbe : public TKemGraphicControl {
 public:
  TLabelProbe(TComponent* AOwner, Log& log, std::string name) : TKemGraphicControl(AOwner), FLog(log), FName(name) {}
  void UpdateLanguage() override { FLog.push_back("language " + FName); }

 private:
  Log& FLog;
  std::string FName;
};

class TKeyProbe : public TKemCustomControl {
 public:
  TKeyProbe(TComponent* AOwner, Log& log, std::string name, bool takes)
      : TKemCustomControl(AOwner), FLog(log), FName(name), FTakes(takes) {}
  bool DialogKey(std::uint16_t Key, TShiftState Shift) override {
    FLog.push_back("key " + FName);
    return FTakes || TKemCustomControl::DialogKey(Key, Shift);
  }
  bool DialogChar(WideChar Key, TShiftState Shift) override {
    FLog.push_back("char " + FName);
    return FTakes || TKemCustomControl::DialogChar(Key, Shift);
  }

 private:
  Log& FLog;
  std::string FName;
  bool FTakes;
};

template <class T, class... A>
T* Put(TWinControl* parent, A&&... args) {
  auto* c = new T(parent, std::forward<A>(args)...);
  c->SetParent(parent);
  return c;
}

}  // namespace

TEST(KemBaseWin, ALanguageSwitchReachesALabelInsideALibraryPanelInsideAPlainPanel) {
  TAppScope app;
  Log log;
  auto* form = NewForm<TQuietForm>(Application);
  auto* plain = Put<TPanel>(form);
  auto* kem = Put<TKemCustomControl>(plain);
  Put<TLabelProbe>(kem, log, "inner");
  Put<TLabelProbe>(form, log, "outer");
  UpdateChildLanguage(form);
  EXPECT_EQ(log, (Log{"language inner", "language outer"}));
}

TEST(KemBaseWin, DialogKeysGoRoundUntilAControlTakesThem) {
  TAppScope app;
  Log log;
  auto* form = NewForm<TQuietForm>(Application);
  auto* plain = Put<TPanel>(form);
  auto* outer = Put<TKeyProbe>(plain, log, "outer", false);
  Put<TKeyProbe>(outer, log, "inner", false);
  Put<TKeyProbe>(form, log, "taker", true);
  Put<TKeyProbe>(form, log, "late", true);
  EXPECT_TRUE(BroadcastDialogKey(form, VK_RETURN, {}));
  EXPECT_EQ(log, (Log{"key outer", "key inner", "key taker"}));
  log.clear();
  EXPECT_TRUE(BroadcastDialogChar(form, u'a', {ssAlt}));
  EXPECT_EQ(log, (Log{"char outer", "char inner", "char taker"}));
  log.clear();
  EXPECT_FALSE(BroadcastDialogKey(plain, VK_ESCAPE, {}));
  EXPECT_EQ(log, (Log{"key outer", "key inner"}));
}

TEST(KemBaseWin, WideTextIsMeasuredAndDrawnWithTheCanvasFont) {
  TAppScope app;
  TBitmap bitmap;
  bitmap.SetSize(200, 50);
  TCanvas* canvas = bitmap.Canvas();
  const WideString text = u"Gr\u00fc\u00dfe \u0416";
  EXPECT_EQ(WideTextWidth(canvas, text), canvas->TextWidth(text));
  EXPECT_EQ(WideTextHeight(canvas, text), canvas->TextHeight(text));
  EXPECT_GT(WideTextWidth(canvas, text), WideTextWidth(canvas, u"Gr"));
  TCanvasTextMeasure byCanvas(canvas);
  TFontTextMeasure byFont(*canvas->Font());
  EXPECT_EQ(byCanvas.TextExtent(text), byFont.TextExtent(text));

  TRect r = Rect(0, 0, 200, 50);
  const int height = LibDrawText(canvas->Handle(), text, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(height, canvas->TextHeight(text));
  EXPECT_EQ(r.Width(), canvas->TextWidth(text));
  EXPECT_TRUE(LibExtTextOut(canvas->Handle(), 0, 0, 0, nullptr, text));
  const LONG extent = LibTabbedTextOut(canvas->Handle(), 0, 20, u"a\tb", 0, nullptr, 0);
  EXPECT_GT(LOWORD(extent), 0);
}

// Labels, check boxes and the colour picker show the colour of what they
// stand on; fields and lists keep the window colour they are made with.
TEST(KemBaseWin, ControlsTakeTheirParentsColourUnlessMadeWithTheirOwn) {
  TAppScope app;
  constexpr TColor kFace = RGBColor(40, 160, 60);
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(0, 0, 300, 200);
  form->SetColor(kFace);
  const auto put = [form](TControl* c, int Top) {
    c->SetParent(form);
    c->SetBounds(4, Top, 200, 21);
    return c;
  };
  auto* box = static_cast<TKemCheckbox*>(put(new TKemCheckbox(form), 4));
  box->SetCaption(u"Box");
  TControl* own[] = {put(new TKemLabel(form), 30), box, put(new TKemColorEdit(form), 56)};
  TControl* window[] = {put(new TKemDropDownList(form), 82), put(new TKemEdit(form), 108),
                        put(new TKemSpinEdit(form), 134)};
  form->Show();
  for (TControl* c : own) EXPECT_EQ(c->Color(), kFace) << typeid(*c).name();
  for (TControl* c : window) EXPECT_EQ(c->Color(), clWindow) << typeid(*c).name();
  box->Repaint();
  EXPECT_EQ(box->PaintBuffer()->PixelColor(190, 10), kFace);
}
