// Our skins: their colours, their layouts and how a skin folder is written
// (the definition "skin.xml", its pictures and the preview "skin.png").
#pragma once
#include <string>
#include <vector>

#include "skinart.h"

namespace skin {

// The colours of one layout.
struct TPalette {
  TColour BackFirst, BackLast;  // the bar's gradient: top to bottom, or left to right on a vertical bar
  TColour RingDark, RingLight;  // the window's outline
  TColour Text, TextShadow, TextDim, TextStrong;
  TColour Hover, Selected, SelectedRing;  // icon cells
  TColour Tab, TabPressed;                // the selected group button
  TColour Slider;
  TColour MenuBack, MenuRing, MenuText, MenuTextOver, MenuOver;
  TColour HintBack, HintRing, HintText;
  TColour Logo;
};

struct TLayoutDef {
  std::string Id;
  std::string Title;
  std::string Base;    // the layout loaded first ("" for none)
  std::string Suffix;  // added to the names and files of this layout's own items
  TPalette Colours;
  bool OwnContainers = true;  // false: the base's slots serve
};

struct TSkinDef {
  std::string Folder;  // "" for the skin folder itself
  std::string Title;
  bool Vertical = false;
  std::string Mode;  // "horizontal", "verticalup" or "verticaldown"
  std::vector<TLayoutDef> Layouts;
};

// The skins we ship.
std::vector<TSkinDef> OurSkins();
// Writes one skin into Folder/<skin folder>/ (into Folder for the default skin).
void WriteSkin(const TSkinDef& Skin, const std::string& Folder);
// Some menu pictures of the default skin (menupictures.cpp).
void WriteMenuPictures(const std::string& SkinDir);

}  // namespace skin
