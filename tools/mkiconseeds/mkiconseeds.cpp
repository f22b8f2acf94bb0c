// Writes the seed files of the icon fuzz targets with our own icon writers:
// icon files of every depth, a 16-bit icon library, icon families and the
// Mac containers around them. Usage: mkiconseeds FUZZ_SEEDS_FOLDER
// (the seeds are kept in fuzz/seeds/; run again when the writers change).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/common/iconwriter.h"

using namespace iconwriter;

namespace {

void Write(const std::filesystem::path& Folder, const std::string& Target, const std::string& Name,
           const std::string& Bytes) {
  std::filesystem::create_directories(Folder / Target);
  std::ofstream(Folder / Target / Name, std::ios::binary) << Bytes;
}

TIcoEntry Image(int Size, int Bits) {
  return {Size,
          Size,
          0,
          1,
          Bits,
          DibImage(
              Size, Size, Bits, [](int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(x * 9 + y); },
              [](int x, int) { return x % 3 == 0; })};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path out(argv[1]);
  Write(out, "icon_ico_fuzz", "depths.ico",
        IcoFile({Image(16, 1), Image(16, 4), Image(16, 8), Image(8, 16), Image(8, 24), Image(8, 32)}));
  Write(out, "icon_ne_fuzz", "library.icl", NeLibrary({{{Image(16, 4), Image(32, 8)}}, {{Image(16, 32)}}}, {"A", "B"}));
  const std::string family = IcnsFamily({{"ICN#", std::string(256, '\x0F')},
                                         {"icl8", std::string(1024, '\x07')},
                                         {"is32", std::string(300, '\x83')},
                                         {"s8mk", std::string(256, '\x80')}});
  Write(out, "icns_fuzz", "family.icns", family);
  Write(out, "icns_fuzz", "applesingle.bin", AppleSingle(ResourceFork({family})));
  Write(out, "icns_fuzz", "macbinary.bin", MacBinary("data", ResourceFork({family})));
  Write(out, "icns_fuzz", "typedstream.bin", TypedStream({family, family}));
  Write(out, "rsrcfork_fuzz", "fork.rsrc", ResourceFork({family, family}));
  // The typed-stream target puts its own header in front.
  Write(out, "typedstream_fuzz", "array.bin", TypedStream({family}).substr(1 + 12 + 5));
  return 0;
}
