// The settings module: defaults, checked loading with one message, saving
// with one message, silent view settings, and exact round trips.
#include "core/settings/settings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "core/settings/settings_dialog_store.h"
#include "testing/counting_file_calls.h"
#include "testing/fake_message_boxes.h"
#include "testing/memory_settings_store.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::FakeMessageBoxes;
using testing::MemorySettingsStore;

constexpr std::u16string_view kLoadFailed = u"いくつかの設定を読み込むことができませんでした。";
constexpr std::u16string_view kSaveFailed = u"いくつかの設定を保存できませんでした。";

std::string Narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

std::size_t IndexOf(std::u16string_view key) {
  const std::size_t i = KeyIndex(key);
  if (i < kSettingCount) return i;
  ADD_FAILURE() << "no key " << Narrow(key);
  return 0;
}

void ExpectOneMessage(const FakeMessageBoxes& boxes, std::u16string_view text) {
  ASSERT_EQ(1u, boxes.Count());
  EXPECT_EQ(text, boxes.Last().text);
  EXPECT_EQ(MsgIcon::Critical, boxes.Last().icon);
  EXPECT_EQ(MsgButtons::Ok, boxes.Last().buttons);
}

class SettingsTest : public ::testing::Test {
 protected:
  MemorySettingsStore store;
  FakeMessageBoxes boxes;
  SettingsModule module{store, boxes};

  void Load() {
    module.SetDefaultSettings();
    module.LoadSettings();
  }
  // The texts of all values in effect, in store order.
  std::vector<std::u16string> Texts() const {
    std::vector<std::u16string> t;
    for (std::size_t i = 0; i < kSettingCount; ++i) t.push_back(SettingText(module.settings, i));
    return t;
  }
  static std::vector<std::u16string> DefaultTexts() {
    std::vector<std::u16string> t;
    for (std::size_t i = 0; i < kSettingCount; ++i) t.push_back(DefaultSettingText(i));
    return t;
  }
  void ExpectOneMessage(std::u16string_view text) { dovetam::ExpectOneMessage(boxes, text); }
};

// What is stored, key by key in store order, written out here on its own:
// the table may change its shape, never the store.
TEST(SettingKeysTest, TheStoredKeysInStoreOrderWithTheirChecks) {
  struct Row {
    std::u16string_view section, key;
    int kind;
  };
  const Row rows[] = {
      {u"general", u"defpath", 0},      {u"general", u"samplename", 0},
      {u"rule", u"chr_aster", 11},      {u"rule", u"chr_q1", 11},
      {u"rule", u"chr_q2", 11},         {u"rule", u"chr_s1", 11},
      {u"rule", u"chr_s2", 11},         {u"rule", u"chr_dq1", 11},
      {u"rule", u"chr_dq2", 11},        {u"rule", u"chr_col", 11},
      {u"rule", u"chr_yen", 11},        {u"rule", u"chr_per", 11},
      {u"rule", u"chr_lt", 11},         {u"rule", u"chr_gt", 11},
      {u"rule", u"chr_bra1", 11},       {u"rule", u"chr_bra2", 11},
      {u"rule", u"chr_com", 11},        {u"rule", u"chr_bar", 11},
      {u"rule", u"escapemode", 1},      {u"rule", u"chr_cap", 11},
      {u"rule", u"revmode", 1},         {u"rule", u"spacechr", 0},
      {u"rule", u"markchr1", 0},        {u"rule", u"markchr2", 0},
      {u"rule", u"ptnchr1", 0},         {u"rule", u"ptnchr2", 0},
      {u"rule", u"mchmode", 12},        {u"name", u"ngstr", 13},
      {u"name", u"ngcngmode", 1},       {u"name", u"ngplacemode", 1},
      {u"name", u"ngplacestr", 0},      {u"name", u"ngdelmode", 1},
      {u"name", u"spacemode", 14},      {u"name", u"savemode", 1},
      {u"process", u"extramode", 15},   {u"process", u"extranum", 16},
      {u"process", u"extramixmode", 1}, {u"process", u"firstnummode", 1},
      {u"process", u"bnamemode", 1},    {u"process", u"extramode2", 17},
      {u"process", u"logmode", 1},      {u"process", u"reportmode", 1},
      {u"process", u"filedelmode", 1},  {u"process", u"repopenapp", 0},
  };
  ASSERT_EQ(std::size(rows), SettingKeys().size());
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(Narrow(rows[i].key));
    EXPECT_EQ(rows[i].section, SettingKeys()[i].section);
    EXPECT_EQ(rows[i].key, SettingKeys()[i].key);
    EXPECT_EQ(rows[i].kind, static_cast<int>(SettingKeys()[i].check));
    EXPECT_EQ(i, KeyIndex(rows[i].key));
  }
  // A key of no row, a display key among them, is found nowhere.
  EXPECT_EQ(kSettingCount, KeyIndex(u"udate"));
  EXPECT_EQ(kSettingCount, KeyIndex(u""));
}

