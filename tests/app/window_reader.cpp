// A reader of the started program's window, for the command-line test
// (arguments_test.cpp): preloaded into the real program (LD_PRELOAD), it
// reads what the window shows, with no line of the program changed. From
// the moment Qt's application object stands it looks every 10 ms. Once the
// main window shows (start-up done: the command line read, the target list
// filled), it writes into the file that DOVETAM_READER_OUT names, one
// "kind<TAB>text" line each:
//   argument   every argument Qt was given
//   direction  left-to-right or right-to-left, the layout of the windows
//   target     every row of the target list, as shown
// and ends the program's event loop (the program's own exit code follows).
// A message box shown before the window (paths that could not be added) is
// written as "message" and ends the process with exit code 3.
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QTreeView>
#include <cstdlib>

namespace {

bool Write(const QStringList& lines) {
  QFile out(QFile::decodeName(std::getenv("DOVETAM_READER_OUT")));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QByteArray bytes = lines.join(QLatin1Char('\n')).toUtf8() + '\n';
  return out.write(bytes) == bytes.size() && out.flush();
}

// True once something was read.
bool Look() {
  if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
    Write({QStringLiteral("message\t") + box->text()});
    ::_exit(3);
  }
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* targets = window->findChild<QTreeView*>(QStringLiteral("lvwSelect2"));
    if (targets == nullptr || !window->isVisible()) continue;
    QStringList lines;
    for (const QString& argument : QCoreApplication::arguments()) {
      lines << QStringLiteral("argument\t") + argument;
    }
    lines << QStringLiteral("direction\t") +
                 (QGuiApplication::layoutDirection() == Qt::RightToLeft
                      ? QStringLiteral("right-to-left")
                      : QStringLiteral("left-to-right"));
    const QAbstractItemModel* model = targets->model();
    for (int row = 0; row < model->rowCount(); ++row) {
      lines << QStringLiteral("target\t") + model->index(row, 0).data().toString();
    }
    if (!Write(lines)) ::_exit(4);
    QCoreApplication::exit(0);
    return true;
  }
  return false;
}

void StartLooking() {
  if (std::getenv("DOVETAM_READER_OUT") == nullptr) return;
  auto* timer = new QTimer(QCoreApplication::instance());
  QObject::connect(timer, &QTimer::timeout, timer, [timer] {
    if (Look()) timer->stop();
  });
  timer->start(10);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartLooking)
