// The file browser as the launcher calls it: shown modally with a mode, the
// preview handler of the use, multi-selection, an initial path and a file
// type; it tells whether the user chose, and then the chosen name. Callers
// know only this interface; the browser behind it can be exchanged (tests put
// a fake in place).
#pragma once
#include <memory>
#include <vector>

#include "platform/types.h"

// Modes: open, insert, browse, save, import, export, choose a folder.
enum TOvBrowseMode : int { obmOpen = 0, obmInsert, obmBrowse, obmSave, obmImport, obmExport, obmFolder };
// The launcher's preview handlers, by their fixed indexes.
inline constexpr int kPreviewBlank = 0;
inline constexpr int kPreviewPrograms = 1;
inline constexpr int kPreviewIcons = 2;

class TOvBrowser {
 public:
  virtual ~TOvBrowser() = default;
  // True when the user chose a file (or, in mode obmFolder, a folder).
  // FilterIndex is the file type to start with for a handler that keeps no
  // choice of its own (the programs and icons handlers keep theirs in the
  // settings ovsBrowserFltPrograms and ovsBrowserFltIcons).
  virtual bool Execute(int Mode, int Preview, bool MultiSelect, const String& InitialPath, int FilterIndex) = 0;
  // The chosen file or folder after Execute returned true.
  virtual String FileName() const = 0;
  // All chosen files (several only when MultiSelect asked for them).
  virtual std::vector<String> Files() const { return {FileName()}; }
};

// The process-wide browser; nil until one is put in place.
TOvBrowser* OvBrowser();
// Puts a browser in place (nil: none) and hands back the one before.
std::unique_ptr<TOvBrowser> SetOvBrowser(std::unique_ptr<TOvBrowser> Browser);

// One file type a handler offers: its text and its patterns.
struct TOvFileType {
  WideString Text;  // "Programs (*.exe;*.com;*.bat)"
  String Patterns;  // "*.exe;*.com;*.bat"
};
// The file types of a preview handler, their texts from the language (250-252).
std::vector<TOvFileType> BrowseFileTypes(int Preview);
// The setting that keeps the handler's chosen type (ovsBrowserFltPrograms,
// ovsBrowserFltIcons), 0 for none.
int BrowseFileTypeSetting(int Preview);
