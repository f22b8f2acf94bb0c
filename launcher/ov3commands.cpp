// The contents document's side of the icon and group commands.
#include "launcher/ov3commands.h"

#include <limits>
#include <utility>

#include "launcher/ov3contents.h"
#include "platform/sysutils.h"

namespace {

bool InRange(const std::vector<TKemXmlTag*>& List, int Index) {
  return Index >= 0 && static_cast<size_t>(Index) < List.size();
}

}  // namespace

String CopyTitle(const String& Title) {
  constexpr std::string_view kCopy = " copy ";
  // ASCII folding keeps the byte positions of the UTF-8 title.
  const size_t at = LowerCase(Title).find(kCopy);
  if (at == String::npos) return Title + String(kCopy) + "1";
  std::int64_t number = StrToInt64Def(std::string_view(Title).substr(at + kCopy.size()), 0);
  if (number < std::numeric_limits<std::int64_t>::max()) ++number;
  return Title.substr(0, at) + String(kCopy) + IntToStr(number);
}

TKemXmlTagPtr NewIconElement(const String& Title, bool Batch) {
  auto icon = std::make_unique<TKemXmlTag>(nullptr, "icon");
  icon->WriteAttr("title", Title);
  icon->WriteAttr("type", Batch ? "batch" : "program");
  if (!Batch) icon->AddTag("application");
  icon->AddTag("image");
  return icon;
}

TKemXmlTagPtr CopyIconElement(const TKemXmlTag& Icon) {
  auto copy = std::make_unique<TKemXmlTag>(nullptr, Icon.Name);
  copy->Assign(Icon);
  copy->DeleteAttr("id");
  copy->WriteAttr("title", CopyTitle(Icon.ReadAttr("title")));
  return copy;
}

TKemXmlTagPtr NewGroupElement(const String& Title) {
  auto group = std::make_unique<TKemXmlTag>(nullptr, "group");
  group->WriteAttr("title", Title);
  group->AddTag("icons");
  return group;
}

TKemXmlTag* AppendIcon(TKemXmlTag& Group, TKemXmlTagPtr Icon) {
  TKemXmlTag* icons = GroupIcons(&Group, true);
  return icons->GetChild(icons->AddChild(std::move(Icon)));
}

bool DeleteIconElement(TKemXmlTag* Icon) {
  if (!Icon || !Icon->Parent()) return false;
  Icon->Parent()->DeleteChild(Icon->GetIndex());
  return true;
}

bool MoveIcon(TKemXmlTag* Group, int CurIdx, int NewIdx) {
  const std::vector<TKemXmlTag*> icons = ListIcons(Group);
  if (!InRange(icons, CurIdx) || !InRange(icons, NewIdx)) return false;
  GroupIcons(Group)->MoveChild(icons[CurIdx]->GetIndex(), icons[NewIdx]->GetIndex());
  return true;
}

TKemXmlTag* MoveIconToGroup(TKemXmlTag* Group, int Idx, TKemXmlTag* Target) {
  const std::vector<TKemXmlTag*> icons = ListIcons(Group);
  if (!Target || Target == Group || !InRange(icons, Idx)) return nullptr;
  TKemXmlTag* icon = icons[Idx];
  icon->Parent()->MoveChildTo(icon->GetIndex(), GroupIcons(Target, true));
  return icon;
}

int AppendGroup(TKemXmlTag& Groups, std::vector<TKemXmlTag*>& List, TKemXmlTagPtr Group) {
  List.push_back(Groups.GetChild(Groups.AddChild(std::move(Group))));
  return static_cast<int>(List.size()) - 1;
}

bool ExchangeGroups(std::vector<TKemXmlTag*>& List, int A, int B) {
  if (!InRange(List, A) || !InRange(List, B) || List[A]->Parent() != List[B]->Parent()) return false;
  if (A == B) return true;
  List[A]->Parent()->ExchangeChildren(List[A]->GetIndex(), List[B]->GetIndex());
  std::swap(List[A], List[B]);
  return true;
}

bool DeleteGroup(std::vector<TKemXmlTag*>& List, int Index) {
  if (!InRange(List, Index)) return false;
  TKemXmlTag* group = List[Index];
  List.erase(List.begin() + Index);
  if (group->Parent()) group->Parent()->DeleteChild(group->GetIndex());
  return true;
}
