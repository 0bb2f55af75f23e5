// Work shared among threads: every index is done exactly once, whatever the
// length, and a failure in any slice reaches the caller.
#include "platform/parallel_slices.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace dovetam {
namespace {

TEST(ParallelSlices, EveryIndexIsDoneOnce) {
  for (const std::size_t n : {0u, 1u, 99u, 100u, 199u, 200u, 201u, 1000u, 12345u}) {
    for (const unsigned threads : {1u, 2u, 8u}) {
      SCOPED_TRACE(std::to_string(n) + " entries, " + std::to_string(threads) + " threads");
      std::vector<std::atomic<int>> done(n);
      std::atomic<int> slices{0};
      ForEachSlice(n, 100, threads, [&](std::size_t begin, std::size_t end) {
        ASSERT_LE(begin, end);
        ASSERT_LE(end, n);
        ++slices;
        for (std::size_t k = begin; k < end; ++k) ++done[k];
      });
      for (std::size_t k = 0; k < n; ++k) ASSERT_EQ(1, done[k].load()) << k;
      EXPECT_LE(slices.load(), static_cast<int>(threads));
    }
  }
}

TEST(ParallelSlices, AFailureInAnySliceReachesTheCaller) {
  for (const std::size_t failing : {0u, 500u, 999u}) {
    std::atomic<int> ended{0};
    EXPECT_THROW(ForEachSlice(1000, 100, 4,
                              [&](std::size_t begin, std::size_t end) {
                                if (failing >= begin && failing < end) {
                                  throw std::runtime_error("slice failed");
                                }
                                ++ended;
                              }),
                 std::runtime_error);
    // With more than one slice, the others ran to their end before the
    // failure came back.
    if (std::thread::hardware_concurrency() > 1) {
      EXPECT_GE(ended.load(), 1);
    }
  }
}

}  // namespace
}  // namespace dovetam
