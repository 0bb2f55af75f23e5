// The log file of a run when the world around it misbehaves: a disk that
// fills up, another program that cuts the file short while the run goes on.
// The file only ever holds the run's text: it fails a write only when the
// disk is really full, and after a cut it holds what was written after it,
// with no hole and nothing more. And the run leaves no handler of bus
// errors behind in the process.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/utf8_codec.h"
#include "core/run/child_process.h"
#include "core/run/log_reading.h"
#include "core/run/run_fixture.h"

namespace dovetam::testing {
namespace {

// A rule that gives file k of the run the name of file k + 1, and the last
// file the first one's: every target first moves the holder of its new
// name aside, so the log gets long.
NameGenerator CycleRule(const FileRun& run, int files) {
  auto rule = std::make_shared<std::map<std::u16string, std::u16string>>();
  for (int k = 1; k <= files; ++k) (*rule)[run.Name(k)] = run.Name(k % files + 1);
  return [rule](const std::u16string& name) { return rule->at(name); };
}

NameGenerator DistinctRule() {
  return [](const std::u16string& name) { return u"g" + name.substr(1); };
}

bool IsLogWriteQuestion(const MessageBoxCall& call) {
  return call.text.find(u")への書き込みに失敗しました。") != std::u16string::npos;
}

std::string Bytes(const std::string& path) {
  std::string out;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
    std::fclose(f);
  }
  return out;
}

// What the child of the full-disk test saw.
struct FullDisk {
  bool smallFileSystem = false;  // a tmpfs of its own, else a file size limit
  long long logBytes = 0;
  long long room = 0;            // left for the log when the run ended
  int questions = 0;             // about a failed log write
  int done = 0;
  bool logFault = false;
  bool matches = false;          // the log tells the names on disk
};

constexpr long long kDiskBytes = 1536 << 10;

// In the child: the log goes to a tmpfs of kDiskBytes mounted in a mount
// namespace of its own where the system lets a process have one, else to a
// file under a limit of the file size (RLIMIT_FSIZE) of that much.
bool MountSmallFileSystem(const std::string& at) {
  if (unshare(CLONE_NEWNS) != 0) {
    // Without the right to, in a user namespace of its own, as the same user.
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    const auto put = [](const char* file, const std::string& text) {
      const int fd = open(file, O_WRONLY | O_CLOEXEC);
      const bool ok = fd >= 0 && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
      if (fd >= 0) close(fd);
      return ok;
    };
    if (!put("/proc/self/setgroups", "deny") ||
        !put("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1") ||
        !put("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1")) {
      return false;
    }
  }
  // Nothing mounted here may reach the test's own namespace.
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
  const std::string size = "size=" + std::to_string(kDiskBytes);
  return mount("tmpfs", at.c_str(), "tmpfs", 0, size.c_str()) == 0;
}

class FullDiskTest : public ::testing::TestWithParam<MsgAnswer> {};

// A cycle of 3,000 files in a folder of a long name writes a log larger
// than the disk. The log write fails once, when the disk is full (less than
// a page left), and the file holds log text only. Answered No, the run stops
// there, and the log announces every rename made; answered Yes, it goes on
// without its log.
TEST_P(FullDiskTest, LogWriteFailsOnlyWhenTheDiskIsFull) {
  const MsgAnswer answer = GetParam();
  const int files = 3000;
  FileRun run(files, 1.0, std::u16string(80, u'長'));
  run.settings.ReportMode = false;
  run.boxes.QueueAnswer(answer);
  const std::vector<std::u16string> before = run.Names();
  run.dir.MakeFolder(u"small");
  const std::string small = run.dir.native() + "small";
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  Child child = Child::Start([&] {
    FullDisk seen;
    seen.smallFileSystem = MountSmallFileSystem(small);
    std::string log = small + "/log.txt";
    if (!seen.smallFileSystem) {
      signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{static_cast<rlim_t>(kDiskBytes), static_cast<rlim_t>(kDiskBytes)};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return seen;
    }
    run.journal.LogPath = DecodeNative(log);
    seen.done = run.Run(*fs, CycleRule(run, files)).done;
    for (const MessageBoxCall& call : run.boxes.calls) seen.questions += IsLogWriteQuestion(call);
    const std::string bytes = Bytes(log);
    seen.logBytes = static_cast<long long>(bytes.size());
    if (struct statvfs v {}; seen.smallFileSystem && statvfs(small.c_str(), &v) == 0) {
      seen.room = static_cast<long long>(v.f_bavail) * static_cast<long long>(v.f_frsize);
    } else {
      seen.room = kDiskBytes - seen.logBytes;
    }
    const LogReading reading = ReadLog(bytes, run.Folder(), before);
    seen.logFault = !reading.fault.empty();
    seen.matches = reading.Matches(run.Names());
    return seen;
  });
  ASSERT_EQ(0, child.Wait());
  FullDisk seen;
  ASSERT_TRUE(child.TakeResult(seen));
  SCOPED_TRACE(seen.smallFileSystem ? "on a small tmpfs" : "under a file size limit");
  EXPECT_EQ(1, seen.questions);
  EXPECT_LT(seen.room, 4096) << "the log failed at " << seen.logBytes << " bytes";
  EXPECT_FALSE(seen.logFault);
  if (answer == MsgAnswer::Yes) {
    EXPECT_EQ(files, seen.done);
  } else {
    EXPECT_TRUE(seen.matches);
    EXPECT_LT(seen.done, files);
    EXPECT_GT(seen.done, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, FullDiskTest, ::testing::Values(MsgAnswer::No, MsgAnswer::Yes),
                         [](const auto& info) {
                           return std::string(info.param == MsgAnswer::Yes ? "GoOn" : "Stop");
                         });

// Another program cuts the log to nothing while the run goes on (once the
// log holds the line of a target a quarter of the way). The run goes on
// without a failure, and at its end the file holds the text written after
// the cut: the end of the run's log text, beginning at a line, nothing
// before it (no hole of NULs) and nothing beyond it.
TEST(LogCutShortTest, HoldsOnlyWhatWasWrittenAfterTheCut) {
  for (int files = 1000, tries = 0;; files *= 2, ++tries) {
    ASSERT_LT(tries, 5) << "every run ended before the cut, up to " << files / 2 << " files";
    FileRun run(files);
    std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
    struct Seen {
      int boxes = 0, done = 0;
    };
    Child child = Child::Start([&] {
      const int done = run.Run(*fs, DistinctRule()).done;
      return Seen{static_cast<int>(run.boxes.Count()), done};
    });
    const std::string logPath = run.dir.native() + "log.txt";
    const std::string line = EncodeNativeLossy(u"\t-> " + run.Name(files / 4, u'g') + u" 変更開始\r\n");
    if (!child.WaitUntil([&] { return Bytes(logPath).find(line) != std::string::npos; },
                         "the run to reach a quarter of its targets")) {
      ASSERT_FALSE(::testing::Test::HasFailure());
      continue;  // ended first: too short
    }
    ASSERT_EQ(0, truncate(logPath.c_str(), 0));
    ASSERT_EQ(0, child.Wait());
    Seen seen;
    ASSERT_TRUE(child.TakeResult(seen));
    const std::string log = Bytes(logPath);
    if (log.empty()) continue;  // the run ended before the cut after all
    EXPECT_EQ(2, seen.boxes) << "a question about the log besides the confirmation and the result";
    EXPECT_EQ(files, seen.done);
    ASSERT_EQ(std::string::npos, log.find('\0')) << "a hole in the log";
    // The report holds the whole log text.
    const std::string report = Bytes(run.dir.native() + "report.txt");
    const std::string mark = EncodeNativeLossy(u"\r\n[ログ]\r\n\r\n");
    ASSERT_NE(std::string::npos, report.find(mark));
    const std::string whole = report.substr(report.find(mark) + mark.size());
    ASSERT_LT(log.size(), whole.size());
    EXPECT_EQ(whole.substr(whole.size() - log.size()), log);
    EXPECT_EQ("\r\n", whole.substr(whole.size() - log.size() - 2, 2)) << "the text starts amid a line";
    return;
  }
}

// The handling of bus errors after a run is what it was before (the
// default, or a sanitizer's own): the run installs no handler of its own.
TEST(RunLogTest, NoHandlerOfBusErrorsIsLeftAfterARun) {
  struct sigaction before {};
  ASSERT_EQ(0, sigaction(SIGBUS, nullptr, &before));
  FileRun run(200);
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  ASSERT_EQ(200, run.Run(*fs, DistinctRule()).done);
  struct sigaction after {};
  ASSERT_EQ(0, sigaction(SIGBUS, nullptr, &after));
  EXPECT_EQ(before.sa_flags & SA_SIGINFO, after.sa_flags & SA_SIGINFO);
  if ((after.sa_flags & SA_SIGINFO) != 0) {
    EXPECT_EQ(before.sa_sigaction, after.sa_sigaction);
  } else {
    EXPECT_EQ(before.sa_handler, after.sa_handler);
  }
}

}  // namespace
}  // namespace dovetam::testing
