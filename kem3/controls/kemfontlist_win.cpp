// The screen's font names.
#include "kem3/controls/kemfontlist_win.h"

#include <windows.h>

#include <algorithm>

#include "platform/dc_win.h"
#include "platform/sysutils.h"

namespace {

int CALLBACK AddFace(const LOGFONTW* Font, const TEXTMETRICW*, DWORD, LPARAM List) {
  const auto* face = reinterpret_cast<const WideChar*>(Font->lfFaceName);
  if (face[0] != u'@' && face[0] != 0) reinterpret_cast<std::vector<WideString>*>(List)->emplace_back(face);
  return 1;
}

std::vector<WideString> ReadFontNames() {
  std::vector<WideString> names;
  {
    TScreenDC screen;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(screen.Handle(), &query, AddFace, reinterpret_cast<LPARAM>(&names), 0);
  }
  std::sort(names.begin(), names.end(),
            [](const WideString& a, const WideString& b) { return WideCompareText(a, b) < 0; });
  names.erase(std::unique(names.begin(), names.end(),
                          [](const WideString& a, const WideString& b) { return WideCompareText(a, b) == 0; }),
              names.end());
  return names;
}

}  // namespace

const std::vector<WideString>& ScreenFontNames() {
  static const std::vector<WideString> names = ReadFontNames();
  return names;
}
