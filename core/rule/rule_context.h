// What the rule engine may read about the object being renamed, and what it
// reports back. A date of 0 makes the engine read that date itself, through
// ReadDate or else the file system and CurPath (CurIsFolder chooses folder
// or file).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/dates.h"

namespace dovetam {

struct RuleContext {
  int32_t CurPos = 0;
  int32_t CurTotal = 0;
  Date CurModified = 0;
  Date CurCreated = 0;
  std::u16string CurPath;
  bool CurIsFolder = false;
  // When set, the engine reads a date through it (the last-modified date,
  // or the creation date when `created`) instead of through the file system
  // at CurPath: the rename run reads it in the object's open folder. Returns
  // the error number; an error ends the rule as a date that cannot be read
  // (a caller that cannot have the date read now says so with one, drops
  // that result and evaluates the name again when it may).
  std::function<int(bool created, Date& date)> ReadDate;
  int16_t RuleErrorKind = 0;  // 0 none, 1 rule error, 2 generated-name error
  std::u16string RuleErrorText;
};

}  // namespace dovetam
