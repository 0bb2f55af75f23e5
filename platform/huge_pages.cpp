// Huge-page advice: see huge_pages.h.
#include "platform/huge_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace dovetam {

namespace {

// Gives `advice` for the whole pages inside a buffer of at least `worthIt`
// bytes; a hint: errors are ignored.
void AdviseWholePages(const void* data, std::size_t bytes, std::size_t worthIt, int advice) {
  if (data == nullptr || bytes < worthIt) return;
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t from = (start + page - 1) / page * page;
  const std::uintptr_t to = (start + bytes) / page * page;
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, advice);
}

}  // namespace

void AdviseHugePages(const void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
  AdviseWholePages(data, bytes, std::size_t{4} << 20, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

void PrepareForWriting(void* data, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  AdviseWholePages(data, bytes, std::size_t{256} << 10, MADV_POPULATE_WRITE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace dovetam
