// The program's own pictures, drawn by code with the package art's canvas:
// the start-up splash, the pictures of the message dialog and box, of the
// preference pages and of the information dialog.
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

namespace pictures {

// The splash: 300 × 156, the grey title line fits at (2, 142) and the white
// status line at (21, 120).
art::TArtCanvas AboutPicture();

// 64 × 64: the confirmation dialog's picture (a sheet going into the bin).
art::TArtCanvas MessageDialogPicture();

enum TMessageIcon { miInformation, miQuestion, miExclamation, miStop };
// 64 × 64: the message box's picture of that kind.
art::TArtCanvas MessageBoxIcon(TMessageIcon Kind);

// 18 x 18: the rounded frame behind the editors' rows (corners and edges of 6).
art::TArtCanvas PaneFramePicture();
// 10 x 10: the cross of a row's delete button.
art::TArtCanvas ButtonClosePicture();

// 140 x 24: the program's name as the information dialog's program entry shows it, on its blocks' grey.
art::TArtCanvas ProgramNamePicture();

// Writes the picture as a 32-bit PNG file, or with Colours256 as a PNG of at
// most 256 colours (a palette of the picture's own most used colours).
void SavePicture(const art::TArtCanvas& Picture, const std::string& FileName, bool Colours256 = false);

}  // namespace pictures
