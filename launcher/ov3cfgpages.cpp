// The launcher's own preference pages without their windows.
#include "launcher/ov3cfgpages.h"

#include <algorithm>
#include <memory>

#include "kem3/framework/kemres.h"
#include "kem3/framework/kemsysinfo.h"
#include "kem3/framework/kemutil.h"
#include "kem3/framework/kemxml.h"
#include "launcher/ov3cfg.h"
#include "platform/exceptions.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"

// ---- Shortcut rows

const TOvHotkeyKind& HotkeyKind(int Kind) {
  static constexpr std::array<TOvHotkeyKind, 4> kKinds{{
      {"FocusShortcut", ovsFocusShortcut, true},
      {"AutohideShortcut", ovsAutohideShortcut, true},
      {"PrevGroupShortcut", ovsPreviousGroup, false},
      {"NextGroupShortcut", ovsNextGroup, false},
  }};
  return kKinds.at(static_cast<size_t>(std::clamp(Kind, 0, 3)));
}

namespace {

// A bar key's lists offer only "none" and "any": a side reads as "any".
int ShownSide(TOvModSide Side, bool Global) { return Global ? Side : std::min<int>(Side, modAny); }

TOvModSide RowSide(int Shown, TOvModSide Stored, bool Global) {
  // A bar key's list that still shows what was stored keeps the stored side.
  if (!Global && Shown == ShownSide(Stored, false)) return Stored;
  return static_cast<TOvModSide>(std::clamp(Shown, 0, 3));
}

}  // namespace

TOvHotkeyRow HotkeyRowFromText(std::string_view Text, bool Global) {
  TOvHotkeyRow Row;
  Row.Stored = ParseHotkeyText(Text);
  Row.KeyItem = Row.Stored.KeyIndex + 1;
  Row.Modifiers = {ShownSide(Row.Stored.Ctrl, Global), ShownSide(Row.Stored.Alt, Global),
                   ShownSide(Row.Stored.Shift, Global), Global ? ShownSide(Row.Stored.Windows, true) : 0};
  return Row;
}

String HotkeyRowText(const TOvHotkeyRow& Row, bool Global) {
  TOvHotkey Hotkey = Row.Stored;
  Hotkey.KeyIndex = Row.KeyItem - 1;
  Hotkey.Ctrl = RowSide(Row.Modifiers[0], Row.Stored.Ctrl, Global);
  Hotkey.Alt = RowSide(Row.Modifiers[1], Row.Stored.Alt, Global);
  Hotkey.Shift = RowSide(Row.Modifiers[2], Row.Stored.Shift, Global);
  if (Global) Hotkey.Windows = RowSide(Row.Modifiers[3], Row.Stored.Windows, true);
  return FormatHotkeyText(Hotkey);
}

// ---- Screen areas

TOvAreaFlags AreasFromText(std::string_view Text) {
  TOvAreaFlags Flags{};
  for (int Area = 0; Area < kScreenAreaCount; ++Area) Flags[Area] = AreaInSet(Area, 1, heTop, Text);
  return Flags;
}

String AreasText(const TOvAreaFlags& Flags) {
  String Text;
  for (int Area = 0; Area < kScreenAreaCount; ++Area) {
    if (!Flags[Area]) continue;
    if (!Text.empty()) Text += ',';
    Text += static_cast<char>('0' + Area);
  }
  return Text;
}

TOvAreaFlags AutomaticAreas(bool Vertical, TPoint BarPos, int ScreenWidth, int ScreenHeight) {
  const TOvHideEdge Edge = ChooseHideEdge(Vertical, BarPos, ScreenWidth, ScreenHeight);
  TOvAreaFlags Flags{};
  for (int Area = 0; Area < kScreenAreaCount; ++Area) Flags[Area] = AreaInSet(Area, 0, Edge, {});
  return Flags;
}

TRect AreaPictureRect(int Area, int W, int H, int EdgeSize, int CornerSize) {
  // The screen's own geometry with the picture's thicknesses.
  return ScreenAreaRect(Area, W, H, EdgeSize * 2 + 2, CornerSize * 2 + 2);
}

