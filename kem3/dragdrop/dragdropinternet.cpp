// Web addresses and their titles from a drop.
#include "kem3/dragdrop/dragdropinternet.h"

#include "kem3/dragdrop/dragdropdefs.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

ORV_DD_CLIPBOARD_IMPL(TURLClipboardFormat, TCustomTextClipboardFormat, "UniformResourceLocator")
ORV_DD_CLIPBOARD_IMPL(TURLWClipboardFormat, TCustomWideTextClipboardFormat, "UniformResourceLocatorW")
ORV_DD_ABSTRACT_IMPL(TCustomNetscapeClipboardFormat, TCustomSimpleClipboardFormat)
ORV_DD_CLIPBOARD_IMPL(TNetscapeBookmarkClipboardFormat, TCustomNetscapeClipboardFormat, "Netscape Bookmark")
ORV_DD_CLIPBOARD_IMPL(TNetscapeImageClipboardFormat, TCustomNetscapeClipboardFormat, "Netscape Image Format")
ORV_DD_DATA_FORMAT_IMPL(TURLDataFormat, TCustomDataFormat)

bool TURLClipboardFormat::ReadData(TDropBlock Block) {
  Data = ParseTextBlock(Block);
  return true;
}

bool TNetscapeBookmarkClipboardFormat::ReadData(TDropBlock Block) {
  Bookmark = ParseNetscapeBookmark(Block);
  return true;
}

bool TNetscapeImageClipboardFormat::ReadData(TDropBlock Block) {
  Bookmark = ParseNetscapeImage(Block);
  return true;
}

namespace {

bool IsURLShortcutName(const WideString& Name) {
  return WideSameText(Name.substr(Name.size() >= 4 ? Name.size() - 4 : 0), u".url");
}

// A wide text up to its first zero character, in UTF-8.
String WideTextToUtf8(const WideString& Text) {
  return WideToUtf8(std::u16string_view(Text).substr(0, Text.find(u'\0')));
}

// Whether a text can stand for an address: "://" after its first character.
bool HoldsScheme(const String& Text) {
  const std::size_t scheme = Text.find("://");
  return scheme != String::npos && scheme != 0;
}

// The name without folder and extension.
String BareName(const WideString& Name) {
  WideString bare = Name.substr(Name.find_last_of(u"\\/:") == WideString::npos ? 0 : Name.find_last_of(u"\\/:") + 1);
  const std::size_t dot = bare.rfind(u'.');
  if (dot != WideString::npos) bare.resize(dot);
  return WideToUtf8(bare);
}

}  // namespace

void TURLDataFormat::Clear() {
  Changing();
  URL.clear();
  Title.clear();
}

bool TURLDataFormat::Assign(TClipboardFormat& Source) {
  if (auto* url = dynamic_cast<TURLClipboardFormat*>(&Source)) {
    if (URL.empty()) URL = url->Data;
    return true;
  }
  if (auto* url = dynamic_cast<TURLWClipboardFormat*>(&Source)) {
    if (URL.empty()) URL = WideTextToUtf8(url->Text);
    return true;
  }
  if (auto* text = dynamic_cast<TTextClipboardFormat*>(&Source)) {
    if (!URL.empty() || !HoldsScheme(text->Data)) return false;
    URL = text->Data;
    return true;
  }
  if (auto* text = dynamic_cast<TUnicodeTextClipboardFormat*>(&Source)) {
    const String value = WideTextToUtf8(text->Text);
    if (!URL.empty() || !HoldsScheme(value)) return false;
    URL = value;
    return true;
  }
  if (auto* hdrop = dynamic_cast<TFileClipboardFormat*>(&Source)) {
    if (!URL.empty() || hdrop->Files.empty() || !IsURLShortcutName(hdrop->Files.front())) return false;
    // A shortcut that cannot be read gives no URL: the next format is tried.
    std::optional<String> url = ReadInternetShortcutFile(WideToUtf8(hdrop->Files.front())).Url;
    if (!url) return false;
    URL = *url;
    if (Title.empty()) Title = BareName(hdrop->Files.front());
    return true;
  }
  if (auto* contents = dynamic_cast<TFileContentsClipboardFormat*>(&Source)) {
    std::optional<String> url;
    try {
      if (URL.empty()) url = ParseInternetShortcut(contents->Data).Url;
    } catch (const EDropBlockError&) {
    }
    if (!url) return false;
    URL = *url;
    return true;
  }
  if (auto* group = dynamic_cast<TFileGroupDescritorClipboardFormat*>(&Source)) {
    if (!Title.empty() || group->Filenames.empty() || !IsURLShortcutName(group->Filenames.front())) return false;
    const WideString& name = group->Filenames.front();
    Title = WideToUtf8(name.substr(0, name.size() - 4));
    return true;
  }
  if (auto* bookmark = dynamic_cast<TCustomNetscapeClipboardFormat*>(&Source)) {
    if (URL.empty()) URL = bookmark->Bookmark.URL;
    if (Title.empty()) Title = bookmark->Bookmark.Title;
    return true;
  }
  return TCustomDataFormat::Assign(Source);
}

bool TURLDataFormat::AssignTo(TClipboardFormat& Dest) {
  if (auto* url = dynamic_cast<TURLClipboardFormat*>(&Dest)) {
    url->Data = URL;
    return true;
  }
  if (auto* url = dynamic_cast<TURLWClipboardFormat*>(&Dest)) {
    url->Text = Utf8ToWide(URL);
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}
