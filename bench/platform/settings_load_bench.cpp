// The settings load at start against the physical limit, over a settings file
// just under the size cap in each shape a hand-edited or damaged file can take.
//
// Every shape is one file of at most kSettingsFileLimit bytes under a fresh
// config folder in $TMPDIR (default /tmp): "[general]" with "defpath=/head/",
// then the filler of the shape up to the cap, then "[display]" with
// "mix=True" as its last line, so that a load must go through the whole file
// to find it.
//
//   empty_lines:    "\n" lines (the file the issue was found with)
//   crlf_lines:     "\r\n" lines
//   cr_lines:       "\r" lines (an old Mac editor's)
//   kv_lines:       "k<n>=v" lines, every key its own
//   duplicate_keys: "defpath=/dup/" again and again (the first one counts)
//   sections:       "[s<n>]" with one "k=v" line each
//   one_line:       one entry line of nearly 8 MiB
//
//   Load/<shape>:     the start's two loads through the real INI store
//                     (LoadSettings, then LoadViewSettings: a reading each)
//   BareRead/<shape>: the physical limit of those two readings: twice open,
//                     fstat, one read of the whole file into memory, close
//
// Each is repeated (5 times) and reported by its median. Besides the time,
// heap_peak is the most heap memory held at once during one iteration above
// what was held before it, counted by this program's own operator new and
// delete (the usable size of every block): the peak resident size of the
// process would not show it, as blocks freed by one case are reused by the
// next. heap_per_file is heap_peak over the size of the file. Every load is
// checked to have read the head's and the tail's values with no message
// shown; every bare read the whole file. The figure to reach: every load in
// well under a second, with a heap_per_file of a few at most (the bytes read
// are 1 of it).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "bench/core/run/bench_hosts.h"
#include "core/settings/settings.h"
#include "platform/settings_store.h"

