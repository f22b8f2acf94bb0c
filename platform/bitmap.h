// TBitmap: a picture in memory with the pixel layout of a bottom-up DIB, and
// its BMP file format. The pixel logic is OS-free (bitmap.cpp, bitmap_pixels.cpp,
// bitmap_bmp.cpp); the platform part only supplies the memory: a plain buffer
// natively (bitmap_posix.cpp), a DIB section on Windows (bitmap_win.cpp), where
// the same pixels are drawn on through the bitmap's Canvas and read through ScanLine.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics.h"
#include "platform/object.h"
#include "platform/streams.h"
#include "platform/types.h"

#ifdef _WIN32
struct HBITMAP__;
struct HINSTANCE__;
#endif
class TCanvas;

// pfDevice (the format of a new bitmap) stands for the screen's format; its
// pixels are laid out as pf32bit. pf15bit is 5-5-5, pf16bit 5-6-5 (blue lowest).
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// How the fourth byte of pf32bit pixels is used when the bitmap is drawn:
// afIgnored: not at all (a plain copy); afDefined: straight (not premultiplied)
// per-pixel alpha; afPremultiplied: alpha, with the colours already multiplied
// by it. Setting it never changes the pixels.
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };

// Pixels and colour table entries as they lie in memory: blue first.
struct TRGBQuad {
  std::uint8_t rgbBlue = 0;
  std::uint8_t rgbGreen = 0;
  std::uint8_t rgbRed = 0;
  std::uint8_t rgbReserved = 0;
  friend constexpr bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};
struct TRGBTriple {
  std::uint8_t rgbtBlue = 0;
  std::uint8_t rgbtGreen = 0;
  std::uint8_t rgbtRed = 0;
  friend constexpr bool operator==(const TRGBTriple&, const TRGBTriple&) = default;
};
static_assert(sizeof(TRGBQuad) == 4 && sizeof(TRGBTriple) == 3, "pixel structs must match the memory layout");

// Bits of one pixel; pfDevice counts as 32.
int BitsPerPixel(TPixelFormat Format);
// Bytes of one row of Width pixels, padded to a multiple of 4 (64-bit, so no width overflows it).
std::int64_t BytesPerScanLine(std::int64_t Width, int BitsPerPixel);

// The memory of a bitmap's pixels: the whole picture, rows bottom-up, each row
// BytesPerScanLine long. Made by the platform part with NewBitmapStorage.
class TBitmapStorage {
 public:
  virtual ~TBitmapStorage() = default;
  virtual std::uint8_t* Bits() = 0;
  // Called before the pixels are handed out: drawing by the system must be done by then.
  virtual void Flush() {}
  // The colour table of a palette format changed (the DIB section keeps its own copy).
  virtual void ColorTableChanged(const std::vector<TRGBQuad>& /*Table*/) {}
  // The system's object (an HBITMAP on Windows), or nullptr.
  virtual void* SystemHandle() { return nullptr; }
};
// Zero-filled storage for Width x Height pixels of Format (both sizes above 0);
// Table is the colour table of the palette formats. EOutOfResources when the
// memory cannot be had.
std::unique_ptr<TBitmapStorage> NewBitmapStorage(int Width, int Height, TPixelFormat Format,
                                                 const std::vector<TRGBQuad>& Table);

class TBitmap : public TObject {
 public:
  TBitmap();
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // The overlapping part of the picture (from its top left) is kept; new pixels
  // are zero. Negative sizes count as 0. EOutOfResources for a picture beyond
  // 1 GB or when the memory cannot be had.
  void SetSize(int NewWidth, int NewHeight);
  void SetWidth(int Value) { SetSize(Value, FHeight); }
  void SetHeight(int Value) { SetSize(FWidth, Value); }
  // True when the bitmap holds no picture (a width or height of 0).
  bool Empty() const { return FWidth == 0 || FHeight == 0; }

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // Converts the picture to the new format. Palette formats get a standard
  // colour table (black and white; the 16 VGA colours; a colour cube with grey
  // levels) and each pixel its nearest entry. New alpha bytes are 255.
  void SetPixelFormat(TPixelFormat Value);
  TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
  void SetAlphaFormat(TAlphaFormat Value) { FAlphaFormat = Value; }

  // The first byte of picture row Row (0 = top). Rows lie bottom-up in memory,
  // so ScanLine(0) has the highest address and ScanLine(1) = ScanLine(0) - stride.
  // EInvalidGraphicOperation when Row is outside the picture.
  void* ScanLine(int Row);
  const void* ScanLine(int Row) const;
  // Bytes from one row to the next in memory.
  int ScanLineSize() const;

  // The colour table of pf1bit/pf4bit/pf8bit bitmaps (empty for the others).
  const std::vector<TRGBQuad>& ColorTable() const { return FColorTable; }
  // 1 to 2^bits entries; EInvalidGraphicOperation otherwise or for other formats.
  void SetColorTable(const std::vector<TRGBQuad>& Table);

  // One pixel as a colour, whatever the format (index beyond the colour table: black).
  // Coordinates outside the picture: clNone for reading, nothing for writing.
  TColor PixelColor(int X, int Y) const;
  void SetPixelColor(int X, int Y, TColor Color);

  // A copy of Source's picture, format, colour table and properties.
  void Assign(const TBitmap& Source);

  // Stored for the code that draws the bitmap; drawing here does not use them yet.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor Value) { FTransparentColor = Value; }

  // BMP files: file header plus core, info, V4 or V5 header; 1, 4, 8, 16, 24 and
  // 32 bits; rows bottom-up or top-down; uncompressed or with bit fields.
  // Reading starts at the stream's position and leaves it after the pixels;
  // a stream with nothing left gives an empty bitmap. Every size, offset and
  // count in the file is checked against the data really there: bad input
  // raises EInvalidGraphic and leaves the bitmap as it was.
  void LoadFromStream(TStream& Stream);
  // Writes nothing for an empty bitmap. pf32bit with an alpha format is
  // written with a V5 header that declares the alpha channel (and read back so).
  void SaveToStream(TStream& Stream) const;
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName) const;

#ifdef _WIN32
  // The bitmap's own canvas, drawing into its DIB section; made on first use
  // and kept (with its font, pen and brush) for the bitmap's life.
  TCanvas* Canvas();
  // The DIB section (an HBITMAP); nullptr for an empty bitmap.
  HBITMAP__* Handle();
  // A "BITMAP" resource of the module (RT_BITMAP: a BMP file without its file header).
  void LoadFromResourceName(HINSTANCE__* Instance, const String& ResName);
  void LoadFromResourceID(HINSTANCE__* Instance, int ResID);
#endif

 private:
  friend class TBitmapCanvas;  // the Windows canvas draws into the storage's DC
  // Puts a new picture in place: the canvas lets go of the old memory first.
  void ReplaceImage(int NewWidth, int NewHeight, TPixelFormat Format, std::vector<TRGBQuad> Table,
                    std::unique_ptr<TBitmapStorage> Storage);
  std::uint8_t* RowAddress(int Row) const;
  void CheckRow(int Row) const;
  // Platform part: the canvas (Windows) lets go of the storage's memory.
  void ReleaseCanvasContext();
  void LoadFromBmpBytes(TStream& Stream, bool WithFileHeader);

  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TAlphaFormat FAlphaFormat = afIgnored;
  bool FTransparent = false;
  TColor FTransparentColor = clDefault;
  std::vector<TRGBQuad> FColorTable;
  std::unique_ptr<TBitmapStorage> FStorage;
  std::unique_ptr<TObject> FCanvas;  // the Windows canvas; a TObject, so the OS-free part can free it
};
