// The settings dialog's load and save buttons' work on the store, in the
// dialog's visiting order of the keys.
#include "core/settings/settings_dialog_store.h"

namespace dovetam {

int LoadFormFromStore(SettingsModule& settings, SettingsForm& form) {
  int failures = 0;
  const auto& keys = FormKeys();
  const auto& store = SettingKeys();
  const SettingsBatch batch(settings.store(), settings.SettingsAppName);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const SettingKey& k = store[keys[i].store];
    std::u16string value;
    if (settings.ReadValidSetting(k.section, k.key, k.kind, DefaultSettingText(keys[i].store),
                                  value)) {
      SetFormKeyText(form, i, value);
    } else {
      ++failures;
    }
  }
  return failures;
}

int SaveFormToStore(SettingsModule& settings, const SettingsForm& form) {
  std::vector<SettingEntry> entries;
  const auto& keys = FormKeys();
  const auto& store = SettingKeys();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const SettingKey& k = store[keys[i].store];
    entries.push_back({k.section, k.key, FormKeyText(form, i)});
  }
  return settings.WriteSettingTexts(entries);
}

}  // namespace dovetam
