// "Utf8Data": how a tree's nodes are kept in a stream with their wide texts.
// All numbers are 32-bit little-endian: the number of top-level nodes, then
// every node depth first (a node, then its children in order) as a record of
// size S followed by S bytes: image, selected, state and overlay index, data,
// number of children, and a counted text (one length byte, then the bytes).
// S is the text's byte count + 25. The text is EF BB BF and the UTF-8 form of
// the node's text, cut by whole characters from its end until it fits in 255 bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/streams.h"
#include "platform/types.h"

struct TTreeNodeRecord {
  int ImageIndex = -1;
  int SelectedIndex = -1;
  int StateIndex = -1;
  int OverlayIndex = -1;
  std::uint32_t Data = 0;  // the low 32 bits of the node's data
  WideString Text;
  std::vector<TTreeNodeRecord> Children;
};

// Deeper trees are refused when read: no tree of ours comes near it, and the
// reader's recursion stays bounded.
inline constexpr int kMaxTreeNodeDepth = 512;

// The counted text's bytes (without the length byte): the mark and as much of
// the UTF-8 text as fits in 255 bytes, never half a character.
std::string TreeNodeTextBytes(const WideString& Text);
// The text back: UTF-8 after the mark (bytes that are not UTF-8 read as ANSI),
// ANSI without the mark.
WideString TreeNodeTextFromBytes(std::string_view Bytes);

void WriteTreeNodeRecords(TStream& Stream, const std::vector<TTreeNodeRecord>& Nodes);
// EReadError when a size, a count or the depth does not fit the bytes there are.
std::vector<TTreeNodeRecord> ReadTreeNodeRecords(TStream& Stream);
