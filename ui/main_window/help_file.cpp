// Opening the help (see help_file.h).
#include "ui/main_window/help_file.h"

#include <QFile>
#include <QUrl>

#include "ui/widgets/controls.h"

namespace dovetam {

void OpenHelp(const std::u16string& helpPath, Launcher& launcher, int context) {
  const QString path = QtText(helpPath);
  if (!QFile::exists(path)) return;
  QUrl url = QUrl::fromLocalFile(path);
  if (context != 0) url.setFragment(QString::number(context));
  launcher.Start(u"xdg-open", {url.toString(QUrl::FullyEncoded).toStdU16String()});
}

}  // namespace dovetam
