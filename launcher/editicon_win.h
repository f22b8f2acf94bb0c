// TdEditIcon: the modal dialog that edits one icon of the contents. It reads
// the element into its controls and, when the user confirms, writes the
// controls back into it; saving the contents and refreshing the bar are the
// caller's business.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kem3/controls/kemform_win.h"
#include "kem3/framework/kemxml.h"
#include "launcher/ov3editicon.h"
#include "platform/scrollbox_win.h"

class TKemButton;
class TKemDropDownList;
class TKemEdit;
class TKemFrame;
class TKemLabel;
class TKemNotebook;
class TKemPanel;
class TKemPanelList;
class TdEditIcon;

// The row messages: a row's delete button posts them with the row, and the
// dialog frees the row once the click has returned.
inline constexpr unsigned kDeleteProgramRow = 1025;
inline constexpr unsigned kDeleteShortcutRow = 1026;
// Posted when the dialog shows: it takes the foreground and the keyboard once
// it is on the screen (opened by a drop, another program is in front then).
inline constexpr unsigned kTakeKeyboard = 1027;

// What both kinds of rows share: a panel in the box's colour with a frame on
// it, and the delete button at the frame's right end.
class TOvEditRow : public TObject {
 public:
  TOvEditRow(TScrollBox& Box, int Height);
  ~TOvEditRow() override;
  // Made after the list beside it, so Tab reaches it in reading order; a
  // click posts DeleteMessage with the row to the dialog.
  void AddDeleteButton(TdEditIcon& Dialog, unsigned DeleteMessage, int Left);
  TKemPanel* Panel = nullptr;  // owned as a component; frees the row's controls with it
  TKemFrame* Frame = nullptr;
  TKemButton* DeleteButton = nullptr;
};

class TProgramBlock : public TOvEditRow {
 public:
  TProgramBlock(TdEditIcon& Dialog, TScrollBox& Box, const TOvProgramIcons& Programs, const TOvBatchRow& Row);
  TKemDropDownList* List = nullptr;
  TOvBatchRow Row() const;

 private:
  int FProgramCount = 0;
  String FOwnId;
};

class THotkeyBlock : public TOvEditRow {
 public:
  THotkeyBlock(TdEditIcon& Dialog, TScrollBox& Box, const TOvHotkey& Hotkey);
  TKemLabel* lKey = nullptr;
  TKemDropDownList* Key = nullptr;
  TKemLabel* lModifiers = nullptr;
  std::array<TKemDropDownList*, 4> Modifiers{};  // Ctrl, Alt, Shift, Windows
  // The choices, with the modifiers no list shows (apps) as they were read.
  TOvHotkey Hotkey() const;
  void UpdateLanguage();
  // The row's controls placed for the texts in the language shown.
  void Arrange();
  int Lines = 1;  // lines of modifier lists

 private:
  TOvHotkey FHotkey;
};

class TdEditIcon : public TKemForm {
 public:
  explicit TdEditIcon(TComponent* AOwner);
  ~TdEditIcon() override;

  TKemLabel *lTitle = nullptr, *lComment = nullptr, *lProgram = nullptr, *lParams = nullptr, *lFolder = nullptr,
            *lPrograms = nullptr, *lIcon = nullptr, *lShortcuts = nullptr;
  TKemEdit *eTitle = nullptr, *eComment = nullptr, *eFilename = nullptr, *eParams = nullptr, *eFolder = nullptr,
           *eIcon = nullptr;
  TKemNotebook* nb = nullptr;
  TScrollBox* sbPrograms = nullptr;
  TScrollBox* sbShortcuts = nullptr;
  TKemButton* bAddProgram = nullptr;
  TKemPanelList* plIcon = nullptr;
  TKemButton *bOk = nullptr, *bCancel = nullptr, *bAddShortcut = nullptr;

  // The element's fields into the controls, and the controls' fields back.
  void SetFields(const TOvIconFields& Fields, TOvProgramIcons Programs);
  TOvIconFields Fields() const;
  const TOvProgramIcons& Programs() const { return FPrograms; }
  int IconIndex() const { return FIconIndex; }
  const TOvFollowFlags& Follow() const { return FFollow; }
  int ProgramRowCount() const { return static_cast<int>(FProgramRows.size()); }
  int ShortcutRowCount() const { return static_cast<int>(FShortcutRows.size()); }
  TProgramBlock* ProgramRow(int Index) const { return FProgramRows.at(static_cast<size_t>(Index)).get(); }
  THotkeyBlock* ShortcutRow(int Index) const { return FShortcutRows.at(static_cast<size_t>(Index)).get(); }
  // Actions 12 and 14: an empty program row, a shortcut row of "a,none".
  void AddProgramRow(const TOvBatchRow& Row = TOvBatchRow());
  void AddShortcutRow(const TOvHotkey& Hotkey);
  // The page's heights and the rows below the notebook, as the page says.
  void Arrange();
  void LanguageUpdated() override;

 private:
  // The labels' column and the fields beside it, from the labels' texts.
  void PlaceFields();
  // The add-shortcut button's text, with a key no other control of the dialog has.
  void CaptionAddProgram();
  void FormShow();
  void BrowseProgram();
  void BrowseIcon();
  void IconChanged();
  void FileNameChanged();
  // Frees a row the message names; a row that is gone already is ignored.
  template <class TRow>
  void DeleteRow(std::vector<std::unique_ptr<TRow>>& Rows, TScrollBox& Box, TObject* Row);
  template <class TRow>
  void StackRows(std::vector<std::unique_ptr<TRow>>& Rows, TScrollBox& Box);

  TOvProgramIcons FPrograms;
  std::vector<std::unique_ptr<TProgramBlock>> FProgramRows;
  std::vector<std::unique_ptr<THotkeyBlock>> FShortcutRows;
  TOvFollowFlags FFollow;
  int FIconIndex = 0;
  bool FBatch = false;
  // The icon file whose previews show.
  bool FPreviewsRead = false;
  String FPreviewsFile;
};

// Frees a form as its owner would (OnDestroy first).
struct TFreeObject {
  void operator()(TObject* Object) const { Object->Free(); }
};

// Shows the icon editor on the element; true when the user confirmed (the
// element then holds the dialog's fields). Groups gives the program icons a
// batch can start; IconId the id of such an icon, giving it one when it has none.
bool EditIcon(TKemXmlTag& Icon, const TKemXmlTag* Groups, const std::function<std::int64_t(TKemXmlTag*)>& IconId);
// The list shows the previews of the file (64 x 64 items in 80 x 80 cells); a
// file that cannot be read shows none.
void FillImagePreviews(const String& FileName, TKemPanelList& List);
