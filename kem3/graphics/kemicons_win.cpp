// What the icon library asks of Windows: the icon groups of executables and
// DLLs through the system's resource calls, and the icon registered for a
// file type. Every icon resource is copied (once, however many group entries
// name it) into a block its images share before the module is let go.
#include <map>
#include <string>

#include "kem3/framework/kemreg_win.h"
#include "kem3/graphics/kemicons.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

namespace {

std::string_view ResourceBytes(HMODULE Module, LPCWSTR Name, LPCWSTR Type) {
  HRSRC info = FindResourceW(Module, Name, Type);
  if (!info) return {};
  HGLOBAL handle = LoadResource(Module, info);
  const void* data = handle ? LockResource(handle) : nullptr;
  return data ? std::string_view(static_cast<const char*>(data), SizeofResource(Module, info)) : std::string_view();
}

String ResourceName(LPCWSTR Name) {
  if (IS_INTRESOURCE(Name)) return IntToStr(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(Name)));
  return WideToUtf8(reinterpret_cast<const char16_t*>(Name));
}

// One walk over a module's icon groups: the copies of its icon resources,
// one per resource however many entries name it (nullptr: no such resource),
// and the budget of the file. Groups may all name one long directory, and
// their entries a missing icon: every group and entry walked counts.
struct TModuleWalk {
  TKemIcons& Icons;
  std::map<std::uint16_t, TIconBlock> Blocks;
  TIconFileBudget Budget;
};

// The copy of the icon resource of that id, made at its first use; nullptr
// when the module has none.
const TIconBlock& IconBlock(TModuleWalk& Walk, HMODULE Module, std::uint16_t Id) {
  if (const auto known = Walk.Blocks.find(Id); known != Walk.Blocks.end()) return known->second;
  const std::string_view data = ResourceBytes(Module, MAKEINTRESOURCEW(Id), MAKEINTRESOURCEW(3));
  return Walk.Blocks.emplace(Id, data.empty() ? nullptr : std::make_shared<const std::string>(data)).first->second;
}

BOOL CALLBACK AddGroupProc(HMODULE Module, LPCWSTR, LPWSTR Name, LONG_PTR Param) {
  auto& walk = *reinterpret_cast<TModuleWalk*>(Param);
  auto group = std::make_unique<TKemIconGroup>();
  try {
    walk.Budget.TakeEntry();
    const TIconBytes dir(ResourceBytes(Module, Name, MAKEINTRESOURCEW(14)));
    group->Name = ResourceName(Name);
    const int count = dir.Has(0, 6) ? dir.U16(4) : 0;
    for (int i = 0; i < count && !TIconFileBudget::GroupFull(*group) && dir.Has(6 + std::int64_t{i} * 14, 14); ++i) {
      walk.Budget.TakeEntry();
      const std::int64_t e = 6 + std::int64_t{i} * 14;
      const TIconBlock& block = IconBlock(walk, Module, dir.U16(e + 12));
      if (!block) continue;
      try {
        walk.Budget.AddImage(*group, std::make_unique<TKemIconImageWin>(*block, dir.U8(e), dir.U8(e + 1), dir.U8(e + 2),
                                                                        dir.U16(e + 4), dir.U16(e + 6), block));
      } catch (const Exception&) {
        // A damaged image is left out.
      }
    }
  } catch (const Exception&) {
    // A damaged group directory adds what it gave; the walk goes on while the budget lasts.
  }
  walk.Icons.AddGroup(std::move(group));
  return walk.Budget.Spent() ? FALSE : TRUE;
}

// The default value of Path below Root, "" when missing.
String DefaultValue(HKEY Root, const String& Path) {
  TKemRegistry reg;
  reg.SetRootKey(Root);
  try {
    return reg.OpenKey("\\" + Path) ? reg.ReadString("") : String();
  } catch (const Exception&) {
    return String();
  }
}

// The user's own classes first, as the merged view of HKEY_CLASSES_ROOT has them.
String ClassesValue(const String& Path) {
  String value = DefaultValue(HKEY_CURRENT_USER, "Software\\Classes\\" + Path);
  return value.empty() ? DefaultValue(HKEY_CLASSES_ROOT, Path) : value;
}

String ExpandEnvironment(const String& Text) {
  const WideString wide = Utf8ToWide(Text);
  const auto* source = reinterpret_cast<LPCWSTR>(wide.c_str());
  const DWORD size = ExpandEnvironmentStringsW(source, nullptr, 0);
  if (size == 0) return Text;
  std::u16string out(size, u'\0');
  if (ExpandEnvironmentStringsW(source, reinterpret_cast<LPWSTR>(out.data()), size) == 0) return Text;
  out.resize(out.find(u'\0'));
  return WideToUtf8(out);
}

}  // namespace

void TKemIcons::LoadFromModule(HINSTANCE Module) {
  if (!Module || Module == reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(-1))) return;
  TModuleWalk walk{*this, {}, {}};
  EnumResourceNamesW(Module, MAKEINTRESOURCEW(14), AddGroupProc, reinterpret_cast<LONG_PTR>(&walk));
}

bool LoadExecutableIcons(TKemIcons& Icons, const String& FileName) {
  const WideString wide = Utf8ToWide(FileName);
  HMODULE module = LoadLibraryExW(reinterpret_cast<LPCWSTR>(wide.c_str()), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return false;
  Icons.LoadFromModule(module);
  FreeLibrary(module);
  return true;
}

String RegisteredIconLocation(const String& Extension) {
  const String progId = ClassesValue(Extension);
  if (progId.empty()) return String();
  const String clsid = ClassesValue(progId + "\\CLSID");
  const String location =
      clsid.empty() ? ClassesValue(progId + "\\DefaultIcon") : ClassesValue("CLSID\\" + clsid + "\\DefaultIcon");
  return ExpandEnvironment(location);
}
