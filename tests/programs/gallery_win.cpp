// gallery.exe: one form with every control of the library: its input
// controls and containers in a raised row and a flat row, and beside them a
// notebook, a frame, an image, the logo and the form's default and cancel
// buttons; captions in Greek and Cyrillic. The hook library is bound as the
// program binds it, so the popups close on a click outside them and each
// control's keys can be tried. To look at under Wine: the drop-down list opens
// its popup after a second; the gallery ends after the seconds given as its
// argument (default 5), or at once with OK or Cancel. "gallery check" ends
// after its first show, failing when a kind of control, the hook library or
// the default button is missing (a test runs it so).
#include <cwchar>

#include <algorithm>
#include <cstdio>
#include <string>
#include <typeinfo>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemcedit_win.h"
#include "kem3/controls/kemchkbx_win.h"
#include "kem3/controls/kemchklb_win.h"
#include "kem3/controls/kemctrls_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemform_win.h"
#include "kem3/controls/kemgroup_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/controls/kempicture_win.h"
#include "kem3/controls/kemsedit_win.h"
#include "kem3/controls/kemtrack_win.h"
#include "kem3/framework/kemhi_win.h"
#include "platform/application_win.h"
#include "platform/timer.h"

namespace {

class TGalleryForm : public TKemForm {
 public:
  explicit TGalleryForm(TComponent* AOwner) : TKemForm(AOwner, TKemForm::TCreateNew{}) {
    SetCaption(u"Συλλογή — Галерея");
    SetBounds(10, 10, 1000, 600);
    SetColor(clBtnFace);
    for (int row = 0; row < 2; ++row) BuildRow(row == 1, 10 + row * 250);
    BuildPictures(780);
    auto* ok = Place<TKemButton>(this, 780, 520, 95, 25);
    ok->SetActionType(atOk);
    ok->SetDefault(true);
    auto* cancel = Place<TKemButton>(this, 885, 520, 95, 25);
    cancel->SetActionType(atCancel);
    cancel->SetCancel(true);
    for (TKemButton* b : {ok, cancel}) b->OnClick = [](TObject*) { Application->Terminate(); };
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
  // A notebook whose button turns its pages, a frame, an image and the logo.
  void BuildPictures(int Left) {
    auto* book = Place<TKemNotebook>(this, Left, 10, 200, 110);
    book->SetPages({"Α", "Б"});
    const char16_t* texts[] = {u"Σελίδα 1 — страница 1", u"Σελίδα 2 — страница 2"};
    for (int i = 0; i < 2; ++i) {
      book->GetPage(i)->SetColor(i ? clInfoBk : clWindow);
      Place<TKemLabel>(book->GetPage(i), 10, 10, 0, 0)->SetCaption(texts[i]);
      Place<TKemEdit>(book->GetPage(i), 10, 40, 170, 21)->SetText(texts[1 - i]);
    }
    book->SetPageIndex(0);
    auto* turn = Place<TKemButton>(this, Left, 125, 200, 25);
    turn->SetCaption(u"&Σελίδα — страница");
    turn->OnClick = [book](TObject*) { book->SetPageIndex(1 - book->PageIndex()); };
    auto* frame = Place<TKemFrame>(this, Left, 160, 200, 110);
    TBitmap rim;
    rim.SetPixelFormat(pf32bit);
    rim.SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) rim.SetPixelColor(x, y, x < 3 || y < 3 || x > 12 || y > 12 ? 0x804020 : 0xF0E0D0);
    frame->SetImage(rim);
    Place<TKemLabel>(frame, 10, 10, 0, 0)->SetCaption(u"Πλαίσιο — рамка");
    Place<TKemCheckbox>(frame, 10, 40, 170, 17)->SetCaption(u"&Μέσα — внутри");
    auto* image = Place<TKemImage>(this, Left, 280, 64, 64);
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(64, 64);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) picture.SetPixelColor(x, y, static_cast<TColor>(RGB(x * 4, y * 4, (x + y) * 2)));
    image->SetImage(picture);
    image->SetCenter(true);
    auto* logo = Place<TKemLogo>(this, Left + 80, 280, 120, 64);
    logo->SetColor(clTeal);
  }

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

// The kinds of control the gallery shows; a check fails on any it misses.
bool CheckGallery(TGalleryForm& Form) {
  std::vector<std::string> found;
  bool defaultButton = false;
  auto walk = [&](auto&& self, TWinControl& Parent) -> void {
    for (int i = 0; i < Parent.ControlCount(); ++i) {
      TControl* c = Parent.Controls(i);
      found.push_back(typeid(*c).name());
      if (auto* b = dynamic_cast<TKemButton*>(c)) defaultButton = defaultButton || b->Default();
      if (auto* w = dynamic_cast<TWinControl*>(c)) self(self, *w);
    }
  };
  walk(walk, Form);
  const std::type_info* kinds[] = {&typeid(TKemGroup),        &typeid(TKemLabel),     &typeid(TKemDropDownList),
                                   &typeid(TKemSpinEdit),     &typeid(TKemEdit),      &typeid(TKemCheckbox),
                                   &typeid(TKemUnitComboBox), &typeid(TKemTracker),   &typeid(TKemCheckListBox),
                                   &typeid(TKemPanel),        &typeid(TKemColorEdit), &typeid(TKemListBox),
                                   &typeid(TKemNotebook),     &typeid(TKemFrame),     &typeid(TKemImage),
                                   &typeid(TKemLogo),         &typeid(TKemButton)};
  bool ok = true;
  for (const std::type_info* kind : kinds)
    if (std::find(found.begin(), found.end(), kind->name()) == found.end()) {
      std::printf("missing: %s\n", kind->name());
      ok = false;
    }
  if (!HookLibraryLoaded()) std::printf("the hook library is not bound\n");
  if (!defaultButton) std::printf("no default button\n");
  return ok && HookLibraryLoaded() && defaultButton;
}

int wmain(int argc, wchar_t** argv) {
  InitApplication();
  BindHookLibrary();
  if (argc > 1 && std::wstring(argv[1]) == L"check") {
    auto* form = Application->CreateForm<TGalleryForm>();
    form->Show();
    const bool ok = CheckGallery(*form);
    DoneApplication();
    FreeHookLibrary();
    return ok ? 0 : 1;
  }
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
  FreeHookLibrary();
  return 0;
}
