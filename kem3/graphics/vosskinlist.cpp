// The skin list, the selection and CurrentSkin.
#include "kem3/graphics/vosskinlist.h"

#include <vector>

#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemsysinfo.h"
#include "kem3/framework/kemxml.h"
#include "kem3/pictures/kemimage.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/sysutils.h"

namespace {

struct TSkinState {
  std::vector<std::unique_ptr<TSkinInfo>> Skins;
  int SelectedSkin = -1;
  int SelectedLayout = -1;
  std::unique_ptr<TVosSkin> Current;
};

TSkinState& State() {
  static TSkinState state;
  return state;
}

const TSkinInfo* InfoAt(int Index) {
  const auto& skins = State().Skins;
  return Index >= 0 && Index < static_cast<int>(skins.size()) ? skins[static_cast<size_t>(Index)].get() : nullptr;
}

// The skin described by a definition file, or nil when the file is no skin definition.
std::unique_ptr<TSkinInfo> ReadSkinInfo(const String& FileName) {
  TKemXml document(String(), 0, true);
  try {
    document.LoadFromString(ReadFileBytes(FileName));
  } catch (const Exception&) {
    return nullptr;
  }
  const TKemXmlTag* root = document.Root()->FindPath("vosskindefinition");
  if (!root) return nullptr;
  auto info = std::make_unique<TSkinInfo>();
  info->Path = FileName;
  info->Title = root->ReadAttr("title");
  if (const TKemXmlTag* layouts = root->FindPath("layouts")) {
    for (int i = 0; i < layouts->GetChildCount(); ++i) {
      const TKemXmlTag* layout = layouts->GetChild(i);
      if (layout->IsComment()) continue;
      info->Layouts.Add(layout->ReadAttr("id") + "=" + layout->ReadAttr("title"));
    }
  }
  // An empty "layouts" element offers nothing to choose: it counts as missing.
  if (info->Layouts.Count() == 0) info->Layouts.Add("default=Default");
  const String preview = ChangeFileExt(FileName, ".png");
  if (FileExists(preview)) {
    try {
      LoadBitmapFromFile(info->Preview, preview);
    } catch (const Exception&) {
      info->Preview.SetSize(0, 0);
    }
  }
  return info;
}

}  // namespace

void ScanSkinsIn(const String& Folder) {
  TSkinState& s = State();
  s.Current = std::make_unique<TVosSkin>();
  s.Skins.clear();
  s.SelectedSkin = s.SelectedLayout = -1;
  const String folder = IncludeTrailingPathDelimiter(Folder);
  std::vector<String> names{String()};
  EnumFolderEntries(folder, "*.*", [&names](const String& Name, bool IsFolder) {
    if (IsFolder) names.push_back(Name);
    return true;
  });
  for (const String& name : names) {
    const String file = name.empty() ? folder + "skin.xml" : folder + name + PathDelim + "skin.xml";
    if (!FileExists(file)) continue;
    if (auto info = ReadSkinInfo(file)) s.Skins.push_back(std::move(info));
  }
  if (!s.Skins.empty()) s.SelectedSkin = 0;
}

void ScanSkins() { ScanSkinsIn(GetExeDir() + "Skins"); }

void FreeSkinList() {
  TSkinState& s = State();
  s.Skins.clear();
  s.Current.reset();
  s.SelectedSkin = s.SelectedLayout = -1;
}

int GetSkinCount() { return static_cast<int>(State().Skins.size()); }

String GetSkinTitle(int Index) {
  const TSkinInfo* info = InfoAt(Index);
  return info ? info->Title : String();
}

const TStringList* GetSkinLayouts(int Index) {
  const TSkinInfo* info = InfoAt(Index);
  return info ? &info->Layouts : nullptr;
}

const TBitmap* GetSkinPreview(int Index) {
  const TSkinInfo* info = InfoAt(Index);
  return info ? &info->Preview : nullptr;
}

bool SelectSkin(int Skin, int Layout) {
  TSkinState& s = State();
  const TSkinInfo* info = InfoAt(Skin);
  if (!info || Layout < 0 || Layout >= info->Layouts.Count() || !s.Current) return false;
  if (Skin == s.SelectedSkin && Layout == s.SelectedLayout) return false;
  s.SelectedSkin = Skin;
  s.SelectedLayout = Layout;
  s.Current->SetDefinitionFile(info->Path);
  s.Current->SetLayoutId(info->Layouts.Names(Layout));
  try {
    s.Current->Reload();
  } catch (const Exception&) {
    // A definition spoilt since the scan leaves the defaults: the bar draws plainly.
    s.Current->Clear();
  }
  return true;
}

bool SelectSkinByName(const String& Title, const String& LayoutId) {
  for (int i = 0; i < GetSkinCount(); ++i) {
    const TSkinInfo* info = InfoAt(i);
    if (!SameText(info->Title, Title)) continue;
    for (int l = 0; l < info->Layouts.Count(); ++l) {
      if (!SameText(info->Layouts.Names(l), LayoutId)) continue;
      SelectSkin(i, l);
      return true;
    }
  }
  return false;
}

int GetSelectedSkinIndex() { return State().SelectedSkin; }

int GetSelectedLayoutIndex() { return State().SelectedLayout; }

String ReadSkinLayoutValue(const String& Attribute) {
  const TSkinState& s = State();
  const TSkinInfo* info = InfoAt(s.SelectedSkin);
  if (!info || !s.Current || s.SelectedLayout < 0 || s.SelectedLayout >= info->Layouts.Count()) return String();
  return s.Current->ReadLayoutAttr(info->Layouts.Names(s.SelectedLayout), Attribute);
}

TVosSkin* CurrentSkin() { return State().Current.get(); }

void LoadSkinSelection(const String& Section, const String& TitleKey, const String& LayoutKey) {
  String title, layout;
  try {
    TIniFile* ini = GetIniFile();
    layout = ini->ReadString(Section, LayoutKey, String());
    title = ini->ReadString(Section, TitleKey, String());
  } catch (const Exception&) {
  }
  if (!SelectSkinByName(title, layout)) SelectSkin(0, 0);
}

void SaveSkinSelection(const String& Section, const String& TitleKey, const String& LayoutKey) {
  const TSkinState& s = State();
  const TSkinInfo* info = InfoAt(s.SelectedSkin);
  if (!info || s.SelectedLayout < 0 || s.SelectedLayout >= info->Layouts.Count()) return;
  try {
    TIniFile* ini = GetIniFile();
    ini->WriteString(Section, TitleKey, info->Title);
    ini->WriteString(Section, LayoutKey, info->Layouts.Names(s.SelectedLayout));
  } catch (const Exception&) {
  }
}

void InitSkins() {
  ScanSkins();
  LoadSkinSelection("Skin", "Current", "Layout");
  cfgSkinSaver = SaveSkinSelection;
}

void DoneSkins(bool SaveSelection) {
  if (SaveSelection) SaveSkinSelection("Skin", "Current", "Layout");
  cfgSkinSaver = nullptr;
  FreeSkinList();
}
