// Mac icon families and their containers: finding the families, decoding
// their elements, and the images TKemIcons makes of them.
#include "kem3/graphics/kemmacicons.h"

#include <cstring>
#include <map>

#include "kem3/graphics/kemtypedstream.h"
#include "kem3/pictures/pngimage.h"
#include "platform/sysutils.h"

// The 16 colours of the Mac system palette, in its order.
const std::array<std::array<std::uint8_t, 3>, 16> kMacPalette16 = {{{0xFF, 0xFF, 0xFF},
                                                                    {0xFC, 0xF3, 0x05},
                                                                    {0xFF, 0x64, 0x02},
                                                                    {0xDD, 0x08, 0x06},
                                                                    {0xF2, 0x08, 0x84},
                                                                    {0x46, 0x00, 0xA5},
                                                                    {0x00, 0x00, 0xD4},
                                                                    {0x02, 0xAB, 0xEA},
                                                                    {0x1F, 0xB7, 0x14},
                                                                    {0x00, 0x64, 0x11},
                                                                    {0x56, 0x2C, 0x05},
                                                                    {0x90, 0x71, 0x3A},
                                                                    {0xC0, 0xC0, 0xC0},
                                                                    {0x80, 0x80, 0x80},
                                                                    {0x40, 0x40, 0x40},
                                                                    {0x00, 0x00, 0x00}}};

// The 256-colour system palette: the 6 x 6 x 6 cube from white down (black
// left out), then ramps of red, green, blue and grey without the cube's
// levels, and black last.
const std::array<std::array<std::uint8_t, 3>, 256>& MacPalette256() {
  static const auto table = [] {
    std::array<std::array<std::uint8_t, 3>, 256> t{};
    int i = 0;
    for (int r = 5; r >= 0; --r)
      for (int g = 5; g >= 0; --g)
        for (int b = 5; b >= 0; --b)
          if (r + g + b > 0)
            t[static_cast<std::size_t>(i++)] = {static_cast<std::uint8_t>(r * 0x33),
                                                static_cast<std::uint8_t>(g * 0x33),
                                                static_cast<std::uint8_t>(b * 0x33)};
    const std::uint8_t ramp[10] = {0xEE, 0xDD, 0xBB, 0xAA, 0x88, 0x77, 0x55, 0x44, 0x22, 0x11};
    for (int channel = 0; channel < 4; ++channel)
      for (std::uint8_t v : ramp) {
        auto& e = t[static_cast<std::size_t>(i++)];
        e = channel == 3 ? std::array<std::uint8_t, 3>{v, v, v} : std::array<std::uint8_t, 3>{0, 0, 0};
        if (channel < 3) e[static_cast<std::size_t>(channel)] = v;
      }
    t[255] = {0, 0, 0};
    return t;
  }();
  return table;
}

