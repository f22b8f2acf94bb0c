// PNG decoding and encoding against libpng and libspng on the same files:
// pictures made by our encoder (icons of 8 to 32 pixels, photo-like and flat
// art, RGBA, RGB, paletted) and the PNG files Debian's packages of the build
// machine ship. Decoding gives each library's natural bitmap layout (blue first
// here and for libpng; indices for palettes without transparency); encoding
// uses zlib level 6 on both sides. The PngRatio benchmarks run ours and the
// other library in turn within each iteration over a group of files and report
// the other's time over ours (above 1: ours is faster); run them with
// --benchmark_repetitions for medians and spread.
#include <benchmark/benchmark.h>
#include <png.h>
#include <spng.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "kem3/pictures/pngimage.h"
#include "tests/support/libpng_source.h"

namespace {

struct TBenchFile {
  std::string Name;
  std::string Bytes;
  std::int64_t Pixels = 0;
};

std::uint32_t Noise(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 16;
}

// Smooth waves with a little grain, like a photograph.
void PaintPhoto(TBitmap& b, int size, TPixelFormat format) {
  b.SetPixelFormat(format);
  b.SetSize(size, size);
  std::uint32_t state = 17;
  int bytes = format == pf32bit ? 4 : 3;
  for (int y = 0; y < size; ++y) {
    auto* row = static_cast<std::uint8_t*>(b.ScanLine(y));
    for (int x = 0; x < size; ++x) {
      double fx = x * 1024.0 / size, fy = y * 1024.0 / size;
      for (int c = 0; c < 3; ++c) {
        double v = 128 + 60 * std::sin(fx * 0.013 + fy * 0.007 + c) + 40 * std::sin(fx * 0.041 - fy * 0.029 + 2 * c);
        row[x * bytes + c] =
            static_cast<std::uint8_t>(std::clamp(v + static_cast<int>(Noise(state) % 13) - 6, 0.0, 255.0));
      }
      if (bytes == 4) row[x * 4 + 3] = static_cast<std::uint8_t>(255 - (x + y) * 128 / size);
    }
  }
}

// Flat shapes on a transparent ground, like a skin or icon drawing.
void PaintArt(TBitmap& b, int size) {
  b.SetPixelFormat(pf32bit);
  b.SetSize(size, size);
  for (int y = 0; y < size; ++y) {
    auto* row = static_cast<std::uint32_t*>(b.ScanLine(y));
    for (int x = 0; x < size; ++x) {
      std::uint32_t p = 0;
      int dx = x - size / 2, dy = y - size / 2;
      if (dx * dx + dy * dy < size * size / 9) p = 0xFF3366CCu;
      if (x > size / 8 && x < size / 3 && y > size / 6 && y < size * 5 / 6) p = 0xFFEEAA11u;
      if ((x / (size / 16 + 1) + y / (size / 16 + 1)) % 7 == 0) p = 0x80FFFFFFu;
      row[x] = p;
    }
  }
}

// PNG files Debian's packages of this machine ship under /usr/share: up to
// PerKind of each colour type, depth and interlacing, spread over the sorted list.
std::vector<std::filesystem::path> InstalledPngFiles(std::size_t PerKind) {
  std::map<std::string, std::vector<std::filesystem::path>> byKind;
  std::error_code error;
  auto options = std::filesystem::directory_options::skip_permission_denied;
  for (std::filesystem::recursive_directory_iterator it("/usr/share", options, error), end; !error && it != end;
       it.increment(error)) {
    if (it->path().extension() != ".png" || !it->is_regular_file(error) || it->file_size(error) > 400000) continue;
    std::ifstream in(it->path(), std::ios::binary);
    unsigned char head[29];
    if (!in.read(reinterpret_cast<char*>(head), sizeof head) || std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) != 0)
      continue;
    byKind[std::to_string(head[25]) + "/" + std::to_string(head[24]) + "/" + std::to_string(head[28])].push_back(
        it->path());
  }
  std::vector<std::filesystem::path> picked;
  for (auto& [kind, paths] : byKind) {
    std::sort(paths.begin(), paths.end());
    std::size_t step = std::max<std::size_t>(1, paths.size() / PerKind);
    for (std::size_t i = 0; i < paths.size() && i / step < PerKind; i += step) picked.push_back(paths[i]);
  }
  return picked;
}

std::string Encode(TPNGImage& image) {
  TStringStream out;
  image.SaveToStream(out);
  return out.DataString();
}

