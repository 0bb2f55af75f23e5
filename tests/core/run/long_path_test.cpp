// Targets whose paths grow past PATH_MAX: sixteen nested folders and a file
// at the bottom, all targets, each renamed to a longer name by a rule that
// reads its date, so that the folder of the file ends longer than any path
// the system takes whole. The run, the re-run and the restore reach every
// folder through open folders, in either order of the targets and with as
// few descriptors as a run needs, and the log shows every path whole.
#include <limits.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/rule/date_codes.h"
#include "core/rule/rule_call.h"
#include "core/rule/rule_workspace.h"
#include "core/run/child_process.h"
#include "core/run/log_reading.h"
#include "core/run/run_fixture.h"
#include "testing/nested_folders.h"
#include "testing/open_files.h"

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

struct LongPathCase {
  const char* label;
  Order order;
  int filesFree;  // descriptors left to open when the operations start; 0: as many as there are
};

void PrintTo(const LongPathCase& c, std::ostream* os) { *os << c.label; }

// What the child saw of the run, the re-run and the restore.
struct Seen {
  bool limited = true;
  OperationSummary run, rerun, restore;
  char afterRun[kLevels + 2] = {};
  char afterRestore[kLevels + 2] = {};
  bool fileFolderTooLong = false;  // the file's folder after the run, for the system
  int runDone = 0;                 // outcome lines "正常終了" of the run
  bool runShowsPaths = false;      // the file's object line and report entry, whole
  int rerunSame = 0;               // "スキップ(同名)" of the re-run
  bool restoreShowsPath = false;   // the file's object line of the restore, whole
  bool pathBackAsBefore = false;
  int datesRead = 0;
};

class LongPathTest : public RunTest, public ::testing::WithParamInterface<LongPathCase> {
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
    if (GetParam().order == Order::BottomUp) std::reverse(levels.begin(), levels.end());
    // No dates: the rule reads them.
    for (const auto& [where, name] : levels) {
      ASSERT_TRUE(objects.Append(where, name, name != file, 0, 0, Capacities::Small(),
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
  // A run (index 1) or re-run (2) whose rule reads the last-modified date
  // of each target before it gives the name of the table.
  OperationSummary RunReadingDates(int index) {
    boxes.answers.push_front(MsgAnswer::Yes);
    RunEnvironment env = Env();
    env.generate = [this](const std::u16string& name) {
      std::u16string newName = Generate(name);
      RuleWorkspace ws;
      const Capacities caps = Capacities::Small();
      RuleCall call{settings, context, ws, fs, caps};
      DateCodeValue date;
      if (!GetObjectDateCode(call, kDateModified, 7, date)) return std::u16string();
      ++datesRead;
      return newName;
    };
    return ExecuteRenameRun(env, index);
  }
  static void Keep(const std::string& shape, char (&to)[kLevels + 2]) {
    std::strncpy(to, shape.c_str(), kLevels + 1);
  }
  int datesRead = 0;
};

TEST_P(LongPathTest, RunReRunAndRestoreDoEveryObject) {
  const LongPathCase& c = GetParam();
  MakeChain();
  const int32_t count = objects.ObjCount;
  ASSERT_EQ(kLevels + 1, count);
  Child child = Child::Start([&] {
    Seen seen;
    if (c.filesFree > 0) seen.limited = LimitOpenFiles(LimitLeaving(c.filesFree));
    if (!seen.limited) return seen;
    const int32_t file = c.order == Order::TopDown ? count : 1;
    const std::u16string before = objects.ObjFolder[file] + objects.ObjName[file];

    seen.run = RunReadingDates(1);
    Keep(Shape(), seen.afterRun);
    const std::u16string after = objects.ObjFolder[file] + objects.ObjName[file];
    seen.fileFolderTooLong = U8(objects.ObjFolder[file]).size() >= std::size_t{PATH_MAX};
    // The file's object line and its report entry show its paths whole.
    const std::u16string& log = journal.LogText;
    const std::u16string shown =
        c.order == Order::TopDown ? objects.ObjFolder[file] + LevelName(0, kShort) : before;
    seen.runDone = Occurrences(log, u"\t\t正常終了\r\n");
    seen.runShowsPaths =
        Occurrences(log, shown + u" :\r\n") == 1 &&
        host.reportText.find(ReportEntryLine(shown, objects.ObjName[file], u"正常変更")) !=
            std::u16string::npos;

    // The re-run finds every object bearing its new name.
    seen.rerun = RunReadingDates(2);
    seen.rerunSame = Occurrences(log, u"\t\tスキップ(同名)\r\n");

    seen.restore = Restore();
    Keep(Shape(), seen.afterRestore);
    seen.pathBackAsBefore = before == objects.ObjFolder[file] + objects.ObjName[file];
    // The restore's object line of the file shows the folder it was in then.
    const std::u16string folderThen = c.order == Order::BottomUp
                                          ? after.substr(0, after.rfind(u'/') + 1)
                                          : objects.ObjFolder[file];
    seen.restoreShowsPath =
        Occurrences(log, folderThen + LevelName(0, kShort) + u" (変更名 " +
                       after.substr(after.rfind(u'/') + 1) + u") :\r\n") == 1;
    seen.datesRead = datesRead;
    return seen;
  });
  ASSERT_EQ(0, child.Wait());
  Seen seen;
  ASSERT_TRUE(child.TakeResult(seen));
  ASSERT_TRUE(seen.limited);
  EXPECT_EQ(count, seen.run.done);
  EXPECT_EQ(0, seen.run.errors);
  EXPECT_EQ(std::string(kLevels + 1, 'n'), seen.afterRun);
  EXPECT_TRUE(seen.fileFolderTooLong);
  EXPECT_EQ(count, seen.runDone);
  EXPECT_TRUE(seen.runShowsPaths);
  EXPECT_EQ(count, seen.rerun.done);
  EXPECT_EQ(0, seen.rerun.errors);
  EXPECT_EQ(count, seen.rerunSame);
  EXPECT_EQ(2 * count, seen.datesRead);
  EXPECT_EQ(count, seen.restore.done);
  EXPECT_EQ(0, seen.restore.errors);
  EXPECT_EQ(std::string(kLevels + 1, 'o'), seen.afterRestore);
  EXPECT_TRUE(seen.pathBackAsBefore);
  EXPECT_TRUE(seen.restoreShowsPath);
  // What the child left on disk.
  EXPECT_EQ(std::string(kLevels + 1, 'o'), Shape());
  const std::u16string log = LogFile();
  EXPECT_EQ(1, Occurrences(log, u" 名前変更終了\r\n"));
  EXPECT_EQ(1, Occurrences(log, u" 名前再変更終了\r\n"));
  EXPECT_EQ(1, Occurrences(log, u" 名前復元終了\r\n"));
  EXPECT_EQ(0, Occurrences(log, u"エラー"));
}

INSTANTIATE_TEST_SUITE_P(Cases, LongPathTest,
                         ::testing::Values(LongPathCase{"TopDown", Order::TopDown, 0},
                                           LongPathCase{"BottomUp", Order::BottomUp, 0},
                                           // The least a run needs: the log, a folder
                                           // and its listing (or the two of a walk).
                                           LongPathCase{"TopDownAtTheFloor", Order::TopDown, 3},
                                           LongPathCase{"BottomUpAtTheFloor", Order::BottomUp, 3}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dovetam::testing
