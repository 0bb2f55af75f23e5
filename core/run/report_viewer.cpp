// Starting the report viewer: see report_viewer.h.
#include "core/run/report_viewer.h"

namespace dovetam {

void OpenReportViewer(bool reportSaved, const std::u16string& reportPath,
                      const std::u16string& viewer, Launcher& launcher, MessageBoxes& boxes) {
  if (!reportSaved) {
    boxes.Show(u"レポートが保存されていません。", MsgIcon::Exclamation);
    return;
  }
  // Said when the viewer cannot be started, and when it starts but reports
  // that it could not show the file.
  auto cannotShow = [&boxes, reportPath] {
    boxes.Show(u"レポート(" + reportPath + u")を表示できませんでした。", MsgIcon::Critical);
  };
  if (!launcher.Start(viewer, {reportPath}, cannotShow)) cannotShow();
}

}  // namespace dovetam