TEST(SettingTextTest, DefaultTextsAsWritten) {
  struct Row {
    std::u16string_view key;
    std::u16string text;
  };
  const Row rows[] = {
      {u"defpath", u"/"},
      {u"samplename", u"abc123_xyz0056(1).txt"},
      {u"chr_dq1", u"\""},
      {u"chr_yen", u"\\"},
      {u"escapemode", u"False"},
      {u"spacechr", u" \u3000"},
      {u"ptnchr1", u""},
      {u"mchmode", u"1"},
      {u"ngstr", u":\\/*?\"<>|"},
      {u"spacemode", u"2"},
      {u"savemode", u"True"},
      {u"extranum", u"2"},
      {u"logmode", u"True"},
      {u"repopenapp", u"xdg-open"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(Narrow(r.key));
    EXPECT_EQ(r.text, DefaultSettingText(IndexOf(r.key)));
  }
  const std::u16string mark1 = DefaultSettingText(IndexOf(u"markchr1"));
  const std::u16string mark2 = DefaultSettingText(IndexOf(u"markchr2"));
  ASSERT_EQ(33u, mark1.size());
  ASSERT_EQ(33u, mark2.size());
  EXPECT_EQ(u'\\', mark1[24]);
  EXPECT_EQ(u'\uFFE5', mark2[24]);
  EXPECT_EQ(u'\u3000', mark2[0]);
}

TEST_F(SettingsTest, EmptyStoreGivesDefaultsWithoutMessage) {
  module.settings.ChrQ1 = u"x";
  module.view.ViewMix = true;
  Load();
  module.LoadViewSettings();
  EXPECT_EQ(DefaultTexts(), Texts());
  EXPECT_EQ(0u, boxes.Count());
  EXPECT_TRUE(module.view.ViewModified);
  EXPECT_FALSE(module.view.ViewCreated);
  EXPECT_TRUE(module.view.ViewHeader);
  EXPECT_FALSE(module.view.ViewMix);
  EXPECT_EQ(kSettingCount + 4, store.readLog.size());
  EXPECT_TRUE(store.values.empty());  // reading writes nothing

  module.SaveViewSettings();  // the exit without changed settings
  EXPECT_EQ(4u, store.values.size());
  EXPECT_EQ(u"True", store.Get(u"display", u"udate"));
  EXPECT_EQ(u"False", store.Get(u"display", u"cdate"));
  EXPECT_EQ(u"True", store.Get(u"display", u"header"));
  EXPECT_EQ(u"False", store.Get(u"display", u"mix"));
}

struct StoredCase {
  const char* name;
  std::u16string_view key;
  std::u16string stored;
  bool accepted;
  std::u16string effect;  // text in effect afterwards when accepted
};

void PrintTo(const StoredCase& c, std::ostream* os) { *os << c.name; }

class LoadValueTest : public SettingsTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(LoadValueTest, BadTextKeepsTheDefaultOfExactlyThatKey) {
  const StoredCase& c = GetParam();
  const std::size_t i = IndexOf(c.key);
  store.Set(SettingKeys()[i].section, c.key, c.stored);
  Load();
  std::vector<std::u16string> expected = DefaultTexts();
  if (c.accepted) {
    expected[i] = c.effect;
    EXPECT_EQ(0u, boxes.Count());
  } else {
    ExpectOneMessage(kLoadFailed);
  }
  EXPECT_EQ(expected, Texts());
  EXPECT_EQ(c.stored, store.Get(SettingKeys()[i].section, c.key));  // the store is not touched
}

INSTANTIATE_TEST_SUITE_P(
    Values, LoadValueTest,
    ::testing::Values(
        StoredCase{"SymbolTwoChars", u"chr_q1", u"??", false, u""},
        StoredCase{"SymbolEmpty", u"chr_q1", u"", false, u""},
        StoredCase{"SymbolOther", u"chr_q1", u"#", true, u"#"},
        StoredCase{"SymbolFullWidth", u"chr_aster", u"\uFF0A", true, u"\uFF0A"},
        StoredCase{"SymbolSurrogatePair", u"chr_bar", u"\U0001F600", false, u""},
        StoredCase{"BoolCapitals", u"escapemode", u"TRUE", false, u""},
        StoredCase{"BoolDigit", u"savemode", u"1", false, u""},
        StoredCase{"BoolLeadingBlank", u"logmode", u" true", false, u""},
        StoredCase{"BoolLowerTrue", u"escapemode", u"true", true, u"True"},
        StoredCase{"BoolLowerFalse", u"savemode", u"false", true, u"False"},
        StoredCase{"BoolTrue", u"filedelmode", u"True", true, u"True"},
        StoredCase{"MchMode0", u"mchmode", u"0", false, u""},
        StoredCase{"MchMode2", u"mchmode", u"2", true, u"2"},
        StoredCase{"MchModeLeadingZero", u"mchmode", u"02", false, u""},
        StoredCase{"NgStrColonBackslash", u"ngstr", u":\\", true, u":\\"},
        StoredCase{"NgStrBackslashColon", u"ngstr", u"\\:", true, u"\\:"},
        StoredCase{"NgStrNoBackslash", u"ngstr", u":/*", false, u""},
        StoredCase{"NgStrNoColon", u"ngstr", u"\\/*", false, u""},
        StoredCase{"NgStrFullWidthColon", u"ngstr", u"\\\uFF1A", false, u""},
        StoredCase{"SpaceMode0", u"spacemode", u"0", true, u"0"},
        StoredCase{"SpaceMode3", u"spacemode", u"3", false, u""},
        StoredCase{"ExtraMode0", u"extramode", u"0", false, u""},
        StoredCase{"ExtraMode6", u"extramode", u"6", true, u"6"},
        StoredCase{"ExtraMode7", u"extramode", u"7", false, u""},
        StoredCase{"ExtraMode2Is3", u"extramode2", u"3", true, u"3"},
        StoredCase{"ExtraMode2Is4", u"extramode2", u"4", false, u""},
        StoredCase{"ExtraNumLeadingZeros", u"extranum", u"0002", true, u"2"},
        StoredCase{"ExtraNumTwelveZeros", u"extranum", u"000000000000", true, u"0"},
        StoredCase{"ExtraNumNineNines", u"extranum", u"999999999", true, u"999999999"},
        StoredCase{"ExtraNumTenDigits", u"extranum", u"1000000000", false, u""},
        StoredCase{"ExtraNumSign", u"extranum", u"+2", false, u""},
        StoredCase{"ExtraNumEmpty", u"extranum", u"", false, u""},
        StoredCase{"MarkChrShorter", u"markchr1", u"!?", true, u"!?"},
        StoredCase{"DefPathAnything", u"defpath", u"  C:\\x ", true, u"  C:\\x "},
        StoredCase{"RepOpenAppEmpty", u"repopenapp", u"", true, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, SeveralBadKeysGiveOneMessage) {
  store.Set(u"rule", u"chr_q1", u"??");
  store.Set(u"rule", u"revmode", u"yes");
  store.Set(u"process", u"extranum", u"-1");
  store.Set(u"process", u"logmode", u"false");  // a good one among them
  Load();
  ExpectOneMessage(kLoadFailed);
  std::vector<std::u16string> expected = DefaultTexts();
  expected[IndexOf(u"logmode")] = u"False";
  EXPECT_EQ(expected, Texts());
}

TEST_F(SettingsTest, ReadFailuresKeepTheValueInEffectAndGiveOneMessage) {
  store.Set(u"general", u"samplename", u"stored.txt");
  store.Set(u"rule", u"chr_q1", u"!");
  store.FailRead(u"rule", u"chr_q1");
  store.FailRead(u"name", u"ngstr");
  Load();
  ExpectOneMessage(kLoadFailed);
  EXPECT_EQ(u"?", module.settings.ChrQ1);
  EXPECT_EQ(u"stored.txt", module.settings.SampleName);
  EXPECT_EQ(kSettingCount, store.readLog.size());  // every key was still read

  boxes.Clear();
  store.failAllReads = true;
  Load();
  ExpectOneMessage(kLoadFailed);
  EXPECT_EQ(DefaultTexts(), Texts());
}

TEST_F(SettingsTest, ReadValidSettingPassesTheDefaultAndChecksIt) {
  std::u16string value;
  EXPECT_TRUE(module.ReadValidSetting(u"rule", u"chr_q1", Check::OneCharacter, u"?", value));
  EXPECT_EQ(u"?", value);
  EXPECT_FALSE(module.ReadValidSetting(u"rule", u"chr_q1", Check::OneCharacter, u"??", value));
  store.Set(u"process", u"extranum", u"0010");
  EXPECT_TRUE(module.ReadValidSetting(u"process", u"extranum", Check::StartNumber, u"2", value));
  EXPECT_EQ(u"0010", value);
  EXPECT_FALSE(module.ReadValidSetting(u"process", u"extranum", Check::OneToSix, u"2", value));
  // Under another application key the stored text is not seen.
  module.SettingsAppName = u"Other\\App";
  EXPECT_TRUE(module.ReadValidSetting(u"process", u"extranum", Check::StartNumber, u"2", value));
  EXPECT_EQ(u"2", value);
  EXPECT_EQ(0u, boxes.Count());
}

TEST(PassesCheckTest, EveryKind) {
  using C = Check;
  struct Row {
    Check check;
    std::u16string text;
    bool pass;
  };
  // A number that is no kind of check accepts nothing.
  const auto unknown = [](int n) { return static_cast<Check>(n); };
  const Row rows[] = {
      {C::Any, u"", true},
      {C::Any, u" any text ", true},
      {C::Boolean, u"True", true},
      {C::Boolean, u"false", true},
      {C::Boolean, u"TRUE", false},
      {C::Boolean, u"True ", false},
      {C::Boolean, u"-1", false},
      {C::Boolean, u"", false},
      {C::OneCharacter, u"a", true},
      {C::OneCharacter, u"", false},
      {C::OneCharacter, u"ab", false},
      {C::OneCharacter, u"\xD83D", true},
      {C::OneOrTwo, u"1", true},
      {C::OneOrTwo, u"2", true},
      {C::OneOrTwo, u"3", false},
      {C::OneOrTwo, u" 1", false},
      {C::PathAndDrive, u":\\", true},
      {C::PathAndDrive, u"a\\b:c", true},
      {C::PathAndDrive, u"\\", false},
      {C::PathAndDrive, u":", false},
      {C::ZeroToTwo, u"0", true},
      {C::ZeroToTwo, u"2", true},
      {C::ZeroToTwo, u"00", false},
      {C::ZeroToTwo, u"-0", false},
      {C::OneToSix, u"1", true},
      {C::OneToSix, u"6", true},
      {C::OneToSix, u"0", false},
      {C::OneToSix, u"\uFF11", false},
      {C::StartNumber, u"0", true},
      {C::StartNumber, u"", false},
      {C::OneToThree, u"1", true},
      {C::OneToThree, u"3", true},
      {C::OneToThree, u"4", false},
      {C::OneToThree, u"", false},
      {unknown(2), u"1", false},
      {unknown(10), u"", false},
      {unknown(18), u"1", false},
      {unknown(-1), u"", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << "kind " << static_cast<int>(r.check) << " text '"
                                      << Narrow(r.text) << "'");
    EXPECT_EQ(r.pass, PassesCheck(r.check, r.text));
  }
}

TEST(PassesCheckTest, DigitCheckOfTheStartNumber) {
  struct Row {
    const char* name;
    std::u16string text;
    bool pass;
    std::u16string effect;
  };
  const Row rows[] = {
      {"Zero", u"0", true, u"0"},
      {"Zeros", u"000", true, u"0"},
      {"LeadingZeros", u"0002", true, u"2"},
      {"InnerZeros", u"1000", true, u"1000"},
      {"NineSignificant", u"000123456789", true, u"123456789"},
      {"NineNines", u"999999999", true, u"999999999"},
      {"TenSignificant", u"1234567890", false, u""},
      {"TenSignificantAfterZeros", u"01234567890", false, u""},
      {"Empty", u"", false, u""},
      {"Plus", u"+1", false, u""},
      {"Minus", u"-1", false, u""},
      {"LeadingBlank", u" 1", false, u""},
      {"TrailingBlank", u"1 ", false, u""},
      {"Letter", u"1a", false, u""},
      {"FullWidthDigit", u"\uFF12", false, u""},
      {"Decimal", u"1.5", false, u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.pass, PassesCheck(Check::StartNumber, r.text));
    if (r.pass) {
      Settings s;
      SetSettingText(s, IndexOf(u"extranum"), r.text);
      EXPECT_EQ(r.effect, SettingText(s, IndexOf(u"extranum")));
    }
  }
}

TEST_F(SettingsTest, ViewSettingsAreReadSilently) {
  store.Set(u"display", u"udate", u"false");
  store.Set(u"display", u"cdate", u"YES");   // bad: default kept, no message
  store.Set(u"display", u"header", u"False");
  store.Set(u"display", u"mix", u"true");
  store.FailRead(u"display", u"header");     // failed: default kept, no message
  module.view = {false, true, false, true};
  module.LoadViewSettings();
  EXPECT_FALSE(module.view.ViewModified);
  EXPECT_FALSE(module.view.ViewCreated);
  EXPECT_TRUE(module.view.ViewHeader);
  EXPECT_TRUE(module.view.ViewMix);
  EXPECT_EQ(0u, boxes.Count());
  EXPECT_EQ((std::vector<MemorySettingsStore::SectionKey>{{u"display", u"udate"},
                                                          {u"display", u"cdate"},
                                                          {u"display", u"header"},
                                                          {u"display", u"mix"}}),
            store.readLog);
}

TEST_F(SettingsTest, ViewSettingsAreWrittenSilently) {
  module.view = {false, true, false, true};
  store.FailWrite(u"display", u"cdate");
  store.Set(u"display", u"cdate", u"old");
  module.SaveViewSettings();
  EXPECT_EQ(0u, boxes.Count());
  EXPECT_EQ(u"False", store.Get(u"display", u"udate"));
  EXPECT_EQ(u"old", store.Get(u"display", u"cdate"));
  EXPECT_EQ(u"False", store.Get(u"display", u"header"));
  EXPECT_EQ(u"True", store.Get(u"display", u"mix"));
  store.failAllWrites = true;
  module.SaveViewSettings();
  EXPECT_EQ(0u, boxes.Count());
}

// Values that differ from every default, all of them acceptable.
Settings ChangedSettings() {
  Settings s;
  s.DefPath = u"/home/user/写真/";
  s.SampleName = u" lead and trail ";
  s.ChrAster = u"@";
  s.ChrQ1 = u"\\";
  s.ChrS2 = u"=";
  s.ChrCol = u";";
  s.ChrCom = u"[";
  s.ChrCap = u"\uFF3E";
  s.EscapeMode = true;
  s.RevMode = true;
  s.SpaceChr = u"";
  s.MarkChr1 = u"\\n=;[],";
  s.PtnChr[1] = u"abc";
  s.PtnChr[2] = u"line\nbreak\r";
  s.MchMode = 2;
  s.NgStr = u"\\:";
  s.NgCngMode = true;
  s.NgPlaceStr = u"";
  s.SpaceMode = 0;
  s.SaveMode = false;
  s.ExtraMode = 6;
  s.ExtraNum = 999999999;
  s.ExtraMode2 = 3;
  s.LogMode = false;
  s.ReportMode = false;
  s.FileDelMode = true;
  s.RepOpenApp = u"/usr/bin/mousepad";
  return s;
}

TEST_F(SettingsTest, SaveAndLoadRoundTripExactly) {
  module.settings = ChangedSettings();
  module.SaveSettings();
  EXPECT_EQ(0u, boxes.Count());
  EXPECT_EQ(kSettingCount, store.values.size());
  EXPECT_EQ(u"999999999", store.Get(u"process", u"extranum"));
  EXPECT_EQ(u"True", store.Get(u"rule", u"escapemode"));
  EXPECT_EQ(u"0", store.Get(u"name", u"spacemode"));
  const std::vector<std::u16string> saved = Texts();

  SettingsModule other(store, boxes);
  other.SetDefaultSettings();
  other.LoadSettings();
  EXPECT_EQ(0u, boxes.Count());
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    SCOPED_TRACE(Narrow(SettingKeys()[i].key));
    EXPECT_EQ(saved[i], SettingText(other.settings, i));
  }
}

TEST_F(SettingsTest, RoundTripThroughTheIniFile) {
  testing::TempDir dir;
  auto ini = CreateIniSettingsStore(dir.native());
  SettingsModule writer(*ini, boxes);
  writer.settings = ChangedSettings();
  writer.view = {false, true, false, true};
  writer.SaveSettings();
  writer.SaveViewSettings();
  SettingsModule reader(*ini, boxes);
  reader.SetDefaultSettings();
  reader.LoadSettings();
  reader.LoadViewSettings();
  EXPECT_EQ(0u, boxes.Count());
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    SCOPED_TRACE(Narrow(SettingKeys()[i].key));
    EXPECT_EQ(SettingText(writer.settings, i), SettingText(reader.settings, i));
  }
  EXPECT_FALSE(reader.view.ViewModified);
  EXPECT_TRUE(reader.view.ViewCreated);
  EXPECT_FALSE(reader.view.ViewHeader);
  EXPECT_TRUE(reader.view.ViewMix);
}

TEST_F(SettingsTest, SaveFailuresGiveOneMessageAndEveryKeyIsTried) {
  module.settings = ChangedSettings();
  store.FailWrite(u"rule", u"chr_q1");
  store.FailWrite(u"process", u"logmode");
  module.SaveSettings();
  ExpectOneMessage(kSaveFailed);
  EXPECT_EQ(kSettingCount, store.writeLog.size());
  EXPECT_EQ(kSettingCount - 2, store.values.size());
  EXPECT_FALSE(store.Has(u"rule", u"chr_q1"));
  EXPECT_EQ(u"/usr/bin/mousepad", store.Get(u"process", u"repopenapp"));  // after the failures

  boxes.Clear();
  store.failAllWrites = true;
  module.SaveSettings();
  ExpectOneMessage(kSaveFailed);
}

TEST_F(SettingsTest, SaveWritesValuesUnchecked) {
  module.settings.ChrQ1 = u"??";
  module.settings.ExtraNum = 1234567890;
  module.SaveSettings();
  EXPECT_EQ(0u, boxes.Count());
  EXPECT_EQ(u"??", store.Get(u"rule", u"chr_q1"));
  EXPECT_EQ(u"1234567890", store.Get(u"process", u"extranum"));
}

TEST_F(SettingsTest, ASaveThatCannotBeWrittenGivesOneMessageAndChangesNothing) {
  store.Set(u"rule", u"chr_q1", u"!");
  module.settings = ChangedSettings();
  store.failCommits = true;
  module.SaveSettings();
  ExpectOneMessage(kSaveFailed);
  boxes.Clear();
  module.SaveViewSettings();
  EXPECT_EQ(0u, boxes.Count());
  EXPECT_EQ(1u, store.values.size());
  EXPECT_EQ(u"!", store.Get(u"rule", u"chr_q1"));
  ASSERT_EQ(2u, store.batches.size());
  EXPECT_EQ(kSettingCount, store.batches[0].writes);
  EXPECT_EQ(4u, store.batches[1].writes);
  EXPECT_EQ(0u, store.callsOutsideBatches);
}

// The settings module over the INI file, with the file's system calls counted.
class SettingsFileTest : public testing::TempDirTest {
 protected:
  SettingsFileTest() {
    dir.MakeFolder(u"home/Ombra-Vale Software");
    calls.storePath = dir.native() + "home/Ombra-Vale Software/Dovetam.ini";
  }

  testing::CountingFileCalls calls;
  std::unique_ptr<SettingsStore> ini = CreateIniSettingsStore(dir.native() + "home", &calls);
  FakeMessageBoxes boxes;
  SettingsModule module{*ini, boxes};
};

TEST_F(SettingsFileTest, EachLoadReadsTheFileOnceAndEachSaveReplacesItOnce) {
  dir.MakeFile(u"home/Ombra-Vale Software/Dovetam.ini", "; by hand\n");
  module.settings = ChangedSettings();
  SettingsForm form = FormFromSettings(ChangedSettings());
  struct Row {
    const char* name;
    std::function<void()> run;
    int replacements;
  };
  const Row rows[] = {
      {"SaveSettings", [&] { module.SaveSettings(); }, 1},
      {"SaveViewSettings", [&] { module.SaveViewSettings(); }, 1},
      {"LoadSettings", [&] { module.LoadSettings(); }, 0},
      {"LoadViewSettings", [&] { module.LoadViewSettings(); }, 0},
      {"LoadForm", [&] { EXPECT_EQ(0, LoadFormFromStore(module, form)); }, 0},
      {"SaveForm", [&] { EXPECT_EQ(0, SaveFormToStore(module, form)); }, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    calls.Reset();
    r.run();
    EXPECT_EQ(1, calls.readings);
    EXPECT_EQ(r.replacements, calls.creations);
    EXPECT_EQ(r.replacements, calls.writeCalls);
    EXPECT_EQ(2 * r.replacements, calls.fsyncs);
    EXPECT_EQ(r.replacements, calls.renames);
  }
  EXPECT_EQ(0u, boxes.Count());
  EXPECT_EQ(0u, dir.ReadFile(u"home/Ombra-Vale Software/Dovetam.ini").find("; by hand\n[general]\n"));
}

// A settings path that is a FIFO would block the start; a huge file would
// stall it. Both count as a store that cannot be read.
TEST_F(SettingsFileTest, AFifoOrAnOversizedFileIsAStoreThatCannotBeRead) {
  const std::string path = calls.storePath;
  for (const char* kind : {"Fifo", "Oversized"}) {
    SCOPED_TRACE(kind);
    unlink(path.c_str());
    if (std::string(kind) == "Fifo") {
      ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
    } else {
      std::string bytes = "[rule]\nchr_q1=!\n;";
      bytes.resize(kSettingsFileLimit + 1, 'x');
      std::ofstream(path, std::ios::binary) << bytes;
    }
    struct stat before {};
    ASSERT_EQ(0, lstat(path.c_str(), &before));
    module.settings = ChangedSettings();
    module.view = {false, true, false, true};

    boxes.Clear();
    module.SetDefaultSettings();
    module.LoadSettings();
    ExpectOneMessage(boxes, kLoadFailed);
    EXPECT_EQ(u"?", module.settings.ChrQ1);
    EXPECT_EQ(SettingText(Settings{}, 0), SettingText(module.settings, 0));
    boxes.Clear();
    module.LoadViewSettings();
    EXPECT_TRUE(module.view.ViewModified);
    EXPECT_FALSE(module.view.ViewMix);
    EXPECT_EQ(0u, boxes.Count());

    module.settings = ChangedSettings();
    module.SaveSettings();
    ExpectOneMessage(boxes, kSaveFailed);
    boxes.Clear();
    module.SaveViewSettings();
    EXPECT_EQ(0u, boxes.Count());
    SettingsForm form = DefaultForm();
    EXPECT_EQ(static_cast<int>(kSettingCount), LoadFormFromStore(module, form));
    EXPECT_EQ(static_cast<int>(kSettingCount), SaveFormToStore(module, form));

    struct stat after {};
    ASSERT_EQ(0, lstat(path.c_str(), &after));
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_size, after.st_size);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    EXPECT_EQ(std::vector<std::u16string>{u"Dovetam.ini"}, dir.Names(u"home/Ombra-Vale Software"));
  }
}

TEST_F(SettingsTest, SetDefaultSettingsLeavesTheViewAlone) {
  module.settings = ChangedSettings();
  module.view = {false, true, false, true};
  module.SetDefaultSettings();
  EXPECT_EQ(DefaultTexts(), Texts());
  EXPECT_FALSE(module.view.ViewModified);
  EXPECT_TRUE(module.view.ViewMix);
}

}  // namespace
}  // namespace dovetam
