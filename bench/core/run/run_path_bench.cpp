// A run as the user makes it, end to end, against the physical limit.
//
// For each case, on fresh files in a new folder under $TMPDIR (default /tmp),
// in this one process and on that one file system:
//   bare loop: a plain C loop of renameat2(RENAME_NOREPLACE) relative to the
//              open folder, doing the renames the case needs;
//   calls loop: the system calls the program cannot do without, in a plain
//              loop: the folder read with one statx per entry, then per
//              rename its log line put in the file (as the program puts
//              it) and the rename;
//   program:   the folder listing (default view: the last-modified date),
//              its sort, "add" of every listed entry, the sort of the
//              targets, the rule and the rename run with the default
//              settings (log and report files on), through the core
//              functions the main window calls. Only the list views' Qt
//              models are left out (they hold no text: a fill copies the
//              order numbers).
//   one thread: the same program path with the renames made on the run's
//              own thread, as where no second thread can be had; its run's
//              processor time is what the rename thread's is compared with.
// Each is repeated (3 times by default, --reps N) over new files; the
// medians and the ratios of the program to both loops are printed, with
// the program's phases and the processor time (user and system) of its run
// on both paths. Making and removing the files is not timed. After every
// repetition the names on disk, the log and the report are checked, so that
// a figure never stands for work that was not done.
//
// Cases:
//   distinct: 100,000 files f000000..f099999 renamed to g000000..g099999
//             (rule "g\06(n-1)"); the bare loop makes the same renames.
//   same:     10,000 files all given the name "same"; the run numbers them
//             same, same-2, same-3, ...; the bare loop makes those renames.
//   cycle:    100,000 files f00000..f99999, each taking the next one's name
//             and the last the first's (rule "f\05in": the position, cut to
//             five digits; for 10^k files, k digits). The run frees each name by moving its holder to
//             an evacuation name first; the bare loop makes as many renames
//             the same way (n - 1 moves aside, n renames into place).
//
// Usage: run_path_bench [--reps N] [--case distinct|same|cycle] [--n N]
// On tmpfs: TMPDIR=/dev/shm run_path_bench
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/settings/settings.h"
#include "bench/core/run/bench_hosts.h"
#include "core/objects/folder_listing.h"
#include "core/objects/index_sort.h"
#include "core/objects/listing_table.h"
#include "core/objects/object_table.h"
#include "core/objects/sort_compare.h"
#include "core/objects/sort_state.h"
#include "core/objects/target_commands.h"
#include "platform/capacities.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/utf8_codec.h"
#include "core/rule/change_rule.h"
#include "core/run/name_candidates.h"
#include "core/run/rename_run.h"

namespace dovetam::bench {
namespace {

// User and system processor time of this process so far.
void CpuTimes(double& user, double& system) {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  user = static_cast<double>(u.ru_utime.tv_sec) + static_cast<double>(u.ru_utime.tv_usec) * 1e-6;
  system = static_cast<double>(u.ru_stime.tv_sec) + static_cast<double>(u.ru_stime.tv_usec) * 1e-6;
}

double Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

[[noreturn]] void Die(const std::string& why) {
  std::fprintf(stderr, "run_path_bench: %s\n", why.c_str());
  std::exit(1);
}

std::string Digits(int value, int width) {
  std::string d = std::to_string(value);
  if (static_cast<int>(d.size()) < width) d.insert(0, static_cast<std::size_t>(width) - d.size(), '0');
  return d;
}

// A new folder under $TMPDIR holding "w/" with the given empty files and an
// empty "p/" (the program's folder: log and report). Removed at the end.
class Scratch {
 public:
  explicit Scratch(const std::vector<std::string>& names) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != 0 ? base : "/tmp") +
                          "/dovetam-run-path-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) Die("cannot make a folder under $TMPDIR");
    root_ = pattern + "/";
    if (mkdir((root_ + "w").c_str(), 0755) != 0 || mkdir((root_ + "p").c_str(), 0755) != 0) {
      Die("cannot make the work folders");
    }
    for (const std::string& name : names) {
      const int fd = ::open((root_ + "w/" + name).c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
      if (fd < 0) Die("cannot make " + name);
      ::close(fd);
    }
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::string Work() const { return root_ + "w/"; }
  std::string Program() const { return root_ + "p/"; }

  // The names in the work folder, sorted by byte.
  std::vector<std::string> NamesOnDisk() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Work())) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string root_;
};

// One rename of the bare loop.
struct Step {
  std::string from;
  std::string to;
};

