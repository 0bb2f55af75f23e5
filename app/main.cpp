// The program: the real platform layer, the Japanese standard button texts,
// and the main window. DOVETAM_LARGE_BUILD chooses the table sizes.
#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/main_window/main_window.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/launcher.h"
#include "platform/program_folder.h"
#include "ui/widgets/qt_message_boxes.h"
#include "platform/settings_store.h"
#include "platform/utf8_codec.h"

int main(int argc, char** argv) {
  // Every argument is the user's path, also one that reads like an option of
  // Qt's ("-platform", "-reverse", "-style"): Qt is given the program's name
  // alone, and takes its platform and display from the environment
  // (QT_QPA_PLATFORM, DISPLAY).
  char unnamed[] = "dovetam";
  char* qtArgv[] = {argc > 0 && argv[0] != nullptr ? argv[0] : unnamed, nullptr};
  int qtArgc = 1;
  QApplication app(qtArgc, qtArgv);
  app.setQuitOnLastWindowClosed(false);

  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qtTranslator);

  QFont font = app.font();
  font.setPointSize(9);
  app.setFont(font);

  auto fs = dovetam::CreateSystemFileSystem();
  auto store = dovetam::CreateIniSettingsStore(dovetam::DefaultConfigHome());
  // A started viewer's failure is shown by the window's thread; the launcher
  // goes before the application, so nothing is posted to it after.
  auto launcher = dovetam::CreateSystemLauncher([](std::function<void()> work) {
    QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
  });
  auto clock = dovetam::CreateSystemClock();
  dovetam::QtMessageBoxes boxes;

  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(dovetam::DecodeNative(argv[i]));

  dovetam::frmDovetem window(dovetam::Services{
      *fs, *store, boxes, *launcher, *clock,
      DOVETAM_LARGE_BUILD ? dovetam::Capacities::Large() : dovetam::Capacities::Small(),
      dovetam::ProgramFolder(), std::move(arguments),
      /*renameThread=*/true});  // the system's file system takes two threads
  boxes.SetParent(&window);
  window.Form_Load();
  return app.exec();
}
