// The bar's icon and group commands and what other programs drop on it. Every
// command ends alike: the hotkeys are rebuilt and the contents saved at once.
#include <algorithm>
#include <utility>

#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemlout.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemlan.h"
#include "launcher/editgroup_win.h"
#include "launcher/editicon_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3commands.h"
#include "launcher/ov3iconfactory.h"
#include "launcher/ov3message_win.h"
#include "launcher/ov3shelllink_win.h"
#include "platform/format.h"
#include "platform/unicode_convert.h"

namespace {

// The panel item that shows the icon, -1 for none.
int PanelIndexOf(TKemPanelList* Panel, const TKemXmlTag* Icon) {
  for (int i = 0; i < Panel->Count(); ++i)
    if (reinterpret_cast<const TKemXmlTag*>(Panel->Items(i)->GetDataAsInteger()) == Icon) return i;
  return -1;
}

// The language texts of the questions before an icon or a group goes: caption, question (with the title), note.
struct TDeletionTexts {
  int Caption, Question, Note;
  const char16_t *DefaultCaption, *DefaultQuestion, *DefaultNote;
};

constexpr TDeletionTexts kDeletionTexts[] = {
    {275, 276, 277, u"Delete icon", u"Do you really want to delete the icon \"%s\"?",
     u"The icon cannot be restored afterwards."},
    {278, 279, 280, u"Delete group", u"Do you really want to delete the group \"%s\" and all its icons?",
     u"The group cannot be restored afterwards."},
};

}  // namespace

TKemXmlTag* TfMain::PlaceIcon(TKemXmlTag& Group, TKemXmlTagPtr Icon) {
  TKemXmlTag* placed = AppendIcon(Group, std::move(Icon));
  if (FIconCache) FIconCache->AddEntry(*placed);
  if (&Group == CurrentGroup()) AddIconItem(placed);
  return placed;
}

void TfMain::IconsChanged(bool WithIconCache) {
  RefreshIconCaptions(true);
  RebuildHotkeys();
  SaveContents(WithIconCache);
  UpdateActionStates();
}

TKemXmlTag* TfMain::AddIcon(TKemXmlTag* Group, TKemXmlTagPtr Icon, bool Select) {
  if (!Group || !Icon) return nullptr;
  TKemXmlTag* added = PlaceIcon(*Group, std::move(Icon));
  if (Select && Group == CurrentGroup()) plIcons->SetItemIndex(plIcons->Count() - 1);
  IconsChanged(true);
  return added;
}

bool TfMain::EditIconElement(TKemXmlTag& Icon) {
  return EditIcon(Icon, FGroupsTag, [this](TKemXmlTag* Program) { return FIconIds.GetIconId(Program); });
}

bool TfMain::EditGroupElement(TKemXmlTag& Group) { return EditGroup(Group); }

bool TfMain::ConfirmDeletion(bool Group, const String& Title) {
  const TDeletionTexts& t = kDeletionTexts[Group ? 1 : 0];
  // The lines are mark-up: the title the user typed goes in literally, so
  // braces in it neither hide text nor load a picture. The pattern comes from
  // a language file: the safe formatter shows a bad one as its error text.
  return ShowMessageDialog(
      {TranslateIndex(t.Caption, t.DefaultCaption),
       WideFormatOrError(TranslateIndex(t.Question, t.DefaultQuestion), {KemLiteralText(Utf8ToWide(Title))}),
       TranslateIndex(t.Note, t.DefaultNote)});
}

void TfMain::NewIcon(bool Batch) {
  TKemXmlTag* group = CurrentGroup();
  if (!group) return;
  TKemXmlTagPtr icon = Batch ? NewIconElement(WideToUtf8(Translate("TdEditIcon_NewBatch", u"New batch")), true)
                             : NewIconElement(WideToUtf8(Translate("TdEditIcon_NewProgram", u"New program")), false);
  if (EditIconElement(*icon)) AddIcon(group, std::move(icon), true);
}

void TfMain::CopySelectedIcon() {
  TKemXmlTag* icon = SelectedIcon();
  TKemXmlTag* group = CurrentGroup();
  if (!icon || !group) return;
  AddIcon(group, CopyIconElement(*icon), true);
}

void TfMain::EditSelectedIcon() {
  TKemXmlTag* icon = SelectedIcon();
  if (!icon || !EditIconElement(*icon)) return;
  if (FIconCache) FIconCache->AddEntry(*icon);
  // The panel shows the icon anew: its picture and title.
  const int index = plIcons->ItemIndex();
  bsGroupsChange();
  plIcons->SetItemIndex(index);
  IconsChanged(true);
}

void TfMain::DeleteSelectedIcon() {
  TKemXmlTag* icon = SelectedIcon();
  if (!icon) return;
  if (!ConfirmDeletion(false, icon->ReadAttr("title", "???"))) return;
  // The question ran a message loop: the icon may have gone meanwhile.
  const int index = PanelIndexOf(plIcons, icon);
  if (index < 0) return;
  plIcons->Delete(index);
  DeleteIconElement(icon);
  IconsChanged(false);
}

void TfMain::NewGroup() {
  if (!FGroupsTag) return;
  TKemXmlTagPtr group = NewGroupElement("New group");
  if (!EditGroupElement(*group)) return;
  AppendGroup(*FGroupsTag, FGroupList, std::move(group));
  RebuildGroupButtons();
  FGroupButtonCount = static_cast<int>(FGroupList.size());
  RebuildHotkeys();
  SaveContents();
}

