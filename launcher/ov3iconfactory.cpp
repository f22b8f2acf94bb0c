// Icons made from files, shell links, internet shortcuts and web addresses.
#include "launcher/ov3iconfactory.h"

#include "kem3/dragdrop/dropblocks.h"
#include "kem3/unicode/ucsystem.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

// A drop's names past the parsers' caps are only counted: the bar must not want more.
static_assert(kMaxDroppedFiles <= kMaxDropFileNames && kMaxDroppedFiles <= kMaxIDListArrayItems);

namespace {

bool IsWordBreak(char16_t c) { return c == u' ' || c == u'-' || c == u'_' || c == u'.'; }

String BaseName(const String& FileName) { return ChangeFileExt(ExtractFileName(FileName), ""); }

// A new "icon" of type "program" with its "application" and "image" children.
TKemXmlTagPtr NewProgramIcon(const String& Title, const String& Target, const String& Folder, const String& Image,
                             const String& Index) {
  auto icon = std::make_unique<TKemXmlTag>(nullptr, "icon");
  icon->WriteAttr("title", CutIconTitle(Title));
  icon->WriteAttr("type", "program");
  TKemXmlTag* application = icon->AddTag("application");
  application->WriteAttr("filename", Target);
  application->WriteAttr("folder", Folder);
  TKemXmlTag* image = icon->AddTag("image");
  image->WriteAttr("filename", Image);
  image->WriteAttr("index", Index);
  return icon;
}

}  // namespace

String TitleCase(std::string_view Text) {
  const WideString lower = WideLowerCase(Utf8ToWide(Text));
  WideString title;
  title.reserve(lower.size());
  bool wordStart = true;
  for (size_t i = 0; i < lower.size(); ++i) {
    const char16_t c = lower[i];
    if (wordStart && !IsWordBreak(c)) {
      // A letter outside the basic plane is one pair of code units.
      const size_t length = (c >= 0xD800 && c < 0xDC00 && i + 1 < lower.size()) ? 2 : 1;
      title += WideUpperCase(std::u16string_view(lower).substr(i, length));
      i += length - 1;
      wordStart = false;
      continue;
    }
    title += c;
    wordStart = IsWordBreak(c);
  }
  return WideToUtf8(title);
}

String CutIconTitle(const String& Title) {
  // Each UTF-16 code unit takes at least one byte of UTF-8.
  if (Title.size() <= kMaxIconTitleLength) return Title;
  WideString wide = Utf8ToWide(Title);
  if (wide.size() <= kMaxIconTitleLength) return Title;
  wide.resize(WholeCharsLength(wide, kMaxIconTitleLength));
  return WideToUtf8(wide);
}

std::size_t UrlLength(std::string_view Url) {
  std::size_t length = 0;
  for (std::size_t pos = 0; pos < Url.size();) length += DecodeUtf8At(Url, pos) >= 0x10000 ? 2 : 1;
  return length;
}

String TitleFromFileName(const String& FileName) { return TitleCase(BaseName(FileName)); }

String TitleFromUrl(const String& Url) {
  std::string_view rest = Url;
  const size_t scheme = rest.find("://");
  // Only a leading scheme: letters, digits, "+", "-" and "." before "://".
  if (scheme != std::string_view::npos && scheme > 0 &&
      rest.substr(0, scheme).find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.") ==
          std::string_view::npos)
    rest.remove_prefix(scheme + 3);
  rest = rest.substr(0, rest.find('/'));
  return rest.empty() ? Url : String(rest);
}

TKemXmlTagPtr IconFromShellLink(const String& FileName, TShellLinkReader& Links) {
  TShellLinkValues link;
  if (!Links.Read(FileName, link)) return nullptr;
  String image = link.IconLocation;
  String index = IntToStr(link.IconIndex);
  if (image.empty() && SameText(ExtractFileExt(link.Path), ".exe")) {
    image = link.Path;
    index = "0";
  }
  return NewProgramIcon(BaseName(FileName), link.Path, link.WorkingDir, image, index);
}

TKemXmlTagPtr IconFromInternetShortcut(const String& FileName) {
  const TInternetShortcut shortcut = ReadInternetShortcutFile(FileName);
  if (!shortcut.Url || shortcut.Url->empty() || UrlLength(*shortcut.Url) > kMaxIconUrlLength) return nullptr;
  return NewProgramIcon(BaseName(FileName), *shortcut.Url, "", shortcut.IconFile, shortcut.IconIndex);
}

TKemXmlTagPtr IconFromFile(const String& FileName) {
  return NewProgramIcon(TitleFromFileName(FileName), FileName, ExtractFileDir(FileName), FileName, "0");
}

TKemXmlTagPtr IconFromUrl(const String& Url) {
  if (Url.empty() || UrlLength(Url) > kMaxIconUrlLength) return nullptr;
  return NewProgramIcon(TitleFromUrl(Url), Url, "", "", "");
}

TKemXmlTagPtr IconFromDroppedFile(const String& FileName, TShellLinkReader& Links) {
  const String ext = LowerCase(ExtractFileExt(FileName));
  TKemXmlTagPtr icon;
  if (ext == ".lnk" || ext == ".pif")
    icon = IconFromShellLink(FileName, Links);
  else if (ext == ".url")
    icon = IconFromInternetShortcut(FileName);
  return icon ? std::move(icon) : IconFromFile(FileName);
}
