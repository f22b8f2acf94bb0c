// Texts that do not show whole: every caption, label, button, check box and
// list item under a window measured with the control's own font against the
// room the control gives it. Hidden pages are walked too.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemchkbx_win.h"
#include "kem3/controls/kemchklb_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/unicode/ucaccel.h"
#include "kem3/unicode/ucstdctrls_win.h"
#include "platform/unicode_convert.h"

namespace textfit {

inline int TextWidth(TControl& Control, const WideString& Text) {
  TFontTextMeasure measure(*Control.Font());
  return measure.TextExtent(StripWideHotKey(Text)).cx;
}

// A word-wrapped label: the lines its width makes must fit its height.
inline bool WrappedFits(TKemLabel& Label) {
  TBitmap scratch;
  scratch.Canvas()->Font()->Assign(*Label.Font());
  RECT r{0, 0, Label.Width(), 0};
  const WideString text = StripWideHotKey(Label.Caption());
  DrawTextW(scratch.Canvas()->Handle(), reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
            &r, DT_CALCRECT | DT_WORDBREAK);
  return r.right <= Label.Width() && r.bottom <= Label.Height();
}

inline void Collect(TWinControl& Parent, std::vector<std::string>& Cut) {
  const auto note = [&Cut](TControl& C, const WideString& Text, int Need) {
    Cut.push_back(WideToUtf8(Text) + " (" + std::to_string(Need) + " > " + std::to_string(C.Width()) + ")");
  };
  const auto items = [&](TControl& C, TUcStrings& Items, int Beside) {
    for (int i = 0; i < Items.Count(); ++i)
      if (TextWidth(C, Items.Get(i)) + Beside > C.Width()) note(C, Items.Get(i), TextWidth(C, Items.Get(i)) + Beside);
  };
  for (int i = 0; i < Parent.ControlCount(); ++i) {
    TControl& c = *Parent.Controls(i);
    if (auto* w = dynamic_cast<TWinControl*>(&c)) Collect(*w, Cut);
    if (!c.Visible()) continue;
    if (auto* label = dynamic_cast<TKemLabel*>(&c)) {
      for (int j = 0; j < Parent.ControlCount(); ++j) {
        auto* over = dynamic_cast<TWinControl*>(Parent.Controls(j));
        if (!over || !over->Visible()) continue;
        const TRect a = label->BoundsRect(), b = over->BoundsRect();
        if (a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom)
          note(c, label->Caption() + u" under a control", 0);
      }
      if (label->WordWrap() ? !WrappedFits(*label) : TextWidth(c, label->Caption()) > c.Width())
        note(c, label->Caption(), TextWidth(c, label->Caption()));
    } else if (auto* button = dynamic_cast<TKemButton*>(&c)) {
      if (!button->Caption().empty() && TextWidth(c, button->Caption()) + 4 > c.Width())
        note(c, button->Caption(), TextWidth(c, button->Caption()) + 4);
    } else if (auto* check = dynamic_cast<TKemCheckbox*>(&c)) {
      if (TextWidth(c, check->Caption()) + 19 > c.Width())
        note(c, check->Caption(), TextWidth(c, check->Caption()) + 19);
    } else if (auto* list = dynamic_cast<TKemDropDownList*>(&c)) {
      items(c, *list->Items(), 21);
    } else if (auto* checks = dynamic_cast<TKemCheckListBox*>(&c)) {
      items(c, *checks->Items(), TKemCheckListBox::CheckWidth() + 4 + 4);
    } else if (auto* combo = dynamic_cast<TUcCustomComboBox*>(&c)) {
      items(c, *combo->Items(), GetSystemMetrics(SM_CXVSCROLL) + 4);
    }
  }
}

// "text (needed > width)" for each text under Parent that its control cuts.
inline std::vector<std::string> CutTexts(TWinControl& Parent) {
  std::vector<std::string> cut;
  Collect(Parent, cut);
  return cut;
}

}  // namespace textfit
