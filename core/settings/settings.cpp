// Moving the settings between memory and the settings store. Loading checks
// every text before it comes into effect; failures of a load or a save give
// one message for the whole operation; the view settings move silently. Each
// load reads the store once and each save replaces it once (one batch).
#include "core/settings/settings.h"

namespace dovetam {

namespace {

constexpr std::u16string_view kLoadFailed = u"いくつかの設定を読み込むことができませんでした。";
constexpr std::u16string_view kSaveFailed = u"いくつかの設定を保存できませんでした。";
constexpr std::u16string_view kDisplay = u"display";

struct ViewKey {
  std::u16string_view key;
  bool ViewSettings::*field;
};
constexpr ViewKey kViewKeys[] = {
    {u"udate", &ViewSettings::ViewModified},
    {u"cdate", &ViewSettings::ViewCreated},
    {u"header", &ViewSettings::ViewHeader},
    {u"mix", &ViewSettings::ViewMix},
};

}  // namespace

void SettingsModule::SetDefaultSettings() { settings = Settings{}; }

void SettingsModule::LoadSettings() {
  int failures = 0;
  {
    const SettingsBatch batch(store_, SettingsAppName);
    for (std::size_t i = 0; i < kSettingCount; ++i) {
      const SettingKey& k = kSettingKeys[i];
      std::u16string value;
      if (ReadValidSetting(k.section, k.key, k.check, DefaultSettingText(i), value)) {
        SetSettingText(settings, i, value);
      } else {
        ++failures;
      }
    }
  }
  if (failures > 0) boxes_.Show(kLoadFailed, MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok);
}

bool SettingsModule::ReadValidSetting(std::u16string_view section, std::u16string_view key,
                                      Check check, std::u16string_view defaultValue,
                                      std::u16string& value) {
  if (!store_.Read(SettingsAppName, section, key, defaultValue, value)) return false;
  return PassesCheck(check, value);
}

void SettingsModule::SaveSettings() {
  std::vector<SettingEntry> entries;
  for (std::size_t i = 0; i < kSettingCount; ++i)
    entries.push_back({kSettingKeys[i].section, kSettingKeys[i].key, SettingText(settings, i)});
  if (WriteSettingTexts(entries) > 0)
    boxes_.Show(kSaveFailed, MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok);
}

int SettingsModule::WriteSettingTexts(const std::vector<SettingEntry>& entries) {
  int failures = 0;
  int collected = 0;
  SettingsBatch batch(store_, SettingsAppName);
  for (const SettingEntry& e : entries) {
    if (store_.Write(SettingsAppName, e.section, e.key, e.text))
      ++collected;
    else
      ++failures;
  }
  if (!batch.Commit()) failures += collected;
  return failures;
}

void SettingsModule::LoadViewSettings() {
  view = ViewSettings{};
  const SettingsBatch batch(store_, SettingsAppName);
  for (const ViewKey& k : kViewKeys) {
    const std::u16string def = view.*k.field ? u"True" : u"False";
    std::u16string text;
    if (!store_.Read(SettingsAppName, kDisplay, k.key, def, text)) continue;
    if (PassesCheck(Check::Boolean, text)) view.*k.field = text == u"True" || text == u"true";
  }
}

void SettingsModule::SaveViewSettings() {
  std::vector<SettingEntry> entries;
  for (const ViewKey& k : kViewKeys)
    entries.push_back({kDisplay, k.key, view.*k.field ? u"True" : u"False"});
  WriteSettingTexts(entries);  // failures are silent
}

}  // namespace dovetam
