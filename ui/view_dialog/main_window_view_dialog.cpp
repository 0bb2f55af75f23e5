// Showing the view-settings dialog for the view command.
#include "ui/main_window/main_window.h"
#include "ui/view_dialog/view_dialog.h"

namespace dovetam {

void frmDovetem::ShowViewDialog() {
  frmDovetemView dialog(ViewDialogMask, this);
  dialog.exec();
  ViewDialogMask = dialog.Mask();
}

}  // namespace dovetam
