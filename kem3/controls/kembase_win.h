// The base classes the library's controls descend from: each adds a language
// update that the form calls when the language changes, so a control can
// re-read its texts, and answers the dialog keys and characters a form hands
// round. Also placing a new control, wide-text measuring and the wide
// text-output entries.
//
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kem3/controls/kemtextmeasure.h"
#include "platform/controls_win.h"
#include "platform/forms_win.h"
#include "platform/groupbox_win.h"
#include "platform/stdctrls_win.h"

class TBasicAction;

// What every library control adds to its class-layer base. The walks below
// find library controls by this interface, whatever their base.
class IKemControl {
 public:
  virtual ~IKemControl() = default;
  // Re-reads the control's texts from the current language.
  virtual void UpdateLanguage() = 0;
  // A key the form hands round before its focused control's default handling
  // (Enter, Escape…): true when the control took it.
  virtual bool DialogKey(std::uint16_t Key, TShiftState Shift) = 0;
  // A character the form hands round for accelerators: true when taken.
  virtual bool DialogChar(WideChar Key, TShiftState Shift) = 0;
};

// Re-translates the children of Parent: library controls answer themselves
// (UpdateLanguage), plain windowed controls are walked into.
void UpdateChildLanguage(TWinControl* Parent);

// Hand a dialog key or character to the children of Root, depth first in
// child order, until one takes it: library controls answer themselves (their
// own children through them), plain windowed controls are walked into.
// A form calls these with itself as Root; they return whether a control took it.
bool BroadcastDialogKey(TWinControl* Root, std::uint16_t Key, TShiftState Shift);
bool BroadcastDialogChar(TWinControl* Root, WideChar Key, TShiftState Shift);

// A new control on Parent, which owns it, at the given bounds.
template <class T>
T* Place(TWinControl* Parent, int Left, int Top, int Width, int Height) {
  auto* control = new T(Parent);
  control->SetParent(Parent);
  control->SetBounds(Left, Top, Width, Height);
  return control;
}

class TKemWinControl : public TWinControl, public IKemControl {
 public:
  using TWinControl::TWinControl;
  void UpdateLanguage() override {}
  bool DialogKey(std::uint16_t Key, TShiftState Shift) override { return BroadcastDialogKey(this, Key, Shift); }
  bool DialogChar(WideChar Key, TShiftState Shift) override { return BroadcastDialogChar(this, Key, Shift); }
};

class TKemCustomControl : public TCustomControl, public IKemControl {
 public:
  using TCustomControl::TCustomControl;
  void UpdateLanguage() override { UpdateChildLanguage(this); }
  bool DialogKey(std::uint16_t Key, TShiftState Shift) override { return BroadcastDialogKey(this, Key, Shift); }
  bool DialogChar(WideChar Key, TShiftState Shift) override { return BroadcastDialogChar(this, Key, Shift); }
};

class TKemGraphicControl : public TGraphicControl, public IKemControl {
 public:
  using TGraphicControl::TGraphicControl;
  void UpdateLanguage() override {}
  bool DialogKey(std::uint16_t /*Key*/, TShiftState /*Shift*/) override { return false; }
  bool DialogChar(WideChar /*Key*/, TShiftState /*Shift*/) override { return false; }
};

class TKemCustomComboBox : public TCustomComboBox, public IKemControl {
 public:
  using TCustomComboBox::TCustomComboBox;
  void UpdateLanguage() override {}
  bool DialogKey(std::uint16_t /*Key*/, TShiftState /*Shift*/) override { return false; }
  bool DialogChar(WideChar /*Key*/, TShiftState /*Shift*/) override { return false; }
};

class TKemCustomGroupBox : public TCustomGroupBox, public IKemControl {
 public:
  using TCustomGroupBox::TCustomGroupBox;
  void UpdateLanguage() override { UpdateChildLanguage(this); }
  bool DialogKey(std::uint16_t Key, TShiftState Shift) override { return BroadcastDialogKey(this, Key, Shift); }
  // The caption's accelerator focuses the first control inside that takes
  // the focus; other characters go on to the children.
  bool DialogChar(WideChar Key, TShiftState Shift) override;
};

// Focuses the first windowed control inside Parent (depth first, in child
// order) that is a tab stop and can take the focus; false when none is.
bool SelectFirstChild(TWinControl* Parent);

// ---- Language texts of controls -------------------------------------------------
// The text name a control's LanId stands for: "<form name>_<LanId>" on a
// form (GetFormName of the program's forms, the Name of others), just LanId
// without one.
String ControlTextName(const TControl* Control, const String& LanId);

// A control's LanId and the index of the language text it names.
class TControlLanText {
 public:
  const String& LanId() const { return FLanId; }
  // Stores the name and looks its text up; false when it did not change.
  bool Set(const TControl* Control, const String& Value);
  // The text's index (-1: none); a name looked up before a language was
  // loaded is looked up again.
  int Index(const TControl* Control);

 private:
  String FLanId;
  int FIndex = -1;
};

// ---- Form actions --------------------------------------------------------------
// Controls that play a role on their form (a dialog's OK button) take the
// form's action of an id. The form base registers how to find it; until then,
// and for forms that keep no actions, there is none.
using TFormActionFinder = std::function<TBasicAction*(TCustomForm* Form, int Id)>;
void SetFormActionFinder(TFormActionFinder Finder);
// The action of Form with the id, or nullptr (also for a nil form).
TBasicAction* FindFormAction(TCustomForm* Form, int Id);

// ---- Wide text -------------------------------------------------------------------

// The pixel extent of a wide text in the canvas's font.
int WideTextWidth(TCanvas* Canvas, const WideString& Text);
int WideTextHeight(TCanvas* Canvas, const WideString& Text);

// Measures with a canvas's font, for the OS-free layout code.
class TCanvasTextMeasure : public ITextMeasure {
 public:
  explicit TCanvasTextMeasure(TCanvas* Canvas) : FCanvas(Canvas) {}
  TSize TextExtent(const WideString& Text) override;

 private:
  TCanvas* FCanvas;
};

// Measures with a font of its own on a memory canvas: for controls that lay
// themselves out before they have a window.
class TFontTextMeasure : public ITextMeasure {
 public:
  explicit TFontTextMeasure(const TFont& Font);
  ~TFontTextMeasure() override;
  TSize TextExtent(const WideString& Text) override;
  // The widest of the texts.
  int WidestText(const std::vector<WideString>& Texts);
  // The font's average character width, at least 1.
  int AverageCharWidth();

 private:
  std::unique_ptr<TBitmap> FBitmap;
};
// How wide Text (a caption or a part of it) is in Control's font, measured
// with a font of its own: the control may have no window yet.
int CaptionWidth(const TControl* Control, const WideString& Text);

// Text output of the label, drop-down list, checkbox and unit combo box. The
// system's wide calls serve every platform the program runs on. Rect takes
// what DrawText reports back (DT_CALCRECT); the result is the text's height.
int LibDrawText(HDC DC, const WideString& Text, TRect& Rect, UINT Format);
bool LibExtTextOut(HDC DC, int X, int Y, UINT Options, const TRect* Rect, const WideString& Text,
                   const int* Dx = nullptr);
// The extent of the drawn text (width low, height high word), as the system returns it.
LONG LibTabbedTextOut(HDC DC, int X, int Y, const WideString& Text, int TabCount, const int* TabPositions,
                      int TabOrigin);
