// Two operations on one log file at once, as two copies of the program in
// one folder make them: the second one, started while the first writes
// the log, gets the question of a log that cannot be created and leaves
// the first one's log alone.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/run/run_fixture.h"

namespace dovetam::testing {
namespace {

std::u16string LogBlockOfReport(const std::u16string& report) {
  const std::u16string mark = u"\r\n[ログ]\r\n\r\n";
  const std::size_t at = report.find(mark);
  return at == std::u16string::npos ? u"(no log block)" : report.substr(at + mark.size());
}

class RunLogLockTest : public ::testing::TestWithParam<MsgAnswer> {};

// The first run renames 300 files; while it is at its 100th target a second
// run of 50 other files starts on the same log path. The first run's log
// file holds exactly its whole log (header, every object line, footer);
// the second run is asked whether to go on without a log and, answered No,
// renames nothing; answered Yes, renames its files and writes no log line
// into the file.
TEST_P(RunLogLockTest, ASecondRunOnTheSameLogLeavesTheFirstOnesLogWhole) {
  const MsgAnswer answer = GetParam();
  FileRun first(300);
  FileRun second(50);
  second.journal.LogPath = first.journal.LogPath;
  second.boxes.QueueAnswer(answer);
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  std::unique_ptr<FileSystem> otherFs = CreateSystemFileSystem();
  OperationSummary secondSummary;
  bool secondStarted = false;
  const std::u16string middle = first.Name(100);

  const OperationSummary firstSummary = first.Run(*fs, [&](const std::u16string& name) {
    if (name == middle && !secondStarted) {
      secondStarted = true;
      secondSummary = second.Run(
          *otherFs, [](const std::u16string& n) { return std::u16string(u"s").append(n, 1); });
    }
    return std::u16string(u"g").append(name, 1);
  });

  ASSERT_TRUE(secondStarted);
  EXPECT_EQ(300, firstSummary.done);
  const std::u16string firstLog = LogBlockOfReport(first.host.report);
  const std::u16string file = DecodeNative(first.dir.ReadFile(u"log.txt"));
  // Compared as a whole; a difference is shown by its size only (the texts
  // are long).
  EXPECT_TRUE(file == firstLog) << "the log file (" << file.size()
                                << " characters) is not the first run's whole log ("
                                << firstLog.size() << ")";
  ASSERT_GE(second.boxes.Count(), 2u);
  EXPECT_EQ(u"ログファイル(" + first.journal.LogPath + u")を作成できませんでした。\n続行しますか？",
            second.boxes.calls[1].text);
  if (answer == MsgAnswer::No) {
    EXPECT_FALSE(secondSummary.performed);
    EXPECT_EQ(second.Name(1), second.Names().front());
  } else {
    EXPECT_EQ(50, secondSummary.done);
    EXPECT_EQ(std::u16string(u"s").append(second.Name(1), 1), second.Names().front());
    EXPECT_NE(std::u16string::npos, LogBlockOfReport(second.host.report).find(u" 名前変更終了"));
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, RunLogLockTest, ::testing::Values(MsgAnswer::No, MsgAnswer::Yes),
                         [](const auto& info) {
                           return std::string(info.param == MsgAnswer::Yes ? "GoOn" : "Stop");
                         });

}  // namespace
}  // namespace dovetam::testing
