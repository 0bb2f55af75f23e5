// The keys' texts: how a value in effect is written as text, how an accepted
// text is put into effect, and the checks a text must pass. The field of a
// key is its row's (settings_keys.h); its type says how it converts.
#include "core/settings/settings_keys.h"

#include "core/common/decimal_text.h"

namespace dovetam {

namespace {

using ValueRef = std::variant<std::u16string*, bool*, int16_t*, int32_t*>;

ValueRef ValueOf(Settings& s, std::size_t i) { return FieldIn<ValueRef>(s, kSettingKeys[i].value); }

bool OneOf(std::u16string_view text, std::initializer_list<std::u16string_view> accepted) {
  for (std::u16string_view a : accepted) {
    if (text == a) return true;
  }
  return false;
}

}  // namespace

std::u16string SettingText(const Settings& s, std::size_t i) {
  const ValueRef v = ValueOf(const_cast<Settings&>(s), i);
  if (auto p = std::get_if<std::u16string*>(&v)) return **p;
  if (auto p = std::get_if<bool*>(&v)) return **p ? u"True" : u"False";
  if (auto p = std::get_if<int16_t*>(&v)) return DecimalText(**p);
  return DecimalText(*std::get<int32_t*>(v));
}

void SetSettingText(Settings& s, std::size_t i, std::u16string_view text) {
  const ValueRef v = ValueOf(s, i);
  if (auto p = std::get_if<std::u16string*>(&v)) {
    **p = std::u16string(text);
  } else if (auto p = std::get_if<bool*>(&v)) {
    **p = text == u"True" || text == u"true";
  } else if (auto p = std::get_if<int16_t*>(&v)) {
    **p = static_cast<int16_t>(DecimalValue(text));
  } else {
    *std::get<int32_t*>(v) = static_cast<int32_t>(DecimalValue(text));
  }
}

std::u16string DefaultSettingText(std::size_t i) {
  static const Settings defaults;
  return SettingText(defaults, i);
}

bool PassesCheck(Check check, std::u16string_view text) {
  switch (check) {
    case Check::Any: return true;
    case Check::Boolean: return OneOf(text, {u"True", u"true", u"False", u"false"});
    case Check::OneCharacter: return text.size() == 1;
    case Check::OneOrTwo: return OneOf(text, {u"1", u"2"});
    case Check::PathAndDrive:
      return text.find(u'\\') != std::u16string_view::npos &&
             text.find(u':') != std::u16string_view::npos;
    case Check::ZeroToTwo: return OneOf(text, {u"0", u"1", u"2"});
    case Check::OneToSix: return OneOf(text, {u"1", u"2", u"3", u"4", u"5", u"6"});
    case Check::StartNumber: return CheckStartNumberDigits(text) == DigitCheck::Ok;
    case Check::OneToThree: return OneOf(text, {u"1", u"2", u"3"});
  }
  return false;  // a kind of check the store does not know accepts nothing
}

DigitCheck CheckStartNumberDigits(std::u16string_view text) {
  int state = 0;  // 0 nothing read, 1 only zeros, 2 a significant digit seen
  std::size_t significant = 0;
  for (char16_t c : text) {
    if (c == u'0') {
      if (state == 0)
        state = 1;
      else if (state == 2)
        ++significant;
    } else if (c >= u'1' && c <= u'9') {
      state = 2;
      ++significant;
    } else {
      return DigitCheck::NonDigit;
    }
  }
  if (state == 0) return DigitCheck::Empty;
  return significant > 9 ? DigitCheck::TooLong : DigitCheck::Ok;
}

}  // namespace dovetam
