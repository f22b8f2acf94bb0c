// What the file browser keeps between uses: its named places and the settings
// section "Browser" (splitter, columns, sorting, checked workgroups,
// favourites). Every stored value is checked when read: a bad one gives its
// default. The window's placement is kept in the same section by the
// settings' placement functions (cfgLoadPlacement, cfgSavePlacement).
#pragma once
#include <functional>
#include <vector>

#include "platform/types.h"

class TStrings;

// One named place: "IMAGE,Caption=folder".
struct TBrowserPlace {
  String Image;    // the icon resource it shows
  String Caption;  // as stored: a language text name or the caption itself
  String Folder;   // full, ending in "\"
};

// Entry 0 of the named places, from the icon library folder setting.
String BrowserIconsPlace(const String& IconFolder);
// The places worth showing: entries with a folder, relative folders taken
// from ProgramFolder. An entry without "," has no image and its name as caption.
std::vector<TBrowserPlace> BrowserPlaces(const TStrings& Places, const String& ProgramFolder);

inline constexpr char BrowserSection[] = "Browser";

struct TBrowserState {
  static constexpr int DefaultSplitter = 160;
  static constexpr int MinSplitter = 40;
  static constexpr int MaxSplitter = 2000;
  static constexpr int MaxColumns = 64;
  static constexpr int MaxColumnWidth = 2000;
  static constexpr int MaxFavourites = 256;

  int Splitter = DefaultSplitter;  // width of the places pane
  std::vector<int> ColumnWidths;   // empty: the dialog's own
  std::vector<int> ColumnOrder;    // empty or a permutation of the columns
  int SortColumn = 0;
  bool SortDescending = false;
  std::vector<String> Workgroups;  // checked, as named
  std::vector<String> Favourites;  // folders, in the order kept

  bool operator==(const TBrowserState&) const = default;
};

// Key and value readers and writers of the section (the settings file's or a test's).
using TBrowserStateValue = std::function<String(const String& Key)>;
using TBrowserStateWrite = std::function<void(const String& Key, const String& Value)>;

TBrowserState ReadBrowserState(const TBrowserStateValue& Value);
void WriteBrowserState(const TBrowserState& State, const TBrowserStateWrite& Write);
// The state of the program's settings file.
TBrowserState LoadBrowserState();
void SaveBrowserState(const TBrowserState& State);
