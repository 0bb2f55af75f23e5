// Showing the settings dialog for the settings command: modal, with the help
// file's default topic behind its help key, and its messages standing over
// it. The dialog sets settings.SettingsApplied when it is closed with "決定".
#include "ui/main_window/help_file.h"
#include "ui/main_window/main_window.h"
#include "ui/settings_dialog/settings_dialog.h"
#include "ui/widgets/qt_message_boxes.h"

namespace dovetam {

void frmDovetem::ShowSettingsDialog() {
  WindowMessageBoxes boxes(state_.svc.boxes);
  QWidget* asking = this;  // the dialog, once it stands
  frmDovetemSetting dialog(
      state_.settings, boxes,
      [this, &asking] {
        OpenHelp(state_.HelpPath, state_.svc.fs, state_.svc.launcher, state_.svc.boxes, asking, 0);
      },
      this);
  asking = &dialog;
  boxes.SetWindow(&dialog);
  dialog.exec();
}

}  // namespace dovetam
