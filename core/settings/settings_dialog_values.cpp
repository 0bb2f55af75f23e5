// The settings dialog's values: each key's conversions between its stored
// text and its control's form field, the defaults and the checks.
// Showing a value in effect goes through its stored text, so the dialog shows
// exactly what a save followed by a load would show.
#include "core/settings/settings_dialog_values.h"
#include "core/common/decimal_text.h"

namespace dovetam {

namespace {

bool ReadsTrue(std::u16string_view text) { return text == u"True" || text == u"true"; }

constexpr std::u16string_view kSymbolPrefix = u"変更規則の";
constexpr std::u16string_view kSymbolEmpty = u"が指定されていません。";
constexpr std::u16string_view kSymbolLong = u"が1文字を越えています。";
constexpr std::u16string_view kBanStrMissing =
    u"生成名の禁則文字には、\nパス記号\"\\\"とドライブ記号\":\"を含める必要があります。";
constexpr std::u16string_view kNumNonDigit = u"変更処理の開始数に非数字が含まれています。";
constexpr std::u16string_view kNumEmpty = u"変更処理の開始数が指定されていません。";
constexpr std::u16string_view kNumTooLong = u"変更処理の開始数の桁数が多すぎます。";

// The start number's message; the empty text when it passes.
std::u16string_view CheckStartNumber(std::u16string_view text) {
  switch (CheckStartNumberDigits(text)) {
    case DigitCheck::NonDigit: return kNumNonDigit;
    case DigitCheck::Empty: return kNumEmpty;
    case DigitCheck::TooLong: return kNumTooLong;
    case DigitCheck::Ok: break;
  }
  return {};
}

}  // namespace

FormRef FormFieldOf(SettingsForm& form, std::size_t i) {
  return FieldIn<FormRef>(form, kSettingKeys[i].field);
}

const std::array<std::u16string_view, 17>& SymbolRoleNames() {
  static constexpr std::array<std::u16string_view, 17> names = {
      u"元の名前",
      u"選択記号(1)",
      u"選択記号(2)",
      u"操作記号(1)",
      u"操作記号(2)",
      u"記号内の区切り記号",
      u"コピー文字列の繰返し記号(1)",
      u"コピー文字列の繰返し記号(2)",
      u"選択・操作の範囲記号(1)",
      u"選択・操作の範囲記号(2)",
      u"特殊記号",
      u"桁の区切り記号",
      u"順序選択記号(1)",
      u"順序選択記号(2)",
      u"順序選択の区切り記号",
      u"検索文字列の区切り記号",
      u"エスケープ記号",
  };
  return names;
}

std::u16string FormKeyText(const SettingsForm& form, std::size_t i) {
  const FormRef f = FormFieldOf(const_cast<SettingsForm&>(form), i);
  switch (kSettingKeys[i].shown) {
    case FormClass::Text: return *std::get<std::u16string*>(f);
    case FormClass::Check: return *std::get<bool*>(f) ? u"True" : u"False";
    case FormClass::InvertedCheck: return *std::get<bool*>(f) ? u"False" : u"True";
    case FormClass::Match: return *std::get<bool*>(f) ? u"2" : u"1";
    case FormClass::OptionFrom0: {
      const int index = *std::get<int*>(f);
      return DecimalText(index < 0 ? 0 : index);
    }
    case FormClass::OptionFrom1: {
      const int index = *std::get<int*>(f);
      return DecimalText(index < 0 ? 1 : index + 1);
    }
    case FormClass::Number: return DecimalText(DecimalValue(*std::get<std::u16string*>(f)));
  }
  return {};
}

void SetFormKeyText(SettingsForm& form, std::size_t i, std::u16string_view text) {
  const FormRef f = FormFieldOf(form, i);
  switch (kSettingKeys[i].shown) {
    case FormClass::Text: *std::get<std::u16string*>(f) = std::u16string(text); break;
    case FormClass::Check: *std::get<bool*>(f) = ReadsTrue(text); break;
    case FormClass::InvertedCheck: *std::get<bool*>(f) = !ReadsTrue(text); break;
    case FormClass::Match: *std::get<bool*>(f) = DecimalValue(text) == 2; break;
    case FormClass::OptionFrom0: *std::get<int*>(f) = static_cast<int>(DecimalValue(text)); break;
    case FormClass::OptionFrom1:
      *std::get<int*>(f) = static_cast<int>(DecimalValue(text)) - 1;
      break;
    case FormClass::Number: *std::get<std::u16string*>(f) = DecimalText(DecimalValue(text)); break;
  }
}

SettingsForm FormFromSettings(const Settings& s) {
  SettingsForm form;
  for (std::size_t i : kFormOrder) SetFormKeyText(form, i, SettingText(s, i));
  return form;
}

SettingsForm DefaultForm() { return FormFromSettings(Settings{}); }

void FormToSettings(const SettingsForm& form, Settings& s) {
  for (std::size_t i : kFormOrder) SetSettingText(s, i, FormKeyText(form, i));
}

std::u16string CheckForm(const SettingsForm& form) {
  const auto& roles = SymbolRoleNames();
  for (std::size_t index = 0; index < form.txtRuleMark.size(); ++index) {
    const std::size_t length = form.txtRuleMark[index].size();
    if (length == 1) continue;
    std::u16string warning(kSymbolPrefix);
    warning += roles[index];
    warning += length == 0 ? kSymbolEmpty : kSymbolLong;
    return warning;
  }
  if (!PassesCheck(Check::PathAndDrive, form.txtNameBanStr)) return std::u16string(kBanStrMissing);
  return std::u16string(CheckStartNumber(form.txtActNum));
}

}  // namespace dovetam
