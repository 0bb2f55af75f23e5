// The open folders of a run (core/run/open_folders.h) on real files: the
// descriptors a run holds stay within what it may hold (the folder used
// longest ago is closed for the next one), every kind of call that fails
// for want of descriptors is made again once room is made, and one that
// still fails with no folder held to close names its cause in the log and
// the report.
#include <dirent.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/run/log_reading.h"
#include "core/run/open_folders.h"
#include "core/run/run_fixture.h"

namespace dovetam::testing {
namespace {

std::string U8(std::u16string_view s) { return EncodeNativeLossy(s); }

// The descriptors this process has open now.
int OpenDescriptors() {
  int n = 0;
  if (DIR* fds = opendir("/proc/self/fd")) {
    while (const dirent* e = readdir(fds)) n += e->d_name[0] != '.';
    closedir(fds);
    --n;  // the listing's own
  }
  return n;
}

constexpr int kFolders = 60;
constexpr int kFilesPerFolder = 2;

class OpenFoldersTest : public RunTest {
 protected:
  static std::u16string Folder(int k) { return FileRun::Numbered(u'd', k, 3); }
  static std::u16string File(int k, int f) { return FileRun::Numbered(u'f', k * 10 + f, 4); }
  // "g" in place of the first letter, built front to back (a prefix put before a
  // temporary string makes GCC 12 warn of a memcpy overlap that cannot happen).
  static std::u16string NewName(const std::u16string& name) {
    return std::u16string(u"g").append(name, 1);
  }