const std::vector<TBenchFile>& Files() {
  static const std::vector<TBenchFile> files = [] {
    std::vector<TBenchFile> list;
    auto add = [&](std::string name, TPNGImage& image) {
      list.push_back({std::move(name), Encode(image), std::int64_t{image.Width()} * image.Height()});
    };
    // Icons of the sizes the bar and its lists show, in the formats icons come in.
    for (int size : {8, 16}) {
      const std::string side = std::to_string(size);
      TPNGImage icon;
      PaintPhoto(icon, size, pf32bit);
      add("icon" + side + "_rgba", icon);
      TPNGImage art;
      PaintArt(art, size);
      add("icon" + side + "_art", art);
      TPNGImage rgb;
      PaintPhoto(rgb, size, pf24bit);
      add("icon" + side + "_rgb", rgb);
      rgb.SetPixelFormat(pf8bit);
      add("icon" + side + "_pal8", rgb);
      rgb.SetPixelFormat(pf4bit);
      add("icon" + side + "_pal4", rgb);
    }
    {
      TPNGImage icon;
      PaintPhoto(icon, 32, pf32bit);
      add("icon32_rgba", icon);
      TPNGImage art;
      PaintArt(art, 32);
      add("icon32_art", art);
    }
    {
      TPNGImage photo;
      PaintPhoto(photo, 256, pf32bit);
      add("photo256_rgba", photo);
      PaintPhoto(photo, 1024, pf32bit);
      add("photo1024_rgba", photo);
      TPNGImage rgb;
      PaintPhoto(rgb, 1024, pf24bit);
      add("photo1024_rgb", rgb);
      TPNGImage art;
      PaintArt(art, 1024);
      add("art1024_rgba", art);
      TPNGImage paletted;
      PaintPhoto(paletted, 512, pf24bit);
      paletted.SetPixelFormat(pf8bit);
      add("photo512_pal8", paletted);
    }
    for (const std::filesystem::path& path : InstalledPngFiles(4)) {
      TMemoryStream stream;
      stream.LoadFromFile(path.string());
      TPNGImage image;
      image.LoadFromStream(stream);
      list.push_back(
          {"deb_" + path.stem().string() + "_" + std::to_string(image.Width()) + "x" + std::to_string(image.Height()),
           std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size())),
           std::int64_t{image.Width()} * image.Height()});
    }
    return list;
  }();
  return files;
}

// ---- libpng ----------------------------------------------------------------

struct TLibpngDecode {
  TLibpngSource Source{};
  std::vector<std::uint8_t> Pixels;
  std::vector<png_bytep> Rows;
};

