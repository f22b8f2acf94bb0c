// Writes our skins: one folder per skin with its definition "skin.xml", the
// pictures it names and its preview "skin.png", all drawn by code.
// Usage: mkskin OUTPUT_DIR   (the folder "Skins" beside the program)
#include <cstdio>
#include <exception>

#include "skins.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: mkskin OUTPUT_DIR\n");
    return 2;
  }
  try {
    for (const skin::TSkinDef& s : skin::OurSkins()) skin::WriteSkin(s, argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkskin: %s\n", e.what());
    return 1;
  }
  return 0;
}
