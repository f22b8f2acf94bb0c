// Clipboard formats whose content travels as one block of bytes, in a memory
// block or a stream, and the value kinds built on them: an 8-bit string, a
// text, a list of lines, a wide text and a 32-bit value.
#pragma once
#include <cstdint>
#include <vector>

#include "kem3/dragdrop/dragdrop.h"
#include "kem3/dragdrop/dropblocks.h"

class TCustomSimpleClipboardFormat : public TClipboardFormat {
 public:
  TCustomSimpleClipboardFormat() : TClipboardFormat(tymedHGlobal | tymedIStream) {}
  static const TClipboardFormatClass Class;
  const TClipboardFormatClass* ClassType() const override { return &Class; }

  bool ReadMedium(TDropDataObject& DataObject, TStorageMedium& Medium) override;
  bool WriteMedium(const TFormatEtc& Format, TWrittenMedium& Medium) override;
  // Copies the first Size bytes of a memory block or a stream into Buffer.
  static bool ReadMediumToBuffer(TStorageMedium& Medium, std::int64_t Size, void* Buffer);

 protected:
  virtual bool ReadSizedMedium(TDropDataObject& DataObject, TStorageMedium& Medium, std::int64_t Size);
  // The whole content from a block; EDropBlockError counts as false.
  virtual bool ReadData(TDropBlock Block) = 0;
  // The content into a block of exactly Size bytes, as GetDataSize gave it.
  virtual bool WriteData(char* Block, std::int64_t Size) = 0;
  virtual std::int64_t GetDataSize() = 0;
};

class TCustomStringClipboardFormat : public TCustomSimpleClipboardFormat {
 public:
  static const TClipboardFormatClass Class;
  const TClipboardFormatClass* ClassType() const override { return &Class; }
  void Clear() override { Data.clear(); }
  bool HasData() override { return !Data.empty(); }

  std::string Data;  // the block's bytes, as they came
  bool TrimZeroes = false;

 protected:
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char* Block, std::int64_t Size) override;
  std::int64_t GetDataSize() override { return static_cast<std::int64_t>(Data.size()); }
};

class TCustomTextClipboardFormat : public TCustomStringClipboardFormat {
 public:
  TCustomTextClipboardFormat() { TrimZeroes = true; }
  static const TClipboardFormatClass Class;
  const TClipboardFormatClass* ClassType() const override { return &Class; }

 protected:
  std::int64_t GetDataSize() override;
};

class TCustomStringListClipboardFormat : public TCustomSimpleClipboardFormat {
 public:
  static const TClipboardFormatClass Class;
  const TClipboardFormatClass* ClassType() const override { return &Class; }
  void Clear() override { Lines.clear(); }
  bool HasData() override { return !Lines.empty(); }

  std::vector<std::string> Lines;

 protected:
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char* Block, std::int64_t Size) override;
  std::int64_t GetDataSize() override;
  std::string Text() const;
};

class TCustomWideTextClipboardFormat : public TCustomSimpleClipboardFormat {
 public:
  static const TClipboardFormatClass Class;
  const TClipboardFormatClass* ClassType() const override { return &Class; }
  void Clear() override { Text.clear(); }
  bool HasData() override { return !Text.empty(); }

  WideString Text;

 protected:
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char* Block, std::int64_t Size) override;
  std::int64_t GetDataSize() override;
};

class TCustomDWORDClipboardFormat : public TCustomSimpleClipboardFormat {
 public:
  static const TClipboardFormatClass Class;
  const TClipboardFormatClass* ClassType() const override { return &Class; }
  void Clear() override { Value = 0; }

  std::uint32_t Value = 0;

 protected:
  // A block shorter than 4 bytes holds no value.
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char* Block, std::int64_t Size) override;
  std::int64_t GetDataSize() override { return 4; }
};
