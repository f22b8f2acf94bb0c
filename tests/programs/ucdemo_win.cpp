// ucdemo.exe: the wide menu, tool buttons, list view and tree view in Greek and
// Cyrillic on one form, to look at (not shipped, run by no test). Arguments:
// --recreate makes every window anew after a second (a change of the border
// style), --exit-after SECONDS ends the program.
#include <cwchar>
#include <string>

#include "kem3/unicode/uccomctrls_win.h"
#include "kem3/unicode/ucmenus_win.h"
#include "platform/application_win.h"
#include "platform/extctrls_win.h"

namespace {

TForm* gForm = nullptr;

void CALLBACK Recreate(HWND, UINT, UINT_PTR Timer, DWORD) {
  KillTimer(nullptr, Timer);
  gForm->SetBorderStyle(gForm->BorderStyle() == bsSizeable ? bsSingle : bsSizeable);
}

void CALLBACK Quit(HWND, UINT, UINT_PTR Timer, DWORD) {
  KillTimer(nullptr, Timer);
  Application->Terminate();
}

TUcMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const WideString& Caption, TShortCut Key = scNone) {
  auto* item = new TUcMenuItem(Owner);
  item->SetCaption(Caption);
  item->SetShortCut(Key);
  Parent->Add(item);
  return item;
}

void BuildForm(TForm* Form) {
  Form->SetCaption(u"\u0394\u03bf\u03ba\u03b9\u03bc\u03ae \u2014 \u041f\u0440\u043e\u0432\u0435\u0440\u043a\u0430");
  Form->SetBounds(20, 20, 560, 360);
  auto* menu = new TMainMenu(Form);
  TUcMenuItem* file = AddItem(Form, menu->Items(), u"&\u0391\u03c1\u03c7\u03b5\u03af\u03bf");
  AddItem(Form, file, u"&\u0386\u03bd\u03bf\u03b9\u03b3\u03bc\u03b1", scCtrl | 'O');
  AddItem(Form, file, u"-");
  AddItem(Form, file, u"\u0412\u044b\u0445\u043e\u0434", scAlt | VK_F4)->OnClick = [](TObject*) {
    Application->Terminate();
  };
  AddItem(Form, menu->Items(), u"&\u0421\u043f\u0440\u0430\u0432\u043a\u0430");
  Form->SetMenu(menu);
  auto* bar = new TPanel(Form);
  bar->SetParent(Form);
  bar->SetAlign(alTop);
  bar->SetHeight(26);
  const WideString buttons[] = {u"\u0391\u03bb\u03c6\u03b1", u"\u0411\u0435\u0442\u0430"};
  for (int i = 0; i < 2; ++i) {
    auto* button = new TUcToolButton(Form);
    button->SetParent(bar);
    button->SetBounds(2 + i * 62, 2, 60, 22);
    button->SetCaption(buttons[i]);
  }
  auto* list = new TUcListView(Form);
  list->SetParent(Form);
  list->SetAlign(alLeft);
  list->SetWidth(300);
  list->AddColumn()->SetCaption(u"\u03a0\u03cc\u03bb\u03b7");
  list->AddColumn()->SetCaption(u"\u0421\u0442\u0440\u0430\u043d\u0430");
  list->Columns(0)->SetWidth(120);
  list->Columns(1)->SetWidth(150);
  list->AddWideItem(u"\u0391\u03b8\u03ae\u03bd\u03b1", nullptr)->SetSubItems({u"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1"});
  list->AddWideItem(u"\u041c\u043e\u0441\u043a\u0432\u0430", nullptr)
      ->SetSubItems({u"\u0420\u043e\u0441\u0441\u0438\u044f"});
  auto* tree = new TUcTreeView(Form);
  tree->SetParent(Form);
  tree->SetAlign(alClient);
  TTreeNode* greece = tree->Items()->Add(u"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1");
  tree->Items()->AddChild(greece, u"\u0391\u03b8\u03ae\u03bd\u03b1");
  tree->Items()->AddChild(tree->Items()->Add(u"\u0420\u043e\u0441\u0441\u0438\u044f"),
                          u"\u041c\u043e\u0441\u043a\u0432\u0430");
  greece->Expand();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitApplication();
  gForm = Application->CreateForm<TForm>();
  BuildForm(gForm);
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"--recreate") == 0) SetTimer(nullptr, 0, 1000, Recreate);
    if (std::wcscmp(argv[i], L"--exit-after") == 0 && i + 1 < argc) {
      SetTimer(nullptr, 0, static_cast<UINT>(std::wcstol(argv[++i], nullptr, 10)) * 1000, Quit);
    }
  }
  Application->Run();
  DoneApplication();
  return 0;
}
