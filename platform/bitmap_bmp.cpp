// The BMP file format of TBitmap. Files come from anywhere (skins, users, other
// programs), so the reader trusts no number in them: every size, offset and
// count is checked against the bytes that are really there before anything is
// allocated, and any fault ends in EInvalidGraphic with the bitmap unchanged.
#include <bit>
#include <cstring>
#include <limits>

#include "platform/bitmap.h"
#include "platform/bitmap_pixels.h"

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV5HeaderSize = 124;
constexpr std::int64_t kFileHeaderSize = 14;

[[noreturn]] void Invalid(const char* why) { throw EInvalidGraphic(String("Bitmap image is not valid: ") + why); }

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Reads from the stream within the bytes it really has; offsets are counted
// from where the bitmap starts.
class TBmpSource {
 public:
  explicit TBmpSource(TStream& stream) : FStream(stream) {
    FBase = stream.Position();
    FEnd = stream.Size();
    if (FBase < 0 || FEnd < FBase) Invalid("unreadable stream");
  }
  std::int64_t Offset() const { return FOffset; }
  std::int64_t Left() const { return FEnd - FBase - FOffset; }
  bool AtEnd() const { return Left() <= 0; }

  void Read(void* buffer, std::int64_t count, const char* what) {
    if (count < 0 || count > Left()) Invalid(what);
    try {
      FStream.ReadBuffer(buffer, count);
    } catch (const EReadError&) {
      Invalid(what);
    }
    FOffset += count;
  }
  // Moves forward to an offset from the start of the bitmap.
  void SkipTo(std::int64_t offset, const char* what) {
    if (offset < FOffset || offset - FOffset > Left()) Invalid(what);
    if (offset == FOffset) return;
    if (FStream.Seek(FBase + offset, soBeginning) != FBase + offset) Invalid(what);
    FOffset = offset;
  }

 private:
  TStream& FStream;
  std::int64_t FBase = 0;
  std::int64_t FEnd = 0;
  std::int64_t FOffset = 0;
};

// One colour channel described by a bit mask, widened to 8 bits.
struct TChannel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  std::uint32_t Max = 0;  // the largest value of the channel

  explicit TChannel(std::uint32_t mask) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    int width = std::bit_width(mask >> Shift);
    Max = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1;
  }
  std::uint8_t Get(std::uint32_t pixel, std::uint8_t whenAbsent = 0) const {
    if (Mask == 0) return whenAbsent;
    std::uint64_t v = (pixel & Mask) >> Shift;
    return static_cast<std::uint8_t>((v * 255 + Max / 2) / Max);
  }
};

struct TBmpHeader {
  std::uint32_t HeaderSize = 0;
  std::int64_t Width = 0;
  std::int64_t Height = 0;  // positive: bottom-up rows
  bool TopDown = false;
  int Bits = 0;
  std::uint32_t Compression = kBiRgb;
  std::uint32_t ColorsUsed = 0;
  std::uint32_t Masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  bool HasMasks = false;
};

// The header after the file header: core, info, V2…V5.
TBmpHeader ReadInfoHeader(TBmpSource& src) {
  TBmpHeader h;
  std::uint8_t raw[kV5HeaderSize] = {};
  src.Read(raw, 4, "header missing");
  h.HeaderSize = Get32(raw);
  switch (h.HeaderSize) {
    case kCoreHeaderSize:
    case kInfoHeaderSize:
    case 52:  // with the colour masks
    case 56:  // and the alpha mask
    case 64:  // the second OS/2 header: the info header and fields of its own
    case 108:
    case kV5HeaderSize:
      break;
    default:
      Invalid("unknown header size");
  }
  src.Read(raw + 4, h.HeaderSize - 4, "header truncated");
  if (h.HeaderSize == kCoreHeaderSize) {
    h.Width = Get16(raw + 4);
    h.Height = Get16(raw + 6);
    h.Bits = Get16(raw + 10);
    if (h.Bits > 8 && h.Bits != 24) Invalid("bit count");
    return h;
  }
  h.Width = static_cast<std::int32_t>(Get32(raw + 4));
  std::int32_t height = static_cast<std::int32_t>(Get32(raw + 8));
  if (height == std::numeric_limits<std::int32_t>::min()) Invalid("height");
  h.TopDown = height < 0;
  h.Height = h.TopDown ? -static_cast<std::int64_t>(height) : height;
  h.Bits = Get16(raw + 14);
  h.Compression = Get32(raw + 16);
  h.ColorsUsed = Get32(raw + 32);
  if (h.HeaderSize >= 52 && h.HeaderSize != 64) {
    for (int i = 0; i < (h.HeaderSize >= 56 ? 4 : 3); ++i) h.Masks[i] = Get32(raw + 40 + 4 * i);
    h.HasMasks = true;
  }
  return h;
}

