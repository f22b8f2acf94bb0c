// The stream operations every build shares: TStream's helpers and the memory streams.
#include "platform/streams.h"

#include <algorithm>
#include <vector>

#include "platform/files.h"

std::int64_t TStream::Size() {
  std::int64_t pos = Seek(0, soCurrent);
  std::int64_t end = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return end;
}

void TStream::SetSize(std::int64_t) {}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  auto* p = static_cast<char*>(buffer);
  // Some streams (files, pipes, codecs) may hand out less than asked before the end.
  while (count > 0) {
    std::int64_t got = Read(p, count);
    if (got <= 0) throw EReadError("Stream read error");
    p += got;
    count -= got;
  }
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  auto* p = static_cast<const char*>(buffer);
  while (count > 0) {
    std::int64_t put = Write(p, count);
    if (put <= 0) throw EWriteError("Stream write error");
    p += put;
    count -= put;
  }
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count <= 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr std::int64_t kChunk = 64 * 1024;
  std::vector<char> buffer(static_cast<size_t>(std::min(count, kChunk)));
  std::int64_t left = count;
  while (left > 0) {
    std::int64_t n = std::min(left, kChunk);
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return count;
}

std::string TStream::ReadBytes(std::int64_t n) {
  if (n < 0) throw EReadError("Stream read error");
  std::string result;
  constexpr std::int64_t kChunk = 64 * 1024;
  while (static_cast<std::int64_t>(result.size()) < n) {
    size_t have = result.size();
    std::int64_t want = std::min(n - static_cast<std::int64_t>(have), kChunk);
    result.resize(have + static_cast<size_t>(want));
    std::int64_t got = Read(result.data() + have, want);
    if (got <= 0) throw EReadError("Stream read error");
    result.resize(have + static_cast<size_t>(got));
  }
  return result;
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  std::int64_t size = Size();
  if (count <= 0 || FPosition >= size) return 0;
  std::int64_t n = std::min(count, size - FPosition);
  std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  std::int64_t end = FPosition + count;
  if (end > Size()) {
    size_t needed = static_cast<size_t>(end);
    // reserve doubles explicitly, so appending stays linear whatever the library does.
    if (needed > FData.capacity()) FData.reserve(std::max(needed, FData.capacity() * 2));
    FData.resize(needed);  // a gap behind a Seek past the end becomes zeros
  }
  std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition = end;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : Size();
  std::int64_t target = base + offset;
  if (target < 0) return -1;
  FPosition = target;
  return FPosition;
}

void TMemoryStream::SetSize(std::int64_t newSize) {
  if (newSize < 0) throw EStreamError("Invalid stream size");
  FData.resize(static_cast<size_t>(newSize));
  if (FPosition > newSize) FPosition = newSize;
}

void TMemoryStream::Clear() {
  std::string().swap(FData);
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  std::int64_t count = stream.Size();
  SetSize(count);
  if (count != 0) stream.ReadBuffer(FData.data(), count);
}

void TMemoryStream::LoadFromFile(const String& fileName) {
  FData = ReadFileBytes(fileName);
  if (FPosition > Size()) FPosition = Size();
}

void TMemoryStream::SaveToStream(TStream& stream) {
  if (!FData.empty()) stream.WriteBuffer(FData.data(), Size());
}

void TMemoryStream::SaveToFile(const String& fileName) { WriteFileAtomic(fileName, FData); }
