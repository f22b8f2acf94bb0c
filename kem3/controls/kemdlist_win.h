// TKemDropDownList: the library's read-only choice box: a sunken field with
// the selected entry, a drop button, and a popup list below (or above) that
// never takes the focus or activation. A press anywhere outside the popup
// closes it through the hook library's mouse areas; without the library the
// popup still opens and closes by the keys, the toggle, a release and focus loss.
#pragma once
#include <memory>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembordercolors.h"
#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemdlist_model.h"
#include "kem3/controls/kemfield_win.h"
#include "kem3/unicode/ucwidestrings.h"
#include "platform/setprop.h"

class TKemButton;
class TKemDropDownList;

// The drop buttons' arrow: a small filled triangle pointing down, centred in Area.
void DrawDropArrow(TCanvas* Canvas, const TRect& Area, TColor Color);

// The popup: a top-level list on the desktop that draws its selection as
// focused while the control keeps the focus. Presses select in it without
// focusing it; the release closes it.
class TPopupListbox : public TKemListBox {
 public:
  TPopupListbox(TKemDropDownList* Owner);
  bool FlatLook() const { return FFlatLook; }
  void SetFlatLook(bool Value) { FFlatLook = Value; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;

 private:
  void SelectAt(int X, int Y);
  void CopyScrollBars();

  TKemDropDownList* FList;
  bool FFlatLook = false;
};

class TKemDropDownList : public TKemCustomControl, public TKemBorderColored {
 public:
  explicit TKemDropDownList(TComponent* AOwner);
  ~TKemDropDownList() override;

  TUcStrings* Items() const { return FItems.get(); }
  void SetItems(const TWideStrings& Value) { FItems->Assign(Value); }
  // Stored and repainted: no OnChange, the popup is not touched.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) { FDropDownCount = Value; }
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);

  TColor ColorFill() const { return FColorFill; }
  void SetColorFill(TColor Value) { SetPainted(*this, FColorFill, Value); }

  // The popup is open.
  bool DroppedDown() const { return FDropped; }
  // The popup while open, else nil.
  TPopupListbox* Popup() const { return FPopup; }
  TKemButton* DropButton() const { return FButton; }
  // Opens the popup (nothing when open), as wide as the control or, for a
  // longer entry, as wide as that entry needs.
  void DropDown();
  // Closes the popup (nothing when closed); accepting takes its selection and
  // fires OnChange, changed or not.
  void CloseUp(bool Accept);
  // A press on the control or its button: closes an open popup, opens a closed one.
  void Toggle();
  // The hook areas last set: the screen less the popup.
  const std::array<TRect, 4>& OutsideAreas() const { return FAreas; }

  TNotifyEvent OnChange;

 protected:
  void BorderColorChanged(TColor TBorderColors::*Which) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(WideChar& Key) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void EnabledChanged() override;
  void FontChanged() override;
  void Resize() override;

 private:
  void Move(TDropDownMove Move);
  void PlaceButton();
  // The width of the longest entry in the control's font.
  int WidestItem();
  // Runs a hook-library call; a failing one leaves the popup working without it.
  template <class F>
  void HookCall(F&& Call);

  std::unique_ptr<TUcStringList> FItems;
  int FItemIndex = -1;
  int FDropDownCount = 8;
  bool FAutoComplete = true;
  bool FFlat = false;
  TColor FColorFill = clBtnFace;
  bool FDropped = false;
  bool FHooked = false;
  // The hook closed the popup on a press over the control: that press (which
  // may come after) does not open it again.
  bool FSwallowPress = false;
  TPopupListbox* FPopup = nullptr;  // owned as a component
  TKemButton* FButton = nullptr;    // owned as a component
  TDropDownSearch FSearch;
  std::array<TRect, 4> FAreas{};
};
