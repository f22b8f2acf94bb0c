// A dialog walked by keys alone: Tab from a start through every control and
// back to it, Shift+Tab the same way back, and Enter and Escape pressed in
// each kind of control, all as WM_KEYDOWN to the focused window.
#pragma once
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemchkbx_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "platform/edit_win.h"
#include "platform/forms_win.h"
#include "platform/stdctrls_win.h"
#include "support/keys_win.h"

namespace keywalk {

// The windows that took the focus, Tab by Tab, from the focused one until it
// comes back (at most Limit stops).
inline std::vector<HWND> TabCycle(bool Backwards, int Limit = 200) {
  std::vector<HWND> stops{GetFocus()};
  for (int i = 0; i < Limit; ++i) {
    if (Backwards) {
      PressFocused(VK_TAB, {VK_SHIFT});
    } else {
      PressFocused(VK_TAB);
    }
    if (GetFocus() == stops.front()) return stops;
    stops.push_back(GetFocus());
  }
  stops.push_back(nullptr);  // never came back
  return stops;
}

// The innermost controls under Parent that Tab should reach: tab stops that
// can take the focus and hold no such control themselves.
inline void TabStops(TWinControl& Parent, std::vector<TWinControl*>& Found) {
  for (int i = 0; i < Parent.ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(Parent.Controls(i));
    if (!w) continue;
    const size_t before = Found.size();
    TabStops(*w, Found);
    if (Found.size() == before && w->TabStop() && w->CanFocus()) Found.push_back(w);
  }
}

// The kind of control that has the focus, as the keys treat it.
inline std::string FocusKind() {
  HWND focus = GetFocus();
  TWinControl* control = FindControl(focus);
  if (!control) control = FindControl(GetParent(focus));  // a combo box's edit
  if (!control) return "none";
  if (dynamic_cast<TKemCustomButton*>(control)) return "button";
  if (dynamic_cast<TKemCheckbox*>(control)) return "check box";
  if (dynamic_cast<TKemDropDownList*>(control)) return "list";
  if (dynamic_cast<TCustomComboBox*>(control)) return "combo box";
  if (dynamic_cast<TCustomEdit*>(control)) return "edit";
  return "other";
}

// Faults of a Tab walk from the focused control of Form: a stop twice, no
// return, a tab stop never reached, Shift+Tab not the way back.
inline std::vector<std::string> WalkFaults(TCustomForm& Form) {
  std::vector<std::string> faults;
  const std::vector<HWND> forth = TabCycle(false);
  if (forth.back() == nullptr) faults.push_back("Tab never returns to the start");
  std::vector<HWND> sorted = forth;
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) faults.push_back("a control is visited twice");
  std::vector<TWinControl*> stops;
  TabStops(Form, stops);
  for (TWinControl* stop : stops) {
    const bool reached = std::any_of(forth.begin(), forth.end(), [stop](HWND h) {
      return h && (h == stop->Handle() || IsChild(stop->Handle(), h));
    });
    if (!reached) faults.push_back("never reached: " + std::string(typeid(*stop).name()));
  }
  std::vector<HWND> back = TabCycle(true);
  if (back.size() == forth.size()) {
    std::reverse(back.begin() + 1, back.end());
    if (back != forth) faults.push_back("Shift+Tab is not the way back");
  } else {
    faults.push_back("Shift+Tab makes " + std::to_string(back.size()) + " stops, Tab " +
                     std::to_string(forth.size()));
  }
  return faults;
}

// Enter and Escape from the first control of each kind on the Tab walk:
// Escape cancels the form, Enter gives it its default button's result
// (a focused button answers Enter itself and is left out). The form's
// result is put back after each key. "kind: key -> result" for each fault.
inline std::vector<std::string> EnterEscapeFaults(TCustomForm& Form, TModalResult Default, TModalResult Cancel,
                                                  std::vector<std::string>* Kinds = nullptr) {
  std::vector<std::string> faults;
  std::map<std::string, HWND> first;
  for (HWND stop : TabCycle(false)) {
    if (!stop) continue;
    SetFocus(stop);
    first.emplace(FocusKind(), stop);
  }
  for (const auto& [kind, stop] : first) {
    if (Kinds) Kinds->push_back(kind);
    for (const auto& [key, expected] : {std::pair<WPARAM, TModalResult>{VK_ESCAPE, Cancel}, {VK_RETURN, Default}}) {
      if (kind == "button" && key == VK_RETURN) continue;
      SetFocus(stop);
      Form.SetModalResult(mrNone);
      PressFocused(key);
      if (Form.ModalResult() != expected)
        faults.push_back(kind + (key == VK_RETURN ? ": Enter -> " : ": Escape -> ") +
                         std::to_string(static_cast<int>(Form.ModalResult())));
      Form.SetModalResult(mrNone);
    }
  }
  return faults;
}

}  // namespace keywalk
