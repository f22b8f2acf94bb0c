// The file browser's list icons, loaded by name from the resource library.
#include "kem3/browser/kembrowser_icons_win.h"

#include <memory>
#include <type_traits>
#include <vector>

#include "kem3/controls/kemform_win.h"
#include "platform/unicode_convert.h"

namespace {

struct TIconRelease {
  void operator()(HICON Icon) const { DestroyIcon(Icon); }
};
using TIconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, TIconRelease>;

TIconHandle LoadNamedIcon(const String& Name, int Size) {
  HMODULE library = LoadResourceLibrary();
  if (!library) return nullptr;
  const WideString name = Utf8ToWide(Name);
  return TIconHandle(static_cast<HICON>(
      LoadImageW(library, reinterpret_cast<LPCWSTR>(name.c_str()), IMAGE_ICON, Size, Size, LR_DEFAULTCOLOR)));
}

// A picture that shows nothing: its mask all transparent.
TIconHandle BlankIcon(int Size) {
  const std::size_t bytes = static_cast<std::size_t>((Size + 15) / 16 * 2 * Size);
  const std::vector<BYTE> mask(bytes, 0xFF), colour(bytes, 0);
  return TIconHandle(CreateIcon(nullptr, Size, Size, 1, 1, mask.data(), colour.data()));
}

}  // namespace

TBrowserIcons::TBrowserIcons(int Size)
    : FHandle(ImageList_Create(Size, Size, ILC_COLOR32 | ILC_MASK, 8, 8)), FSize(Size) {}

TBrowserIcons::~TBrowserIcons() {
  if (FHandle) ImageList_Destroy(FHandle);
}

int TBrowserIcons::Add(const String& Name) {
  TIconHandle icon = LoadNamedIcon(Name, FSize);
  if (!icon) icon = LoadNamedIcon(BrowserIconFile, FSize);
  // Nothing loads (no library): an empty picture keeps the places in step.
  if (!icon) icon = BlankIcon(FSize);
  return ImageList_AddIcon(FHandle, icon.get());
}

int TBrowserIcons::Count() const { return ImageList_GetImageCount(FHandle); }
