// The contents document under the icon and group commands: copy titles, new and
// copied elements, icons moved within and between groups, groups exchanged.
#include "launcher/ov3commands.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "launcher/ov3_outline.h"
#include "launcher/ov3contents.h"

namespace {

String Outline(const TKemXml& Doc) { return ContentsOutline(Doc.SaveToString()); }

}  // namespace

TEST(Ov3Commands, CopyTitlesCountUp) {
  const std::pair<const char*, const char*> cases[] = {
      {"Editor", "Editor copy 1"},
      {"Editor copy 1", "Editor copy 2"},
      {"Editor Copy 9", "Editor copy 10"},
      {"a copy 2 copy 5", "a copy 1"},
      {"E copy 9223372036854775807", "E copy 9223372036854775807"},
  };
  for (auto [title, copy] : cases) EXPECT_EQ(CopyTitle(title), copy) << title;
}

TEST(Ov3Commands, ElementsMadeMovedAndExchanged) {
  TKemXml doc;
  doc.LoadFromString(
      "<?xml version=\"1.0\"?><ov3contents><groups>"
      "<group title=\"A\"><icons><icon id=\"7\" title=\"a1\"/><!-- note --><icon title=\"a2\"/><icon title=\"a3\"/>"
      "</icons></group><!-- between --><group title=\"B\"><icons/></group><group title=\"C\"/></groups></ov3contents>");
  TKemXmlTag* groups = ContentsGroups(doc);
  std::vector<TKemXmlTag*> list = ListGroups(groups);
  TKemXmlTag* copy = AppendIcon(*list[1], CopyIconElement(*ListIcons(list[0])[0]));
  EXPECT_EQ(copy->ReadAttr("id", "none"), "none");
  EXPECT_EQ(AppendIcon(*list[1], NewIconElement("b", true))->FindPath("application"), nullptr);
  EXPECT_NE(AppendIcon(*list[1], NewIconElement("p", false))->FindPath("application"), nullptr);
  EXPECT_TRUE(DeleteIconElement(ListIcons(list[1]).back()));
  EXPECT_EQ(AppendGroup(*groups, list, NewGroupElement("New group")), 3);
  EXPECT_EQ(Outline(doc), "A: a1 a2 a3 | B: a1 copy 1 b | C: | New group:");

  const std::tuple<const char*, std::function<bool()>, bool, const char*> steps[] = {
      {"first icon last, over the comment", [&] { return MoveIcon(list[0], 0, 2); }, true,
       "A: a2 a3 a1 | B: a1 copy 1 b | C: | New group:"},
      {"out of range", [&] { return MoveIcon(list[0], 0, 3); }, false, nullptr},
      {"to C without icons", [&] { return MoveIconToGroup(list[0], 1, list[2]) != nullptr; }, true,
       "A: a2 a1 | B: a1 copy 1 b | C: a3 | New group:"},
      {"onto its own group", [&] { return MoveIconToGroup(list[0], 0, list[0]) != nullptr; }, false, nullptr},
      {"exchange A and C", [&] { return ExchangeGroups(list, 0, 2); }, true,
       "C: a3 | B: a1 copy 1 b | A: a2 a1 | New group:"},
      {"delete the middle", [&] { return DeleteGroup(list, 1); }, true, "C: a3 | A: a2 a1 | New group:"},
  };
  String expected = Outline(doc);
  for (const auto& [what, run, done, outline] : steps) {
    EXPECT_EQ(run(), done) << what;
    if (outline) expected = outline;
    EXPECT_EQ(Outline(doc), expected) << what;
    EXPECT_EQ(list, ListGroups(groups)) << what << ": the list follows the document";
  }
}
