// A fresh temporary folder for one test, removed with everything in it when
// the object goes away (read-only entries too). Helpers make files, folders
// and links with given names and contents; relative names may hold "/" to
// reach into subfolders. A helper that cannot do its work throws
// std::runtime_error, which fails the test.
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace dovetam::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& native() const { return native_; }  // bytes, ends in "/"
  std::u16string path() const;                           // ends in "/"
  std::u16string PathOf(std::u16string_view relative) const;

  void MakeFile(std::u16string_view relative, std::string_view content = "") const;
  // A file whose name is given as raw bytes (names that are not UTF-8).
  void MakeFileBytes(std::string_view relativeBytes, std::string_view content = "") const;
  void MakeFolder(std::u16string_view relative) const;
  void MakeSymlink(std::u16string_view relative, std::string_view target) const;
  void SetModified(std::u16string_view relative, std::time_t t) const;
  void SetMode(std::u16string_view relative, unsigned mode) const;

  bool Exists(std::u16string_view relative) const;  // exact name, links not followed
  bool IsFolder(std::u16string_view relative) const;
  std::string ReadFile(std::u16string_view relative) const;
  // Exact names in a folder (relative, "" = the temporary folder), sorted.
  std::vector<std::u16string> Names(std::u16string_view relativeFolder = u"") const;

 private:
  std::string Native(std::u16string_view relative) const;
  std::string native_;
};

// A test with its own temporary folder `dir`.
class TempDirTest : public ::testing::Test {
 protected:
  TempDir dir;
};

}  // namespace dovetam::testing
