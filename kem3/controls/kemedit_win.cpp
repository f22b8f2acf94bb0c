// TKemEdit: buttons built from their lines, layout, completion, focus,
// enabling and the frame.
#include "kem3/controls/kemedit_win.h"

#include "kem3/controls/kembut_win.h"
#include "kem3/pictures/kemimage.h"
#include "platform/unicode_convert.h"

// ---- TEEdit ------------------------------------------------------------------------

TEEdit::TEEdit(TComponent* AOwner) : TCustomEdit(AOwner) { SetBorderStyle(bsNone); }

void TEEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (FAutoComplete) FCompletePending = EditKeyCompletes(Key);
}

void TEEdit::Change() {
  TCustomEdit::Change();
  if (FSuppress || !FAutoComplete || !FCompletePending) return;
  const WideString typed = Text();
  const int i = EditCompletion(typed, FCompleteItems);
  if (i < 0) return;
  const WideString& entry = FCompleteItems[static_cast<std::size_t>(i)];
  FSuppress = true;
  SetText(entry);
  SetSelection(static_cast<int>(typed.size()), static_cast<int>(entry.size()));
  FSuppress = false;
}

void TEEdit::WndProc(TMessage& Message) {
  if ((Message.Msg == WM_CUT || Message.Msg == WM_PASTE) && (!Enabled() || ReadOnly())) {
    Message.Result = 0;
    return;
  }
  TCustomEdit::WndProc(Message);
}

// ---- TKemEdit ----------------------------------------------------------------------

TKemEdit::TKemEdit(TComponent* AOwner) : TKemEditField(AOwner) {
  FEditor = new TEEdit(this);
  SetFieldEditor(FEditor);
  FEditor->OnChange = [this](TObject*) {
    if (OnChange) OnChange(this);
  };
  SetBounds(0, 0, 80, 21);
  Layout();
}

TKemEdit::~TKemEdit() = default;

void TKemEdit::FlatChanged() {
  for (TEntry& e : FButtons) {
    e.Button->SetFlat(Flat());
    e.Button->SetWidth(EditButtonWidth(e.Units, Flat()));
  }
  Layout();
}

void TKemEdit::SetEditorEnabled(bool Value) {
  FEditorEnabled = Value;
  FEditor->SetEnabled(Value && Enabled());
}

void TKemEdit::SetButtons(const std::vector<String>& Lines) {
  const std::vector<String> lines = Lines;  // Lines may be our own list
  ClearButtons();
  for (const String& line : lines) {
    const TEditButtonLine parsed = ParseEditButtonLine(line);
    AddButton(parsed.Id, parsed.Face);
  }
  FLines = lines;
}

void TKemEdit::AddButton(int Id, const String& Face) {
  const TEditButtonFace face = ParseEditButtonFace(Face);
  auto* b = new TKemButton(this);
  b->Font()->SetName(face.FontName);
  b->Font()->SetSize(8);
  b->SetParent(this);
  b->SetCaption(Utf8ToWide(face.Caption));
  b->SetTag(Id);
  b->OnClick = [this, Id](TObject*) { ButtonClicked(Id); };
  b->SetColor(clBtnFace);
  b->SetColorHighlight(0xC0C0C0);
  b->SetColorSpark(clBtnHighlight);
  b->SetNoFraming(true);
  b->SetNoFocusing(true);
  b->SetFlat(Flat());
  b->SetTop(2);
  b->SetWidth(EditButtonWidth(face.Units, Flat()));
  b->SetTabStop(false);
  b->SetFocusOnPress(false);
  b->SetEnabled(Enabled());
  FButtons.push_back({Id, b, face.Units});
  FLines.push_back(FormatEditButtonLine(Face, Id));
  Layout();
}

void TKemEdit::ClearButtons() {
  for (TEntry& e : FButtons) e.Button->Free();
  FButtons.clear();
  FLines.clear();
  Layout();
}

void TKemEdit::ButtonClicked(int Id) {
  if (!FEditor->Focused() && CanFocus()) SetFocus();
  if (OnButtonClick) OnButtonClick(this, Id);
}

void TKemEdit::Layout() {
  if (!FEditor) return;
  std::vector<int> widths;
  for (const TEntry& e : FButtons) widths.push_back(e.Button->Width());
  const TEditLayout l = EditLayout(Width(), Height(), widths);
  for (std::size_t i = 0; i < FButtons.size(); ++i) FButtons[i].Button->SetBoundsRect(l.Buttons[i]);
  Holder()->SetBoundsRect(l.Holder);
  FEditor->SetBounds(0, 0, l.Holder.Width(), l.Holder.Height());
}

void TKemEdit::BoundsChanged(const TRect& OldBounds) {
  TKemEditField::BoundsChanged(OldBounds);
  Layout();
}

void TKemEdit::EnabledChanged() {
  TKemEditField::EnabledChanged();
  for (TEntry& e : FButtons) e.Button->SetEnabled(Enabled());
  FEditor->SetEnabled(Enabled() && FEditorEnabled);
  Invalidate();
}
