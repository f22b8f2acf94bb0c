// The contents document under the icon and group commands: copy titles, new,
// copied and deleted elements, icons moved within and between groups, groups
// exchanged and deleted.
#include "launcher/ov3commands.h"

#include <gtest/gtest.h>

#include <functional>

#include "launcher/ov3contents.h"

namespace {

// "Group: icon icon | Group: ..." of the document's groups.
String Outline(const TKemXmlTag* Groups) {
  String text;
  for (const TKemXmlTag* group : ListGroups(Groups)) {
    if (!text.empty()) text += " | ";
    text += group->ReadAttr("title") + ":";
    for (const TKemXmlTag* icon : ListIcons(group)) text += " " + icon->ReadAttr("title");
  }
  return text;
}

struct Document {
  Document() {
    doc.LoadFromString(
        "<?xml version=\"1.0\"?><ov3contents><groups>"
        "<group title=\"A\"><icons><icon title=\"a1\"/><!-- note --><icon title=\"a2\"/><icon title=\"a3\"/></icons>"
        "</group><!-- between --><group title=\"B\"><icons/></group><group title=\"C\"/></groups></ov3contents>");
    groups = ContentsGroups(doc);
    list = ListGroups(groups);
  }
  TKemXml doc;
  TKemXmlTag* groups;
  std::vector<TKemXmlTag*> list;
};

}  // namespace

TEST(Ov3Commands, CopyTitlesCountUp) {
  const std::pair<const char*, const char*> cases[] = {
      {"Editor", "Editor copy 1"},
      {"Editor copy 1", "Editor copy 2"},
      {"Editor Copy 9", "Editor copy 10"},
      {"Editor COPY x", "Editor copy 1"},
      {"Editor copy ", "Editor copy 1"},
      {"a copy 2 copy 5", "a copy 1"},
      {"copy 3", "copy 3 copy 1"},
      {"", " copy 1"},
      {"E copy 9223372036854775807", "E copy 9223372036854775807"},
  };
  for (auto [title, copy] : cases) EXPECT_EQ(CopyTitle(title), copy) << title;
}

TEST(Ov3Commands, NewAndCopiedElements) {
  Document d;
  TKemXmlTag* a1 = ListIcons(d.list[0])[0];
  a1->WriteAttr("id", "7");
  a1->AddTag("application", "filename=ed.exe");
  TKemXmlTag* copy = AppendIcon(*d.list[1], CopyIconElement(*a1));
  TKemXmlTag* again = AppendIcon(*d.list[1], CopyIconElement(*copy));
  EXPECT_EQ(Outline(d.groups), "A: a1 a2 a3 | B: a1 copy 1 a1 copy 2 | C:");
  EXPECT_EQ(copy->ReadAttr("id", "none"), "none");
  EXPECT_EQ(again->ReadPathAttr("application", "filename"), "ed.exe");
  EXPECT_EQ(a1->ReadAttr("title"), "a1");

  AppendIcon(*d.list[2], NewIconElement("New batch", true));
  TKemXmlTag* program = AppendIcon(*d.list[2], NewIconElement("New program", false));
  const std::vector<TKemXmlTag*> made = ListIcons(d.list[2]);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(made[0]->ReadAttr("type"), "batch");
  EXPECT_EQ(made[0]->FindPath("application"), nullptr);
  EXPECT_NE(made[0]->FindPath("image"), nullptr);
  EXPECT_EQ(program->ReadAttr("type"), "program");
  EXPECT_NE(program->FindPath("application"), nullptr);

  EXPECT_EQ(AppendGroup(*d.groups, d.list, NewGroupElement("New group")), 3);
  EXPECT_EQ(d.list[3]->ReadAttr("title"), "New group");
  EXPECT_NE(GroupIcons(d.list[3]), nullptr);
  EXPECT_TRUE(DeleteIconElement(program));
  EXPECT_FALSE(DeleteIconElement(nullptr));
  EXPECT_EQ(Outline(d.groups), "A: a1 a2 a3 | B: a1 copy 1 a1 copy 2 | C: New batch | New group:");
  // What the file holds.
  EXPECT_NE(d.doc.SaveToString().find("<group title=\"New group\">"), String::npos);
}

TEST(Ov3Commands, MovesAndExchanges) {
  Document d;
  struct Step {
    const char* what;
    std::function<bool(Document&)> run;
    bool done;
    const char* outline;
  };
  const Step steps[] = {
      {"first icon last", [](Document& x) { return MoveIcon(x.list[0], 0, 2); }, true, "A: a2 a3 a1 | B: | C:"},
      {"back over the comment", [](Document& x) { return MoveIcon(x.list[0], 2, 0); }, true, "A: a1 a2 a3 | B: | C:"},
      {"out of range", [](Document& x) { return MoveIcon(x.list[0], 0, 3); }, false, "A: a1 a2 a3 | B: | C:"},
      {"negative", [](Document& x) { return MoveIcon(x.list[0], -1, 0); }, false, "A: a1 a2 a3 | B: | C:"},
      {"no group", [](Document&) { return MoveIcon(nullptr, 0, 0); }, false, "A: a1 a2 a3 | B: | C:"},
      {"to B", [](Document& x) { return MoveIconToGroup(x.list[0], 1, x.list[1]) != nullptr; }, true,
       "A: a1 a3 | B: a2 | C:"},
      {"to C without icons", [](Document& x) { return MoveIconToGroup(x.list[0], 0, x.list[2]) != nullptr; }, true,
       "A: a3 | B: a2 | C: a1"},
      {"onto its own group", [](Document& x) { return MoveIconToGroup(x.list[0], 0, x.list[0]) != nullptr; }, false,
       "A: a3 | B: a2 | C: a1"},
      {"no such icon", [](Document& x) { return MoveIconToGroup(x.list[0], 1, x.list[1]) != nullptr; }, false,
       "A: a3 | B: a2 | C: a1"},
      {"exchange A and C", [](Document& x) { return ExchangeGroups(x.list, 0, 2); }, true, "C: a1 | B: a2 | A: a3"},
      {"exchange with itself", [](Document& x) { return ExchangeGroups(x.list, 1, 1); }, true, "C: a1 | B: a2 | A: a3"},
      {"exchange out of range", [](Document& x) { return ExchangeGroups(x.list, 1, 3); }, false,
       "C: a1 | B: a2 | A: a3"},
      {"delete the middle", [](Document& x) { return DeleteGroup(x.list, 1); }, true, "C: a1 | A: a3"},
      {"delete out of range", [](Document& x) { return DeleteGroup(x.list, 2); }, false, "C: a1 | A: a3"},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(s.run(d), s.done) << s.what;
    EXPECT_EQ(Outline(d.groups), s.outline) << s.what;
    // The list follows the document.
    EXPECT_EQ(d.list, ListGroups(d.groups)) << s.what;
  }
  EXPECT_NE(d.doc.SaveToString().find("<!-- note -->"), String::npos);
}
