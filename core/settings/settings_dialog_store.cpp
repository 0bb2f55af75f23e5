// The settings dialog's load and save buttons' work on the store, in the
// dialog's visiting order of the keys.
#include "core/settings/settings_dialog_store.h"

namespace dovetam {

int LoadFormFromStore(SettingsModule& settings, SettingsForm& form) {
  int failures = 0;
  const SettingsBatch batch(settings.store(), settings.SettingsAppName);
  for (std::size_t i : kFormOrder) {
    const SettingKey& k = kSettingKeys[i];
    std::u16string value;
    if (settings.ReadValidSetting(k.section, k.key, k.check, DefaultSettingText(i), value)) {
      SetFormKeyText(form, i, value);
    } else {
      ++failures;
    }
  }
  return failures;
}

int SaveFormToStore(SettingsModule& settings, const SettingsForm& form) {
  std::vector<SettingEntry> entries;
  for (std::size_t i : kFormOrder)
    entries.push_back({kSettingKeys[i].section, kSettingKeys[i].key, FormKeyText(form, i)});
  return settings.WriteSettingTexts(entries);
}

}  // namespace dovetam
