// Opening the help (see help_file.h).
#include "ui/main_window/help_file.h"

#include <QFile>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include "ui/widgets/controls.h"
#include "ui/widgets/qt_message_boxes.h"

namespace dovetam {

void OpenHelp(const std::u16string& helpPath, Launcher& launcher, MessageBoxes& boxes,
              QWidget* asking, int context) {
  const QString path = QtText(helpPath);
  if (!QFile::exists(path)) return;
  QUrl url = QUrl::fromLocalFile(path);
  if (context != 0) url.setFragment(QString::number(context));
  // A later failure may come after the asking window (a dialog) has closed.
  QPointer<QWidget> window(asking);
  auto cannotShow = [&boxes, window, helpPath] {
    WindowMessageBoxes(boxes, window.data())
        .Show(u"ヘルプ(" + helpPath + u")を表示できませんでした。", MsgIcon::Critical);
  };
  if (!launcher.Start(u"xdg-open", {url.toString(QUrl::FullyEncoded).toStdU16String()},
                      cannotShow)) {
    cannotShow();
  }
}

}  // namespace dovetam
