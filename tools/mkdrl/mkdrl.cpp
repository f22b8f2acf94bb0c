// Writes the resource packages of the bar modules, with art drawn by code.
// Usage: mkdrl OUTPUT_DIR   (writes each module's package, clkdashlight.drl,
// caldeskred.drl, binclear.drl and battery.drl, into OUTPUT_DIR; with --png,
// also every picture as NAME_ENTRY.png for a look at the art)
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "artpackages.h"
#include "kem3/framework/kemres.h"
#include "launcher/ov3modrules.h"
#include "platform/files.h"
#include "platform/streams.h"
#include "platform/sysutils.h"

namespace {

// "libid" ties a package to its module (the modules page offers only packages
// whose "libid" is the parameter's "list" value); "name" is what it shows.
void WritePackageFile(const String& Folder, const String& Name, art::TPackage Items, const String& LibId,
                      const String& Title, bool Pngs) {
  Items.insert(Items.begin(), {art::StringItem("libid", LibId), art::StringItem("name", Title)});
  TMemoryStream out;
  kempack::WritePackage(out, Items);
  out.SaveToFile(Folder + "/" + Name);
  if (!Pngs) return;
  for (const auto& item : Items) {
    if (item.Kind != rkImage) continue;
    // The payload is the type byte and an image block: the PNG follows its 9 header bytes.
    TMemoryStream png;
    png.WriteBytes(std::string_view(item.Payload).substr(9));
    png.SaveToFile(Folder + "/" + Name.substr(0, Name.find('.')) + "_" + item.Name + ".png");
  }
}

// The art of a module's package and the name the modules page shows for it.
struct TPackageArt {
  art::TPackage (*Draw)();
  const char* Title;
};

TPackageArt ArtOf(TOvModuleKind Kind) {
  switch (Kind) {
    case omkAnalogClock:
      return {art::ClockPackage, "Dash Light"};
    case omkCalendar:
      return {art::CalendarPackage, "Desk Red"};
    case omkRecycleBin:
      return {art::RecycleBinPackage, "Clear"};
    case omkBattery:
      return {art::BatteryPackage, "Battery"};
  }
  throw Exception("No art for the module " + IntToStr(Kind));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mkdrl OUTPUT_DIR [--png]\n");
    return 2;
  }
  try {
    const String folder = argv[1];
    const bool pngs = argc > 2 && std::strcmp(argv[2], "--png") == 0;
    if (!ForceDirectories(folder)) throw Exception("Cannot create " + folder);
    // The package each module starts with, tied to it by its library id.
    for (const TOvModuleInfo& module : kModules) {
      const TPackageArt art = ArtOf(module.Kind);
      WritePackageFile(folder, module.Package, art.Draw(), module.Library, art.Title, pngs);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkdrl: %s\n", e.what());
    return 1;
  }
  return 0;
}
