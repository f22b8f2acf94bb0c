// What the icon editor shows of an icon element and writes back into it: the
// fields of both pages, the program rows of a batch, the shortcut rows, and
// the rules that let the folder and the icon file follow a newly chosen
// program. The dialog (editicon_win.cpp) only moves these to and from its
// controls.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3hotkeytext.h"
#include "platform/types.h"

// One program row of a batch: the program icon it starts (an index into the
// program icon list), or an id that no program icon has. Such a row keeps its
// id as an entry of its own, so confirming the dialog writes it back as it was.
struct TOvBatchRow {
  int Entry = -1;  // -1: nothing chosen (the row is not written)
  String OwnId;    // set when the id matched no program icon
};

struct TOvIconFields {
  String Title, Comment;
  bool Batch = false;
  // The "Program" page.
  String FileName, Parameters, Folder;
  // The "Batch" page.
  std::vector<TOvBatchRow> Programs;
  String IconFile;
  int IconIndex = 0;
  // Shortcut rows; a row whose key is unknown (KeyIndex -1) is not written.
  std::vector<TOvHotkey> Shortcuts;
};

// The icons a batch row can start, in the order ListProgramIcons gives them.
struct TOvProgramIcons {
  std::vector<String> Texts;  // "title (group)"
  std::vector<TKemXmlTag*> Icons;
};
TOvProgramIcons ProgramIconsOf(const TKemXmlTag* Groups);

// The text a row shows for an id no program icon has.
String UnmatchedIdText(const String& Id);

// Reads the element; its "application" and "image" children are made when missing.
TOvIconFields ReadIconFields(TKemXmlTag& Icon, const TOvProgramIcons& Programs);
// Writes the fields into the element: the page it shows, the picture and the
// shortcuts (every "shortcut" child replaced). IconId gives an icon's id,
// giving it one when it has none.
void WriteIconFields(TKemXmlTag& Icon, const TOvIconFields& Fields, const TOvProgramIcons& Programs,
                     const std::function<std::int64_t(TKemXmlTag*)>& IconId);

// Whether the working folder and the icon file follow the program file: the
// folder when the file lies in it, the icon when it is the file itself (both
// without regard to case).
struct TOvFollowFlags {
  bool Folder = false;
  bool Icon = false;
};
TOvFollowFlags FollowFlags(const String& FileName, const String& Folder, const String& IconFile);
// The program file changed to NewFileName: what follows it does, and each flag
// is cleared after use.
void FollowFileName(TOvFollowFlags& Flags, const String& NewFileName, String& Folder, String& IconFile);

// The icon index once the icon file shows Count previews: an index outside
// them (negative too) becomes 0; without previews it stays as it is.
int PreviewIconIndex(int Index, int Count);

// ---- Previews of an icon file (ov3editicon_previews.cpp)
class TBitmap;
inline constexpr int kPreviewSize = 64;
// The pictures a file offers, each 64 x 64 pf32bit: a ".bmp", ".png" or ".jpg"
// file (by its extension, any case) gives itself, resampled with Lanczos3 to
// fit with its proportions kept, centred on a clear ground; any other file one
// picture per icon group of its icon library. A file that cannot be read gives
// none.
std::vector<std::unique_ptr<TBitmap>> MakeImagePreviews(const String& FileName);
