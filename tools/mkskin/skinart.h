// The pictures of our skins, drawn by code: window frames keyed with the
// skin colours (magenta outside the window, blue where the texture shows),
// gradient textures, rounded pills cut into eight-part borders, soft shadows,
// glyphs and previews. Pictures with alpha are 32-bit, keyed ones 24-bit.
#pragma once
#include <memory>
#include <string>

#include "../mkdrl/artcanvas.h"
#include "platform/bitmap.h"

namespace skin {

using art::TColour;

// Saves a bitmap as PNG (pf24bit as truecolour, pf32bit with alpha).
void SavePng(const TBitmap& Picture, const std::string& FileName);
// A canvas's picture as a 32-bit bitmap with straight alpha.
std::unique_ptr<TBitmap> FromCanvas(const art::TArtCanvas& Canvas);

// A window frame of Size x Size: a rounded outline of Radius, one dark and one
// light ring, outside magenta and inside blue. Rings that meet the inside are
// blended with the texture colour expected there (Inside(x, y)).
std::unique_ptr<TBitmap> KeyedFrame(int Size, double Radius, TColour Dark, TColour Light, const art::TPaint& Inside);
// A gradient from First to Last along a Length x 2 (Horizontal) or 2 x Length picture.
std::unique_ptr<TBitmap> Gradient(int Length, bool Horizontal, TColour First, TColour Last);
// A solid picture (every pixel Colour): grip masks and the like.
std::unique_ptr<TBitmap> Solid(int Width, int Height, TColour Colour);

// A filled rounded rectangle over the whole Width x Height picture, its
// outline anti-aliased against transparency, with a lighter line along the
// top (Gloss, alpha of white) and an optional Ring colour around it.
std::unique_ptr<TBitmap> Pill(int Width, int Height, double Radius, TColour Fill, double Gloss,
                              const TColour* Ring = nullptr);
// The soft shadow of a rounded rectangle inset by Spread, offset by (DX, DY).
std::unique_ptr<TBitmap> SoftShadow(int Size, int Spread, double Radius, double Softness, double Alpha, int DX, int DY);
// A separator line: a dark and a light row across a 4 x 4 picture's bottom.
std::unique_ptr<TBitmap> SeparatorLine(TColour Dark, TColour Light);
// Small glyphs in one colour: a right-pointing triangle and a check mark.
std::unique_ptr<TBitmap> ArrowGlyph(int Size, TColour Colour);
std::unique_ptr<TBitmap> CheckGlyph(int Size, TColour Colour);
// The menu logo: Text written upwards along a Width x Height strip.
std::unique_ptr<TBitmap> LogoGlyph(int Width, int Height, const std::string& Text, TColour Colour);

}  // namespace skin
