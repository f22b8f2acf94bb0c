// ucshow.exe: the Unicode layer's form with a main menu, tool buttons, combo
// box, list box, labels, list view with columns and tree view, all in Greek and
// Cyrillic, to look at under Wine (not shipped, run by no test). Every window is
// made anew by style changes after it was filled: what it shows must come back
// whole. Ends after the seconds given as its argument (default 5).
#include <cwchar>

#include "kem3/unicode/uccomctrls_win.h"
#include "kem3/unicode/ucforms_win.h"
#include "kem3/unicode/ucmenus_win.h"
#include "kem3/unicode/ucstdctrls_win.h"
#include "platform/application_win.h"
#include "platform/extctrls_win.h"
#include "platform/timer.h"

namespace {

template <class T>
T* Place(TWinControl* Parent, TComponent* Owner) {
  auto* control = new T(Owner);
  control->SetParent(Parent);
  return control;
}

class TShowForm : public TUcForm {
 public:
  explicit TShowForm(TComponent* AOwner) : TUcForm(AOwner) {
    SetCaption(u"Δοκιμή — Проверка");
    SetBounds(20, 20, 760, 460);
    SetColor(clBtnFace);
    BuildMenu();
    BuildToolBar();
    BuildLists();
    BuildViews();
  }

  // Every window made anew.
  void Recreate() {
    Combo->SetStyle(csDropDownList);
    Combo->SetStyle(csDropDown);
    List->SetBorderStyle(lbsNone);
    List->SetBorderStyle(lbsSingle);
    SetBorderStyle(BorderStyle() == bsSizeable ? bsSingle : bsSizeable);
  }

  TUcComboBox* Combo = nullptr;
  TUcListBox* List = nullptr;

 private:
  TUcMenuItem* AddItem(TMenuItem* Parent, const WideString& Caption, TShortCut Key = scNone) {
    auto* item = new TUcMenuItem(this);
    item->SetCaption(Caption);
    item->SetShortCut(Key);
    Parent->Add(item);
    return item;
  }

  void BuildMenu() {
    auto* menu = new TMainMenu(this);
    TUcMenuItem* file = AddItem(menu->Items(), u"&Αρχείο");
    AddItem(file, u"&Άνοιγμα", scCtrl | 'O');
    AddItem(file, u"-");
    AddItem(file, u"Выход", scAlt | VK_F4)->OnClick = [](TObject*) { Application->Terminate(); };
    AddItem(menu->Items(), u"&Справка");
    SetMenu(menu);
  }

  void BuildToolBar() {
    auto* bar = Place<TPanel>(this, this);
    bar->SetAlign(alTop);
    bar->SetHeight(26);
    const WideString captions[] = {u"Άλφα", u"Бета"};
    for (int i = 0; i < 2; ++i) {
      auto* button = Place<TUcToolButton>(bar, this);
      button->SetBounds(2 + i * 62, 2, 60, 22);
      button->SetCaption(captions[i]);
    }
  }

  void BuildLists() {
    auto* bottom = Place<TPanel>(this, this);
    bottom->SetAlign(alBottom);
    bottom->SetHeight(170);
    auto* comboLabel = Place<TUcLabel>(bottom, this);
    comboLabel->SetBounds(16, 8, 200, 16);
    comboLabel->SetCaption(u"&Πόλη / Город:");
    Combo = Place<TUcComboBox>(bottom, this);
    Combo->SetBounds(16, 28, 220, 24);
    for (const char16_t* s : {u"Αθήνα", u"Θεσσαλονίκη", u"Москва", u"Санкт-Петербург", u"Ηράκλειο"}) {
      Combo->Items()->Add(s);
    }
    Combo->SetItemIndex(2);
    Combo->SetHint(u"Выберите город|Πόλη της λίστας");
    Combo->SetShowHint(true);
    comboLabel->SetFocusControl(Combo);

    auto* disabled = Place<TUcLabel>(bottom, this);
    disabled->SetBounds(16, 70, 220, 16);
    disabled->SetCaption(u"Недоступно — Μη διαθέσιμο");
    disabled->SetEnabled(false);

    auto* listLabel = Place<TUcLabel>(bottom, this);
    listLabel->SetBounds(260, 8, 200, 16);
    listLabel->SetCaption(u"&Список / Λίστα:");
    List = Place<TUcListBox>(bottom, this);
    List->SetBounds(260, 28, 230, 130);
    for (const char16_t* s : {u"Альфа — Άλφα", u"Бета — Βήτα", u"Гамма — Γάμμα", u"Дельта — Δέλτα", u"Эпсилон — Έψιλον",
                              u"Дзета — Ζήτα", u"Эта — Ήτα", u"Тета — Θήτα"}) {
      List->Items()->Add(s);
    }
    List->SetItemIndex(3);
    listLabel->SetFocusControl(List);
  }

  void BuildViews() {
    auto* list = Place<TUcListView>(this, this);
    list->SetAlign(alLeft);
    list->SetWidth(300);
    list->AddColumn()->SetCaption(u"Πόλη");
    list->AddColumn()->SetCaption(u"Страна");
    list->Columns(0)->SetWidth(120);
    list->Columns(1)->SetWidth(150);
    list->AddWideItem(u"Αθήνα", nullptr)->SetSubItems({u"Ελλάδα"});
    list->AddWideItem(u"Москва", nullptr)->SetSubItems({u"Россия"});
    auto* tree = Place<TUcTreeView>(this, this);
    tree->SetAlign(alClient);
    TTreeNode* greece = tree->Items()->Add(u"Ελλάδα");
    tree->Items()->AddChild(greece, u"Αθήνα");
    tree->Items()->AddChild(tree->Items()->Add(u"Россия"), u"Москва");
    greece->Expand();
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitApplication();
  const long seconds = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 5;
  auto* form = Application->CreateForm<TShowForm>();
  form->Show();
  form->Recreate();
  form->Show();
  // The mouse rests on the combo box: after the pause its hint shows below the pointer.
  const TPoint over = form->Combo->ClientToScreen(Point(40, 8));
  SetCursorPos(over.X, over.Y);
  auto* done = new TTimer(Application);
  done->SetInterval(static_cast<unsigned>(seconds > 0 ? seconds : 5) * 1000);
  done->OnTimer = [](TObject*) { Application->Terminate(); };
  Application->Run();
  DoneApplication();
  return 0;
}
