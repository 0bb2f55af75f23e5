// Exact sums (see exact_sum.h).
#include "core/rule/exact_sum.h"

#include <cstdlib>

#include "core/rule/rule_messages.h"

namespace dovetam {
namespace {

constexpr int32_t kBase = 100000000;
constexpr std::size_t kMaxDigits = 32;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\u3000'; }

bool Add(RuleCall& call, DecimalAccumulator& acc, std::u16string_view digits, bool negative,
         bool subtract) {
  // The digit texts here never carry leading zeros, except an empty text (0).
  if (digits.size() > kMaxDigits) {
    call.Fail(SumDigitsMessage(call.settings.ChrYen));
    return false;
  }
  // Chunk i is formed by the eight digits ending 8 * (i - 1) from the right.
  std::array<int32_t, 5> part{};
  for (int i = 1; i <= 4; ++i) {
    std::size_t endFromRight = 8 * static_cast<std::size_t>(i - 1);
    if (endFromRight >= digits.size()) break;
    std::size_t end = digits.size() - endFromRight;
    std::size_t begin = end >= 8 ? end - 8 : 0;
    int32_t v = 0;
    for (std::size_t k = begin; k < end; ++k) v = v * 10 + (digits[k] - u'0');
    part[i] = v;
  }
  const bool adds = negative == subtract;  // mode agrees with sign
  for (int i = 1; i <= 4; ++i) acc.chunk[i] += adds ? part[i] : -part[i];
  for (int i = 1; i <= 3; ++i) {
    if (std::abs(acc.chunk[i]) >= kBase) {
      acc.chunk[i + 1] += acc.chunk[i] / kBase;
      acc.chunk[i] %= kBase;
    }
  }
  int j = 4;
  while (j >= 1 && acc.chunk[j] == 0) --j;
  if (j >= 1) {
    const int32_t s = acc.chunk[j] > 0 ? 1 : -1;
    for (int k = 1; k < j; ++k) {
      if ((s > 0 && acc.chunk[k] < 0) || (s < 0 && acc.chunk[k] > 0)) {
        acc.chunk[k] += s * kBase;
        acc.chunk[k + 1] -= s;
      }
    }
  }
  if (std::abs(acc.chunk[4]) >= kBase) {
    call.Fail(SumDigitsMessage(call.settings.ChrYen));
    return false;
  }
  return true;
}

}  // namespace

void ReadSignedNumber(std::u16string_view item, std::u16string& digits, bool& negative) {
  digits.clear();
  negative = false;
  bool first = true;
  for (char16_t c : item) {
    if (IsBlank(c)) continue;
    if (first && (c == u'+' || c == u'-')) {
      negative = c == u'-';
      first = false;
      continue;
    }
    first = false;
    if (c < u'0' || c > u'9') break;
    if (digits.empty() && c == u'0') continue;  // leading zero
    digits += c;
  }
  if (digits.empty()) negative = false;
}

bool AddToDecimalAccumulator(RuleCall& call, DecimalAccumulator& acc, int64_t value, SumMode mode) {
  const bool negative = value < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::u16string digits;
  if (magnitude != 0) {
    for (; magnitude > 0; magnitude /= 10) digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
  }
  return Add(call, acc, digits, negative, mode == kSumSubSigned || mode == kSumSubDigits);
}

bool AddToDecimalAccumulator(RuleCall& call, DecimalAccumulator& acc, std::u16string_view value,
                             SumMode mode) {
  const bool subtract = mode == kSumSubSigned || mode == kSumSubDigits;
  if (mode == kSumAddDigits || mode == kSumSubDigits) return Add(call, acc, value, false, subtract);
  std::u16string digits;
  bool negative = false;
  ReadSignedNumber(value, digits, negative);
  return Add(call, acc, digits, negative, subtract);
}

std::u16string FormatDecimalAccumulator(const DecimalAccumulator& acc) {
  int j = 4;
  while (j >= 1 && acc.chunk[j] == 0) --j;
  if (j < 1) return u"0";
  std::string text = std::to_string(acc.chunk[j]);
  for (int k = j - 1; k >= 1; --k) {
    std::string part = std::to_string(std::abs(acc.chunk[k]));
    text += std::string(8 - part.size(), '0') + part;
  }
  return std::u16string(text.begin(), text.end());
}

}  // namespace dovetam
