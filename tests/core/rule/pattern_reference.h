// A slow, plainly recursive matcher over the compiled tables, kept as the
// reference for the real matcher (pattern_matcher.h) and search: it tries the
// run lengths of each class item in the documented order (continuations whose
// next item matches at once first: shortest first with mchmode 1, longest
// first with 2; then those that can only go on empty, longest first) with no
// stack, no memo and no pruning. Exponential; for small inputs only.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "pattern_test_support.h"

namespace dovetam::testing {

// End of the first occurrence of alternative `alt` at start s below `high`
// of `text` (the search text), or 0.
int32_t ReferenceMatchAt(Engine& e, std::u16string_view text, int32_t alt, int32_t s, int32_t high);
// Every non-overlapping occurrence of side 1's pattern, leftmost first, in
// [low, high) of `text`, scanning forward or backward (on the reversed text);
// in text coordinates.
std::vector<std::pair<int32_t, int32_t>> ReferenceAll(Engine& e, const std::u16string& text, int32_t low,
                                                      int32_t high, bool forward);

}  // namespace dovetam::testing
