// Huge-page advice: see huge_pages.h.
#include "platform/huge_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace dovetam {

void AdviseHugePages(const void* data, std::size_t bytes) {
  constexpr std::size_t kWorthIt = std::size_t{4} << 20;
  if (data == nullptr || bytes < kWorthIt) return;
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t from = (start + page - 1) / page * page;
  const std::uintptr_t to = (start + bytes) / page * page;
  if (to <= from) return;
#ifdef MADV_HUGEPAGE
  madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);  // a hint: errors ignored
#endif
}

void PrepareForWriting(void* data, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  constexpr std::size_t kWorthIt = std::size_t{256} << 10;
  if (data == nullptr || bytes < kWorthIt) return;
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t from = (start + page - 1) / page * page;
  const std::uintptr_t to = (start + bytes) / page * page;
  if (to <= from) return;
  madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);  // errors ignored
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace dovetam