void CheckHeader(const TBmpHeader& h) {
  if (h.Width <= 0 || h.Height <= 0) Invalid("size");
  switch (h.Bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      Invalid("bit count");
  }
  switch (h.Compression) {
    case kBiRgb:
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (h.HeaderSize == 64) Invalid("unsupported compression");
      if (h.Bits != 16 && h.Bits != 32) Invalid("bit fields need 16 or 32 bits");
      break;
    case kBiRle8:
    case kBiRle4:
      Invalid("run-length compression is not supported");
    default:
      Invalid("unsupported compression");
  }
  if (h.TopDown && h.Compression != kBiRgb && h.Compression != kBiBitfields && h.Compression != kBiAlphaBitfields)
    Invalid("top-down rows");
  if (h.Bits <= 8 && h.ColorsUsed > (1u << h.Bits)) Invalid("colour count");
  if (BytesPerScanLine(h.Width, h.Bits) > kMaxImageBytes / h.Height) Invalid("too large");
}

bool MasksAre(const std::uint32_t* masks, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return masks[0] == r && masks[1] == g && masks[2] == b;
}

}  // namespace

void TBitmap::LoadFromBmpBytes(TStream& Stream, bool WithFileHeader) {
  TBmpSource src(Stream);
  if (WithFileHeader && src.AtEnd()) {
    ReplaceImage(0, 0, FPixelFormat, FColorTable, nullptr);
    return;
  }
  std::int64_t pixelOffset = 0;  // 0: the pixels follow the colour table
  if (WithFileHeader) {
    std::uint8_t file[kFileHeaderSize];
    src.Read(file, kFileHeaderSize, "file header truncated");
    if (file[0] != 'B' || file[1] != 'M') Invalid("not a bitmap file");
    pixelOffset = Get32(file + 10);
  }

  TBmpHeader h = ReadInfoHeader(src);
  CheckHeader(h);

  if (h.HeaderSize < 52 && (h.Compression == kBiBitfields || h.Compression == kBiAlphaBitfields)) {
    int count = h.Compression == kBiAlphaBitfields ? 4 : 3;
    std::uint8_t raw[16];
    src.Read(raw, 4 * count, "colour masks truncated");
    for (int i = 0; i < count; ++i) h.Masks[i] = Get32(raw + 4 * i);
    h.HasMasks = true;
  }

  std::vector<TRGBQuad> table;
  if (h.Bits <= 8) {
    bool core = h.HeaderSize == kCoreHeaderSize;
    std::int64_t entrySize = core ? 3 : 4;
    std::int64_t count = h.ColorsUsed ? h.ColorsUsed : (std::int64_t{1} << h.Bits);
    // Old files may carry a shorter table than their bit count allows; the
    // pixel offset tells.
    if (core && pixelOffset > src.Offset()) count = std::min(count, (pixelOffset - src.Offset()) / entrySize);
    if (count == 0) Invalid("colour table empty");
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(count * entrySize));
    src.Read(raw.data(), static_cast<std::int64_t>(raw.size()), "colour table truncated");
    table.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < table.size(); ++i) {
      const std::uint8_t* e = raw.data() + i * static_cast<std::size_t>(entrySize);
      table[i] = {e[0], e[1], e[2], 0};
    }
  } else if (pixelOffset == 0 && h.ColorsUsed) {
    // A colour table beside true-colour pixels is only a hint for the display.
    src.SkipTo(src.Offset() + std::int64_t{h.ColorsUsed} * 4, "colour table truncated");
  }
  if (pixelOffset != 0) src.SkipTo(pixelOffset, "pixel offset");

  // The target format and whether the rows can be taken byte for byte.
  TPixelFormat format = pf32bit;
  TAlphaFormat alpha = afIgnored;
  bool raw = true;
  std::uint32_t* m = h.Masks;
  bool bitfields = h.Compression == kBiBitfields || h.Compression == kBiAlphaBitfields;
  switch (h.Bits) {
    case 1:
      format = pf1bit;
      break;
    case 4:
      format = pf4bit;
      break;
    case 8:
      format = pf8bit;
      break;
    case 24:
      format = pf24bit;
      break;
    case 16:
      if (!bitfields || (MasksAre(m, 0x7C00, 0x03E0, 0x001F) && m[3] == 0)) {
        format = pf15bit;
      } else if (MasksAre(m, 0xF800, 0x07E0, 0x001F) && m[3] == 0) {
        format = pf16bit;
      } else {
        raw = false;
      }
      break;
    case 32:
      if (bitfields && !MasksAre(m, 0xFF0000, 0xFF00, 0xFF)) raw = false;
      if (bitfields && m[3] != 0) {
        alpha = afDefined;
        if (m[3] != 0xFF000000u) raw = false;
      }
      break;
  }
  if (!raw) {
    format = pf32bit;
    if (m[3] != 0) alpha = afDefined;
  }

  std::int64_t fileStride = BytesPerScanLine(h.Width, h.Bits);
  if (fileStride * h.Height > src.Left()) Invalid("pixel data truncated");
  int width = static_cast<int>(h.Width), height = static_cast<int>(h.Height);
  auto storage = NewBitmapStorage(width, height, format, table);
  auto stride = static_cast<std::size_t>(BytesPerScanLine(width, BitsPerPixel(format)));
  // Memory row of file row i: the file's order is bottom-up unless the height was negative.
  auto memoryRow = [&](int i) {
    return storage->Bits() + static_cast<std::size_t>(h.TopDown ? height - 1 - i : i) * stride;
  };
  if (raw && !h.TopDown) {
    src.Read(storage->Bits(), fileStride * h.Height, "pixel data truncated");
  } else if (raw) {
    for (int i = 0; i < height; ++i) src.Read(memoryRow(i), fileStride, "pixel data truncated");
  } else {
    TChannel red(m[0]), green(m[1]), blue(m[2]), alphaChannel(m[3]);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(fileStride));
    for (int i = 0; i < height; ++i) {
      src.Read(line.data(), fileStride, "pixel data truncated");
      std::uint8_t* out = memoryRow(i);
      for (int x = 0; x < width; ++x) {
        std::uint32_t v = h.Bits == 16 ? Get16(line.data() + 2 * x) : Get32(line.data() + 4 * x);
        out[4 * x] = blue.Get(v);
        out[4 * x + 1] = green.Get(v);
        out[4 * x + 2] = red.Get(v);
        out[4 * x + 3] = alphaChannel.Get(v, 255);
      }
    }
  }
  ReplaceImage(width, height, format, std::move(table), std::move(storage));
  FAlphaFormat = alpha;
}

