// The compressed streams: round trips at every level, buffers and progress,
// positions of the other stream, seeking, errors and ownership.
#include "kem3/framework/kemzlib.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace {

// Text with repeats and noise, so that every level has work to do.
std::string Sample(std::size_t size) {
  std::string s;
  std::uint32_t state = 7;
  while (s.size() < size) {
    state = state * 1103515245u + 12345u;
    if (state >> 28 < 3)
      s += static_cast<char>(state >> 16);
    else
      s += "the quick brown fox ";
  }
  s.resize(size);
  return s;
}

std::string Compress(const std::string& data, TZCompressionLevel level = zcDefault) {
  TStringStream out;
  {
    TZCompressionStream z(out, level);
    z.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
  }
  return out.DataString();
}

std::string ReadAll(TZDecompressionStream& z) {
  std::string out;
  char buffer[5000];
  while (std::int64_t got = z.Read(buffer, sizeof buffer)) out.append(buffer, static_cast<std::size_t>(got));
  return out;
}

// A memory stream that reports its end, to check ownership.
class TWatchedStream : public TStringStream {
 public:
  explicit TWatchedStream(bool& freed, std::string data = {}) : TStringStream(std::move(data)), FFreed(freed) {}
  ~TWatchedStream() override { FFreed = true; }

 private:
  bool& FFreed;
};

TEST(KemZlib, EveryLevelRoundTripsThroughBothStreams) {
  const std::string data = Sample(300000);  // several 64 KB buffers each way
  std::size_t sizes[4];
  for (TZCompressionLevel level : {zcNone, zcFastest, zcDefault, zcMax}) {
    std::string packed = Compress(data, level);
    sizes[level] = packed.size();
    TStringStream source(packed);
    TZDecompressionStream z(source);
    EXPECT_EQ(ReadAll(z), data) << "level " << level;
  }
  // The index picks zlib's level: none stores, maximum packs hardest.
  EXPECT_GT(sizes[zcNone], data.size());
  EXPECT_LT(sizes[zcFastest], sizes[zcNone]);
  EXPECT_LE(sizes[zcMax], sizes[zcDefault]);
}

TEST(KemZlib, OutputIsPlainZlibData) {
  const std::string data = Sample(10000);
  std::string packed = Compress(data, zcMax);
  std::string back(data.size(), '\0');
  uLongf size = static_cast<uLongf>(back.size());
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(back.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
                       static_cast<uLong>(packed.size())),
            Z_OK);
  EXPECT_EQ(back, data);
}

TEST(KemZlib, CompressionWritesFullBuffersRaisesProgressAndFinishesOnce) {
  TStringStream out;
  int progress = 0;
  std::int64_t sizeAtFirstProgress = -1;
  {
    TZCompressionStream z(out, zcNone);
    z.OnProgress = [&](TObject*) {
      if (++progress == 1) sizeAtFirstProgress = out.Size();
    };
    std::string data = Sample(200000);
    EXPECT_EQ(z.Write(data.data(), 1000), 1000);
    EXPECT_EQ(z.Seek(0, soCurrent), 1000);
    z.WriteBuffer(data.data() + 1000, 199000);
    EXPECT_EQ(z.Position(), 200000);
    EXPECT_EQ(z.TotalIn(), 200000);
    z.Finish();
    z.Finish();
    EXPECT_THROW(z.Write("x", 1), EZCompressionError);
  }
  EXPECT_EQ(progress, 3);  // 200000 stored bytes fill three whole buffers
  EXPECT_EQ(sizeAtFirstProgress, kZBufferSize);
  TStringStream source(out.DataString());
  TZDecompressionStream z(source);
  EXPECT_EQ(ReadAll(z).size(), 200000u);
}

TEST(KemZlib, CompressionStreamRefusesReadingAndSeeking) {
  TStringStream out;
  TZCompressionStream z(out);
  char c;
  try {
    z.Read(&c, 1);
    FAIL();
  } catch (const EZCompressionError& e) {
    EXPECT_STREQ(e.what(), "Invalid ZStream operation!");
  }
  EXPECT_THROW(z.Seek(1, soCurrent), EZCompressionError);
  EXPECT_THROW(z.Seek(0, soBeginning), EZCompressionError);
  EXPECT_THROW(z.Seek(0, soEnd), EZCompressionError);
}

TEST(KemZlib, CompressionPutsTheDestinationBackWhereItLeftIt) {
  TStringStream out;
  out.WriteBytes("head");
  const std::string data = Sample(1000);
  {
    TZCompressionStream z(out);
    z.WriteBuffer(data.data(), 500);
    out.SetPosition(0);  // someone else looks at the stream meanwhile
    z.WriteBuffer(data.data() + 500, 500);
    out.SetPosition(1);
  }
  std::string all = out.DataString();
  EXPECT_EQ(all.substr(0, 4), "head");
  TStringStream source(all);
  source.SetPosition(4);
  TZDecompressionStream z(source);
  EXPECT_EQ(ReadAll(z), data);
}

TEST(KemZlib, ReadingPastTheEndLeavesTheSourceRightBehindTheData) {
  const std::string data = Sample(100000);
  std::string packed = Compress(data);
  TStringStream source(packed + "TRAILER");
  TZDecompressionStream z(source);
  std::string buffer(data.size() + 100, '\0');
  EXPECT_EQ(z.Read(buffer.data(), static_cast<std::int64_t>(buffer.size())), static_cast<std::int64_t>(data.size()));
  EXPECT_EQ(buffer.substr(0, data.size()), data);
  EXPECT_EQ(source.Position(), static_cast<std::int64_t>(packed.size()));
  EXPECT_EQ(z.Read(buffer.data(), 10), 0);
  EXPECT_EQ(source.ReadBytes(7), "TRAILER");
}

