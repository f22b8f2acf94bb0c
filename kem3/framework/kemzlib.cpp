// The deflating and inflating streams over zlib.
#include "kem3/framework/kemzlib.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

const char* const kInvalidOperation = "Invalid ZStream operation!";

// zlib asks the program's allocator for its memory.
voidpf ZAlloc(voidpf /*opaque*/, uInt items, uInt size) {
  if (size != 0 && items > std::numeric_limits<std::size_t>::max() / size) return Z_NULL;
  return std::malloc(static_cast<std::size_t>(items) * size);
}
void ZFree(voidpf /*opaque*/, voidpf address) { std::free(address); }

// A dictionary request counts as an error too: nothing here can supply one,
// and inflate would make no progress (a read would never end).
template <class E>
int Check(int code) {
  if (code < 0 || code == Z_NEED_DICT) throw E(zError(code), code);
  return code;
}

// zlib counts in uInt; larger requests are handed over in pieces.
constexpr std::int64_t kMaxPiece = std::int64_t{1} << 30;

}  // namespace

// ---- TCustomZStream --------------------------------------------------------

TCustomZStream::TCustomZStream(TStream& Strm)
    : FStrm(Strm),
      FStrmPos(Strm.Position()),
      FZStream(std::make_unique<z_stream>()),
      FBuffer(new std::uint8_t[kZBufferSize]) {
  FZStream->zalloc = ZAlloc;
  FZStream->zfree = ZFree;
  FZStream->opaque = Z_NULL;
}

// Set up on the stream first; it is taken over once that is done.
TCustomZStream::TCustomZStream(std::unique_ptr<TStream> Owned) : TCustomZStream(*Owned) {
  FOwnedStrm = std::move(Owned);
}

TCustomZStream::~TCustomZStream() = default;

void TCustomZStream::Progress() {
  if (OnProgress) OnProgress(nullptr);
}

void TCustomZStream::RestorePosition() {
  if (FStrm.Position() != FStrmPos) FStrm.SetPosition(FStrmPos);
}

// ---- TZCompressionStream ---------------------------------------------------

TZCompressionStream::TZCompressionStream(TStream& Dest, TZCompressionLevel Level) : TCustomZStream(Dest) {
  Init(Level);
}

TZCompressionStream::TZCompressionStream(std::unique_ptr<TStream> Dest, TZCompressionLevel Level)
    : TCustomZStream(std::move(Dest)) {
  Init(Level);
}

void TZCompressionStream::Init(TZCompressionLevel Level) {
  static const int kLevels[] = {Z_NO_COMPRESSION, Z_BEST_SPEED, Z_DEFAULT_COMPRESSION, Z_BEST_COMPRESSION};
  int level = kLevels[std::clamp(static_cast<int>(Level), 0, 3)];
  FZStream->next_out = FBuffer.get();
  FZStream->avail_out = kZBufferSize;
  Check<EZCompressionError>(deflateInit(FZStream.get(), level));
}

TZCompressionStream::~TZCompressionStream() {
  try {
    Finish();
  } catch (...) {
    // A destructor cannot report; callers who care call Finish themselves.
  }
  deflateEnd(FZStream.get());
}

std::int64_t TZCompressionStream::Read(void*, std::int64_t) { throw EZCompressionError(kInvalidOperation); }

std::int64_t TZCompressionStream::Write(const void* buffer, std::int64_t count) {
  if (FFinished) throw EZCompressionError(kInvalidOperation);
  if (count <= 0) return 0;
  RestorePosition();
  z_stream& z = *FZStream;
  z.next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
  for (std::int64_t left = count; left > 0;) {
    std::int64_t piece = std::min(left, kMaxPiece);
    z.avail_in = static_cast<uInt>(piece);
    while (z.avail_in > 0) {
      Check<EZCompressionError>(deflate(&z, Z_NO_FLUSH));
      if (z.avail_out == 0) {
        FStrm.WriteBuffer(FBuffer.get(), kZBufferSize);
        z.next_out = FBuffer.get();
        z.avail_out = kZBufferSize;
        FStrmPos = FStrm.Position();
        Progress();
      }
    }
    left -= piece;
  }
  FTotalIn += count;
  return count;
}

