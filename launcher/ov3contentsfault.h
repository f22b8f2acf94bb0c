// Where and why a contents file that the XML reader could not take in whole
// stops being readable, so the user can be told the line to mend.
#pragma once
#include <string_view>

enum TContentsFaultKind {
  cfkNone,         // the file reads whole
  cfkBracket,      // a "<" inside a construct that no ">" of its own closes
  cfkCutOff,       // a construct or text that the file ends inside
  cfkUnclosed,     // an element that is never closed
  cfkDeclaration,  // the first construct is not the XML declaration
  cfkTooDeep,      // an element below the deepest level the reader keeps
};

struct TContentsFault {
  TContentsFaultKind Kind = cfkNone;
  int Line = 0;  // 1 for the first line; 0 with cfkNone
};

// The elements the reader keeps nested; deeper ones it passes over.
inline constexpr int kContentsMaxDepth = 256;

// Walks Bytes as the XML reader does (constructs from "<" to the ">" that
// balances it, a text after an opening construct up to that element's own
// closing construct) and gives the first place at which the read stops or
// leaves something out. Only the names of elements are looked at: one whose
// attribute names hold an angle bracket counts as opened. Lines are counted
// at LF. Costs one pass over Bytes.
TContentsFault FindContentsFault(std::string_view Bytes);
