// Streams of the class layer: the abstract TStream with its buffer and
// little-endian helpers, the memory streams, and the file stream.
#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/exceptions.h"
#include "platform/types.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;

  // Transfers up to count bytes; the result is how many moved (0 at the end or on an error).
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // The new position, or -1 when the position cannot be set.
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
  virtual std::int64_t Size();
  // Truncates or extends the stream. Streams that cannot change size ignore it.
  virtual void SetSize(std::int64_t newSize);

  // The whole count or an exception: EReadError "Stream read error", EWriteError "Stream write error".
  void ReadBuffer(void* buffer, std::int64_t count);
  void WriteBuffer(const void* buffer, std::int64_t count);
  // Copies count bytes from source's position; count 0 (or less) copies the
  // whole source from its start. Returns the number of bytes copied.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);

  // Exactly n bytes as a string; EReadError when fewer are left. Sizes read
  // from a file are untrusted, so memory grows only with what really arrives.
  std::string ReadBytes(std::int64_t n);
  void WriteBytes(std::string_view bytes) { WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size())); }

  // Numbers as the program's binary formats store them: little-endian.
  template <class T>
  T ReadLE() {
    static_assert(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>, "ReadLE reads numbers");
    unsigned char raw[sizeof(T)];
    ReadBuffer(raw, sizeof(T));
    UnsignedOf<T> bits = 0;
    for (size_t i = sizeof(T); i-- > 0;) bits = static_cast<UnsignedOf<T>>((bits << 8) | raw[i]);
    return std::bit_cast<T>(bits);
  }
  template <class T>
  void WriteLE(T value) {
    static_assert(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>, "WriteLE writes numbers");
    auto bits = std::bit_cast<UnsignedOf<T>>(value);
    unsigned char raw[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i) raw[i] = static_cast<unsigned char>(bits >> (8 * i));
    WriteBuffer(raw, sizeof(T));
  }

 private:
  template <class T>
  using UnsignedOf =
      std::conditional_t<sizeof(T) == 1, std::uint8_t,
                         std::conditional_t<sizeof(T) == 2, std::uint16_t,
                                            std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;
};

// A stream in memory. The bytes are one contiguous block (Memory()); growth is
// geometric, so writing a stream byte by byte stays linear.
class TMemoryStream : public TStream {
 public:
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
  // New bytes are zero; a position beyond the new end moves to the end.
  void SetSize(std::int64_t newSize) override;

  void* Memory() { return FData.data(); }
  const void* Memory() const { return FData.data(); }
  void Clear();

  // Replaces the content with the whole of stream (read from its start); the
  // position stays where it was unless it lies beyond the new end.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const String& fileName);
  // Writes the whole content, wherever the position is.
  void SaveToStream(TStream& stream);
  // Saved through a temporary file and one replace: a failure leaves the old file as it was.
  void SaveToFile(const String& fileName);

 protected:
  // Exactly the stream's bytes: size() is the stream's Size.
  std::string FData;
  std::int64_t FPosition = 0;
};

// A memory stream made from, and read back as, an 8-bit string.
class TStringStream : public TMemoryStream {
 public:
  TStringStream() = default;
  explicit TStringStream(std::string data) { FData = std::move(data); }
  const std::string& DataString() const { return FData; }
};

// File modes as the class library combines them: one access mode, or'ed with
// one share mode. fmCreate creates the file or empties an existing one and
// opens it for reading and writing; its low byte may carry a share mode.
enum : std::uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,  // no sharing at all, as on Windows
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

// A file opened by name (UTF-8). Opening raises EFOpenError ("Cannot open file
// "<name>". <reason>") or, for fmCreate, EFCreateError ("Cannot create file ...").
// Share modes are those of Windows: an open that an existing stream's share mode
// forbids, or that would forbid what an existing stream does, fails. The native
// build has no such locks and keeps them itself among the streams of this
// process, so both builds behave alike. Positions and sizes are 64-bit.
class TFileStream : public TStream {
 public:
  TFileStream(const String& fileName, std::uint16_t mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  // Like the class library: moves the position to newSize and ends the file
  // there (extending it with zeros); EOSError when the system refuses.
  void SetSize(std::int64_t newSize) override;

  const String& FileName() const { return FFileName; }
  // The system's handle (a HANDLE on Windows, a descriptor natively).
  std::intptr_t Handle() const { return FHandle; }

 private:
  String FFileName;
  std::intptr_t FHandle = -1;
};
