// Appending through a mapping of the file's end: the file holds exactly what
// was appended (after a kill, followed by blanks only), and a full disk or a
// file cut short by someone else is an error of Append, not a crash.
#include "platform/mapped_append.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/utf8_codec.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string LineOf(int k) {
  // Lines of many lengths, some with characters of several bytes.
  std::string line = "line " + std::to_string(k) + " ";
  line.append(static_cast<std::size_t>(k % 97), k % 3 == 0 ? 'x' : 'y');
  if (k % 5 == 0) line += "\xE5\xA4\x89\xE6\x9B\xB4";
  return line + "\r\n";
}

// A file in the temporary folder, or failing that in /dev/shm, on a file
// system that is written through a mapping; "" when there is none.
class MappedFile {
 public:
  explicit MappedFile(const testing::TempDir& dir, const std::string& content = "") {
    for (const std::string& folder : {dir.native(), std::string("/dev/shm/")}) {
      path_ = folder + "dovetam-mapped-" + std::to_string(getpid());
      std::ofstream(path_, std::ios::binary) << content;
      fd_ = open(path_.c_str(), O_RDWR | O_CLOEXEC);
      if (fd_ >= 0 && map.Start(fd_)) return;
      if (fd_ >= 0) close(fd_);
      unlink(path_.c_str());
      fd_ = -1;
    }
    path_.clear();
  }
  ~MappedFile() {
    map.Finish();
    if (fd_ >= 0) close(fd_);
    if (!path_.empty()) unlink(path_.c_str());
  }
  const std::string& path() const { return path_; }
  int fd() const { return fd_; }
  MappedAppend map;

 private:
  std::string path_;
  int fd_ = -1;
};

class MappedAppendTest : public testing::TempDirTest {};

TEST_F(MappedAppendTest, HoldsExactlyWhatWasAppendedAfterWhatWasThere) {
  for (const std::string& before : {std::string(), std::string(5000, 'o'), std::string(4096, 'p')}) {
    SCOPED_TRACE(before.size());
    MappedFile f(dir, before);
    if (f.path().empty()) GTEST_SKIP() << "no file system here is written through a mapping";
    std::string expected = before;
    for (int k = 0; expected.size() < 5 * MappedAppend::kChunk; ++k) {  // over chunk ends
      // One text longer than two chunks among the lines.
      const std::string line = k == 50 ? std::string(5 * MappedAppend::kChunk / 2, 'L') : LineOf(k);
      ASSERT_EQ(0, f.map.Append(line.data(), line.size()));
      expected += line;
      if (k == 10) {
        // Already in the file, then followed by the blank reserve.
        const std::string now = Read(f.path());
        ASSERT_EQ(expected, now.substr(0, expected.size()));
        EXPECT_EQ(std::string::npos, now.find_first_not_of(' ', expected.size()));
      }
    }
    ASSERT_EQ(0, f.map.Finish());
    EXPECT_EQ(expected, Read(f.path()));
  }
}

TEST_F(MappedAppendTest, KilledWriterLeavesEveryTextFollowedByBlanksOnly) {
  MappedFile probe(dir);
  if (probe.path().empty()) GTEST_SKIP() << "no file system here is written through a mapping";
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  const std::u16string path = DecodeNative(probe.path() + "-log");
  int ready[2];
  ASSERT_EQ(0, pipe(ready));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::unique_ptr<TextFile> log;
    if (fs->CreateTextFile(path, log) != kFsOk) _exit(1);
    for (int k = 0; k < 20000; ++k) {
      if (log->Write(DecodeNative(LineOf(k))) != kFsOk) _exit(2);
    }
    if (write(ready[1], "x", 1) != 1) _exit(3);
    pause();  // killed here, the file never closed
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(1, read(ready[0], &c, 1));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  std::string expected;
  for (int k = 0; k < 20000; ++k) expected += LineOf(k);
  const std::string native = probe.path() + "-log";
  const std::string left = Read(native);
  unlink(native.c_str());
  ASSERT_GE(left.size(), expected.size());
  EXPECT_EQ(expected, left.substr(0, expected.size()));
  EXPECT_EQ(std::string::npos, left.find_first_not_of(' ', expected.size()));
  EXPECT_LE(left.size() - expected.size(), MappedAppend::kChunk);
}

