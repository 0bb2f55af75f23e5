// A settings form in which every key's field differs from the built-in
// default, made from the key table: each key gets a stored text that its
// check accepts and that is unlike its default (and, where the check leaves
// room, unlike the other keys' texts), so a test of a whole road (save and
// load, the dialog's buttons) sees any key that it drops, swaps or leaves at
// its default. A key added to the table is in it
// as soon as its check is one of those below; a new kind of check does not
// compile here until it is given its text.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "core/common/decimal_text.h"
#include "core/settings/settings_dialog_values.h"
#include "core/settings/settings_keys.h"

namespace dovetam::testing {

// A text for key i (table order) that passes its check and is not its
// default.
inline std::u16string TextUnlikeDefault(std::size_t i) {
  const SettingKey& k = SettingKeys()[i];
  const std::u16string d = DefaultSettingText(i);
  const auto number = [&d] { return static_cast<int>(DecimalValue(d)); };
  // Tells the keys of free texts apart.
  const std::u16string tag = u"~" + DecimalText(static_cast<int64_t>(i));
  switch (k.check) {
    case Check::Any:
    case Check::PathAndDrive: return d + tag;
    case Check::OneCharacter: {
      char16_t c = static_cast<char16_t>(u'A' + i % 26);
      if (d.size() == 1 && d[0] == c) ++c;
      return std::u16string(1, c);
    }
    case Check::Boolean: return d == u"True" || d == u"true" ? u"False" : u"True";
    case Check::OneOrTwo: return d == u"1" ? u"2" : u"1";
    case Check::ZeroToTwo: return DecimalText((number() + 1) % 3);
    case Check::OneToSix: return DecimalText(number() % 6 + 1);
    case Check::OneToThree: return DecimalText(number() % 3 + 1);
    case Check::StartNumber: return DecimalText(number() + 1 + static_cast<int>(i));
  }
  return d;
}

// The defaults' form with every key's field changed to TextUnlikeDefault.
inline SettingsForm FormUnlikeDefaults() {
  SettingsForm form = DefaultForm();
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const std::u16string text = TextUnlikeDefault(i);
    EXPECT_TRUE(PassesCheck(SettingKeys()[i].check, text)) << "key " << i;
    SetFormKeyText(form, i, text);
  }
  const SettingsForm defaults = DefaultForm();
  for (std::size_t i = 0; i < kSettingCount; ++i)
    EXPECT_NE(FormKeyText(form, i), FormKeyText(defaults, i)) << "key " << i << " kept its default";
  return form;
}

}  // namespace dovetam::testing
