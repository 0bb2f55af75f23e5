// The rename run on real files against a plain loop of no-replace renames
// over the same files, each in a fresh folder on the disk of TMPDIR.
//
//   Run/DistinctNames/n:  n files f0000001.txt.. in one folder, the rule
//                         "*_r" / "*" (each gets its own new name)
//   Loop/DistinctNames/n: the same renames, one rename each through the open
//                         folder, without the letter-case check
//   Run/SameName/n:       n files all given "same.txt": the candidate loop
//                         numbers them same.txt, same-2.txt, ... (the loop
//                         that is quadratic when every candidate is
//                         compared with every target)
//   Loop/SameName/n:      the renames to those final names
//   Run/DistinctNamesNoFiles/n: as Run/DistinctNames with logmode and
//                         reportmode off, to tell the files' share
//
// The run has the default settings: log and report files on, written into the
// same temporary folder's "p/". Creating the files is not timed. The figure
// to reach: each Run within twice its Loop. These time the run alone, from
// a target table made in memory; run_path_bench times the whole road of a
// user's run (listing, sorts, adding, run) against bare system calls.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/settings/settings.h"
#include "bench/core/run/bench_hosts.h"
#include "core/objects/object_table.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/utf8_codec.h"
#include "core/rule/change_rule.h"
#include "core/run/name_candidates.h"
#include "core/run/rename_run.h"

namespace dovetam {
namespace {

using bench::QuietHost;
using bench::YesBoxes;

// A fresh folder with n empty files f0000001.txt ... and a folder p/.
class Scratch {
 public:
  explicit Scratch(int n) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/dovetam-bench-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    root_ = pattern + "/";
    std::filesystem::create_directory(root_ + "w");
    std::filesystem::create_directory(root_ + "p");
    for (int i = 1; i <= n; ++i) {
      const int fd = ::open((root_ + "w/" + FileName(i)).c_str(), O_CREAT | O_WRONLY, 0644);
      if (fd < 0) throw std::runtime_error("open");
      ::close(fd);
    }
  }
  ~Scratch() { std::filesystem::remove_all(root_); }
  static std::string FileName(int i) {
    const std::string digits = std::to_string(i);
    std::string name = "f";
    name.append(7 - digits.size(), '0').append(digits).append(".txt");
    return name;
  }
  std::u16string Folder() const { return DecodeNative(root_ + "w/"); }
  std::u16string Program() const { return DecodeNative(root_ + "p/"); }

 private:
  std::string root_;
};

std::u16string U(const std::string& s) { return DecodeNative(s); }

void RunBench(benchmark::State& state, const char16_t* rule1, bool files = true) {
  const int n = static_cast<int>(state.range(0));
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  std::unique_ptr<Clock> clock = CreateSystemClock();
  YesBoxes boxes;
  Settings settings;
  settings.LogMode = files;
  settings.ReportMode = files;
  for (auto _ : state) {
    state.PauseTiming();
    {
      Scratch scratch(n);
      ObjectTable objects;
      objects.Reset(1000);
      for (int i = 1; i <= n; ++i) {
        objects.Append(scratch.Folder(), U(Scratch::FileName(i)), false, 1.0, 1.0,
                       Capacities::Large());
      }
      RuleEngine engine(settings, *fs, Capacities::Large());
      engine.ResetTables();
      engine.rule = ChangeRule{rule1, u"*", false};
      RunJournal journal;
      journal.LogPath = scratch.Program() + u"dovetam_rename.log";
      const std::u16string reportPath = scratch.Program() + u"dovetam_report.dat";
      bool reportSaved = false;
      int16_t changeState = 0, listStale = 0;
      QuietHost host;
      RunEnvironment env{objects, settings, *fs, /*renameThread=*/true, boxes, *clock, journal, reportPath, reportSaved,
                         changeState, listStale, engine.context,
                         [&engine](const std::u16string& name) { return engine.GenerateNewName(name); },
                         host};
      state.ResumeTiming();
      const OperationSummary s = ExecuteRenameRun(env, 1);
      state.PauseTiming();
      if (s.done != n || s.errors != 0) state.SkipWithError("the run did not rename every file");
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void LoopBench(benchmark::State& state, bool sameName) {
  const int n = static_cast<int>(state.range(0));
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  std::vector<std::u16string> from, to;
  for (int i = 1; i <= n; ++i) {
    const std::string name = Scratch::FileName(i);
    from.push_back(U(name));
    if (!sameName) {
      to.push_back(U(name.substr(0, name.size() - 4) + "_r.txt"));
    } else {
      to.push_back(i == 1 ? u"same.txt" : NumberedBase(u"same", 1, i) + u".txt");
    }
  }
  for (auto _ : state) {
    state.PauseTiming();
    {
      Scratch scratch(n);
      std::unique_ptr<FolderHandle> folder;
      if (fs->OpenFolder(scratch.Folder(), folder) != kFsOk) {
        state.SkipWithError("the folder cannot be opened");
        break;
      }
      state.ResumeTiming();
      for (int i = 0; i < n; ++i) {
        if (folder->Rename(from[i], to[i], /*checkCase=*/false) != kFsOk) {
          state.SkipWithError("rename failed");
          break;
        }
      }
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_RunDistinctNames(benchmark::State& state) { RunBench(state, u"*_r"); }
void BM_RunDistinctNamesNoFiles(benchmark::State& state) { RunBench(state, u"*_r", false); }
void BM_LoopDistinctNames(benchmark::State& state) { LoopBench(state, false); }
void BM_RunSameName(benchmark::State& state) { RunBench(state, u"same"); }
void BM_LoopSameName(benchmark::State& state) { LoopBench(state, true); }

// A case of 100,000 files takes seconds and varies from one go to the next:
// every case is repeated and its median reported.
void Repeated(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_RunDistinctNames)->Arg(1000)->Arg(10000)->Arg(100000)->Apply(Repeated);
BENCHMARK(BM_RunDistinctNamesNoFiles)->Arg(10000)->Arg(100000)->Apply(Repeated);
BENCHMARK(BM_LoopDistinctNames)->Arg(1000)->Arg(10000)->Arg(100000)->Apply(Repeated);
BENCHMARK(BM_RunSameName)->Arg(1000)->Arg(10000)->Apply(Repeated);
BENCHMARK(BM_LoopSameName)->Arg(1000)->Arg(10000)->Apply(Repeated);

}  // namespace
}  // namespace dovetam
