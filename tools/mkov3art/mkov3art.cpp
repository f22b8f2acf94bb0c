// mkov3art: draws the pictures ov3.exe carries and writes them as PNG files
// with a resource script naming each one a "PNGIMG" resource.
// Usage: mkov3art OUTPUT_DIR   (writes OUTPUT_DIR/ov3art.rc and NAME.png;
// the script names the files by the folder given)
#include <cstdio>
#include <exception>
#include <fstream>
#include <memory>

#include "kem3/graphics/pngimage.h"
#include "ov3art.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkov3art OUTPUT_DIR\n");
    return 2;
  }
  try {
    const std::string Folder = argv[1];
    std::string Script = "// Pictures of ov3.exe, drawn by mkov3art.\n";
    for (auto* Make : {art::MonitorPictures, art::ModuleMarkPictures}) {
      for (const auto& [Name, Canvas] : Make()) {
        const std::string File = Folder + "/" + Name + ".png";
        Canvas.ToPNG()->SaveToFile(File);
        Script += Name + " PNGIMG \"" + File + "\"\n";
      }
    }
    std::ofstream(Folder + "/ov3art.rc", std::ios::binary) << Script;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkov3art: %s\n", e.what());
    return 1;
  }
  return 0;
}
