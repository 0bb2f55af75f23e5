// Table sizes of one build, and the allocation limit that growth obeys.
//
// The two programs differ only in these numbers: every table starts at its
// capacity and grows by the same amount. The allocation limit stands in for
// running out of memory, so that the "memory short" paths can be tested: a
// table may never hold more than `allocationLimit` elements.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dovetam {

struct Capacities {
  int32_t tableStep;    // folder listing and targets
  int32_t rangeStep;    // rule engine range lists, registers, clip list, stack
  int32_t patternStep;  // rule engine pattern tables
  std::size_t allocationLimit = SIZE_MAX;

  static constexpr Capacities Large() { return {1000, 200, 100}; }
  static constexpr Capacities Small() { return {10, 2, 2}; }
};

}  // namespace dovetam
