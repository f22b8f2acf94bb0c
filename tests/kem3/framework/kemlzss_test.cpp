// The LZSS decoder: hand-made vectors for literals, references into the
// initial ring and overlapping copies, packed lengths that stop early or are
// hostile, the events, decoders running side by side, and round trips
// through the tools' packer.
#include "kem3/framework/kemlzss.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "kem3/framework/kempack.h"
#include "platform/exceptions.h"

namespace {

// A container: 64-byte header with the given packed length, then the data.
std::string Container(const std::string& packed, std::int32_t packedLength) {
  std::string header(kLzssHeaderSize, '\0');
  for (int i = 0; i < 4; ++i)
    header[static_cast<size_t>(kLzssPackedLengthOffset + i)] =
        static_cast<char>(static_cast<std::uint32_t>(packedLength) >> (8 * i));
  return header + packed;
}
std::string Container(const std::string& packed) { return Container(packed, static_cast<std::int32_t>(packed.size())); }

std::string Decode(const std::string& container) {
  TStringStream source(container);
  TStringStream dest;
  TKemLzss(source, dest).Decode();
  return dest.DataString();
}

// A reference item: ring position and count (3 to 18).
std::string Ref(int position, int count) {
  return {static_cast<char>(position & 0xFF), static_cast<char>(((position >> 4) & 0xF0) | (count - 3))};
}

std::string Sample(std::size_t size, std::uint32_t seed) {
  std::string s;
  std::uint32_t state = seed;
  while (s.size() < size) {
    state = state * 1103515245u + 12345u;
    if (state >> 29 < 2)
      s += static_cast<char>(state >> 16);
    else
      s += (state & 0x100) ? "clock face " : "battery level ";
  }
  s.resize(size);
  return s;
}

std::string Pack(const std::string& data) {
  TStringStream out;
  kempack::WriteLzssContainer(out, data);
  return out.DataString();
}

}  // namespace

TEST(KemLzss, FlagByteFFGivesEightLiterals) {
  EXPECT_EQ(Decode(Container("\xFF"
                             "ABCDEFGH")),
            "ABCDEFGH");
}

TEST(KemLzss, FirstReferenceReadsTheZeroedRing) {
  EXPECT_EQ(Decode(Container(std::string(1, '\0') + Ref(kLzssRingStart, 3))), std::string(3, '\0'));
  EXPECT_EQ(kLzssRingStart, 4078);
  // Counts run from 3 to 18.
  EXPECT_EQ(Decode(Container(std::string(1, '\0') + Ref(0, 18))), std::string(18, '\0'));
}

TEST(KemLzss, ReferencesCopyEarlierOutputAndMayOverlapTheirOwnBytes) {
  // Literals "ab" land at 4078 and 4079; a copy of 7 from 4078 repeats them.
  std::string packed = std::string(1, '\x03') + "ab" + Ref(4078, 7);
  EXPECT_EQ(Decode(Container(packed)), "ababababa");
  // Flag bits are used lowest first: literal, reference, literal.
  packed = std::string(1, '\x05') + "x" + Ref(4078, 3) + "y";
  EXPECT_EQ(Decode(Container(packed)), "xxxxy");
}

TEST(KemLzss, TheRingWrapsAtItsEnd) {
  // 18 literals wrap the write position from 4078 to 0; a reference at 4095
  // then reads the last of them and the first byte written after the wrap.
  std::string packed;
  const std::string text = "0123456789ABCDEFGH";
  for (size_t i = 0; i < text.size(); i += 8) {
    const std::string part = text.substr(i, 8);
    packed += static_cast<char>((1 << part.size()) - 1);
    packed += part;
  }
  packed += Ref(4095, 4);  // bit 2 of the last group's flag byte is clear
  EXPECT_EQ(Decode(Container(packed)), text + "HHHH");
}

TEST(KemLzss, PackedLengthShorterThanTheDataStopsThere) {
  const std::string packed =
      "\xFF"
      "ABCDEFGH";
  TStringStream source(Container(packed, 5) + "trailing");
  TStringStream dest;
  TKemLzss(source, dest).Decode();
  EXPECT_EQ(dest.DataString(), "ABCD");
  EXPECT_EQ(source.Position(), kLzssHeaderSize + 5);  // what follows stays unread
}

TEST(KemLzss, DataEndingInsideAnItemStopsCleanly) {
  EXPECT_EQ(Decode(Container("")), "");
  EXPECT_EQ(Decode(Container(std::string(1, '\0'))), "");
  EXPECT_EQ(Decode(Container(std::string(2, '\0'))), "");  // half a reference
  EXPECT_EQ(Decode(Container("\x01z")), "z");              // a group with one item
}

TEST(KemLzss, HostileHeadersRaiseBeforeAnythingIsWritten) {
  for (const std::string& container : {Container("\xFF"
                                                 "AB",
                                                 -1),
                                       Container("\xFF"
                                                 "AB",
                                                 0x7FFFFFFF),
                                       Container("\xFF"
                                                 "AB",
                                                 4),
                                       std::string(20, '\0')}) {
    TStringStream source(container);
    TStringStream dest;
    EXPECT_THROW(TKemLzss(source, dest).Decode(), EReadError);
    EXPECT_EQ(dest.Size(), 0);
  }
}

