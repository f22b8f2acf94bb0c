// The file browser's rules for where it starts and what OK chooses, without
// windows: the file system is asked only through the injected checks.
#pragma once
#include <functional>
#include <vector>

#include "platform/types.h"

// Modes: only 6 (a folder) and 3, 5 (save, export: a new name) change the rules.
enum TBrowserMode : int { brmOpen = 0, brmInsert, brmBrowse, brmSave, brmImport, brmExport, brmFolder };

struct TBrowserFileCheck {
  std::function<bool(const String& Path)> FolderExists;
  std::function<bool(const String& Path)> FileExists;
};

// Where a browser starts: the folder shown ("" for the drives, else ending in
// "\") and the name to select or offer.
struct TBrowserStart {
  String Folder;
  String Name;
};

// The handler's initial names win over InitialPath; a folder that does not
// exist gives way to its nearest existing parent, else to the drives.
TBrowserStart BrowserStartPlace(const String& HandlerFolder, const String& HandlerName, const String& InitialPath,
                                const TBrowserFileCheck& Check);

// What OK does.
enum TBrowserAcceptKind : int { bakNone = 0, bakOpen, bakChoose };
struct TBrowserAccept {
  TBrowserAcceptKind Kind = bakNone;
  String Folder;              // bakOpen: the folder to show, ending in "\"
  std::vector<String> Files;  // bakChoose: the chosen names, full paths
  // bakNone: a typed name that names nothing OK could take (as typed, or
  // full when it had a folder to go with); the user is told so.
  String Missing;
};
// A selected entry of the list: its full path and whether it opens.
struct TBrowserPick {
  String Path;
  bool Openable = false;
};

// OK with the typed name (relative to Folder, or full) or, when none is typed,
// the selected entries. A typed folder opens; a typed name that does not exist
// is taken only in modes 3 and 5 (in an existing folder); mode 6 chooses
// folders only, without a trailing "\" but on a root.
TBrowserAccept BrowserAcceptChoice(int Mode, bool MultiSelect, const String& Folder, const String& Typed,
                                   const std::vector<TBrowserPick>& Selected, const TBrowserFileCheck& Check);

// Where Enter in the address box goes: the typed folder, full or within the
// one shown (Folder), ending in "\"; nothing typed goes to the drives ("");
// a place of the network as typed. Not found: the text names no folder.
struct TBrowserAddress {
  bool Found = false;
  String Folder;
};
TBrowserAddress BrowserAddressTarget(const String& Folder, const String& Typed, const TBrowserFileCheck& Check);

// The path helpers the rules use: Windows names ("\" and "/" delimit).
bool BrowserIsFullPath(const String& Path);
String BrowserWithDelimiter(const String& Path);
// Without the trailing delimiter, unless a root: "C:\" and "\\server\share" stay.
String BrowserFolderResult(const String& Path);
// The folder above (ending in "\"), "" when Path is a root or has no parent.
String BrowserParentFolder(const String& Path);
