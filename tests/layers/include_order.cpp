// The folder graph behind the include-order check.
#include "include_order.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <vector>

namespace {

const char* const kTops[] = {"launcher", "kem3", "platform", "hooklib"};

struct Edge {
  std::string to;
  std::string where;  // the first include that makes it: "file:line <header>"
};

using Graph = std::map<std::string, std::vector<Edge>>;

// The header named by a quoted include line, or "" for any other line.
std::string QuotedInclude(const std::string& line) {
  auto at = line.find_first_not_of(" \t");
  if (at == std::string::npos || line[at] != '#') return "";
  at = line.find_first_not_of(" \t", at + 1);
  if (at == std::string::npos || line.compare(at, 7, "include") != 0) return "";
  at = line.find_first_not_of(" \t", at + 7);
  if (at == std::string::npos || line[at] != '"') return "";
  auto end = line.find('"', at + 1);
  return end == std::string::npos ? "" : line.substr(at + 1, end - at - 1);
}

bool IsSource(const std::filesystem::path& p) {
  auto ext = p.extension().string();
  return ext == ".h" || ext == ".cpp" || ext == ".c";
}

// Depth-first search: a folder met again while still on the path closes a loop.
bool FindLoop(const Graph& graph, const std::string& at, std::vector<std::string>& path, std::set<std::string>& done,
              std::string& loop) {
  path.push_back(at);
  auto it = graph.find(at);
  if (it != graph.end()) {
    for (const auto& edge : it->second) {
      auto onPath = std::find(path.begin(), path.end(), edge.to);
      if (onPath != path.end()) {
        for (auto p = onPath; p != path.end(); ++p) loop += *p + " -> ";
        loop += edge.to + " closed by " + edge.where;
        return true;
      }
      if (!done.count(edge.to) && FindLoop(graph, edge.to, path, done, loop)) return true;
    }
  }
  path.pop_back();
  done.insert(at);
  return false;
}

}  // namespace

std::string SourceFolderOf(const std::string& path) {
  auto slash = path.find('/');
  if (slash == std::string::npos) return "";
  auto top = path.substr(0, slash);
  if (std::find(std::begin(kTops), std::end(kTops), top) == std::end(kTops)) return "";
  if (top != "kem3") return top;
  auto next = path.find('/', slash + 1);
  return next == std::string::npos ? top : path.substr(0, next);
}

IncludeOrder CheckIncludeOrder(const std::filesystem::path& root) {
  IncludeOrder result;
  Graph graph;
  std::set<std::pair<std::string, std::string>> seen;
  for (const char* top : kTops) {
    if (!std::filesystem::is_directory(root / top)) continue;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / top))
      if (entry.is_regular_file() && IsSource(entry.path())) files.push_back(entry.path());
    // Sorted, so the include named for a loop is the same on every run.
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
      ++result.files;
      auto relative = std::filesystem::relative(file, root).generic_string();
      auto from = SourceFolderOf(relative);
      std::ifstream in(file);
      std::string line;
      for (int number = 1; std::getline(in, line); ++number) {
        auto header = QuotedInclude(line);
        auto to = SourceFolderOf(header);
        if (to.empty() || to == from) continue;
        ++result.includes;
        if (seen.insert({from, to}).second)
          graph[from].push_back({to, relative + ":" + std::to_string(number) + " <" + header + ">"});
      }
    }
  }
  std::vector<std::string> path;
  std::set<std::string> done;
  for (const auto& [folder, edges] : graph)
    if (!done.count(folder) && FindLoop(graph, folder, path, done, result.loop)) break;
  return result;
}
