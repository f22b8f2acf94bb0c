// The bar's four context menus as lists of action ids, which of them a right
// click opens, and the file of an entry's picture in the skin's folder.
#pragma once
#include <array>
#include <span>

#include "launcher/ov3actions.h"
#include "platform/types.h"

enum TOvBarMenu { obmMain, obmAlign, obmIcons, obmGroups };
inline constexpr int kBarMenuCount = 4;
// The skin's layout names of the menus (and their logos), in TOvBarMenu order.
inline constexpr std::array<const char*, kBarMenuCount> kBarMenuNames = {"main", "align", "icons", "groups"};

// An entry: the action it runs (0: a separator); the action that opens the
// align menu as its submenu.
inline constexpr int kMenuSeparator = 0;
inline constexpr int kAlignMenuAction = ovaAlignMenu;
std::span<const int> BarMenuEntries(TOvBarMenu Menu);

// Where the right button went up.
struct TOvRightClick {
  bool OnIconPanel = false;
  bool IconSelected = false;
  bool OnGroupButton = false;
};
// The icons menu over the icon panel with an icon selected, the groups menu
// over a group button, else the main menu.
TOvBarMenu BarMenuForRightClick(const TOvRightClick& Click);

// "Icons\<id>.ico" in the skin's folder (which ends in its delimiter).
String MenuPictureFile(const String& SkinDir, int ActionId);

class TBitmap;
// The entry picture of an icon file: its best image of at most 16 pixels and
// 32 bits, or when that is smaller than 16 the best of at most 48, as a 16×16
// picture with straight alpha (larger ones scaled, smaller ones centred).
// False, Picture untouched, when the file is missing or holds no usable image.
bool LoadMenuPicture(const String& FileName, TBitmap& Picture);
