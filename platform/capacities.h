// Table sizes of one build, and the limits that growth obeys.
//
// The two programs differ only in these numbers: every table starts at its
// capacity and grows by the same amount. The two limits stand in for running
// out of memory, so that the "memory short" paths can be tested: a table may
// never hold more than `allocationLimit` elements, and a text of the record
// of a run, re-run or restore (its log text, each report list, the report)
// never more than `textLimit` UTF-16 units. Past a limit, growing fails as
// the allocation itself would.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dovetam {

struct Capacities {
  int32_t tableStep;    // folder listing and targets
  int32_t rangeStep;    // rule engine range lists, registers, clip list, stack
  int32_t patternStep;  // rule engine pattern tables
  std::size_t allocationLimit = SIZE_MAX;
  std::size_t textLimit = SIZE_MAX;

  static constexpr Capacities Large() { return {1000, 200, 100}; }
  static constexpr Capacities Small() { return {10, 2, 2}; }
};

}  // namespace dovetam
