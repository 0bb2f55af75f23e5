// Targets whose paths grow past PATH_MAX: sixteen nested folders and a file
// at the bottom, all targets, each renamed to a longer name, so that the
// folder of the file ends longer than any path the system takes whole. The
// run, the re-run and the restore reach every folder through open folders,
// in either order of the targets, and the log shows every path whole.
#include <limits.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/run/run_fixture.h"
#include "testing/nested_folders.h"

namespace dovetam::testing {
namespace {

std::string U8(std::u16string_view s) { return EncodeNativeLossy(s); }

constexpr int kLevels = 16;
constexpr std::size_t kShort = 240;  // bytes of a name before the run
constexpr std::size_t kLong = 255;   // and after it: the longest a name may be

// Name of level k (0 the file at the bottom), `length` bytes.
std::u16string LevelName(int k, std::size_t length) {
  std::u16string name = k == 0 ? u"file-" : u"level" + std::u16string(1, u'a' + k) + u"-";
  name.resize(length, k == 0 ? u'f' : u'd');
  return name;
}

enum class Order { TopDown, BottomUp };

class LongPathTest : public RunTest, public ::testing::WithParamInterface<Order> {
 protected:
  // The folders w/level1/.../level16/ and the file in the last one, all
  // targets in the order of the case.
  void MakeChain() {
    std::vector<std::string> names;
    std::u16string folder = W();
    std::vector<std::pair<std::u16string, std::u16string>> levels;  // (folder, name), top first
    for (int k = 1; k <= kLevels; ++k) {
      const std::u16string name = LevelName(k, kShort);
      names.push_back(U8(name));
      levels.emplace_back(folder, name);
      folder += name + u"/";
    }
    const std::u16string file = LevelName(0, kShort);
    ASSERT_TRUE(MakeNestedFolders(dir.native() + "w", names, U8(file), "x"));
    levels.emplace_back(folder, file);
    ASSERT_GE(U8(folder).size() + kLevels * (kLong - kShort), std::size_t{PATH_MAX})
        << "the folders end longer than a path may be";
    ASSERT_LT(U8(folder).size(), std::size_t{PATH_MAX} - 40)
        << "a temporary folder this long leaves no room for the test";
    if (GetParam() == Order::BottomUp) std::reverse(levels.begin(), levels.end());
    for (const auto& [where, name] : levels) {
      ASSERT_TRUE(objects.Append(where, name, name != file, 1.0, 1.0, Capacities::Small(),
                                 IdentityOf(where)));
      Rule(name, name.substr(0, 5) + u"+" + name.substr(5, kLong - kShort - 1) + name.substr(5));
    }
  }
  FolderIdentity IdentityOf(const std::u16string& folder) {
    std::unique_ptr<FolderHandle> h;
    EXPECT_EQ(kFsOk, realFs->OpenFolder(folder, h));
    return h ? h->Identity() : FolderIdentity{};
  }

  // The chain on disk as one letter a level, from w/ down: "o" the name of
  // before the run, "n" the new name, "?" anything else.
  std::string Shape() const {
    std::string out;
    const std::vector<std::vector<std::string>> chain = NestedNames(dir.native() + "w");
    for (std::size_t k = 0; k < chain.size(); ++k) {
      const std::u16string name = LevelName(k < kLevels ? static_cast<int>(k) + 1 : 0, kShort);
      const auto it = rule.find(name);
      const std::vector<std::string> renamed{it == rule.end() ? "" : U8(it->second)};
      out += chain[k] == std::vector<std::string>{U8(name)} ? 'o'
             : chain[k] == renamed                          ? 'n'
                                                            : '?';
    }
    return out;
  }
  static int Count(std::u16string_view text, std::u16string_view part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::u16string_view::npos;
         at = text.find(part, at + 1)) {
      ++n;
    }
    return n;
  }
};

TEST_P(LongPathTest, RunReRunAndRestoreDoEveryObject) {
  MakeChain();
  const int32_t count = objects.ObjCount;
  ASSERT_EQ(kLevels + 1, count);
  const int32_t file = GetParam() == Order::TopDown ? count : 1;
  const std::u16string before = objects.ObjFolder[file] + objects.ObjName[file];

  OperationSummary s = Run();
  EXPECT_EQ(count, s.done);
  EXPECT_EQ(0, s.errors);
  EXPECT_EQ(std::string(kLevels + 1, 'n'), Shape());
  const std::u16string after = objects.ObjFolder[file] + objects.ObjName[file];
  EXPECT_GE(EncodeNativeLossy(objects.ObjFolder[file]).size(), std::size_t{PATH_MAX});
  // The file's object line and its report entry show its paths whole.
  const std::u16string runLog = LogFile();
  const std::u16string shown =
      GetParam() == Order::TopDown ? objects.ObjFolder[file] + LevelName(0, kShort) : before;
  EXPECT_EQ(1, Count(runLog, shown + u" :\r\n")) << U8(runLog.substr(0, 300));
  EXPECT_EQ(count, Count(runLog, u"\t\t正常終了\r\n"));
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(ReportEntryLine(shown, objects.ObjName[file], u"正常変更")));

  // The re-run finds every object bearing its new name.
  boxes.Clear();
  s = Run(2);
  EXPECT_EQ(count, s.done);
  EXPECT_EQ(0, s.errors);
  EXPECT_EQ(count, Count(journal.LogText, u"\t\tスキップ(同名)\r\n"));
  EXPECT_EQ(std::string(kLevels + 1, 'n'), Shape());

  boxes.Clear();
  s = Restore();
  EXPECT_EQ(count, s.done);
  EXPECT_EQ(0, s.errors);
  EXPECT_EQ(std::string(kLevels + 1, 'o'), Shape());
  EXPECT_TRUE(before == objects.ObjFolder[file] + objects.ObjName[file]);
  // The restore's object line of the file shows the folder it was in then.
  const std::u16string folderThen = GetParam() == Order::BottomUp
                                        ? after.substr(0, after.rfind(u'/') + 1)
                                        : objects.ObjFolder[file];
  EXPECT_EQ(1, Count(journal.LogText, folderThen + LevelName(0, kShort) + u" (変更名 " +
                                          after.substr(after.rfind(u'/') + 1) + u") :\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Orders, LongPathTest,
                         ::testing::Values(Order::TopDown, Order::BottomUp),
                         [](const auto& info) {
                           return std::string(info.param == Order::TopDown ? "TopDown" : "BottomUp");
                         });

}  // namespace
}  // namespace dovetam::testing
