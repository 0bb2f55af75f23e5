// The include-order check (see include_order.h). Cost: one reading of every
// source file; no build needed.
#include "layers/include_order.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

namespace dovetam::layers {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFence = "```";
constexpr std::string_view kOrderFence = "```include-order";

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  std::istringstream in{std::string(line)};
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

bool IsSource(const fs::path& p) {
  const auto ext = p.extension().string();
  return ext == ".h" || ext == ".cpp";
}

// The folder of a path relative to the top of the tree, with "/" between
// its parts ("" for the top itself).
std::string FolderOf(const fs::path& relativeFile) {
  return relativeFile.parent_path().generic_string();
}

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// An include line: the name between its quotes or its angle brackets, and
// which of the two it used.
struct Include {
  std::string_view name;
  bool quoted = false;
};

// The include of a line `#include "..."` or `#include <...>` (blanks allowed
// around the "#"); an empty name when the line is none.
Include IncludeOf(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '#') return {};
  line = Trim(line.substr(1));
  constexpr std::string_view kInclude = "include";
  if (line.substr(0, kInclude.size()) != kInclude) return {};
  line = Trim(line.substr(kInclude.size()));
  if (line.size() < 2 || (line.front() != '"' && line.front() != '<')) return {};
  const bool quoted = line.front() == '"';
  const auto close = line.find(quoted ? '"' : '>', 1);
  if (close == std::string_view::npos) return {};
  return {line.substr(1, close - 1), quoted};
}

// The file an include names, relative to the top of the tree, looked for as
// the build's compiler looks for it: a quoted name beside the including file
// first, then in the two include folders of the build (the top of the tree
// and tests/), a name in angle brackets in those two only. Empty when it is
// no file of the tree.
fs::path Resolve(const fs::path& root, const fs::path& includingFile, const Include& include) {
  std::vector<fs::path> candidates;
  if (include.quoted) candidates.push_back(root / includingFile.parent_path() / include.name);
  candidates.push_back(root / include.name);
  candidates.push_back(root / "tests" / include.name);
  for (const auto& c : candidates) {
    std::error_code ec;
    if (fs::is_regular_file(c, ec)) {
      const auto relative = c.lexically_normal().lexically_relative(root);
      if (!relative.empty() && *relative.begin() != "..") return relative;
    }
  }
  return {};
}

std::vector<fs::path> SourceFiles(const fs::path& root, std::string_view top) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root / top, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_regular_file(ec) && IsSource(it->path())) {
      files.push_back(it->path().lexically_relative(root));
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

bool ReadFolderOrder(std::string_view readme, FolderOrder& order, std::string& error) {
  order.levels.clear();
  int blocks = 0;
  bool inBlock = false;
  std::istringstream in{std::string(readme)};
  for (std::string raw; std::getline(in, raw);) {
    const std::string_view line = Trim(raw);
    if (inBlock) {
      if (line == kFence) {
        inBlock = false;
      } else if (!line.empty()) {
        order.levels.push_back(Words(line));
      }
    } else if (line == kOrderFence) {
      inBlock = true;
      ++blocks;
    }
  }
  if (blocks == 0) {
    error = "the README has no block \"" + std::string(kOrderFence) + "\"";
  } else if (blocks > 1) {
    error = "the README has " + std::to_string(blocks) + " blocks \"" +
            std::string(kOrderFence) + "\", not one";
  } else if (inBlock) {
    error = "the README's block \"" + std::string(kOrderFence) + "\" is not closed";
  } else if (order.levels.empty()) {
    error = "the README's block \"" + std::string(kOrderFence) + "\" names no folder";
  } else {
    return true;
  }
  return false;
}

Place PlaceOf(const FolderOrder& order, std::string_view folder) {
  Place place;
  for (int level = 0; level < static_cast<int>(order.levels.size()); ++level) {
    for (const auto& f : order.levels[level]) {
      const bool holds = folder == f || (folder.size() > f.size() &&
                                         folder.substr(0, f.size()) == f &&
                                         folder[f.size()] == '/');
      if (holds && f.size() > place.folder.size()) place = {level, f};
    }
  }
  return place;
}

std::vector<std::string> OrderMistakes(const fs::path& root, const FolderOrder& order,
                                       const std::vector<std::string>& tops) {
  std::vector<std::string> mistakes;
  std::set<std::string> named;
  for (const auto& level : order.levels) {
    for (const auto& f : level) {
      std::error_code ec;
      if (!fs::is_directory(root / f, ec)) {
        mistakes.push_back("the order names " + f + ", which is no folder of the tree");
      }
      if (!named.insert(f).second) mistakes.push_back("the order names " + f + " twice");
    }
  }
  std::set<std::string> homeless;
  for (const auto& top : tops) {
    for (const auto& file : SourceFiles(root, top)) {
      if (PlaceOf(order, FolderOf(file)).level < 0) homeless.insert(FolderOf(file));
    }
  }
  for (const auto& f : homeless) {
    mistakes.push_back(f + " holds sources but has no place in the order");
  }
  return mistakes;
}

std::vector<std::string> WrongIncludes(const fs::path& root, const FolderOrder& order,
                                       std::string_view top) {
  std::vector<std::string> wrong;
  for (const auto& file : SourceFiles(root, top)) {
    const Place from = PlaceOf(order, FolderOf(file));
    std::istringstream in(ReadText(root / file));
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
      ++lineNumber;
      const Include include = IncludeOf(line);
      if (include.name.empty()) continue;
      const fs::path included = Resolve(root, file, include);
      // A name in angle brackets that is no file of the tree is the system's
      // or a library's (<vector>, <QWidget>, <gtest/gtest.h>).
      if (included.empty() && !include.quoted) continue;
      const std::string where = file.generic_string() + ":" + std::to_string(lineNumber) +
                                ": #include " + (include.quoted ? "\"" : "<") +
                                std::string(include.name) + (include.quoted ? "\"" : ">") +
                                ": ";
      if (included.empty()) {
        wrong.push_back(where + "no file of the tree (looked for beside the file, from the top "
                                "of the tree and from tests/)");
        continue;
      }
      const Place to = PlaceOf(order, FolderOf(included));
      if (from.level < 0 || to.level < 0) {
        wrong.push_back(where + (from.level < 0 ? FolderOf(file) : FolderOf(included)) +
                        " has no place in the order");
      } else if (from.folder != to.folder && to.level >= from.level) {
        wrong.push_back(where + from.folder + " may not include " + to.folder + ", which is " +
                        (to.level == from.level ? "its peer on its line" : "above it") +
                        " in the order");
      }
    }
  }
  return wrong;
}

}  // namespace dovetam::layers
