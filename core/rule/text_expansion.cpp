// Repeat sections and the scan of one text piece (see text_expansion.h).
#include "core/rule/text_expansion.h"

#include "core/rule/escape_search.h"
#include "core/rule/rule_messages.h"
#include "core/rule/text_codes.h"

namespace dovetam {
namespace {

std::u16string_view Piece(std::u16string_view text, int32_t from, int32_t to) {
  // 1-based positions from..to-1.
  if (to <= from) return {};
  return text.substr(static_cast<std::size_t>(from) - 1, static_cast<std::size_t>(to - from));
}

// False, after the "memory short" error, once a built text is too long.
bool WithinLimit(RuleCall& call, const std::u16string& built) {
  if (built.size() <= kMaxExpandedText) return true;
  call.FailMemory();
  return false;
}

}  // namespace

std::u16string ExpandCodes(RuleCall& call, std::u16string_view text, int insideSection) {
  const Settings& s = call.settings;
  RuleWorkspace& ws = call.ws;
  ws.ClipPending = 0;
  ExpansionPass pass;
  pass.inside = insideSection != 0;
  const int32_t len = static_cast<int32_t>(text.size());
  int32_t i = 1;
  UnescapedCursor asters(text, s.ChrAster, s);
  UnescapedCursor yens(text, s.ChrYen, s);
  UnescapedCursor bars(text, s.ChrBar, s);
  while (i <= len) {
    int32_t aster = asters.Next(i);
    int32_t yen = yens.Next(i);
    int32_t bar = bars.Next(i);
    int32_t p = 0;
    int which = 0;  // 1 aster, 2 yen, 3 bar
    if (aster > 0) p = aster, which = 1;
    if (yen > 0 && (p == 0 || yen < p)) p = yen, which = 2;
    if (bar > 0 && (p == 0 || bar < p)) p = bar, which = 3;
    if (which == 0) break;
    if (!AppendUnescaped(pass.out, Piece(text, i, p), s, call.context)) return std::u16string();
    if (which == 1) {
      pass.out += ws.CurNamePart;
      i = p + static_cast<int32_t>(s.ChrAster.size());
    } else if (which == 3) {
      if (!pass.inside) {
        call.Fail(BarOutsideMessage(s.ChrLt, s.ChrGt, s.ChrBar));
        return std::u16string();
      }
      if (pass.repeatCutState == 2) {
        pass.repeatCutState = 3;
        pass.cutLength = pass.out.size();
      }
      i = p + static_cast<int32_t>(s.ChrBar.size());
    } else {
      i = ExpandOneCode(call, text, p, pass);
      if (i == 0 || call.failed()) return std::u16string();
    }
    if (!WithinLimit(call, pass.out)) return std::u16string();
  }
  if (i <= len && !AppendUnescaped(pass.out, Piece(text, i, len + 1), s, call.context)) {
    return std::u16string();
  }
  if (!pass.inside) return std::move(pass.out);
  switch (pass.repeatCutState) {
    case 0:
      return std::u16string();
    case 1:
      return std::move(pass.out);
    default:
      pass.out.resize(std::min(pass.cutLength, pass.out.size()));
      return std::move(pass.out);
  }
}

std::u16string ExpandSections(RuleCall& call, std::u16string_view text) {
  const Settings& s = call.settings;
  RuleWorkspace& ws = call.ws;
  ws.OuterClipPending = 0;
  std::u16string result;
  const int32_t len = static_cast<int32_t>(text.size());
  int32_t p = 1;
  for (;;) {
    int32_t a = InStrUnescaped(text, s.ChrLt, p, s);
    int32_t g = InStrUnescaped(text, s.ChrGt, p, s);
    if (a == 0) {
      if (g > 0) {
        call.Fail(PairMessage(s.ChrLt, s.ChrGt));
        return std::u16string();
      }
      result += ExpandCodes(call, Piece(text, p, len + 1), 0);
      if (call.failed() || !WithinLimit(call, result)) return std::u16string();
      ws.OuterClipPending |= ws.ClipPending;
      return result;
    }
    if (g > 0 && g < a) {
      call.Fail(PairMessage(s.ChrLt, s.ChrGt));
      return std::u16string();
    }
    result += ExpandCodes(call, Piece(text, p, a), 0);
    if (call.failed() || !WithinLimit(call, result)) return std::u16string();
    ws.OuterClipPending |= ws.ClipPending;
    const int32_t open = a + static_cast<int32_t>(s.ChrLt.size());
    int32_t b = InStrUnescaped(text, s.ChrGt, open, s);
    int32_t nested = InStrUnescaped(text, s.ChrLt, open, s);
    if (b == 0 || (nested > 0 && nested < b)) {
      call.Fail(PairMessage(s.ChrLt, s.ChrGt));
      return std::u16string();
    }
    // Each pass that keeps ClipPending set has taken a clip item, and the
    // cursors only move one way, so this ends after at most ClipCount passes.
    do {
      result += ExpandCodes(call, Piece(text, open, b), 1);
      if (call.failed() || !WithinLimit(call, result)) return std::u16string();
    } while (ws.ClipPending != 0);
    p = b + static_cast<int32_t>(s.ChrGt.size());
  }
}

}  // namespace dovetam
