// The icon editor's fields: reading an icon element, writing it back, and the
// rules that let folder and icon file follow the program file.
#include "launcher/ov3editicon.h"

#include "launcher/ov3contents.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"

namespace {

// The pieces of "ids", blanks trimmed, empty pieces left out.
std::vector<String> SplitIds(const String& Ids) {
  std::vector<String> pieces;
  size_t start = 0;
  while (start <= Ids.size()) {
    size_t comma = Ids.find(',', start);
    if (comma == String::npos) comma = Ids.size();
    String piece = Trim(std::string_view(Ids).substr(start, comma - start));
    if (!piece.empty()) pieces.push_back(std::move(piece));
    start = comma + 1;
  }
  return pieces;
}

int ProgramEntryOfId(const TOvProgramIcons& Programs, const String& Id) {
  for (size_t i = 0; i < Programs.Icons.size(); ++i)
    if (Programs.Icons[i]->ReadAttr("id") == Id) return static_cast<int>(i);
  return -1;
}

}  // namespace

TOvProgramIcons ProgramIconsOf(const TKemXmlTag* Groups) {
  TOvProgramIcons result;
  if (!Groups) return result;
  TStringList list;
  ListProgramIcons(Groups, list);
  for (int i = 0; i < list.Count(); ++i) {
    result.Texts.push_back(list.Strings(i));
    result.Icons.push_back(static_cast<TKemXmlTag*>(list.Objects(i)));
  }
  return result;
}

String UnmatchedIdText(const String& Id) { return "? (" + Id + ")"; }

TOvIconFields ReadIconFields(TKemXmlTag& Icon, const TOvProgramIcons& Programs) {
  TOvIconFields f;
  f.Title = Icon.ReadAttr("title");
  f.Comment = Icon.ReadAttr("comment");
  f.Batch = SameText(Icon.ReadAttr("type", "program"), "batch");
  TKemXmlTag* application = Icon.FindPath("application", true);
  if (f.Batch) {
    for (const String& id : SplitIds(application->ReadAttr("ids"))) {
      TOvBatchRow row;
      row.Entry = ProgramEntryOfId(Programs, id);
      if (row.Entry < 0) row.OwnId = id;
      f.Programs.push_back(row);
    }
  } else {
    f.FileName = application->ReadAttr("filename");
    f.Parameters = application->ReadAttr("parameters");
    f.Folder = application->ReadAttr("folder");
  }
  TKemXmlTag* image = Icon.FindPath("image", true);
  f.IconIndex = StrToIntDef(Trim(image->ReadAttr("index")), 0);
  f.IconFile = image->ReadAttr("filename");
  for (const TKemXmlTag* shortcut : Icon.FindAll("shortcut"))
    f.Shortcuts.push_back(ParseHotkeyText(shortcut->ReadAttr("key")));
  return f;
}

void WriteIconFields(TKemXmlTag& Icon, const TOvIconFields& f, const TOvProgramIcons& Programs,
                     const std::function<std::int64_t(TKemXmlTag*)>& IconId) {
  Icon.WriteAttr("title", f.Title);
  Icon.WriteAttr("comment", f.Comment);
  TKemXmlTag* application = Icon.FindPath("application", true);
  if (f.Batch) {
    String ids;
    for (const TOvBatchRow& row : f.Programs) {
      String id;
      if (row.Entry >= 0 && row.Entry < static_cast<int>(Programs.Icons.size()))
        id = IntToStr(IconId(Programs.Icons[static_cast<size_t>(row.Entry)]));
      else if (!row.OwnId.empty())
        id = row.OwnId;
      if (id.empty()) continue;
      if (!ids.empty()) ids += ",";
      ids += id;
    }
    application->WriteAttr("ids", ids);
  } else {
    application->WriteAttr("filename", f.FileName);
    application->WriteAttr("parameters", f.Parameters);
    application->WriteAttr("folder", f.Folder);
  }
  TKemXmlTag* image = Icon.FindPath("image", true);
  image->WriteAttr("filename", f.IconFile);
  image->WriteAttr("index", IntToStr(f.IconIndex));
  for (int i = Icon.GetChildCount() - 1; i >= 0; --i)
    if (SameText(Icon.GetChild(i)->Name, "shortcut")) Icon.DeleteChild(i);
  for (const TOvHotkey& key : f.Shortcuts)
    if (key.KeyIndex >= 0) Icon.AddTag("shortcut")->WriteAttr("key", FormatHotkeyText(key));
}

TOvFollowFlags FollowFlags(const String& FileName, const String& Folder, const String& IconFile) {
  TOvFollowFlags flags;
  const String file = AnsiLowerCase(FileName);
  const String prefix = AnsiLowerCase(Folder) + "\\";
  flags.Folder = file.compare(0, prefix.size(), prefix) == 0;
  flags.Icon = AnsiSameText(IconFile, FileName);
  return flags;
}

void FollowFileName(TOvFollowFlags& Flags, const String& NewFileName, String& Folder, String& IconFile) {
  if (Flags.Folder) {
    const String path = ExtractFilePath(NewFileName);
    Folder = !path.empty() && (path.back() == '\\' || path.back() == '/') ? path.substr(0, path.size() - 1) : path;
    Flags.Folder = false;
  }
  if (Flags.Icon) {
    IconFile = NewFileName;
    Flags.Icon = false;
  }
}

int PreviewIconIndex(int Index, int Count) { return Count > 0 && (Index < 0 || Index >= Count) ? 0 : Index; }
