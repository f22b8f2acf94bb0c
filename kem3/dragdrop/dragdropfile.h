// Dropped file names: the CF_HDROP, "FileName" and "FileNameW" formats feeding
// TFileDataFormat, and the file name maps feeding TFileMapDataFormat. Names
// stay UTF-16 all the way, so names outside the ANSI code page survive.
#pragma once
#include <vector>

#include "kem3/dragdrop/dragdropsimple.h"

using TFileNames = std::vector<WideString>;

class TFileClipboardFormat : public TCustomSimpleClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TFileClipboardFormat)
  void Clear() override {
    Files.clear();
    Unread = 0;
  }
  bool HasData() override { return !Files.empty(); }
  TFileNames Files;
  // The names of the block after those read (the drop was larger than any
  // the bar takes): counted, for the note that tells the user.
  std::size_t Unread = 0;

 protected:
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char* Block, std::int64_t Size) override;
  std::int64_t GetDataSize() override;
};

// One file name; the 8-bit and the wide format are siblings, so that a data
// format may register conversions for both.
class TCustomFilenameClipboardFormat : public TCustomSimpleClipboardFormat {
  ORV_DD_ABSTRACT_CLASS(TCustomFilenameClipboardFormat)
  void Clear() override { Filename.clear(); }
  bool HasData() override { return !Filename.empty(); }
  WideString Filename;

 protected:
  virtual bool Wide() const { return false; }
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char*, std::int64_t) override { return false; }
  std::int64_t GetDataSize() override { return 0; }
};

class TFilenameClipboardFormat : public TCustomFilenameClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TFilenameClipboardFormat)
};

class TFilenameWClipboardFormat : public TCustomFilenameClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TFilenameWClipboardFormat)

 protected:
  bool Wide() const override { return true; }
};

class TCustomFilenameMapClipboardFormat : public TCustomSimpleClipboardFormat {
  ORV_DD_ABSTRACT_CLASS(TCustomFilenameMapClipboardFormat)
  void Clear() override { FileMaps.clear(); }
  bool HasData() override { return !FileMaps.empty(); }
  TFileNames FileMaps;

 protected:
  virtual bool Wide() const { return false; }
  bool ReadData(TDropBlock Block) override;
  bool WriteData(char* Block, std::int64_t Size) override;
  std::int64_t GetDataSize() override;
};

class TFilenameMapClipboardFormat : public TCustomFilenameMapClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TFilenameMapClipboardFormat)
};

class TFilenameMapWClipboardFormat : public TCustomFilenameMapClipboardFormat {
  ORV_DD_CLIPBOARD_CLASS(TFilenameMapWClipboardFormat)

 protected:
  bool Wide() const override { return true; }
};

// The dropped file names: from CF_HDROP, else the shell items' paths, else one
// "FileNameW" or "FileName" name.
class TFileDataFormat : public TCustomDataFormat {
 public:
  explicit TFileDataFormat(TDragDropComponent* AOwner) : TCustomDataFormat(AOwner, &Class) {}
  static const TDataFormatClass Class;
  void Clear() override;
  bool HasData() override { return !FFiles.empty(); }
  bool Assign(TClipboardFormat& Source) override;
  bool AssignTo(TClipboardFormat& Dest) override;
  const TFileNames& Files() const { return FFiles; }
  // The files the drop named after those in Files (not read: too many).
  std::size_t Unread() const { return FUnread; }
  void SetFiles(TFileNames Value, std::size_t Unread = 0);

 private:
  TFileNames FFiles;
  std::size_t FUnread = 0;
};

class TFileMapDataFormat : public TCustomDataFormat {
 public:
  explicit TFileMapDataFormat(TDragDropComponent* AOwner) : TCustomDataFormat(AOwner, &Class) {}
  static const TDataFormatClass Class;
  void Clear() override;
  bool HasData() override { return !FileMaps.empty(); }
  bool Assign(TClipboardFormat& Source) override;
  bool AssignTo(TClipboardFormat& Dest) override;
  TFileNames FileMaps;
};
