// The browser in place and the file types of the launcher's preview handlers.
#include "launcher/ov3browse.h"

#include "kem3/framework/kemlan.h"
#include "launcher/ov3cfg.h"
#include "platform/unicode_convert.h"

namespace {

std::unique_ptr<TOvBrowser>& Current() {
  static std::unique_ptr<TOvBrowser> browser;
  return browser;
}

TOvFileType FileType(int TextIndex, const char16_t* Default, const char* Patterns) {
  return {TranslateIndex(TextIndex, Default) + u" (" + Utf8ToWide(Patterns) + u")", Patterns};
}

}  // namespace

TOvBrowser* OvBrowser() { return Current().get(); }

std::unique_ptr<TOvBrowser> SetOvBrowser(std::unique_ptr<TOvBrowser> Browser) {
  std::swap(Current(), Browser);
  return Browser;
}

std::vector<TOvFileType> BrowseFileTypes(int Preview) {
  std::vector<TOvFileType> types;
  if (Preview == kPreviewPrograms) types.push_back(FileType(250, u"Programs", "*.exe;*.com;*.bat"));
  // "*." offers files without an extension: Mac icon files often have none.
  if (Preview == kPreviewIcons)
    types.push_back(
        FileType(251, u"Icons and pictures", "*.bmp;*.png;*.jpg;*.ico;*.icl;*.dll;*.exe;*.icns;*.icontainer;*."));
  types.push_back(FileType(252, u"All files", "*.*"));
  return types;
}

int BrowseFileTypeSetting(int Preview) {
  if (Preview == kPreviewPrograms) return ovsBrowserFltPrograms;
  if (Preview == kPreviewIcons) return ovsBrowserFltIcons;
  return 0;
}
