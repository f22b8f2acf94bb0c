// mkunidata: writes the character tables the program carries as "UNICODEDATA"
// resources ("CASE", "DECOMPOSITION", "COMBINING", "COMPOSITION", "CATEGORIES",
// "NUMBERS") from the text
// files of the Unicode Character Database (Debian's unicode-data package).
// Only the Basic Multilingual Plane is kept: a record that names a code point
// above U+FFFF is left out whole.
//
//   mkunidata <database folder> <output folder>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using CodePoints = std::vector<std::uint32_t>;

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  std::string cut = line.substr(0, line.find('#'));
  size_t start = 0;
  for (;;) {
    size_t semi = cut.find(';', start);
    std::string f = cut.substr(start, semi == std::string::npos ? std::string::npos : semi - start);
    size_t a = f.find_first_not_of(' '), b = f.find_last_not_of(' ');
    out.push_back(a == std::string::npos ? "" : f.substr(a, b - a + 1));
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return out;
}

CodePoints Hex(const std::string& text) {
  CodePoints out;
  std::istringstream in(text);
  std::string word;
  while (in >> word) out.push_back(static_cast<std::uint32_t>(std::stoul(word, nullptr, 16)));
  return out;
}

bool InBmp(const CodePoints& cps) {
  for (auto c : cps)
    if (c > 0xFFFF) return false;
  return true;
}

template <class F>
void EachLine(const std::string& path, F f) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    f(Fields(line));
  }
}

class Writer {
 public:
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  void List(const CodePoints& cps) {
    U32(static_cast<std::uint32_t>(cps.size()));
    for (auto c : cps) U32(c);
  }
  void Save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
  }

 private:
  std::string bytes_;
};

// The general categories in the order of the program's TCharacterCategory.
const char* const kCategories[] = {"Lu", "Ll", "Lt", "Lm", "Lo", "Mn", "Mc", "Me", "Nd", "Nl",
                                   "No", "Pc", "Pd", "Ps", "Pe", "Pi", "Pf", "Po", "Sm", "Sc",
                                   "Sk", "So", "Zs", "Zl", "Zp", "Cc", "Cf", "Cs", "Co", "Cn"};

std::uint32_t CategoryNumber(const std::string& name) {
  for (std::uint32_t i = 0; i < std::size(kCategories); ++i)
    if (name == kCategories[i]) return i;
  throw std::runtime_error("unknown category " + name);
}

// Runs of consecutive code points as (first, last) ranges.
std::vector<std::pair<std::uint32_t, std::uint32_t>> Ranges(const std::set<std::uint32_t>& cps) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
  for (auto c : cps) {
    if (!ranges.empty() && ranges.back().second + 1 == c)
      ranges.back().second = c;
    else
      ranges.push_back({c, c});
  }
  return ranges;
}

// Per value: its count of ranges and the ranges.
void WriteRangeTable(const std::map<std::uint32_t, std::set<std::uint32_t>>& byValue, const std::string& path) {
  Writer out;
  for (auto& [value, cps] : byValue) {
    auto ranges = Ranges(cps);
    out.U32(value);
    out.U32(static_cast<std::uint32_t>(ranges.size()));
    for (auto& [a, b] : ranges) {
      out.U32(a);
      out.U32(b);
    }
  }
  out.Save(path);
}

