// The rename thread on its own, under every way its two sides can meet:
// a thread slower than its giver (the giver sleeps on a full ring), a giver
// slower than the thread (the thread sleeps with nothing to do), both
// pausing now and then long enough for the other to fall asleep, small
// bursts that make the two sides hand over every few jobs, and jobs that
// fail and stop the thread. Every job's text must reach the log just before
// its rename, the jobs in the order given, each once; a job given after a
// failed one is never started.
//
// Each pace runs its rounds in one child process with a deadline of its own:
// a wake that is lost leaves both sides asleep, and the test then fails at
// the deadline with a message instead of hanging. Each hand-over waits for
// the other side to be scheduled, which a busy machine may make slow: the
// rounds are few thousand jobs, so that even then the child ends far within
// its deadline, and the deadline far within the time CTest gives a test.
#include <time.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "core/run/child_process.h"
#include "core/run/rename_worker.h"

namespace dovetam::testing {
namespace {

constexpr int kJobs = 3000;  // per round
constexpr unsigned kRounds = 3;  // with other random paces each
constexpr std::chrono::seconds kChildDeadline{90};
// A job whose rename fails: one in a hundred or so.
bool FailsAt(int id) { return id % 97 == 50; }

// A spell of work (`steps` rounds of a short loop), or now and then a pause
// long enough for the other side to go to sleep.
void Dawdle(std::mt19937& random, int maxSteps, int sleepOneIn) {
  if (sleepOneIn > 0 && random() % static_cast<unsigned>(sleepOneIn) == 0) {
    const timespec pause{0, 200'000};
    nanosleep(&pause, nullptr);
    return;
  }
  const int steps = maxSteps > 0 ? static_cast<int>(random() % static_cast<unsigned>(maxSteps)) : 0;
  for (int k = 0; k < steps; ++k) __asm__ __volatile__("");
}

// What the thread did, in order: id for the text of job id written, -id - 1
// for its rename.
using Events = std::vector<int>;

class RecordingLog : public TextFile {
 public:
  explicit RecordingLog(Events& events) : events_(events) {}
  int Write(std::string_view bytes) override {
    events_.push_back(std::stoi(std::string(bytes)));
    return kFsOk;
  }
  int Close() override { return kFsOk; }

 private:
  Events& events_;
};

// Renames nothing on disk: it records the job (its old name is its number)
// and fails those FailsAt chooses, after a spell of work of its own.
class RecordingFolder : public FolderHandle {
 public:
  RecordingFolder(Events& events, int maxSteps, int sleepOneIn, unsigned seed)
      : events_(events), random_(seed), maxSteps_(maxSteps), sleepOneIn_(sleepOneIn) {}
  FolderIdentity Identity() const override { return {1, 1}; }
  int Names(std::vector<std::u16string>&) override { return kFsIoError; }
  int Rename(std::u16string_view oldName, std::u16string_view, bool) override {
    Dawdle(random_, maxSteps_, sleepOneIn_);
    const int id = std::stoi(std::string(oldName.begin(), oldName.end()));
    events_.push_back(-id - 1);
    return FailsAt(id) ? kFsPermissionDenied : kFsOk;
  }
  int Exists(std::u16string_view, bool&) override { return kFsIoError; }
  int ReadDate(std::u16string_view, bool, bool, Date&) override { return kFsIoError; }

 private:
  Events& events_;
  std::mt19937 random_;
  int maxSteps_, sleepOneIn_;
};

struct Pace {
  const char* label;
  int giverSteps, giverSleepOneIn;    // between two jobs given
  int threadSteps, threadSleepOneIn;  // before each rename
  int maxBurst;                       // jobs given before the giver takes some back
};

void PrintTo(const Pace& pace, std::ostream* os) { *os << pace.label; }

const Pace kPaces[] = {
    {"threadSlower", 0, 0, 2000, 0, 1000},
    {"giverSlower", 2000, 0, 0, 0, 1000},
    {"bothPausing", 300, 500, 300, 500, 200},
    {"smallBursts", 100, 2000, 100, 2000, 3},
};

// What the child hands back.
struct Outcome {
  int taken = 0;        // jobs taken back done
  int failed = 0;       // jobs taken back failed
  int outOfOrder = -1;  // the first job taken back out of turn (-1: none)
  int badEvent = -1;    // the first event out of place (-1: none)
  int events = 0;
  int round = 0;
};

int Failures() {
  int failures = 0;
  for (int id = 0; id < kJobs; ++id) failures += FailsAt(id) ? 1 : 0;
  return failures;
}

Outcome Drive(const Pace& pace, unsigned seed) {
  Outcome out;
  Events events;
  RecordingFolder folder(events, pace.threadSteps, pace.threadSleepOneIn, seed);
  RecordingLog log(events);
  std::mt19937 random(seed + 1);
  {
    RenameWorker worker;
    int next = 0;      // the next job to give
    int expected = 0;  // the next job to be taken back
    const auto takeBack = [&] {
      while (worker.Pending() > 0 && worker.Done() > 0) {
        RenameJob& job = worker.Oldest();
        if (job.position != expected && out.outOfOrder < 0) out.outOfOrder = job.position;
        ++expected;
        worker.Pop();
        if (job.Failed()) {
          ++out.failed;
          worker.Discard();  // what was given after it is given again
          next = expected;
          return;
        }
        ++out.taken;
      }
    };
    while (expected < kJobs) {
      const int burst = 1 + static_cast<int>(random() % static_cast<unsigned>(pace.maxBurst));
      for (int b = 0; b < burst && next < kJobs && !worker.Full(); ++b) {
        Dawdle(random, pace.giverSteps, pace.giverSleepOneIn);
        RenameJob& job = worker.Next();
        job.text = std::to_string(next);
        job.log = &log;
        job.oldName = std::u16string(job.text.begin(), job.text.end());
        job.newName.assign(1, u'n');
        job.plan.handle = &folder;
        job.position = next++;
        worker.Give();
      }
      // Waits for a quarter of a full ring, else for a few jobs or all.
      const uint32_t pending = worker.Pending();
      worker.WaitDone(worker.Full() ? RenameWorker::kDepth / 4
                      : next == kJobs ? pending
                                      : static_cast<uint32_t>(random() % (pending + 1)));
      takeBack();
    }
  }  // joins the thread: its events are complete
  out.events = static_cast<int>(events.size());
  // Each job's text, then its rename, job after job.
  for (int k = 0; k < static_cast<int>(events.size()) && out.badEvent < 0; ++k) {
    const int id = k / 2;
    if (events[static_cast<std::size_t>(k)] != (k % 2 == 0 ? id : -id - 1)) out.badEvent = k;
  }
  return out;
}

// The rounds of one pace; the first round that went wrong, or the last.
Outcome DriveRounds(const Pace& pace) {
  Outcome out;
  for (unsigned round = 0; round < kRounds; ++round) {
    out = Drive(pace, 2 * round);
    out.round = static_cast<int>(round);
    if (out.failed != Failures() || out.taken != kJobs - Failures() || out.outOfOrder >= 0 ||
        out.events != 2 * kJobs || out.badEvent >= 0) {
      break;
    }
  }
  return out;
}

class RenameWorkerTest : public ::testing::TestWithParam<Pace> {};

TEST_P(RenameWorkerTest, DoesEveryJobOnceInTurnAndStopsAtAFailure) {
  Child child = Child::Start([&] { return DriveRounds(GetParam()); });
  ASSERT_TRUE(child.Started());
  ASSERT_EQ(0, child.Wait(kChildDeadline)) << "the child failed or hung (both sides asleep?)";
  Outcome out;
  ASSERT_TRUE(child.TakeResult(out));
  SCOPED_TRACE("round " + std::to_string(out.round));
  EXPECT_EQ(Failures(), out.failed);
  EXPECT_EQ(kJobs - Failures(), out.taken);
  EXPECT_EQ(-1, out.outOfOrder) << "a job taken back out of turn";
  EXPECT_EQ(2 * kJobs, out.events) << "a job started twice, or one after a failure";
  EXPECT_EQ(-1, out.badEvent) << "a text not just before its rename, or jobs out of order";
}

// A folder whose renames wait at a gate until the test opens it, and fail
// for the old name "fail".
class GatedFolder : public FolderHandle {
 public:
  FolderIdentity Identity() const override { return {1, 1}; }
  int Names(std::vector<std::u16string>&) override { return kFsIoError; }
  int Exists(std::u16string_view, bool&) override { return kFsIoError; }
  int ReadDate(std::u16string_view, bool, bool, Date&) override { return kFsIoError; }
  int Rename(std::u16string_view oldName, std::u16string_view, bool) override {
    std::unique_lock lock(mutex_);
    opened_.wait(lock, [&] { return open_; });
    renamed_.emplace_back(oldName);
    return oldName == u"fail" ? kFsPermissionDenied : kFsOk;
  }
  void Open() {
    const std::lock_guard lock(mutex_);
    open_ = true;
    opened_.notify_all();
  }
  std::vector<std::u16string> Renamed() {
    const std::lock_guard lock(mutex_);
    return renamed_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
  std::vector<std::u16string> renamed_;
};

// Tickets tell when the thread is over with a job (so that the folder it
// was lent may be closed): not while it may still start or make the rename,
// but once it is done, and at once for a job that will never be started.
TEST(RenameWorkerTickets, AJobIsFinishedOnlyOnceTheThreadIsOverWithIt) {
  Child child = Child::Start([] {
    GatedFolder folder;
    RenameWorker worker;
    const auto give = [&](const char16_t* name) {
      RenameJob& job = worker.Next();
      job.text.clear();
      job.oldName = name;
      // Moved in whole: the literal copied into a string that may hold a
      // name already makes GCC 12 warn of a memcpy overlap that cannot happen.
      job.newName = std::u16string(u"n");
      job.plan.handle = &folder;
      worker.Give();
      return worker.LastTicket();
    };
    const uint32_t first = give(u"a");
    const uint32_t failing = give(u"fail");
    const uint32_t after = give(u"b");
    int wrong = 0;
    if (worker.Finished(first) || worker.Finished(after)) wrong |= 1;  // the gate is shut
    folder.Open();
    worker.WaitFinished(first);
    if (!worker.Finished(first) || folder.Renamed().empty()) wrong |= 2;
    worker.WaitFinished(after);  // the failed job stopped the thread before it
    if (!worker.Finished(failing) || !worker.Finished(after)) wrong |= 4;
    worker.WaitDone(worker.Pending());
    if (folder.Renamed() != std::vector<std::u16string>{u"a", u"fail"}) wrong |= 8;
    worker.Pop();  // a
    worker.Oldest();
    worker.Pop();  // fail
    worker.Discard();
    if (!worker.Finished(after)) wrong |= 16;  // dropped
    const uint32_t again = give(u"b");
    worker.WaitFinished(again);
    if (folder.Renamed().size() != 3) wrong |= 32;
    return wrong;
  });
  ASSERT_EQ(0, child.Wait(kChildDeadline)) << "the child failed or hung";
  int wrong = -1;
  ASSERT_TRUE(child.TakeResult(wrong));
  EXPECT_EQ(0, wrong) << "bits: 1 finished behind the gate, 2 not finished when done, "
                         "4 not finished after the failure, 8 renames, 16 dropped, 32 given again";
}

INSTANTIATE_TEST_SUITE_P(Paces, RenameWorkerTest, ::testing::ValuesIn(kPaces),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dovetam::testing
