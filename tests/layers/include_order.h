// The include-order check: reads the order of folders from the README and
// every include of the source tree, `#include "..."` and `#include <...>`
// alike, and names each include of a file of the tree that goes against the
// order. The README's block marked "include-order" is the order
// itself (one line a level, from the bottom up; folders on one line are
// peers), so the README and the check cannot disagree.
//
// A file may include a file of its own folder, or of a folder on a lower line.
// A folder of the order holds its subfolders too, unless a subfolder has a
// line of its own (the longest folder of the order that holds a file is its
// place). An include is looked for as the compiler looks for it: a quoted
// one beside the including file, then from the top of the tree, then from
// tests/ (the two include folders of the build); one in angle brackets from
// those two folders only, and when it is no file of the tree it is the
// system's or a library's and is let be.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dovetam::layers {

// Levels from the bottom up; each level one or more folders relative to the
// top of the tree ("core/run", "tests").
struct FolderOrder {
  std::vector<std::vector<std::string>> levels;
};

// Reads the order from the README's one fenced block that opens with
// "```include-order". Returns false, with the reason in error, when there is
// no such block, more than one, an unclosed one or an empty one.
bool ReadFolderOrder(std::string_view readme, FolderOrder& order, std::string& error);

// The place of a folder (or of a file's folder) in the order: the longest
// folder of the order that is it or holds it, and that folder's level; level
// -1 when it has none.
struct Place {
  int level = -1;
  std::string folder;
};
Place PlaceOf(const FolderOrder& order, std::string_view folder);

// Folders of the order that are no folder of the tree, folders of the order
// named twice, and folders under the tops that hold a source file (.h, .cpp)
// but have no place: one message each.
std::vector<std::string> OrderMistakes(const std::filesystem::path& root,
                                       const FolderOrder& order,
                                       const std::vector<std::string>& tops);

// Every include of the source files under root/top that the order forbids, and
// every quoted include that names no file of the tree, as "file:line: what is wrong", files in
// name order.
std::vector<std::string> WrongIncludes(const std::filesystem::path& root,
                                       const FolderOrder& order, std::string_view top);

}  // namespace dovetam::layers