namespace {

std::atomic<std::size_t> heapNow{0};
std::atomic<std::size_t> heapPeak{0};

void* Allocate(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  const std::size_t block = malloc_usable_size(p);
  const std::size_t now = heapNow.fetch_add(block) + block;
  std::size_t peak = heapPeak.load();
  while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void Release(void* p) {
  if (p == nullptr) return;
  heapNow.fetch_sub(malloc_usable_size(p));
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

namespace dovetam {
namespace {

constexpr std::u16string_view kApp = u"Ombra-Vale Software\\Dovetam";
constexpr std::string_view kHead = "[general]\ndefpath=/head/\n";
constexpr std::string_view kTail = "\n[display]\nmix=True\n";

enum class Shape { EmptyLines, CrLfLines, CrLines, KvLines, DuplicateKeys, Sections, OneLine };

// The filler's line number n.
std::string FillerLine(Shape shape, std::size_t n) {
  switch (shape) {
    case Shape::EmptyLines: return "\n";
    case Shape::CrLfLines: return "\r\n";
    case Shape::CrLines: return "\r";
    case Shape::KvLines: return std::string("k").append(std::to_string(n)).append("=v\n");
    case Shape::DuplicateKeys: return "defpath=/dup/\n";
    case Shape::Sections: return std::string("[s").append(std::to_string(n)).append("]\nk=v\n");
    case Shape::OneLine: return "";
  }
  return "";
}

// The whole file of a shape, at most kSettingsFileLimit bytes and less than
// a line short of it.
std::string ShapeFile(Shape shape) {
  std::string bytes(kHead);
  const std::size_t room = kSettingsFileLimit - kTail.size();
  if (shape == Shape::OneLine) {
    bytes += "big=";
    bytes.resize(room, 'x');
  } else {
    for (std::size_t n = 0;; ++n) {
      const std::string line = FillerLine(shape, n);
      if (bytes.size() + line.size() > room) break;
      bytes += line;
    }
    bytes.resize(room, shape == Shape::CrLines ? '\r' : '\n');
  }
  bytes += kTail;
  return bytes;
}

// A config folder under $TMPDIR holding the store of one shape.
class StoreFolder {
 public:
  explicit StoreFolder(Shape shape) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != 0 ? base : "/tmp") + "/dovetam-settings-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    home_ = pattern;
    std::filesystem::create_directories(home_ + "/Ombra-Vale Software");
    const std::string bytes = ShapeFile(shape);
    std::ofstream(File(), std::ios::binary) << bytes;
    size_ = bytes.size();
  }
  ~StoreFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
  }
  StoreFolder(const StoreFolder&) = delete;
  StoreFolder& operator=(const StoreFolder&) = delete;

  const std::string& Home() const { return home_; }
  std::string File() const { return home_ + "/Ombra-Vale Software/Dovetam.ini"; }
  std::size_t Size() const { return size_; }

 private:
  std::string home_;
  std::size_t size_ = 0;
};

// Starts the heap count of one iteration; returns the bytes held now.
std::size_t StartHeapCount() {
  const std::size_t now = heapNow.load();
  heapPeak.store(now);
  return now;
}

void ReportHeap(benchmark::State& state, std::size_t worst, std::size_t fileSize) {
  state.counters["heap_peak"] = static_cast<double>(worst);
  state.counters["heap_per_file"] = static_cast<double>(worst) / static_cast<double>(fileSize);
  state.counters["file"] = static_cast<double>(fileSize);
}

void Load(benchmark::State& state, Shape shape) {
  const StoreFolder folder(shape);
  std::unique_ptr<SettingsStore> store = CreateIniSettingsStore(folder.Home());
  std::size_t worst = 0;
  for (auto _ : state) {
    const std::size_t before = StartHeapCount();
    bench::YesBoxes boxes;
    SettingsModule module(*store, boxes);
    module.SetDefaultSettings();
    module.LoadSettings();
    module.LoadViewSettings();
    worst = std::max(worst, heapPeak.load() - before);
    if (module.settings.DefPath != u"/head/" || !module.view.ViewMix || boxes.shown != 0) {
      state.SkipWithError("the load did not read the values of the file");
      return;
    }
  }
  ReportHeap(state, worst, folder.Size());
}

// One reading of the file as bare system calls; false when it was not read
// whole.
bool ReadWhole(const StoreFolder& folder) {
  const int fd = ::open(folder.File().c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) return false;
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  const ssize_t n = ::read(fd, bytes.data(), bytes.size());
  ::close(fd);
  benchmark::DoNotOptimize(bytes.data());
  return n == static_cast<ssize_t>(folder.Size()) && bytes.ends_with(kTail);
}

void BareRead(benchmark::State& state, Shape shape) {
  const StoreFolder folder(shape);
  std::size_t worst = 0;
  for (auto _ : state) {
    const std::size_t before = StartHeapCount();
    const bool whole = ReadWhole(folder) && ReadWhole(folder);  // as the two loads
    worst = std::max(worst, heapPeak.load() - before);
    if (!whole) {
      state.SkipWithError("the file was not read whole");
      return;
    }
  }
  ReportHeap(state, worst, folder.Size());
}

void Register(const char* name, Shape shape) {
  for (const auto& [kind, run] : {std::pair{"Load/", &Load}, std::pair{"BareRead/", &BareRead}}) {
    benchmark::RegisterBenchmark((std::string(kind) + name).c_str(), run, shape)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
  }
}

const int registered = [] {
  Register("empty_lines", Shape::EmptyLines);
  Register("crlf_lines", Shape::CrLfLines);
  Register("cr_lines", Shape::CrLines);
  Register("kv_lines", Shape::KvLines);
  Register("duplicate_keys", Shape::DuplicateKeys);
  Register("sections", Shape::Sections);
  Register("one_line", Shape::OneLine);
  return 0;
}();

}  // namespace
}  // namespace dovetam
