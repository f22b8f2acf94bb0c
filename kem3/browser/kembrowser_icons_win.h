// The file browser's own list pictures: named icons of the resource library
// (kem3.dll, drawn by our tools) in a system image list for list views.
#pragma once
#include "platform/winapi_win.h"

#include <commctrl.h>

#include "platform/types.h"

// The names the resource library carries.
inline constexpr char BrowserIconFile[] = "FILE";
inline constexpr char BrowserIconImage[] = "BROWSERIMAGE";
inline constexpr char BrowserIconFolder[] = "BROWSERFOLDER";
inline constexpr char BrowserIconDrive[] = "BROWSERDRIVE";
inline constexpr char BrowserIconServer[] = "BROWSERSERVER";
inline constexpr char BrowserIconShare[] = "BROWSERSHARE";
inline constexpr char BrowserIconFavourite[] = "BROWSERFAVOURITE";

class TBrowserIcons {
 public:
  // Pictures Size pixels square (16 for small, 32 for large lists).
  explicit TBrowserIcons(int Size);
  ~TBrowserIcons();
  TBrowserIcons(const TBrowserIcons&) = delete;
  TBrowserIcons& operator=(const TBrowserIcons&) = delete;

  // Adds the icon of the name and returns its index. A name that cannot load
  // takes "FILE" (and an empty picture when even that is missing), so the
  // index of the n-th name added is always n.
  int Add(const String& Name);
  int Count() const;
  // For LVM_SETIMAGELIST and the like; stays this object's.
  HIMAGELIST Handle() const { return FHandle; }

 private:
  HIMAGELIST FHandle;
  int FSize;
};
