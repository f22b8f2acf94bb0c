// What the icon and group commands do to the contents document: new, copied
// and deleted icons and groups, icons moved within or between groups, groups
// exchanged. The bar runs them and then rebuilds its hotkeys and saves.
#pragma once
#include <vector>

#include "kem3/framework/kemxml.h"
#include "platform/types.h"

// A copy's title: "Editor" gives "Editor copy 1"; a title holding " copy "
// (any case) is cut before it and the number behind it (0 when it is none)
// raised by 1: "Editor copy 1" gives "Editor copy 2".
String CopyTitle(const String& Title);

// A new program icon (Batch: a batch icon, with only an "image" child).
TKemXmlTagPtr NewIconElement(const String& Title, bool Batch);
// A deep copy of the icon without its "id", titled as CopyTitle says.
TKemXmlTagPtr CopyIconElement(const TKemXmlTag& Icon);
// A new group with an empty "icons".
TKemXmlTagPtr NewGroupElement(const String& Title);

// Appends the icon to the group's "icons" (made when missing); the icon as it now lies in the document.
TKemXmlTag* AppendIcon(TKemXmlTag& Group, TKemXmlTagPtr Icon);
// Removes the icon from wherever it lies; false when it lies nowhere.
bool DeleteIconElement(TKemXmlTag* Icon);

// Icon CurIdx of the group to place NewIdx, counting icons only (a comment
// between them keeps its neighbours). False when an index is out of range.
bool MoveIcon(TKemXmlTag* Group, int CurIdx, int NewIdx);
// Icon Idx of the group to the end of Target's "icons"; the moved icon, or
// nil when Idx is out of range or there is no target.
TKemXmlTag* MoveIconToGroup(TKemXmlTag* Group, int Idx, TKemXmlTag* Target);

// The groups of the list (button order) and in the document at once.
// Appends a group; its index in the list.
int AppendGroup(TKemXmlTag& Groups, std::vector<TKemXmlTag*>& List, TKemXmlTagPtr Group);
// Exchanges groups A and B; false when either is out of range.
bool ExchangeGroups(std::vector<TKemXmlTag*>& List, int A, int B);
// Removes group Index with its icons; false when out of range.
bool DeleteGroup(std::vector<TKemXmlTag*>& List, int Index);
