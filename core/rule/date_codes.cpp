// The object's dates for the date codes (see date_codes.h).
#include "core/rule/date_codes.h"

#include "platform/dates.h"
#include "core/rule/rule_messages.h"

namespace dovetam {
namespace {

void AppendTwoDigits(std::u16string& s, int v) {
  if (v < 0) v = -v;
  s += static_cast<char16_t>(u'0' + (v / 10) % 10);
  s += static_cast<char16_t>(u'0' + v % 10);
}

void AppendFourDigits(std::u16string& s, int v) {
  if (v < 0) v = -v;
  AppendTwoDigits(s, (v / 100) % 100);
  AppendTwoDigits(s, v % 100);
}

}  // namespace

bool GetObjectDateCode(RuleCall& call, int kind, int code, DateCodeValue& value) {
  Date& stored = kind == kDateCreated ? call.context.CurCreated : call.context.CurModified;
  if (stored == 0) {
    Date read = 0;
    int err;
    if (call.context.ReadDate) {
      err = call.context.ReadDate(kind == kDateCreated, read);
    } else {
      err = kind == kDateCreated
                ? call.fs.GetDateCreated(call.context.CurPath, call.context.CurIsFolder, read)
                : call.fs.GetDateLastModified(call.context.CurPath, call.context.CurIsFolder, read);
    }
    if (err != 0) {
      call.Fail(DateReadMessage(kind));
      value = DateCodeValue{};
      return false;
    }
    stored = read;
  }
  const DateFields f = SplitDate(stored);
  value = DateCodeValue{};
  switch (code) {
    case 1: value.number = f.year; break;
    case 2: value.number = f.month; break;
    case 3: value.number = f.day; break;
    case 4: value.number = f.hour; break;
    case 5: value.number = f.minute; break;
    case 6: value.number = f.second; break;
    case 7:
      AppendFourDigits(value.text, f.year);
      AppendTwoDigits(value.text, f.month);
      AppendTwoDigits(value.text, f.day);
      break;
    case 8:
      AppendTwoDigits(value.text, f.year % 100);
      AppendTwoDigits(value.text, f.month);
      AppendTwoDigits(value.text, f.day);
      break;
    case 9:
      AppendTwoDigits(value.text, f.hour);
      AppendTwoDigits(value.text, f.minute);
      AppendTwoDigits(value.text, f.second);
      break;
    default:
      AppendTwoDigits(value.text, f.hour);
      AppendTwoDigits(value.text, f.minute);
      break;
  }
  return true;
}

}  // namespace dovetam