void TBitmap::LoadFromStream(TStream& Stream) { LoadFromBmpBytes(Stream, true); }

void TBitmap::SaveToStream(TStream& Stream) const {
  if (Empty()) return;
  int bits = BitsPerPixel(FPixelFormat);
  bool withAlpha = bits == 32 && FAlphaFormat != afIgnored;
  std::uint32_t headerSize = withAlpha ? kV5HeaderSize : kInfoHeaderSize;
  std::uint32_t maskBytes = FPixelFormat == pf16bit ? 12 : 0;
  auto tableBytes = static_cast<std::uint32_t>(FColorTable.size() * 4);
  auto imageBytes = static_cast<std::uint32_t>(ScanLineSize()) * static_cast<std::uint32_t>(FHeight);
  std::uint32_t offset = static_cast<std::uint32_t>(kFileHeaderSize) + headerSize + maskBytes + tableBytes;

  TMemoryStream out;
  out.WriteLE<std::uint8_t>('B');
  out.WriteLE<std::uint8_t>('M');
  out.WriteLE<std::uint32_t>(offset + imageBytes);
  out.WriteLE<std::uint32_t>(0);  // reserved
  out.WriteLE<std::uint32_t>(offset);

  out.WriteLE<std::uint32_t>(headerSize);
  out.WriteLE<std::int32_t>(FWidth);
  out.WriteLE<std::int32_t>(FHeight);  // rows bottom-up, as they lie in memory
  out.WriteLE<std::uint16_t>(1);       // planes
  out.WriteLE<std::uint16_t>(static_cast<std::uint16_t>(bits));
  out.WriteLE<std::uint32_t>(withAlpha || maskBytes ? kBiBitfields : kBiRgb);
  out.WriteLE<std::uint32_t>(imageBytes);
  out.WriteLE<std::int32_t>(0);  // pixels per metre, unknown
  out.WriteLE<std::int32_t>(0);
  out.WriteLE<std::uint32_t>(static_cast<std::uint32_t>(FColorTable.size()));
  out.WriteLE<std::uint32_t>(0);  // all colours important
  if (withAlpha) {
    for (std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) out.WriteLE(mask);
    out.WriteLE<std::uint32_t>(0x73524742);                         // colour space 'sRGB'
    for (int i = 0; i < 9 + 3; ++i) out.WriteLE<std::uint32_t>(0);  // end points and gamma: unused for sRGB
    out.WriteLE<std::uint32_t>(4);                                  // intent: LCS_GM_IMAGES
    for (int i = 0; i < 3; ++i) out.WriteLE<std::uint32_t>(0);      // profile data, size, reserved
  }
  if (maskBytes)
    for (std::uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) out.WriteLE(mask);
  for (const TRGBQuad& q : FColorTable) out.WriteBuffer(&q, 4);
  FStorage->Flush();
  out.WriteBuffer(FStorage->Bits(), imageBytes);
  Stream.WriteBuffer(out.Memory(), out.Size());
}

void TBitmap::LoadFromFile(const String& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TBitmap::SaveToFile(const String& FileName) const {
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SaveToFile(FileName);
}
