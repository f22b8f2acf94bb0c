// The Windows side of TBitmap: the pixels live in a DIB section, so GDI drawing
// through the bitmap's canvas and ScanLine see the same memory; the canvas
// draws through a memory DC that holds the section selected.
#include <cstring>
#include <memory>

#include "platform/bitmap.h"
#include "platform/bitmap_pixels.h"
#include "platform/canvas_win.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

namespace {

// A DIB section with the bitmap's layout and, on demand, a memory DC that has it selected.
class TDibSectionStorage : public TBitmapStorage {
 public:
  TDibSectionStorage(int Width, int Height, TPixelFormat Format, const std::vector<TRGBQuad>& Table) {
    // The header, then the colour masks (pf16bit) or the colour table.
    struct {
      BITMAPINFOHEADER Header;
      RGBQUAD Colors[256];
    } info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = Width;
    info.Header.biHeight = Height;  // positive: rows bottom-up
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(BitsPerPixel(Format));
    info.Header.biCompression = BI_RGB;
    if (Format == pf16bit) {
      info.Header.biCompression = BI_BITFIELDS;
      DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
      std::memcpy(info.Colors, masks, sizeof masks);
    } else if (IsPaletteFormat(Format)) {
      std::size_t count = std::min<std::size_t>(Table.size(), std::size_t{1} << BitsPerPixel(Format));
      info.Header.biClrUsed = static_cast<DWORD>(count);
      std::memcpy(info.Colors, Table.data(), count * sizeof(RGBQUAD));
    }
    void* bits = nullptr;
    FBitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FBitmap || !bits) throw EOutOfResources("Out of system resources");
    FBits = static_cast<std::uint8_t*>(bits);
    std::memset(
        FBits, 0,
        static_cast<std::size_t>(BytesPerScanLine(Width, BitsPerPixel(Format))) * static_cast<std::size_t>(Height));
  }
  ~TDibSectionStorage() override {
    FreeDC();
    DeleteObject(FBitmap);
  }
  TDibSectionStorage(const TDibSectionStorage&) = delete;
  TDibSectionStorage& operator=(const TDibSectionStorage&) = delete;

  std::uint8_t* Bits() override { return FBits; }
  void Flush() override { GdiFlush(); }
  void ColorTableChanged(const std::vector<TRGBQuad>& Table) override {
    std::size_t count = std::min<std::size_t>(Table.size(), 256);
    RGBQUAD colors[256];
    std::memcpy(colors, Table.data(), count * sizeof(RGBQUAD));
    SetDIBColorTable(DC(), 0, static_cast<UINT>(count), colors);
  }
  void* SystemHandle() override { return FBitmap; }

  HDC DC() {
    if (!FDC) {
      FDC = CreateCompatibleDC(nullptr);
      if (!FDC) throw EOutOfResources("Out of system resources");
      FOldBitmap = SelectObject(FDC, FBitmap);
    }
    return FDC;
  }
  // Lets the section go, so it can be selected elsewhere.
  void FreeDC() {
    if (!FDC) return;
    SelectObject(FDC, FOldBitmap);
    DeleteDC(FDC);
    FDC = nullptr;
  }

 private:
  HBITMAP FBitmap = nullptr;
  std::uint8_t* FBits = nullptr;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
};

}  // namespace

std::unique_ptr<TBitmapStorage> NewBitmapStorage(int Width, int Height, TPixelFormat Format,
                                                 const std::vector<TRGBQuad>& Table) {
  CheckImageSize(Width, Height, BitsPerPixel(Format));
  return std::make_unique<TDibSectionStorage>(Width, Height, Format, Table);
}

// The canvas of a bitmap: draws through the DC of the bitmap's DIB section (or,
// while the bitmap is empty, a DC of its own with nothing to draw on).
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap& Owner) : FOwner(Owner) {}
  ~TBitmapCanvas() override { FreeContext(); }

  // Gives the DC up: before the bitmap's memory changes or its handle goes out.
  void FreeContext() {
    SetHandle(nullptr);
    if (FEmptyDC) {
      DeleteDC(FEmptyDC);
      FEmptyDC = nullptr;
    }
    if (FOwner.FStorage) static_cast<TDibSectionStorage*>(FOwner.FStorage.get())->FreeDC();
  }

 protected:
  void CreateHandle() override {
    if (FOwner.FStorage) {
      SetHandle(static_cast<TDibSectionStorage*>(FOwner.FStorage.get())->DC());
    } else {
      if (!FEmptyDC) FEmptyDC = CreateCompatibleDC(nullptr);
      SetHandle(FEmptyDC);
    }
  }

 private:
  TBitmap& FOwner;
  HDC FEmptyDC = nullptr;
};

void TBitmap::ReleaseCanvasContext() {
  if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->FreeContext();
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(*this);
  return static_cast<TBitmapCanvas*>(FCanvas.get());
}

HBITMAP TBitmap::Handle() {
  if (!FStorage) return nullptr;
  // Whoever takes the handle may select it into a DC of theirs or hand it to a
  // call that needs it unselected; the canvas selects it again when it draws.
  ReleaseCanvasContext();
  static_cast<TDibSectionStorage*>(FStorage.get())->FreeDC();
  FStorage->Flush();
  return static_cast<HBITMAP>(FStorage->SystemHandle());
}

namespace {

// The bytes of a resource of the module; EResNotFound when it has none of that name.
void ReadResource(HINSTANCE Instance, LPCWSTR Name, const String& Shown, TMemoryStream& stream) {
  HRSRC info = FindResourceW(Instance, Name, MAKEINTRESOURCEW(2));  // RT_BITMAP
  HGLOBAL data = info ? LoadResource(Instance, info) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EResNotFound("Resource " + Shown + " not found");
  stream.WriteBuffer(bytes, SizeofResource(Instance, info));
  stream.SetPosition(0);
}

}  // namespace

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  WideString name = Utf8ToWide(ResName);
  TMemoryStream stream;
  ReadResource(Instance, reinterpret_cast<LPCWSTR>(name.c_str()), ResName, stream);
  LoadFromBmpBytes(stream, false);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID) {
  TMemoryStream stream;
  ReadResource(Instance, MAKEINTRESOURCEW(ResID), std::to_string(ResID), stream);
  LoadFromBmpBytes(stream, false);
}
