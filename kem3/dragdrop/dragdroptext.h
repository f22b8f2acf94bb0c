// Text from a drop: CF_TEXT and the first dragged file's contents feeding
// TTextDataFormat, and the file group descriptor whose names give a dragged
// link its title.
#pragma once
#include "kem3/dragdrop/dragdropfile.h"

class TTextClipboardFormat : public TCustomTextClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TTextClipboardFormat)
  // Data holds the text in UTF-8.

 protected:
  bool ReadData(TDropBlock Block) override;
};

// The first dragged file's bytes, up to the first zero.
class TFileContentsClipboardFormat : public TCustomTextClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TFileContentsClipboardFormat)
  TFileContentsClipboardFormat() { FIndex = 0; }
};

// A file group descriptor: a copy of the whole block (its count and records)
// and the records' file names.
class TCustomFileGroupDescritorClipboardFormat : public TCustomSimpleClipboardFormat {
  ORV_DD_ABSTRACT_CLASS(TCustomFileGroupDescritorClipboardFormat)
  void Clear() override {
    Block.clear();
    Filenames.clear();
  }
  bool HasData() override { return !Filenames.empty(); }
  // Takes a copy of a block whose size holds exactly its count of records.
  void SetBlock(TDropBlock Value);
  // Writing for a source: a group of one descriptor named "Text scrap.txt".
  bool Assign(TCustomDataFormat& Source) override;
  std::string Block;  // empty when cleared
  TFileNames Filenames;

 protected:
  virtual bool Wide() const { return false; }
  bool ReadData(TDropBlock Data) override;
  bool WriteData(char* Data, std::int64_t Size) override;
  std::int64_t GetDataSize() override { return static_cast<std::int64_t>(Block.size()); }
};

class TFileGroupDescritorClipboardFormat : public TCustomFileGroupDescritorClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TFileGroupDescritorClipboardFormat)
};

class TFileGroupDescritorWClipboardFormat : public TCustomFileGroupDescritorClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TFileGroupDescritorWClipboardFormat)

 protected:
  bool Wide() const override { return true; }
};

class TTextDataFormat : public TCustomDataFormat {
 public:
  explicit TTextDataFormat(TDragDropComponent* AOwner) : TCustomDataFormat(AOwner, &Class) {}
  static const TDataFormatClass Class;
  void Clear() override;
  bool HasData() override { return !FText.empty(); }
  bool Assign(TClipboardFormat& Source) override;
  bool AssignTo(TClipboardFormat& Dest) override;
  const String& Text() const { return FText; }  // UTF-8
  void SetText(const String& Value);

 private:
  String FText;
};