// Into the same layouts our decoder gives: blue first, alpha from tRNS,
// indices of palettes without it, the high byte of 16-bit samples.
bool LibpngDecode(const std::string& file, TLibpngDecode& d) {
  d.Source = TLibpngSource{&file, 0};
  d.Rows.clear();
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &d.Source, ReadLibpngSource);
  png_read_info(png, info);
  int type = png_get_color_type(png, info);
  bool trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (type == PNG_COLOR_TYPE_PALETTE && trns) png_set_palette_to_rgb(png);
  if (trns) png_set_tRNS_to_alpha(png);
  if (type == PNG_COLOR_TYPE_GRAY_ALPHA || (type == PNG_COLOR_TYPE_GRAY && trns)) png_set_gray_to_rgb(png);
  png_set_strip_16(png);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  std::size_t rowBytes = png_get_rowbytes(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  // A new picture each time, as ours makes one (and as a program showing pictures does).
  d.Pixels = std::vector<std::uint8_t>(rowBytes * height);
  for (png_uint_32 y = 0; y < height; ++y) d.Rows.push_back(d.Pixels.data() + rowBytes * y);
  png_read_image(png, d.Rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

void AppendData(png_structp png, png_bytep data, std::size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void FlushNothing(png_structp) {}

struct TLibpngEncode {
  std::string Out;
  std::vector<png_bytep> Rows;
  std::vector<png_color> Palette;
};

// The bitmap's rows as they are (blue first), at zlib level 6 with libpng's own filter choice.
bool LibpngEncode(TBitmap& b, TLibpngEncode& e) {
  e.Out.clear();
  e.Rows.clear();
  e.Palette.clear();
  for (int y = 0; y < b.Height(); ++y) e.Rows.push_back(static_cast<png_bytep>(b.ScanLine(y)));
  for (const TRGBQuad& q : b.ColorTable()) e.Palette.push_back(png_color{q.rgbRed, q.rgbGreen, q.rgbBlue});
  int type = b.PixelFormat() == pf32bit   ? PNG_COLOR_TYPE_RGBA
             : b.PixelFormat() == pf24bit ? PNG_COLOR_TYPE_RGB
                                          : PNG_COLOR_TYPE_PALETTE;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &e.Out, AppendData, FlushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(b.Width()), static_cast<png_uint_32>(b.Height()), 8, type,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, e.Palette.data(), static_cast<int>(e.Palette.size()));
  png_set_compression_level(png, 6);
  png_write_info(png, info);
  png_set_bgr(png);
  png_write_image(png, e.Rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

// ---- libspng ----------------------------------------------------------------

// Into the layout nearest to ours: palette and grey files without
// transparency as stored, truecolour as red, green, blue, everything else as
// red, green, blue, alpha with tRNS made alpha (16-bit samples reduced).
bool SpngDecode(const std::string& file, std::vector<std::uint8_t>& pixels) {
  spng_ctx* ctx = spng_ctx_new(0);
  if (!ctx) return false;
  bool ok = false;
  spng_ihdr ihdr{};
  spng_trns trns{};
  std::size_t size = 0;
  if (spng_set_png_buffer(ctx, file.data(), file.size()) == 0 && spng_get_ihdr(ctx, &ihdr) == 0) {
    bool keyed = spng_get_trns(ctx, &trns) == 0;
    int format = SPNG_FMT_RGBA8;
    if (!keyed && ihdr.bit_depth <= 8 &&
        (ihdr.color_type == SPNG_COLOR_TYPE_INDEXED || ihdr.color_type == SPNG_COLOR_TYPE_GRAYSCALE))
      format = SPNG_FMT_PNG;
    else if (!keyed && ihdr.bit_depth == 8 && ihdr.color_type == SPNG_COLOR_TYPE_TRUECOLOR)
      format = SPNG_FMT_RGB8;
    if (spng_decoded_image_size(ctx, format, &size) == 0) {
      pixels = std::vector<std::uint8_t>(size);
      ok = spng_decode_image(ctx, pixels.data(), size, format, SPNG_DECODE_TRNS) == 0;
    }
  }
  spng_ctx_free(ctx);
  return ok;
}

// ---- Benchmarks --------------------------------------------------------------

void DecodeOurs(benchmark::State& state, std::vector<std::size_t> which) {
  std::vector<std::unique_ptr<TStringStream>> streams;
  std::int64_t pixels = 0;
  for (std::size_t i : which) {
    streams.push_back(std::make_unique<TStringStream>(Files()[i].Bytes));
    pixels += Files()[i].Pixels;
  }
  for (auto _ : state)
    for (auto& stream : streams) {
      stream->SetPosition(0);
      TPNGImage image;
      image.LoadFromStream(*stream);
      benchmark::DoNotOptimize(image.ScanLine(0));
    }
  state.SetBytesProcessed(state.iterations() * pixels * 4);
}

void DecodeLibpng(benchmark::State& state, std::vector<std::size_t> which) {
  std::int64_t pixels = 0;
  for (std::size_t i : which) pixels += Files()[i].Pixels;
  TLibpngDecode d;
  for (auto _ : state)
    for (std::size_t i : which) {
      if (!LibpngDecode(Files()[i].Bytes, d)) state.SkipWithError("libpng refused the file");
      benchmark::DoNotOptimize(d.Pixels.data());
    }
  state.SetBytesProcessed(state.iterations() * pixels * 4);
}

void DecodeSpng(benchmark::State& state, std::vector<std::size_t> which) {
  std::int64_t pixels = 0;
  for (std::size_t i : which) pixels += Files()[i].Pixels;
  std::vector<std::uint8_t> out;
  for (auto _ : state)
    for (std::size_t i : which) {
      if (!SpngDecode(Files()[i].Bytes, out)) state.SkipWithError("libspng refused the file");
      benchmark::DoNotOptimize(out.data());
    }
  state.SetBytesProcessed(state.iterations() * pixels * 4);
}

void DecodeOnce(TStream& stream) {
  stream.SetPosition(0);
  TPNGImage image;
  image.LoadFromStream(stream);
  benchmark::DoNotOptimize(image.ScanLine(0));
}

// Ours and the other in turn over the same files in each iteration.
void Ratio(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& other) {
  double oursSeconds = 0, otherSeconds = 0;
  for (auto _ : state) {
    auto t0 = ProcessSeconds();
    ours();
    auto t1 = ProcessSeconds();
    other();
    auto t2 = ProcessSeconds();
    oursSeconds += t1 - t0;
    otherSeconds += t2 - t1;
  }
  auto n = static_cast<double>(state.iterations());
  state.counters["ours_us"] = oursSeconds / n * 1e6;
  state.counters["other_us"] = otherSeconds / n * 1e6;
  state.counters["other_over_ours"] = otherSeconds / oursSeconds;
}

void DecodeRatio(benchmark::State& state, std::vector<std::size_t> which, bool spng) {
  TLibpngDecode d;
  std::vector<std::uint8_t> out;
  std::vector<std::unique_ptr<TStringStream>> streams;
  for (std::size_t i : which) streams.push_back(std::make_unique<TStringStream>(Files()[i].Bytes));
  Ratio(
      state,
      [&] {
        for (auto& stream : streams) DecodeOnce(*stream);
      },
      [&] {
        for (std::size_t i : which) {
          bool ok = spng ? SpngDecode(Files()[i].Bytes, out) : LibpngDecode(Files()[i].Bytes, d);
          if (!ok) state.SkipWithError("the other library refused a file");
        }
      });
}

void EncodeRatio(benchmark::State& state, std::size_t which) {
  TPNGImage image;
  TStringStream source(Files()[which].Bytes);
  image.LoadFromStream(source);
  TLibpngEncode e;
  std::size_t size = 0;
  Ratio(
      state,
      [&] {
        TStringStream out;
        image.SaveToStream(out);
        size = out.DataString().size();
      },
      [&] { LibpngEncode(image, e); });
  state.counters["ours_bytes"] = static_cast<double>(size);
  state.counters["other_bytes"] = static_cast<double>(e.Out.size());
}

void EncodeOurs(benchmark::State& state, std::size_t which) {
  TPNGImage image;
  TStringStream source(Files()[which].Bytes);
  image.LoadFromStream(source);
  std::size_t size = 0;
  for (auto _ : state) {
    TStringStream out;
    image.SaveToStream(out);
    size = out.DataString().size();
  }
  state.counters["size"] = static_cast<double>(size);
  state.SetBytesProcessed(state.iterations() * Files()[which].Pixels * 4);
}

void EncodeLibpng(benchmark::State& state, std::size_t which) {
  TPNGImage image;
  TStringStream source(Files()[which].Bytes);
  image.LoadFromStream(source);
  TLibpngEncode e;
  for (auto _ : state)
    if (!LibpngEncode(image, e)) state.SkipWithError("libpng could not write");
  state.counters["size"] = static_cast<double>(e.Out.size());
  state.SetBytesProcessed(state.iterations() * Files()[which].Pixels * 4);
}

const bool kRegistered = [] {
  std::vector<std::size_t> all;
  for (std::size_t i = 0; i < Files().size(); ++i) {
    all.push_back(i);
    const std::string& name = Files()[i].Name;
    benchmark::RegisterBenchmark(("PngDecode/" + name + "/ours").c_str(), DecodeOurs, std::vector<std::size_t>{i});
    benchmark::RegisterBenchmark(("PngDecode/" + name + "/libpng").c_str(), DecodeLibpng, std::vector<std::size_t>{i});
    benchmark::RegisterBenchmark(("PngDecode/" + name + "/libspng").c_str(), DecodeSpng, std::vector<std::size_t>{i});
  }
  benchmark::RegisterBenchmark("PngDecode/all/ours", DecodeOurs, all);
  benchmark::RegisterBenchmark("PngDecode/all/libpng", DecodeLibpng, all);
  benchmark::RegisterBenchmark("PngDecode/all/libspng", DecodeSpng, all);
  // Pictures of up to 16 x 16 pixels: what a per-picture cost weighs most on.
  std::vector<std::size_t> small;
  for (std::size_t i = 0; i < Files().size(); ++i)
    if (Files()[i].Pixels <= 256) small.push_back(i);
  benchmark::RegisterBenchmark("PngRatio/decode_small/libpng", DecodeRatio, small, false);
  benchmark::RegisterBenchmark("PngRatio/decode_small/libspng", DecodeRatio, small, true);
  benchmark::RegisterBenchmark("PngRatio/decode_all/libpng", DecodeRatio, all, false);
  benchmark::RegisterBenchmark("PngRatio/decode_all/libspng", DecodeRatio, all, true);
  for (std::size_t i = 0; i < Files().size(); ++i)
    if (Files()[i].Name.find("pal8") != std::string::npos)
      benchmark::RegisterBenchmark(("PngRatio/encode_" + Files()[i].Name + "/libpng").c_str(), EncodeRatio, i);
  // Encoding the pictures made here: palette, RGB and RGBA.
  for (std::size_t i = 0; i < Files().size(); ++i) {
    const std::string& name = Files()[i].Name;
    if (name.rfind("deb_", 0) == 0) continue;
    benchmark::RegisterBenchmark(("PngEncode/" + name + "/ours").c_str(), EncodeOurs, i);
    benchmark::RegisterBenchmark(("PngEncode/" + name + "/libpng").c_str(), EncodeLibpng, i);
  }
  return true;
}();

}  // namespace