namespace {

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

// What the table of element types says of one type.
struct TElementType {
  const char* Type;
  int Width, Height;
  char Kind;  // '#' 1 bit, '4', '8', '3' 32 bits, 'k' 8-bit mask, 'm' 1-bit mask
  const char* Mask;
};

constexpr TElementType kElementTypes[] = {
    {"icm#", 16, 12, '#', "mmask"},   {"icm4", 16, 12, '4', "mmask"},   {"icm8", 16, 12, '8', "mmask"},
    {"im32", 16, 12, '3', "m8mk"},    {"m8mk", 16, 12, 'k', nullptr},   {"mmask", 16, 12, 'm', nullptr},
    {"ics#", 16, 16, '#', "smask"},   {"ics4", 16, 16, '4', "smask"},   {"ics8", 16, 16, '8', "smask"},
    {"is32", 16, 16, '3', "s8mk"},    {"s8mk", 16, 16, 'k', nullptr},   {"smask", 16, 16, 'm', nullptr},
    {"ICN#", 32, 32, '#', "lmask"},   {"icl4", 32, 32, '4', "lmask"},   {"icl8", 32, 32, '8', "lmask"},
    {"il32", 32, 32, '3', "l8mk"},    {"l8mk", 32, 32, 'k', nullptr},   {"lmask", 32, 32, 'm', nullptr},
    {"ich#", 48, 48, '#', "hmask"},   {"ich4", 48, 48, '4', "hmask"},   {"ich8", 48, 48, '8', "hmask"},
    {"ih32", 48, 48, '3', "h8mk"},    {"h8mk", 48, 48, 'k', nullptr},   {"hmask", 48, 48, 'm', nullptr},
    {"ict#", 128, 128, '#', "tmask"}, {"ict4", 128, 128, '4', "tmask"}, {"ict8", 128, 128, '8', "tmask"},
    {"it32", 128, 128, '3', "t8mk"},  {"t8mk", 128, 128, 'k', nullptr}, {"tmask", 128, 128, 'm', nullptr},
};

const TElementType* FindElementType(const String& Type) {
  for (const TElementType& t : kElementTypes)
    if (Type == t.Type) return &t;
  return nullptr;
}

void SetPixel(TRGBQuad* Row, int X, std::uint8_t R, std::uint8_t G, std::uint8_t B, std::uint8_t A) {
  Row[X] = TRGBQuad{B, G, R, A};
}

// The planes of a "32" element: run-length packed red, green and blue planes
// of W x H bytes each. Never writes past the planes nor reads past the input.
std::vector<std::uint8_t> UnpackPlanes(std::string_view Data, std::size_t PlaneSize) {
  std::vector<std::uint8_t> out(PlaneSize * 3, 0);
  std::size_t o = 0, i = 0;
  while (o < out.size() && i < Data.size()) {
    const auto c = static_cast<std::uint8_t>(Data[i++]);
    if (c >= 0x80) {
      if (i >= Data.size()) break;
      const auto v = static_cast<std::uint8_t>(Data[i++]);
      for (int n = c - 125; n > 0 && o < out.size(); --n) out[o++] = v;
    } else {
      for (int n = c + 1; n > 0 && o < out.size() && i < Data.size(); --n)
        out[o++] = static_cast<std::uint8_t>(Data[i++]);
    }
  }
  return out;
}

// The byte count an element of the type needs at least.
std::size_t NeededBytes(const TElementType& T) {
  const std::size_t pixels = static_cast<std::size_t>(T.Width) * static_cast<std::size_t>(T.Height);
  switch (T.Kind) {
    case '#':
      return pixels / 8;
    case 'm':
      return pixels / 4;
    case '4':
      return pixels / 2;
    case '8':
    case 'k':
      return pixels;
    default:
      return 0;
  }
}

}  // namespace

bool TMacBinResIconImage::Describe(const String& AType, std::string_view AData) {
  Type = AType;
  Data = AData;
  IsPNG = AData.substr(0, 8) == kPngSignature;
  if (IsPNG) {
    // Newer families carry PNG pictures under their own types; only the
    // header is read here.
    const TIconBytes bytes(AData);
    if (!bytes.Has(12, 12) || AData.substr(12, 4) != "IHDR") return false;
    const std::uint32_t w = bytes.U32BE(16), h = bytes.U32BE(20);
    if (w == 0 || h == 0 || w > 1024 || h > 1024) return false;
    Width = static_cast<int>(w);
    Height = static_cast<int>(h);
    BitCount = 32;
    IsMask = false;
    return true;
  }
  const TElementType* t = FindElementType(AType);
  if (!t || AData.size() < NeededBytes(*t)) return false;
  Width = t->Width;
  Height = t->Height;
  IsMask = t->Kind == 'k' || t->Kind == 'm';
  BitCount = t->Kind == '#' || t->Kind == 'm' ? 1 : t->Kind == '4' ? 4 : t->Kind == '3' ? 32 : 8;
  return true;
}

