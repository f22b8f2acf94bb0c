// Our own writers of the icon formats: icon files, 16-bit icon libraries,
// icon families and the Mac containers, each field settable so that damaged
// files can be made on purpose. The tests, the benchmarks and mkiconseeds
// (the fuzz targets' seed files) make their icon files with them.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace iconwriter {

inline std::string LE16(unsigned v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
inline std::string LE32(std::uint32_t v) { return LE16(v & 0xFFFF) + LE16(v >> 16); }
inline std::string BE16(unsigned v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }
inline std::string BE32(std::uint32_t v) { return BE16(v >> 16) + BE16(v & 0xFFFF); }

// Pixel colour (0xAARRGGBB) and AND-mask bit of each pixel, top row first.
using TPixelFn = std::function<std::uint32_t(int X, int Y)>;
using TMaskFn = std::function<bool(int X, int Y)>;

// A BITMAPINFOHEADER icon image. Palette depths take the colour index from
// the low bits of the pixel value and carry a grey palette (entry i = i * 17
// for 4 bits, i for 8 bits, black and white for 1 bit).
inline std::string DibImage(int W, int H, int Bits, const TPixelFn& Pixel, const TMaskFn& Mask) {
  const int paletteCount = Bits <= 8 ? 1 << Bits : 0;
  std::string s = LE32(40) + LE32(static_cast<std::uint32_t>(W)) + LE32(static_cast<std::uint32_t>(2 * H)) + LE16(1) +
                  LE16(static_cast<unsigned>(Bits)) + LE32(0) + LE32(0) + LE32(0) + LE32(0) + LE32(0) + LE32(0);
  for (int i = 0; i < paletteCount; ++i) {
    const int v = Bits == 1 ? i * 255 : Bits == 4 ? i * 17 : i;
    s += std::string{static_cast<char>(v), static_cast<char>(v), static_cast<char>(v), 0};
  }
  const int stride = (W * Bits + 31) / 32 * 4, maskStride = (W + 31) / 32 * 4;
  for (int y = H - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(stride), '\0');
    for (int x = 0; x < W; ++x) {
      const std::uint32_t p = Pixel(x, y);
      if (Bits <= 8) {
        const int bit = x * Bits;
        row[static_cast<std::size_t>(bit / 8)] |= static_cast<char>((p & ((1u << Bits) - 1)) << (8 - Bits - bit % 8));
      } else if (Bits == 16) {
        const unsigned v = ((p >> 19 & 31) << 10) | ((p >> 11 & 31) << 5) | (p >> 3 & 31);
        row.replace(static_cast<std::size_t>(2 * x), 2, LE16(v));
      } else {
        const int n = Bits / 8;
        for (int i = 0; i < n; ++i) row[static_cast<std::size_t>(n * x + i)] = static_cast<char>(p >> (8 * i));
      }
    }
    s += row;
  }
  for (int y = H - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(maskStride), '\0');
    for (int x = 0; x < W; ++x)
      if (Mask(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    s += row;
  }
  return s;
}

struct TIcoEntry {
  int Width = 0, Height = 0, Colors = 0, Planes = 1, Bits = 0;
  std::string Data;
};

// A 32-bit image of one colour (0xAARRGGBB), nothing masked.
inline TIcoEntry SolidIcoEntry(int Size, std::uint32_t Colour) {
  return {Size,
          Size,
          0,
          1,
          32,
          DibImage(
              Size, Size, 32, [=](int, int) { return Colour; }, [](int, int) { return false; })};
}

// An icon file: header, directory, then the images in order.
inline std::string IcoFile(const std::vector<TIcoEntry>& Entries) {
  std::string s = LE16(0) + LE16(1) + LE16(static_cast<unsigned>(Entries.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(Entries.size());
  for (const TIcoEntry& e : Entries) {
    s += std::string{static_cast<char>(e.Width), static_cast<char>(e.Height), static_cast<char>(e.Colors), 0};
    s += LE16(static_cast<unsigned>(e.Planes)) + LE16(static_cast<unsigned>(e.Bits)) +
         LE32(static_cast<std::uint32_t>(e.Data.size())) + LE32(offset);
    offset += static_cast<std::uint32_t>(e.Data.size());
  }
  for (const TIcoEntry& e : Entries) s += e.Data;
  return s;
}

struct TNeGroup {
  std::vector<TIcoEntry> Images;
};

// A 16-bit icon library: MZ stub, NE header, a resource table with the
// groups and their icons (alignment 2^Shift), and the name strings ("ICL"
// first when WithIcl, then Names).
inline std::string NeLibrary(const std::vector<TNeGroup>& Groups, const std::vector<std::string>& Names,
                             bool WithIcl = true, int Shift = 4) {
  const std::uint32_t ne = 64;
  std::string s = "MZ" + std::string(58, '\0') + LE32(ne);
  int icons = 0;
  for (const TNeGroup& g : Groups) icons += static_cast<int>(g.Images.size());
  const int groups = static_cast<int>(Groups.size());
  std::string names;
  if (WithIcl) names += std::string(1, 3) + "ICL";
  for (const std::string& n : Names) names += std::string(1, static_cast<char>(n.size())) + n;
  names += std::string(1, '\0');
  const std::uint32_t table = 64;  // relative to the NE header
  const std::uint32_t tableSize = 2 + 8 + 12 * static_cast<std::uint32_t>(icons) + 8 + 12 * groups + 2;
  std::string header = "NE" + std::string(34, '\0') + LE16(table) + LE16(table + tableSize) + std::string(24, '\0');
  std::uint32_t data = ne + table + tableSize + static_cast<std::uint32_t>(names.size()) + 1;
  const std::uint32_t align = 1u << Shift;
  data = (data + align - 1) / align * align;
  std::string blobs, iconRecords, groupRecords;
  auto place = [&](const std::string& bytes) {
    while ((data + blobs.size()) % align) blobs += '\0';
    const std::uint32_t at = data + static_cast<std::uint32_t>(blobs.size());
    blobs += bytes;
    while (blobs.size() % align) blobs += '\0';
    return LE16(at >> Shift) + LE16(static_cast<unsigned>((bytes.size() + align - 1) >> Shift));
  };
  int id = 1;
  for (const TNeGroup& g : Groups) {
    std::string dir = LE16(0) + LE16(1) + LE16(static_cast<unsigned>(g.Images.size()));
    for (const TIcoEntry& e : g.Images) {
      iconRecords += place(e.Data) + LE16(0x30) + LE16(0x8000u | static_cast<unsigned>(id)) + LE16(0) + LE16(0);
      dir += std::string{static_cast<char>(e.Width), static_cast<char>(e.Height), static_cast<char>(e.Colors), 0} +
             LE16(static_cast<unsigned>(e.Planes)) + LE16(static_cast<unsigned>(e.Bits)) +
             LE32(static_cast<std::uint32_t>(e.Data.size())) + LE16(static_cast<unsigned>(id));
      ++id;
    }
    groupRecords += place(dir) + LE16(0x30) + LE16(0x8000u | static_cast<unsigned>(id + 100)) + LE16(0) + LE16(0);
  }
  std::string rt = LE16(static_cast<unsigned>(Shift)) + LE16(0x8003) + LE16(static_cast<unsigned>(icons)) + LE32(0) +
                   iconRecords + LE16(0x800E) + LE16(static_cast<unsigned>(groups)) + LE32(0) + groupRecords + LE16(0);
  s += header + rt + names + std::string(1, '\0');
  s.resize(data, '\0');
  return s + blobs;
}

// ---- Mac formats (big-endian)

struct TIcnsElement {
  std::string Type;
  std::string Data;
};

inline std::string IcnsFamily(const std::vector<TIcnsElement>& Elements) {
  std::string body;
  for (const TIcnsElement& e : Elements) body += e.Type + BE32(static_cast<std::uint32_t>(e.Data.size() + 8)) + e.Data;
  return "icns" + BE32(static_cast<std::uint32_t>(body.size() + 8)) + body;
}

// A resource fork with one "icns" type holding the families as resources 128, 129…
inline std::string ResourceFork(const std::vector<std::string>& Families) {
  std::string data;
  std::string refs;
  for (std::size_t i = 0; i < Families.size(); ++i) {
    const std::uint32_t at = static_cast<std::uint32_t>(data.size());
    refs += BE16(128 + static_cast<unsigned>(i)) + BE16(0xFFFF) + std::string(1, '\0') + BE32(at).substr(1) + BE32(0);
    data += BE32(static_cast<std::uint32_t>(Families[i].size())) + Families[i];
  }
  const std::uint32_t dataOffset = 256;
  const std::uint32_t mapOffset = dataOffset + static_cast<std::uint32_t>(data.size());
  // Map: header copy (16), next map (4), file ref (2), attributes (2), type
  // list offset (2), name list offset (2), then the type list.
  std::string typeList = BE16(0) + "icns" + BE16(static_cast<unsigned>(Families.size()) - 1) + BE16(2 + 8);
  std::string map = std::string(24, '\0') + BE16(28) + BE16(static_cast<unsigned>(28 + typeList.size() + refs.size())) +
                    typeList + refs;
  std::string head = BE32(dataOffset) + BE32(mapOffset) + BE32(static_cast<std::uint32_t>(data.size())) +
                     BE32(static_cast<std::uint32_t>(map.size()));
  head.resize(dataOffset, '\0');
  return head + data + map;
}

// AppleSingle (or AppleDouble) with the resource fork as entry 2.
inline std::string AppleSingle(const std::string& Fork, bool Double = false) {
  const std::uint32_t offset = 26 + 12;
  return BE32(Double ? 0x00051607 : 0x00051600) + BE32(0x00020000) + std::string(16, '\0') + BE16(1) + BE32(2) +
         BE32(offset) + BE32(static_cast<std::uint32_t>(Fork.size())) + Fork;
}

// MacBinary: 128-byte header, the data fork and the resource fork, each padded to 128.
inline std::string MacBinary(const std::string& DataFork, const std::string& Fork) {
  std::string head(128, '\0');
  head[1] = 4;
  head.replace(2, 4, "Icon");
  head.replace(65, 8, "icnsICNS");
  head.replace(83, 4, BE32(static_cast<std::uint32_t>(DataFork.size())));
  head.replace(87, 4, BE32(static_cast<std::uint32_t>(Fork.size())));
  auto pad = [](std::string s) {
    s.resize((s.size() + 127) / 128 * 128, '\0');
    return s;
  };
  return head + pad(DataFork) + pad(Fork);
}

// A typed stream ("typedstream", big-endian) holding an NSMutableArray of one
// NSData per family.
inline std::string TypedStream(const std::vector<std::string>& Families) {
  const std::string zero(1, '\0'), nil("\x85"), fresh("\x84"), end("\x86");
  auto counted = [](const std::string& s) { return std::string(1, static_cast<char>(s.size())) + s; };
  auto integer = [](std::uint32_t v) { return std::string(1, '\x82') + BE32(v); };
  // A new class: its name as a new shared string, its version, its superclass.
  auto newClass = [&](const std::string& name, const std::string& super) {
    return fresh + fresh + counted(name) + zero + super;
  };
  std::string s = "\x04" + counted("typedstream") + integer(1000);
  // Strings: 0 "@", 1 NSMutableArray, 2 NSArray, 3 "i", 4 NSData, 5 NSObject.
  // Objects and classes: 0 the array, 1 NSMutableArray, 2 NSArray, 3 the
  // first data object, 4 NSData, 5 NSObject.
  s += fresh + counted("@") + fresh + newClass("NSMutableArray", newClass("NSArray", nil));
  s += fresh + counted("i") + static_cast<char>(Families.size());
  bool first = true;
  for (const std::string& f : Families) {
    s += "\x92" + fresh;
    s += first ? newClass("NSData", newClass("NSObject", nil)) : std::string("\x96");
    first = false;
    s += "\x95" + integer(static_cast<std::uint32_t>(f.size())) + fresh + counted("[0c]") + f + end;
  }
  return s + end;
}

}  // namespace iconwriter
