// Feeds arbitrary bytes to the tree node records' reader: it reads a tree or
// refuses with EReadError, and what it read writes and reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kem3/unicode/uctreestream.h"
#include "platform/exceptions.h"

namespace {

size_t CountNodes(const std::vector<TTreeNodeRecord>& Nodes) {
  size_t n = Nodes.size();
  for (const TTreeNodeRecord& node : Nodes) n += CountNodes(node.Children);
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TStringStream in(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<TTreeNodeRecord> nodes;
  try {
    nodes = ReadTreeNodeRecords(in);
  } catch (const EReadError&) {
    return 0;
  }
  TStringStream out("");
  WriteTreeNodeRecords(out, nodes);
  out.SetPosition(0);
  if (CountNodes(ReadTreeNodeRecords(out)) != CountNodes(nodes)) std::abort();
  return 0;
}