TEST(KemLzss, OutputIsAppendedAtTheDestinationsPosition) {
  TStringStream source(Container("\x07xyz"));
  TStringStream dest(std::string("head"));
  dest.Seek(0, soEnd);
  TKemLzss(source, dest).Decode();
  EXPECT_EQ(dest.DataString(), "headxyz");
}

TEST(KemLzss, EventsReportProgressReadsAndWrites) {
  const std::string data = Sample(5000, 3);
  TStringStream source(Pack(data));
  TStringStream dest;
  TKemLzss lzss(source, dest);
  std::vector<int> progress, reads, writes;
  lzss.OnProgress = [&](TObject* sender, int value) {
    EXPECT_EQ(sender, &lzss);
    progress.push_back(value);
  };
  lzss.OnDataRead = [&](TObject*, int value) { reads.push_back(value); };
  lzss.OnDataWritten = [&](TObject*, int value) { writes.push_back(value); };
  int exhausted = 0;
  lzss.OnSourceExhausted = [&](TObject*) { ++exhausted; };
  lzss.Decode();
  EXPECT_EQ(dest.DataString(), data);

  const std::int64_t packed = source.Size() - kLzssHeaderSize;
  // The header is one read of 64 bytes; then refills of at most 1,024.
  ASSERT_GE(reads.size(), 2u);
  EXPECT_EQ(reads.front(), kLzssHeaderSize);
  std::int64_t total = 0;
  for (size_t i = 1; i < reads.size(); ++i) {
    EXPECT_LE(reads[i], 1024);
    total += reads[i];
  }
  EXPECT_EQ(total, packed);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 1000);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  // Full buffers of 1,024 and one rest.
  std::int64_t written = 0;
  for (size_t i = 0; i + 1 < writes.size(); ++i) EXPECT_EQ(writes[i], 1024);
  for (int w : writes) written += w;
  EXPECT_EQ(written, 5000);
  EXPECT_EQ(exhausted, 0);
}

namespace {

// A source whose size is unknown and that hands out at most a few bytes a read.
class TTrickleStream : public TStream {
 public:
  explicit TTrickleStream(std::string data) : FData(std::move(data)) {}
  std::int64_t Read(void* buffer, std::int64_t count) override {
    const auto n = std::min<std::int64_t>({count, 5, static_cast<std::int64_t>(FData.size()) - FPos});
    std::memcpy(buffer, FData.data() + FPos, static_cast<size_t>(n));
    FPos += n;
    return n;
  }
  std::int64_t Write(const void*, std::int64_t) override { return 0; }
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override {
    if (origin == soCurrent && offset == 0) return FPos;
    return -1;
  }

 private:
  std::string FData;
  std::int64_t FPos = 0;
};

}  // namespace

TEST(KemLzss, ShortReadsAreReadAgainAndReportTheExhaustedSource) {
  // A source of unknown size: the packed length cannot be checked in advance,
  // so a length beyond its end simply ends where the data does.
  const std::string header = Container(
                                 "\xFF"
                                 "ABCDEFGH",
                                 1000)
                                 .substr(0, kLzssHeaderSize);
  TTrickleStream source(header +
                        "\xFF"
                        "ABCDEFGH");
  TStringStream dest;
  TKemLzss lzss(source, dest);
  int exhausted = 0;
  lzss.OnSourceExhausted = [&](TObject*) { ++exhausted; };
  lzss.Decode();
  EXPECT_EQ(dest.DataString(), "ABCDEFGH");
  EXPECT_GT(exhausted, 0);
}

TEST(KemLzss, DecodersRunSideBySideOnTheirOwnBuffers) {
  std::vector<std::string> data, packed, results(4);
  for (std::uint32_t k = 0; k < 4; ++k) {
    data.push_back(Sample(60000 + k * 977, k + 11));
    packed.push_back(Pack(data.back()));
  }
  std::vector<std::thread> threads;
  for (size_t k = 0; k < 4; ++k)
    threads.emplace_back([&, k] {
      for (int round = 0; round < 5; ++round) results[k] = Decode(packed[k]);
    });
  for (auto& t : threads) t.join();
  for (size_t k = 0; k < 4; ++k) EXPECT_EQ(results[k], data[k]) << k;
}

TEST(KemLzssPack, RoundTripsEveryKindOfData) {
  std::vector<std::string> cases = {
      "", "a", "ab", "abc", std::string(1, '\0'), std::string(5000, '\0'), std::string(70000, 'x'), Sample(100000, 5)};
  std::string noise;
  std::uint32_t state = 99;
  for (int i = 0; i < 20000; ++i) {
    state = state * 1664525u + 1013904223u;
    noise += static_cast<char>(state >> 24);
  }
  cases.push_back(noise);
  // Repeats just inside and just beyond the reach of a reference.
  const std::string block = Sample(kLzssRingStart, 17);
  cases.push_back(block + block + block);
  const std::string longer = Sample(kLzssRingSize + 40, 23);
  cases.push_back(longer + longer);
  for (const std::string& data : cases) EXPECT_EQ(Decode(Pack(data)), data) << data.size();
}

TEST(KemLzssPack, RepeatsShrinkAndTheHeaderCarriesBothLengths) {
  const std::string data = Sample(30000, 8);
  const std::string container = Pack(data);
  EXPECT_LT(container.size(), data.size() / 3);
  TStringStream header(container);
  EXPECT_EQ(header.ReadLE<std::int32_t>(), 30000);
  EXPECT_EQ(header.ReadLE<std::int32_t>(), static_cast<std::int32_t>(container.size()) - kLzssHeaderSize);
}
