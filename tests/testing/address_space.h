// The address space of the process, for tests that lower its limit
// (RLIMIT_AS) to make memory run out for real.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdio>

namespace dovetam::testing {

// Whether a sanitizer is built in: its shadow memory alone passes any limit
// of the address space.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

// The address space the process uses now, in bytes.
inline std::size_t AddressSpace() {
  std::size_t pages = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%zu", &pages) != 1) pages = 0;
    std::fclose(f);
  }
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace dovetam::testing