struct CaseRecord {
  CodePoints fold, lower, title, upper;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mkunidata <database folder> <output folder>\n");
    return 2;
  }
  try {
    std::string db = std::string(argv[1]) + "/", out = std::string(argv[2]) + "/";
    std::map<std::uint32_t, CaseRecord> cases;
    std::map<std::uint32_t, std::pair<bool, CodePoints>> decompositions;
    std::map<std::uint32_t, std::set<std::uint32_t>> classes;     // class -> code points
    std::map<std::uint32_t, std::set<std::uint32_t>> categories;  // category -> code points
    std::map<std::uint32_t, std::pair<std::int32_t, std::uint32_t>> numbers;
    std::uint32_t rangeFirst = 0;
    EachLine(db + "UnicodeData.txt", [&](const std::vector<std::string>& f) {
      if (f.size() < 15) return;
      std::uint32_t cp = Hex(f[0])[0];
      if (cp > 0xFFFF) return;
      // "<..., First>" and "<..., Last>" records stand for every code point between them.
      if (f[1].ends_with(", First>")) rangeFirst = cp;
      const bool rangeEnd = f[1].ends_with(", Last>");
      for (std::uint32_t c = rangeEnd ? rangeFirst : cp; c <= cp; ++c) categories[CategoryNumber(f[2])].insert(c);
      if (!f[8].empty()) {
        size_t slash = f[8].find('/');
        numbers[cp] = {
            static_cast<std::int32_t>(std::stol(f[8].substr(0, slash))),
            slash == std::string::npos ? 1u : static_cast<std::uint32_t>(std::stoul(f[8].substr(slash + 1)))};
      }
      unsigned ccc = static_cast<unsigned>(std::stoul(f[3]));
      if (ccc != 0) classes[ccc].insert(cp);
      if (!f[5].empty()) {
        bool compat = f[5][0] == '<';
        CodePoints to = Hex(compat ? f[5].substr(f[5].find('>') + 1) : f[5]);
        // The few ideographs decomposing outside the plane stay undecomposed.
        if (InBmp(to)) decompositions[cp] = {compat, to};
      }
      CodePoints upper = Hex(f[12]), lower = Hex(f[13]), title = Hex(f[14]);
      if (upper.empty() && lower.empty() && title.empty()) return;
      CaseRecord& r = cases[cp];
      if (InBmp(upper)) r.upper = upper;
      if (InBmp(lower)) r.lower = lower;
      r.title = InBmp(title) && !title.empty() ? title : r.upper;
    });
    // Unconditional full mappings replace the simple ones.
    EachLine(db + "SpecialCasing.txt", [&](const std::vector<std::string>& f) {
      if (f.size() < 5 || !f[4].empty()) return;
      std::uint32_t cp = Hex(f[0])[0];
      CodePoints lower = Hex(f[1]), title = Hex(f[2]), upper = Hex(f[3]);
      if (cp > 0xFFFF || !InBmp(lower) || !InBmp(title) || !InBmp(upper)) return;
      CaseRecord& r = cases[cp];
      r.lower = lower;
      r.title = title;
      r.upper = upper;
    });
    // Folding: common mappings, replaced by full ones where those exist.
    std::map<std::uint32_t, CodePoints> full;
    EachLine(db + "CaseFolding.txt", [&](const std::vector<std::string>& f) {
      if (f.size() < 3 || (f[1] != "C" && f[1] != "F")) return;
      std::uint32_t cp = Hex(f[0])[0];
      CodePoints to = Hex(f[2]);
      if (cp > 0xFFFF || !InBmp(to)) return;
      if (f[1] == "F")
        full[cp] = to;
      else if (!full.count(cp))
        full.emplace(cp, to);
    });
    for (auto& [cp, to] : full) cases[cp].fold = to;

    std::set<std::uint32_t> excluded;
    EachLine(db + "DerivedNormalizationProps.txt", [&](const std::vector<std::string>& f) {
      if (f.size() < 2 || f[1] != "Full_Composition_Exclusion") return;
      size_t dots = f[0].find("..");
      std::uint32_t first = Hex(f[0].substr(0, dots))[0];
      std::uint32_t last = dots == std::string::npos ? first : Hex(f[0].substr(dots + 2))[0];
      for (std::uint32_t c = first; c <= last; ++c) excluded.insert(c);
    });

    Writer caseOut;
    caseOut.U32(static_cast<std::uint32_t>(cases.size()));
    for (auto& [cp, r] : cases) {
      caseOut.U32(cp);
      // An empty mapping maps the character to itself.
      for (const CodePoints* m : {&r.fold, &r.lower, &r.title, &r.upper})
        caseOut.List(m->size() == 1 && (*m)[0] == cp ? CodePoints{} : *m);
    }
    caseOut.Save(out + "CASE");

    Writer decOut;
    std::map<std::uint32_t, std::uint32_t> pairs;
    unsigned canonical = 0, compatible = 0;
    decOut.U32(static_cast<std::uint32_t>(decompositions.size()));
    for (auto& [cp, d] : decompositions) {
      decOut.U32(cp | (d.first ? 0x40000000u : 0));
      decOut.List(d.second);
      (d.first ? compatible : canonical)++;
      if (!d.first && d.second.size() == 2 && !excluded.count(cp)) pairs[d.second[0] << 16 | d.second[1]] = cp;
    }
    decOut.Save(out + "DECOMPOSITION");

    WriteRangeTable(classes, out + "COMBINING");
    unsigned classed = 0;
    for (auto& [ccc, cps] : classes) classed += static_cast<unsigned>(cps.size());
    WriteRangeTable(categories, out + "CATEGORIES");

    Writer numOut;
    numOut.U32(static_cast<std::uint32_t>(numbers.size()));
    for (auto& [cp, v] : numbers) {
      numOut.U32(cp);
      numOut.U32(static_cast<std::uint32_t>(v.first));
      numOut.U32(v.second);
    }
    numOut.Save(out + "NUMBERS");

    Writer compOut;
    compOut.U32(static_cast<std::uint32_t>(pairs.size()));
    for (auto& [key, cp] : pairs) {
      compOut.U32(key);
      compOut.U32(cp);
    }
    compOut.Save(out + "COMPOSITION");
    std::printf(
        "mkunidata: %zu cased, %u canonical and %u compatibility decompositions, %u classed, %zu pairs, %zu numbers\n",
        cases.size(), canonical, compatible, classed, pairs.size(), numbers.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkunidata: %s\n", e.what());
    return 1;
  }
  return 0;
}
