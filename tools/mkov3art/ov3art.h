// The pictures ov3.exe carries as resources, each drawn by code.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "../mkdrl/artcanvas.h"

namespace art {

using TNamedPictures = std::vector<std::pair<std::string, TArtCanvas>>;

// "MONITORLEFT", "MONITORRIGHT", "MONITORMID", "MONITORFOOT": the small
// monitor of the screen-area page.
TNamedPictures MonitorPictures();
// "MODULEACTIVE", "MODULEINACTIVE": the marks of the modules page.
TNamedPictures ModuleMarkPictures();

}  // namespace art
