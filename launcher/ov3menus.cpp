// The bar's context menus: entries, the menu of a right click, picture files.
#include "launcher/ov3menus.h"

#include <string>

#include "kem3/graphics/kemicons.h"
#include "platform/bitmap.h"
#include "platform/exceptions.h"
#include "platform/files.h"

namespace {

constexpr int kMain[] = {ovaNewIcon,     ovaNewBatchIcon, ovaRebuildIconCache, kMenuSeparator,   ovaNewGroup,
                         ovaDeleteGroup, ovaEditGroup,    kMenuSeparator,      kAlignMenuAction, ovaAutoHide,
                         kMenuSeparator, ovaPreferences,  ovaInformation,      kMenuSeparator,   ovaExit};
constexpr int kAlign[] = {ovaScreenSnap, kMenuSeparator, ovaAlignTop, ovaAlignBottom, ovaAlignLeft, ovaAlignRight};
constexpr int kIcons[] = {ovaNewIcon, ovaNewBatchIcon, ovaDeleteIcon, ovaCopyIcon, kMenuSeparator, ovaEditIcon};
constexpr int kGroups[] = {ovaNewGroup, ovaDeleteGroup, kMenuSeparator, ovaEditGroup};

}  // namespace

std::span<const int> BarMenuEntries(TOvBarMenu Menu) {
  switch (Menu) {
    case obmAlign:
      return kAlign;
    case obmIcons:
      return kIcons;
    case obmGroups:
      return kGroups;
    case obmMain:
      break;
  }
  return kMain;
}

TOvBarMenu BarMenuForRightClick(const TOvRightClick& Click) {
  if (Click.OnIconPanel && Click.IconSelected) return obmIcons;
  if (Click.OnGroupButton) return obmGroups;
  return obmMain;
}

String MenuPictureFile(const String& SkinDir, int ActionId) {
  return SkinDir + "Icons\\" + std::to_string(ActionId) + ".ico";
}

bool LoadMenuPicture(const String& FileName, TBitmap& Picture) {
  if (!FileExists(FileName)) return false;
  try {
    TKemIcons icons;
    icons.LoadFromFile(FileName);
    const TKemIconGroup* group = icons.GetGroup(0);
    const TKemIconImage* image = group ? group->BestImage(16, 32) : nullptr;
    if (image && image->Width < 16) image = group->BestImage(48, 32);
    if (!image) return false;
    TBitmap colour, mask;
    colour.SetPixelFormat(pf32bit);
    colour.SetSize(16, 16);
    image->Draw(colour, mask, image->Width > 16, true);
    Picture.Assign(colour);
    return true;
  } catch (const Exception&) {
    return false;  // a damaged picture leaves the entry without one
  }
}
