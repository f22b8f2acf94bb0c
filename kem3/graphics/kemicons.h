// Icon libraries: TKemIcons reads every icon group of one file (a Windows
// icon file, an executable or DLL, a 16-bit icon library, a Mac icon file) so
// that the launcher can show a program's icon at the size it wants, and the
// icon chooser can list a library's icons. Each group holds one icon in
// several sizes and colour depths.
//
// Everything read from a file is untrusted: each size, count and offset is
// checked against the bytes that are really there; a bad entry is skipped and
// a bad file adds nothing. Images keep a share of the block their data lie in
// (the file's bytes, or a copy of a resource), so no image points into a
// buffer or module that is gone, and entries that name one picture many times
// cost its bytes once. What one file may add is capped (TIconFileBudget).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kem3/graphics/kemiconbytes.h"
#include "platform/bitmap.h"
#include "platform/object.h"
#include "platform/types.h"

#ifdef _WIN32
struct HINSTANCE__;
#endif

class TKemIconImage : public TObject {
 public:
  int Width = 0;
  int Height = 0;
  int ColorCount = 0;
  std::uint8_t Planes = 0;
  std::uint8_t BitCount = 0;
  // The image carries an alpha channel of its own.
  bool Alpha = false;

  // Renders the image. Bitmap receives the colours as pf32bit with straight
  // alpha; Mask a pf1bit mask (1 = transparent). The target size is Bitmap's
  // own (the image's when Bitmap is empty). With UseAlpha the transparency is
  // all in Bitmap's alpha (the image's own, else the inverted mask) and Mask
  // shrinks to 1 x 1. A target of another size gets the image resampled with
  // Lanczos3 when Resample is set; otherwise it is cleared (colour 0, mask all
  // set) and the image is drawn centred at its own size. EIconError (or the
  // PNG codec's error) for data that cannot be decoded.
  void Draw(TBitmap& Bitmap, TBitmap& Mask, bool Resample, bool UseAlpha) const;

 protected:
  // The image as pf32bit colours with straight alpha (transparent pixels
  // alpha 0) and its pf1bit mask of the same size.
  virtual void Decode(TBitmap& Color, TBitmap& Mask) const = 0;
};

// An image of a Windows icon: a DIB with its AND mask, or a PNG.
class TKemIconImageWin : public TKemIconImage {
 public:
  // Sizes, bit count and alpha flag from the directory entry, completed from
  // the data's own header. Data lie inside Block, which the image keeps a
  // share of; without a Block the image copies its bytes into one of its
  // own. A DIB's data end where its mask ends, whatever the entry stated.
  // EIconError when the header is not that of an icon image (a PNG's pixels
  // are only decoded when it is drawn).
  TKemIconImageWin(std::string_view Data, int Width, int Height, int ColorCount, int Planes, int BitCount,
                   TIconBlock Block = nullptr);
  std::string_view Data() const { return FData; }
  const TIconBlock& Block() const { return FBlock; }
  bool IsPNG() const { return FIsPNG; }

 protected:
  void Decode(TBitmap& Color, TBitmap& Mask) const override;

 private:
  TIconBlock FBlock;
  std::string_view FData;
  bool FIsPNG = false;
};

// Decodes the data of one icon image (a BITMAPINFOHEADER image with its AND
// mask, or a PNG) as TKemIconImage::Decode describes. The header's width,
// height, bit count and colour count are checked against the bytes given.
void DecodeIconImageData(std::string_view Data, TBitmap& Color, TBitmap& Mask);

// Draws a pf32bit picture with straight alpha (and its pf1bit mask, or
// nullptr to take the mask from the alpha) as TKemIconImage::Draw describes.
void DrawIconPicture(const TBitmap& Color, const TBitmap* Mask, TBitmap& Bitmap, TBitmap& MaskOut, bool Resample,
                     bool UseAlpha);

class TKemIconGroup : public TObject {
 public:
  // The resource name, or the decimal number of a numeric resource id.
  String Name;
  std::vector<std::unique_ptr<TKemIconImage>> Images;

  int Count() const { return static_cast<int>(Images.size()); }
  TKemIconImage* Image(int Index) const {
    return Index >= 0 && Index < Count() ? Images[static_cast<std::size_t>(Index)].get() : nullptr;
  }
  // Walking the images in order, an image becomes the choice when its width
  // is at least the chosen one's and at most MaxSize and its bits at least the
  // chosen one's and at most MaxBits (so a later equal image wins). Nothing
  // qualifies: image 0. Empty group: nullptr and index -1.
  TKemIconImage* BestImage(int MaxSize, int MaxBits, int* Index = nullptr) const;
  // The image of exactly that width with the most bits not above MaxBits (a
  // later one wins ties); none: nullptr and index -1.
  TKemIconImage* ExactImage(int Size, int MaxBits, int* Index = nullptr) const;
};

