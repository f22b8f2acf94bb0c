// Moving a block between a storage medium and a simple clipboard format.
#include "kem3/dragdrop/dragdropsimple.h"

#include <cstring>
#include <string>

const TClipboardFormatClass TCustomSimpleClipboardFormat::Class{"TCustomSimpleClipboardFormat",
                                                                &TClipboardFormat::Class, nullptr};
const TClipboardFormatClass TCustomStringClipboardFormat::Class{"TCustomStringClipboardFormat",
                                                                &TCustomSimpleClipboardFormat::Class, nullptr};
const TClipboardFormatClass TCustomTextClipboardFormat::Class{"TCustomTextClipboardFormat",
                                                              &TCustomStringClipboardFormat::Class, nullptr};
const TClipboardFormatClass TCustomStringListClipboardFormat::Class{"TCustomStringListClipboardFormat",
                                                                    &TCustomSimpleClipboardFormat::Class, nullptr};
const TClipboardFormatClass TCustomWideTextClipboardFormat::Class{"TCustomWideTextClipboardFormat",
                                                                  &TCustomSimpleClipboardFormat::Class, nullptr};
const TClipboardFormatClass TCustomDWORDClipboardFormat::Class{"TCustomDWORDClipboardFormat",
                                                               &TCustomSimpleClipboardFormat::Class, nullptr};

namespace {

// Unlocks a memory block on every path out.
class TGlobalLock {
 public:
  explicit TGlobalLock(TStorageMedium& Medium) : FMedium(Medium), FData(Medium.GlobalLock()) {}
  ~TGlobalLock() {
    if (FData) FMedium.GlobalUnlock();
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  const char* Data() const { return static_cast<const char*>(FData); }

 private:
  TStorageMedium& FMedium;
  const void* FData;
};

// Reads Size bytes of a stream from its start into Buffer; false when a read fails.
bool ReadStream(TStorageMedium& Medium, char* Buffer, std::int64_t Size) {
  if (!Medium.Rewind()) return false;
  std::int64_t done = 0;
  while (done < Size) {
    std::uint32_t got = 0;
    if (!Medium.Read(Buffer + done, static_cast<std::uint32_t>(Size - done), got)) return false;
    if (got == 0) break;
    done += got;
  }
  return true;
}

}  // namespace

bool TCustomSimpleClipboardFormat::ReadMedium(TDropDataObject& DataObject, TStorageMedium& Medium) {
  std::int64_t size = 0;
  if (Medium.Tymed() == tymedHGlobal) {
    size = Medium.GlobalSize();
  } else if (Medium.Tymed() == tymedIStream) {
    if (!Medium.StatSize(size)) return false;
    size = static_cast<std::int32_t>(static_cast<std::uint32_t>(size));
  } else {
    return false;
  }
  return size == 0 || ReadSizedMedium(DataObject, Medium, size);
}

bool TCustomSimpleClipboardFormat::ReadSizedMedium(TDropDataObject&, TStorageMedium& Medium, std::int64_t Size) {
  if (Size < 1 || Size > kMaxDropBlockSize) return false;
  try {
    if (Medium.Tymed() == tymedHGlobal) {
      TGlobalLock lock(Medium);
      return lock.Data() && ReadData(TDropBlock(lock.Data(), static_cast<std::size_t>(Size)));
    }
    if (Medium.Tymed() == tymedIStream) {
      std::string buffer(static_cast<std::size_t>(Size), '\0');
      return ReadStream(Medium, buffer.data(), Size) && ReadData(buffer);
    }
  } catch (const EDropBlockError&) {
  }
  return false;
}

bool TCustomSimpleClipboardFormat::ReadMediumToBuffer(TStorageMedium& Medium, std::int64_t Size, void* Buffer) {
  if (!Buffer || Size <= 0) return false;
  if (Medium.Tymed() == tymedHGlobal) {
    if (Medium.GlobalSize() < Size) return false;
    TGlobalLock lock(Medium);
    if (!lock.Data()) return false;
    std::memcpy(Buffer, lock.Data(), static_cast<std::size_t>(Size));
    return true;
  }
  if (Medium.Tymed() == tymedIStream) return ReadStream(Medium, static_cast<char*>(Buffer), Size);
  return false;
}

bool TCustomSimpleClipboardFormat::WriteMedium(const TFormatEtc& Format, TWrittenMedium& Medium) {
  const std::int64_t size = GetDataSize();
  if (size <= 0 || size > kMaxDropBlockSize) return false;
  // A stream is preferred when the request allows one.
  const std::uint32_t tymed = (Format.tymed & tymedIStream)   ? tymedIStream
                              : (Format.tymed & tymedHGlobal) ? tymedHGlobal
                                                              : 0;
  if (!tymed) return false;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!WriteData(bytes.data(), size)) return false;
  Medium.tymed = tymed;
  Medium.Bytes = std::move(bytes);
  return true;
}

