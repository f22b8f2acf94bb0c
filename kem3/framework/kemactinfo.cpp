// The action description register and the toolbar id lists.
#include "kem3/framework/kemactinfo.h"

#include <memory>

#include "kem3/framework/kemlan.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

std::unique_ptr<std::vector<TActionInfo>>& Registry() {
  static std::unique_ptr<std::vector<TActionInfo>> registry;
  return registry;
}

bool IsText(const Variant& V) { return V.VarType() == varString || V.VarType() == varOleStr; }

// A caption or hint element: a number is the text index; "%name" is looked up
// by name, and without a hit (or without "%") the text itself is kept.
void ReadText(const Variant& V, int& Index, WideString& Text) {
  Index = -1;
  if (!IsText(V)) {
    Index = V.AsInteger();
    return;
  }
  WideString text = V.AsWideString();
  if (!text.empty() && text[0] == u'%') {
    text.erase(0, 1);
    const int found = FindTextIndex(WideToUtf8(text));
    if (found >= 0) {
      Index = found;
      return;
    }
  }
  Text = text;
}

TShortCut ReadShortCut(const Variant& V) {
  if (IsText(V)) return TextToShortCut(V.AsString());
  if (V.VarType() == varInteger || V.VarType() == varInt64) return static_cast<TShortCut>(V.AsInt64());
  return scNone;
}

}  // namespace

void RegisterActionInfos(int Group, int FieldsPerRecord, const std::vector<Variant>& Values) {
  if (FieldsPerRecord <= 0) return;
  auto& registry = Registry();
  if (!registry) registry = std::make_unique<std::vector<TActionInfo>>();
  const size_t fields = static_cast<size_t>(FieldsPerRecord);
  for (size_t at = 0; at + fields <= Values.size(); at += fields) {
    const auto field = [&](size_t I) -> const Variant& { return Values[at + I]; };
    TActionInfo info;
    info.Id = field(0).AsInteger();
    if (fields > 1) ReadText(field(1), info.CaptionIndex, info.CaptionText);
    if (fields > 2) ReadText(field(2), info.HintIndex, info.HintText);
    if (fields > 3) info.ToolStyle = field(3).AsInteger();
    if (fields > 4) info.ShortCut = ReadShortCut(field(4));
    if (fields > 5) info.Flag = field(5).AsBoolean();
    if (fields > 6) info.Value = field(6).AsInteger();
    info.Name = fields > 7 ? field(7).AsString() : IntToStr(info.Id);
    info.Group = Group;
    registry->push_back(std::move(info));
  }
}

int IndexOfActionInfo(int Id) {
  const auto& registry = Registry();
  if (!registry) return -1;
  for (size_t i = 0; i < registry->size(); ++i)
    if ((*registry)[i].Id == Id) return static_cast<int>(i);
  return -1;
}

TActionInfo* FindActionInfo(int Id) {
  const int index = IndexOfActionInfo(Id);
  return index >= 0 ? &ActionInfos(index) : nullptr;
}

int ActionInfoCount() { return Registry() ? static_cast<int>(Registry()->size()) : 0; }

TActionInfo& ActionInfos(int Index) { return Registry()->at(static_cast<size_t>(Index)); }

bool ActionInfosRegistered() { return Registry() != nullptr; }

void FreeActionInfos() { Registry().reset(); }

String IdsToText(const std::vector<int>& Ids) {
  String text;
  for (int id : Ids) {
    if (id >= 0)
      text += "," + IntToStr(id);
    else if (id == -1)
      text += ",-";
  }
  if (!text.empty()) text.erase(0, 1);
  return text;
}
