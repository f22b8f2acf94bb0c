// Inner work of the PNG codec: the file's byte helpers (signature, big-endian
// numbers, CRC), undoing and choosing the row filters, turning decoded rows
// into bitmap pixels and back, and the geometry of the Adam7 passes. Each row
// routine handles a whole row, chosen once per picture, so the pixel loops stay tight.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// The eight bytes every PNG file starts with.
extern const std::uint8_t kPngSignature[8];

inline std::uint32_t PngGetBE32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
inline void PngPutBE32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}
// The chunk CRC (ISO 3309) continued over Size bytes; start with 0.
std::uint32_t PngCrc(std::uint32_t Crc, const std::uint8_t* Data, std::uint64_t Size);

// Filter types of a row.
enum TPngFilter : std::uint8_t { pftNone = 0, pftSub = 1, pftUp = 2, pftAverage = 3, pftPaeth = 4 };

// Undoes filter Filter (0 to 4) of Row in place against Prior, the row above
// (all zeros above the first row). Bpp is the filter's bytes per pixel (1 to 8).
void PngUnfilterRow(int Filter, std::uint8_t* Row, const std::uint8_t* Prior, std::size_t Count, int Bpp);
// Applies filter Filter to Row into Out (Count bytes each).
void PngFilterRow(int Filter, const std::uint8_t* Row, const std::uint8_t* Prior, std::uint8_t* Out, std::size_t Count,
                  int Bpp);
// How well a filtered row should compress: positions i with Out[i] == Out[i - 4].
std::size_t PngRepeatScore(const std::uint8_t* Out, std::size_t Count);

// One pass of the interlaced layout: first column and row, and their steps.
struct TPngPass {
  int X0, Y0, DX, DY;
};
extern const TPngPass kPngAdam7[7];
// Pixels of a pass along one side of Full pixels.
constexpr int PngPassSize(int Full, int Start, int Step) { return Full > Start ? (Full - Start + Step - 1) / Step : 0; }

// Ways a decoded row becomes bitmap pixels.
enum TPngConversion {
  pcCopy,            // samples or indices of 1, 4 or 8 bits, as they are
  pcDepth2ToNibble,  // 2-bit samples or indices into 4-bit pixels
  pcGrey16ToIndex,   // 16-bit grey into an 8-bit grey level (high byte)
  pcRGB,             // truecolour (8 or 16 bits) into blue, green, red
  pcRGBA,            // truecolour with alpha into blue, green, red, alpha
  pcGreyAlpha,       // grey with alpha into blue, green, red, alpha
  pcLookup,          // samples or indices of 1 to 8 bits through Lookup into 32-bit pixels
  pcGrey16Key,       // 16-bit grey with a transparent grey into 32-bit pixels
  pcRGBKey,          // truecolour with a transparent colour into 32-bit pixels
};

struct TPngRowConverter {
  using TFunc = void (*)(const TPngRowConverter& Self, const std::uint8_t* Src, std::uint8_t* Dst, int Count);
  TFunc Convert = nullptr;
  int Depth = 8;
  // Applied to colour samples (never alpha) when UseGamma. The tables are
  // filled only as far as the conversion reads them.
  bool UseGamma = false;
  std::array<std::uint8_t, 256> Gamma;
  // pcLookup: the 32-bit pixel (blue, green, red, alpha in memory) of each sample value.
  std::array<std::uint32_t, 256> Lookup;
  // pcGrey16Key: the grey value that is transparent; pcRGBKey: the red,
  // green and blue samples that are (compared with all bits of the samples,
  // before gamma, so neighbouring colours that gamma merges stay opaque).
  std::uint16_t Key = 0;
  std::array<std::uint16_t, 3> KeyRGB{};

  // Picks Convert for the kind and depth.
  void Select(TPngConversion Kind, int SampleDepth);
  void Run(const std::uint8_t* Src, std::uint8_t* Dst, int Count) const { Convert(*this, Src, Dst, Count); }
};

// A 32-bit pixel in memory order blue, green, red, alpha, as one word.
constexpr std::uint32_t PngPixel(int R, int G, int B, int A) {
  return static_cast<std::uint32_t>(B) | (static_cast<std::uint32_t>(G) << 8) | (static_cast<std::uint32_t>(R) << 16) |
         (static_cast<std::uint32_t>(A) << 24);
}

// Places Count pixels of Bits bits (1, 4, 8, 24 or 32) from a packed row into
// Dst at columns X0, X0 + DX, ...
void PngScatterRow(const std::uint8_t* Src, std::uint8_t* Dst, int Count, int X0, int DX, int Bits);

// Bitmap rows into PNG rows for saving: 32-bit blue, green, red, alpha into
// red, green, blue, alpha; 24-bit into red, green, blue. Gamma (or nullptr)
// applies to colour samples only.
void PngEncodeBGRA(const std::uint8_t* Src, std::uint8_t* Dst, int Count, const std::uint8_t* Gamma);
void PngEncodeBGR(const std::uint8_t* Src, std::uint8_t* Dst, int Count, const std::uint8_t* Gamma);
