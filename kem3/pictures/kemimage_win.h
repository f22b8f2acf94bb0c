// The bitmap routines that talk to Windows: pictures from resources (the
// program's own or the resource library's), tiled and patterned drawing on a
// canvas, the program's cursors, the shared scratch bitmap and the screen
// canvas. Everything here that keeps state (the named-bitmap cache, the
// scratch bitmap, the screen canvas, the cursor registration) belongs to the
// GUI thread.
#pragma once
#include <memory>

#include "kem3/pictures/kemcursors.h"
#include "kem3/pictures/kemimage.h"
#include "platform/canvas_win.h"
#include "platform/streams.h"
#include "platform/winapi_win.h"

class TScreen;

// The module value that stands for the resource library (kem3.dll) in the calls below.
inline HINSTANCE ResourceLibraryModule() { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(-1)); }
// Where the resource library comes from. By default it is kem3.dll once the
// program has loaded it (the hook-library binding loads it at start-up; this
// never loads it by itself); the form base, which loads it on demand, puts its
// own function in place. nullptr restores the default.
using TResourceLibraryFunction = HINSTANCE (*)();
void SetResourceLibraryFunction(TResourceLibraryFunction Function);
// The resource library now, or nullptr when it is missing.
HINSTANCE CurrentResourceLibrary();

// The bytes of the resource Name of type Type; false when the module has none.
bool ReadResourceData(HINSTANCE Module, const String& Name, const wchar_t* Type, TMemoryStream& Stream);

// Fills Bitmap from the first resource type of Module that holds Name: "BMPIMG"
// (a BMP file), "JPGIMG" (a JPEG, decoded to pf24bit), "PNGIMG" (a PNG).
// Module nullptr is the program itself, ResourceLibraryModule() the resource
// library. None (or a missing resource library) leaves the bitmap unchanged;
// damaged data raises the codec's error (EInvalidGraphic, EJPEG, EPNGImage).
void LoadBitmapResource(TBitmap& Bitmap, const String& Name, HINSTANCE Module);
// A new bitmap filled by LoadBitmapResource.
std::unique_ptr<TBitmap> CreateResourceBitmap(const String& Name, HINSTANCE Module);
// The cached bitmap of that name (case-insensitive), made on first request;
// the cache owns it until FreeImageResources.
TBitmap* GetSharedResourceBitmap(const String& Name, HINSTANCE Module);

// Tiles Graphic over Rect (clipped to it), the tile grid shifted by the
// offsets modulo the graphic's size. An empty graphic draws nothing.
void DrawTiled(TCanvas& Canvas, const TRect& Rect, TBitmap& Graphic, int OffsetY, int OffsetX);
// An L of 3 pixels per arm, 1 pixel thick, in each corner of Rect, in Color;
// the brush colour is put back afterwards.
void DrawCornerMarks(TCanvas& Canvas, const TRect& Rect, TColor Color);
// 81 pixels from X, Y: non-zero pattern bytes in ForeColor, zero bytes in
// BackColor, or left alone when BackColor is clNone.
void DrawPixelPattern(TCanvas& Canvas, int X, int Y, TColor BackColor, TColor ForeColor, const TPixelPattern& Pattern);

// Once per process: the 21 cursors of the resource library into the screen's
// cursor table (KemCursorResources). The mark of "done" is the screen's table
// itself, so a screen made anew (as each test makes one) gets them again.
// Does nothing while there is no screen or no resource library (and tries
// again at the next call).
void RegisterCursors();
// The cursors of Module into Target's table (each a cursor of its own, which
// the screen then owns); returns how many were found.
int LoadKemCursors(TScreen& Target, HINSTANCE Module);

// The scratch bitmap for drawing in passing: it only ever grows.
TBitmap* ScratchBitmap();
void EnsureScratchBitmapSize(int Width, int Height);
// A canvas on the screen's device context (for measuring text and the like).
TCanvas* ScreenCanvas();
// Frees the cached bitmaps, the screen canvas and the scratch bitmap (shut-down).
void FreeImageResources();
