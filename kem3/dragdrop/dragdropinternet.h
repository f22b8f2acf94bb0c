// Web addresses from a drop: the browser formats ("UniformResourceLocatorW",
// "UniformResourceLocator", Netscape's bookmark and image records) and
// TURLDataFormat, which also finds an address in a text, a dropped or dragged
// internet shortcut, and a title in a file group descriptor.
#pragma once
#include <optional>

#include "kem3/dragdrop/dragdroptextformats.h"

class TURLClipboardFormat : public TCustomTextClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TURLClipboardFormat)

 protected:
  bool ReadData(TDropBlock Block) override;
};

// The address in UTF-16, as browsers offer it beside the 8-bit one: only this
// form keeps a host or path outside the ANSI code page.
class TURLWClipboardFormat : public TCustomWideTextClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TURLWClipboardFormat)
};

// A URL with its title, as Netscape's formats carry them.
class TCustomNetscapeClipboardFormat : public TCustomSimpleClipboardFormat {
  ORV_DD_ABSTRACT_CLASS(TCustomNetscapeClipboardFormat)
  void Clear() override { Bookmark = {}; }
  bool HasData() override { return !Bookmark.URL.empty() || !Bookmark.Title.empty(); }
  TDroppedURL Bookmark;

 protected:
  bool WriteData(char*, std::int64_t) override { return false; }
  std::int64_t GetDataSize() override { return 0; }
};

class TNetscapeBookmarkClipboardFormat : public TCustomNetscapeClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TNetscapeBookmarkClipboardFormat)

 protected:
  bool ReadData(TDropBlock Block) override;
};

class TNetscapeImageClipboardFormat : public TCustomNetscapeClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TNetscapeImageClipboardFormat)

 protected:
  bool ReadData(TDropBlock Block) override;
};

class TURLDataFormat : public TCustomDataFormat {
 public:
  explicit TURLDataFormat(TDragDropComponent* AOwner) : TCustomDataFormat(AOwner, &Class) {}
  static const TDataFormatClass Class;
  void Clear() override;
  bool HasData() override { return !URL.empty() || !Title.empty(); }
  bool WantsData() override { return URL.empty() || Title.empty(); }
  bool Assign(TClipboardFormat& Source) override;
  bool AssignTo(TClipboardFormat& Dest) override;
  String URL;    // UTF-8
  String Title;  // UTF-8
};