void TfMain::EditCurrentGroup() {
  TKemXmlTag* group = CurrentGroup();
  if (!group || !EditGroupElement(*group)) return;
  RebuildGroupButtons();
  RebuildHotkeys();
  SaveContents();
}

void TfMain::DeleteCurrentGroup() {
  TKemXmlTag* group = CurrentGroup();
  // The bar always keeps one group.
  if (!group || FGroupList.size() < 2) return;
  if (!ConfirmDeletion(true, group->ReadAttr("title"))) return;
  std::vector<TKemXmlTag*>::iterator at = std::find(FGroupList.begin(), FGroupList.end(), group);
  if (at == FGroupList.end() || FGroupList.size() < 2) return;
  // The panel lets go of the group's icons before they are freed.
  plIcons->Clear();
  DeleteGroup(FGroupList, static_cast<int>(at - FGroupList.begin()));
  RebuildGroupButtons();
  FGroupButtonCount = static_cast<int>(FGroupList.size());
  RebuildHotkeys();
  SaveContents();
  SelectGroup(0);
}

int TfMain::GroupButtonAtScreen(const TPoint& ScreenPt) {
  if (!bsGroups || !bsGroups->HandleAllocated()) return -1;
  const TPoint local = bsGroups->ScreenToClient(ScreenPt);
  if (local.X < 0 || local.Y < 0 || local.X >= bsGroups->Width() || local.Y >= bsGroups->Height()) return -1;
  const int button = bsGroups->ButtonAtPos(local.X, local.Y);
  return button < static_cast<int>(FGroupList.size()) ? button : -1;
}

void TfMain::DropTargetOver(const TPoint& ScreenPt) { bsGroups->HighlightButton(GroupButtonAtScreen(ScreenPt)); }

void TfMain::DropTargetLeave() { bsGroups->HighlightButton(-1); }

void TfMain::DroppedIconsPlaced() {
  IconsChanged(false);
  tDropPictures->SetEnabled(true);
}

void TfMain::EditDroppedIcons() {
  // One editor at a time: a drop while one shows waits behind it.
  if (FEditingDrops) return;
  FEditingDrops = true;
  try {
    while (!FDropEdits.empty()) {
      TDropEdit edit = std::move(FDropEdits.front());
      FDropEdits.erase(FDropEdits.begin());
      if (!EditIconElement(*edit.Icon)) continue;
      // The editor ran a message loop: the group may have gone meanwhile.
      if (std::find(FGroupList.begin(), FGroupList.end(), edit.Group) == FGroupList.end()) continue;
      TKemXmlTag* placed = AppendIcon(*edit.Group, std::move(edit.Icon));
      if (edit.Group == CurrentGroup()) AddIconItem(placed);
      DroppedIconsPlaced();
    }
  } catch (...) {
    FEditingDrops = false;
    throw;
  }
  FEditingDrops = false;
}

bool TfMain::DropItems(const TPoint& ScreenPt, const std::vector<WideString>& Files, const WideString& Url,
                       std::size_t Unread) {
  const int button = GroupButtonAtScreen(ScreenPt);
  DropTargetLeave();
  TKemXmlTag* group = GroupAt(FGroupList, button >= 0 ? button : CurrentGroupIndex());
  if (!group) return false;
  std::vector<TKemXmlTagPtr> icons;
  std::size_t named = 0;
  TDropLeftOut leftOut;
  if (!Files.empty()) {
    TShellLinkReaderWin links;
    for (const WideString& file : Files) {
      // Past the cap the names are only counted, for the note.
      if (file.empty() || ++named > kMaxDroppedFiles) continue;
      icons.push_back(IconFromDroppedFile(WideToUtf8(file), links));
    }
  } else if (!Url.empty()) {
    const String url = WideToUtf8(Url);
    if (TKemXmlTagPtr icon = IconFromUrl(url)) {
      icons.push_back(std::move(icon));
    } else if (Url.size() > kMaxIconUrlLength) {
      leftOut.LongUrlHost = TitleFromUrl(url);
      leftOut.LongUrlLength = Url.size();
    }
  }
  // ovsShowDropDialog opens the icon editor on a single dropped icon first
  // (several never ask), once the drop is over; cancelling it discards the icon.
  bool added = false;
  if (cfgGetBool(ovsShowDropDialog) && icons.size() == 1) {
    EditDroppedIconLater(*group, std::move(icons.front()));
    added = true;
  } else {
    for (TKemXmlTagPtr& icon : icons) {
      // As AddIcon does, with one refill, hotkey rebuild and save for the
      // whole drop; the pictures follow a slice at a time (a picture each
      // costs a file read: a thousand held the bar for seconds).
      TKemXmlTag* placed = AppendIcon(*group, std::move(icon));
      if (group == CurrentGroup()) AddIconItem(placed);
      added = true;
    }
    if (added) DroppedIconsPlaced();
  }
  named += Unread;
  if (named > kMaxDroppedFiles) {
    leftOut.Taken = kMaxDroppedFiles;
    leftOut.Total = named;
  }
  if (leftOut.Total > 0 || !leftOut.LongUrlHost.empty()) ReportDropLeftOut(std::move(leftOut));
  return added;
}