TEST(KemZlib, DecompressionSeeksForwardByReadingAndBackToTheStart) {
  const std::string data = Sample(50000);
  TStringStream source(Compress(data));
  TZDecompressionStream z(source);
  std::string piece(10, '\0');
  EXPECT_EQ(z.Seek(20000, soCurrent), 20000);
  z.ReadBuffer(piece.data(), 10);
  EXPECT_EQ(piece, data.substr(20000, 10));
  EXPECT_EQ(z.Seek(30000, soBeginning), 30000);
  z.ReadBuffer(piece.data(), 10);
  EXPECT_EQ(piece, data.substr(30000, 10));
  EXPECT_EQ(z.Seek(0, soEnd), 50000);
  EXPECT_EQ(z.Position(), 50000);

  EXPECT_EQ(z.Seek(0, soBeginning), 0);
  z.ReadBuffer(piece.data(), 10);
  EXPECT_EQ(piece, data.substr(0, 10));

  EXPECT_THROW(z.Seek(5, soBeginning), EZDecompressionError);  // backwards
  EXPECT_THROW(z.Seek(-1, soCurrent), EZDecompressionError);
  EXPECT_THROW(z.Seek(1, soEnd), EZDecompressionError);
  EXPECT_THROW(z.Write("x", 1), EZDecompressionError);
}

TEST(KemZlib, DecompressionRefillsAndPutsTheSourceBack) {
  const std::string data = Sample(300000);
  std::string packed = Compress(data, zcNone);
  TStringStream source(packed);
  TZDecompressionStream z(source);
  int progress = 0;
  z.OnProgress = [&](TObject*) { ++progress; };
  std::string out(1000, '\0');
  z.ReadBuffer(out.data(), 1000);
  source.SetPosition(0);  // moved by someone else
  z.ReadBuffer(out.data(), 1000);
  EXPECT_EQ(out, data.substr(1000, 1000));
  EXPECT_EQ(progress, 1);
  EXPECT_EQ(ReadAll(z).size(), data.size() - 2000);
  EXPECT_EQ(progress, static_cast<int>((packed.size() + kZBufferSize - 1) / kZBufferSize));
}

TEST(KemZlib, BadDataRaisesZlibsMessage) {
  std::string packed = Compress(Sample(1000));
  packed[5] = static_cast<char>(packed[5] ^ 0x55);
  packed[6] = static_cast<char>(packed[6] ^ 0x55);
  TStringStream source(packed);
  TZDecompressionStream z(source);
  try {
    ReadAll(z);
    FAIL();
  } catch (const EZDecompressionError& e) {
    EXPECT_EQ(e.ErrorCode, Z_DATA_ERROR);
    EXPECT_STREQ(e.what(), zError(Z_DATA_ERROR));
  }
  EXPECT_THROW(
      {
        TStringStream junk(std::string("\x12\x34\x56\x78", 4));
        TZDecompressionStream bad(junk);
        ReadAll(bad);
      },
      EZDecompressionError);
}

TEST(KemZlib, DataThatNeedsADictionaryIsAnErrorNotAStall) {
  z_stream s{};
  deflateInit(&s, 6);
  const char dictionary[] = "dictionary words";
  deflateSetDictionary(&s, reinterpret_cast<const Bytef*>(dictionary), sizeof dictionary);
  std::string in = "dictionary words and more", out(200, '\0');
  s.next_in = reinterpret_cast<Bytef*>(in.data());
  s.avail_in = static_cast<uInt>(in.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data());
  s.avail_out = static_cast<uInt>(out.size());
  deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  TStringStream source(out);
  TZDecompressionStream z(source);
  try {
    ReadAll(z);
    FAIL();
  } catch (const EZDecompressionError& e) {
    EXPECT_EQ(e.ErrorCode, Z_NEED_DICT);
  }
}

TEST(KemZlib, AWrongChecksumIsAnErrorUnlessIgnored) {
  const std::string data = Sample(5000);
  std::string packed = Compress(data);
  packed[packed.size() - 1] = static_cast<char>(packed.back() ^ 1);
  {
    TStringStream source(packed);
    TZDecompressionStream z(source);
    EXPECT_THROW(ReadAll(z), EZDecompressionError);
  }
  TStringStream source(packed);
  TZDecompressionStream z(source);
  z.IgnoreChecksum();
  EXPECT_EQ(ReadAll(z), data);
}

TEST(KemZlib, ShortDataEndsTheReadEarly) {
  const std::string data = Sample(20000);
  std::string packed = Compress(data);
  TStringStream source(packed.substr(0, packed.size() / 2));
  TZDecompressionStream z(source);
  std::string out = ReadAll(z);
  EXPECT_LT(out.size(), data.size());
  EXPECT_EQ(out, data.substr(0, out.size()));
}

TEST(KemZlib, OwnedStreamsAreFreedWithTheZStream) {
  bool destFreed = false, sourceFreed = false;
  std::string packed;
  {
    auto dest = std::make_unique<TWatchedStream>(destFreed);
    TWatchedStream* raw = dest.get();
    TZCompressionStream z(std::move(dest));
    z.WriteBytes("owned");
    z.Finish();
    packed = raw->DataString();
    EXPECT_FALSE(destFreed);
  }
  EXPECT_TRUE(destFreed);
  {
    TZDecompressionStream z(std::make_unique<TWatchedStream>(sourceFreed, packed));
    EXPECT_EQ(ReadAll(z), "owned");
  }
  EXPECT_TRUE(sourceFreed);
}

}  // namespace
