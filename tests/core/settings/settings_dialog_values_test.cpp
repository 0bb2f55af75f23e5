// The settings dialog's values without windows: the checks with their exact
// warnings, the defaults, the copies between form and settings, and the
// form's own load from and save to the store.
#include "core/settings/settings_dialog_values.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/settings/form_unlike_defaults.h"
#include "core/settings/settings.h"
#include "core/settings/settings_dialog_store.h"
#include "testing/fake_message_boxes.h"
#include "testing/memory_settings_store.h"

namespace dovetam {
namespace {

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// CheckForm: one named row per case; the empty text means the form passes.

struct CheckCase {
  const char* name;
  std::function<void(SettingsForm&)> edit;
  std::u16string warning;
};

const std::u16string kBanWarning =
    u"生成名の禁則文字には、\nパス記号\"\\\"とドライブ記号\":\"を含める必要があります。";

const CheckCase kCheckCases[] = {
    {"Defaults", [](SettingsForm&) {}, u""},
    {"EmptySelectionSymbol", [](SettingsForm& f) { f.txtRuleMark[1].clear(); },
     u"変更規則の選択記号(1)が指定されていません。"},
    {"TwoAsterisks", [](SettingsForm& f) { f.txtRuleMark[0] = u"**"; },
     u"変更規則の元の名前が1文字を越えています。"},
    {"EmptyEscapeSymbol", [](SettingsForm& f) { f.txtRuleMark[16].clear(); },
     u"変更規則のエスケープ記号が指定されていません。"},
    {"SymbolOfTwoUnitsIsTooLong", [](SettingsForm& f) { f.txtRuleMark[15] = u"\U0001F600"; },
     u"変更規則の検索文字列の区切り記号が1文字を越えています。"},
    {"EqualSymbolsPass", [](SettingsForm& f) { f.txtRuleMark.fill(u"#"); }, u""},
    {"FirstProblemOnly",
     [](SettingsForm& f) {
       f.txtRuleMark[3].clear();
       f.txtNameBanStr = u"\\";
       f.txtActNum = u"x";
     },
     u"変更規則の操作記号(1)が指定されていません。"},
    {"BanStrWithoutColon", [](SettingsForm& f) { f.txtNameBanStr = u"\\/*"; }, kBanWarning},
    {"BanStrWithoutBackslash", [](SettingsForm& f) { f.txtNameBanStr = u":/*"; }, kBanWarning},
    {"BanStrEmpty", [](SettingsForm& f) { f.txtNameBanStr.clear(); }, kBanWarning},
    {"BanStrColonAndBackslashOnly", [](SettingsForm& f) { f.txtNameBanStr = u"\\:"; }, u""},
    {"BanStrBeforeNumber",
     [](SettingsForm& f) {
       f.txtNameBanStr = u"x";
       f.txtActNum.clear();
     },
     kBanWarning},
    {"NumberLeadingZeros", [](SettingsForm& f) { f.txtActNum = u"0002"; }, u""},
    {"NumberLoneZero", [](SettingsForm& f) { f.txtActNum = u"0"; }, u""},
    {"NumberNineDigits", [](SettingsForm& f) { f.txtActNum = u"000999999999"; }, u""},
    {"NumberTenDigits", [](SettingsForm& f) { f.txtActNum = u"1234567890"; },
     u"変更処理の開始数の桁数が多すぎます。"},
    {"NumberTenDigitsWithZerosInside", [](SettingsForm& f) { f.txtActNum = u"1000000000"; },
     u"変更処理の開始数の桁数が多すぎます。"},
    {"NumberEmpty", [](SettingsForm& f) { f.txtActNum.clear(); },
     u"変更処理の開始数が指定されていません。"},
    {"NumberWithLetter", [](SettingsForm& f) { f.txtActNum = u"1a"; },
     u"変更処理の開始数に非数字が含まれています。"},
    {"NumberTooLongThenLetter", [](SettingsForm& f) { f.txtActNum = u"12345678901a"; },
     u"変更処理の開始数に非数字が含まれています。"},
    {"NumberSign", [](SettingsForm& f) { f.txtActNum = u"-1"; },
     u"変更処理の開始数に非数字が含まれています。"},
    {"NumberBlank", [](SettingsForm& f) { f.txtActNum = u"2 "; },
     u"変更処理の開始数に非数字が含まれています。"},
    {"NumberFullWidthDigit", [](SettingsForm& f) { f.txtActNum = u"\uFF12"; },
     u"変更処理の開始数に非数字が含まれています。"},
    {"OtherTextsMayBeAnything",
     [](SettingsForm& f) {
       f.txtGenFolder.clear();
       f.txtGenName.clear();
       f.txtRuleSpace.clear();
       f.txtNameBanStr2.clear();
       f.txtActAppname.clear();
     },
     u""},
};

class CheckFormTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckFormTest, GivesTheFirstWarning) {
  SettingsForm form = DefaultForm();
  GetParam().edit(form);
  EXPECT_EQ(Utf8(CheckForm(form)), Utf8(GetParam().warning));
}

INSTANTIATE_TEST_SUITE_P(Rows, CheckFormTest, ::testing::ValuesIn(kCheckCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckForm, EverySymbolBoxHasItsRoleNameInBothWarnings) {
  const std::u16string roles[17] = {u"元の名前",
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
                                    u"エスケープ記号"};
  for (int i = 0; i < 17; ++i) {
    SCOPED_TRACE(i);
    SettingsForm form = DefaultForm();
    form.txtRuleMark[i].clear();
    EXPECT_EQ(Utf8(CheckForm(form)), Utf8(u"変更規則の" + roles[i] + u"が指定されていません。"));
    form.txtRuleMark[i] = u"ab";
    EXPECT_EQ(Utf8(CheckForm(form)), Utf8(u"変更規則の" + roles[i] + u"が1文字を越えています。"));
  }
}

// ---------------------------------------------------------------------------
// Defaults and copies.

TEST(SettingsFormDefaults, ShowTheBuiltInDefaults) {
  const SettingsForm f = DefaultForm();
  EXPECT_EQ(Utf8(f.txtGenFolder), "/");
  EXPECT_EQ(Utf8(f.txtGenName), "abc123_xyz0056(1).txt");
  const std::u16string symbols[17] = {u"*",  u"?",  u"?", u"/", u"/", u":", u"<", u">", u"\"",
                                      u"\"", u"\\", u"%", u"{", u"}", u",", u"|", u"^"};
  for (int i = 0; i < 17; ++i) EXPECT_EQ(Utf8(f.txtRuleMark[i]), Utf8(symbols[i])) << i;
  EXPECT_EQ(f.txtRuleSpace, u" \u3000");
  EXPECT_EQ(f.txtRuleMark1.size(), 33u);
  EXPECT_EQ(f.txtRuleMark2.size(), 33u);
  EXPECT_EQ(f.txtRuleMark2[24], u'\uFFE5');
  EXPECT_EQ(Utf8(f.txtRulePat1), "");
  EXPECT_EQ(Utf8(f.txtRulePat2), "");
  EXPECT_EQ(Utf8(f.txtNameBanStr), ":\\/*?\"<>|");
  EXPECT_EQ(Utf8(f.txtNameBanStr2), "(err)");
  EXPECT_EQ(Utf8(f.txtActNum), "2");
  EXPECT_EQ(Utf8(f.txtActAppname), "xdg-open");
  // Every box unchecked except "各部分の空文字列をエラーとする".
  SettingsForm unchecked = f;
  EXPECT_TRUE(unchecked.chkNameSpace);
  unchecked.chkNameSpace = false;
  for (bool b : {unchecked.chkRuleEscape, unchecked.chkRuleReverse, unchecked.chkRuleMatch,
                 unchecked.chkNameBan1, unchecked.chkNameBan2, unchecked.chkNameBan3,
                 unchecked.chkActMix, unchecked.chkActFirst, unchecked.chkActBase,
                 unchecked.chkActLog, unchecked.chkActReport, unchecked.chkActDel})
    EXPECT_FALSE(b);
  EXPECT_EQ(f.optNameSpace, 2);
  EXPECT_EQ(f.optActFormat1, 0);
  EXPECT_EQ(f.optActFormat2, 0);
}

TEST(SettingsFormCopies, DefaultsGoBackAsExactlyTheDefaults) {
  Settings s;
  s.DefPath = u"/elsewhere/";
  s.LogMode = false;
  s.ExtraNum = 77;
  s.MchMode = 2;
  FormToSettings(DefaultForm(), s);
  const Settings defaults;
  for (std::size_t i = 0; i < kSettingCount; ++i)
    EXPECT_EQ(Utf8(SettingText(s, i)), Utf8(SettingText(defaults, i))) << i;
}

TEST(SettingsFormCopies, ShowAndTakeBackEveryConversion) {
  Settings s;
  s.ChrQ1 = u"[";
  s.ChrCap = u"!";
  s.EscapeMode = true;
  s.MchMode = 2;
  s.SpaceMode = 0;
  s.ExtraMode = 6;
  s.ExtraMode2 = 3;
  s.ExtraNum = 0;
  s.LogMode = false;
  s.ReportMode = true;
  s.PtnChr[2] = u"xyz";
  const SettingsForm f = FormFromSettings(s);
  EXPECT_EQ(Utf8(f.txtRuleMark[1]), "[");
  EXPECT_EQ(Utf8(f.txtRuleMark[16]), "!");
  EXPECT_TRUE(f.chkRuleEscape);
  EXPECT_TRUE(f.chkRuleMatch);
  EXPECT_EQ(f.optNameSpace, 0);
  EXPECT_EQ(f.optActFormat1, 5);
  EXPECT_EQ(f.optActFormat2, 2);
  EXPECT_EQ(Utf8(f.txtActNum), "0");
  EXPECT_TRUE(f.chkActLog);      // "ログを保存しない" checked: no log
  EXPECT_FALSE(f.chkActReport);  // the report is written
  EXPECT_EQ(Utf8(f.txtRulePat2), "xyz");

  Settings back;
  FormToSettings(f, back);
  for (std::size_t i = 0; i < kSettingCount; ++i)
    EXPECT_EQ(Utf8(SettingText(back, i)), Utf8(SettingText(s, i))) << i;
}

TEST(SettingsFormCopies, StartNumberAndOptionFallbacks) {
  SettingsForm f = DefaultForm();
  Settings s;
  f.txtActNum = u"0002";
  FormToSettings(f, s);
  EXPECT_EQ(s.ExtraNum, 2);
  f.txtActNum = u"0";
  FormToSettings(f, s);
  EXPECT_EQ(s.ExtraNum, 0);
  f.txtActNum = u"999999999";
  FormToSettings(f, s);
  EXPECT_EQ(s.ExtraNum, 999999999);
  // An option group with no selected button takes its fallback.
  s.SpaceMode = 2;
  s.ExtraMode = 4;
  s.ExtraMode2 = 3;
  f.optNameSpace = f.optActFormat1 = f.optActFormat2 = -1;
  FormToSettings(f, s);
  EXPECT_EQ(s.SpaceMode, 0);
  EXPECT_EQ(s.ExtraMode, 1);
  EXPECT_EQ(s.ExtraMode2, 1);
  // chkRuleMatch unchecked is 1, checked is 2.
  f.chkRuleMatch = false;
  FormToSettings(f, s);
  EXPECT_EQ(s.MchMode, 1);
  f.chkRuleMatch = true;
  FormToSettings(f, s);
  EXPECT_EQ(s.MchMode, 2);
}

// ---------------------------------------------------------------------------
// The form's own load and save.

class FormStoreTest : public ::testing::Test {
 protected:
  testing::MemorySettingsStore store;
  testing::FakeMessageBoxes boxes;
  SettingsModule settings{store, boxes};
};

TEST_F(FormStoreTest, KeysAreVisitedInSymbolBoxOrder) {
  SettingsForm f;
  EXPECT_EQ(LoadFormFromStore(settings, f), 0);
  const char* expected[] = {
      "defpath",      "samplename",   "chr_aster", "chr_q1",     "chr_q2",    "chr_s1",
      "chr_s2",       "chr_col",      "chr_lt",    "chr_gt",     "chr_dq1",   "chr_dq2",
      "chr_yen",      "chr_per",      "chr_bra1",  "chr_bra2",   "chr_com",   "chr_bar",
      "escapemode",   "chr_cap",      "revmode",   "spacechr",   "markchr1",  "markchr2",
      "ptnchr1",      "ptnchr2",      "mchmode",   "ngstr",      "ngcngmode", "ngplacemode",
      "ngplacestr",   "ngdelmode",    "spacemode", "savemode",   "extramode", "extranum",
      "extramixmode", "firstnummode", "bnamemode", "extramode2", "logmode",   "reportmode",
      "filedelmode",  "repopenapp"};
  ASSERT_EQ(store.readLog.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i)
    EXPECT_EQ(Utf8(store.readLog[i].second), expected[i]) << i;
  EXPECT_EQ(SaveFormToStore(settings, DefaultForm()), 0);
  EXPECT_EQ(store.writeLog, store.readLog);
}

TEST_F(FormStoreTest, EmptyStoreLoadsTheDefaults) {
  SettingsForm f = FormFromSettings(Settings{});
  f.txtGenFolder = u"/tmp/";
  f.chkActDel = true;
  f.optActFormat1 = 3;
  EXPECT_EQ(LoadFormFromStore(settings, f), 0);
  EXPECT_EQ(f, DefaultForm());
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(FormStoreTest, BadKeysAreCountedAndKeepTheirFields) {
  store.Set(u"rule", u"chr_q1", u"??");
  store.Set(u"process", u"logmode", u"FALSE");
  store.Set(u"rule", u"chr_q2", u"!");
  store.FailRead(u"general", u"samplename");
  SettingsForm f = DefaultForm();
  f.txtRuleMark[1] = u"kept";
  f.chkActLog = true;
  f.txtGenName = u"mine";
  EXPECT_EQ(LoadFormFromStore(settings, f), 3);
  EXPECT_EQ(Utf8(f.txtRuleMark[1]), "kept");
  EXPECT_TRUE(f.chkActLog);
  EXPECT_EQ(Utf8(f.txtGenName), "mine");
  EXPECT_EQ(Utf8(f.txtRuleMark[2]), "!");
  EXPECT_EQ(boxes.Count(), 0u);  // the dialog shows the one message
}

TEST_F(FormStoreTest, LoadConversions) {
  store.Set(u"process", u"logmode", u"false");
  store.Set(u"process", u"reportmode", u"true");
  store.Set(u"process", u"extranum", u"0002");
  store.Set(u"rule", u"mchmode", u"2");
  store.Set(u"name", u"spacemode", u"1");
  store.Set(u"process", u"extramode", u"6");
  store.Set(u"process", u"extramode2", u"2");
  store.Set(u"rule", u"revmode", u"true");
  SettingsForm f = DefaultForm();
  f.chkActReport = true;
  EXPECT_EQ(LoadFormFromStore(settings, f), 0);
  EXPECT_TRUE(f.chkActLog);
  EXPECT_FALSE(f.chkActReport);
  EXPECT_EQ(Utf8(f.txtActNum), "2");
  EXPECT_TRUE(f.chkRuleMatch);
  EXPECT_EQ(f.optNameSpace, 1);
  EXPECT_EQ(f.optActFormat1, 5);
  EXPECT_EQ(f.optActFormat2, 1);
  EXPECT_TRUE(f.chkRuleReverse);
  store.Set(u"process", u"extranum", u"000");
  EXPECT_EQ(LoadFormFromStore(settings, f), 0);
  EXPECT_EQ(Utf8(f.txtActNum), "0");
}

TEST_F(FormStoreTest, SaveWritesTheFormAndLoadGivesItBack) {
  SettingsForm f = DefaultForm();
  f.chkActLog = true;
  f.txtActNum = u"007";
  f.chkRuleMatch = true;
  f.optActFormat2 = 2;
  f.txtRulePat1 = u" keep blanks ";
  EXPECT_EQ(SaveFormToStore(settings, f), 0);
  EXPECT_EQ(Utf8(store.Get(u"process", u"logmode")), "False");
  EXPECT_EQ(Utf8(store.Get(u"process", u"reportmode")), "True");
  EXPECT_EQ(Utf8(store.Get(u"process", u"extranum")), "7");
  EXPECT_EQ(Utf8(store.Get(u"rule", u"mchmode")), "2");
  EXPECT_EQ(Utf8(store.Get(u"process", u"extramode2")), "3");
  EXPECT_EQ(Utf8(store.Get(u"rule", u"ptnchr1")), " keep blanks ");
  EXPECT_EQ(Utf8(store.Get(u"name", u"savemode")), "True");

  SettingsForm loaded = DefaultForm();
  EXPECT_EQ(LoadFormFromStore(settings, loaded), 0);
  f.txtActNum = u"7";  // leading zeros are not kept
  EXPECT_EQ(loaded, f);
}

// Every field unlike its default: what a save writes, a load gives back
// whole, key for key, so a key that either of them leaves out shows.
TEST_F(FormStoreTest, AFormUnlikeTheDefaultsInEveryFieldComesBackWhole) {
  const SettingsForm f = testing::FormUnlikeDefaults();
  ASSERT_EQ(SaveFormToStore(settings, f), 0);
  SettingsForm loaded = DefaultForm();
  EXPECT_EQ(LoadFormFromStore(settings, loaded), 0);
  for (std::size_t i = 0; i < kSettingCount; ++i)
    EXPECT_EQ(Utf8(FormKeyText(loaded, i)), Utf8(FormKeyText(f, i)))
        << Utf8(std::u16string(SettingKeys()[i].key));
  EXPECT_EQ(loaded, f);
}

TEST_F(FormStoreTest, FailedWritesAreCountedAndTheOthersStayWritten) {
  store.FailWrite(u"rule", u"chr_q1");
  store.FailWrite(u"process", u"repopenapp");
  EXPECT_EQ(SaveFormToStore(settings, DefaultForm()), 2);
  EXPECT_EQ(store.writeLog.size(), kSettingCount);
  EXPECT_FALSE(store.Has(u"rule", u"chr_q1"));
  EXPECT_EQ(Utf8(store.Get(u"rule", u"chr_q2")), "?");
  EXPECT_EQ(Utf8(store.Get(u"process", u"filedelmode")), "False");
  store.failAllWrites = true;
  EXPECT_EQ(SaveFormToStore(settings, DefaultForm()), static_cast<int>(kSettingCount));
}

TEST_F(FormStoreTest, LoadAndSaveAreOneBatchEachAndAFailedSaveWritesNothing) {
  SettingsForm f = DefaultForm();
  EXPECT_EQ(LoadFormFromStore(settings, f), 0);
  store.failCommits = true;
  EXPECT_EQ(SaveFormToStore(settings, DefaultForm()), static_cast<int>(kSettingCount));
  EXPECT_TRUE(store.values.empty());
  ASSERT_EQ(store.batches.size(), 2u);
  EXPECT_EQ(store.batches[0].reads, kSettingCount);
  EXPECT_FALSE(store.batches[0].committed);
  EXPECT_EQ(store.batches[1].writes, kSettingCount);
  EXPECT_TRUE(store.batches[1].committed);
  EXPECT_EQ(store.callsOutsideBatches, 0u);
}

}  // namespace
}  // namespace dovetam