std::int64_t TZCompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  if (offset == 0 && origin == soCurrent) return FTotalIn;
  throw EZCompressionError(kInvalidOperation);
}

std::int64_t TZCompressionStream::TotalIn() const { return FTotalIn; }

void TZCompressionStream::Finish() {
  if (FFinished) return;
  FFinished = true;
  RestorePosition();
  z_stream& z = *FZStream;
  z.next_in = Z_NULL;
  z.avail_in = 0;
  while (Check<EZCompressionError>(deflate(&z, Z_FINISH)) != Z_STREAM_END) {
    if (z.avail_out == 0) {
      FStrm.WriteBuffer(FBuffer.get(), kZBufferSize);
      z.next_out = FBuffer.get();
      z.avail_out = kZBufferSize;
    }
  }
  FStrm.WriteBuffer(FBuffer.get(), kZBufferSize - z.avail_out);
  z.next_out = FBuffer.get();
  z.avail_out = kZBufferSize;
  FStrmPos = FStrm.Position();
}

// ---- TZDecompressionStream -------------------------------------------------

TZDecompressionStream::TZDecompressionStream(TStream& Source) : TCustomZStream(Source) { Init(); }

TZDecompressionStream::TZDecompressionStream(std::unique_ptr<TStream> Source) : TCustomZStream(std::move(Source)) {
  Init();
}

void TZDecompressionStream::Init() {
  FZStream->next_in = FBuffer.get();
  FZStream->avail_in = 0;
  Check<EZDecompressionError>(inflateInit(FZStream.get()));
}

TZDecompressionStream::~TZDecompressionStream() { inflateEnd(FZStream.get()); }

std::int64_t TZDecompressionStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  RestorePosition();
  z_stream& z = *FZStream;
  auto* out = static_cast<Bytef*>(buffer);
  std::int64_t left = count;
  while (left > 0) {
    if (z.avail_in == 0) {
      std::int64_t got = FStrm.Read(FBuffer.get(), kZBufferSize);
      if (got <= 0) break;
      z.next_in = FBuffer.get();
      z.avail_in = static_cast<uInt>(got);
      FStrmPos = FStrm.Position();
      Progress();
    }
    auto piece = static_cast<uInt>(std::min(left, kMaxPiece));
    z.next_out = out;
    z.avail_out = piece;
    int code = inflate(&z, Z_NO_FLUSH);
    uInt made = piece - z.avail_out;
    out += made;
    left -= made;
    FTotalOut += made;
    if (code == Z_STREAM_END) {
      // What follows the compressed data belongs to the source's next reader.
      if (z.avail_in > 0) {
        FStrm.Seek(-static_cast<std::int64_t>(z.avail_in), soCurrent);
        FStrmPos = FStrm.Position();
        z.avail_in = 0;
      }
      break;
    }
    Check<EZDecompressionError>(code);
  }
  return count - left;
}

std::int64_t TZDecompressionStream::Write(const void*, std::int64_t) { throw EZDecompressionError(kInvalidOperation); }

void TZDecompressionStream::Skip(std::int64_t count) {
  std::uint8_t scrap[8192];
  while (count > 0) {
    std::int64_t got = Read(scrap, std::min<std::int64_t>(count, sizeof scrap));
    if (got <= 0) break;
    count -= got;
  }
}

std::int64_t TZDecompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  if (offset == 0 && origin == soBeginning) {
    Check<EZDecompressionError>(inflateReset(FZStream.get()));
    FZStream->next_in = FBuffer.get();
    FZStream->avail_in = 0;
    FStrm.SetPosition(0);
    FStrmPos = 0;
    FTotalOut = 0;
  } else if (origin == soCurrent && offset >= 0) {
    Skip(offset);
  } else if (origin == soBeginning && offset >= FTotalOut) {
    Skip(offset - FTotalOut);
  } else if (origin == soEnd && offset == 0) {
    std::uint8_t scrap[8192];
    while (Read(scrap, sizeof scrap) > 0) {
    }
  } else {
    throw EZDecompressionError(kInvalidOperation);
  }
  return FTotalOut;
}

std::int64_t TZDecompressionStream::TotalOut() const { return FTotalOut; }

void TZDecompressionStream::IgnoreChecksum() { Check<EZDecompressionError>(inflateValidate(FZStream.get(), 0)); }
