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
    auto found = Links.find(ExtractName(FileName));
    if (found == Links.end()) return false;
    Values = found->second;
    return true;
  }
  static String ExtractName(const String& FileName) { return FileName.substr(FileName.find_last_of("\\/") + 1); }
  std::map<String, TShellLinkValues> Links;
};

// "title|type|application filename|folder|image filename|index"; "-" for no icon.
String Describe(const TKemXmlTagPtr& Icon) {
  if (!Icon) return "-";
  const TKemXmlTag* app = Icon->FindPath("application");
  const TKemXmlTag* image = Icon->FindPath("image");
  return Icon->ReadAttr("title") + "|" + Icon->ReadAttr("type") + "|" + (app ? app->ReadAttr("filename") : "?") + "|" +
         (app ? app->ReadAttr("folder") : "?") + "|" + (image ? image->ReadAttr("filename") : "?") + "|" +
         (image ? image->ReadAttr("index") : "?");
}

}  // namespace

TEST(Ov3IconFactory, TitlesOfFilesAndWebAddresses) {
  const std::pair<const char*, const char*> files[] = {
      {"C:\\tools\\my tool.exe", "My Tool"},
      {"C:\\tools\\MY-OWN_tool.v2.exe", "My-Own_Tool.V2"},
      {"C:\\x\\  two  blanks", "  Two  Blanks"},
      {"\xc3\xa9t\xc3\xa9 \xc3\x89"
       "COLE.txt",
       "\xc3\x89t\xc3\xa9 \xc3\x89"
       "cole"},  // letters outside ASCII
      {"C:\\x\\.hidden", ""},
  };
  for (auto [file, title] : files) EXPECT_EQ(TitleFromFileName(file), title) << file;
  const std::pair<const char*, const char*> urls[] = {
      {"http://host/x", "host"},
      {"HTTPS://host/x/y", "host"},
      {"ftp://files.example.org", "files.example.org"},
      {"host/path://x", "host"},
      {"http:///x", "http:///x"},
      {"://x/", ":"},
      {"mailto:me@example.org", "mailto:me@example.org"},
      {"/", "/"},
  };
  for (auto [url, title] : urls) EXPECT_EQ(TitleFromUrl(url), title) << url;
}

TEST(Ov3IconFactory, DroppedFilesBecomeIconsByTheirKind) {
  TempDir dir;
  const String site = dir.file("Site.URL"), bare = dir.file("bare.url"), folderUrl = dir.file("dir.url");
  WriteFileAtomic(site,
                  "[DEFAULT]\r\nBASEURL=http://other/\r\n[InternetShortcut]\r\nURL=http://example.org/a\r\n"
                  "IconFile=C:\\icons\\site.ico\r\nIconIndex=3\r\n");
  WriteFileAtomic(bare, "[InternetShortcut]\r\nIconFile=x.ico\r\n");
  std::filesystem::create_directories(std::filesystem::u8path(folderUrl));  // cannot be opened as a file
  FakeLinks links;
  links.Links["Editor.lnk"] = {"C:\\Apps\\ed.EXE", "C:\\Work", "", 5};
  links.Links["Doc.PIF"] = {"C:\\docs\\a.txt", "", "C:\\icons\\doc.ico", 2};
  links.Links["Plain.lnk"] = {"C:\\docs\\b.txt", "C:\\docs", "", 0};
  const std::pair<String, String> cases[] = {
      {"C:\\Links\\Editor.lnk", "Editor|program|C:\\Apps\\ed.EXE|C:\\Work|C:\\Apps\\ed.EXE|0"},
      {"C:\\Links\\Doc.PIF", "Doc|program|C:\\docs\\a.txt||C:\\icons\\doc.ico|2"},
      {"C:\\Links\\Plain.lnk", "Plain|program|C:\\docs\\b.txt|C:\\docs||0"},
      // A link the shell cannot load is a file like any other.
      {"C:\\Links\\broken link.lnk",
       "Broken Link|program|C:\\Links\\broken link.lnk|C:\\Links|"
       "C:\\Links\\broken link.lnk|0"},
      {site, "Site|program|http://example.org/a||C:\\icons\\site.ico|3"},
      // Without "URL", or unreadable: the file itself.
      {bare, "Bare|program|" + bare + "|" + ExtractFileDir(bare) + "|" + bare + "|0"},
      {folderUrl, "Dir|program|" + folderUrl + "|" + ExtractFileDir(folderUrl) + "|" + folderUrl + "|0"},
      {dir.file("gone.url"),
       "Gone|program|" + dir.file("gone.url") + "|" + ExtractFileDir(folderUrl) + "|" + dir.file("gone.url") + "|0"},
      {"C:\\tools\\my tool.exe", "My Tool|program|C:\\tools\\my tool.exe|C:\\tools|C:\\tools\\my tool.exe|0"},
      // A file in a drive's root keeps the root as its folder.
      {"D:\\setup.exe", "Setup|program|D:\\setup.exe|D:\\|D:\\setup.exe|0"},
  };
  for (const auto& [file, icon] : cases) EXPECT_EQ(Describe(IconFromDroppedFile(file, links)), icon) << file;
  EXPECT_EQ(Describe(IconFromUrl("https://Example.org/page")), "Example.org|program|https://Example.org/page|||");
  EXPECT_EQ(Describe(IconFromUrl("")), "-");
  EXPECT_EQ(IconFromFile("a.exe")->Name, "icon");
}