  // kFolders folders of kFilesPerFolder targets each, all taking a new name.
  void MakeTargets() {
    objects.Reset(kFolders * kFilesPerFolder);
    for (int k = 1; k <= kFolders; ++k) {
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
  int FoldersRenamed() const {
    int renamed = 0;
    for (int k = 1; k <= kFolders; ++k) {
      renamed += Names(Folder(k)) ==
                 std::vector<std::u16string>{NewName(File(k, 1)), NewName(File(k, 2))};
    }
    return renamed;
  }
  std::u16string FolderPath(int k) const { return W() + Folder(k) + u"/"; }
};

// Told that 48 files are free, a run holds at most (48 - 8) / 2 = 20 folders
// open at once: the folder used longest ago is closed for the next one.
// With every folder kept open the run would hold all 60.
TEST_F(OpenFoldersTest, ARunHoldsNoMoreFoldersOpenThanItMay) {
  MakeTargets();
  fs.filesFree = 48;
  const int holdAtMost = OpenFolders(fs).HoldsAtMost();
  ASSERT_EQ(20, holdAtMost);
  for (const bool thread : {true, false}) {
    SCOPED_TRACE(thread ? "with the rename thread" : "on one thread");
    renameThread = thread;
    const int before = OpenDescriptors();
    int most = before;
    RunEnvironment env = EnvWith(
        fs, reportPath,
        [&](const std::u16string& name) {
          most = std::max(most, OpenDescriptors());
          return Generate(name);
        },
        host);
    boxes.answers.push_front(MsgAnswer::Yes);
    const OperationSummary run = ExecuteRenameRun(env, 1);
    EXPECT_EQ(kFolders * kFilesPerFolder, run.done);
    EXPECT_EQ(kFolders, FoldersRenamed());
    // The folders held and the log; nothing else stays open between targets.
    EXPECT_LE(most - before, holdAtMost + 1);
    EXPECT_GT(most - before, holdAtMost / 2) << "the run held hardly any folder open";
    EXPECT_EQ(before, OpenDescriptors()) << "a descriptor left open by the run";
    EXPECT_EQ(kFolders * kFilesPerFolder, Restore().done);
    changeState = 0;
  }
}

struct RoomCase {
  const char* label;
  FsCall call;
  bool thread;
};

void PrintTo(const RoomCase& c, std::ostream* os) { *os << c.label; }

class OpenFoldersRoomTest : public OpenFoldersTest,
                            public ::testing::WithParamInterface<RoomCase> {};

// A call of folder d040 fails once for want of descriptors while 20 folders
// are held: they are closed and the call made again, so every object is
// renamed. (The rename thread makes only renames that need no descriptor,
// so a rename short of them is made on the run's thread.)
TEST_P(OpenFoldersRoomTest, ACallShortOfDescriptorsIsMadeAgainOnceRoomIsMade) {
  const RoomCase& c = GetParam();
  MakeTargets();
  renameThread = c.thread;
  fs.filesFree = 48;
  const std::u16string path =
      c.call == FsCall::Rename ? FolderPath(40) + File(40, 1) : FolderPath(40);
  fs.Fail(c.call, path, kFsTooManyFiles, 1);
  const OperationSummary run = Run();
  EXPECT_EQ(kFolders * kFilesPerFolder, run.done);
  EXPECT_EQ(0, run.errors);
  EXPECT_EQ(kFolders, FoldersRenamed());
  EXPECT_EQ(2u, fs.CountCalls(c.call, path)) << "the failed call was not made again";
  // Listed after all: no name of d040 was asked of the disk one by one.
  const std::size_t asked = std::count_if(fs.calls.begin(), fs.calls.end(), [&](const auto& call) {
    return call.first == FsCall::FileExists && call.second.starts_with(FolderPath(40));
  });
  EXPECT_EQ(0u, asked);
  const std::u16string log = LogFile();
  EXPECT_EQ(0, Occurrences(log, u"エラー")) << U8(log);
  EXPECT_EQ(kFolders * kFilesPerFolder, Occurrences(log, u"\t\t正常終了\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Calls, OpenFoldersRoomTest,
    ::testing::Values(RoomCase{"OpenFolder", FsCall::OpenFolder, true},
                      RoomCase{"OpenFolderOnOneThread", FsCall::OpenFolder, false},
                      RoomCase{"Listing", FsCall::ListFolder, true},
                      RoomCase{"ListingOnOneThread", FsCall::ListFolder, false},
                      RoomCase{"RenameOnOneThread", FsCall::Rename, false}),
    [](const auto& info) { return std::string(info.param.label); });

// What fails for want of descriptors in folder d002.
enum class Short { OpenFolder, ListingAndExistence, Rename };

struct CauseCase {
  const char* label;
  Short what;
  std::u16string_view line;  // the line its targets end with
  std::u16string_view status;
};

void PrintTo(const CauseCase& c, std::ostream* os) { *os << c.label; }

class OpenFoldersCauseTest : public OpenFoldersTest,
                             public ::testing::WithParamInterface<CauseCase> {};

// With no folder held (no descriptor to spare), a call of d002 that fails
// for want of descriptors fails its targets, and the log and the report say
// why; the targets of the other folders are renamed.
TEST_P(OpenFoldersCauseTest, DescriptorsRunningOutAreNamedInTheLogAndTheReport) {
  const CauseCase& c = GetParam();
  MakeTargets();
  renameThread = false;
  fs.filesFree = 8;
  ASSERT_EQ(0, OpenFolders(fs).HoldsAtMost());
  switch (c.what) {
    case Short::OpenFolder: fs.Fail(FsCall::OpenFolder, FolderPath(2), kFsTooManyFiles); break;
    case Short::ListingAndExistence:
      fs.Fail(FsCall::ListFolder, FolderPath(2), kFsTooManyFiles);
      for (int f = 1; f <= kFilesPerFolder; ++f) {
        fs.Fail(FsCall::FileExists, FolderPath(2) + NewName(File(2, f)), kFsTooManyFiles);
      }
      break;
    case Short::Rename:
      for (int f = 1; f <= kFilesPerFolder; ++f) {
        fs.Fail(FsCall::Rename, FolderPath(2) + File(2, f), kFsTooManyFiles);
      }
      break;
  }
  const OperationSummary run = Run();
  EXPECT_EQ(kFilesPerFolder, run.errors);
  EXPECT_EQ((kFolders - 1) * kFilesPerFolder, run.done);
  EXPECT_EQ(kFolders - 1, FoldersRenamed());
  const std::u16string log = LogFile();
  EXPECT_EQ(kFilesPerFolder, Occurrences(log, std::u16string(c.line) + u"\r\n")) << U8(log);
  const std::u16string report = ReportFile();
  for (int f = 1; f <= kFilesPerFolder; ++f) {
    const std::u16string newName = c.what == Short::Rename ? NewName(File(2, f)) : u"";
    EXPECT_NE(std::u16string::npos,
              report.find(ReportEntryLine(FolderPath(2) + File(2, f), newName, c.status)))
        << U8(report);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, OpenFoldersCauseTest,
    ::testing::Values(
        CauseCase{"OpenFolder", Short::OpenFolder, u"\tエラー(開いているファイルが多すぎます。)",
                  u"エラー(開いているファイルが多すぎます。)"},
        CauseCase{"ListingAndExistence", Short::ListingAndExistence,
                  u"\tシステムエラー(開いているファイルが多すぎるため、変更名を取得できませんでした。)",
                  u"システムエラー(開いているファイルが多すぎるため、変更名を取得できませんでした。)"},
        CauseCase{"Rename", Short::Rename, u"\t\tエラー(開いているファイルが多すぎます。)",
                  u"エラー(開いているファイルが多すぎます。)"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dovetam::testing
