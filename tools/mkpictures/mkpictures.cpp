// Writes the program's own pictures as PNG files into one folder; the build
// carries them in ov3.exe as "PNGIMG" resources of the same names.
// Usage: mkpictures OUTPUT_DIR
#include <cstdio>
#include <exception>
#include <filesystem>

#include "pictures.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mkpictures OUTPUT_DIR\n");
    return 2;
  }
  try {
    using namespace pictures;
    const std::string dir = argv[1];
    std::filesystem::create_directories(dir);
    const art::TArtCanvas about = AboutPicture();
    SavePicture(about, dir + "/HCABOUT.png");
    SavePicture(about, dir + "/LCABOUT.png", true);
    SavePicture(MessageDialogPicture(), dir + "/OV3MESSAGE.png");
    SavePicture(MessageBoxIcon(miInformation), dir + "/MSGINFORMATION.png");
    SavePicture(MessageBoxIcon(miQuestion), dir + "/MSGQUESTION.png");
    SavePicture(MessageBoxIcon(miExclamation), dir + "/MSGEXCLAMATION.png");
    SavePicture(MessageBoxIcon(miStop), dir + "/MSGSTOP.png");
    SavePicture(PaneFramePicture(), dir + "/PANEFRAME.png");
    SavePicture(ButtonClosePicture(), dir + "/BUTTONCLOSE.png");
    SavePicture(ProgramNamePicture(), dir + "/OV3TEXT.png");
    for (auto* Make : {art::MonitorPictures, art::ModuleMarkPictures})
      for (const auto& [Name, Canvas] : Make()) SavePicture(Canvas, dir + "/" + Name + ".png");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkpictures: %s\n", e.what());
    return 1;
  }
  return 0;
}
