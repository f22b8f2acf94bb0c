// The tree node records in a stream: round trip, the cut of long texts, and
// the reader's checks of untrusted sizes, counts and depth.
#include "kem3/unicode/uctreestream.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"

namespace {

TTreeNodeRecord Node(const WideString& text, std::uint32_t data, std::vector<TTreeNodeRecord> children = {}) {
  TTreeNodeRecord node;
  node.Text = text;
  node.Data = data;
  node.ImageIndex = static_cast<int>(data);
  node.Children = std::move(children);
  return node;
}

void ExpectSame(const std::vector<TTreeNodeRecord>& a, const std::vector<TTreeNodeRecord>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].Text, b[i].Text);
    EXPECT_EQ(a[i].Data, b[i].Data);
    EXPECT_EQ(a[i].ImageIndex, b[i].ImageIndex);
    EXPECT_EQ(a[i].SelectedIndex, b[i].SelectedIndex);
    ExpectSame(a[i].Children, b[i].Children);
  }
}

std::string Int(std::int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i)
    s[static_cast<size_t>(i)] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  return s;
}

}  // namespace

TEST(UcTreeStream, WritesTheLayoutAndReadsItBack) {
  const std::vector<TTreeNodeRecord> tree = {
      Node(u"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1", 7, {Node(u"\u0410\u0442\u0438\u043d\u0430", 8), Node(u"", 9)}),
      Node(u"Rome", 0xFFFFFFFF, {Node(u"\U0001F600", 1, {Node(u"deep", 2)})}),
  };
  TStringStream out("");
  WriteTreeNodeRecords(out, tree);
  const std::string& bytes = out.DataString();
  // The first record: its size (text bytes + 25), the numbers, then the counted text.
  const std::string text = "\xEF\xBB\xBF\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1";
  EXPECT_EQ(bytes.substr(0, 8), Int(2) + Int(static_cast<std::int32_t>(text.size()) + 25));
  EXPECT_EQ(bytes.substr(24, 8), Int(7) + Int(2));
  EXPECT_EQ(bytes.substr(32, 1 + text.size()), std::string(1, static_cast<char>(text.size())) + text);
  out.SetPosition(0);
  ExpectSame(ReadTreeNodeRecords(out), tree);
}

TEST(UcTreeStream, LongTextsAreCutAtWholeCharacters) {
  // 84 Greek letters are 168 bytes: they fit; 127 are 254 + 3 > 255: cut to 126.
  EXPECT_EQ(TreeNodeTextBytes(WideString(84, u'\u03b1')).size(), 3u + 168u);
  EXPECT_EQ(TreeNodeTextBytes(WideString(127, u'\u03b1')).size(), 3u + 252u);
  // Emoji are 4 bytes from a surrogate pair: never half of one.
  WideString emoji;
  for (int i = 0; i < 100; ++i) emoji += u"\U0001F600";
  const std::string cut = TreeNodeTextBytes(emoji);
  EXPECT_EQ(cut.size(), 3u + 252u);
  EXPECT_EQ(TreeNodeTextFromBytes(cut), emoji.substr(0, 126));
  EXPECT_EQ(TreeNodeTextBytes(WideString(100000, u'x')).size(), 255u);
  // Without the mark, or with bytes after it that are not UTF-8: ANSI.
  EXPECT_EQ(TreeNodeTextFromBytes("caf\xE9"), u"caf\u00e9");
  EXPECT_EQ(TreeNodeTextFromBytes("\xEF\xBB\xBF"
                                  "caf\xE9"),
            u"caf\u00e9");
}

TEST(UcTreeStream, BadSizesCountsAndDepthAreRefused) {
  const std::string record = Int(25) + Int(0) + Int(0) + Int(0) + Int(0) + Int(0);
  const std::string cases[] = {
      Int(-1),                                                          // negative count
      Int(1000),                                                        // more nodes than bytes
      Int(1) + Int(24) + record + Int(0) + std::string(1, '\0'),        // size below the fixed part
      Int(1) + Int(26) + record + Int(0) + std::string(1, '\0'),        // size and text length differ
      Int(1) + Int(1 << 30) + record + Int(0) + std::string(1, '\0'),   // size beyond the end
      Int(1) + Int(25) + record + Int(5) + std::string(1, '\0'),        // children that are not there
      Int(1) + Int(27) + record + Int(0) + std::string(1, '\2') + "a",  // text cut short
  };
  for (const std::string& bytes : cases) {
    TStringStream in(bytes);
    EXPECT_THROW(ReadTreeNodeRecords(in), EReadError);
  }
  // A chain deeper than the reader takes.
  TTreeNodeRecord chain = Node(u"leaf", 0);
  for (int i = 0; i < kMaxTreeNodeDepth; ++i) chain = Node(u"n", 0, {chain});
  TStringStream deep("");
  WriteTreeNodeRecords(deep, {chain});
  deep.SetPosition(0);
  EXPECT_THROW(ReadTreeNodeRecords(deep), EReadError);
}
