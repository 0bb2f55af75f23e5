// ApplySelectionOffset: finishes one side of a selection pattern (declared in
// selection_services.h). The side's suffix number moves from the occurrence
// the search left in SideFound (a plain number counts outward and must stay
// inside the window, one written with a leading zero counts inward and must
// stay inside the occurrence), or, for a side without a group, positions
// within the window itself. Every not-found code then becomes a range:
// -1 the whole window when emptySideRule is 1 or 2 (else (0, 0)), -2 the
// whole window, -3 the empty range at low, -4 the empty range at high; 0
// stays 0 (nothing selected). Constant time; never fails.
#include "core/rule/selection_services.h"

namespace dovetam {
namespace {

// Code of a count that ran out, by suffix letter (none / i / d / l / r).
int32_t RunOutCode(int16_t mode, int32_t none) {
  switch (mode) {
    case 1: return -2;
    case 2: return 0;
    case 3: return -3;
    case 4: return -4;
    default: return none;
  }
}

}  // namespace

void ApplySelectionOffset(RuleCall& call, std::u16string_view, int32_t low, int32_t high, int16_t side,
                          int16_t emptySideRule, int16_t reference) {
  RuleWorkspace& ws = call.ws;
  const std::size_t sd = static_cast<std::size_t>(side);
  int32_t& start = ws.SideFound[sd][1];
  int32_t& end = ws.SideFound[sd][2];
  const int16_t kind = ws.SideOffsetKind[sd];
  const bool plus = ws.SideOffsetSign[sd] != 2;
  const int64_t n = ws.SideOffset[sd];
  const int16_t mode = ws.SideOffsetMode[sd];
  auto select = [&](int64_t first, int64_t last) {
    start = static_cast<int32_t>(first);
    end = static_cast<int32_t>(last);
  };

  if (ws.SideGroupKind[sd] != 2 && reference == 0) {
    // 1. Positions within the window.
    const int64_t w = static_cast<int64_t>(high) - low;
    if (kind != 2 && kind != 3) {
      start = RunOutCode(mode, -1);
    } else if (n > w) {
      start = RunOutCode(mode, plus ? -4 : -3);
    } else if (plus) {
      select(low + n - 1, low + n);
    } else {
      select(high - n, high - n + 1);
    }
  } else if (start > 0 && (kind == 2 || kind == 3)) {
    // 2. Relative to the occurrence [s, e).
    const int64_t s = start;
    const int64_t e = end;
    if (kind == 2) {
      const int64_t t = plus ? e - 1 + n : s - n;
      if (plus ? t < high : t >= low) {
        select(t, t + 1);
      } else {
        start = RunOutCode(mode, plus ? -4 : -3);
      }
    } else if (n <= e - s) {
      if (plus) {
        select(s + n - 1, s + n);
      } else {
        select(e - n, e - n + 1);
      }
    } else {
      switch (mode) {
        case 1: break;  // the occurrence unchanged
        case 2: start = 0; break;
        case 3: select(s, s); break;
        case 4: select(e, e); break;
        default:
          if (plus) {
            select(e, e);
          } else {
            select(s, s);
          }
      }
    }
  }

  // 3. Resolve the codes.
  switch (start) {
    case -1:
      if (emptySideRule == 1 || emptySideRule == 2) {
        select(low, high);
      } else {
        select(0, 0);
      }
      break;
    case -2: select(low, high); break;
    case -3: select(low, low); break;
    case -4: select(high, high); break;
    default: break;
  }
}

}  // namespace dovetam
