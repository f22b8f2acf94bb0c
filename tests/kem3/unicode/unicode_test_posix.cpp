// The character database against the Unicode Character Database's own files,
// read here independently of tools/mkunidata.
#include "kem3/unicode/unicode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "platform/exceptions.h"

namespace {

const std::string kUcd = "/usr/share/unicode/";

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> out;
  std::istringstream in(line.substr(0, line.find('#')));
  std::string f;
  while (std::getline(in, f, sep)) out.push_back(f);
  return out;
}

// Hex code points; false when one lies outside the plane.
bool Bmp(const std::string& text, WideString& out) {
  out.clear();
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    unsigned long cp = std::stoul(word, nullptr, 16);
    if (cp > 0xFFFF) return false;
    out.push_back(static_cast<WideChar>(cp));
  }
  return true;
}

TEST(UnicodeDataTest, NormalizationTestBmpLines) {
  FILE* pipe = popen(("bzcat " + kUcd + "NormalizationTest.txt.bz2").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  int lines = 0, failures = 0;
  char buf[4096];
  while (fgets(buf, sizeof buf, pipe)) {
    std::string line(buf);
    if (line.empty() || line[0] == '#' || line[0] == '@') continue;
    std::vector<std::string> f = Split(line, ';');
    if (f.size() < 5) continue;
    WideString c[5];
    bool bmp = true;
    for (int i = 0; i < 5; ++i) bmp = Bmp(f[i], c[i]) && bmp;
    if (!bmp) continue;
    ++lines;
    // C: c2 == NFC(c1..c3), c4 == NFC(c4, c5); D: c3, c5; KC: c4; KD: c5.
    const struct {
      TNormalizationForm form;
      int expect[5];
    } rules[] = {{nfC, {1, 1, 1, 3, 3}}, {nfD, {2, 2, 2, 4, 4}}, {nfKC, {3, 3, 3, 3, 3}}, {nfKD, {4, 4, 4, 4, 4}}};
    for (const auto& r : rules)
      for (int i = 0; i < 5; ++i)
        if (NormalizeText(c[i], r.form) != c[r.expect[i]] && ++failures < 10)
          ADD_FAILURE() << "form " << int(r.form) << " column " << i + 1 << ": " << line;
  }
  pclose(pipe);
  EXPECT_EQ(lines, 16576);
  EXPECT_EQ(failures, 0);
}

TEST(UnicodeDataTest, UpperCaseAndFoldingMatchTheDataFiles) {
  std::map<WideChar, WideString> upper, fold;
  std::ifstream data(kUcd + "UnicodeData.txt");
  for (std::string line; std::getline(data, line);) {
    std::vector<std::string> f = Split(line, ';');
    WideString cp, up;
    if (f.size() > 12 && Bmp(f[0], cp) && Bmp(f[12], up) && !up.empty()) upper[cp[0]] = up;
  }
  std::ifstream special(kUcd + "SpecialCasing.txt");
  for (std::string line; std::getline(special, line);) {
    std::vector<std::string> f = Split(line, ';');
    WideString cp, up;
    if (f.size() == 5 && f[4].find_first_not_of(' ') == std::string::npos && Bmp(f[0], cp) && Bmp(f[3], up))
      upper[cp[0]] = up;
  }
  std::ifstream folding(kUcd + "CaseFolding.txt");
  for (std::string line; std::getline(folding, line);) {
    std::vector<std::string> f = Split(line, ';');
    WideString cp, to;
    if (f.size() < 3 || !Bmp(f[0], cp) || !Bmp(f[2], to)) continue;
    if (f[1] == " F" || (f[1] == " C" && !fold.count(cp[0]))) fold[cp[0]] = to;
  }
  upper[u'i'] = u"I";
  ASSERT_GT(upper.size(), 1000u);
  int failures = 0;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    auto w = static_cast<WideChar>(c);
    WideString wantUpper = upper.count(w) ? upper[w] : WideString(1, w);
    WideString wantFold = fold.count(w) ? fold[w] : WideString(1, w);
    if ((UnicodeCharUpper(w) != wantUpper || UnicodeCharFold(w) != wantFold) && ++failures < 10)
      ADD_FAILURE() << std::hex << "U+" << unsigned(c);
  }
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(UnicodeUpperCase(u"stra\u00DFe i"), u"STRASSE I");
}