double BareLoop(const std::vector<std::string>& files, const std::vector<Step>& steps,
                const std::vector<std::string>& expected) {
  Scratch scratch(files);
  const int dir = ::open(scratch.Work().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) Die("cannot open the work folder");
  const double start = Now();
  for (const Step& s : steps) {
    if (renameat2(dir, s.from.c_str(), dir, s.to.c_str(), RENAME_NOREPLACE) != 0) {
      Die("bare rename " + s.from + " -> " + s.to + ": " + std::strerror(errno));
    }
  }
  const double seconds = Now() - start;
  ::close(dir);
  if (scratch.NamesOnDisk() != expected) Die("the bare loop left other names");
  return seconds;
}

// The system calls the program cannot do without, in a bare loop: the
// folder read with one statx per entry (kind and dates, as the listing
// needs), then per rename a line appended to a log file (the line that
// announces it must be in the file before it) and the rename. Single
// threaded, as a plain loop is.
double CallsLoop(const std::vector<std::string>& files, const std::vector<Step>& steps,
                 const std::vector<std::string>& expected) {
  Scratch scratch(files);
  const int dir = ::open(scratch.Work().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const int log = ::open((scratch.Program() + "calls.log").c_str(),
                         O_CREAT | O_TRUNC | O_WRONLY | O_APPEND | O_CLOEXEC, 0644);
  if (dir < 0 || log < 0) Die("cannot open the work folder or the log");
  const double start = Now();
  DIR* listing = fdopendir(::dup(dir));
  if (listing == nullptr) Die("cannot read the work folder");
  std::size_t entries = 0;
  while (dirent* e = readdir(listing)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    struct statx sx {};
    if (statx(dir, e->d_name, 0, STATX_TYPE | STATX_MTIME | STATX_BTIME, &sx) != 0) {
      Die(std::string("statx ") + e->d_name + ": " + std::strerror(errno));
    }
    ++entries;
  }
  closedir(listing);
  std::string line;
  for (const Step& s : steps) {
    line.assign("\t-> ").append(s.to).append(" \xE5\xA4\x89\xE6\x9B\xB4\xE9\x96\x8B\xE5\xA7\x8B\r\n");
    if (::write(log, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
      Die("calls loop: the log write failed");
    }
    if (renameat2(dir, s.from.c_str(), dir, s.to.c_str(), RENAME_NOREPLACE) != 0) {
      Die("calls loop rename " + s.from + " -> " + s.to + ": " + std::strerror(errno));
    }
  }
  const double seconds = Now() - start;
  ::close(log);
  ::close(dir);
  if (entries != files.size()) Die("the calls loop did not see every file");
  if (scratch.NamesOnDisk() != expected) Die("the calls loop left other names");
  return seconds;
}

struct ProgramTimes {
  double listing = 0;  // reading the folder
  double sorts = 0;    // sorting the listing, and the targets after the add
  double add = 0;      // adding every entry
  double run = 0;      // the rename run with log and report
  double runUser = 0;  // its processor time in the program itself
  double runSystem = 0;  // and in the kernel
  double total = 0;
};

struct Case {
  const char* id;
  std::vector<std::string> files;     // made before each repetition
  std::vector<Step> steps;            // the bare loop
  std::vector<std::string> expected;  // names after either (sorted)
  std::u16string rule1;
  std::u16string rule2 = u"*";
};

std::size_t FileSize(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

std::size_t LineCount(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return 0;
  std::size_t lines = 0;
  char buffer[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    lines += static_cast<std::size_t>(std::count(buffer, buffer + n, '\n'));
  }
  std::fclose(f);
  return lines;
}

// The program's path; `oneThread`: its run makes every rename itself.
ProgramTimes ProgramPath(const Case& c, bool oneThread, std::size_t& logBytes,
                         std::size_t& reportBytes) {
  Scratch scratch(c.files);
  const int n = static_cast<int>(c.files.size());
  // What the window holds from its start: the services, the settings, the
  // tables at their initial capacity and the rule engine.
  const Capacities caps = Capacities::Large();
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  std::unique_ptr<Clock> clock = CreateSystemClock();
  YesBoxes boxes;
  QuietHost host;
  Settings settings;
  const ViewSettings view;
  SortState sort;
  ListingTable listing;
  listing.Reset(caps.tableStep);
  ObjectTable objects;
  objects.Reset(caps.tableStep);
  RuleEngine engine(settings, *fs, caps);
  engine.ResetTables();
  RunJournal journal;
  journal.LogPath = DecodeNative(scratch.Program() + "dovetam_rename.log");
  const std::u16string reportPath = DecodeNative(scratch.Program() + "dovetam_report.dat");
  bool reportSaved = false;
  int16_t changeState = 0;
  int16_t listStale = 0;
  const std::u16string folder = DecodeNative(scratch.Work());

  ProgramTimes t;
  const double start = Now();
  int dateFailures = 0;
  if (ReadFolderListing(*fs, listing, folder, view.ViewModified,
                        view.ViewCreated, caps, dateFailures) != ListingRead::Ok ||
      listing.ListCount != n) {
    Die("the folder listing failed");
  }
  const double listed = Now();
  SortListingIndex(listing, ListingLevels(sort, view.ViewMix), 1, listing.ListCount);
  const double listingSorted = Now();
  // Every entry selected, then "∨追加"; the target list re-sorts.
  std::vector<int32_t> positions(static_cast<std::size_t>(listing.ListCount));
  for (int32_t p = 1; p <= listing.ListCount; ++p) positions[static_cast<std::size_t>(p - 1)] = p;
  if (!AddListingEntries(objects, listing, positions, caps) || objects.ObjCount != n) {
    Die("adding the entries failed");
  }
  const double added = Now();
  ResetTargetOrder(objects);
  SortTargetIndex(objects, TargetLevels(sort, view.ViewMix), 1, objects.ObjCount);
  const double targetsSorted = Now();
  engine.rule = ChangeRule{c.rule1, c.rule2, false};
  RunEnvironment env{objects,     settings,  *fs,  !oneThread, boxes,         *clock,
                     journal,     reportPath, reportSaved, changeState, listStale,
                     engine.context,
                     [&engine](const std::u16string& name) { return engine.GenerateNewName(name); },
                     host};
  double user0 = 0, system0 = 0, user1 = 0, system1 = 0;
  CpuTimes(user0, system0);
  const OperationSummary summary = ExecuteRenameRun(env, 1);
  const double ran = Now();
  CpuTimes(user1, system1);
  t.runUser = user1 - user0;
  t.runSystem = system1 - system0;
  t.listing = listed - start;
  t.sorts = (listingSorted - listed) + (targetsSorted - added);
  t.add = added - listingSorted;
  t.run = ran - targetsSorted;
  t.total = ran - start;

  if (!summary.performed || summary.done != n || summary.errors != 0 || summary.tentative != 0) {
    Die(std::string(c.id) + ": the run did not rename every file");
  }
  if (boxes.shown != 2) Die(std::string(c.id) + ": unexpected messages during the run");
  if (scratch.NamesOnDisk() != c.expected) Die(std::string(c.id) + ": the run left other names");
  const std::string log = scratch.Program() + "dovetam_rename.log";
  const std::string report = scratch.Program() + "dovetam_report.dat";
  logBytes = FileSize(log);
  reportBytes = FileSize(report);
  // At least one log line and one report line per renamed file.
  if (LineCount(log) < static_cast<std::size_t>(n) || LineCount(report) < static_cast<std::size_t>(n)) {
    Die(std::string(c.id) + ": the log or the report misses lines");
  }
  if (host.reportSize == 0) Die(std::string(c.id) + ": no report text for the report window");
  return t;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return v.size() % 2 == 1 ? v[m] : (v[m - 1] + v[m]) / 2;
}

Case Distinct(int n) {
  Case c;
  c.id = "distinct";
  c.rule1 = u"g\\06(n-1)";
  for (int i = 0; i < n; ++i) {
    const std::string d = Digits(i, 6);
    c.files.push_back("f" + d);
    c.steps.push_back({"f" + d, "g" + d});
    c.expected.push_back("g" + d);
  }
  return c;
}

Case SameName(int n) {
  Case c;
  c.id = "same";
  c.rule1 = u"same";
  for (int i = 0; i < n; ++i) {
    const std::string to = i == 0 ? "same" : EncodeNativeLossy(NumberedBase(u"same", Settings{}.ExtraMode, i + 1));
    c.files.push_back("f" + Digits(i, 6));
    c.steps.push_back({c.files.back(), to});
    c.expected.push_back(to);
  }
  std::sort(c.expected.begin(), c.expected.end());
  return c;
}

Case Cycle(int n) {
  Case c;
  c.id = "cycle";
  // The position cut to its last digits wraps round only at a power of ten.
  int width = 0;
  for (int p = 1; p < n; p *= 10) ++width;
  if (width == 0 || std::to_string(n) != "1" + std::string(static_cast<std::size_t>(width), '0')) {
    Die("the cycle case needs a power of ten files");
  }
  c.rule1 = u"f\\0" + DecodeNative(std::to_string(width)) + u"in";
  const auto name = [&](int i) { return "f" + Digits(i % n, width); };
  for (int i = 0; i < n; ++i) c.files.push_back(name(i));
  // The object at position k (name k - 1) moves the holder of name k aside,
  // then takes name k; the last one takes the first name, free by then.
  const auto aside = [&](int i) { return "t" + Digits(i, width); };
  for (int i = 1; i < n; ++i) {
    c.steps.push_back({name(i), aside(i)});
    c.steps.push_back({i == 1 ? name(0) : aside(i - 1), name(i)});
  }
  c.steps.push_back({n == 1 ? name(0) : aside(n - 1), name(n)});
  c.expected = c.files;
  return c;
}

// The median of one of the program's times over the repetitions.
double MedianOf(const std::vector<ProgramTimes>& times, double ProgramTimes::*field) {
  std::vector<double> values;
  for (const ProgramTimes& t : times) values.push_back(t.*field);
  return Median(values);
}

void RunCase(const Case& c, int reps) {
  std::vector<double> bare;
  std::vector<double> calls;
  std::vector<ProgramTimes> times;
  std::vector<ProgramTimes> oneThread;
  std::size_t logBytes = 0;
  std::size_t reportBytes = 0;
  for (int r = 0; r < reps; ++r) {
    // Alternate which goes first, so that neither always meets the file
    // system just after the other's clean-up.
    if (r % 2 == 0) bare.push_back(BareLoop(c.files, c.steps, c.expected));
    if (r % 2 == 0) calls.push_back(CallsLoop(c.files, c.steps, c.expected));
    times.push_back(ProgramPath(c, false, logBytes, reportBytes));
    oneThread.push_back(ProgramPath(c, true, logBytes, reportBytes));
    if (r % 2 == 1) calls.push_back(CallsLoop(c.files, c.steps, c.expected));
    if (r % 2 == 1) bare.push_back(BareLoop(c.files, c.steps, c.expected));
  }
  const double b = Median(bare);
  const double p = MedianOf(times, &ProgramTimes::total);
  std::printf("%-8s files %7zu renames %7zu  bare %8.3f s  program %8.3f s  ratio %5.2f\n", c.id,
              c.files.size(), c.steps.size(), b, p, p / b);
  const double k = Median(calls);
  std::printf("         calls loop (statx per entry, a log line and a rename per rename) %8.3f s;"
              " program / calls loop %5.2f\n",
              k, p / k);
  std::printf("         program phases (medians): listing %.3f s, sorts %.3f s, add %.3f s,"
              " run %.3f s; log %zu bytes, report %zu bytes\n",
              MedianOf(times, &ProgramTimes::listing), MedianOf(times, &ProgramTimes::sorts),
              MedianOf(times, &ProgramTimes::add), MedianOf(times, &ProgramTimes::run), logBytes,
              reportBytes);
  const auto cpu = [](const std::vector<ProgramTimes>& t) {
    std::vector<double> sums;
    for (const ProgramTimes& x : t) sums.push_back(x.runUser + x.runSystem);
    return Median(sums);
  };
  const double withThread = cpu(times);
  const double alone = cpu(oneThread);
  std::printf("         run with the rename thread %.3f s, processor %.3f s (user %.3f, system %.3f);"
              " on one thread %.3f s, processor %.3f s (user %.3f, system %.3f);"
              " processor ratio %.2f\n",
              MedianOf(times, &ProgramTimes::run), withThread, MedianOf(times, &ProgramTimes::runUser),
              MedianOf(times, &ProgramTimes::runSystem), MedianOf(oneThread, &ProgramTimes::run), alone,
              MedianOf(oneThread, &ProgramTimes::runUser), MedianOf(oneThread, &ProgramTimes::runSystem),
              withThread / alone);
  std::fflush(stdout);
}

}  // namespace
}  // namespace dovetam::bench

int main(int argc, char** argv) {
  using namespace dovetam::bench;
  int reps = 3;
  int n = 0;
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--reps") {
      reps = std::max(1, std::atoi(argv[i + 1]));
    } else if (arg == "--case") {
      only = argv[i + 1];
    } else if (arg == "--n") {
      n = std::atoi(argv[i + 1]);
    } else {
      Die("usage: run_path_bench [--reps N] [--case distinct|same|cycle] [--n N]");
    }
  }
  const char* tmp = std::getenv("TMPDIR");
  std::printf("TMPDIR=%s, %d repetitions, medians\n", tmp != nullptr && *tmp != 0 ? tmp : "/tmp",
              reps);
  const std::vector<std::pair<std::string, std::function<Case()>>> cases = {
      {"distinct", [&] { return Distinct(n > 0 ? n : 100000); }},
      {"same", [&] { return SameName(n > 0 ? n : 10000); }},
      {"cycle", [&] { return Cycle(n > 0 ? n : 100000); }},
  };
  for (const auto& [id, make] : cases) {
    if (only.empty() || only == id) RunCase(make(), reps);
  }
  return 0;
}
