// The text catalogue a language file is made from: a UTF-8 text kept in the
// repository, one line per text, read by the language-file writer.
//
//   # a comment; blank lines are skipped
//   @code US                  language code (up to 8 characters)
//   @name English             display name
//   @credits Made by us       credits (may be repeated: the lines are joined by line breaks)
//   @font Tahoma 8            a font and its size (repeatable, in order)
//   @scale 1.25               font scale
//   @flag us                  the flag picture the tool draws
//   @module NAME              starts a module (the texts before the first
//                             @module belong to the first module, named "")
//   146 - = &Icons            index, name ("-" for none), "=", the text
//   400 AutoHide = Auto hide
//
// Indexes are explicit and address positions: gaps are empty texts without a
// name. In a text, "\n" is a line break, "\t" a tab, "\s" a space (for a
// leading one) and "\\" a backslash; one blank after "=" is dropped.
#pragma once
#include <string_view>
#include <utility>
#include <vector>

#include "platform/exceptions.h"
#include "platform/types.h"

ORV_EXCEPTION(ELanCatalogueError, Exception)

// No program asks for texts beyond this; a larger index is a typing error.
inline constexpr int kLanCatalogueMaxIndex = 65535;

struct TLanCatalogueModule {
  String Name;
  // Position = text index; both UTF-8 and of the same length.
  std::vector<String> Names;
  std::vector<String> Texts;
  // Whether an entry was given for the position (not a gap).
  std::vector<bool> Defined;
};

struct TLanCatalogue {
  String Code;
  String DisplayName;
  String Credits;
  std::vector<std::pair<String, int>> Fonts;
  double Scale = 1.0;
  String Flag;
  std::vector<TLanCatalogueModule> Modules;
};

// ELanCatalogueError "<line>: <what is wrong>" for a line that does not read,
// a repeated index or a name given twice in a module (names compare without
// regard to case, as the program looks them up).
TLanCatalogue ParseLanCatalogue(std::string_view Text);
