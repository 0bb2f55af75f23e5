// Large lists: reading a folder of 100,000 files into the listing, sorting it
// and filling the list view's model; adding all its entries as targets and
// sorting them; and sorting 100,000 targets that are
// already in order, or reversed (the cases on which a plain partition-exchange
// sort with the last entry as pivot turns quadratic). Sizes grow from 1,000
// so that growth faster than n log n shows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/objects/folder_listing.h"
#include "core/objects/index_sort.h"
#include "ui/widgets/list_view_model.h"
#include "core/objects/target_commands.h"
#include "platform/file_system.h"

namespace dovetam {
namespace {

// A folder of n empty files under $TMPDIR (default /tmp), made once per size
// in a new folder of this process and removed when the program ends. It
// holds those files only: every entry listed is one of them.
class BenchFolders {
 public:
  ~BenchFolders() {
    std::error_code ignored;
    if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
  }
  std::string FolderOf(int n) {
    if (root_.empty()) {
      const char* base = std::getenv("TMPDIR");
      std::string pattern =
          std::string(base != nullptr && *base != 0 ? base : "/tmp") + "/dovetam-lists-XXXXXX";
      if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp under $TMPDIR");
      root_ = pattern + "/";
    }
    const std::string folder = root_ + std::to_string(n) + "/";
    struct stat st {};
    if (stat(folder.c_str(), &st) == 0) return folder;
    if (mkdir(folder.c_str(), 0755) != 0) throw std::runtime_error("mkdir " + folder);
    char name[64];
    for (int i = 0; i < n; ++i) {
      std::snprintf(name, sizeof name, "file_%07d.txt", static_cast<int>((i * 7919LL) % n));
      const int fd = open((folder + name).c_str(), O_CREAT | O_WRONLY, 0644);
      if (fd < 0) throw std::runtime_error("open " + folder + name);
      close(fd);
    }
    return folder;
  }

 private:
  std::string root_;
};

BenchFolders folders;

void BM_ListFolder(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string native = folders.FolderOf(n);
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
    if (listing.ListCount != n || model.RowCount() != n) {
      state.SkipWithError("the listing does not hold exactly the folder's files");
      return;
    }
  }
  state.SetComplexityN(n);
}

// "∨追加" with every entry of a listed folder of n files selected, and the
// sort of the target list that follows it.
void BM_AddAllAndSortTargets(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string native = folders.FolderOf(n);
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  const Capacities caps = Capacities::Large();
  SortLevels levels;
  levels.count = 2;
  ListingTable listing;
  listing.Reset(caps.tableStep);
  int dateFailures = 0;
  if (ReadFolderListing(*fs, listing, std::u16string(native.begin(), native.end()), true, false,
                        caps, dateFailures) != ListingRead::Ok) {
    state.SkipWithError("the folder could not be read");
    return;
  }
  SortListingIndex(listing, levels, 1, listing.ListCount);
  std::vector<int32_t> all(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) all[static_cast<std::size_t>(i)] = i + 1;
  ObjectTable objects;
  for (auto _ : state) {
    objects.Reset(caps.tableStep);
    if (!AddListingEntries(objects, listing, all, caps) || objects.ObjCount != n) {
      state.SkipWithError("not every entry was added");
      return;
    }
    ResetTargetOrder(objects);
    SortTargetIndex(objects, levels, 1, objects.ObjCount);
    benchmark::DoNotOptimize(objects.OrderIndex[1]);
  }
}

// The 100,000 cases take a good part of a second each: repeated, with their
// median reported.
void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
  b->Repetitions(3)->ReportAggregatesOnly(true);
}
BENCHMARK(BM_ListFolder)->Apply(Sizes);
BENCHMARK(BM_AddAllAndSortTargets)->Apply(Sizes);

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
BENCHMARK(BM_SortTargetsInOrder)->Apply(Sizes);
BENCHMARK(BM_SortTargetsReversed)->Apply(Sizes);

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
BENCHMARK(BM_SortEqualRanks)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace dovetam
