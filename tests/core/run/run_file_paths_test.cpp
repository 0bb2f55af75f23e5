// The log and the report file of a run and a restore when their names in
// the program folder are not plain files: a link to a file, a link to
// nothing, a FIFO (with or without a reader). Nothing is written through
// them, the file they lead to stays as it was, a dangling link makes no file,
// and nothing waits: the log gets the question of a log that cannot be made
// or opened (answered No: nothing renamed), the report the message of a
// report file that cannot be opened. Each operation runs in a child process
// with a deadline, so a hang fails the test instead of stopping it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "core/run/child_process.h"
#include "core/run/run_fixture.h"

namespace dovetam::testing {
namespace {

enum class Use { RunLog, RestoreLog, Report };
const char* NameOf(Use use) {
  return use == Use::RunLog ? "RunLog" : use == Use::RestoreLog ? "RestoreLog" : "Report";
}
void PrintTo(Use use, std::ostream* os) { *os << NameOf(use); }

struct Kind {
  const char* name;
  // Makes `relative` in the folder as this kind; returns the descriptor of a
  // reader to close afterwards, or -1.
  std::function<int(const TempDir&, const std::u16string&)> make;
};
void PrintTo(const Kind& k, std::ostream* os) { *os << k.name; }

int Fifo(const TempDir& d, const std::u16string& relative) {
  if (mkfifo(EncodeNativeLossy(d.PathOf(relative)).c_str(), 0600) != 0) {
    throw std::runtime_error("mkfifo");
  }
  return -1;
}

const Kind kKinds[] = {
    {"LinkToAFile",
     [](const TempDir& d, const std::u16string& r) {
       d.MakeSymlink(r, d.native() + "elsewhere/precious");
       return -1;
     }},
    {"DanglingLink",
     [](const TempDir& d, const std::u16string& r) {
       d.MakeSymlink(r, d.native() + "elsewhere/made");
       return -1;
     }},
    {"FifoWithoutReader", Fifo},
    {"FifoWithReader",
     [](const TempDir& d, const std::u16string& r) {
       Fifo(d, r);
       return open(EncodeNativeLossy(d.PathOf(r)).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
     }},
};

// What the child saw.
struct Seen {
  bool performed = false;  // the operation went past opening its log
  bool asked = false;      // the question about the log
  bool told = false;       // the message about the report file
  bool reportSaved = false;
};

class RunFilePathsTest : public RunTest,
                         public ::testing::WithParamInterface<std::tuple<Kind, Use>> {};

TEST_P(RunFilePathsTest, NothingIsWrittenThroughAndNothingWaits) {
  const auto& [kind, use] = GetParam();
  dir.MakeFolder(u"elsewhere");
  dir.MakeFile(u"elsewhere/precious", "keep\n");
  AddTarget(u"a.txt");
  Rule(u"a.txt", u"b.txt");
  const std::u16string bad = use == Use::Report ? u"p/dovetam_report.dat" : u"p/dovetam_rename.log";
  const int reader = kind.make(dir, bad);
  const std::u16string badPath = dir.PathOf(bad);

  Child child = Child::Start([&] {
    Seen seen;
    if (use == Use::RestoreLog) {
      journal.LogPath = dir.PathOf(u"p/first.log");
      Run();
      journal.LogPath = badPath;
      boxes.Clear();
    }
    boxes.QueueAnswer(MsgAnswer::No);  // to the question about the log
    const OperationSummary s = use == Use::RestoreLog ? Restore() : Run();
    seen.performed = s.performed;
    const std::u16string question =
        u"ログファイル(" + badPath +
        (use == Use::RestoreLog ? u")を開けませんでした。\n続行しますか？"
                                : u")を作成できませんでした。\n続行しますか？");
    const std::u16string message = u"レポート用のファイル(" + badPath + u")を開くことができませんでした。";
    for (const MessageBoxCall& call : boxes.calls) {
      seen.asked |= call.text == question;
      seen.told |= call.text == message;
    }
    seen.reportSaved = reportSaved;
    return seen;
  });
  ASSERT_EQ(0, child.Wait()) << "the operation did not end";
  if (reader >= 0) close(reader);
  Seen seen;
  ASSERT_TRUE(child.TakeResult(seen));

  if (use == Use::Report) {
    EXPECT_TRUE(seen.performed);
    EXPECT_TRUE(seen.told);
    EXPECT_FALSE(seen.reportSaved);
    EXPECT_EQ(std::vector<std::u16string>{u"b.txt"}, Names());
  } else {
    EXPECT_TRUE(seen.asked);
    EXPECT_FALSE(seen.performed);
    // The restore found b.txt and left it; the run found a.txt and left it.
    EXPECT_EQ(std::vector<std::u16string>{use == Use::RestoreLog ? u"b.txt" : u"a.txt"}, Names());
  }
  EXPECT_EQ("keep\n", dir.ReadFile(u"elsewhere/precious"));
  EXPECT_EQ(std::vector<std::u16string>{u"precious"}, dir.Names(u"elsewhere"));
  struct stat st {};
  ASSERT_EQ(0, lstat(EncodeNativeLossy(badPath).c_str(), &st));
  EXPECT_TRUE(std::string(kind.name).find("Fifo") == 0 ? S_ISFIFO(st.st_mode) : S_ISLNK(st.st_mode));
}

INSTANTIATE_TEST_SUITE_P(
    KindsAndUses, RunFilePathsTest,
    ::testing::Combine(::testing::ValuesIn(kKinds),
                       ::testing::Values(Use::RunLog, Use::RestoreLog, Use::Report)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_" + NameOf(std::get<1>(info.param));
    });

}  // namespace
}  // namespace dovetam::testing
