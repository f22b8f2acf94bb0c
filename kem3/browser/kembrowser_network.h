// Where the file browser stands in the network, without windows: the network
// itself ("\\"), a server's shares ("\\SERVER\") or a share's root, the way up
// from each, and the comma list of the workgroups whose servers it lists.
#pragma once
#include <vector>

#include "platform/types.h"

enum TBrowserNetKind : int { bnkNone = 0, bnkNetwork, bnkServer, bnkShare };

struct TBrowserNetPlace {
  TBrowserNetKind Kind = bnkNone;
  String Server, Share;
};

// "\\" is the network, "\\SERVER" (with or without "\") a server, and
// "\\SERVER\SHARE" a share's root; anything else, deeper folders of a share
// too, is no place of the network ("\" and "/" delimit).
TBrowserNetPlace BrowserNetworkPlace(const String& Folder);
// Up from a share's root goes to its server (selecting the share), from a
// server to the network (selecting the server), from the network to the
// drives; false for folders that are no such place.
bool BrowserNetworkUp(const String& Folder, String& Parent, String& Select);

// The checked workgroups, compared without regard to case.
bool BrowserWorkgroupChecked(const std::vector<String>& Checked, const String& Name);
// Checks an unchecked workgroup, unchecks a checked one.
void BrowserToggleWorkgroup(std::vector<String>& Checked, const String& Name);
// "A,B" as the server finder takes them.
String BrowserWorkgroupList(const std::vector<String>& Checked);