int AreaAt(int X, int Y, int W, int H, int EdgeSize, int CornerSize) {
  for (int Area = kScreenAreaCount - 1; Area >= 0; --Area) {
    const TRect R = AreaPictureRect(Area, W, H, EdgeSize, CornerSize);
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return Area;
  }
  return -1;
}

int AreaColor(const TOvAreaView& View, int Area) {
  const bool On = View.Custom.at(static_cast<size_t>(Area));
  if (Area == View.Pressed && View.PressedInside) return On ? 0x0000FF : 0xC0C0C0;
  if (View.Enabled) return On ? 0x0000E0 : 0x808080;
  return View.Automatic.at(static_cast<size_t>(Area)) ? 0x8080FF : 0xC0C0C0;
}

int MonitorPictureWidth(int ScreenWidth, int ScreenHeight) {
  return ScreenHeight > 0 ? ScreenWidth * (128 - 34) / ScreenHeight + 12 : 12;
}

int AreaPictureWidth(int ScreenWidth, int ScreenHeight) {
  return ScreenHeight > 0 ? ScreenWidth * 94 / ScreenHeight : 0;
}

// ---- Resource packages

namespace {

String PackageString(TKemResources& Package, const char* Name) {
  auto* Entry = dynamic_cast<TKemResourceString*>(Package.Find(Name));
  return Entry ? Entry->Value : String();
}

}  // namespace

std::vector<String> ReadPackageList(const String& ResourceDir) {
  TStringList Files;
  FindFiles(Files, ResourceDir + "*.drl", false);
  std::vector<String> List;
  for (int i = 0; i < Files.Count(); ++i) {
    const String FileName = Files.Get(i);
    try {
      TKemResources Package(ResourceDir + FileName, true);
      Package.ReadDirectory();
      const String LibId = PackageString(Package, "libid");
      const String Name = PackageString(Package, "name");
      if (!LibId.empty() && !Name.empty()) List.push_back(LibId + "=" + Name + ";" + FileName);
    } catch (const Exception&) {
      // A damaged package offers nothing to choose.
    }
  }
  std::sort(List.begin(), List.end(), [](const String& A, const String& B) { return CompareText(A, B) < 0; });
  return List;
}

// ---- The modules page

std::vector<WideString> ModulesHelpMarkup(const WideString& DragText, const WideString& DeactivateText) {
  // The rule: a right tab filled in grey up to the layout's picture 0 (one grey pixel) at the edge.
  return {u"{s:hintline}{f909090}{tr}{pt local:0}", u"{s:hinttext}" + DragText, u"{s:hinttext}" + DeactivateText};
}

namespace {

TOvParamType ParamType(const String& Type) {
  if (SameText(Type, "integer")) return optInteger;
  if (SameText(Type, "boolean")) return optBoolean;
  if (SameText(Type, "resource")) return optResource;
  return optOther;
}

// A value as the page's control gives it back, to see whether it changed.
String NormalValue(TOvParamType Type, const String& Value) {
  switch (Type) {
    case optInteger:
      return IntToStr(StrToIntDef(Value, 0));
    case optBoolean:
      return BoolToYesNo(YesNoToBool(Value, false));
    default:
      return Value;
  }
}

struct TPackageText {
  String LibId, Name, FileName;
};

TPackageText SplitPackage(const String& Text) {
  const size_t Eq = Text.find('=');
  const size_t Semi = Text.find(';', Eq == String::npos ? 0 : Eq);
  if (Eq == String::npos || Semi == String::npos) return {};
  return {Text.substr(0, Eq), Text.substr(Eq + 1, Semi - Eq - 1), Text.substr(Semi + 1)};
}

int ChildIndex(const TKemXmlTag* Parent, const TKemXmlTag* Child) {
  for (int i = 0; i < Parent->GetChildCount(); ++i)
    if (Parent->GetChild(i) == Child) return i;
  return -1;
}

}  // namespace

