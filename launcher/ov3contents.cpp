// The launcher's contents document.
#include "launcher/ov3contents.h"

#include <limits>

#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "launcher/ov3modrules.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

// A module element as a new document gets it: the icon panel's place, or
// one of the modules.
struct TDefaultModule {
  const char* Name;
  const char* Title;
  int ImageIndex;  // -1: no image
  std::vector<TOvModuleParameter> Parameters;
};

TDefaultModule DefaultModule(const TOvModuleInfo& module) {
  TDefaultModule d{module.Name, module.Title, module.ImageIndex, {}};
  d.Parameters.push_back({"images", "Images", "resource", module.Library, module.Package});
  d.Parameters.insert(d.Parameters.end(), module.Parameters.begin(), module.Parameters.end());
  return d;
}

// The modules in slot order, those that stand behind the icon panel after its place.
const std::vector<TDefaultModule>& DefaultModules() {
  static const std::vector<TDefaultModule> modules = [] {
    std::vector<TDefaultModule> list;
    for (const TOvModuleInfo& module : kModules)
      if (!module.BehindIcons) list.push_back(DefaultModule(module));
    list.push_back({kIconsElementName, "Icons", -1, {}});
    for (const TOvModuleInfo& module : kModules)
      if (module.BehindIcons) list.push_back(DefaultModule(module));
    return list;
  }();
  return modules;
}

bool HasAttr(const TKemXmlTag* tag, const String& name) { return tag->Attributes.IndexOfName(name) >= 0; }

void SetIfMissing(TKemXmlTag* tag, const String& name, const String& value) {
  if (!HasAttr(tag, name)) tag->WriteAttr(name, value);
}

void CompleteModule(TKemXmlTag* modules, const TDefaultModule& module) {
  TKemXmlTag* element = modules->FindPath(module.Name, true);
  element->WriteAttr("title", module.Title);
  SetIfMissing(element, "active", "yes");
  if (module.ImageIndex >= 0) {
    TKemXmlTag* image = element->FindPath("image", true);
    SetIfMissing(image, "filename", "ovi.dll");
    SetIfMissing(image, "index", IntToStr(module.ImageIndex));
  }
  TKemXmlTag* parameters = element->FindPath("parameters", true);
  for (const TOvModuleParameter& p : module.Parameters) {
    TKemXmlTag* parameter = parameters->FindPath(p.Name, true);
    parameter->WriteAttr("title", p.Title);
    parameter->WriteAttr("type", p.Type);
    if (p.List) parameter->WriteAttr("list", p.List);
    SetIfMissing(parameter, "value", p.Value);
  }
  // Parameters the module no longer knows go.
  for (int i = parameters->GetChildCount() - 1; i >= 0; --i) {
    const String& name = parameters->GetChild(i)->Name;
    bool known = false;
    for (const TOvModuleParameter& p : module.Parameters) known = known || SameText(name, p.Name);
    if (!known) parameters->DeleteChild(i);
  }
}

String SetAside(const String& fileName, const String& reason) {
  const String copy = fileName + String(kContentsBadSuffix);
  if (!CopyFileTo(fileName, copy))
    throw EFCreateError("The contents file \"" + fileName + "\" cannot be read in full (" + reason +
                        "), and it cannot be copied to \"" + copy + "\".");
  return copy;
}

// Why a read stopped, by the fault's kind: the language text and its English default.
struct TFaultText {
  TContentsFaultKind Kind;
  const char* Name;
  const char16_t* Default;
};
constexpr TFaultText kFaultTexts[] = {
    {cfkBracket, "Contents_Fault_Bracket", u"line %d holds a \"<\" that no \">\" closes"},
    {cfkCutOff, "Contents_Fault_CutOff", u"the file ends inside what begins at line %d"},
    {cfkUnclosed, "Contents_Fault_Unclosed", u"the element opened at line %d is never closed"},
    {cfkDeclaration, "Contents_Fault_Declaration", u"line %d is not the XML declaration the file must begin with"},
    {cfkTooDeep, "Contents_Fault_TooDeep", u"the elements at line %d lie nested deeper than %d levels"},
};

}  // namespace

String ContentsComment() {
  return "Orvanel Version " + String(kContentsVersion) + "\r\n     Launcher Contents Definition\r\n" +
         String(kContentsNotice);
}

String ContentsFileName(const String& programFileName) {
  String name = ExtractFileName(programFileName);
  return ExtractFilePath(programFileName) + name.substr(0, name.find('.')) + ".xml";
}

std::unique_ptr<TKemXml> OpenContentsDocument(const String& fileName, TContentsSetAside* SetAsideTold) {
  TContentsSetAside told;
  auto doc = std::make_unique<TKemXml>(String(), 0, false, kContentsBufferSize);
  if (!FileExists(fileName)) return doc;
  std::string bytes;
  try {
    bytes = ReadFileBytes(fileName);
  } catch (const Exception& e) {
    told.Copy = SetAside(fileName, e.Message);
    told.Error = e.Message;
    if (SetAsideTold) *SetAsideTold = told;
    return doc;
  }
  doc->LoadFromString(bytes);
  // The tree holds what the bar needs: the raw bytes go before anything is built on it.
  const bool empty = bytes.empty();
  std::string().swap(bytes);
  const bool hasContents = doc->FindPath("ov3contents") != nullptr;
  if (!empty && (!hasContents || !doc->ReadComplete())) {
    told.Copy = SetAside(fileName, hasContents ? "it ends early" : "no contents found");
    told.NoContents = doc->ReadComplete();
    if (!told.NoContents) told.Fault = ContentsFaultOf(*doc);
  }
  // Without a declaration the next start could not read what is saved now.
  if (!hasContents) doc->CreateDefault();
  if (SetAsideTold) *SetAsideTold = told;
  return doc;
}

