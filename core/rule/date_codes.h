// The object's dates for the date codes \Y \M \A \H \I \S \D \T \U \E.
//
// The dates come from the RuleContext; a date of 0 (not read) is read once
// through the context's ReadDate when it has one, else through the file
// system at CurPath (folder or file by CurIsFolder), and kept
// in the context for the rest of the object's processing. A date that cannot
// be read is a rule error and stays 0, so the next call tries again.
#pragma once

#include <cstdint>
#include <string>

#include "core/rule/rule_call.h"

namespace dovetam {

enum DateKind : int { kDateModified = 1, kDateCreated = 2 };

struct DateCodeValue {
  int64_t number = 0;   // codes 1..6
  std::u16string text;  // codes 7..10 ("yyyymmdd", "yymmdd", "hhnnss", "hhnn")
};

// code: 1 year, 2 month, 3 day, 4 hour (24 h), 5 minute, 6 second,
// 7 "yyyymmdd", 8 "yymmdd", 9 "hhnnss", 10 "hhnn". False after the error.
bool GetObjectDateCode(RuleCall& call, int kind, int code, DateCodeValue& value);

}  // namespace dovetam
