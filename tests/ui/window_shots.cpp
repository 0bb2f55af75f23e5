// window_shots OUT_FOLDER WORK_FOLDER: draws every window of the program in a
// row of fixed states into PNG files of OUT_FOLDER, for comparing the look of
// the windows before and after a change of the window code, pixel for pixel
// (e.g. `compare -metric AE`). WORK_FOLDER is emptied and filled with the same
// files each time: the listed folder WORK_FOLDER/list and the program's folder
// WORK_FOLDER/program (log and report), so two runs from the same folder draw
// the same pictures. The windows are driven
// through their controls as a user drives them. Not a test: run it by hand,
// with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTranslator>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <fcntl.h>

#include "ui/settings_dialog/settings_dialog.h"
#include "ui/view_dialog/view_dialog.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::Control;

QString out;
int written = 0;

void Save(QWidget& w, const char* name) {
  QApplication::processEvents();
  const QString path = out + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
  if (!w.grab().save(path)) std::fprintf(stderr, "window_shots: cannot write %s\n", qPrintable(path));
  ++written;
}

// Presses Tab `n` times on whatever has the focus.
void Tabs(int n) {
  for (int i = 0; i < n; ++i) testing::TypeKey(Qt::Key_Tab);
  QApplication::processEvents();
}

int Run(std::string work) {
  std::filesystem::remove_all(work);
  const std::string programFolder = work + "/program/";
  work += "/list";
  std::filesystem::create_directories(work + "/sub");
  std::filesystem::create_directories(programFolder);
  // One fixed date for every entry, so that the date columns draw the same.
  const timespec date[2] = {{1700000000, 0}, {1700000000, 0}};
  for (const char* n : {"beach.jpg", "city.jpg", "dunes.jpg", "notes.txt"}) {
    std::ofstream(work + "/" + n) << "x";
    utimensat(AT_FDCWD, (work + "/" + n).c_str(), date, 0);
  }
  utimensat(AT_FDCWD, (work + "/sub").c_str(), date, 0);

  testing::FakeMessageBoxes boxes;
  testing::MemorySettingsStore store;
  testing::FakeLauncher launcher;
  testing::FixedClock clock{MakeDate(2026, 12, 9, 10, 20, 30)};
  auto fs = CreateSystemFileSystem();
  const std::u16string folder = QString::fromStdString(work + "/").toStdU16String();
  store.Set(u"general", u"defpath", folder);
  std::vector<std::u16string> args;
  for (const char16_t* n : {u"beach.jpg", u"city.jpg", u"dunes.jpg"}) args.push_back(folder + n);
  frmDovetem w(Services{*fs, store, boxes, launcher, clock, Capacities::Large(),
                        QString::fromStdString(programFolder).toStdU16String(), std::move(args),
                        true});
  w.Form_Load();
  if (!QTest::qWaitForWindowActive(&w, testing::kEventWaitMs)) std::fprintf(stderr, "window_shots: the window did not become active\n");
  Save(w, "page1-start");
  Tabs(1);
  Save(w, "page1-tab1");
  Tabs(30);
  Save(w, "page1-tab-round");

  Control<QPushButton>(w, "cmdSelectNext").click();
  Save(w, "page2-start");
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("*_\\03n"));
  Save(w, "page2-rule");
  Tabs(30);
  Save(w, "page2-tab-round");
  Control<QCheckBox>(w, "chkRule").click();
  Save(w, "page2-one-rule");
  Control<QCheckBox>(w, "chkRule").click();

  boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  Save(w, "page2-after-run");
  Control<QPushButton>(w, "cmdRuleReport").click();
  Save(testing::ReportWindow(), "report-window");
  testing::ReportWindow().hide();

  // The settings dialog, each page of its tab strip (the guard is answered Yes).
  boxes.QueueAnswer(MsgAnswer::Yes);
  testing::OnNextDialog<frmDovetemSetting>([](frmDovetemSetting* d) {
    if (!QTest::qWaitForWindowExposed(d, testing::kEventWaitMs)) return;
    QTabBar& tabs = Control<QTabBar>(*d, "tbsSetting");
    for (int i = 0; i < tabs.count(); ++i) {
      tabs.setCurrentIndex(i);
      Save(*d, QStringLiteral("settings-%1").arg(i + 1).toLatin1().constData());
    }
    d->close();
  });
  Control<QPushButton>(w, "cmdCommandSetting", 2).click();

  boxes.QueueAnswer(MsgAnswer::Yes);
  testing::OnNextDialog<frmDovetemView>([](frmDovetemView* d) {
    if (!QTest::qWaitForWindowExposed(d, testing::kEventWaitMs)) return;
    Save(*d, "view-dialog");
    d->close();
  });
  Control<QPushButton>(w, "cmdCommandView", 2).click();

  Control<QPushButton>(w, "cmdRuleBack").click();
  Save(w, "page1-back");
  w.hide();
  std::printf("window_shots: %d pictures in %s\n", written, qPrintable(out));
  return 0;
}

}  // namespace
}  // namespace dovetam

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: window_shots OUT_FOLDER WORK_FOLDER\n");
    return 2;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  app.setQuitOnLastWindowClosed(false);
  app.setCursorFlashTime(0);  // a caret that does not blink draws the same each time
  QTranslator qt;
  if (qt.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
              QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&qt);
  QFont font = app.font();
  font.setPointSize(9);
  app.setFont(font);
  dovetam::out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dovetam::out);
  return dovetam::Run(argv[2]);
}