TEST_F(MappedAppendTest, FileCutShortBySomeoneElseIsAnErrorNotACrash) {
  MappedFile f(dir);
  if (f.path().empty()) GTEST_SKIP() << "no file system here is written through a mapping";
  const std::string line = LineOf(1);
  ASSERT_EQ(0, f.map.Append(line.data(), line.size()));
  ASSERT_EQ(0, ftruncate(f.fd(), 0));  // as another process could
  EXPECT_EQ(EIO, f.map.Append(line.data(), line.size()));
  EXPECT_EQ(EIO, f.map.Append(line.data(), line.size()));  // and stays so
  // A fault elsewhere is not taken for one of ours: it goes on to what was
  // there before (the default: the end of the process). ThreadSanitizer
  // keeps signals of its own.
#if !defined(__SANITIZE_THREAD__)
  EXPECT_DEATH(raise(SIGBUS), "");
#endif
}

TEST_F(MappedAppendTest, FullDiskIsAnErrorOfAppendAndKeepsTheText) {
  MappedFile probe(dir);
  if (probe.path().empty()) GTEST_SKIP() << "no file system here is written through a mapping";
  const std::string native = probe.path() + "-full";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A file size limit stands for the full disk: reserving past it fails.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{3 * MappedAppend::kChunk / 2, 3 * MappedAppend::kChunk / 2};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(10);
    const int fd = open(native.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    MappedAppend map;
    if (fd < 0 || !map.Start(fd)) _exit(11);
    std::size_t appended = 0;
    for (int k = 0;; ++k) {
      const std::string line = LineOf(k);
      const int err = map.Append(line.data(), line.size());
      if (err == EFBIG) break;
      if (err != 0) _exit(12);
      appended += line.size();
    }
    if (appended < MappedAppend::kChunk - 200 || map.Finish() != 0) _exit(13);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "the writer died of signal " << WTERMSIG(status);
  ASSERT_EQ(0, WEXITSTATUS(status));
  // Every line appended before the error, whole, and nothing after them.
  const std::string left = Read(native);
  unlink(native.c_str());
  std::string expected;
  for (int k = 0; expected.size() < left.size(); ++k) expected += LineOf(k);
  EXPECT_EQ(expected, left);
  EXPECT_GE(left.size(), MappedAppend::kChunk - 200);
  EXPECT_LE(left.size(), MappedAppend::kChunk);
}

// Another writer appending to the same file loses nothing: the text that
// cannot go in the reserve any more goes after its text.
TEST_F(MappedAppendTest, AnotherWriterKeepsItsText) {
  MappedFile probe(dir);
  if (probe.path().empty()) GTEST_SKIP() << "no file system here is written through a mapping";
  const std::string native = probe.path() + "-shared";
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  std::unique_ptr<TextFile> log;
  ASSERT_EQ(kFsOk, fs->CreateTextFile(DecodeNative(native), log));
  std::string mine;
  int k = 0;
  for (; k < 100; ++k) {
    ASSERT_EQ(kFsOk, log->Write(DecodeNative(LineOf(k))));
    mine += LineOf(k);
  }
  // Mapped by now: a second mapping writer is refused.
  const int second = open(native.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(second, 0);
  MappedAppend other;
  EXPECT_FALSE(other.Start(second));
  const std::string theirs = "THEIR TEXT\r\n";
  const int appender = open(native.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  ASSERT_EQ(static_cast<ssize_t>(theirs.size()), write(appender, theirs.data(), theirs.size()));
  std::string after;
  for (; mine.size() + after.size() < 3 * MappedAppend::kChunk; ++k) {
    ASSERT_EQ(kFsOk, log->Write(DecodeNative(LineOf(k))));
    (after.empty() && mine.size() + LineOf(k).size() <= MappedAppend::kChunk ? mine : after) +=
        LineOf(k);
  }
  ASSERT_EQ(static_cast<ssize_t>(theirs.size()), write(appender, theirs.data(), theirs.size()));
  ASSERT_EQ(kFsOk, log->Close());
  close(appender);
  close(second);
  const std::string left = Read(native);
  unlink(native.c_str());
  // Ours up to the end of the reserve, its blanks, their text, the rest of
  // ours, their text again.
  const std::size_t at = left.find(theirs);
  ASSERT_NE(std::string::npos, at);
  EXPECT_EQ(mine, left.substr(0, mine.size()));
  EXPECT_EQ(std::string::npos, left.substr(0, at).find_first_not_of(' ', mine.size()));
  EXPECT_EQ(after + theirs, left.substr(at + theirs.size()));
}

TEST(MappedAppendStart, RefusesWhatIsNotARegularFile) {
  const int fd = open("/dev/null", O_RDWR | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  MappedAppend map;
  EXPECT_FALSE(map.Start(fd));
  EXPECT_EQ(0, map.Finish());
  close(fd);
}

}  // namespace
}  // namespace dovetam