bool TMacBinResIconImage::Decode(const String& AType, std::string_view AData) {
  if (!Describe(AType, AData)) return false;
  if (IsPNG) {
    TPNGImage png;
    TStringStream stream{std::string(Data)};
    png.LoadFromStream(stream);
    if (png.Width() != Width || png.Height() != Height) throw EIconError("Icon element PNG size");
    Bitmap.Assign(png);
    if (Bitmap.PixelFormat() != pf32bit) Bitmap.SetPixelFormat(pf32bit);
    return true;
  }
  const TElementType* t = FindElementType(AType);
  const int w = t->Width, h = t->Height;
  const std::size_t pixels = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  Bitmap.SetSize(0, 0);
  Bitmap.SetPixelFormat(pf32bit);
  Bitmap.SetSize(w, h);
  auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(Data[i]); };
  // Rows are fetched once each: ScanLine flushes the system's drawing.
  std::vector<TRGBQuad*> rows(static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) rows[static_cast<std::size_t>(y)] = static_cast<TRGBQuad*>(Bitmap.ScanLine(y));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      TRGBQuad* row = rows[static_cast<std::size_t>(y)];
      const std::size_t p = static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
      switch (t->Kind) {
        case '#':
        case 'm': {
          const std::size_t base = t->Kind == 'm' ? pixels / 8 : 0;
          const std::uint8_t v = (byte(base + p / 8) >> (7 - p % 8)) & 1 ? 0 : 0xFF;
          SetPixel(row, x, v, v, v, v);
          break;
        }
        case '4': {
          const auto& c = kMacPalette16[(byte(p / 2) >> (p % 2 ? 0 : 4)) & 15];
          SetPixel(row, x, c[0], c[1], c[2], 255);
          break;
        }
        case '8': {
          const auto& c = MacPalette256()[byte(p)];
          SetPixel(row, x, c[0], c[1], c[2], 255);
          break;
        }
        case 'k':
          SetPixel(row, x, byte(p), byte(p), byte(p), byte(p));
          break;
        default:
          break;
      }
    }
  if (t->Kind == '3') {
    if (Data.size() >= pixels * 4) {
      for (std::size_t p = 0; p < pixels; ++p)
        SetPixel(rows[p / static_cast<std::size_t>(w)], static_cast<int>(p % static_cast<std::size_t>(w)),
                 byte(4 * p + 1), byte(4 * p + 2), byte(4 * p + 3), 255);
    } else {
      const std::string_view packed = AType == "it32" ? Data.substr(std::min<std::size_t>(4, Data.size())) : Data;
      const std::vector<std::uint8_t> planes = UnpackPlanes(packed, pixels);
      for (std::size_t p = 0; p < pixels; ++p)
        SetPixel(rows[p / static_cast<std::size_t>(w)], static_cast<int>(p % static_cast<std::size_t>(w)), planes[p],
                 planes[pixels + p], planes[2 * pixels + p], 255);
    }
  }
  return true;
}

// ---- Files and families

TMacBinary::TMacBinary(std::string_view Data) : FBytes(Data) {
  const std::string_view head = Data.substr(0, 13);
  if (head.size() >= 4 && SameText(head.substr(0, 4), "icns")) {
    FKind = mfkIcns;
  } else if (head == std::string_view("\x04\x0btypedstream", 13) ||
             head == std::string_view("\x04\x0bstreamtyped", 13)) {
    FKind = mfkTypedStream;
  } else if (FBytes.Has(0, 4) && FBytes.U32BE(0) == 0x00051600) {
    FKind = mfkAppleSingle;
  } else if (FBytes.Has(0, 4) && FBytes.U32BE(0) == 0x00051607) {
    FKind = mfkAppleDouble;
  } else if (FBytes.Has(0, 128)) {
    FKind = mfkMacBinary;
    FResourceForkStated = FBytes.U32BE(87);
    FDataForkLength = (std::int64_t{FBytes.U32BE(83)} + 127) / 128 * 128;
    FResourceForkLength = (std::int64_t{FResourceForkStated} + 127) / 128 * 128;
  }
}

bool TMacBinary::IsMacIconData() const { return Recognised(FBytes.Size()); }

bool TMacBinary::IsMacIconHead(std::string_view Head, std::int64_t FileSize) {
  return TMacBinary(Head).Recognised(FileSize);
}

bool TMacBinary::Recognised(std::int64_t FileSize) const {
  switch (FKind) {
    case mfkIcns:
    case mfkTypedStream:
    case mfkAppleSingle:
    case mfkAppleDouble:
      return true;
    case mfkMacBinary:
      return FBytes.U8(0) == 0 && FBytes.U8(74) == 0 && FBytes.U8(82) == 0 && FBytes.U8(1) <= 63 &&
             128 + FDataForkLength + FResourceForkLength == FileSize;
    default:
      return false;
  }
}