// What one file may cost. Real files stay far below every cap (shell32.dll
// holds about 3,000 images); a crafted one that names one picture from
// thousands of entries, lets thousands of groups share one long directory, or
// holds thousands of tiny elements that each decode to a large picture, is
// cut there.
inline constexpr int kMaxIconImagesPerGroup = 256;
inline constexpr int kMaxIconEntriesPerFile = 65536;
inline constexpr int kMaxMacFamilies = 256;
inline constexpr std::int64_t kMaxIconPixelBytesPerFile = std::int64_t{64} << 20;

// Counts what the readers of one file walk and keep: one budget a file, for
// every reader (icon files, executables and DLLs, 16-bit libraries, Mac files).
class TIconFileBudget {
 public:
  // One resource record, group, directory entry or family element more, each
  // walked whether it gives an image or not (every image comes from one of
  // them, so they bound the images too); EIconError past
  // kMaxIconEntriesPerFile. A reader stops there and keeps what it read.
  void TakeEntry();
  // The last entry the file may walk was taken.
  bool Spent() const { return FEntries >= kMaxIconEntriesPerFile; }
  // Adds the image to the group while the group holds fewer than
  // kMaxIconImagesPerGroup images and the pictures of the file, decoded at
  // 32 bits, stay within kMaxIconPixelBytesPerFile; false when it is left out.
  bool AddImage(TKemIconGroup& Group, std::unique_ptr<TKemIconImage> Image);
  static bool GroupFull(const TKemIconGroup& Group) { return Group.Count() >= kMaxIconImagesPerGroup; }

 private:
  int FEntries = 0;
  std::int64_t FPixelBytes = 0;
};

class TKemIcons : public TObject {
 public:
  TKemIcons() = default;
  ~TKemIcons() override;
  TKemIcons(const TKemIcons&) = delete;
  TKemIcons& operator=(const TKemIcons&) = delete;

  // Reads the file's icons: ".ico" files; executables and DLLs (their icon
  // groups in resource order); 16-bit executables and icon libraries; Mac
  // icon files and their containers. A file without icons of its own takes
  // the icon registered for its type (one level deep). Clear frees what was
  // loaded before; otherwise the groups are added. Unreadable files add nothing.
  void LoadFromFile(const String& FileName, bool Clear = true);
  // The parsers on data already in memory; each adds at most what it finds.
  // The images keep a share of one copy of the data.
  void LoadIcoData(std::string_view Data) { LoadIcoData(std::make_shared<const std::string>(Data)); }
  void LoadNEData(std::string_view Data) { LoadNEData(std::make_shared<const std::string>(Data)); }
  void LoadMacData(std::string_view Data) { LoadMacData(std::make_shared<const std::string>(Data)); }
  void LoadIcoData(const TIconBlock& Data);
  void LoadNEData(const TIconBlock& Data);
  void LoadMacData(const TIconBlock& Data);
#ifdef _WIN32
  // The icon groups of a loaded module (which stays the caller's), in resource order.
  void LoadFromModule(HINSTANCE__* Module);
#endif

  void Clear();
  int GetCount() const { return static_cast<int>(FGroups.size()); }
  TKemIconGroup* GetGroup(int Index) const {
    return Index >= 0 && Index < GetCount() ? FGroups[static_cast<std::size_t>(Index)].get() : nullptr;
  }
  // Case-insensitive; nullptr when none.
  TKemIconGroup* FindGroup(const String& Name) const;
  // 0 unless the file type's registered icon named another group.
  int DefaultGroup() const { return FDefaultGroup; }
  // The groups came from the icon registered for the file's type.
  bool FromRegisteredIcon() const { return FFromRegisteredIcon; }
  const String& FileName() const { return FFileName; }

  // Adds a group when it holds any image.
  void AddGroup(std::unique_ptr<TKemIconGroup> Group);

 private:
  void LoadFile(const String& FileName, bool AllowRegistered);
  void LoadRegisteredIcon(const String& FileName);

  String FFileName;
  std::vector<std::unique_ptr<TKemIconGroup>> FGroups;
  int FDefaultGroup = 0;
  bool FFromRegisteredIcon = false;
};

// "MZ" at offset 0, the header offset at 60 inside the file, and "PE\0\0" or
// "NE" there; IsPE tells which. Any read error gives false.
bool IsExecutableFile(const String& FileName, bool& IsPE);
// The same on a whole file in memory.
bool IsExecutableData(std::string_view Data, bool& IsPE);

// A registered icon location ("path,index", perhaps quoted, perhaps with
// "%1") split into its path and index; false when no path is left. A
// negative index -n names the icon group with resource id n.
bool ParseIconLocation(const String& Location, String& Path, int& Index);

// ---- What the system supplies (kemicons_win.cpp; natively nothing).
// The icon groups of a 32-bit executable or DLL, added to Icons; false when
// the file could not be loaded.
bool LoadExecutableIcons(TKemIcons& Icons, const String& FileName);
// The icon location registered for a file name extension (".txt"), "" when none.
String RegisteredIconLocation(const String& Extension);
