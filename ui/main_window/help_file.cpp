// Opening the help (see help_file.h).
#include "ui/main_window/help_file.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/file_url.h"
#include "ui/widgets/qt_message_boxes.h"

namespace dovetam {

void OpenHelp(const std::u16string& helpPath, FileSystem& fs, Launcher& launcher,
              MessageBoxes& boxes, QWidget* asking, int context) {
  // Found, and named to the browser, by the bytes of its path on disk, as
  // every file of the program's folder is (a folder name that is not UTF-8
  // included).
  std::u16string onDisk;
  const int found = fs.GetFullPath(helpPath, /*isFolder=*/false, onDisk);
  // A later failure may come after the asking window (a dialog) has closed.
  QPointer<QWidget> window(asking);
  auto cannotShow = [&boxes, window, helpPath] {
    WindowMessageBoxes(boxes, window.data())
        .Show(u"ヘルプ(" + helpPath + u")を表示できませんでした。", MsgIcon::Critical);
  };
  // No page, or one that cannot be reached: nothing for the browser.
  if (found != kFsOk) {
    cannotShow();
    return;
  }
  const std::u16string anchor =
      context != 0 ? QString::number(context).toStdU16String() : std::u16string();
  if (!launcher.Start(u"xdg-open", {FileUrl(onDisk, anchor)}, cannotShow)) cannotShow();
}

}  // namespace dovetam
