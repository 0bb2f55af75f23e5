// The settings dialog's own load and save: the keys move directly between
// the settings store and the form, bypassing the values in effect. Each
// operation visits every key and counts its failures; the dialog shows one
// message (critical icon) when any key failed, never one per key.
#pragma once

#include <string_view>

#include "core/settings/settings.h"
#include "core/settings/settings_dialog_values.h"

namespace dovetam {

inline constexpr std::u16string_view kFormLoadFailed =
    u"いくつかの設定を読み込むことができませんでした。";
inline constexpr std::u16string_view kFormSaveFailed = u"いくつかの設定を保存できませんでした。";

// LoadForm's reading: every key with its check kind and default, all from
// one reading of the store; an accepted text goes into the form, a failed
// read or a rejected text leaves the field as it was. Returns the number of
// keys that failed.
int LoadFormFromStore(SettingsModule& settings, SettingsForm& form);

// SaveForm's writing: every key of the form (save conversions) under the
// settings' application key, in one replacement of the store; a key the
// store refuses is counted and the others are still written, nothing is
// undone. Returns the number of keys not written (all of them when the
// replacement failed). The form is not checked here: the caller checked it.
int SaveFormToStore(SettingsModule& settings, const SettingsForm& form);

}  // namespace dovetam
