// Writing the element tree as XML.
#include "skinxml.h"

namespace skin {

namespace {

std::string Escape(const std::string& Text) {
  std::string out;
  for (char c : Text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void Render(const TNode& Node, int Depth, std::string& Out) {
  const std::string indent(static_cast<size_t>(Depth) * 2, ' ');
  Out += indent + "<" + Node.Name;
  for (const auto& [name, value] : Node.Attrs) Out += " " + name + "=\"" + Escape(value) + "\"";
  if (Node.Children.empty()) {
    Out += " />\n";
    return;
  }
  Out += ">\n";
  for (const TNode& child : Node.Children) Render(child, Depth + 1, Out);
  Out += indent + "</" + Node.Name + ">\n";
}

}  // namespace

TNode& TNode::Add(std::string ChildName, std::vector<std::pair<std::string, std::string>> ChildAttrs) {
  Children.push_back(TNode{std::move(ChildName), std::move(ChildAttrs), {}});
  return Children.back();
}

TNode& TNode::Set(const std::string& Attr, const std::string& Value) {
  for (auto& a : Attrs)
    if (a.first == Attr) {
      a.second = Value;
      return *this;
    }
  Attrs.emplace_back(Attr, Value);
  return *this;
}

std::string RenderXml(const TNode& Root) {
  std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
  Render(Root, 0, out);
  return out;
}

}  // namespace skin
