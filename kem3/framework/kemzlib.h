// zlib behind the stream interface: a stream that deflates what is written to
// it into another stream, and one that inflates what is read from another.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/events.h"
#include "platform/exceptions.h"
#include "platform/streams.h"

struct z_stream_s;

// An error reported by zlib. ErrorCode is zlib's (negative) result; the
// message is zlib's own text for that code.
class EZLibError : public Exception {
 public:
  EZLibError(String message, int errorCode = 0) : Exception(std::move(message)), ErrorCode(errorCode) {}
  int ErrorCode;
};
class EZCompressionError : public EZLibError {
 public:
  using EZLibError::EZLibError;
};
class EZDecompressionError : public EZLibError {
 public:
  using EZLibError::EZLibError;
};

// Compression levels by index: none, fastest, zlib's default, maximum.
enum TZCompressionLevel { zcNone, zcFastest, zcDefault, zcMax };

inline constexpr int kZBufferSize = 65536;

// What both directions share: the other stream (owned or not), where this
// stream last left it, zlib's state and the 64 KB buffer.
class TCustomZStream : public TStream {
 public:
  ~TCustomZStream() override;
  TCustomZStream(const TCustomZStream&) = delete;
  TCustomZStream& operator=(const TCustomZStream&) = delete;

  // Raised each time the buffer was exchanged with the other stream.
  TNotifyEvent OnProgress;

 protected:
  explicit TCustomZStream(TStream& Strm);
  // Takes the stream over: it is freed with this one.
  explicit TCustomZStream(std::unique_ptr<TStream> Owned);
  void Progress();
  // Puts the other stream back where this stream left it, should someone have moved it.
  void RestorePosition();

  TStream& FStrm;
  std::int64_t FStrmPos;
  std::unique_ptr<z_stream_s> FZStream;
  std::unique_ptr<std::uint8_t[]> FBuffer;

 private:
  std::unique_ptr<TStream> FOwnedStrm;
};

class TZCompressionStream : public TCustomZStream {
 public:
  // Deflates into Dest, which must outlive the stream.
  explicit TZCompressionStream(TStream& Dest, TZCompressionLevel Level = zcDefault);
  // Deflates into Dest and frees it with the stream.
  explicit TZCompressionStream(std::unique_ptr<TStream> Dest, TZCompressionLevel Level = zcDefault);
  // Finishes the compressed data when Finish was not called; errors are lost then.
  ~TZCompressionStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  // Only Seek(0, soCurrent): the number of bytes taken in so far.
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

  // Writes the end of the compressed data into the destination. Called by the
  // destructor when not before; callers that must see write errors call it
  // themselves. Writing after it raises EZCompressionError.
  void Finish();
  // Bytes taken in so far.
  std::int64_t TotalIn() const;

 private:
  void Init(TZCompressionLevel Level);
  std::int64_t FTotalIn = 0;
  bool FFinished = false;
};

class TZDecompressionStream : public TCustomZStream {
 public:
  // Inflates from Source's position; Source must outlive the stream.
  explicit TZDecompressionStream(TStream& Source);
  // Inflates from Source and frees it with the stream.
  explicit TZDecompressionStream(std::unique_ptr<TStream> Source);
  ~TZDecompressionStream() override;

  // Fewer bytes than asked only at the end of the compressed data (or of the
  // source); the source then stands right behind the compressed data.
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  // Seek(0, soBeginning) starts again with the source at 0; a forward move
  // (from the current position, or from the beginning to beyond the current
  // position) reads and drops; Seek(0, soEnd) reads to the end. The result is
  // the number of bytes delivered so far.
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

  // Bytes delivered so far.
  std::int64_t TotalOut() const;
  // Leaves out the running checksum of the inflated data, for callers whose
  // data carry checksums of their own (PNG chunks have their CRCs).
  void IgnoreChecksum();

 private:
  void Init();
  void Skip(std::int64_t count);
  std::int64_t FTotalOut = 0;
};
