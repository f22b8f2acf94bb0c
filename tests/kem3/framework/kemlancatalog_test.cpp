// The text catalogues language files are made from.
#include "kem3/framework/kemlancatalog.h"

#include <gtest/gtest.h>

namespace {

TEST(LanCatalogue, HeaderLinesAndTextsWithGapsAndEscapes) {
  const TLanCatalogue c = ParseLanCatalogue(
      "\xEF\xBB\xBF# comment\r\n"
      "@code DE\r\n"
      "@name Deutsch\n"
      "@credits One\n"
      "@credits Two\n"
      "@font Segoe UI  9\n"
      "@scale 1.25\n"
      "@flag de\n"
      "\n"
      "  3 Name = a\\nb\\tc\\\\d\n"
      "1 - =  two blanks\n"
      "5 Empty =\n");
  EXPECT_EQ(c.Code, "DE");
  EXPECT_EQ(c.DisplayName, "Deutsch");
  EXPECT_EQ(c.Credits, "One\r\nTwo");
  ASSERT_EQ(c.Fonts.size(), 1u);
  EXPECT_EQ(c.Fonts[0].first, "Segoe UI");
  EXPECT_EQ(c.Fonts[0].second, 9);
  EXPECT_EQ(c.Scale, 1.25);
  EXPECT_EQ(c.Flag, "de");
  ASSERT_EQ(c.Modules.size(), 1u);
  const TLanCatalogueModule& m = c.Modules[0];
  EXPECT_EQ(m.Name, "");
  EXPECT_EQ(m.Texts, (std::vector<String>{"", " two blanks", "", "a\r\nb\tc\\d", "", ""}));
  EXPECT_EQ(m.Names, (std::vector<String>{"", "", "", "Name", "", "Empty"}));
  EXPECT_EQ(m.Defined, (std::vector<bool>{false, true, false, true, false, true}));
}

TEST(LanCatalogue, ModulesStartWhereTheyAreNamed) {
  TLanCatalogue c = ParseLanCatalogue("@module Clock\n0 A = x\n@module Bin\n0 A = y\n");
  ASSERT_EQ(c.Modules.size(), 2u);
  EXPECT_EQ(c.Modules[0].Name, "Clock");
  EXPECT_EQ(c.Modules[1].Texts, std::vector<String>{"y"});

  c = ParseLanCatalogue("0 A = first\n@module Clock\n0 A = x\n");
  ASSERT_EQ(c.Modules.size(), 2u);
  EXPECT_EQ(c.Modules[0].Name, "");
  EXPECT_EQ(c.Modules[1].Name, "Clock");
  EXPECT_EQ(ParseLanCatalogue("").Modules.size(), 1u);
}

TEST(LanCatalogue, MistakesAreReportedWithTheirLine) {
  const auto error = [](const char* text) {
    try {
      ParseLanCatalogue(text);
    } catch (const ELanCatalogueError& e) {
      return e.Message;
    }
    return String("no error");
  };
  EXPECT_EQ(error("0 A = a\n0 B = b\n"), "2: text 0 is given twice");
  EXPECT_EQ(error("0 A = a\n1 a = b\n"), "2: the name \"a\" is given twice");
  EXPECT_EQ(error("# x\nx A = a\n"), "2: a text index from 0 to 65535 expected");
  EXPECT_EQ(error("65536 A = a\n"), "1: a text index from 0 to 65535 expected");
  EXPECT_EQ(error("1 = a\n"), "1: a name (\"-\" for none) expected after the index");
  EXPECT_EQ(error("1 A a\n"), "1: \"=\" expected after the name");
  EXPECT_EQ(error("1 A = a\\q\n"), "1: unknown escape \"\\q\"");
  EXPECT_EQ(error("1 A = a\\"), "1: a lone \"\\\" ends the text");
  EXPECT_EQ(error("@code TOOLONGCODE\n"), "1: a code has 1 to 8 characters");
  EXPECT_EQ(error("@font Tahoma\n"), "1: \"@font NAME SIZE\" expected");
  EXPECT_EQ(error("@colour red\n"), "1: unknown directive \"@colour\"");
  EXPECT_EQ(error("1 A = \xFF\n"), "1: the line is not UTF-8");
  // The same name in another module is no clash.
  EXPECT_EQ(error("0 A = a\n@module M\n0 A = b\n"), "no error");
}

}  // namespace
