// The PNG codec against libpng (a test-only oracle of the native build): files
// written by libpng in every colour type, depth and interlacing decode to the
// same pixels here as there; files written here are read by libpng.
#include <gtest/gtest.h>
#include <png.h>

#include "support/libpng_source.h"

#include <cmath>
#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "kem3/pictures/png_test_support.h"
#include "kem3/pictures/pngimage.h"

using namespace pngtest;

namespace {

struct TLibpngFile {
  TSamplePicture Picture;
  bool Interlaced = false;
  std::string Palette;  // red, green, blue bytes
  std::string Trns;     // as the chunk stores it
  std::uint32_t Gamma = 0;
};

void AppendData(png_structp png, png_bytep data, std::size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void FlushNothing(png_structp) {}
void Quiet(png_structp, png_const_charp) {}

// Everything libpng may jump over is made before setjmp.
bool LibpngWrite(const TLibpngFile& f, std::string& out) {
  const TSamplePicture& p = f.Picture;
  std::vector<std::string> packed;
  for (const auto& row : p.Samples) packed.push_back(Pack(row, p.Depth));
  std::vector<png_bytep> rows;
  for (std::string& row : packed) rows.push_back(reinterpret_cast<png_bytep>(row.data()));
  std::vector<png_color> palette;
  for (std::size_t i = 0; i + 2 < f.Palette.size(); i += 3)
    palette.push_back(png_color{static_cast<png_byte>(f.Palette[i]), static_cast<png_byte>(f.Palette[i + 1]),
                                static_cast<png_byte>(f.Palette[i + 2])});
  auto sample = [&](std::size_t at) {
    return static_cast<png_uint_16>((static_cast<std::uint8_t>(f.Trns[at]) << 8) |
                                    static_cast<std::uint8_t>(f.Trns[at + 1]));
  };
  png_color_16 key{};
  if (f.Trns.size() >= 2) key.gray = sample(0);
  if (f.Trns.size() >= 6) {
    key.red = sample(0);
    key.green = sample(2);
    key.blue = sample(4);
  }

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Quiet, Quiet);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendData, FlushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(p.Width), static_cast<png_uint_32>(p.Height), p.Depth, p.ColorType,
               f.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!f.Trns.empty())
    png_set_tRNS(png, info, reinterpret_cast<png_const_bytep>(f.Trns.data()), static_cast<int>(f.Trns.size()), &key);
  if (f.Gamma) png_set_gAMA_fixed(png, info, static_cast<png_fixed_point>(f.Gamma));
  png_set_filter(png, 0, PNG_ALL_FILTERS);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

// libpng's picture as 8-bit red, green, blue, alpha (16-bit samples by their
// high byte; every tRNS made alpha, as it is here).
struct TLibpngPicture {
  int Width = 0, Height = 0;
  std::vector<std::uint8_t> Pixels, Buffer;
  std::vector<png_bytep> Rows;
  TLibpngSource Reader{};
};

bool LibpngRead(const std::string& file, TLibpngPicture& pic) {
  pic.Reader = TLibpngSource{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Quiet, Quiet);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &pic.Reader, ReadLibpngSource);
  png_read_info(png, info);
  int type = png_get_color_type(png, info), depth = png_get_bit_depth(png, info);
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  pic.Width = static_cast<int>(png_get_image_width(png, info));
  pic.Height = static_cast<int>(png_get_image_height(png, info));
  int channels = png_get_channels(png, info);
  int bytes = png_get_bit_depth(png, info) / 8;
  std::size_t rowBytes = png_get_rowbytes(png, info);
  pic.Buffer.resize(rowBytes * static_cast<std::size_t>(pic.Height));
  for (int y = 0; y < pic.Height; ++y) pic.Rows.push_back(pic.Buffer.data() + rowBytes * static_cast<std::size_t>(y));
  png_read_image(png, pic.Rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  for (int y = 0; y < pic.Height; ++y)
    for (int x = 0; x < pic.Width; ++x) {
      const std::uint8_t* s = pic.Rows[static_cast<std::size_t>(y)] + static_cast<std::size_t>(x * channels * bytes);
      for (int c = 0; c < 4; ++c) pic.Pixels.push_back(c < channels ? s[c * bytes] : 255);
    }
  return true;
}

int GammaOf(int v, std::uint32_t stored) {
  if (!stored) return v;
  return static_cast<int>(std::nearbyint(255.0 * std::pow(v / 255.0, 1.0 / (stored / 100000.0 * 2.2))));
}

// Our picture against libpng's, pixel for pixel; gamma as this codec applies it.
void ExpectSameAsLibpng(const std::string& file, std::uint32_t gamma, const std::string& what) {
  TLibpngPicture reference;
  ASSERT_TRUE(LibpngRead(file, reference)) << what;
  TPNGImage image;
  Load(image, file);
  ASSERT_EQ(image.Width(), reference.Width) << what;
  ASSERT_EQ(image.Height(), reference.Height) << what;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      TRGBQuad ours = Pixel(image, x, y);
      const std::uint8_t* ref = &reference.Pixels[static_cast<std::size_t>((y * reference.Width + x) * 4)];
      TRGBQuad theirs{static_cast<std::uint8_t>(GammaOf(ref[2], gamma)),
                      static_cast<std::uint8_t>(GammaOf(ref[1], gamma)),
                      static_cast<std::uint8_t>(GammaOf(ref[0], gamma)), ref[3]};
      ASSERT_EQ(ours, theirs) << what << " at " << x << "," << y;
    }
}

