// Helpers of the PNG tests: files put together chunk by chunk (so that every
// field can be made wrong on purpose), sample rows, and pixels read back.
#pragma once
#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kem3/pictures/pngimage.h"
#include "platform/bitmap_pixels.h"

namespace pngtest {

inline std::string BE32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}
inline std::string BE16(unsigned v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }

inline std::uint32_t ReadBE32(std::string_view s, std::size_t at) {
  return (std::uint32_t{static_cast<std::uint8_t>(s[at])} << 24) |
         (std::uint32_t{static_cast<std::uint8_t>(s[at + 1])} << 16) |
         (std::uint32_t{static_cast<std::uint8_t>(s[at + 2])} << 8) | static_cast<std::uint8_t>(s[at + 3]);
}

inline const std::string kSignature("\x89PNG\r\n\x1a\n", 8);

inline std::string Chunk(std::string_view type, std::string_view data) {
  std::string body = std::string(type) + std::string(data);
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  return BE32(static_cast<std::uint32_t>(data.size())) + body + BE32(static_cast<std::uint32_t>(crc));
}

inline std::string Header(std::uint32_t width, std::uint32_t height, int depth, int colorType, int interlace = 0,
                          int compression = 0, int filter = 0) {
  return BE32(width) + BE32(height) + static_cast<char>(depth) + static_cast<char>(colorType) +
         static_cast<char>(compression) + static_cast<char>(filter) + static_cast<char>(interlace);
}

inline std::string Deflate(std::string_view raw, int level = 6) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
            static_cast<uLong>(raw.size()), level);
  out.resize(size);
  return out;
}

// Signature, IHDR, the chunks given, one IDAT with the deflated raw data, IEND.
inline std::string File(const std::string& header, const std::string& middle, std::string_view raw) {
  return kSignature + Chunk("IHDR", header) + middle + Chunk("IDAT", Deflate(raw)) + Chunk("IEND", "");
}

// Samples of one row packed as the file stores them (MSB first below 8 bits, big-endian at 16).
inline std::string Pack(const std::vector<unsigned>& samples, int depth) {
  std::string out;
  if (depth == 16) {
    for (unsigned s : samples) out += BE16(s);
    return out;
  }
  if (depth == 8) {
    for (unsigned s : samples) out += static_cast<char>(s);
    return out;
  }
  out.assign((samples.size() * static_cast<std::size_t>(depth) + 7) / 8, '\0');
  for (std::size_t i = 0; i < samples.size(); ++i) {
    std::size_t bit = i * static_cast<std::size_t>(depth);
    out[bit / 8] = static_cast<char>(out[bit / 8] | (samples[i] << (8 - depth - bit % 8)));
  }
  return out;
}

inline int Channels(int colorType) {
  switch (colorType) {
    case 2:
      return 3;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 1;
  }
}

// A picture as sample values: Samples[y][x * channels + c].
struct TSamplePicture {
  int Width = 0, Height = 0, Depth = 8, ColorType = 0;
  std::vector<std::vector<unsigned>> Samples;
  unsigned At(int x, int y, int c) const {
    return Samples[static_cast<std::size_t>(y)][static_cast<std::size_t>(x * Channels(ColorType) + c)];
  }
};

// A deterministic picture with smooth areas and noise, so the filters differ.
inline TSamplePicture MakeSamples(int width, int height, int depth, int colorType, unsigned seed,
                                  unsigned maxIndex = 0) {
  TSamplePicture p{width, height, depth, colorType, {}};
  unsigned limit = colorType == 3 ? maxIndex : (1u << depth) - 1;
  std::uint32_t state = seed * 2654435761u + 1;
  int channels = Channels(colorType);
  for (int y = 0; y < height; ++y) {
    std::vector<unsigned> row;
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < channels; ++c) {
        state = state * 1664525u + 1013904223u;
        unsigned smooth = static_cast<unsigned>((x * 7 + y * 3 + c * 50) % 256) * (limit + 1) / 256;
        unsigned noisy = (state >> 8) % (limit + 1);
        row.push_back(((x / 4 + y / 3) % 3 == 0) ? noisy : smooth);
      }
    p.Samples.push_back(std::move(row));
  }
  return p;
}

// The raw (unfiltered, filter byte 0) image data, plain or in the seven passes.
inline std::string RawData(const TSamplePicture& p, bool interlaced) {
  std::string raw;
  int channels = Channels(p.ColorType);
  auto rowOf = [&](int y, int x0, int dx) {
    std::vector<unsigned> samples;
    for (int x = x0; x < p.Width; x += dx)
      for (int c = 0; c < channels; ++c) samples.push_back(p.At(x, y, c));
    return samples;
  };
  if (!interlaced) {
    for (int y = 0; y < p.Height; ++y) raw += '\0' + Pack(rowOf(y, 0, 1), p.Depth);
    return raw;
  }
  static const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                   {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  for (const auto& q : passes) {
    if (q[0] >= p.Width) continue;
    for (int y = q[1]; y < p.Height; y += q[3]) raw += '\0' + Pack(rowOf(y, q[0], q[2]), p.Depth);
  }
  return raw;
}

// Pixel (x, y) as blue, green, red, alpha (alpha 255 in formats without one).
inline TRGBQuad Pixel(const TBitmap& b, int x, int y) {
  return DecodePixel(static_cast<const std::uint8_t*>(b.ScanLine(y)), x, b.PixelFormat(), b.ColorTable());
}

inline void Load(TPNGImage& image, const std::string& bytes) {
  TStringStream stream(bytes);
  image.LoadFromStream(stream);
}

inline std::string Save(TPNGImage& image) {
  TStringStream stream;
  image.SaveToStream(stream);
  return stream.DataString();
}

// The error id of loading the bytes into a fresh image, 0 when it loads.
inline int LoadError(const std::string& bytes) {
  TPNGImage image;
  try {
    Load(image, bytes);
  } catch (const EPNGImage& e) {
    return e.Id;
  }
  return 0;
}

// Chunk types of a file, in order.
inline std::vector<std::string> ChunkTypes(const std::string& file) {
  std::vector<std::string> types;
  for (std::size_t at = 8; at + 12 <= file.size();) {
    std::uint32_t length = ReadBE32(file, at);
    types.push_back(file.substr(at + 4, 4));
    at += 12 + length;
  }
  return types;
}

// The data of the first chunk of a type ("" when there is none).
inline std::string ChunkData(const std::string& file, std::string_view type) {
  for (std::size_t at = 8; at + 12 <= file.size();) {
    std::uint32_t length = ReadBE32(file, at);
    if (file.compare(at + 4, 4, type) == 0) return file.substr(at + 8, length);
    at += 12 + length;
  }
  return {};
}

// The raw rows of a file's image data (all IDAT chunks inflated).
inline std::string Inflate(const std::string& file) {
  std::string data;
  for (std::size_t at = 8; at + 12 <= file.size();) {
    std::uint32_t length = ReadBE32(file, at);
    if (file.compare(at + 4, 4, "IDAT") == 0) data += file.substr(at + 8, length);
    at += 12 + length;
  }
  std::string out;
  z_stream z{};
  inflateInit(&z);
  z.next_in = reinterpret_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  char buffer[65536];
  int code = Z_OK;
  while (code == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    code = inflate(&z, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - z.avail_out);
  }
  inflateEnd(&z);
  return out;
}

}  // namespace pngtest
