// Icons made from dropped files, shell links, internet shortcuts and web
// addresses: titles, targets, folders and pictures.
#include "launcher/ov3iconfactory.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/files.h"
#include "platform/sysutils.h"
#include "support/temp_dir.h"

namespace {

class FakeLinks : public TShellLinkReader {
 public:
  bool Read(const String& FileName, TShellLinkValues& Values) override {
    auto found = Links.find(FileName);
    if (found != Links.end()) Values = found->second;
    return found != Links.end();
  }
  std::map<String, TShellLinkValues> Links;
};

// "title|type|application filename|folder|image filename|index"; "-" for no icon.
String Describe(const TKemXmlTagPtr& Icon) {
  if (!Icon) return "-";
  return Icon->ReadAttr("title") + "|" + Icon->ReadAttr("type") + "|" + Icon->ReadPathAttr("application", "filename") +
         "|" + Icon->ReadPathAttr("application", "folder") + "|" + Icon->ReadPathAttr("image", "filename") + "|" +
         Icon->ReadPathAttr("image", "index");
}

}  // namespace

TEST(Ov3IconFactory, TitlesOfFilesAndWebAddresses) {
  const std::pair<const char*, const char*> files[] = {
      {"C:\\tools\\my tool.exe", "My Tool"},
      {"C:\\tools\\MY-OWN_tool.v2.exe", "My-Own_Tool.V2"},
      {"\xc3\xa9t\xc3\xa9 \xc3\x89\x43OLE.txt", "\xc3\x89t\xc3\xa9 \xc3\x89\x63ole"},  // outside ASCII
  };
  for (auto [file, title] : files) EXPECT_EQ(TitleFromFileName(file), title) << file;
  const std::pair<const char*, const char*> urls[] = {
      {"http://host/x", "host"}, {"HTTPS://host/x/y", "host"}, {"ftp://files.example.org", "files.example.org"},
      {"host/path://x", "host"}, {"http:///x", "http:///x"},   {"mailto:me@example.org", "mailto:me@example.org"},
  };
  for (auto [url, title] : urls) EXPECT_EQ(TitleFromUrl(url), title) << url;
}

TEST(Ov3IconFactory, DroppedFilesBecomeIconsByTheirKind) {
  TempDir dir;
  const String site = dir.file("Site.URL"), bare = dir.file("bare.url"), gone = dir.file("gone.url");
  WriteFileAtomic(site,
                  "[DEFAULT]\r\nBASEURL=http://other/\r\n[InternetShortcut]\r\nURL=http://example.org/a\r\n"
                  "IconFile=C:\\icons\\site.ico\r\nIconIndex=3\r\n");
  WriteFileAtomic(bare, "[InternetShortcut]\r\nIconFile=x.ico\r\n");
  const String wide = dir.file("Wide.url");  // its host outside the code page, as the shell writes it
  WriteFileAtomic(
      wide,
      "[InternetShortcut]\r\nURL=https://??.example/\r\n[InternetShortcut.W]\r\nURL=https://+T4swSA-.example/\r\n");
  FakeLinks links;
  links.Links["C:\\L\\Editor.lnk"] = {"C:\\Apps\\ed.EXE", "C:\\Work", "", 5};
  links.Links["C:\\L\\Plain.PIF"] = {"C:\\docs\\b.txt", "C:\\docs", "", 0};
  const String folder = ExtractFileDir(site);
  const std::pair<String, String> cases[] = {
      {"C:\\L\\Editor.lnk", "Editor|program|C:\\Apps\\ed.EXE|C:\\Work|C:\\Apps\\ed.EXE|0"},
      {"C:\\L\\Plain.PIF", "Plain|program|C:\\docs\\b.txt|C:\\docs||0"},
      // A link the shell cannot load is a file like any other.
      {"C:\\L\\broken link.lnk", "Broken Link|program|C:\\L\\broken link.lnk|C:\\L|C:\\L\\broken link.lnk|0"},
      {site, "Site|program|http://example.org/a||C:\\icons\\site.ico|3"},
      {wide, "Wide|program|https://\xe4\xbe\x8b\xe3\x81\x88.example/|||"},
      // Without "URL", or one that cannot be opened: the file itself.
      {bare, "Bare|program|" + bare + "|" + folder + "|" + bare + "|0"},
      {gone, "Gone|program|" + gone + "|" + folder + "|" + gone + "|0"},
      // A file in a drive's root keeps the root as its folder.
      {"D:\\setup.exe", "Setup|program|D:\\setup.exe|D:\\|D:\\setup.exe|0"},
  };
  for (const auto& [file, icon] : cases) EXPECT_EQ(Describe(IconFromDroppedFile(file, links)), icon) << file;
  EXPECT_EQ(Describe(IconFromUrl("https://Example.org/page")), "Example.org|program|https://Example.org/page|||");
  EXPECT_EQ(Describe(IconFromUrl("")), "-");
}

// A dropped text of megabytes is no address; long names give titles a hint can show.
TEST(Ov3IconFactory, AddressesAndTitlesAreBounded) {
  // The cap counts characters, not bytes: 5,000 CJK ones (15,000 bytes) make an icon.
  String path = "https://example.org/";
  while (UrlLength(path) < kMaxIconUrlLength) path += "\xe6\xbc\xa2";
  ASSERT_EQ(UrlLength(path), 5000u);
  EXPECT_NE(IconFromUrl(path), nullptr);
  EXPECT_EQ(IconFromUrl(path + "p"), nullptr);
  EXPECT_EQ(UrlLength("\xF0\x9F\x98\x80\xC3\xA9"), 3u);  // a pair outside the basic plane is two
  EXPECT_EQ(IconFromUrl("https://x/" + String(16u << 20, 'q')), nullptr);
  TempDir dir;
  const String shortcut = dir.file("Long.url"), fits = dir.file("Fits.url");
  WriteFileAtomic(shortcut, "[InternetShortcut]\r\nURL=" + path + "p\r\n");
  WriteFileAtomic(fits, "[InternetShortcut]\r\nURL=" + path + "\r\n");
  EXPECT_EQ(IconFromInternetShortcut(shortcut), nullptr);
  EXPECT_NE(IconFromInternetShortcut(fits), nullptr);

  const String host = "https://" + String(300, 'h') + "/";
  EXPECT_EQ(IconFromUrl(host)->ReadAttr("title"), String(kMaxIconTitleLength, 'h'));
  // 259 letters and a pair outside the basic plane: the pair does not fit whole.
  const String name = "C:\\" + String(259, 'a') + "\xF0\x9F\x98\x80" + "b.exe";
  EXPECT_EQ(IconFromFile(name)->ReadAttr("title"), "A" + String(258, 'a'));
  EXPECT_EQ(CutIconTitle("\xC3\xA9t\xC3\xA9"), "\xC3\xA9t\xC3\xA9");
}
