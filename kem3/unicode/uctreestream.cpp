// Writing and reading the tree node records.
#include "kem3/unicode/uctreestream.h"

#include "kem3/unicode/ucsystem.h"
#include "platform/exceptions.h"
#include "platform/unicode_convert.h"

namespace {

constexpr char kMark[] = "\xEF\xBB\xBF";
constexpr std::int64_t kFixedRecordBytes = 25;                 // six numbers and the length byte
constexpr std::int64_t kSmallestNode = 4 + kFixedRecordBytes;  // the size and an empty text

void WriteNode(TStream& Stream, const TTreeNodeRecord& Node) {
  const std::string text = TreeNodeTextBytes(Node.Text);
  Stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(text.size() + kFixedRecordBytes));
  Stream.WriteLE<std::int32_t>(Node.ImageIndex);
  Stream.WriteLE<std::int32_t>(Node.SelectedIndex);
  Stream.WriteLE<std::int32_t>(Node.StateIndex);
  Stream.WriteLE<std::int32_t>(Node.OverlayIndex);
  Stream.WriteLE<std::uint32_t>(Node.Data);
  Stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(Node.Children.size()));
  Stream.WriteLE<std::uint8_t>(static_cast<std::uint8_t>(text.size()));
  Stream.WriteBytes(text);
  for (const TTreeNodeRecord& child : Node.Children) WriteNode(Stream, child);
}

// A count of nodes that the rest of the stream can hold.
int ReadCount(TStream& Stream) {
  const std::int32_t count = Stream.ReadLE<std::int32_t>();
  const std::int64_t left = Stream.Size() - Stream.Position();
  if (count < 0 || count > left / kSmallestNode) throw EReadError("Tree node data: bad node count");
  return count;
}

void ReadNodes(TStream& Stream, int Count, int Depth, std::vector<TTreeNodeRecord>& Into) {
  if (Depth > kMaxTreeNodeDepth) throw EReadError("Tree node data: nodes nested too deeply");
  Into.reserve(static_cast<size_t>(Count));
  for (int i = 0; i < Count; ++i) {
    const std::int32_t size = Stream.ReadLE<std::int32_t>();
    const std::int64_t left = Stream.Size() - Stream.Position();
    if (size < kFixedRecordBytes || size > left) throw EReadError("Tree node data: bad record size");
    TTreeNodeRecord& node = Into.emplace_back();
    node.ImageIndex = Stream.ReadLE<std::int32_t>();
    node.SelectedIndex = Stream.ReadLE<std::int32_t>();
    node.StateIndex = Stream.ReadLE<std::int32_t>();
    node.OverlayIndex = Stream.ReadLE<std::int32_t>();
    node.Data = Stream.ReadLE<std::uint32_t>();
    const int children = ReadCount(Stream);
    const std::uint8_t length = Stream.ReadLE<std::uint8_t>();
    if (size != length + kFixedRecordBytes) throw EReadError("Tree node data: record size and text length differ");
    node.Text = TreeNodeTextFromBytes(Stream.ReadBytes(length));
    ReadNodes(Stream, children, Depth + 1, node.Children);
  }
}

}  // namespace

std::string TreeNodeTextBytes(const WideString& Text) {
  std::u16string_view rest = Text;
  // Every UTF-16 unit takes at least one byte: more than 252 never fit.
  rest = rest.substr(0, WholeCharsLength(rest, 252));
  for (;;) {
    std::string bytes = kMark + WideToUtf8(rest);
    if (bytes.size() < 256) return bytes;
    // Cut one character; a surrogate pair goes whole.
    rest = rest.substr(0, WholeCharsLength(rest, rest.size() - 1));
  }
}

WideString TreeNodeTextFromBytes(std::string_view Bytes) {
  if (Bytes.substr(0, 3) != kMark) return AnsiToWide(Bytes);
  const std::string_view utf8 = Bytes.substr(3);
  return IsValidUtf8(utf8) ? Utf8ToWide(utf8) : AnsiToWide(utf8);
}

void WriteTreeNodeRecords(TStream& Stream, const std::vector<TTreeNodeRecord>& Nodes) {
  Stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(Nodes.size()));
  for (const TTreeNodeRecord& node : Nodes) WriteNode(Stream, node);
}

std::vector<TTreeNodeRecord> ReadTreeNodeRecords(TStream& Stream) {
  std::vector<TTreeNodeRecord> nodes;
  ReadNodes(Stream, ReadCount(Stream), 1, nodes);
  return nodes;
}
