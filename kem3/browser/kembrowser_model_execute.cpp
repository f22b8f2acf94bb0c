// Where the file browser starts and what its OK chooses.
#include "kem3/browser/kembrowser_model_execute.h"

#include "kem3/browser/kembrowser_network.h"
#include "platform/sysutils.h"

namespace {

bool IsDelim(char c) { return c == '\\' || c == '/'; }

String WithoutDelimiter(String Path) {
  while (!Path.empty() && IsDelim(Path.back())) Path.pop_back();
  return Path;
}

bool Exists(const std::function<bool(const String&)>& Check, const String& Path) {
  return Check && !Path.empty() && Check(Path);
}

}  // namespace

bool BrowserIsFullPath(const String& Path) {
  return (Path.size() >= 2 && Path[1] == ':') || (!Path.empty() && IsDelim(Path[0]));
}

String BrowserWithDelimiter(const String& Path) {
  if (Path.empty() || IsDelim(Path.back())) return Path;
  return Path + '\\';
}

String BrowserFolderResult(const String& Path) {
  const String bare = WithoutDelimiter(Path);
  if (bare.size() == 2 && bare[1] == ':') return bare + '\\';
  return bare;
}

String BrowserParentFolder(const String& Path) {
  const String bare = WithoutDelimiter(Path);
  if (bare.empty() || bare == ExtractFileDrive(bare)) return String();
  const size_t last = bare.find_last_of("\\/");
  if (last == String::npos) return String();
  const String parent = bare.substr(0, last + 1);
  // "\\server" is no folder of its own: above a share there are the drives.
  return WithoutDelimiter(parent).size() < ExtractFileDrive(bare).size() ? String() : parent;
}

TBrowserStart BrowserStartPlace(const String& HandlerFolder, const String& HandlerName, const String& InitialPath,
                                const TBrowserFileCheck& Check) {
  TBrowserStart start;
  if (!HandlerFolder.empty() || !HandlerName.empty()) {
    start.Folder = HandlerFolder;
    start.Name = HandlerName;
    if (BrowserIsFullPath(HandlerName) || HandlerName.find_first_of("\\/") != String::npos) {
      const size_t last = HandlerName.find_last_of("\\/");
      if (start.Folder.empty() || BrowserIsFullPath(HandlerName)) start.Folder = HandlerName.substr(0, last + 1);
      start.Name = HandlerName.substr(last + 1);
    }
  } else if (Exists(Check.FolderExists, InitialPath)) {
    start.Folder = InitialPath;
  } else {
    const size_t last = InitialPath.find_last_of("\\/");
    start.Folder = last == String::npos ? String() : InitialPath.substr(0, last + 1);
    start.Name = InitialPath.substr(last == String::npos ? 0 : last + 1);
  }
  start.Folder = BrowserWithDelimiter(start.Folder);
  while (!start.Folder.empty() && !Exists(Check.FolderExists, start.Folder))
    start.Folder = BrowserParentFolder(start.Folder);
  return start;
}

TBrowserAccept BrowserAcceptChoice(int Mode, bool MultiSelect, const String& Folder, const String& Typed,
                                   const std::vector<TBrowserPick>& Selected, const TBrowserFileCheck& Check) {
  TBrowserAccept accept;
  const bool folders = Mode == brmFolder;
  const String typed = Trim(Typed);
  if (!typed.empty()) {
    if (!BrowserIsFullPath(typed) && Folder.empty()) {  // nothing to be relative to
      accept.Missing = typed;
      return accept;
    }
    const String full = BrowserIsFullPath(typed) ? typed : BrowserWithDelimiter(Folder) + typed;
    if (Exists(Check.FolderExists, full)) {
      accept.Kind = bakOpen;
      accept.Folder = BrowserWithDelimiter(full);
    } else if (!folders && !IsDelim(full.back()) &&
               (Exists(Check.FileExists, full) ||
                ((Mode == brmSave || Mode == brmExport) &&
                 Exists(Check.FolderExists, full.substr(0, full.find_last_of("\\/") + 1))))) {
      accept.Kind = bakChoose;
      accept.Files.push_back(full);
    } else {
      accept.Missing = full;
    }
    return accept;
  }
  if (folders) {
    String chosen = Folder;
    for (const TBrowserPick& p : Selected)
      if (p.Openable) {
        chosen = p.Path;
        break;
      }
    if (chosen.empty()) return accept;
    // The network and its servers are no folders: OK opens a server instead.
    const TBrowserNetKind place = BrowserNetworkPlace(chosen).Kind;
    if (place == bnkNetwork) return accept;
    if (place == bnkServer) {
      accept.Kind = bakOpen;
      accept.Folder = BrowserWithDelimiter(chosen);
      return accept;
    }
    accept.Kind = bakChoose;
    accept.Files.push_back(BrowserFolderResult(chosen));
    return accept;
  }
  if (Selected.empty()) return accept;
  if (Selected.front().Openable) {
    accept.Kind = bakOpen;
    accept.Folder = BrowserWithDelimiter(Selected.front().Path);
    return accept;
  }
  for (const TBrowserPick& p : Selected) {
    if (p.Openable) continue;
    accept.Files.push_back(p.Path);
    if (!MultiSelect) break;
  }
  if (!accept.Files.empty()) accept.Kind = bakChoose;
  return accept;
}

TBrowserAddress BrowserAddressTarget(const String& Folder, const String& Typed, const TBrowserFileCheck& Check) {
  const String typed = Trim(Typed);
  if (typed.empty()) return {true, String()};
  if (BrowserNetworkPlace(typed).Kind != bnkNone) return {true, BrowserWithDelimiter(typed)};
  const String path = BrowserIsFullPath(typed) ? typed
                      : Folder.empty()         ? String()
                                               : BrowserWithDelimiter(Folder) + typed;
  if (!Exists(Check.FolderExists, path)) return {};
  return {true, BrowserWithDelimiter(path)};
}
