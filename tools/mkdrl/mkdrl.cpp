// Writes the resource packages of the bar modules, with art drawn by code.
// Usage: mkdrl OUTPUT_DIR   (writes OUTPUT_DIR/clkdashlight.drl, caldeskred.drl,
// binclear.drl and battery.drl; with --png, also every picture as NAME_ENTRY.png
// for a look at the art)
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "artpackages.h"
#include "kem3/framework/kemres.h"
#include "platform/files.h"
#include "platform/streams.h"

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
    WritePackageFile(folder, "clkdashlight.drl", art::ClockPackage(), "ovanalogclock", "Dash Light", pngs);
    WritePackageFile(folder, "caldeskred.drl", art::CalendarPackage(), "ovcalendar", "Desk Red", pngs);
    WritePackageFile(folder, "binclear.drl", art::RecycleBinPackage(), "ovrecyclebin", "Clear", pngs);
    WritePackageFile(folder, "battery.drl", art::BatteryPackage(), "ovpower", "Battery", pngs);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkdrl: %s\n", e.what());
    return 1;
  }
  return 0;
}