void TMacBinary::ReadIcons() {
  try {
    switch (FKind) {
      case mfkIcns:
        ReadFamily(FBytes.Data());
        break;
      case mfkTypedStream: {
        TNXTypedStream stream(FBytes.Data());
        if (!stream.ReadHeader()) break;
        stream.OnData = [this](std::int64_t Offset, std::int64_t Length) { ReadFamily(FBytes.Sub(Offset, Length)); };
        stream.ReadAll();
        break;
      }
      case mfkAppleSingle:
      case mfkAppleDouble: {
        const int count = FBytes.U16BE(24);
        for (int i = 0; i < count; ++i) {
          FBudget.TakeEntry();
          const std::int64_t e = 26 + std::int64_t{i} * 12;
          if (FBytes.U32BE(e) != 2) continue;
          const std::int64_t offset = FBytes.U32BE(e + 4), length = FBytes.U32BE(e + 8);
          if (FBytes.Has(offset, length)) ReadResourceFork(FBytes.Sub(offset, length));
        }
        break;
      }
      case mfkMacBinary:
        if (FResourceForkStated > 0 && FBytes.Has(128 + FDataForkLength, FResourceForkStated))
          ReadResourceFork(FBytes.Sub(128 + FDataForkLength, FResourceForkStated));
        break;
      default:
        break;
    }
  } catch (const EIconError&) {
    // A damaged container ends the reading; the families found so far stay.
  }
}

void TMacBinary::ReadResourceFork(std::string_view Fork) {
  const TIconBytes f(Fork);
  const std::int64_t dataOffset = f.U32BE(0), mapOffset = f.U32BE(4);
  f.Need(mapOffset, 30);
  const std::int64_t typeList = mapOffset + f.U16BE(mapOffset + 24);
  const int types = (f.U16BE(mapOffset + 28) + 1) & 0xFFFF;
  for (int t = 0; t < types; ++t) {
    FBudget.TakeEntry();
    const std::int64_t entry = typeList + 2 + std::int64_t{t} * 8;
    const int count = (f.U16BE(entry + 4) + 1) & 0xFFFF;
    const std::int64_t refs = typeList + f.U16BE(entry + 6);
    for (int r = 0; r < std::min(count, 2); ++r) {
      FBudget.TakeEntry();
      const std::int64_t data = dataOffset + f.U24BE(refs + std::int64_t{r} * 12 + 5);
      const std::int64_t length = f.U32BE(data);
      if (!f.Has(data + 4, length)) continue;
      ReadFamily(f.Sub(data + 4, length));
    }
  }
}

void TMacBinary::ReadFamily(std::string_view Family) {
  const TIconBytes f(Family);
  if (!f.Has(0, 8) || !SameText(Family.substr(0, 4), "icns")) return;
  // Types and references that lead to one family again add nothing.
  if (FFamilies.size() >= kMaxMacFamilies || !FFamiliesRead.insert(Family.data()).second) return;
  const std::int64_t end = std::min<std::int64_t>(f.U32BE(4), f.Size());
  TMacIconFamily elements;
  for (std::int64_t p = 8; p + 8 <= end;) {
    FBudget.TakeEntry();
    const String type(Family.substr(static_cast<std::size_t>(p), 4));
    const std::int64_t length = f.U32BE(p + 4);
    if (length < 8 || length > end - p) break;
    const std::string_view data = f.Sub(p + 8, length - 8);
    p += length;
    const char last = type[3];
    auto add = [&](const String& name) {
      auto element = std::make_unique<TMacBinResIconImage>();
      if (element->Describe(name, data)) elements.push_back(std::move(element));
    };
    if (!(last == '#' && SkipOneBit) && !(last == '4' && SkipFourBit)) add(type);
    if (last == '#') {
      switch (type[2]) {
        case 'N':
          add("lmask");
          break;
        case 'h':
          add("hmask");
          break;
        case 'm':
          add("mmask");
          break;
        case 's':
          add("smask");
          break;
        case 't':
          add("tmask");
          break;
        default:
          break;
      }
    }
  }
  if (!elements.empty()) FFamilies.push_back(std::move(elements));
}