WideString ContentsSetAsideText(const String& fileName, const TContentsSetAside& SetAside) {
  WideString why;
  for (const TFaultText& t : kFaultTexts)
    if (t.Kind == SetAside.Fault.Kind)
      why = WideFormatOrError(Translate(t.Name, t.Default),
                              {FormatArg(SetAside.Fault.Line), FormatArg(kContentsMaxDepth)});
  if (why.empty() && !SetAside.Error.empty()) why = Utf8ToWide(SetAside.Error);
  if (why.empty())
    why = SetAside.NoContents ? Translate("Contents_Fault_NoContents", u"it holds no Orvanel contents")
                              : Translate("Contents_Fault_Other", u"not all of it is XML as Orvanel writes it");
  return WideFormatOrError(Translate("Contents_SetAside",
                                     u"The contents file %s could not be read in full: %s. The bar shows what "
                                     u"could be read; the file as it was is kept as %s."),
                           {FormatArg(Utf8ToWide(fileName)), FormatArg(why), FormatArg(Utf8ToWide(SetAside.Copy))});
}

void CreateDefaultContents(TKemXml& doc) {
  if (!doc.FindPath("ov3contents")) {
    doc.Root()->AddTag(String(kXmlCommentName))->Text = ContentsComment();
    doc.Root()->AddTag("ov3contents");
  }
  TKemXmlTag* groups = doc.FindPath("ov3contents.groups", true);
  if (ListGroups(groups).empty()) groups->AddTag("group", "title=Main")->AddTag("icons");
  TKemXmlTag* modules = doc.FindPath("ov3contents.modules", true);
  for (const TDefaultModule& module : DefaultModules()) CompleteModule(modules, module);
}

void SaveContents(const TKemXml& doc, const String& fileName) { doc.SaveToFile(fileName); }

TKemXmlTag* ContentsGroups(TKemXml& doc) { return doc.FindPath("ov3contents.groups", true); }

std::vector<TKemXmlTag*> ListGroups(const TKemXmlTag* groups) {
  return groups ? groups->FindAll("group") : std::vector<TKemXmlTag*>();
}

TKemXmlTag* GroupIcons(TKemXmlTag* group, bool create) { return group ? group->FindPath("icons", create) : nullptr; }

std::vector<TKemXmlTag*> ListIcons(const TKemXmlTag* group) {
  const TKemXmlTag* icons = group ? group->FindPath("icons") : nullptr;
  return icons ? icons->FindAll("icon") : std::vector<TKemXmlTag*>();
}

int WrapGroupIndex(int index, int count) {
  if (count <= 0) return -1;
  int wrapped = index % count;
  return wrapped < 0 ? wrapped + count : wrapped;
}

TKemXmlTag* GroupAt(const std::vector<TKemXmlTag*>& groups, int index) {
  return index >= 0 && static_cast<size_t>(index) < groups.size() ? groups[static_cast<size_t>(index)] : nullptr;
}

std::int64_t IconIdOf(const TKemXmlTag* icon) {
  if (!icon) return -1;
  const String text = Trim(icon->ReadAttr("id"));
  if (text.empty()) return -1;
  constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
  std::int64_t id = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    // An id the counter could not step past counts as none.
    if (id > (limit - 1 - (c - '0')) / 10) return -1;
    id = id * 10 + (c - '0');
  }
  return id;
}

TKemXmlTag* FindIconById(const TKemXmlTag* groups, std::int64_t id) {
  if (id < 0) return nullptr;
  for (const TKemXmlTag* group : ListGroups(groups))
    for (TKemXmlTag* icon : ListIcons(group))
      if (IconIdOf(icon) == id) return icon;
  return nullptr;
}

void ListProgramIcons(const TKemXmlTag* groups, TStrings& list) {
  for (const TKemXmlTag* group : ListGroups(groups)) {
    const String groupTitle = StripAccelChars(group->ReadAttr("title"));
    for (TKemXmlTag* icon : ListIcons(group)) {
      if (!SameText(icon->ReadAttr("type", "program"), "program")) continue;
      const String title = icon->ReadAttr("title");
      if (title.empty()) continue;
      list.AddObject(StripAccelChars(title) + " (" + groupTitle + ")", icon);
    }
  }
}

void TOvIconIds::InitNextIconId(const TKemXmlTag* groups) {
  FNextIconId = 1;
  for (const TKemXmlTag* group : ListGroups(groups))
    for (const TKemXmlTag* icon : ListIcons(group)) {
      std::int64_t id = IconIdOf(icon);
      if (id >= FNextIconId) FNextIconId = id + 1;
    }
}

std::int64_t TOvIconIds::GetIconId(TKemXmlTag* icon) {
  std::int64_t id = IconIdOf(icon);
  if (id >= 0) return id;
  id = FNextIconId;
  if (FNextIconId < std::numeric_limits<std::int64_t>::max()) ++FNextIconId;
  icon->WriteAttr("id", IntToStr(id));
  if (OnSaveContents) OnSaveContents();
  return id;
}
