// The system's open dialog and folder chooser behind the launcher's browser call.
#include "launcher/ov3browse_win.h"

#include "platform/winapi_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "kem3/framework/kembrwprev.h"
#include "kem3/framework/kemcfg.h"
#include "launcher/ov3cfg.h"
#include "platform/application_win.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

HWND OwnerWindow() {
  HWND active = GetActiveWindow();
  return active ? active : (Application ? Application->Handle() : nullptr);
}

// The folder chooser starts at InitialPath.
int CALLBACK FolderCallback(HWND Window, UINT Message, LPARAM, LPARAM Data) {
  if (Message == BFFM_INITIALIZED && Data) SendMessageW(Window, BFFM_SETSELECTIONW, TRUE, Data);
  return 0;
}

struct TComScope {
  bool Initialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  ~TComScope() {
    if (Initialised) CoUninitialize();
  }
};

}  // namespace

bool TOvSystemBrowser::Execute(int Mode, int Preview, bool MultiSelect, const String& InitialPath, int FilterIndex) {
  FFileName.clear();
  return Mode == obmFolder ? ChooseFolder(InitialPath)
                           : ChooseFile(Mode, Preview, MultiSelect, InitialPath, FilterIndex);
}

bool TOvSystemBrowser::ChooseFile(int Mode, int Preview, bool MultiSelect, const String& InitialPath, int FilterIndex) {
  const std::vector<TOvFileType> types = BrowseFileTypes(Preview);
  // "Text\0Patterns\0" per type, then one more "\0".
  WideString filter;
  for (const TOvFileType& type : types) filter += type.Text + u'\0' + Utf8ToWide(type.Patterns) + u'\0';
  const int setting = BrowseFileTypeSetting(Preview);
  const int count = static_cast<int>(types.size());
  // A kept index outside the types (from a longer list, or a damaged setting) selects the first.
  const int keptType = setting ? cfgGetInt(setting, 0) : FilterIndex;
  const int chosenType = keptType >= 0 && keptType < count ? keptType : 0;

  std::vector<wchar_t> name(32768, L'\0');
  const WideString initialName = Utf8ToWide(ExtractFileName(InitialPath));
  std::copy_n(reinterpret_cast<const wchar_t*>(initialName.c_str()), std::min<size_t>(initialName.size(), 32767),
              name.begin());
  const WideString folder = Utf8ToWide(ExtractFileDir(InitialPath));
  const WideString caption = BrowserModeCaption(Mode);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = OwnerWindow();
  ofn.lpstrFilter = reinterpret_cast<LPCWSTR>(filter.c_str());
  ofn.nFilterIndex = static_cast<DWORD>(chosenType + 1);
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : reinterpret_cast<LPCWSTR>(folder.c_str());
  ofn.lpstrTitle = caption.empty() ? nullptr : reinterpret_cast<LPCWSTR>(caption.c_str());
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (Mode == obmSave ? 0 : OFN_FILEMUSTEXIST) |
              (MultiSelect ? OFN_ALLOWMULTISELECT : 0);
  const bool chosen = Mode == obmSave ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  // The type stays chosen for the next time, whether or not a file was.
  if (setting && ofn.nFilterIndex >= 1) cfgSetValue(setting, static_cast<int>(ofn.nFilterIndex) - 1);
  if (!chosen) return false;
  // With several files the first one is the name: folder, then the files, each ending in "\0".
  const WideString first(reinterpret_cast<const char16_t*>(name.data()));
  const WideString second(reinterpret_cast<const char16_t*>(name.data() + first.size() + 1));
  FFileName = WideToUtf8(MultiSelect && !second.empty() ? first + u"\\" + second : first);
  return true;
}

bool TOvSystemBrowser::ChooseFolder(const String& InitialPath) {
  TComScope com;
  const WideString start = Utf8ToWide(InitialPath);
  const WideString caption = BrowserModeCaption(obmFolder);
  BROWSEINFOW info{};
  info.hwndOwner = OwnerWindow();
  info.lpszTitle = caption.empty() ? nullptr : reinterpret_cast<LPCWSTR>(caption.c_str());
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = FolderCallback;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
  if (!list) return false;
  wchar_t path[MAX_PATH] = L"";
  const bool found = SHGetPathFromIDListW(list, path);
  CoTaskMemFree(list);
  if (!found) return false;
  FFileName = WideToUtf8(reinterpret_cast<const char16_t*>(path));
  return true;
}

void InstallSystemBrowser() {
  SetOvBrowser(std::make_unique<TOvSystemBrowser>());
  OvFolderChooser = [](const String& Start, String& Folder) {
    TOvBrowser* browser = OvBrowser();
    if (!browser || !browser->Execute(obmFolder, kPreviewBlank, false, Start, 0)) return false;
    Folder = browser->FileName();
    return true;
  };
}
