// Showing the settings dialog for the settings command: modal, with the help
// file's default topic behind its help key. The dialog sets
// settings.SettingsApplied when it is closed with "決定".
#include "app/main_window.h"
#include "app/settings_dialog.h"

namespace dovetam {

void frmDovetem::ShowSettingsDialog() {
  frmDovetemSetting dialog(
      settings, svc.boxes, [this] { OpenHelp(0); }, this);
  dialog.exec();
}

}  // namespace dovetam
