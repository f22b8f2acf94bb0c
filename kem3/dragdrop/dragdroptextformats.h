// The text formats beside CF_TEXT: UTF-16 and OEM text, rich text, CSV, the
// clipboard's HTML, mail messages and contact cards, each converting its own
// representation to and from TTextDataFormat's UTF-8 text; and THTMLDataFormat
// for a target that wants HTML only.
#pragma once
#include "kem3/dragdrop/dragdroptext.h"

class TUnicodeTextClipboardFormat : public TCustomWideTextClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TUnicodeTextClipboardFormat)
  bool Assign(TCustomDataFormat& Source) override;
  bool AssignTo(TCustomDataFormat& Dest) override;
};

// Data holds the OEM bytes as they came.
class TOEMTextClipboardFormat : public TCustomTextClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TOEMTextClipboardFormat)
  bool Assign(TCustomDataFormat& Source) override;
  bool AssignTo(TCustomDataFormat& Dest) override;
};

// Has data only for a text that is rich text.
class TRichTextClipboardFormat : public TCustomTextClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TRichTextClipboardFormat)
  bool HasData() override;
  bool Assign(TCustomDataFormat& Source) override;
  bool AssignTo(TCustomDataFormat& Dest) override;
};

// A list of lines whose joined text (each line ended by CR LF) is the text.
class TCustomLinesTextClipboardFormat : public TCustomStringListClipboardFormat {
  ORV_DD_ABSTRACT_CLASS(TCustomLinesTextClipboardFormat)
  bool Assign(TCustomDataFormat& Source) override;
  bool AssignTo(TCustomDataFormat& Dest) override;

 protected:
  bool ReadData(TDropBlock Block) override;
};

class TCSVClipboardFormat : public TCustomLinesTextClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TCSVClipboardFormat)
};

class TRFC822ClipboardFormat : public TCustomLinesTextClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TRFC822ClipboardFormat)
};

// "HTML Format": UTF-8 mark-up behind the clipboard's offset header. Has data
// only when the mark-up holds "<HTML>" (any case).
class THTMLClipboardFormat : public TCustomLinesTextClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(THTMLClipboardFormat)
  bool HasData() override;
  bool Assign(TCustomDataFormat& Source) override;
  bool AssignTo(TCustomDataFormat& Dest) override;

 protected:
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char* Block, std::int64_t Size) override;
  std::int64_t GetDataSize() override;
};

// A contact card, each line as name=value. No conversion reads it.
class TVCardClipboardFormat : public TCustomStringListClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TVCardClipboardFormat)

 protected:
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char* Block, std::int64_t Size) override;
  std::int64_t GetDataSize() override;
};

class THTMLDataFormat : public TCustomDataFormat {
 public:
  explicit THTMLDataFormat(TDragDropComponent* AOwner) : TCustomDataFormat(AOwner, &Class) {}
  static const TDataFormatClass Class;
  void Clear() override;
  bool HasData() override { return !Lines.empty(); }
  bool Assign(TClipboardFormat& Source) override;
  bool AssignTo(TClipboardFormat& Dest) override;
  std::vector<std::string> Lines;  // UTF-8
};
