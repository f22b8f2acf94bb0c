// The file browser's named places and its section of the settings file.
#include "kem3/browser/kembrowser_state.h"

#include <algorithm>

#include "kem3/browser/kembrowser_colorder.h"
#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/framework/kemcfg.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"

String BrowserIconsPlace(const String& IconFolder) { return "BROWSERIMAGE,Icons=" + IconFolder; }

std::vector<TBrowserPlace> BrowserPlaces(const TStrings& Places, const String& ProgramFolder) {
  std::vector<TBrowserPlace> places;
  for (int i = 0; i < Places.Count(); ++i) {
    const String line = Places.Get(i);
    const size_t eq = line.find('=');
    if (eq == String::npos) continue;
    const String folder = Trim(std::string_view(line).substr(eq + 1));
    if (folder.empty()) continue;
    const String name = line.substr(0, eq);
    const size_t comma = name.find(',');
    TBrowserPlace place;
    if (comma != String::npos) {
      place.Image = name.substr(0, comma);
      place.Caption = name.substr(comma + 1);
    } else {
      place.Caption = name;
    }
    place.Folder =
        BrowserWithDelimiter(BrowserIsFullPath(folder) ? folder : BrowserWithDelimiter(ProgramFolder) + folder);
    places.push_back(std::move(place));
  }
  return places;
}

namespace {

// The items of a comma text, empty ones dropped, at most Limit of them.
std::vector<String> CommaItems(const String& Text, size_t Limit) {
  TStringList list;
  list.SetCommaText(Text);
  std::vector<String> items;
  for (int i = 0; i < list.Count() && items.size() < Limit; ++i)
    if (!list.Get(i).empty()) items.push_back(list.Get(i));
  return items;
}

String CommaTextOf(const std::vector<String>& Items) {
  TStringList list;
  for (const String& s : Items) list.Add(s);
  return list.CommaText();
}

// Numbers of a comma list, each within [Least, Most]; empty when any is not.
std::vector<int> Numbers(const String& Text, int Least, int Most) {
  std::vector<int> numbers;
  for (const String& item : CommaItems(Text, TBrowserState::MaxColumns + 1)) {
    int n = 0;
    if (!TryStrToInt(item, n) || n < Least || n > Most) return {};
    numbers.push_back(n);
  }
  if (numbers.size() > TBrowserState::MaxColumns) return {};
  return numbers;
}

String NumberText(const std::vector<int>& Numbers) {
  String text;
  for (int n : Numbers) text += (text.empty() ? "" : ",") + IntToStr(n);
  return text;
}

}  // namespace

TBrowserState ReadBrowserState(const TBrowserStateValue& Value) {
  TBrowserState state;
  int n = 0;
  if (TryStrToInt(Trim(Value("Splitter")), n) && n >= TBrowserState::MinSplitter && n <= TBrowserState::MaxSplitter)
    state.Splitter = n;
  state.ColumnWidths = Numbers(Value("Columns"), 0, TBrowserState::MaxColumnWidth);
  state.ColumnOrder = Numbers(Value("ColumnOrder"), 0, TBrowserState::MaxColumns - 1);
  // An order that is not one of the kept columns would hide some of them.
  if (!BrowserIsPermutation(state.ColumnOrder) ||
      (!state.ColumnWidths.empty() && state.ColumnOrder.size() != state.ColumnWidths.size()))
    state.ColumnOrder.clear();
  if (TryStrToInt(Trim(Value("SortColumn")), n) && n >= 0 && n < TBrowserState::MaxColumns) state.SortColumn = n;
  state.SortDescending = Trim(Value("SortDescending")) == "1";
  state.Workgroups = CommaItems(Value("Workgroups"), TBrowserState::MaxFavourites);
  state.Favourites = CommaItems(Value("FAVList"), TBrowserState::MaxFavourites);
  return state;
}

void WriteBrowserState(const TBrowserState& State, const TBrowserStateWrite& Write) {
  Write("Splitter", IntToStr(State.Splitter));
  Write("Columns", NumberText(State.ColumnWidths));
  Write("ColumnOrder", NumberText(State.ColumnOrder));
  Write("SortColumn", IntToStr(State.SortColumn));
  Write("SortDescending", State.SortDescending ? "1" : "0");
  Write("Workgroups", CommaTextOf(State.Workgroups));
  Write("FAVList", CommaTextOf(State.Favourites));
}

TBrowserState LoadBrowserState() {
  return ReadBrowserState([](const String& Key) { return cfgReadString(BrowserSection, Key, ""); });
}

void SaveBrowserState(const TBrowserState& State) {
  cfgBatchWrites([&] {
    WriteBrowserState(State,
                      [](const String& Key, const String& Value) { cfgWriteString(BrowserSection, Key, Value); });
  });
}
