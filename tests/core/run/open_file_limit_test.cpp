// A run and a restore under a low limit of open files (RLIMIT_NOFILE, set in
// a child process): more folders than the process may hold open, each with a
// few files, and every object is renamed and renamed back, the log saying so.
#include <gtest/gtest.h>

#include "core/run/child_process.h"
#include "core/run/log_reading.h"
#include "core/run/run_fixture.h"
#include "testing/open_files.h"

namespace dovetam::testing {
namespace {

std::string U8(std::u16string_view s) { return EncodeNativeLossy(s); }

struct LimitCase {
  const char* label;
  int folders;
  int limit;           // RLIMIT_NOFILE of the run
  bool aboveOpen;      // limit: the descriptors left to open when the run starts
  bool renameThread;
  int filesFree = 0;   // what the file system says is free (0: the truth)
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.label; }

constexpr int kFilesPerFolder = 4;

// What the child saw.
struct Seen {
  bool limited = false;
  int limit = 0;
  OperationSummary run, restore;
};

class OpenFileLimitTest : public RunTest, public ::testing::WithParamInterface<LimitCase> {
 protected:
  static std::u16string Folder(int k) { return FileRun::Numbered(u'd', k, 3); }
  static std::u16string File(int k, int f) { return FileRun::Numbered(u'f', k * 10 + f, 4); }
  // "g" in place of the first letter, built front to back (a prefix put before a
  // temporary string makes GCC 12 warn of a memcpy overlap that cannot happen).
  static std::u16string NewName(const std::u16string& name) {
    return std::u16string(u"g").append(name, 1);
  }

  void MakeTargets(int folders) {
    objects.Reset(folders * kFilesPerFolder);
    for (int k = 1; k <= folders; ++k) {
      dir.MakeFolder(u"w/" + Folder(k));
      std::unique_ptr<FolderHandle> h;
      ASSERT_EQ(kFsOk, realFs->OpenFolder(W() + Folder(k) + u"/", h));
      for (int f = 1; f <= kFilesPerFolder; ++f) {
        dir.MakeFile(u"w/" + Folder(k) + u"/" + File(k, f), "x");
        ASSERT_TRUE(objects.Append(W() + Folder(k) + u"/", File(k, f), false, 1.0, 1.0,
                                   Capacities::Large(), h->Identity()));
        Rule(File(k, f), NewName(File(k, f)));
      }
    }
  }
  // Every folder holding exactly its files, new names or not.
  int FoldersAsExpected(int folders, bool renamed) const {
    int good = 0;
    for (int k = 1; k <= folders; ++k) {
      std::vector<std::u16string> want;
      for (int f = 1; f <= kFilesPerFolder; ++f) {
        want.push_back(renamed ? NewName(File(k, f)) : File(k, f));
      }
      good += Names(Folder(k)) == want;
    }
    return good;
  }
};

TEST_P(OpenFileLimitTest, EveryObjectIsRenamedAndRestored) {
  const LimitCase& c = GetParam();
  if (c.filesFree > c.limit && kSanitizerFiles > 0) {
    GTEST_SKIP() << "the process runs out of descriptors, and the sanitizer needs some of its own";
  }
  MakeTargets(c.folders);
  renameThread = c.renameThread;
  if (c.filesFree > 0) fs.filesFree = c.filesFree;
  const int targets = c.folders * kFilesPerFolder;
  Child child = Child::Start([&] {
    Seen seen;
    seen.limit = c.aboveOpen ? LimitLeaving(c.limit) : c.limit;
    seen.limited = LimitOpenFiles(seen.limit);
    if (!seen.limited) return seen;
    seen.run = Run();
    seen.restore = Restore();
    return seen;
  });
  ASSERT_EQ(0, child.Wait());
  Seen seen;
  ASSERT_TRUE(child.TakeResult(seen));
  ASSERT_TRUE(seen.limited);
  SCOPED_TRACE("open files at most " + std::to_string(seen.limit));
  EXPECT_EQ(targets, seen.run.done);
  EXPECT_EQ(0, seen.run.errors);
  EXPECT_EQ(targets, seen.restore.done);
  EXPECT_EQ(0, seen.restore.errors);
  EXPECT_EQ(c.folders, FoldersAsExpected(c.folders, false));
  // The log holds the run's block and the restore's, each renaming all.
  const std::u16string log = LogFile();
  EXPECT_EQ(1, Occurrences(log, u" 名前変更終了\r\n"));
  EXPECT_EQ(1, Occurrences(log, u" 名前復元終了\r\n"));
  EXPECT_EQ(2 * targets, Occurrences(log, u"\t\t正常終了\r\n"));
  EXPECT_EQ(targets, Occurrences(log, u" 変更開始\r\n"));
  EXPECT_EQ(targets, Occurrences(log, u" 復元開始\r\n"));
  EXPECT_EQ(0, Occurrences(log, u"エラー")) << U8(log.substr(0, 2000));
}

INSTANTIATE_TEST_SUITE_P(
    Limits, OpenFileLimitTest,
    ::testing::Values(
        // As found: 300 folders of 4 files under `ulimit -n 200`.
        LimitCase{"MoreFoldersThanTheLimit", 300, 200, false, true},
        LimitCase{"FewDescriptorsLeft", 120, 40, true, true},
        LimitCase{"FewDescriptorsLeftOnOneThread", 120, 40, true, false},
        // One folder held at a time: each next folder waits for the rename
        // thread to be done with the one before it.
        LimitCase{"OneFolderHeldAtATime", 120, 40, true, true, 10},
        // Told of more than there is: the opens that fail make room.
        LimitCase{"FewerDescriptorsThanTold", 120, 20, true, true, 100000},
        LimitCase{"FewerDescriptorsThanToldOnOneThread", 120, 20, true, false, 100000},
        // The least a run needs over what is open when it starts: the log,
        // one folder and its listing.
        LimitCase{"AtTheFloor", 60, 3, true, true}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dovetam::testing
