#include "platform/streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "support/temp_dir.h"

namespace {

// A stream that hands out at most a few bytes per Read, like a pipe or a codec.
class TTrickleStream : public TStream {
 public:
  explicit TTrickleStream(std::string data) : FData(std::move(data)) {}
  std::int64_t Read(void* buffer, std::int64_t count) override {
    std::int64_t n = std::min<std::int64_t>({count, 3, static_cast<std::int64_t>(FData.size()) - FPos});
    if (n <= 0) return 0;
    std::memcpy(buffer, FData.data() + FPos, static_cast<size_t>(n));
    FPos += n;
    return n;
  }
  std::int64_t Write(const void*, std::int64_t) override { return 0; }
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override {
    FPos = (origin == soBeginning ? 0 : origin == soCurrent ? FPos : static_cast<std::int64_t>(FData.size())) + offset;
    return FPos;
  }

 private:
  std::string FData;
  std::int64_t FPos = 0;
};

std::string Content(TMemoryStream& s) { return std::string(static_cast<const char*>(s.Memory()), s.Size()); }

}  // namespace

TEST(Streams, ShortReadsAndWritesRaise) {
  TStringStream s("abc");
  char buf[8];
  EXPECT_EQ(s.Read(buf, 8), 3);  // Read itself just reports what it got
  s.SetPosition(1);
  try {
    s.ReadBuffer(buf, 3);
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, "Stream read error");
  }
  s.SetPosition(0);
  EXPECT_THROW(s.ReadBytes(4), EReadError);
  EXPECT_THROW(s.ReadLE<std::int32_t>(), EReadError);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadBytes(3), "abc");
  EXPECT_EQ(s.ReadBytes(0), "");

  TTrickleStream sink("");
  try {
    sink.WriteBuffer("x", 1);
    FAIL() << "no exception";
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message, "Stream write error");
  }
}

TEST(Streams, ReadBufferGathersPartialReads) {
  TTrickleStream s("0123456789");
  char buf[10];
  s.ReadBuffer(buf, 10);
  EXPECT_EQ(std::string(buf, 10), "0123456789");
  s.SetPosition(2);
  EXPECT_EQ(s.ReadBytes(7), "2345678");
}

TEST(Streams, ReadBytesWithHugeCountFailsWithoutAllocatingIt) {
  TStringStream s("tiny");
  EXPECT_THROW(s.ReadBytes(std::numeric_limits<std::int64_t>::max() / 2), EReadError);
  EXPECT_THROW(s.ReadBytes(-1), EReadError);
}

TEST(Streams, CopyFrom) {
  TStringStream source("hello world");
  source.SetPosition(6);
  TMemoryStream dest;
  EXPECT_EQ(dest.CopyFrom(source, 0), 11);  // 0: all of it, from the start
  EXPECT_EQ(Content(dest), "hello world");
  EXPECT_EQ(source.Position(), 11);

  source.SetPosition(6);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(source, 3), 3);  // otherwise from the current position
  EXPECT_EQ(Content(part), "wor");
  EXPECT_THROW(part.CopyFrom(source, 5), EReadError);

  // Larger than the copy buffer, from a stream that trickles.
  std::string big(200000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  TTrickleStream trickle(big);
  TMemoryStream all;
  EXPECT_EQ(all.CopyFrom(trickle, 0), static_cast<std::int64_t>(big.size()));
  EXPECT_EQ(Content(all), big);
}