// ---- Value kinds ---------------------------------------------------------------

bool TCustomStringClipboardFormat::ReadData(TDropBlock Block) {
  Data.assign(Block);
  if (TrimZeroes) Data.resize(std::strlen(Data.c_str()));
  return true;
}

bool TCustomStringClipboardFormat::WriteData(char* Block, std::int64_t Size) {
  if (Size > static_cast<std::int64_t>(Data.size()) + 1) return false;
  std::memcpy(Block, Data.c_str(), static_cast<std::size_t>(Size));
  return true;
}

std::int64_t TCustomTextClipboardFormat::GetDataSize() {
  if (Data.empty()) return 0;
  return static_cast<std::int64_t>(Data.size()) + (Data.back() != '\0' ? 1 : 0);
}

bool TCustomStringListClipboardFormat::ReadData(TDropBlock Block) {
  // The last byte stands for the terminator, whatever it held.
  std::string_view text = Block.substr(0, Block.size() - 1);
  Lines = SplitDropLines(text.substr(0, text.find('\0')));
  return true;
}

std::string TCustomStringListClipboardFormat::Text() const {
  std::string text;
  for (const std::string& line : Lines) text += line + "\r\n";
  return text;
}

bool TCustomStringListClipboardFormat::WriteData(char* Block, std::int64_t Size) {
  const std::string text = Text();
  if (Size != static_cast<std::int64_t>(text.size()) + 1) return false;
  std::memcpy(Block, text.c_str(), text.size() + 1);
  return true;
}

std::int64_t TCustomStringListClipboardFormat::GetDataSize() { return static_cast<std::int64_t>(Text().size()) + 1; }

bool TCustomWideTextClipboardFormat::ReadData(TDropBlock Block) {
  Text.resize(Block.size() / 2);
  std::memcpy(Text.data(), Block.data(), Text.size() * 2);
  return true;
}

bool TCustomWideTextClipboardFormat::WriteData(char* Block, std::int64_t Size) {
  if (Size > 2 * static_cast<std::int64_t>(Text.size()) + 2) return false;
  std::memcpy(Block, Text.c_str(), static_cast<std::size_t>(Size));
  return true;
}

std::int64_t TCustomWideTextClipboardFormat::GetDataSize() {
  if (Text.empty()) return 0;
  return 2 * static_cast<std::int64_t>(Text.size()) + (Text.back() != 0 ? 2 : 0);
}

bool TCustomDWORDClipboardFormat::ReadData(TDropBlock Block) {
  if (Block.size() < 4) return false;
  const auto* p = reinterpret_cast<const std::uint8_t*>(Block.data());
  Value = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  return true;
}

bool TCustomDWORDClipboardFormat::WriteData(char* Block, std::int64_t Size) {
  if (Size != 4) return false;
  for (int i = 0; i < 4; ++i) Block[i] = static_cast<char>(Value >> (8 * i));
  return true;
}
