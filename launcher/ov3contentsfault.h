// Where and why a contents file that the XML reader could not take in whole
// stops being readable, so the user can be told the line to mend.
#pragma once
#include "kem3/framework/kemxml.h"

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
inline constexpr int kContentsMaxDepth = kXmlMaxDepth;

// The first place at which the last read of the document stopped or left
// something out, as the reader found it.
TContentsFault ContentsFaultOf(const TKemXml& Doc);
