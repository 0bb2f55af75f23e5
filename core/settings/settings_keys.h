// The keys of the settings store in one table. A row names a key's section
// and key, the check its text must pass before it comes into effect, the
// value in effect it holds, and the settings dialog's control that shows it
// with the way the control shows it. The table's order is the store order:
// loading reads and saving writes the keys in it; the dialog visits them in
// an order of its own (kFormOrder, settings_dialog_values.h). What is stored
// (sections, keys, texts) follows from these rows alone.
//
// Adding a key takes the edits the README lists under "To add a setting": its
// value in Settings (settings_values.h), a row here and the count below, its
// control's field in SettingsForm (settings_form.h), its place in kFormOrder,
// the control on its page of the dialog (ui/settings_dialog/, made for the
// row, which names it; the dialog connects it from the row), and the tests
// that write the keys out on their own. The compiler checks that a row's
// check, value and control agree in type and that the dialog's order names
// every key once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "core/settings/settings_form.h"
#include "core/settings/settings_values.h"

namespace dovetam {

// What a stored text must be to come into effect (the numbers are the
// kinds of the settings store's checks). Comparisons are exact, with case,
// without trimming.
enum class Check {
  Any = 0,            // every text, the empty one too; kept as text
  Boolean = 1,        // "True", "true", "False" or "false"
  OneCharacter = 11,  // exactly one UTF-16 unit; kept as text
  OneOrTwo = 12,      // "1" or "2"
  PathAndDrive = 13,  // holds a "\" and a ":" somewhere; kept as text
  ZeroToTwo = 14,     // "0", "1" or "2"
  OneToSix = 15,      // "1" to "6"
  StartNumber = 16,   // ASCII digits, at most 9 after the leading zeros
  OneToThree = 17,    // "1", "2" or "3"
};

// How a control shows its key's stored text, and what it gives back.
enum class FormClass {
  Text,           // the text unchanged
  Check,          // "True"/"true" checked
  InvertedCheck,  // "False"/"false" checked
  Match,          // mchmode: "2" checked, "1" unchecked
  OptionFrom0,    // spacemode: the button of that index
  OptionFrom1,    // extramode, extramode2: the button of index value - 1
  Number,         // extranum: decimal text without leading zeros
};

// A text that is one element of an array member (PtnChr(1), txtRuleMark(5)).
template <typename Owner, std::size_t N>
struct TextAt {
  std::array<std::u16string, N> Owner::*array;
  std::size_t index;
};

// The value in effect of a key, and the form field of its control.
using SettingField = std::variant<std::u16string Settings::*, bool Settings::*,
                                  int16_t Settings::*, int32_t Settings::*, TextAt<Settings, 3>>;
using FormField = std::variant<std::u16string SettingsForm::*, bool SettingsForm::*,
                               int SettingsForm::*, TextAt<SettingsForm, 17>>;

struct SettingKey {
  std::u16string_view section;
  std::u16string_view key;
  Check check;
  SettingField value;
  // The dialog's control: its name (an option group's buttons are the name
  // with their index, "optNameSpace(0)"), its field in the form, and how it
  // shows the stored text.
  std::u16string_view control;
  FormField field;
  FormClass shown;
};

inline constexpr auto kSettingKeys = [] {
  using S = Settings;
  using F = SettingsForm;
  using C = Check;
  using K = FormClass;
  constexpr auto pattern = [](std::size_t i) { return TextAt<S, 3>{&S::PtnChr, i}; };
  constexpr auto mark = [](std::size_t i) { return TextAt<F, 17>{&F::txtRuleMark, i}; };
  return std::to_array<SettingKey>({
      {u"general", u"defpath", C::Any, &S::DefPath, u"txtGenFolder", &F::txtGenFolder, K::Text},
      {u"general", u"samplename", C::Any, &S::SampleName, u"txtGenName", &F::txtGenName, K::Text},
      {u"rule", u"chr_aster", C::OneCharacter, &S::ChrAster, u"txtRuleMark(0)", mark(0), K::Text},
      {u"rule", u"chr_q1", C::OneCharacter, &S::ChrQ1, u"txtRuleMark(1)", mark(1), K::Text},
      {u"rule", u"chr_q2", C::OneCharacter, &S::ChrQ2, u"txtRuleMark(2)", mark(2), K::Text},
      {u"rule", u"chr_s1", C::OneCharacter, &S::ChrS1, u"txtRuleMark(3)", mark(3), K::Text},
      {u"rule", u"chr_s2", C::OneCharacter, &S::ChrS2, u"txtRuleMark(4)", mark(4), K::Text},
      {u"rule", u"chr_dq1", C::OneCharacter, &S::ChrDq1, u"txtRuleMark(8)", mark(8), K::Text},
      {u"rule", u"chr_dq2", C::OneCharacter, &S::ChrDq2, u"txtRuleMark(9)", mark(9), K::Text},
      {u"rule", u"chr_col", C::OneCharacter, &S::ChrCol, u"txtRuleMark(5)", mark(5), K::Text},
      {u"rule", u"chr_yen", C::OneCharacter, &S::ChrYen, u"txtRuleMark(10)", mark(10), K::Text},
      {u"rule", u"chr_per", C::OneCharacter, &S::ChrPer, u"txtRuleMark(11)", mark(11), K::Text},
      {u"rule", u"chr_lt", C::OneCharacter, &S::ChrLt, u"txtRuleMark(6)", mark(6), K::Text},
      {u"rule", u"chr_gt", C::OneCharacter, &S::ChrGt, u"txtRuleMark(7)", mark(7), K::Text},
      {u"rule", u"chr_bra1", C::OneCharacter, &S::ChrBra1, u"txtRuleMark(12)", mark(12), K::Text},
      {u"rule", u"chr_bra2", C::OneCharacter, &S::ChrBra2, u"txtRuleMark(13)", mark(13), K::Text},
      {u"rule", u"chr_com", C::OneCharacter, &S::ChrCom, u"txtRuleMark(14)", mark(14), K::Text},
      {u"rule", u"chr_bar", C::OneCharacter, &S::ChrBar, u"txtRuleMark(15)", mark(15), K::Text},
      {u"rule", u"escapemode", C::Boolean, &S::EscapeMode, u"chkRuleEscape", &F::chkRuleEscape,
       K::Check},
      {u"rule", u"chr_cap", C::OneCharacter, &S::ChrCap, u"txtRuleMark(16)", mark(16), K::Text},
      {u"rule", u"revmode", C::Boolean, &S::RevMode, u"chkRuleReverse", &F::chkRuleReverse,
       K::Check},
      {u"rule", u"spacechr", C::Any, &S::SpaceChr, u"txtRuleSpace", &F::txtRuleSpace, K::Text},
      {u"rule", u"markchr1", C::Any, &S::MarkChr1, u"txtRuleMark1", &F::txtRuleMark1, K::Text},
      {u"rule", u"markchr2", C::Any, &S::MarkChr2, u"txtRuleMark2", &F::txtRuleMark2, K::Text},
      {u"rule", u"ptnchr1", C::Any, pattern(1), u"txtRulePat1", &F::txtRulePat1, K::Text},
      {u"rule", u"ptnchr2", C::Any, pattern(2), u"txtRulePat2", &F::txtRulePat2, K::Text},
      {u"rule", u"mchmode", C::OneOrTwo, &S::MchMode, u"chkRuleMatch", &F::chkRuleMatch,
       K::Match},
      {u"name", u"ngstr", C::PathAndDrive, &S::NgStr, u"txtNameBanStr", &F::txtNameBanStr,
       K::Text},
      {u"name", u"ngcngmode", C::Boolean, &S::NgCngMode, u"chkNameBan1", &F::chkNameBan1,
       K::Check},
      {u"name", u"ngplacemode", C::Boolean, &S::NgPlaceMode, u"chkNameBan2", &F::chkNameBan2,
       K::Check},
      {u"name", u"ngplacestr", C::Any, &S::NgPlaceStr, u"txtNameBanStr2", &F::txtNameBanStr2,
       K::Text},
      {u"name", u"ngdelmode", C::Boolean, &S::NgDelMode, u"chkNameBan3", &F::chkNameBan3,
       K::Check},
      {u"name", u"spacemode", C::ZeroToTwo, &S::SpaceMode, u"optNameSpace", &F::optNameSpace,
       K::OptionFrom0},
      {u"name", u"savemode", C::Boolean, &S::SaveMode, u"chkNameSpace", &F::chkNameSpace,
       K::Check},
      {u"process", u"extramode", C::OneToSix, &S::ExtraMode, u"optActFormat1", &F::optActFormat1,
       K::OptionFrom1},
      {u"process", u"extranum", C::StartNumber, &S::ExtraNum, u"txtActNum", &F::txtActNum,
       K::Number},
      {u"process", u"extramixmode", C::Boolean, &S::ExtraMixMode, u"chkActMix", &F::chkActMix,
       K::Check},
      {u"process", u"firstnummode", C::Boolean, &S::FirstNumMode, u"chkActFirst",
       &F::chkActFirst, K::Check},
      {u"process", u"bnamemode", C::Boolean, &S::BNameMode, u"chkActBase", &F::chkActBase,
       K::Check},
      {u"process", u"extramode2", C::OneToThree, &S::ExtraMode2, u"optActFormat2",
       &F::optActFormat2, K::OptionFrom1},
      {u"process", u"logmode", C::Boolean, &S::LogMode, u"chkActLog", &F::chkActLog,
       K::InvertedCheck},
      {u"process", u"reportmode", C::Boolean, &S::ReportMode, u"chkActReport", &F::chkActReport,
       K::InvertedCheck},
      {u"process", u"filedelmode", C::Boolean, &S::FileDelMode, u"chkActDel", &F::chkActDel,
       K::Check},
      {u"process", u"repopenapp", C::Any, &S::RepOpenApp, u"txtActAppname", &F::txtActAppname,
       K::Text},
  });
}();

// The number of keys is what the store holds: a key more or less changes
// every settings file written from then on.
inline constexpr std::size_t kSettingCount = kSettingKeys.size();
static_assert(kSettingCount == 44);

inline const std::array<SettingKey, kSettingCount>& SettingKeys() { return kSettingKeys; }

// The row of `key` (keys are unique across sections), kSettingCount for none.
constexpr std::size_t KeyIndex(std::u16string_view key) {
  std::size_t i = 0;
  while (i < kSettingCount && kSettingKeys[i].key != key) ++i;
  return i;
}

// Whether a row's check, value in effect and control agree: a text check
// over a text, Boolean over a bool shown by a check box, the small numbers
// over an Integer shown by a check box or an option group, the start number
// over a Long shown as text.
constexpr bool RowAgrees(const SettingKey& k) {
  using S = Settings;
  using F = SettingsForm;
  const bool text = std::holds_alternative<std::u16string S::*>(k.value) ||
                    std::holds_alternative<TextAt<S, 3>>(k.value);
  const bool flag = std::holds_alternative<bool S::*>(k.value);
  const bool integer = std::holds_alternative<int16_t S::*>(k.value);
  const bool number = std::holds_alternative<int32_t S::*>(k.value);
  const bool box = std::holds_alternative<std::u16string F::*>(k.field) ||
                   std::holds_alternative<TextAt<F, 17>>(k.field);
  const bool checkBox = std::holds_alternative<bool F::*>(k.field);
  const bool options = std::holds_alternative<int F::*>(k.field);
  switch (k.shown) {
    case FormClass::Text:
      return box && text &&
             (k.check == Check::Any || k.check == Check::OneCharacter ||
              k.check == Check::PathAndDrive);
    case FormClass::Check:
    case FormClass::InvertedCheck: return checkBox && flag && k.check == Check::Boolean;
    case FormClass::Match: return checkBox && integer && k.check == Check::OneOrTwo;
    case FormClass::OptionFrom0: return options && integer && k.check == Check::ZeroToTwo;
    case FormClass::OptionFrom1:
      return options && integer && (k.check == Check::OneToSix || k.check == Check::OneToThree);
    case FormClass::Number: return box && number && k.check == Check::StartNumber;
  }
  return false;
}

consteval bool EveryRowAgreesAndKeysAreUnique() {
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (!RowAgrees(kSettingKeys[i]) || KeyIndex(kSettingKeys[i].key) != i) return false;
  }
  return true;
}
static_assert(EveryRowAgreesAndKeysAreUnique());

