// Routines on bitmaps that every control, the skin engine and the launcher
// share: 32-bit pixel operations with per-pixel alpha, alpha blending, quarter
// turn and free rotation, box shrinking, corner colours, tile placement and
// loading pictures from files. They need no operating system and keep no
// shared state, so the bar modules call them from their worker threads. The
// parts that touch resources, the screen or cursors are in kemimage_win.h.
//
// Pixel operations work on pf32bit bitmaps (blue, green, red, alpha in memory)
// and first make every bitmap they touch pf32bit (MakeBitmap32).
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/bitmap.h"
#include "platform/geometry.h"
#include "platform/graphics.h"

// Makes the bitmap pf32bit. Pixels of a format without alpha arrive with alpha
// 0 (fully transparent); pfDevice already has 32-bit pixels and keeps them.
void MakeBitmap32(TBitmap& Bitmap);

// Per channel Base + (Other - Base) / 2 (toward zero), system colours resolved:
// the in-between shades the controls' edges and pressed faces take.
TColor MidColor(TColor Base, TColor Other);
// The midpoint of the button face and highlight colours.
inline TColor GetFaceHighlightMidColor() { return MidColor(clBtnFace, clBtnHighlight); }

// A new bitmap of the same size, pixel format and colour table (pixels zero).
std::unique_ptr<TBitmap> CreateBitmapLike(const TBitmap& Bitmap);

// The top-left pixel when it equals the top-right and bottom-left ones, else
// the bottom-right pixel; 0 for an empty bitmap.
TColor GetCornerColor(const TBitmap& Bitmap);
// TransparentColor := GetCornerColor, unless the bitmap has a fixed
// transparent colour (one set to anything but clDefault).
void SetCornerTransparentColor(TBitmap& Bitmap);

// Bytes of the picture: height x row bytes, rows padded to a multiple of 4.
// 15- and 16-bit pixels count two bytes; pfDevice pixels lie as pf32bit here
// and count four, so the size always covers the real pixels.
int GetImageSize(const TBitmap& Bitmap);

// Every byte of every pixel inverted, alpha too.
void InvertBitmap(TBitmap& Bitmap);
// Dest's alpha := byte Channel (0 blue, 1 green, 2 red, 3 alpha) of the
// source pixel, over the part both bitmaps cover. Other channels: no change.
void CopyChannelToAlpha(TBitmap& Dest, TBitmap& Source, int Channel);
// All four bytes of each dest pixel := the source pixel's alpha, over the part both cover.
void AlphaToGrey(TBitmap& Dest, TBitmap& Source);
// Alpha of one pixel; 0 outside the bitmap and for formats without alpha.
std::uint8_t GetPixelAlpha(const TBitmap& Bitmap, int X, int Y);
// alpha := round(alpha x Factor), halves to even, clamped to 0-255.
void ScaleAlpha(TBitmap& Bitmap, double Factor);
// Every pixel's alpha from a linear ramp between the two edge values (clamped
// to 0-255); the first and last column (row) get them exactly.
void SetHorizontalAlphaGradient(TBitmap& Bitmap, int LeftAlpha, int RightAlpha);
void SetVerticalAlphaGradient(TBitmap& Bitmap, int TopAlpha, int BottomAlpha);

// Blending of one packed pixel (0xAARRGGBB as it lies in memory, blue lowest)
// onto another, every channel alpha included: alpha 255 copies the source,
// alpha 0 keeps the dest, otherwise (a x s + (255 - a) x d + 128) >> 8.
std::uint32_t BlendPixel(std::uint32_t Dest, std::uint32_t Source);
// The same with the alpha first scaled by Opacity (0-255): (a x o) >> 8; when
// a x o is below 256 the dest is kept.
std::uint32_t BlendPixelOpacity(std::uint32_t Dest, std::uint32_t Source, int Opacity);

// Blends Source with its per-pixel alpha onto Dest with its top left at X, Y;
// only the part inside Dest is touched. The Rect variants blend one rectangle
// of the source (clipped to the source). Opacity is clamped to 0-255.
void AlphaBlendBitmap(TBitmap& Dest, int X, int Y, TBitmap& Source);
void AlphaBlendBitmapOpacity(TBitmap& Dest, int X, int Y, int Opacity, TBitmap& Source);
void AlphaBlendBitmapRect(TBitmap& Dest, int X, int Y, const TRect& SourceRect, TBitmap& Source);
void AlphaBlendBitmapRectOpacity(TBitmap& Dest, int X, int Y, int Opacity, const TRect& SourceRect, TBitmap& Source);

// When Dest is narrower than Source: each dest pixel becomes the average
// (truncated) of the block of f x f source pixels at (x f, y f), f = source
// width div dest width; blocks reaching past the source average the pixels
// that are there, and pixels with no block are left alone. A pf24bit source
// is shrunk with three channels (Dest becomes pf24bit), any other with four
// (both become pf32bit).
void ShrinkBitmap(TBitmap& Dest, TBitmap& Source);

// Quarter turn clockwise, counter-clockwise, and half turn: Dest gets the
// turned size, Source's format, colour table and alpha format. 8, 15/16, 24
// and 32-bit pixels are moved as they are; 1 and 4-bit sources are made
// pf24bit first.
void RotateBitmap90(TBitmap& Dest, TBitmap& Source);
void RotateBitmap270(TBitmap& Dest, TBitmap& Source);
void RotateBitmap180(TBitmap& Dest, TBitmap& Source);
// Turns Source clockwise by Angle degrees about Centre into Dest of the same
// size (nearest pixel; pixels from outside the source are black, alpha 0). A
// pf24bit source gives a pf24bit Dest, any other is turned as pf32bit.
void RotateBitmap(TBitmap& Dest, TBitmap& Source, TPoint Centre, double Angle);

// Where the tile grid of DrawTiled starts: the top left of the tile that
// covers Rect's top left, for a grid shifted by the offsets. Offsets of any
// size and sign wrap into 0..tile-1.
TPoint TileGridOrigin(const TRect& Rect, int TileWidth, int TileHeight, int OffsetX, int OffsetY);

// Bytes of a 9 x 9 pixel pattern, rows top to bottom (DrawPixelPattern).
using TPixelPattern = std::array<std::array<std::uint8_t, 9>, 9>;

// Loads a picture file by its extension (".bmp", ".dib", ".jpg", ".jpeg",
// ".jpe", ".jfif", ".png") into Bitmap, which is emptied first; a JPEG is
// decoded to pf24bit. EInvalidGraphic for other extensions; a damaged file
// raises its codec's error (EInvalidGraphic, EJPEG, EPNGImage) and leaves the bitmap empty.
void LoadBitmapFromFile(TBitmap& Bitmap, const String& FileName);
