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

// The file names of a file group descriptor.
class TCustomFileGroupDescritorClipboardFormat : public TCustomSimpleClipboardFormat {
  ORV_DD_ABSTRACT_CLASS(TCustomFileGroupDescritorClipboardFormat)
  void Clear() override { Filenames.clear(); }
  bool HasData() override { return !Filenames.empty(); }
  TFileNames Filenames;

 protected:
  virtual bool Wide() const { return false; }
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char*, std::int64_t) override { return false; }
  std::int64_t GetDataSize() override { return 0; }
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
