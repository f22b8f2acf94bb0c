// Pictures from resources, drawing helpers on canvases, the program's cursors,
// and the GUI thread's shared scratch bitmap and screen canvas.
#include "kem3/pictures/kemimage_win.h"

#include <map>
#include <memory>

#include "kem3/pictures/jpegimage.h"
#include "kem3/pictures/pngimage.h"
#include "platform/dc_win.h"
#include "platform/screen_win.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

HINSTANCE DefaultResourceLibrary() { return GetModuleHandleW(L"kem3.dll"); }

TResourceLibraryFunction GResourceLibrary = DefaultResourceLibrary;

// A canvas on the whole screen's DC, released with the canvas.
class TScreenCanvas : public TCanvas {
 public:
  // The canvas lets go of the DC before the DC goes.
  ~TScreenCanvas() override { SetHandle(nullptr); }

 protected:
  void CreateHandle() override {
    FScreen = std::make_unique<TScreenDC>();
    SetHandle(FScreen->Handle());
  }

 private:
  std::unique_ptr<TScreenDC> FScreen;
};

std::unique_ptr<TBitmap> GScratch;
std::unique_ptr<TScreenCanvas> GScreenCanvas;
// By upper-cased name; made on first use, so no other unit's start-up can find it unmade.
std::map<String, std::unique_ptr<TBitmap>>& SharedBitmaps() {
  static std::map<String, std::unique_ptr<TBitmap>> bitmaps;
  return bitmaps;
}

}  // namespace

void SetResourceLibraryFunction(TResourceLibraryFunction Function) {
  GResourceLibrary = Function ? Function : DefaultResourceLibrary;
}

HINSTANCE CurrentResourceLibrary() { return GResourceLibrary(); }

bool ReadResourceData(HINSTANCE Module, const String& Name, const wchar_t* Type, TMemoryStream& Stream) {
  WideString name = Utf8ToWide(Name);
  HRSRC info = FindResourceW(Module, reinterpret_cast<LPCWSTR>(name.c_str()), Type);
  if (!info) return false;
  HGLOBAL data = LoadResource(Module, info);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return false;
  Stream.Clear();
  Stream.WriteBuffer(bytes, SizeofResource(Module, info));
  Stream.SetPosition(0);
  return true;
}

void LoadBitmapResource(TBitmap& Bitmap, const String& Name, HINSTANCE Module) {
  if (Module == ResourceLibraryModule()) {
    Module = CurrentResourceLibrary();
    if (!Module) return;  // nullptr would mean the program itself
  }
  TMemoryStream data;
  if (ReadResourceData(Module, Name, L"BMPIMG", data)) {
    Bitmap.LoadFromStream(data);
  } else if (ReadResourceData(Module, Name, L"JPGIMG", data)) {
    TJPEGImage jpeg;
    jpeg.LoadFromStream(data);
    Bitmap.Assign(jpeg);
  } else if (ReadResourceData(Module, Name, L"PNGIMG", data)) {
    TPNGImage png;
    png.LoadFromStream(data);
    Bitmap.Assign(png);
  }
}

std::unique_ptr<TBitmap> CreateResourceBitmap(const String& Name, HINSTANCE Module) {
  auto bitmap = std::make_unique<TBitmap>();
  LoadBitmapResource(*bitmap, Name, Module);
  return bitmap;
}

TBitmap* GetSharedResourceBitmap(const String& Name, HINSTANCE Module) {
  std::unique_ptr<TBitmap>& slot = SharedBitmaps()[UpperCase(Name)];
  if (!slot) slot = CreateResourceBitmap(Name, Module);
  return slot.get();
}

void DrawTiled(TCanvas& Canvas, const TRect& Rect, TBitmap& Graphic, int OffsetY, int OffsetX) {
  int w = Graphic.Width(), h = Graphic.Height();
  if (Graphic.Empty() || IsRectEmpty(Rect)) return;
  TPoint origin = TileGridOrigin(Rect, w, h, OffsetX, OffsetY);
  // Tiles at the edges reach past Rect: a clip keeps them inside it.
  HDC dc = Canvas.Handle();
  int saved = SaveDC(dc);
  IntersectClipRect(dc, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  for (int y = origin.Y; y < Rect.Bottom; y += h)
    for (int x = origin.X; x < Rect.Right; x += w) Canvas.Draw(x, y, Graphic);
  RestoreDC(dc, saved);
}

void DrawCornerMarks(TCanvas& Canvas, const TRect& Rect, TColor Color) {
  TColor old = Canvas.Brush()->Color();
  TBrushStyle oldStyle = Canvas.Brush()->Style();
  Canvas.Brush()->SetColor(Color);
  int l = Rect.Left, t = Rect.Top, r = Rect.Right, b = Rect.Bottom;
  const TRect arms[] = {
      {l, t, l + 3, t + 1}, {l, t, l + 1, t + 3},  // top left
      {r - 3, t, r, t + 1}, {r - 1, t, r, t + 3},  // top right
      {l, b - 1, l + 3, b}, {l, b - 3, l + 1, b},  // bottom left
      {r - 3, b - 1, r, b}, {r - 1, b - 3, r, b},  // bottom right
  };
  for (const TRect& arm : arms) Canvas.FillRect(arm);
  Canvas.Brush()->SetColor(old);
  Canvas.Brush()->SetStyle(oldStyle);
}

void DrawPixelPattern(TCanvas& Canvas, int X, int Y, TColor BackColor, TColor ForeColor, const TPixelPattern& Pattern) {
  for (int row = 0; row < 9; ++row)
    for (int col = 0; col < 9; ++col) {
      if (Pattern[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]) {
        Canvas.SetPixels(X + col, Y + row, ForeColor);
      } else if (BackColor != clNone) {
        Canvas.SetPixels(X + col, Y + row, BackColor);
      }
    }
}

int LoadKemCursors(TScreen& Target, HINSTANCE Module) {
  int found = 0;
  if (!Module) return found;
  for (const TKemCursorResource& cursor : KemCursorResources) {
    WideString name = Utf8ToWide(cursor.Name);
    // A copy of our own (not LR_SHARED): the screen destroys it, and it outlives the library.
    HANDLE handle = LoadImageW(Module, reinterpret_cast<LPCWSTR>(name.c_str()), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
    if (!handle) continue;
    Target.SetCursors(cursor.Index, static_cast<HCURSOR>(handle));
    ++found;
  }
  return found;
}

void RegisterCursors() {
  if (!Screen) return;
  // The screen's table already holds ours: loaded before (an unknown number gives the arrow).
  if (Screen->Cursors(crKemCursor) != LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW))) return;
  HINSTANCE library = CurrentResourceLibrary();
  if (library) LoadKemCursors(*Screen, library);
}

TBitmap* ScratchBitmap() {
  if (!GScratch) GScratch = std::make_unique<TBitmap>();
  return GScratch.get();
}

void EnsureScratchBitmapSize(int Width, int Height) {
  TBitmap* scratch = ScratchBitmap();
  if (Width > scratch->Width() || Height > scratch->Height())
    scratch->SetSize(std::max(Width, scratch->Width()), std::max(Height, scratch->Height()));
}

TCanvas* ScreenCanvas() {
  if (!GScreenCanvas) GScreenCanvas = std::make_unique<TScreenCanvas>();
  return GScreenCanvas.get();
}

void FreeImageResources() {
  SharedBitmaps().clear();
  GScreenCanvas.reset();
  GScratch.reset();
}