struct TKind {
  int ColorType, Depth;
};
const TKind kKinds[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                        {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

TEST(PngLibpng, FilesWrittenByLibpngDecodeToTheSamePixels) {
  int files = 0;
  unsigned seed = 1;
  for (const TKind& k : kKinds)
    for (bool interlaced : {false, true})
      for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {7, 5}, {33, 17}, {64, 40}})
        for (int variant = 0; variant < 3; ++variant) {
          TLibpngFile f;
          int entries = k.ColorType == 3 ? std::min(1 << k.Depth, variant == 1 ? 3 : 256) : 0;
          f.Picture = MakeSamples(w, h, k.Depth, k.ColorType, ++seed, static_cast<unsigned>(std::max(entries - 1, 0)));
          f.Interlaced = interlaced;
          for (int i = 0; i < entries; ++i)
            f.Palette += {static_cast<char>(i * 13), static_cast<char>(255 - i), static_cast<char>(i * i)};
          if (variant == 1) {
            // With transparency where the type allows it.
            if (k.ColorType == 3)
              for (int i = 0; i < entries - 1; ++i) f.Trns += static_cast<char>(i * 100);
            if (k.ColorType == 0) f.Trns = BE16(f.Picture.At(0, 0, 0));
            if (k.ColorType == 2)
              f.Trns = BE16(f.Picture.At(0, 0, 0)) + BE16(f.Picture.At(0, 0, 1)) + BE16(f.Picture.At(0, 0, 2));
          }
          if (variant == 2) f.Gamma = (seed % 2) ? 100000 : 45455;
          std::string file;
          ASSERT_TRUE(LibpngWrite(f, file));
          std::string what = std::to_string(k.ColorType) + "/" + std::to_string(k.Depth) + (interlaced ? " i " : " ") +
                             std::to_string(w) + "x" + std::to_string(h) + " v" + std::to_string(variant);
          ExpectSameAsLibpng(file, f.Gamma == 45455 ? 0 : f.Gamma, what);
          ++files;

          if (variant == 1 && k.ColorType == 2) {
            TPNGImage image;
            Load(image, file);
            EXPECT_TRUE(image.Transparent());
            int shift = k.Depth == 16 ? 8 : 0;
            EXPECT_EQ(image.TransparentColor(), RGBColor(static_cast<int>(f.Picture.At(0, 0, 0) >> shift),
                                                         static_cast<int>(f.Picture.At(0, 0, 1) >> shift),
                                                         static_cast<int>(f.Picture.At(0, 0, 2) >> shift)));
          }
        }
  EXPECT_EQ(files, 15 * 2 * 5 * 3);
}

TEST(PngLibpng, FilesWrittenHereAreReadByLibpng) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit})
    for (auto [w, h] : {std::pair{1, 1}, {5, 3}, {31, 9}, {200, 60}})
      for (std::uint8_t filters : {std::uint8_t{pfNone}, std::uint8_t{27}, std::uint8_t{31}}) {
        TPNGImage image;
        image.SetPixelFormat(format);
        image.SetSize(w, h);
        std::uint32_t state = static_cast<std::uint32_t>(w * 7 + format);
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            image.SetPixelColor(x, y, (x / 8 + y) % 3 ? RGBColor(x * 5, y * 9, 40) : static_cast<TColor>(state >> 8));
          }
        if (format == pf32bit)
          for (int y = 0; y < h; ++y)
            static_cast<std::uint8_t*>(image.ScanLine(y))[3] = static_cast<std::uint8_t>(y * 4);
        image.SetFilters(filters);
        ExpectSameAsLibpng(Save(image), 0,
                           "format " + std::to_string(format) + " " + std::to_string(w) + "x" + std::to_string(h));
      }
}

// PNG files Debian's packages of this machine ship under /usr/share: each kind
// (colour type, depth, interlacing) with up to PerKind files spread over the
// sorted list, small enough for a sanitised test run.
std::vector<std::filesystem::path> InstalledPngFiles(std::size_t PerKind) {
  std::map<std::string, std::vector<std::filesystem::path>> byKind;
  std::error_code error;
  auto options = std::filesystem::directory_options::skip_permission_denied;
  for (std::filesystem::recursive_directory_iterator it("/usr/share", options, error), end; !error && it != end;
       it.increment(error)) {
    if (it->path().extension() != ".png" || !it->is_regular_file(error) || it->file_size(error) > 400000) continue;
    std::ifstream in(it->path(), std::ios::binary);
    char head[29];
    if (!in.read(head, sizeof head) || std::string_view(head, 8) != kSignature) continue;
    std::string header(head + 16, 13);
    std::uint64_t pixels = std::uint64_t{ReadBE32(header, 0)} * ReadBE32(header, 4);
    if (pixels > 1500000) continue;
    byKind[std::to_string(header[9]) + "/" + std::to_string(header[8]) + "/" + std::to_string(header[12])].push_back(
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

TEST(PngLibpng, InstalledPngFilesDecodeToTheSamePixels) {
  std::vector<std::filesystem::path> files = InstalledPngFiles(25);
  if (files.empty()) GTEST_SKIP() << "no PNG files under /usr/share";
  for (const auto& path : files) {
    TMemoryStream stream;
    stream.LoadFromFile(path.string());
    std::string file(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
    TPNGImage image;
    Load(image, file);
    TChunkGAMA* gamma = image.Chunks().FindBeforeData<TChunkGAMA>();
    std::uint32_t stored = gamma && gamma->Active() && !gamma->Identity() ? gamma->Gamma() : 0;
    ExpectSameAsLibpng(file, stored, path.string());
  }
  RecordProperty("files", static_cast<int>(files.size()));
}

}  // namespace
