// The launcher's contents document: the XML file beside the program that holds
// the groups, the icons in them and the bar modules with their parameters.
// Opening it, completing it with the default contents, icon ids, lookups, and
// safe access to groups by index for the main window.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3contentsfault.h"
#include "platform/types.h"

class TStrings;

inline constexpr std::string_view kContentsVersion = "3.3";
// The notice line of the leading comment.
inline constexpr std::string_view kContentsNotice = "     Copyright (c) 2003-2026 The Orvanel developers";
// The reader's window for the contents file.
inline constexpr int kContentsBufferSize = 65536;
// Beside the contents file, the copy of one that could not be read in full.
inline constexpr std::string_view kContentsBadSuffix = ".bad";

// The text of the comment that leads the file.
String ContentsComment();

// Program folder + program base name (up to its first ".") + ".xml".
String ContentsFileName(const String& programFileName);

// What opening the contents file set aside, to be told to the user.
struct TContentsSetAside {
  String Copy;              // the copy's file name; empty when nothing was set aside
  TContentsFault Fault;     // where the read stopped; cfkNone when that is not known
  String Error;             // why the file could not be read at all; empty when it was read
  bool NoContents = false;  // read whole, but without "ov3contents"
};

// The document for the contents file. A missing or empty file gives the default
// document. A file that holds more than the tree took in (no "ov3contents", a
// missing declaration, something cut off or left open, or bytes that cannot be
// read) is first copied to fileName + ".bad", replacing an older copy, and
// SetAside (when given) says so and why; without "ov3contents" the document is
// the default one. When that copy cannot be made the file stays untouched and
// EFCreateError is raised, so no save can overwrite it.
std::unique_ptr<TKemXml> OpenContentsDocument(const String& fileName, TContentsSetAside* SetAside = nullptr);

// The message in the user's language on a file set aside: the file, the
// copy, and why, with the line where its reading stopped.
WideString ContentsSetAsideText(const String& fileName, const TContentsSetAside& SetAside);

// Completes the document: the comment and "ov3contents" when missing, a group
// "Main" when "groups" holds no "group", and an element for each module and
// for the icon panel's place, with their default titles, images and parameters. Runs at every start: titles are
// set again, a user's "active" and parameter "value" stay, unknown parameters go.
void CreateDefaultContents(TKemXml& doc);

// Writes the whole document to the contents file (temporary file and one replace).
void SaveContents(const TKemXml& doc, const String& fileName);

// ---- Groups and icons. The groups are the "group" elements of "groups", the
// icons of a group the "icon" elements of its "icons" (names without regard to
// ASCII case); a comment or anything else a user wrote between them is neither,
// so it never becomes a group button or an icon cell.

// "ov3contents.groups", created when missing.
TKemXmlTag* ContentsGroups(TKemXml& doc);
std::vector<TKemXmlTag*> ListGroups(const TKemXmlTag* groups);
// The group's "icons"; nil for no group, or when missing and not to be created.
TKemXmlTag* GroupIcons(TKemXmlTag* group, bool create = false);
std::vector<TKemXmlTag*> ListIcons(const TKemXmlTag* group);
// index wrapped into 0..count-1 (negative indexes count from the end); -1 when
// there are no groups, so no index is ever taken modulo zero.
int WrapGroupIndex(int index, int count);
// The group at index; nil when index lies outside the list.
TKemXmlTag* GroupAt(const std::vector<TKemXmlTag*>& groups, int index);

// The icon's "id": decimal digits only, else -1 (none).
std::int64_t IconIdOf(const TKemXmlTag* icon);
// The first icon of all groups, in order, whose id is id; nil for a negative id or none.
TKemXmlTag* FindIconById(const TKemXmlTag* groups, std::int64_t id);
// For every icon of type "program" (a missing type counts as one) with a title:
// "title (group title)", both without accelerator marks, with the icon as object.
void ListProgramIcons(const TKemXmlTag* groups, TStrings& list);

// The next free icon id: the smallest id above every id in the document, at least 1.
class TOvIconIds {
 public:
  void InitNextIconId(const TKemXmlTag* groups);
  // The icon's id. An icon without one gets the next free id, and the contents
  // are saved through OnSaveContents so the file keeps it.
  std::int64_t GetIconId(TKemXmlTag* icon);
  std::int64_t NextIconId() const { return FNextIconId; }

  std::function<void()> OnSaveContents;

 private:
  std::int64_t FNextIconId = 1;
};
