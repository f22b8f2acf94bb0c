// Makes language files from the text catalogues kept in the repository
// (resources/lang/*.txt; the format is described in kemlancatalog.h).
// Usage: mklan [--old | --stored] OUTPUT_DIR CATALOGUE...
//   writes OUTPUT_DIR/NAME.lan for each CATALOGUE NAME.txt: the tagged-block
//   format with zlib-packed blocks (--stored: blocks left unpacked, easy to
//   read in a hex viewer), or with --old the older header format (names
//   LZSS-packed, texts XOR-transformed, flag pictures LZSS-packed).
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "kem3/framework/kemlancatalog.h"
#include "kem3/framework/kemlanfile.h"
#include "kem3/framework/kemlanwrite.h"
#include "mklan_flags.h"
#include "platform/bitmap.h"
#include "platform/files.h"
#include "platform/graphics.h"
#include "platform/sysutils.h"

namespace {

// The picture on a plain ground, as the older format stores its flags.
void OnGround(const TPNGImage& Picture, TColor Ground, TBitmap& Out) {
  Out.SetPixelFormat(pf24bit);
  Out.SetSize(Picture.Width(), Picture.Height());
  const TColor ground = ColorToRGB(Ground);
  for (int y = 0; y < Picture.Height(); ++y) {
    const auto* row = static_cast<const std::uint8_t*>(Picture.ScanLine(y));
    for (int x = 0; x < Picture.Width(); ++x) {
      const int a = row[4 * x + 3];
      const auto mix = [a](int s, int d) { return (s * a + d * (255 - a) + 127) / 255; };
      Out.SetPixelColor(x, y,
                        RGBColor(mix(row[4 * x + 2], GetRed(ground)), mix(row[4 * x + 1], GetGreen(ground)),
                                 mix(row[4 * x], GetBlue(ground))));
    }
  }
}

enum TFormat { fmtTagged, fmtStored, fmtOld };

void Make(const String& Catalogue, const String& OutputDir, TFormat Format) {
  const TLanCatalogue catalogue = ParseLanCatalogue(ReadFileBytes(Catalogue));
  std::unique_ptr<TPNGImage> flag;
  if (!catalogue.Flag.empty()) {
    flag = DrawFlag(catalogue.Flag);
    if (!flag) throw Exception("unknown flag \"" + catalogue.Flag + "\"");
  }
  TMemoryStream out;
  if (Format == fmtOld) {
    TBitmap normal, selected;
    if (flag) {
      OnGround(*flag, clWindow, normal);
      OnGround(*flag, clHighlight, selected);
    }
    WriteLanguageFile2(out, catalogue, lan2::kNamesLzss | lan2::kTextsXor | lan2::kPicturesLzss, &normal, &selected);
  } else {
    WriteLanguageFile3(out, catalogue, flag.get(), Format == fmtTagged);
  }
  out.SaveToFile(IncludeTrailingPathDelimiter(OutputDir) + ChangeFileExt(ExtractFileName(Catalogue), ".lan"));
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<String> args(argv + 1, argv + argc);
  TFormat format = fmtTagged;
  if (!args.empty() && (args[0] == "--old" || args[0] == "--stored")) {
    format = args[0] == "--old" ? fmtOld : fmtStored;
    args.erase(args.begin());
  }
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: mklan [--old | --stored] OUTPUT_DIR CATALOGUE...\n");
    return 2;
  }
  if (!ForceDirectories(args[0])) {
    std::fprintf(stderr, "mklan: cannot create %s\n", args[0].c_str());
    return 1;
  }
  for (size_t i = 1; i < args.size(); ++i) {
    try {
      Make(args[i], args[0], format);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s:%s\n", args[i].c_str(), e.what());
      return 1;
    }
  }
  return 0;
}
