// The file browser's places in the network and its checked workgroups.
#include "kem3/browser/kembrowser_network.h"

#include <algorithm>

#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {
bool IsDelim(char c) { return c == '\\' || c == '/'; }
}  // namespace

TBrowserNetPlace BrowserNetworkPlace(const String& Folder) {
  TBrowserNetPlace place;
  if (Folder.size() < 2 || !IsDelim(Folder[0]) || !IsDelim(Folder[1])) return place;
  String rest = Folder.substr(2);
  while (!rest.empty() && IsDelim(rest.back())) rest.pop_back();
  if (rest.empty()) {
    place.Kind = bnkNetwork;
    return place;
  }
  const size_t cut = rest.find_first_of("\\/");
  const String server = rest.substr(0, cut);
  const String share = cut == String::npos ? String() : rest.substr(cut + 1);
  // "\\\x" and "\\S\\x" name no server or share; "\\S\x\y" lies inside a share.
  if (server.empty() || (cut != String::npos && (share.empty() || share.find_first_of("\\/") != String::npos)))
    return place;
  place.Kind = share.empty() ? bnkServer : bnkShare;
  place.Server = server;
  place.Share = share;
  return place;
}

bool BrowserNetworkUp(const String& Folder, String& Parent, String& Select) {
  const TBrowserNetPlace place = BrowserNetworkPlace(Folder);
  switch (place.Kind) {
    case bnkNetwork:
      Parent.clear();
      Select.clear();
      return true;
    case bnkServer:
      Parent = "\\\\";
      Select = place.Server;
      return true;
    case bnkShare:
      Parent = "\\\\" + place.Server + "\\";
      Select = place.Share;
      return true;
    default:
      return false;
  }
}

bool BrowserWorkgroupChecked(const std::vector<String>& Checked, const String& Name) {
  const WideString name = Utf8ToWide(Name);
  return std::any_of(Checked.begin(), Checked.end(),
                     [&](const String& c) { return WideSameText(Utf8ToWide(c), name); });
}

void BrowserToggleWorkgroup(std::vector<String>& Checked, const String& Name) {
  const WideString name = Utf8ToWide(Name);
  const size_t before = Checked.size();
  std::erase_if(Checked, [&](const String& c) { return WideSameText(Utf8ToWide(c), name); });
  if (Checked.size() == before && !Name.empty()) Checked.push_back(Name);
}

String BrowserWorkgroupList(const std::vector<String>& Checked) {
  String list;
  for (const String& name : Checked) list += (list.empty() ? "" : ",") + name;
  return list;
}
