// The groups and icons of a contents file as one line: "Group: icon icon | Group: ...".
#pragma once
#include <string>

#include "launcher/ov3contents.h"

inline std::string ContentsOutline(const std::string& File) {
  TKemXml doc;
  doc.LoadFromString(File);
  std::string outline;
  for (const TKemXmlTag* group : ListGroups(ContentsGroups(doc))) {
    outline += (outline.empty() ? "" : " | ") + group->ReadAttr("title") + ":";
    for (const TKemXmlTag* icon : ListIcons(group)) outline += " " + icon->ReadAttr("title");
  }
  return outline;
}
