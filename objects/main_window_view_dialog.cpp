// Showing the view-settings dialog for the view command.
#include "app/main_window.h"
#include "objects/view_dialog.h"

namespace dovetam {

void frmDovetem::ShowViewDialog() {
  frmDovetemView dialog(ViewDialogMask, this);
  dialog.exec();
  ViewDialogMask = dialog.Mask();
}

}  // namespace dovetam
