// gallery.exe: one form with the library's input controls and containers,
// a raised row and a flat row, captions in Greek and Cyrillic, to look at
// under Wine (not shipped, run by no test). The drop-down list opens its
// popup after a second. Ends after the seconds given as its argument
// (default 5).
#include <cwchar>

#include "kem3/controls/kemcedit_win.h"
#include "kem3/controls/kemchkbx_win.h"
#include "kem3/controls/kemchklb_win.h"
#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemgroup_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/controls/kemsedit_win.h"
#include "kem3/controls/kemtrack_win.h"
#include "kem3/framework/kemform_win.h"
#include "platform/application_win.h"
#include "platform/timer.h"

namespace {

template <class T>
T* Place(TWinControl* Parent, int Left, int Top, int Width, int Height) {
  auto* control = new T(Parent);
  control->SetParent(Parent);
  control->SetBounds(Left, Top, Width, Height);
  return control;
}

class TGalleryForm : public TKemForm {
 public:
  explicit TGalleryForm(TComponent* AOwner) : TKemForm(AOwner, TKemForm::TCreateNew{}) {
    SetCaption(u"Συλλογή — Галерея");
    SetBounds(10, 10, 780, 560);
    SetColor(clBtnFace);
    for (int row = 0; row < 2; ++row) BuildRow(row == 1, 10 + row * 250);
    Picker = new TKemColorEdit(this);  // as big as its children
    Picker->SetParent(this);
    Picker->SetLeft(610);
    Picker->SetTop(10);
    Picker->AddColor(0x3060C0, "Αμμώδες");
    Picker->SetList(Place<TKemListBox>(this, 610, 434, 155, 80));
    Picker->AddColor(0x208020, "Зелёный");
  }

  TKemDropDownList* Drop = nullptr;
  TKemColorEdit* Picker = nullptr;

 private:
  void BuildRow(bool Flat, int Top) {
    auto* group = Place<TKemGroup>(this, 10, Top, 590, 240);
    group->SetCaption(Flat ? u"&Επίπεδα — плоские" : u"&Ανάγλυφα — объёмные");
    auto* label = Place<TKemLabel>(group, 10, 24, 0, 0);
    label->SetCaption(u"&Πόλη:");
    auto* drop = Place<TKemDropDownList>(group, 90, 20, 150, 21);
    for (const char16_t* city : {u"Αθήνα", u"Berlin", u"Москва", u"Θεσσαλονίκη"}) drop->Items()->Add(city);
    drop->SetItemIndex(Flat ? 2 : 0);
    drop->SetFlat(Flat);
    label->SetFocusControl(drop);
    if (!Flat) Drop = drop;
    auto* spin = Place<TKemSpinEdit>(group, 260, 20, 80, 21);
    spin->SetFlat(Flat);
    spin->SetMaxValue(10);
    spin->SetValue(7);
    auto* edit = Place<TKemEdit>(group, 360, 20, 210, 21);
    edit->SetFlat(Flat);
    edit->SetText(u"Καλημέρα, мир");
    auto* box = Place<TKemCheckbox>(group, 10, 56, 160, 17);
    box->SetCaption(u"&Ενεργό — включено");
    box->SetFlat(Flat);
    box->SetChecked(true);
    auto* grey = Place<TKemCheckbox>(group, 180, 56, 160, 17);
    grey->SetCaption(u"Γκρι — серый");
    grey->SetFlat(Flat);
    grey->SetState(cbGrayed);
    grey->SetEnabled(!Flat);
    auto* unit = Place<TKemUnitComboBox>(group, 360, 54, 100, 21);
    for (const char16_t* u : {u"χιλ.", u"мм", u"px"}) unit->Items()->Add(u);
    unit->SetItemIndex(1);
    auto* track = Place<TKemTracker>(group, 10, 86, 300, 42);
    track->SetPosition(Flat ? 70 : 30);
    track->SetLegendFormat("%.0f %%");
    auto* turned = Place<TKemLabel>(group, 300, 140, 0, 0);
    turned->SetCaption(u"Κάτω — вниз");
    turned->SetDirection(Flat ? tdBottomTop : tdTopBottom);
    auto* checks = Place<TKemCheckListBox>(group, 330, 86, 240, 90);
    checks->SetFlat(Flat);
    for (const char16_t* item : {u"Ελληνικά", u"Русский", u"English"}) checks->Items()->Add(item);
    checks->SetChecked(0, true);
    checks->SetState(1, cbGrayed);
    auto* panel = Place<TKemPanel>(group, 10, 140, 280, 86);
    panel->SetBevelOuter(Flat ? bvLowered : bvRaised);
    panel->SetCaption(Flat ? u"Πίνακας — панель" : u"Панель — πίνακας");
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitApplication();
  const long seconds = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 5;
  auto* form = Application->CreateForm<TGalleryForm>();
  form->Show();
  auto* open = new TTimer(Application);
  open->SetInterval(1000);
  open->OnTimer = [form, open](TObject*) {
    open->SetEnabled(false);
    form->Drop->SetFocus();
    form->Drop->DropDown();
  };
  auto* done = new TTimer(Application);
  done->SetInterval(static_cast<unsigned>(seconds > 0 ? seconds : 5) * 1000);
  done->OnTimer = [](TObject*) { Application->Terminate(); };
  Application->Run();
  DoneApplication();
  return 0;
}
