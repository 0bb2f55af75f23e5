// Work over a large range spread across a few threads: for the status calls
// of a big folder, which wait on the kernel one by one and do not depend on
// each other.
#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace dovetam {

// Calls work(begin, end) for consecutive slices covering [0, n): on the
// calling thread alone when n is below 2 * minSlice, else on up to
// `maxThreads` threads (the calling one included), each slice at least
// minSlice long. Returns when every slice is done. Where no thread can be
// started, the calling thread does the rest itself. An exception of `work`
// (the first one thrown) reaches the caller once every thread has ended.
template <typename Work>
void ForEachSlice(std::size_t n, std::size_t minSlice, unsigned maxThreads, Work&& work) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t byLength = minSlice == 0 ? n : n / minSlice;
  const std::size_t count =
      std::max<std::size_t>(1, std::min<std::size_t>({byLength, cores, maxThreads}));
  if (count == 1) {
    work(std::size_t{0}, n);
    return;
  }
  const std::size_t step = (n + count - 1) / count;
  std::vector<std::exception_ptr> failures(count);
  std::vector<std::thread> helpers;
  helpers.reserve(count - 1);
  std::size_t begin = step;  // the calling thread takes [0, step)
  for (std::size_t k = 1; begin < n; begin += step, ++k) {
    const std::size_t end = std::min(n, begin + step);
    try {
      helpers.emplace_back([&work, &failures, k, begin, end] {
        try {
          work(begin, end);
        } catch (...) {
          failures[k] = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
      break;  // no more threads: the rest is done here
    }
  }
  try {
    work(std::size_t{0}, std::min(n, step));
    for (std::size_t rest = begin; rest < n; rest += step) work(rest, std::min(n, rest + step));
  } catch (...) {
    failures[0] = std::current_exception();
  }
  for (std::thread& t : helpers) t.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

}  // namespace dovetam
