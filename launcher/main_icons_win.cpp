// The bar's icon cache: opened and brought in line with the contents at
// start-up, made anew when the icon size or the stretch rule changes or the
// user asks for it, with the icon panel refilled from it.
#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/pictures/kemimage_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "platform/files.h"

namespace {

// The resource library's "unknown" picture; without one the cache draws its own.
std::unique_ptr<TBitmap> LoadUnknownIconPicture() {
  auto bitmap = std::make_unique<TBitmap>();
  try {
    LoadBitmapResource(*bitmap, "ICONUNKNOWN", ResourceLibraryModule());
  } catch (const Exception&) {
    bitmap->SetSize(0, 0);
  }
  return bitmap->Empty() ? nullptr : std::move(bitmap);
}

}  // namespace

void TfMain::ApplyIconCacheSettings() {
  FIconCache->IconSize = cfgGetInt(ovsIconsSize);
  FIconCache->Stretch = cfgGetInt(ovsIconsStretch);
}

bool TfMain::OpenIconCache() {
  const String dir = GetExeDir();
  const String file = dir + String(kIconCacheFileName);
  const bool missing = !FileExists(file);
  FIconCache = std::make_unique<TIconCache>(file, dir, LoadUnknownIconPicture());
  ApplyIconCacheSettings();
  FIconCache->Sync(FGroupsTag);
  return missing;
}

void TfMain::RebuildIconCache() {
  if (!FIconCache) return;
  ApplyIconCacheSettings();
  // The old pictures stay alive until the panel below has let go of them.
  FIconCache->Rebuild(FGroupsTag);
  SaveContents(true);
  bsGroupsChange();
}
