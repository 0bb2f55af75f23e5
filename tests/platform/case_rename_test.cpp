// Case-only renames through a temporary name, on a simulated folder that
// ignores letter case (the machines the tests run on have none).
#include "platform/case_rename.h"

#include <algorithm>
#include <cctype>
#include <map>

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace dovetam {
namespace {

// Names in one folder, compared without case; renames never replace.
struct CaseInsensitiveFolder {
  std::map<std::string, std::string> objects;  // upper-case name -> name as stored
  int failOnStep = 0;                           // 1-based call that fails with 75
  int calls = 0;
  std::vector<std::pair<std::string, std::string>> log;

  static std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
  }
  int Rename(const std::string& from, const std::string& to) {
    log.push_back({from, to});
    if (++calls == failOnStep) return kFsIoError;
    auto it = objects.find(Upper(from));
    if (it == objects.end()) return kFsNotFound;
    if (objects.count(Upper(to)) != 0) return kFsAlreadyExists;
    objects.erase(it);
    objects[Upper(to)] = to;
    return kFsOk;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& o : objects) names.push_back(o.second);
    return names;
  }
  std::function<int(const std::string&, const std::string&)> Fn() {
    return [this](const std::string& a, const std::string& b) { return Rename(a, b); };
  }
};

TEST(CaseRenameTest, DirectRenameIsRefusedButTwoStepsWork) {
  CaseInsensitiveFolder f;
  f.objects["/D/NAME.TXT"] = "/d/name.txt";
  EXPECT_EQ(kFsAlreadyExists, f.Rename("/d/name.txt", "/d/Name.TXT"));
  EXPECT_EQ(kFsOk, RenameThroughTemporary(f.Fn(), "/d/", "name.txt", "Name.TXT"));
  EXPECT_EQ(std::vector<std::string>{"/d/Name.TXT"}, f.Names());
  ASSERT_EQ(3u, f.log.size());
  EXPECT_EQ(f.log[1].second, f.log[2].first);  // through one temporary name
  EXPECT_EQ(0u, f.log[1].second.rfind("/d/.dovetam-case-", 0));
}

TEST(CaseRenameTest, SecondStepFailingUndoesTheFirst) {
  CaseInsensitiveFolder f;
  f.objects["/D/NAME.TXT"] = "/d/name.txt";
  f.failOnStep = 2;
  EXPECT_EQ(kFsIoError, RenameThroughTemporary(f.Fn(), "/d/", "name.txt", "NAME.txt"));
  EXPECT_EQ(std::vector<std::string>{"/d/name.txt"}, f.Names());
  ASSERT_EQ(3u, f.log.size());
  EXPECT_EQ(f.log[0].second, f.log[2].first);
  EXPECT_EQ("/d/name.txt", f.log[2].second);
}

TEST(CaseRenameTest, FirstStepFailingChangesNothing) {
  CaseInsensitiveFolder f;
  f.objects["/D/A"] = "/d/a";
  f.failOnStep = 1;
  EXPECT_EQ(kFsIoError, RenameThroughTemporary(f.Fn(), "/d/", "a", "A"));
  EXPECT_EQ(std::vector<std::string>{"/d/a"}, f.Names());
  EXPECT_EQ(1u, f.log.size());
  f.failOnStep = 0;
  EXPECT_EQ(kFsNotFound, RenameThroughTemporary(f.Fn(), "/d/", "missing", "MISSING"));
}

TEST(CaseRenameTest, ATemporaryNameThatExistsIsSkippedNotReplaced) {
  CaseInsensitiveFolder f;
  f.objects["/D/A"] = "/d/a";
  // Take the next few temporary names the function could choose.
  int taken = 0;
  auto fn = [&](const std::string& from, const std::string& to) {
    if (to.find(".dovetam-case-") != std::string::npos && taken < 3) {
      ++taken;
      f.objects[CaseInsensitiveFolder::Upper(to)] = to;  // someone else's file
      return f.Rename(from, to);                         // refused: exists
    }
    return f.Rename(from, to);
  };
  EXPECT_EQ(kFsOk, RenameThroughTemporary(fn, "/d/", "a", "A"));
  const auto names = f.Names();
  EXPECT_EQ(4u, names.size());  // the three foreign files and "A"
  EXPECT_EQ(1, std::count(names.begin(), names.end(), "/d/A"));
}

}  // namespace
}  // namespace dovetam
