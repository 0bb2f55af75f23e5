// Exact sums of the codes \( ... ): whole numbers of up to 32 decimal digits
// with a sign, held in four chunks of eight digits (base 100000000, chunk 1
// the least significant). After every addition all non-zero chunks carry the
// sign of the most significant one. Constant cost per addition.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/rule/rule_call.h"

namespace dovetam {

struct DecimalAccumulator {
  std::array<int32_t, 5> chunk{};  // 1..4 used
};

enum SumMode : int {
  kSumAddSigned = 1,     // value: a number, or a clip item read as a signed number
  kSumSubSigned = 2,
  kSumAddDigits = 3,     // value: unsigned digit text
  kSumSubDigits = 4,
};

// Adds or subtracts a number. False after setting the "too many digits"
// error (a magnitude of more than 32 digits, or a result of 10^32 or more).
bool AddToDecimalAccumulator(RuleCall& call, DecimalAccumulator& acc, int64_t value, SumMode mode);
bool AddToDecimalAccumulator(RuleCall& call, DecimalAccumulator& acc, std::u16string_view value,
                             SumMode mode);

// A clip item read as a signed number: blanks (" ", "　") skipped, a sign only
// as the first non-blank, leading zeros dropped, reading stops at the first
// other character. Gives the digits and whether the sign is minus.
void ReadSignedNumber(std::u16string_view item, std::u16string& digits, bool& negative);

// Decimal text of the sum: "0", or the most significant chunk (with "-")
// followed by the other chunks as eight digits each.
std::u16string FormatDecimalAccumulator(const DecimalAccumulator& acc);

}  // namespace dovetam
