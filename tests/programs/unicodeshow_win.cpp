// unicodeshow.exe: a form of the Unicode layer with a combo box, a list box,
// labels and a hint in Greek and Cyrillic, each window re-created by a style
// change after it was filled, to look at under Wine. Ends after the seconds
// given as its argument (default 5), or when closed.
#include <cwchar>

#include "kem3/unicode/ucforms_win.h"
#include "kem3/unicode/ucstdctrls_win.h"
#include "platform/application_win.h"
#include "platform/timer.h"

namespace {

class TShowForm : public TUcForm {
 public:
  explicit TShowForm(TComponent* AOwner) : TUcForm(AOwner) {
    SetCaption(u"Ελληνικά и кириллица");
    SetBounds(40, 40, 520, 300);
    SetColor(clBtnFace);

    auto* comboLabel = new TUcLabel(this);
    comboLabel->SetParent(this);
    comboLabel->SetBounds(16, 16, 200, 16);
    comboLabel->SetCaption(u"&Πόλη / Город:");
    Combo = new TUcComboBox(this);
    Combo->SetParent(this);
    Combo->SetBounds(16, 36, 220, 24);
    for (const char16_t* s : {u"Αθήνα", u"Θεσσαλονίκη", u"Москва", u"Санкт-Петербург", u"Ηράκλειο"}) {
      Combo->Items()->Add(s);
    }
    Combo->SetItemIndex(2);
    comboLabel->SetFocusControl(Combo);

    auto* listLabel = new TUcLabel(this);
    listLabel->SetParent(this);
    listLabel->SetBounds(260, 16, 200, 16);
    listLabel->SetCaption(u"&Список / Λίστα:");
    List = new TUcListBox(this);
    List->SetParent(this);
    List->SetBounds(260, 36, 230, 150);
    for (const char16_t* s : {u"Альфа — Άλφα", u"Бета — Βήτα", u"Гамма — Γάμμα", u"Дельта — Δέλτα", u"Эпсилон — Έψιλον",
                              u"Дзета — Ζήτα", u"Эта — Ήτα", u"Тета — Θήτα"}) {
      List->Items()->Add(s);
    }
    List->SetItemIndex(3);
    listLabel->SetFocusControl(List);

    auto* disabled = new TUcLabel(this);
    disabled->SetParent(this);
    disabled->SetBounds(16, 80, 220, 16);
    disabled->SetCaption(u"Недоступно — Μη διαθέσιμο");
    disabled->SetEnabled(false);

    Combo->SetHint(u"Выберите город|Πόλη της λίστας");
    Combo->SetShowHint(true);
  }

  // Every window made anew: what it shows must come back whole.
  void Recreate() {
    Combo->SetStyle(csDropDownList);
    Combo->SetStyle(csDropDown);
    List->SetBorderStyle(lbsNone);
    List->SetBorderStyle(lbsSingle);
    SetBorderStyle(bsSingle);
  }

  TUcComboBox* Combo;
  TUcListBox* List;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitApplication();
  const long seconds = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 5;
  auto* form = Application->CreateForm<TShowForm>();
  form->Show();
  form->Recreate();
  form->Show();
  // The hint of the combo box, shown under its middle.
  const TPoint at = form->Combo->ClientToScreen(Point(40, 4));
  Application->ActivateHint(at);
  auto* done = new TTimer(Application);
  done->SetInterval(static_cast<unsigned>(seconds > 0 ? seconds : 5) * 1000);
  done->OnTimer = [](TObject*) { Application->Terminate(); };
  Application->Run();
  DoneApplication();
  return 0;
}
