// TKemNotebook and its pages: page bookkeeping, switching with the focus, and
// the pages' transparency to the mouse.
#include "kem3/controls/kemnote_win.h"

#include <vector>

#include "platform/forms_win.h"

TKemNote::TKemNote(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + csAcceptsControls);
  SetVisible(false);
  SetAlign(alClient);
}

void TKemNote::WndProc(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    // Only the page's own area: a control on it answers for itself.
    Message.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::WndProc(Message);
}

TKemNotebook::TKemNotebook(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + csAcceptsControls);
  SetBounds(0, 0, 150, 150);
  AddPage("Default");
}

TKemNotebook::~TKemNotebook() {
  // The pages go with the notebook as its components; forget them first.
  FPages.Clear();
}

void TKemNotebook::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE);
}

void TKemNotebook::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // A page freed by someone else leaves the list; the page at the index shows.
  // By address: what is being destroyed is no longer of its own class.
  for (int i = 0; i < PageCount(); ++i) {
    if (static_cast<TComponent*>(FPages.Page(i)) == AComponent) {
      FPages.Delete(i);
      ShowCurrent();
      return;
    }
  }
}

TKemNote* TKemNotebook::InsertPage(int Index, const String& Caption) {
  auto* page = new TKemNote(this);
  page->SetPageCaption(Caption);
  page->SetBounds(0, 0, Width(), Height());
  page->SetParent(this);
  FPages.Insert(Index, page);
  ShowCurrent();
  if (OnPageChanged) OnPageChanged(this);
  return page;
}

void TKemNotebook::DeletePage(int Index) {
  TKemNote* page = FPages.Delete(Index);
  ShowCurrent();
  page->Free();
  if (OnPageChanged) OnPageChanged(this);
}

void TKemNotebook::MovePage(int From, int To) {
  FPages.Move(From, To);
  ShowCurrent();
}

void TKemNotebook::ClearPages() {
  for (TKemNote* page : FPages.Clear()) page->Free();
}

void TKemNotebook::SetPages(const std::vector<String>& Captions) {
  for (std::size_t i = 0; i < Captions.size(); ++i) {
    if (static_cast<int>(i) < PageCount())
      SetPageCaption(static_cast<int>(i), Captions[i]);
    else
      AddPage(Captions[i]);
  }
}

namespace {

// The first control inside Parent, in tab order, that takes the focus.
TWinControl* FirstFocusable(TWinControl* Parent) {
  std::vector<TWinControl*> order;
  Parent->GetTabOrderList(order);
  for (TWinControl* w : order)
    if (w->TabStop() && w->CanFocus()) return w;
  return nullptr;
}

}  // namespace

void TKemNotebook::SetPageIndex(int Value) {
  if (Value == PageIndex() || Value < 0 || Value >= PageCount()) return;
  TCustomForm* form = GetParentForm(this);
  // The focus must not stay on a control of the page that goes.
  if (form && form->ActiveControl() && form->ActiveControl() != this && ContainsControl(form->ActiveControl()))
    form->SetActiveControl(this);
  FPages.SetPageIndex(Value);
  ShowCurrent();
  if (form && form->ActiveControl() == this) {
    if (TWinControl* first = FirstFocusable(FPages.Current())) form->SetActiveControl(first);
  }
  if (OnPageChanged) OnPageChanged(this);
}

void TKemNotebook::ShowCurrent() {
  TKemNote* current = FPages.Current();
  if (current) {
    current->BringToFront();
    current->SetAlign(alClient);
    current->SetVisible(true);
  }
  for (int i = 0; i < PageCount(); ++i)
    if (FPages.Page(i) != current) FPages.Page(i)->SetVisible(false);
}

String TKemNotebook::ActivePage() const {
  const TKemNote* current = FPages.Current();
  return current ? current->PageCaption() : String();
}

void TKemNotebook::SetActivePage(const String& Caption) {
  for (int i = 0; i < PageCount(); ++i) {
    if (PageCaption(i) == Caption) {
      SetPageIndex(i);
      return;
    }
  }
}

void TKemNotebook::ShowControl(TControl* Control) {
  const int i = FPages.IndexOf(dynamic_cast<TKemNote*>(Control));
  if (i >= 0) SetPageIndex(i);
}