TEST(Streams, LittleEndianRoundTrip) {
  TMemoryStream s;
  s.WriteLE<std::int8_t>(-2);
  s.WriteLE<std::uint16_t>(0xBEEF);
  s.WriteLE<std::int32_t>(-123456789);
  s.WriteLE<std::uint32_t>(0xDEADBEEF);
  s.WriteLE<std::int64_t>(-0x0102030405060708LL);
  s.WriteLE<double>(1.5);
  s.WriteLE<float>(-0.25f);
  s.WriteBytes("end");
  EXPECT_EQ(s.Size(), 1 + 2 + 4 + 4 + 8 + 8 + 4 + 3);
  // Byte order on disk is fixed, whatever the machine.
  const auto* raw = static_cast<const unsigned char*>(s.Memory());
  EXPECT_EQ(raw[1], 0xEF);
  EXPECT_EQ(raw[2], 0xBE);
  EXPECT_EQ(raw[7], 0xEF);
  EXPECT_EQ(raw[10], 0xDE);

  s.SetPosition(0);
  EXPECT_EQ(s.ReadLE<std::int8_t>(), -2);
  EXPECT_EQ(s.ReadLE<std::uint16_t>(), 0xBEEF);
  EXPECT_EQ(s.ReadLE<std::int32_t>(), -123456789);
  EXPECT_EQ(s.ReadLE<std::uint32_t>(), 0xDEADBEEFu);
  EXPECT_EQ(s.ReadLE<std::int64_t>(), -0x0102030405060708LL);
  EXPECT_EQ(s.ReadLE<double>(), 1.5);
  EXPECT_EQ(s.ReadLE<float>(), -0.25f);
  EXPECT_EQ(s.ReadBytes(3), "end");
}

TEST(MemoryStream, SeekPastEndThenWriteFillsWithZeros) {
  TMemoryStream s;
  s.WriteBytes("ab");
  EXPECT_EQ(s.Seek(3, soCurrent), 5);
  EXPECT_EQ(s.Size(), 2);  // seeking alone does not grow
  char buf[1];
  EXPECT_EQ(s.Read(buf, 1), 0);
  s.WriteBytes("z");
  EXPECT_EQ(Content(s), std::string("ab\0\0\0z", 6));
  EXPECT_EQ(s.Seek(-1, soEnd), 5);
  EXPECT_EQ(s.Seek(-10, soCurrent), -1);  // before the start: refused, position kept
  EXPECT_EQ(s.Position(), 5);
}

TEST(MemoryStream, SetSizeTruncatesAndExtends) {
  TStringStream s("abcdef");
  s.SetPosition(5);
  s.SetSize(3);
  EXPECT_EQ(s.DataString(), "abc");
  EXPECT_EQ(s.Position(), 3);  // a position beyond the new end moves to it
  s.SetPosition(1);
  s.SetSize(5);
  EXPECT_EQ(s.DataString(), std::string("abc\0\0", 5));
  EXPECT_EQ(s.Position(), 1);
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, GrowsGeometrically) {
  TMemoryStream s;
  const void* last = nullptr;
  int moves = 0;
  for (int i = 0; i < 1 << 20; ++i) {
    s.WriteLE<std::uint8_t>(static_cast<std::uint8_t>(i));
    if (s.Memory() != last) ++moves, last = s.Memory();
  }
  EXPECT_EQ(s.Size(), 1 << 20);
  EXPECT_LT(moves, 40);  // a block per doubling, not one per write
  EXPECT_EQ(static_cast<const unsigned char*>(s.Memory())[1000], 1000 % 256);
}

TEST(MemoryStream, LoadAndSave) {
  TempDir dir;
  TStringStream source("line one\nline two\n");
  TMemoryStream s;
  s.LoadFromStream(source);
  EXPECT_EQ(Content(s), "line one\nline two\n");
  EXPECT_EQ(s.Position(), 0);

  String name = dir.file("Ünïcødé 日本.bin");
  s.SaveToFile(name);
  TMemoryStream back;
  back.WriteBytes("old content that is longer");
  back.LoadFromFile(name);
  EXPECT_EQ(Content(back), "line one\nline two\n");
  EXPECT_EQ(back.Position(), back.Size());  // was beyond the new end

  TMemoryStream copy;
  back.SetPosition(4);
  back.SaveToStream(copy);  // all of it, wherever the position is
  EXPECT_EQ(Content(copy), Content(back));
  EXPECT_THROW(back.LoadFromFile(dir.file("missing.bin")), EFOpenError);
}
