// A folder whose path has an exact length, for calls at and past the length
// of a path the system takes whole (PATH_MAX bytes, its NUL included): made
// in a temporary folder as nested folders, and holding two files and a
// folder whose names have 255 bytes (the longest a name may be), so that the
// paths of its entries pass PATH_MAX wherever the folder's own path has more
// than PATH_MAX - 256 bytes.
#pragma once

#include <limits.h>

#include <string>
#include <vector>

#include "platform/utf8_codec.h"
#include "testing/nested_folders.h"
#include "testing/temp_dir.h"

namespace dovetam::testing {

// The folder lengths worth a test: the last one whose entries' paths all
// fit, the window of folders that fit while their entries' paths do not,
// and folders past one, two and three times PATH_MAX (their paths walked in
// one, two and three parts).
struct DeepLength {
  const char* label;
  std::size_t length;  // bytes of the folder's path, its final "/" included
};

inline const std::vector<DeepLength>& DeepLengths() {
  static const std::vector<DeepLength> lengths = {
      {"EntriesFit", PATH_MAX - 256},
      {"WindowStart", PATH_MAX - 255},
      {"WindowMiddle", PATH_MAX - 128},
      {"WindowEnd", PATH_MAX - 1},
      {"PastPathMax", PATH_MAX + 200},
      {"PastTwicePathMax", 2 * PATH_MAX + 300},
      {"PastThricePathMax", 3 * PATH_MAX + 100},
  };
  return lengths;
}

inline void PrintTo(const DeepLength& d, std::ostream* os) { *os << d.label; }

struct DeepFolder {
  // The folder of `length` bytes in `dir`, with the files Entry('a') and
  // Entry('C') and the folder Entry('s') in it.
  DeepFolder(const TempDir& dir, std::size_t length) : base(dir.native()) {
    const std::vector<std::string> names = NestedNamesOfLength(base.size(), length);
    depth = names.size();
    std::string bytes = dir.native();
    for (const std::string& name : names) bytes += name + "/";
    path = DecodeNative(bytes);
    made = bytes.size() == length &&
           MakeNestedFolders(dir.native(), names, EncodeNativeLossy(Entry(u'a')), "a") &&
           MakeNestedFolders(dir.native(), names, EncodeNativeLossy(Entry(u'C')), "c");
    std::vector<std::string> withFolder = names;
    withFolder.push_back(EncodeNativeLossy(Entry(u's')));
    made = made && MakeNestedFolders(dir.native(), withFolder, "");
  }
  // A name of 255 bytes: `first`, then "x".
  static std::u16string Entry(char16_t first) {
    std::u16string name(255, u'x');
    name[0] = first;
    return name;
  }
  // The names in the folder, sorted, read level by level from the
  // temporary folder down.
  std::vector<std::u16string> Names() const {
    const std::vector<std::vector<std::string>> chain = NestedNames(base);
    std::vector<std::u16string> names;
    if (chain.size() > depth) {
      for (const std::string& n : chain[depth]) names.push_back(DecodeNative(n));
    }
    return names;
  }
  std::string base;
  std::size_t depth = 0;  // levels of folders under the temporary folder
  std::u16string path;    // ends in "/"
  bool made = false;
};

}  // namespace dovetam::testing
