// The program's own cursors: their numbers in the screen's cursor table and
// the names of the cursor resources that the resource library (kem3.dll)
// carries. The build's cursor generator draws one picture per name.
#pragma once
#include <array>

inline constexpr int crKemCross = 5;
inline constexpr int crKemPan = 6;
inline constexpr int crKemFinger = 7;
inline constexpr int crKemRotate = 8;
inline constexpr int crKemCursor = 9;
inline constexpr int crKemHand = 10;
inline constexpr int crKemHandPress = 11;
inline constexpr int crKemRotate3DX = 12;
inline constexpr int crKemRotate3DY = 13;
inline constexpr int crKemRotate3DZ = 14;
inline constexpr int crKemRotate3DA = 15;
inline constexpr int crKemZoom = 16;
inline constexpr int crKemDrag = 17;
inline constexpr int crKemCursorMove = 18;
inline constexpr int crKemBarMove = 19;
inline constexpr int crKemBarSizeL = 20;
inline constexpr int crKemBarSizeR = 21;
inline constexpr int crKemSplitH = 22;
inline constexpr int crKemSplitV = 23;
inline constexpr int crKemSplitHV = 24;
inline constexpr int crKemTracker = 25;

struct TKemCursorResource {
  int Index;
  const char* Name;
};

inline constexpr std::array<TKemCursorResource, 21> KemCursorResources{{
    {crKemCross, "CROSS"},         {crKemPan, "PAN"},
    {crKemFinger, "FINGER"},       {crKemRotate, "ROTATE"},
    {crKemCursor, "CURSOR"},       {crKemHand, "HAND"},
    {crKemHandPress, "HANDPRESS"}, {crKemRotate3DX, "ROTATE3DX"},
    {crKemRotate3DY, "ROTATE3DY"}, {crKemRotate3DZ, "ROTATE3DZ"},
    {crKemRotate3DA, "ROTATE3DA"}, {crKemZoom, "ZOOM"},
    {crKemDrag, "DRAG"},           {crKemCursorMove, "CURSORMOVE"},
    {crKemBarMove, "BARMOVE"},     {crKemBarSizeL, "BARSIZEL"},
    {crKemBarSizeR, "BARSIZER"},   {crKemSplitH, "SPLITH"},
    {crKemSplitV, "SPLITV"},       {crKemSplitHV, "SPLITHV"},
    {crKemTracker, "TRACKER"},
}};
