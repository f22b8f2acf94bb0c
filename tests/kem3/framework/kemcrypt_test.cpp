// The XOR stream transform: key positions, blocks of 8,092 bytes with a
// continuous key, plain copies, the default key and hostile lengths.
#include "kem3/framework/kemcrypt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kem3/framework/kempack.h"
#include "platform/exceptions.h"

namespace {

// Records the size of every write.
class TRecordingStream : public TStringStream {
 public:
  std::int64_t Write(const void* buffer, std::int64_t count) override {
    Writes.push_back(count);
    return TStringStream::Write(buffer, count);
  }
  std::vector<std::int64_t> Writes;
};

std::string Block(const std::string& data) {
  TStringStream s;
  s.WriteLE<std::int32_t>(static_cast<std::int32_t>(data.size()));
  s.WriteBytes(data);
  return s.DataString();
}

std::string Sample(size_t size) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return s;
}

}  // namespace

TEST(KemCrypt, XorTransformCyclesTheKeyFromTheOffset) {
  std::string buffer(5, '\0');
  XorTransform(buffer.data(), 5, 0, "abc");
  EXPECT_EQ(buffer, "abcab");
  buffer.assign(5, '\0');
  XorTransform(buffer.data(), 5, 4, "abc");
  EXPECT_EQ(buffer, "bcabc");
  // Its own inverse; an empty key changes nothing.
  std::string text = "Orvanel";
  XorTransform(text.data(), 7, 11, "key");
  EXPECT_NE(text, "Orvanel");
  XorTransform(text.data(), 7, 11, "key");
  EXPECT_EQ(text, "Orvanel");
  XorTransform(text.data(), 7, 0, "");
  EXPECT_EQ(text, "Orvanel");
}

TEST(KemCrypt, ZeroLengthReadsFourBytesAndWritesNothing) {
  TStringStream source(Block("") + "rest");
  TRecordingStream dest;
  TKemCrypt(source, dest, "k").Run();
  EXPECT_EQ(source.Position(), 4);
  EXPECT_EQ(dest.Size(), 0);
  EXPECT_TRUE(dest.Writes.empty());
}

TEST(KemCrypt, LongDataMovesInBlocksWithAContinuousKey) {
  const std::string data = Sample(20000);
  const String key = "0123456789";  // 8,092 is no multiple of the key: a restart would show
  TStringStream source(Block(data));
  TRecordingStream dest;
  TKemCrypt crypt(source, dest, key);
  EXPECT_EQ(crypt.Mode, 1);
  crypt.Run();
  EXPECT_EQ(dest.Writes, (std::vector<std::int64_t>{8092, 8092, 3816}));
  std::string expected = data;
  XorTransform(expected.data(), 20000, 0, key);
  EXPECT_EQ(dest.DataString(), expected);
}

TEST(KemCrypt, ModeZeroCopiesAndAnEmptyKeyIsTheDefault) {
  const std::string data = Sample(100);
  {
    TStringStream source(Block(data));
    TStringStream dest;
    TKemCrypt crypt(source, dest, "");
    EXPECT_EQ(crypt.Key(), "7Q2WX9RKD4HT0PZ6MVB3LC8N");
    crypt.Mode = 0;
    crypt.Run();
    EXPECT_EQ(dest.DataString(), data);
  }
  TStringStream source(Block(std::string(3, '\0')));
  TStringStream dest;
  TKemCrypt(source, dest, "").Run();
  EXPECT_EQ(dest.DataString(), "7Q2");
}

TEST(KemCrypt, WriterAndReaderRoundTrip) {
  const std::string data = Sample(9000);
  TStringStream block;
  kempack::WriteXorBlock(block, data, "{key}");
  block.SetPosition(0);
  TStringStream dest;
  TKemCrypt(block, dest, "{key}").Run();
  EXPECT_EQ(dest.DataString(), data);
}

TEST(KemCrypt, HostileLengthsRaiseBeforeWriting) {
  for (std::int32_t n : {-1, 11, 0x7FFFFFFF}) {
    TStringStream source;
    source.WriteLE<std::int32_t>(n);
    source.WriteBytes("0123456789");
    source.SetPosition(0);
    TStringStream dest;
    EXPECT_THROW(TKemCrypt(source, dest, "").Run(), EReadError) << n;
    EXPECT_EQ(dest.Size(), 0);
  }
  TStringStream empty;
  TStringStream dest;
  EXPECT_THROW(TKemCrypt(empty, dest, "").Run(), EReadError);
}
