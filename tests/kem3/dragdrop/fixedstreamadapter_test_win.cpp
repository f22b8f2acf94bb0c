// The OLE stream a format writes: a copy of all of a stream standing at its end
// starts from the beginning, and a destination that takes fewer bytes than it
// was given ends the copy with E_FAIL.
#include "kem3/dragdrop/fixedstreamadapter_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Takes at most 3 bytes of each write.
class ShortWriter : public TFixedStreamAdapter {
 public:
  ShortWriter() : TFixedStreamAdapter(std::make_unique<TStringStream>()) {}
  HRESULT STDMETHODCALLTYPE Write(const void* Buffer, ULONG Count, ULONG* Written) override {
    return TFixedStreamAdapter::Write(Buffer, std::min<ULONG>(Count, 3), Written);
  }
};

std::string Contents(IStream* stream) {
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  char buffer[64];
  ULONG got = 0;
  stream->Read(buffer, sizeof buffer, &got);
  return std::string(buffer, got);
}

TEST(FixedStreamAdapter, CopiesAllFromTheStartAndStopsAtAShortWrite) {
  auto source = std::make_unique<TStringStream>("hello world");
  source->Seek(0, soEnd);
  auto* adapter = new TFixedStreamAdapter(std::move(source));
  STATSTG stat;
  ASSERT_EQ(adapter->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 11u);

  auto* dest = new TFixedStreamAdapter(std::make_unique<TStringStream>());
  ULARGE_INTEGER all, read, written;
  all.QuadPart = ~0ULL;
  EXPECT_EQ(adapter->CopyTo(dest, all, &read, &written), S_OK);
  EXPECT_EQ(read.QuadPart, 11u);
  EXPECT_EQ(written.QuadPart, 11u);
  EXPECT_EQ(Contents(dest), "hello world");

  auto* shortWriter = new ShortWriter;
  LARGE_INTEGER zero{};
  adapter->Seek(zero, STREAM_SEEK_SET, nullptr);
  EXPECT_EQ(adapter->CopyTo(shortWriter, all, &read, &written), E_FAIL);
  EXPECT_EQ(read.QuadPart, 11u);
  EXPECT_EQ(written.QuadPart, 3u);
  shortWriter->Release();
  dest->Release();
  adapter->Release();
}

}  // namespace
