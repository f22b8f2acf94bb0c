// A small element tree for writing skin definitions: elements with
// attributes in the order given and children, written as indented XML.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace skin {

struct TNode {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Attrs;
  std::vector<TNode> Children;

  // Appends a child with attributes given as {name, value} pairs; returns it.
  TNode& Add(std::string ChildName, std::vector<std::pair<std::string, std::string>> ChildAttrs = {});
  TNode& Set(const std::string& Attr, const std::string& Value);
};

// The whole document: declaration, then the element.
std::string RenderXml(const TNode& Root);

}  // namespace skin
