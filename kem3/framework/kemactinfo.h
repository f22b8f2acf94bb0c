// The process-wide register of action descriptions: filled once at start-up
// from flat lists of values, read by forms that make their actions from it
// and by the toolbar builder. Also the comma lists of action ids that
// toolbars are stored as.
#pragma once
#include <vector>

#include "platform/keys.h"
#include "platform/types.h"
#include "platform/variant.h"

// ToolStyle codes of a description.
inline constexpr int tsPlain = -1;
inline constexpr int tsCheck = -2;
inline constexpr int tsRadio = -3;
inline constexpr int tsRepeat = -4;  // >= 0: a drop-down button with that menu

struct TActionInfo {
  int Id = 0;
  int Group = 0;
  int ImageIndex = -1;
  // Language text indexes of caption and hint, -1 when the text is literal.
  int CaptionIndex = -1;
  int HintIndex = -1;
  int ToolStyle = tsPlain;
  TShortCut ShortCut = scNone;
  // Kept for the program; the framework never reads them.
  bool Flag = false;
  int Value = -1;
  String Name;
  WideString CaptionText;
  WideString HintText;
};

// Appends one description per FieldsPerRecord values (a trailing part record
// is dropped). Per record: id; caption and hint (a text index, a "%name"
// looked up in the language, or literal text); tool style; shortcut (text
// such as "Ctrl+P" or the code); then Flag, Value and Name when the records
// are that long. A value that does not convert raises EVariantError.
void RegisterActionInfos(int Group, int FieldsPerRecord, const std::vector<Variant>& Values);
// The first description of the id, or nullptr.
TActionInfo* FindActionInfo(int Id);
// Index of the first description of the id, -1 for none.
int IndexOfActionInfo(int Id);
int ActionInfoCount();
TActionInfo& ActionInfos(int Index);
// Whether anything was registered since the last FreeActionInfos.
bool ActionInfosRegistered();
void FreeActionInfos();

// Ids as a toolbar's comma list: ids >= 0 by their number, -1 as "-" (a
// separator), lower ids left out.
String IdsToText(const std::vector<int>& Ids);
