// TKemEdit: the library's single-line text field: a sunken frame holding a
// borderless edit, an optional row of small push buttons at its right end
// (one per line of Buttons) and completion from a list of known entries.
#pragma once
#include <functional>
#include <vector>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kemedit_model.h"
#include "kem3/controls/kemfield_win.h"
#include "platform/edit_win.h"

class TKemButton;

// The editor: completes the typed text from CompleteItems after a key that
// types (not after Backspace, Delete or a move).
class TEEdit : public TCustomEdit {
 public:
  explicit TEEdit(TComponent* AOwner);
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  const std::vector<WideString>& CompleteItems() const { return FCompleteItems; }
  void SetCompleteItems(std::vector<WideString> Value) { FCompleteItems = std::move(Value); }
  // Kept; plays no part in completion.
  int CompleteMax() const { return FCompleteMax; }
  void SetCompleteMax(int Value) { FCompleteMax = Value; }

 protected:
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void Change() override;
  void WndProc(TMessage& Message) override;

 private:
  bool FAutoComplete = false;
  std::vector<WideString> FCompleteItems;
  int FCompleteMax = 20;
  bool FCompletePending = false;
  bool FSuppress = false;  // our own completion is changing the text
};

using TButtonEvent = std::function<void(TObject* Sender, int Id)>;

class TKemEdit : public TKemEditField {
 public:
  explicit TKemEdit(TComponent* AOwner);
  ~TKemEdit() override;

  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value);
  bool EditorReadOnly() const { return FEditor->ReadOnly(); }
  void SetEditorReadOnly(bool Value) { FEditor->SetReadOnly(Value); }
  WideString Text() const { return FEditor->Text(); }
  void SetText(const WideString& Value) { FEditor->SetText(Value); }
  int MaxLength() const { return FEditor->MaxLength(); }
  void SetMaxLength(int Value) { FEditor->SetMaxLength(Value); }
  WideChar PasswordChar() const { return FEditor->PasswordChar(); }
  void SetPasswordChar(WideChar Value) { FEditor->SetPasswordChar(Value); }
  bool AutoComplete() const { return FEditor->AutoComplete(); }
  void SetAutoComplete(bool Value) { FEditor->SetAutoComplete(Value); }
  const std::vector<WideString>& CompleteItems() const { return FEditor->CompleteItems(); }
  void SetCompleteItems(std::vector<WideString> Value) { FEditor->SetCompleteItems(std::move(Value)); }

  // One line per button: the face in double quotes, a comma, the id.
  const std::vector<String>& Buttons() const { return FLines; }
  void SetButtons(const std::vector<String>& Lines);
  // A button of a face ([font ":"] caption ["|" units]) reporting Id.
  void AddButton(int Id, const String& Face);
  void ClearButtons();
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TKemButton* Button(int Index) const { return FButtons.at(static_cast<std::size_t>(Index)).Button; }

  TEEdit* Editor() const { return FEditor; }

  // Whenever the editor's text changes; Sender is the control.
  TNotifyEvent OnChange;
  // A button was clicked: its id.
  TButtonEvent OnButtonClick;

 protected:
  void BoundsChanged(const TRect& OldBounds) override;
  void EnabledChanged() override;
  void FlatChanged() override;

 private:
  struct TEntry {
    int Id;
    TKemButton* Button;  // owned as a component, freed with the entry
    int Units;
  };
  void Layout();
  void ButtonClicked(int Id);

  bool FEditorEnabled = true;
  TEEdit* FEditor = nullptr;  // owned as a component
  std::vector<TEntry> FButtons;
  std::vector<String> FLines;
};