TOvModulesModel::TOvModulesModel(TKemXmlTag* Modules, std::vector<String> Packages) : FPackages(std::move(Packages)) {
  if (!Modules) return;
  for (int i = 0; i < Modules->GetChildCount(); ++i) {
    TKemXmlTag* Element = Modules->GetChild(i);
    if (Element->IsComment()) continue;
    TOvModuleRecord Record;
    Record.Element = Element;
    Record.Active = YesNoToBool(Element->ReadAttr("active", "yes"), true);
    if (TKemXmlTag* Params = Element->FindPath("parameters")) {
      for (int p = 0; p < Params->GetChildCount(); ++p) {
        TKemXmlTag* Param = Params->GetChild(p);
        if (Param->IsComment()) continue;
        const TOvParamType Type = ParamType(Param->ReadAttr("type"));
        Record.Params.push_back(
            {Param, Param->ReadAttr("title", Param->Name), Param->ReadAttr("list"), Type, Param->ReadAttr("value")});
      }
    }
    Order.push_back(static_cast<int>(Records.size()));
    Records.push_back(std::move(Record));
  }
}

bool TOvModulesModel::CanDeactivate(int Record) const {
  return !SameText(Records.at(static_cast<size_t>(Record)).Element->Name, "icons");
}

void TOvModulesModel::Toggle(int Record) {
  if (!CanDeactivate(Record)) return;
  TOvModuleRecord& R = Records.at(static_cast<size_t>(Record));
  R.Active = !R.Active;
  R.Changed = true;
  ActiveChanged = true;
}

void TOvModulesModel::Move(int From, int To) {
  const int Count = static_cast<int>(Order.size());
  if (From < 0 || From >= Count || To < 0 || To >= Count || From == To) return;
  const int Moved = Order[From];
  Order.erase(Order.begin() + From);
  Order.insert(Order.begin() + To, Moved);
  OrderChanged = true;
}

void TOvModulesModel::StoreShown(int Record, const std::vector<String>& Values) {
  TOvModuleRecord& R = Records.at(static_cast<size_t>(Record));
  for (size_t i = 0; i < R.Params.size() && i < Values.size(); ++i) {
    TOvModuleParam& P = R.Params[i];
    if (P.Type == optOther) continue;
    P.Value = Values[i];
    if (NormalValue(P.Type, P.Element->ReadAttr("value")) != NormalValue(P.Type, Values[i])) R.Changed = true;
  }
}

std::vector<String> TOvModulesModel::PackagesOf(const String& List, bool FileNames) const {
  std::vector<String> Found;
  for (const String& Text : FPackages) {
    TPackageText P = SplitPackage(Text);
    if (!P.LibId.empty() && SameText(P.LibId, List)) Found.push_back(FileNames ? P.FileName : P.Name);
  }
  return Found;
}

std::vector<String> TOvModulesModel::ResourceNames(const String& List) const { return PackagesOf(List, false); }

int TOvModulesModel::ResourceIndex(const String& List, const String& Value) const {
  const std::vector<String> Files = PackagesOf(List, true);
  for (size_t i = 0; i < Files.size(); ++i)
    if (SameText(Files[i], Value)) return static_cast<int>(i);
  return 0;
}

String TOvModulesModel::ResourceValue(const String& List, int Index, const String& Stored) const {
  const std::vector<String> Files = PackagesOf(List, true);
  if (Index < 0 || Index >= static_cast<int>(Files.size())) return Stored;
  return Files[static_cast<size_t>(Index)];
}

TOvModulesApply TOvModulesModel::Apply() {
  TOvModulesApply Result;
  for (TOvModuleRecord& R : Records) {
    if (!R.Changed) continue;
    R.Element->WriteAttr("active", R.Active ? "yes" : "no");
    for (const TOvModuleParam& P : R.Params)
      if (P.Type != optOther) P.Element->WriteAttr("value", P.Value);
    if (R.Active) Result.Reload.push_back(R.Element->Name);
    R.Changed = false;
  }
  if (OrderChanged && !Records.empty()) {
    TKemXmlTag* Parent = Records.front().Element->Parent();
    // The records' places in the document, filled in the panel list's order.
    std::vector<int> Places;
    for (const TOvModuleRecord& R : Records) Places.push_back(ChildIndex(Parent, R.Element));
    std::sort(Places.begin(), Places.end());
    for (size_t k = 0; k < Order.size(); ++k) {
      const int Current = ChildIndex(Parent, Records[static_cast<size_t>(Order[k])].Element);
      if (Current >= 0 && Current != Places[k]) Parent->MoveChild(Current, Places[k]);
    }
  }
  Result.Rearrange = OrderChanged || ActiveChanged;
  OrderChanged = ActiveChanged = false;
  return Result;
}
