// The skins beside the program: which skins lie in the folder "Skins" (one
// "skin.xml" each, with its layouts and its preview), which skin and layout
// is selected, and the one process-wide skin object that holds the selected
// layout. Set up by InitSkins at start-up, before any window exists; DoneSkins
// lets it go at the end.
#pragma once
#include <memory>

#include "kem3/graphics/vosskin.h"
#include "platform/bitmap.h"
#include "platform/stringlist.h"

class TSkinInfo {
 public:
  String Path;          // the full file name of its "skin.xml"
  String Title;         // the root element's "title"
  TStringList Layouts;  // "id=title" lines in file order
  TBitmap Preview;      // empty without a preview picture
};

// Builds the skin list from Folder (with or without its trailing delimiter):
// a "skin.xml" lying in the folder itself first, then one per sub-folder in
// the order the system lists them. A definition that cannot be read or has no
// "vosskindefinition" root is skipped. Creates CurrentSkin anew (defaults
// only) and selects skin 0 when there is one, without loading it.
void ScanSkinsIn(const String& Folder);
// ScanSkinsIn the program folder's "Skins".
void ScanSkins();
// Frees the list and CurrentSkin.
void FreeSkinList();

int GetSkinCount();
// The getters answer "" / nullptr for an index outside the list.
String GetSkinTitle(int Index);
const TStringList* GetSkinLayouts(int Index);
const TBitmap* GetSkinPreview(int Index);

// Selects skin Skin with its layout Layout and reloads CurrentSkin. False for
// a skin index outside the list, a layout index outside its layouts, or when
// the pair is the current one (nothing is reloaded then). Windows that show
// the skin are not told: their owners apply it again.
bool SelectSkin(int Skin, int Layout);
// The first skin with that title (case-insensitive) that has a layout of
// that id; true when one was found (even when it was selected already).
bool SelectSkinByName(const String& Title, const String& LayoutId);
int GetSelectedSkinIndex();
int GetSelectedLayoutIndex();
// An attribute of the selected layout's element ("" when missing), read anew from its file.
String ReadSkinLayoutValue(const String& Attribute);
// The process-wide skin (nullptr before ScanSkins and after FreeSkinList).
TVosSkin* CurrentSkin();

// Reads the title and layout id from the settings file and selects them;
// otherwise the first layout of the first skin.
void LoadSkinSelection(const String& Section, const String& TitleKey, const String& LayoutKey);
// Writes the selected title and layout id (nothing without a selection; write errors are ignored).
void SaveSkinSelection(const String& Section, const String& TitleKey, const String& LayoutKey);

// Start-up: ScanSkins, LoadSkinSelection("Skin", "Current", "Layout"), and
// the configuration database's saves write the selection from then on.
void InitSkins();
// Shut-down: with SaveSelection the selection is written first; then FreeSkinList.
void DoneSkins(bool SaveSelection);