const TMacBinResIconImage* TMacBinary::FindMask(const TMacIconFamily& Family, const String& Type) {
  const TElementType* t = FindElementType(Type);
  if (!t || !t->Mask) return nullptr;
  for (const auto& e : Family)
    if (e->Type == t->Mask) return e.get();
  return nullptr;
}

namespace {

// The first element of each name in a family: looked up once per family,
// not once per element (a family may hold thousands of elements).
std::map<String, const TMacBinResIconImage*> ElementsByName(const TMacIconFamily& Family) {
  std::map<String, const TMacBinResIconImage*> elements;
  for (const auto& e : Family) elements.emplace(e->Type, e.get());
  return elements;
}

}  // namespace

bool IsMacIconFile(const String& FileName) {
  try {
    bool recognised = false;
    ReadIconFileIf(FileName, [&](std::string_view Head, std::int64_t Size) {
      recognised = TMacBinary::IsMacIconHead(Head, Size);
      return false;
    });
    return recognised;
  } catch (const Exception&) {
    return false;
  }
}

// ---- Images

TKemIconImageMac::TKemIconImageMac(const TMacBinResIconImage& Element, const TMacBinResIconImage* Mask,
                                   TIconBlock Block)
    : FBlock(std::move(Block)), FType(Element.Type), FData(Element.Data) {
  Width = Element.Width;
  Height = Element.Height;
  BitCount = static_cast<std::uint8_t>(Element.BitCount);
  Planes = 1;
  Alpha = Element.IsPNG || (Mask && Mask->BitCount >= 8);
  // A PNG element brings its own alpha; a mask of another size is none.
  if (!Element.IsPNG && Mask && Mask->Width == Width && Mask->Height == Height) {
    FMaskType = Mask->Type;
    FMaskData = Mask->Data;
  }
}

void TKemIconImageMac::Decode(TBitmap& Color, TBitmap& Mask) const {
  TMacBinResIconImage element;
  if (!element.Decode(FType, FData) || element.Width != Width || element.Height != Height)
    throw EIconError("Icon element damaged");
  Color.Assign(element.Bitmap);
  Color.SetAlphaFormat(afDefined);
  if (!element.IsPNG) {
    TMacBinResIconImage mask;
    const bool masked = !FMaskType.empty() && mask.Decode(FMaskType, FMaskData);
    for (int y = 0; y < Height; ++y) {
      auto* row = static_cast<TRGBQuad*>(Color.ScanLine(y));
      const auto* bits = masked ? static_cast<const TRGBQuad*>(mask.Bitmap.ScanLine(y)) : nullptr;
      for (int x = 0; x < Width; ++x) {
        if (!bits)
          row[x].rgbReserved = 255;
        else if (mask.BitCount >= 8)
          row[x].rgbReserved = bits[x].rgbBlue;
        else
          row[x].rgbReserved = bits[x].rgbBlue == 0 ? 255 : 0;
      }
    }
  }
  Mask.SetSize(0, 0);
  Mask.SetPixelFormat(pf1bit);
  Mask.SetSize(Width, Height);
  for (int y = 0; y < Height; ++y) {
    const auto* row = static_cast<const TRGBQuad*>(Color.ScanLine(y));
    auto* bits = static_cast<std::uint8_t*>(Mask.ScanLine(y));
    for (int x = 0; x < Width; ++x)
      if (row[x].rgbReserved < 128) bits[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  }
}

void TKemIcons::LoadMacData(const TIconBlock& Data) {
  if (!Data) return;
  TMacBinary mac(*Data);
  if (!mac.IsMacIconData()) return;
  mac.ReadIcons();
  auto group = std::make_unique<TKemIconGroup>();
  TIconFileBudget budget;
  for (const TMacIconFamily& family : mac.Families()) {
    const auto elements = ElementsByName(family);
    for (const auto& element : family) {
      if (element->IsMask) continue;
      const TElementType* t = FindElementType(element->Type);
      const auto mask = t && t->Mask ? elements.find(t->Mask) : elements.end();
      budget.AddImage(
          *group, std::make_unique<TKemIconImageMac>(*element, mask == elements.end() ? nullptr : mask->second, Data));
      if (TIconFileBudget::GroupFull(*group)) break;
    }
  }
  AddGroup(std::move(group));
}
