// Large lists: reading a folder of 100,000 files into the listing, sorting it
// and filling the list view's model; and sorting 100,000 targets that are
// already in order, or reversed (the cases on which a plain partition-exchange
// sort with the last entry as pivot turns quadratic). Sizes grow from 1,000
// so that growth faster than n log n shows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "objects/folder_listing.h"
#include "objects/index_sort.h"
#include "objects/list_view_model.h"
#include "objects/target_commands.h"
#include "platform/file_system.h"

namespace dovetam {
namespace {

// A folder with n empty files, made once per size.
std::string FolderOf(int n) {
  const std::string folder = "/tmp/dovetam_bench_listing_" + std::to_string(n) + "/";
  struct stat st {};
  const std::string done = folder + ".complete";
  if (stat(done.c_str(), &st) == 0) return folder;
  mkdir(folder.c_str(), 0755);
  char name[64];
  for (int i = 0; i < n; ++i) {
    std::snprintf(name, sizeof name, "file_%07d.txt", (i * 7919) % n);
    const int fd = open((folder + name).c_str(), O_CREAT | O_WRONLY, 0644);
    if (fd >= 0) close(fd);
  }
  const int fd = open(done.c_str(), O_CREAT | O_WRONLY, 0644);
  if (fd >= 0) close(fd);
  return folder;
}

void BM_ListFolder(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string native = FolderOf(n);
  const std::u16string folder(native.begin(), native.end());
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  const Capacities caps = Capacities::Large();
  SortLevels levels;  // name ascending, then last-modified ascending
  levels.count = 2;
  ListingTable listing;
  ListViewModel model(&listing, nullptr);
  for (auto _ : state) {
    listing.Reset(caps.tableStep);
    int dateFailures = 0;
    if (ReadFolderListing(*fs, listing, folder, true, false, caps, dateFailures) != ListingRead::Ok) {
      state.SkipWithError("the folder could not be read");
      return;
    }
    SortListingIndex(listing, levels, 1, listing.ListCount);
    model.Fill(listing.ListOrder, listing.ListCount, true, false);
    benchmark::DoNotOptimize(model.RowCount());
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_ListFolder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

ObjectTable Targets(int n, bool reversed) {
  ObjectTable t;
  t.Reset(n);
  t.ObjCount = n;
  char name[64];
  for (int i = 1; i <= n; ++i) {
    std::snprintf(name, sizeof name, "file_%07d.txt", reversed ? n - i : i);
    t.ObjFolder[i] = u"/home/user/photos/";
    const std::string s = name;
    t.ObjName[i] = std::u16string(s.begin(), s.end());
    t.ObjModified[i] = 40000 + i / 3;  // ties on the date level
  }
  return t;
}

void SortTargets(benchmark::State& state, bool reversed) {
  const int n = static_cast<int>(state.range(0));
  ObjectTable t = Targets(n, reversed);
  SortLevels levels;
  levels.count = 2;
  for (auto _ : state) {
    ResetTargetOrder(t);
    SortTargetIndex(t, levels, 1, n);
    benchmark::DoNotOptimize(t.OrderIndex[1]);
  }
  state.SetComplexityN(n);
}

void BM_SortTargetsInOrder(benchmark::State& state) { SortTargets(state, false); }
void BM_SortTargetsReversed(benchmark::State& state) { SortTargets(state, true); }
BENCHMARK(BM_SortTargetsInOrder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortTargetsReversed)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Equal entries only: every partition exchanges, the other hard case.
void BM_SortEqualRanks(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::vector<int32_t> index(static_cast<std::size_t>(n) + 1);
    std::vector<int32_t> rank(static_cast<std::size_t>(n) + 1, 0);
    for (int i = 0; i <= n; ++i) index[i] = i;
    QuicksortByRank(index, rank, 1, n);
    benchmark::DoNotOptimize(index[1]);
  }
}
BENCHMARK(BM_SortEqualRanks)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dovetam