// The rows of `keys`, which must name every key of the table once: anything
// else does not compile.
consteval std::array<std::size_t, kSettingCount> KeyOrder(
    const std::array<std::u16string_view, kSettingCount>& keys) {
  std::array<std::size_t, kSettingCount> rows{};
  std::array<bool, kSettingCount> seen{};
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    const std::size_t row = KeyIndex(keys[i]);
    if (row == kSettingCount || seen[row]) throw "not a key of the table, or named twice";
    seen[row] = true;
    rows[i] = row;
  }
  return rows;
}

// The field that `field` names in `owner`, as a pointer of its own type.
template <typename Ref, typename Owner, typename Field>
Ref FieldIn(Owner& owner, const Field& field) {
  return std::visit(
      [&owner](const auto& member) -> Ref {
        if constexpr (requires { member.array; })
          return &(owner.*member.array)[member.index];
        else
          return &(owner.*member);
      },
      field);
}

// Text of the value in effect of key i (table order), as it is written.
std::u16string SettingText(const Settings& s, std::size_t i);
// Puts an accepted text of key i into effect (converted as its check says).
void SetSettingText(Settings& s, std::size_t i, std::u16string_view text);
// The default text of key i.
std::u16string DefaultSettingText(std::size_t i);

// A check's verdict on a text.
bool PassesCheck(Check check, std::u16string_view text);
// The digit walk of the start number (Check::StartNumber and the dialog's
// check): ASCII digits only, leading zeros not counted, at most 9
// significant digits.
enum class DigitCheck { Ok, NonDigit, Empty, TooLong };
DigitCheck CheckStartNumberDigits(std::u16string_view text);

}  // namespace dovetam