TEST(UnicodeDataTest, CategoriesAndNumbersMatchTheDataFile) {
  const std::string names = "LuLlLtLmLoMnMcMeNdNlNoPcPdPsPePiPfPoSmScSkSoZsZlZpCcCfCsCoCn";
  std::vector<int> category(0x10000, ccOtherUnassigned);
  std::map<WideChar, std::pair<long, unsigned long>> numbers;
  std::ifstream data(kUcd + "UnicodeData.txt");
  unsigned long first = 0;
  for (std::string line; std::getline(data, line);) {
    std::vector<std::string> f = Split(line, ';');
    const unsigned long cp = std::stoul(f[0], nullptr, 16);
    if (cp > 0xFFFF) continue;
    if (f[1].find(", First>") != std::string::npos) first = cp;
    const bool last = f[1].find(", Last>") != std::string::npos;
    for (unsigned long c = last ? first : cp; c <= cp; ++c) category[c] = static_cast<int>(names.find(f[2]) / 2);
    if (!f[8].empty()) {
      const size_t slash = f[8].find('/');
      numbers[static_cast<WideChar>(cp)] = {std::stol(f[8]),
                                            slash == std::string::npos ? 1 : std::stoul(f[8].substr(slash + 1))};
    }
  }
  ASSERT_GT(numbers.size(), 500u);
  int failures = 0;
  for (char32_t c = 0; c <= 0xFFFF; ++c) {
    TNumericValue v;
    const bool numeric = UnicodeNumericValue(c, v);
    const auto want = numbers.find(static_cast<WideChar>(c));
    const bool right = UnicodeCategoryOf(c) == category[c] && numeric == (want != numbers.end()) &&
                       (!numeric || (v.Numerator == want->second.first && v.Denominator == want->second.second));
    if (!right && ++failures < 10) ADD_FAILURE() << std::hex << "U+" << unsigned(c);
  }
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(UnicodeCategoryOf(0xAC01), ccLetterOther);  // inside a First/Last range
  EXPECT_EQ(UnicodeCategoryOf(0x0378), ccOtherUnassigned);
  TNumericValue half;
  ASSERT_TRUE(UnicodeNumericValue(0x0F33, half));  // TIBETAN DIGIT HALF ZERO
  EXPECT_EQ(half.Numerator, -1);
  EXPECT_EQ(half.Denominator, 2u);
}

TEST(UnicodeDataTest, WideCharPosFrom) {
  const struct {
    WideString s;
    int start, pos;
  } cases[] = {{u"abcb", 1, 2}, {u"abcb", 3, 4}, {u"abcb", 5, 0}, {u"abcb", 0, 0}, {u"", 1, 0}, {u"ac", 1, 0}};
  for (const auto& c : cases) EXPECT_EQ(WideCharPosFrom(c.s, u'b', c.start), c.pos) << c.start;
}

TEST(UnicodeDataTest, BrokenTablesRaise) {
  using namespace unicodedata;
  auto le = [](std::initializer_list<std::uint32_t> words) {
    std::string s;
    for (auto w : words)
      for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(w >> (8 * i)));
    return s;
  };
  const std::string badCase[] = {le({1}), le({0x7FFFFFFF, 0}), le({1, 0x10000, 0, 0, 0, 0}), le({1, 0x41, 9})};
  for (const auto& b : badCase) EXPECT_THROW(ReadCaseTable(b), EReadError);
  EXPECT_THROW(ReadDecompositionTables(le({1, 0x40000041, 1, 0x1F600})), EReadError);
  EXPECT_THROW(ReadCombiningTable(le({230, 1, 0x300})), EReadError);
  EXPECT_THROW(ReadCombiningTable(le({230, 1, 0, 0xFFFF, 220, 1, 0, 0})), EReadError);
  EXPECT_THROW(ReadCompositionPairs(le({2, 1, 2})), EReadError);
  EXPECT_EQ(ReadCompositionPairs(le({1, 0x650301, 0xE9})).size(), 1u);
  EXPECT_THROW(ReadCategoryTable(le({30, 1, 0x41, 0x41})), EReadError);
  EXPECT_THROW(ReadCategoryTable(le({0, 3, 0x41, 0x41})), EReadError);
  EXPECT_EQ(*ReadCategoryTable(le({29, 1, 0x41, 0x41}))->Find(0x41), 30);
  EXPECT_THROW(ReadNumberTable(le({1, 0x31, 1, 0})), EReadError);
  EXPECT_THROW(ReadNumberTable(le({0x15555556, 0x31, 1, 1})), EReadError);
  EXPECT_THROW(ReadNumberTable(le({1, 0x10031, 1, 1})), EReadError);
}

}  // namespace
